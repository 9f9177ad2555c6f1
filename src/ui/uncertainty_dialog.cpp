#include "ui/uncertainty_dialog.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

namespace {

// Percent texts of the dialog: four significant digits are more than any budget is known to.
QString Pct(double x) { return QString::number(x, 'g', 4); }

}  // namespace

const std::array<UncertaintyDialog::Row, 10> UncertaintyDialog::kRows = {{
    {"u.dp", "Differential pressure", "%", &Uncertainty::Inputs::dp, false},
    {"u.static_pressure", "Static pressure", "%", &Uncertainty::Inputs::staticPressure, false},
    {"u.flowing_temperature", "Flowing temperature", "K", &Uncertainty::Inputs::flowingTemperature, false},
    {"u.d", "Throat diameter", "%", &Uncertainty::Inputs::d, false},
    {"u.D", "Pipe diameter", "%", &Uncertainty::Inputs::D, false},
    {"u.density", "Density, flowing", "%", &Uncertainty::Inputs::density, false},
    {"u.base_density", "Density, base", "%", &Uncertainty::Inputs::baseDensity, false},
    {"u.heating_value", "Heating value", "%", &Uncertainty::Inputs::heatingValue, false},
    {"u.C", "Discharge coefficient", "%", &Uncertainty::Inputs::C, true},
    {"u.epsilon", "Expansion factor", "%", &Uncertainty::Inputs::epsilon, true},
}};

UncertaintyDialog::UncertaintyDialog(const Uncertainty::Inputs& inputs, QWidget* parent)
    : QDialog(parent), inputs_(inputs) {
  setObjectName("uncertainty_dialog");
  setWindowTitle(tr("Uncertainty"));

  // Inputs: standard uncertainties, one row each.
  auto* inputsBox = new QGroupBox(tr("Input uncertainties (k = 1)"), this);
  inputsBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
  auto* grid = new QGridLayout(inputsBox);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const Row& r = kRows[i];
    auto* caption = new QLabel(tr(r.caption), inputsBox);
    auto* edit = new QLineEdit(inputsBox);
    edit->setObjectName(QString::fromLatin1(r.key));
    edit->setAlignment(Qt::AlignRight);
    edit->setMaxLength(32);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("standard")) + 16);
    if (r.blankIsStandard) {
      edit->setPlaceholderText(tr("standard"));
      edit->setToolTip(tr("Empty: half the figure the meter's standard states"));
    }
    caption->setBuddy(edit);
    connect(edit, &QLineEdit::editingFinished, this, [this, i] { Take(i); });
    edits_[i] = edit;
    const int row = static_cast<int>(i);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(QString::fromLatin1(r.unit), inputsBox), row, 2);
  }
  auto* defaults = new QPushButton(tr("Defaults"), inputsBox);
  defaults->setObjectName("defaults");
  connect(defaults, &QPushButton::clicked, this, [this] {
    inputs_ = Uncertainty::Inputs{};
    ShowInputs();
    Evaluate();
  });
  grid->addWidget(defaults, static_cast<int>(kRows.size()), 0, 1, 3, Qt::AlignLeft);
  grid->setRowStretch(static_cast<int>(kRows.size()) + 1, 1);

  // The budget of one flow.
  flow_ = new QComboBox(this);
  flow_->setObjectName("budget_flow");
  flow_->addItems({tr("Mass flow"), tr("Standard volume flow"), tr("Energy flow")});
  connect(flow_, &QComboBox::currentIndexChanged, this, [this] { ShowBudget(); });
  expanded_ = new QLabel(this);
  expanded_->setObjectName("budget_expanded");
  expanded_->setWordWrap(true);
  figures_ = new QLabel(this);
  figures_->setObjectName("standard_figures");
  figures_->setWordWrap(true);
  chart_ = new QChartView(new QChart, this);
  chart_->setObjectName("contributions_chart");
  chart_->setRenderHint(QPainter::Antialiasing);
  chart_->setMinimumSize(360, 260);

  auto* budget = new QVBoxLayout;
  budget->addWidget(flow_);
  budget->addWidget(expanded_);
  budget->addWidget(figures_);
  budget->addWidget(chart_, 1);
  auto* columns = new QHBoxLayout;
  columns->addWidget(inputsBox);
  columns->addLayout(budget, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);

  setMinimumSize(700, 440);
  ShowInputs();
  Evaluate();
}

