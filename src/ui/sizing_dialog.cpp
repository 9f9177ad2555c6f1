#include "ui/sizing_dialog.hpp"

#include <cmath>
#include <string>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "numerics/error.hpp"
#include "ui/page.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"
#include "units/fi.hpp"
#include "units/fum.hpp"

namespace qmx::ui {

namespace {

using QMXcalc::State;

// The inputs a solution moves, copied whole (value, display text and unit) and put back whole.
struct Snapshot {
  FUM::DVal throat, dp, gauge, upstream, temperature;
  FI::RVal beta;
};

Snapshot Take(const State& s) {
  return {*s.throatDiameter, *s.dp, *s.staticPressure, *s.upstreamPressure, *s.flowingTemperature, *s.beta};
}

void PutBack(const Snapshot& v) {
  State& s = QMXcalc::Calc();
  *s.throatDiameter = v.throat;
  *s.dp = v.dp;
  *s.staticPressure = v.gauge;
  *s.upstreamPressure = v.upstream;
  *s.flowingTemperature = v.temperature;
  *s.beta = v.beta;
  bool changed = true;
  QMXcalc::Calculate(changed);
}

QString UnitOf(const FUM::DVal& field) {
  std::string unit;
  FUM::uDVgetUnits(unit, field);
  return QString::fromStdString(unit).trimmed();
}

// An SI value in the unit the field shows, as text; in SI when that unit does not take it.
QString Shown(double si, const FUM::DVal& field, QString& unit) {
  unit = UnitOf(field);
  FUM::UnitErrors errors = 0;
  bool formulaic = false;
  FUM::Dims dims{};
  double x = 0.0;
  FUM::uConvert(errors, formulaic, dims, unit.toStdString(), x, false, si);
  if (errors != 0 || !std::isfinite(x)) {
    unit.clear();
    x = si;
  }
  return QString::number(x, 'g', 7);
}

// The result rows: caption, object name, and the state field whose unit they are shown in.
struct ValueRow {
  const char* caption;
  const char* name;
  QMXcalc::DV State::*field;  // nullptr: a plain number
};
constexpr std::array<ValueRow, 7> kValues = {{
    {"Throat diameter", "result_throat_diameter", &State::throatDiameter},
    {"Beta ratio", "result_beta", nullptr},
    {"Differential pressure", "result_dp", &State::dp},
    {"Mass flow", "result_mass_flow", &State::massFlow},
    {"Standard volume flow", "result_std_volume_flow", &State::stdVolumeFlow},
    {"Actual volume flow", "result_actual_volume_flow", &State::actualVolumeFlow},
    {"Permanent pressure loss", "result_pressure_loss", &State::pressureLoss},
}};

QMXcalc::DV& TargetField(State& s, int quantity) {
  switch (quantity) {
    case 1: return s.stdVolumeFlow;
    case 2: return s.actualVolumeFlow;
    default: return s.massFlow;
  }
}

}  // namespace

SizingDialog::SizingDialog(Page& page, QWidget* parent) : QDialog(parent), page_(page) {
  setObjectName("sizing_dialog");
  setWindowTitle(tr("Size meter"));

  solve_ = new QComboBox(this);
  solve_->setObjectName("solve");
  solve_->addItems({tr("Bore (throat diameter)"), tr("Differential pressure"), tr("Flow")});
  quantity_ = new QComboBox(this);
  quantity_->setObjectName("target_quantity");
  quantity_->addItems({tr("Mass flow"), tr("Standard volume flow"), tr("Actual volume flow")});
  target_ = new QLineEdit(this);
  target_->setObjectName("target");
  target_->setAlignment(Qt::AlignRight);
  target_->setMaxLength(64);
  target_->setToolTip(tr("A number in the unit shown, or a number and a unit (\"1200 kg/hr\")"));
  targetUnit_ = new QLabel(this);
  targetUnit_->setObjectName("target_unit");
  auto* calculate = new QPushButton(tr("Calculate"), this);
  calculate->setObjectName("calculate");
  calculate->setDefault(true);

  auto* choices = new QGridLayout;
  choices->addWidget(new QLabel(tr("Solve for"), this), 0, 0);
  choices->addWidget(solve_, 0, 1, 1, 2);
  choices->addWidget(new QLabel(tr("Target"), this), 1, 0);
  choices->addWidget(quantity_, 1, 1, 1, 2);
  choices->addWidget(target_, 2, 1);
  choices->addWidget(targetUnit_, 2, 2);
  choices->addWidget(calculate, 3, 1, 1, 2, Qt::AlignLeft);
  choices->setColumnStretch(1, 1);

  message_ = new QLabel(this);
  message_->setObjectName("message");
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* solution = new QGroupBox(tr("Solution"), this);
  auto* grid = new QGridLayout(solution);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  for (std::size_t i = 0; i < kValues.size(); ++i) {
    const int row = static_cast<int>(i);
    grid->addWidget(new QLabel(tr(kValues[i].caption), solution), row, 0);
    values_[i] = new QLabel(solution);
    values_[i]->setObjectName(QString::fromLatin1(kValues[i].name));
    values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    values_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    values_[i]->setMinimumWidth(values_[i]->fontMetrics().horizontalAdvance(QStringLiteral("1.234567e+10")));
    units_[i] = new QLabel(solution);
    grid->addWidget(values_[i], row, 1);
    grid->addWidget(units_[i], row, 2);
  }
  grid->setColumnStretch(3, 1);
  warning_ = new QPlainTextEdit(this);
  warning_->setObjectName("result_warning");
  warning_->setReadOnly(true);
  warning_->setPlaceholderText(tr("Meter warnings: none"));
  warning_->setFixedHeight(warning_->fontMetrics().lineSpacing() * 3 + 10);

  auto* buttons = new QDialogButtonBox(this);
  apply_ = buttons->addButton(tr("Apply"), QDialogButtonBox::AcceptRole);
  apply_->setObjectName("apply");
  apply_->setToolTip(tr("Enter the solved value on the Flow page and calculate"));
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName("close");
  connect(apply_, &QPushButton::clicked, this, [this] { Apply(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(message_);
  layout->addWidget(solution);
  layout->addWidget(warning_);
  layout->addWidget(buttons);

  connect(calculate, &QPushButton::clicked, this, [this] { Solve(); });
  connect(target_, &QLineEdit::returnPressed, this, [this] { Solve(); });
  connect(quantity_, &QComboBox::currentIndexChanged, this, [this] { ShowTarget(); });
  connect(solve_, &QComboBox::currentIndexChanged, this, [this] {
    const bool target = solve_->currentIndex() != 2;
    quantity_->setEnabled(target);
    target_->setEnabled(target);
    solution_.reset();
    message_->clear();
    ShowSolution();
  });
  setMinimumWidth(400);
  ShowTarget();
  ShowSolution();
}

void SizingDialog::ShowTarget() {
  const FUM::DVal& field = *TargetField(QMXcalc::Calc(), quantity_->currentIndex());
  targetUnit_->setText(UnitOf(field));
  std::string text;
  FUM::uDVgetValStr(text, field);
  target_->setText(QMXcalc::ResultValid(field) ? QString::fromStdString(text).trimmed() : QString());
}

bool SizingDialog::TargetSi(double& si, QString& why) const {
  const FUM::DVal& field = *TargetField(QMXcalc::Calc(), quantity_->currentIndex());
  const std::string text = target_->text().trimmed().toStdString();
  std::string number = text, unit = UnitOf(field).toStdString();
  if (const auto blank = text.find(' '); blank != std::string::npos) {
    number = text.substr(0, blank);
    unit = text.substr(text.find_first_not_of(' ', blank));
  }
  double x = 0.0;
  if (!FE::HasDigit(number) || !FE::StrToReal(number, x) || !std::isfinite(x) || !(x > 0.0)) {
    why = tr("The target must be a positive number.");
    return false;
  }
  FUM::UnitErrors errors = 0;
  bool formulaic = false;
  FUM::Dims dims{};
  FUM::uConvert(errors, formulaic, dims, unit, si, true, x);
  if (errors != 0 || formulaic || dims != FUM::uDVgetDims(field) || !std::isfinite(si)) {
    why = tr("The unit \"%1\" does not fit the target flow.").arg(QString::fromStdString(unit));
    return false;
  }
  return true;
}

void SizingDialog::Solve() {
  solution_.reset();
  message_->clear();
  Sizing::SizingInput in;
  in.solve = static_cast<Sizing::Solve>(solve_->currentIndex());
  in.quantity = static_cast<Sizing::Quantity>(quantity_->currentIndex());
  if (in.solve != Sizing::Solve::Flow) {
    QString why;
    if (!TargetSi(in.target, why)) {
      FE::Beep();
      message_->setText(why);
      ShowSolution();
      return;
    }
  }
  State& s = QMXcalc::Calc();
  const Snapshot before = Take(s);
  std::array<bool, kValues.size()> valid{};
  page_.Event([&] {
    // The solver's own calculations are no entries of the user: they sound nothing.
    FE::ScopedBeepCount quiet;
    try {
      const Sizing::SizingResult r = Sizing::Size(in);
      for (std::size_t i = 0; i < kValues.size(); ++i) {
        valid[i] = kValues[i].field == nullptr || QMXcalc::ResultValid(*(s.*kValues[i].field));
      }
      solution_ = r;
    } catch (const Error& e) {
      message_->setText(QString::fromStdString(e.message()));
    }
    PutBack(before);
  });
  ShowSolution();
  if (solution_) {
    for (std::size_t i = 0; i < kValues.size(); ++i) {
      if (!valid[i]) values_[i]->setText(QStringLiteral("--"));
    }
  }
}

void SizingDialog::ShowSolution() {
  const bool solved = solution_.has_value();
  apply_->setEnabled(solved && solution_->solve != Sizing::Solve::Flow);
  if (!solved) {
    for (std::size_t i = 0; i < kValues.size(); ++i) {
      values_[i]->clear();
      units_[i]->clear();
    }
    warning_->clear();
    return;
  }
  const Sizing::SizingResult& r = *solution_;
  const double si[] = {r.throatDiameter, r.beta, r.dp, r.massFlow, r.stdVolumeFlow, r.actualVolumeFlow,
                       r.pressureLoss};
  State& s = QMXcalc::Calc();
  for (std::size_t i = 0; i < kValues.size(); ++i) {
    QString unit;
    if (kValues[i].field == nullptr) {
      values_[i]->setText(QString::number(si[i], 'g', 7));
    } else {
      values_[i]->setText(Shown(si[i], *(s.*kValues[i].field), unit));
    }
    units_[i]->setText(unit);
  }
  warning_->setPlainText(QString::fromStdString(r.warning));
}

void SizingDialog::Apply() {
  if (!solution_ || solution_->solve == Sizing::Solve::Flow) return;
  const Sizing::SizingResult r = *solution_;
  bool applied = false;
  page_.Event([&] {
    State& s = QMXcalc::Calc();
    // Entered as the Flow page enters them, with the same dependent update.
    if (r.solve == Sizing::Solve::Bore) {
      if (!FUM::uDVsetValTempUnits("m", r.throatDiameter, *s.throatDiameter)) {
        Raise(Sizing::kModule, "Apply() the throat diameter field refuses the solution", 7);
      }
      QMXcalc::UpdateBeta();
    } else {
      if (!FUM::uDVsetValTempUnits("pa", r.dp, *s.dp)) {
        Raise(Sizing::kModule, "Apply() the differential pressure field refuses the solution", 7);
      }
      QMXcalc::UpdateAbsolutePressure();
    }
    page_.Changed() = true;
    page_.Recalculate();
    applied = true;
  });
  if (applied) accept();
}

}  // namespace qmx::ui
