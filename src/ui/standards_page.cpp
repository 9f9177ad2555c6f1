#include "ui/standards_page.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLogValueAxis>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <QLineSeries>

#include "numerics/error.hpp"
#include "reports/userdir.hpp"
#include "units/fe.hpp"

namespace qmx::ui {
namespace {

// The items of a "|"-separated list with a trailing "|".
QStringList Items(std::string_view list) {
  return QString::fromUtf8(list.data(), static_cast<qsizetype>(list.size()))
      .split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

QString FromStd(const std::string& s) { return QString::fromStdString(s); }

// Curves ticked by default: at most this many, spread over the list.
constexpr int kDefaultCurves = 6;
// Column values at or above this stand for the infinite-Reynolds limit and are not plotted.
constexpr double kPlotLimit = 1e30;

QString DefaultSave(QWidget* parent, const QString& caption, const QString& proposed,
                    const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, caption, proposed, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

}  // namespace

StandardsPage::StandardsPage(PageHost& host, QWidget* parent)
    : Page(host, kStandardsPage, QStringLiteral("Standards"), 800, nullptr, parent) {
  csvDialog_ = [](QWidget* p, const QString& c, const QString& n, const QString& f) {
    return DefaultSave(p, c, n, f, QStringLiteral("csv"));
  };
  plotDialog_ = [](QWidget* p, const QString& c, const QString& n, const QString& f) {
    return DefaultSave(p, c, n, f, QStringLiteral("png"));
  };

  selectionList_ = new QComboBox;
  selectionList_->setObjectName("selection");
  selectionList_->addItems(Items(Tables::SelectionList()));
  selectionList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  selectionList_->setMinimumContentsLength(40);

  roundingList_ = new QComboBox;
  roundingList_->setObjectName("rounding");
  roundingList_->addItems(Items(Tables::RoundingList()));

  roundTo_ = new QLineEdit(FromStd(options_.round_to));
  roundTo_->setObjectName("round_to");
  roundTo_->setMaximumWidth(80);

  tappingList_ = new QComboBox;
  tappingList_->setObjectName("tapping");
  tappingList_->addItems(Items(Tables::TappingList()));
  tappingList_->setCurrentIndex(static_cast<int>(options_.tap));

  diameterList_ = new QComboBox;
  diameterList_->setObjectName("diameter");
  diameterList_->setEditable(true);
  diameterList_->setInsertPolicy(QComboBox::NoInsert);
  diameterList_->setToolTip(tr("Enter value & units separated by a space."));
  diameterList_->setMinimumContentsLength(9);

  kappa_ = new QLineEdit(FromStd(options_.kappa_text));
  kappa_->setObjectName("kappa");
  kappa_->setMaximumWidth(80);

  auto* screen = new QPushButton(tr("Screen table"));
  screen->setObjectName("screen_table");
  auto* csv = new QPushButton(tr("CSV file"));
  csv->setObjectName("csv_file");
  auto* savePlot = new QPushButton(tr("Save plot"));
  savePlot->setObjectName("save_plot");

  auto* inputs = new QGridLayout;
  inputs->addWidget(new QLabel(tr("Table")), 0, 0);
  inputs->addWidget(selectionList_, 0, 1, 1, 5);
  inputs->addWidget(new QLabel(tr("Rounding")), 1, 0);
  inputs->addWidget(roundingList_, 1, 1);
  inputs->addWidget(new QLabel(tr("Round to")), 1, 2);
  inputs->addWidget(roundTo_, 1, 3);
  inputs->addWidget(new QLabel(tr("Tapping")), 1, 4);
  inputs->addWidget(tappingList_, 1, 5);
  inputs->addWidget(new QLabel(tr("Inside diameter")), 2, 0);
  inputs->addWidget(diameterList_, 2, 1);
  inputs->addWidget(new QLabel(tr("Isentropic exponent")), 2, 2);
  inputs->addWidget(kappa_, 2, 3);
  inputs->setColumnStretch(1, 1);
  inputs->setColumnStretch(5, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(screen);
  buttons->addWidget(csv);
  buttons->addWidget(savePlot);
  buttons->addStretch();
  buttons->addWidget(MakeHelpButton());

  table_ = new QTableWidget(static_cast<int>(Tables::kGridRows),
                            static_cast<int>(Tables::kGridColumns));
  table_->setObjectName("grid");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setDefaultSectionSize(72);
  table_->verticalHeader()->setDefaultSectionSize(20);
  table_->setMinimumHeight(220);
  // Row 0 and column 0 hold the table's own labels, so the grid's numbering is not shown.
  table_->horizontalHeader()->hide();
  table_->verticalHeader()->hide();
  QFont labelFont = table_->font();
  labelFont.setBold(true);
  for (int r = 0; r < table_->rowCount(); ++r)
    for (int c = 0; c < table_->columnCount(); ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setFont(labelFont);
      table_->setItem(r, c, item);
    }

  curves_ = new QListWidget;
  curves_->setObjectName("plot_rows");
  curves_->setMaximumWidth(110);
  curves_->setToolTip(tr("The beta ratios drawn in the plot"));

  plot_ = new QChartView(new QChart);
  plot_->setObjectName("plot");
  plot_->setRenderHint(QPainter::Antialiasing);
  plot_->setMinimumHeight(300);
  plot_->chart()->legend()->setAlignment(Qt::AlignRight);

  auto* plotRow = new QHBoxLayout;
  plotRow->addWidget(curves_);
  plotRow->addWidget(plot_, 1);

  auto* content = new QWidget;
  auto* column = new QVBoxLayout(content);
  column->addLayout(inputs);
  column->addLayout(buttons);
  column->addWidget(table_, 1);
  column->addLayout(plotRow, 1);
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(content);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);

  connect(selectionList_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) SelectTable(i);
  });
  connect(roundingList_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0 && i < Tables::kRoundingCount) options_.rounding = static_cast<Tables::Rounding>(i);
  });
  connect(tappingList_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) options_.tap = static_cast<DP0::TapType>(i);
  });
  connect(roundTo_, &QLineEdit::editingFinished, this, [this] { CommitRoundTo(); });
  connect(kappa_, &QLineEdit::editingFinished, this, [this] { CommitKappa(); });
  connect(diameterList_->lineEdit(), &QLineEdit::editingFinished, this, [this] { CommitDiameter(); });
  connect(diameterList_, &QComboBox::activated, this, [this](int) { CommitDiameter(); });
  connect(screen, &QPushButton::clicked, this, [this] { ScreenTable(); });
  connect(csv, &QPushButton::clicked, this, [this] { CsvFile(); });
  connect(savePlot, &QPushButton::clicked, this, [this] { SavePlot(); });
  connect(curves_, &QListWidget::itemChanged, this, [this](QListWidgetItem*) { Replot(); });

  ClearGrid();
  SelectTable(0);
}