void UncertaintyDialog::Take(std::size_t i) {
  const Row& r = kRows[i];
  const std::string text = edits_[i]->text().trimmed().toStdString();
  double x = 0.0;
  bool ok = false;
  if (text.empty()) {
    ok = r.blankIsStandard;
    x = -1.0;
  } else {
    ok = FE::HasDigit(text) && FE::StrToReal(text, x) && std::isfinite(x) && x >= 0.0;
  }
  if (!ok) {
    FE::Beep();
    ShowInputs();
    return;
  }
  if (inputs_.*r.member == x) {
    ShowInputs();
    return;
  }
  inputs_.*r.member = x;
  ShowInputs();
  Evaluate();
}

void UncertaintyDialog::ShowInputs() {
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const double x = inputs_.*kRows[i].member;
    const QString text = kRows[i].blankIsStandard && x < 0.0 ? QString() : QString::number(x, 'g', 6);
    if (edits_[i]->text() != text) edits_[i]->setText(text);
  }
}

void UncertaintyDialog::Evaluate() {
  // The budget's own calculations are no entries of the user: they sound nothing.
  FE::ScopedBeepCount quiet;
  try {
    result_ = Uncertainty::Evaluate(inputs_);
    evaluated_ = true;
    failure_.clear();
  } catch (const Error& e) {
    result_ = Uncertainty::Result{};
    evaluated_ = false;
    failure_ = QString::fromStdString(e.message());
  }
  ShowBudget();
}

void UncertaintyDialog::ShowBudget() {
  const Uncertainty::Budget* budgets[] = {&result_.massFlow, &result_.stdVolumeFlow, &result_.energyFlow};
  const int index = std::max(0, flow_->currentIndex());
  shown_ = *budgets[index];

  auto* chart = new QChart;
  chart->legend()->hide();
  chart->setMargins(QMargins(2, 2, 2, 2));
  if (!evaluated_) {
    expanded_->setText(failure_);
    figures_->clear();
  } else if (!shown_.valid) {
    expanded_->setText(tr("This flow is not calculated for the fluid."));
  } else {
    expanded_->setText(tr("Expanded uncertainty (k = %1): \u00b1 %2 %, combined standard uncertainty %3 %")
                           .arg(result_.coverageFactor)
                           .arg(Pct(shown_.expandedPct), Pct(shown_.combinedPct)));
  }
  if (evaluated_) {
    figures_->setText(tr("Standard's figures (k = 2): discharge coefficient %1 %, expansion factor %2 %")
                          .arg(Pct(result_.figures.C), Pct(result_.figures.epsilon)));
  }
  if (shown_.valid) {
    // One bar per input, its share of the combined variance in percent, named "name (share %)";
    // the first input on top.
    auto* set = new QBarSet(tr("Share of the combined variance"));
    QStringList names;
    for (std::size_t k = shown_.count; k-- > 0;) {
      const Uncertainty::Contribution& c = shown_.contributions[k];
      set->append(100.0 * c.share);
      names << QStringLiteral("%1 (%2 %)")
                   .arg(QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())))
                   .arg(100.0 * c.share, 0, 'f', 1);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* names_axis = new QBarCategoryAxis;
    names_axis->append(names);
    QFont small = names_axis->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    names_axis->setLabelsFont(small);
    chart->addAxis(names_axis, Qt::AlignLeft);
    series->attachAxis(names_axis);
    auto* share = new QValueAxis;
    share->setRange(0.0, 100.0);
    share->setTickCount(6);
    share->setLabelFormat(QStringLiteral("%.0f"));
    share->setTitleText(tr("Share of the combined variance, %"));
    share->setTitleFont(small);
    share->setLabelsFont(small);
    chart->addAxis(share, Qt::AlignBottom);
    series->attachAxis(share);
  }
  QChart* old = chart_->chart();
  chart_->setChart(chart);
  delete old;
}

}  // namespace qmx::ui