void StandardsPage::SelectTable(int selection) {
  if (selection < 0 || selection >= Tables::kSelectionCount) return;
  selection_ = selection;
  const QStringList diameters = Items(Tables::DiameterList(selection));
  {
    const QSignalBlocker block(diameterList_);
    diameterList_->clear();
    diameterList_->addItems(diameters);
  }
  options_.diameter_text.clear();
  options_.diameter = 0.0;
  if (!diameters.isEmpty()) {
    diameterList_->setCurrentIndex(0);
    Tables::SetDiameter(options_, diameters.front().toStdString());
  }
  const Tables::CellKind kind = Tables::GetSelection(selection).kind;
  const bool withMeter = !diameters.isEmpty();
  tappingList_->setEnabled(withMeter);
  diameterList_->setEnabled(withMeter);
  kappa_->setEnabled(kind == Tables::CellKind::IsoExpansion || kind == Tables::CellKind::AgaExpansion);
  shown_ = Tables::TableData{};
  shown_.selection = selection;
  FillPlotChoices();
  Replot();
}

void StandardsPage::CommitRoundTo() {
  if (roundTo_->text().toStdString() == options_.round_to) return;
  if (!Tables::SetRoundTo(options_, roundTo_->text().toStdString())) FE::Beep();
  roundTo_->setText(FromStd(options_.round_to));
}

void StandardsPage::CommitKappa() {
  if (kappa_->text().toStdString() == options_.kappa_text) return;
  if (!Tables::SetKappa(options_, kappa_->text().toStdString())) FE::Beep();
  kappa_->setText(FromStd(options_.kappa_text));
}

void StandardsPage::CommitDiameter() {
  if (!diameterList_->isEnabled()) return;
  const std::string text = diameterList_->currentText().trimmed().toStdString();
  std::string shown;
  if (text != options_.diameter_text && !Tables::SetDiameter(options_, text)) FE::Beep();
  Tables::EffectiveDiameter(selection_, options_, &shown);
  diameterList_->setEditText(FromStd(shown));
}

void StandardsPage::ClearGrid() {
  const QString empty = QString::fromLatin1(Tables::kEmptyCell.data(),
                                            static_cast<qsizetype>(Tables::kEmptyCell.size()));
  for (int r = 0; r < table_->rowCount(); ++r)
    for (int c = 0; c < table_->columnCount(); ++c) table_->item(r, c)->setText(empty);
  for (int c = 0; c < table_->columnCount(); ++c) table_->setColumnWidth(c, 72);
}

void StandardsPage::ScreenTable() {
  // An edit still being typed counts, as it does when the button takes the focus.
  CommitRoundTo();
  CommitKappa();
  CommitDiameter();
  ClearGrid();
  Event([this] {
    shown_ = Tables::TableData{};
    shown_.selection = selection_;
    Tables::FillGrid(grid_, selection_, options_);
    for (std::size_t r = 0; r < Tables::kGridRows; ++r)
      for (std::size_t c = 0; c < Tables::kGridColumns; ++c)
        table_->item(static_cast<int>(r), static_cast<int>(c))->setText(FromStd(grid_[r][c]));
    if (!Tables::IsReserved(selection_)) shown_ = Tables::FillTable(selection_, options_);
  });
  // Full-precision cells are wider than rounded ones: every digit stays readable.
  table_->resizeColumnsToContents();
  Replot();
}

QString StandardsPage::Proposed(const QString& name) {
  std::string folder;
  if (!UserDir::GetUserFolder(UserDir::kAppData, folder)) return name;
  return FromStd(folder) + name;
}

void StandardsPage::CsvFile() {
  CommitRoundTo();
  CommitKappa();
  CommitDiameter();
  Event([this] {
    const QString proposed = Proposed(FromStd(Tables::IOselect(selection_)));
    const QString path = csvDialog_(this, tr("CSV file"), proposed,
                                    tr("Comma-separated text file (*.csv *.txt);;All files (*)"));
    if (path.isEmpty()) return;
    Tables::WriteTableFile(path.toStdString(), selection_, options_);
    Host().Inform(tr("CSV file"), tr("The table was written to %1").arg(path));
  });
}

void StandardsPage::SavePlot() {
  Event([this] {
    const QString proposed = Proposed(FromStd(Tables::IOselect(selection_)) + QStringLiteral(".png"));
    const QString path = plotDialog_(this, tr("Save plot"), proposed, tr("PNG image (*.png)"));
    if (path.isEmpty()) return;
    if (!plot_->grab().save(path, "PNG")) Raise(Tables::kModule, "Save plot: file not written", 3);
    Host().Inform(tr("Save plot"), tr("The plot was written to %1").arg(path));
  });
}

void StandardsPage::FillPlotChoices() {
  const QSignalBlocker block(curves_);
  curves_->clear();
  if (Tables::IsReserved(selection_)) return;
  const Tables::Axes axes = Tables::GetAxes(selection_);
  const bool byColumn = Tables::GetSelection(selection_).kind == Tables::CellKind::AgaExpansion;
  const bool single = !byColumn && axes.columns.size() == 1;
  if (single) return;  // one curve against beta
  const std::vector<std::string>& labels = byColumn ? axes.column_labels : axes.row_labels;
  const int n = static_cast<int>(labels.size());
  const int step = std::max(1, (n + kDefaultCurves - 1) / kDefaultCurves);
  for (int i = 0; i < n; ++i) {
    auto* item = new QListWidgetItem(QStringLiteral("β %1").arg(FromStd(labels[static_cast<std::size_t>(i)])));
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setCheckState(i % step == 0 ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::UserRole, i);
    curves_->addItem(item);
  }
}

void StandardsPage::Replot() {
  auto* chart = new QChart;
  chart->legend()->setAlignment(Qt::AlignRight);
  chart->setMargins(QMargins(4, 4, 4, 4));
  const Tables::TableData& d = shown_;
  const std::size_t nr = d.axes.rows.size();
  const std::size_t nc = d.axes.columns.size();
  const bool filled = d.selection == selection_ && nr > 0 && nc > 0 && d.values.size() == nr * nc;
  const Tables::CellKind kind = Tables::GetSelection(selection_).kind;
  chart->setTitle(filled ? tr("Table %1").arg(selection_) : tr("Table %1: press Screen table").arg(selection_));
  if (filled) {
    const bool byColumn = kind == Tables::CellKind::AgaExpansion;
    const bool single = kind == Tables::CellKind::Coefficient && nc == 1;
    const bool logX = kind == Tables::CellKind::Coefficient && !single;
    QAbstractAxis* xAxis = nullptr;
    if (logX) {
      auto* ax = new QLogValueAxis;
      ax->setLabelFormat("%.0e");
      ax->setBase(10.0);
      ax->setTitleText(tr("Reynolds number"));
      xAxis = ax;
    } else {
      auto* ax = new QValueAxis;
      ax->setTitleText(single ? tr("beta") : FromStd(byColumn ? std::string("hw/Pf") : std::string("p2/p1")));
      xAxis = ax;
    }
    auto* yAxis = new QValueAxis;
    yAxis->setTitleText(kind == Tables::CellKind::Coefficient ? tr("Discharge coefficient")
                                                               : tr("Expansibility factor"));
    yAxis->setLabelFormat("%.4f");
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    double lo = 0.0, hi = 0.0;
    bool any = false;
    auto add = [&](QLineSeries* s) {
      chart->addSeries(s);
      s->attachAxis(xAxis);
      s->attachAxis(yAxis);
    };
    auto point = [&](QLineSeries* s, double x, double y) {
      if (!std::isfinite(x) || !std::isfinite(y) || x >= kPlotLimit) return;
      s->append(x, y);
      lo = any ? std::min(lo, y) : y;
      hi = any ? std::max(hi, y) : y;
      any = true;
    };
    if (single) {
      auto* s = new QLineSeries;
      s->setName(tr("Re %1").arg(FromStd(d.axes.column_labels.front())));
      for (std::size_t r = 0; r < nr; ++r) point(s, d.axes.rows[r], d.values[d.Index(r, 0)]);
      add(s);
    } else {
      for (int k = 0; k < curves_->count(); ++k) {
        const QListWidgetItem* item = curves_->item(k);
        if (item->checkState() != Qt::Checked) continue;
        const auto i = static_cast<std::size_t>(item->data(Qt::UserRole).toInt());
        auto* s = new QLineSeries;
        s->setName(item->text());
        if (byColumn) {
          if (i >= nc) continue;
          for (std::size_t r = 0; r < nr; ++r) point(s, d.axes.rows[r], d.values[d.Index(r, i)]);
        } else {
          if (i >= nr) continue;
          for (std::size_t c = 0; c < nc; ++c) point(s, d.axes.columns[c], d.values[d.Index(i, c)]);
        }
        add(s);
      }
    }
    if (any) {
      const double pad = hi > lo ? 0.05 * (hi - lo) : 0.001;
      yAxis->setRange(lo - pad, hi + pad);
      yAxis->applyNiceNumbers();
    }
  }
  QChart* old = plot_->chart();
  plot_->setChart(chart);
  delete old;
}

}  // namespace qmx::ui
