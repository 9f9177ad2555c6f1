#include "ui/units_page.hpp"

#include <string>

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/display_units.hpp"
#include "numerics/expr.hpp"
#include "numerics/expr_operators.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"
#include "units/unit_groups.hpp"

namespace qmx::ui {

namespace {

// The calculator's own variable hooks: no name is a variable, so its expressions use numbers,
// operators and functions only.
bool NoAssignment(std::string_view, double) { return false; }
bool NoVariable(std::string_view, double&) { return false; }

// Longest unit string a calculator unit field keeps.
constexpr int kCalculatorUnitLength = 50;

// Keeps the characters a unit string is written with: "$", "*", "-", ".", "/", the digits 1 to 9,
// the capitals of the formulaic units and prefixes, and the lower-case letters.
QString UnitCharacters(const QString& text) {
  static const QString kKept = QStringLiteral("$*-./123456789CFGKMRT");
  QString kept;
  for (const QChar c : text) {
    if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || kKept.contains(c)) kept += c;
  }
  return kept.left(kCalculatorUnitLength);
}

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

UnitsPage::UnitsPage(PageHost& host, QWidget* parent)
    : Page(host, kUnitsPage, QStringLiteral("Units"), 1000, nullptr, parent) {
  Expr::SetVariableHooks(NoAssignment, NoVariable);
  QWidget* lists = BuildLists();
  QWidget* calculator = BuildCalculator();
  QTreeWidget* reference = BuildReference();

  auto* help = new QHBoxLayout;
  help->addStretch();
  help->addWidget(MakeHelpButton());
  auto* right = new QVBoxLayout;
  right->addWidget(calculator);
  right->addLayout(help);
  right->addWidget(reference, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(lists, 0, Qt::AlignTop);
  layout->addLayout(right, 1);

  // The program starts in SI preferred metric units.
  QMXcalc::MasterUnitSelect(QMXcalc::kSiPreferred);
  Refresh();
}

QWidget* UnitsPage::BuildLists() {
  auto* box = new QGroupBox(tr("Display units"), this);
  auto* grid = new QGridLayout(box);
  grid->setVerticalSpacing(2);
  system_ = new QComboBox(box);
  system_->setObjectName("unit_system");
  for (int i = 0; i < QMXcalc::kUnitSystemCount; ++i) system_->addItem(Text(QMXcalc::UnitSystemName(i)));
  auto* systemLabel = new QLabel(tr("Unit System"), box);
  systemLabel->setBuddy(system_);
  grid->addWidget(systemLabel, 0, 0);
  grid->addWidget(system_, 0, 1);
  connect(system_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!refreshing_ && index >= 0) SystemChosen(index);
  });
  for (int list = 0; list < QMXcalc::kUnitListCount; ++list) {
    const QMXcalc::UnitListInfo& info = QMXcalc::UnitListOf(list);
    auto* combo = new QComboBox(box);
    combo->setObjectName(QStringLiteral("unit.") + Text(info.key));
    combo->setEditable(true);
    // A typed unit is applied to the values, never added to the offered strings.
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Nor completed: "kg" would become "kgf/cm2" and "m3" "m3/sec".
    combo->setCompleter(nullptr);
    for (std::string_view unit : info.offered) combo->addItem(Text(unit));
    connect(combo, &QComboBox::currentIndexChanged, this, [this, list](int) {
      if (!refreshing_) ListEdited(list);
    });
    connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, list] {
      if (!refreshing_) ListEdited(list);
    });
    auto* label = new QLabel(Text(info.label), box);
    label->setBuddy(combo);
    grid->addWidget(label, list + 1, 0);
    grid->addWidget(combo, list + 1, 1);
    lists_[static_cast<std::size_t>(list)] = combo;
  }
  return box;
}

QWidget* UnitsPage::BuildCalculator() {
  auto* box = new QGroupBox(tr("Unit converter and calculator"), this);
  auto* grid = new QGridLayout(box);
  const QString values[2] = {QStringLiteral("(4/3)*PI*(12/2)^3"), QStringLiteral("3.916791")};
  const QString units[2] = {QStringLiteral("in3"), QStringLiteral("gal")};
  grid->addWidget(new QLabel(tr("Value (or expression)"), box), 0, 0);
  grid->addWidget(new QLabel(tr("Unit"), box), 0, 1);
  for (int i = 0; i < 2; ++i) {
    const auto k = static_cast<std::size_t>(i);
    auto* value = new QLineEdit(values[i], box);
    value->setObjectName(QStringLiteral("calc_value%1").arg(i + 1));
    auto* unit = new QLineEdit(units[i], box);
    unit->setObjectName(QStringLiteral("calc_unit%1").arg(i + 1));
    unit->setMaxLength(kCalculatorUnitLength);
    valueEdits_[k] = value;
    unitEdits_[k] = unit;
    units_[k] = units[i];
    // The calculator starts with the values its fields show.
    std::string text = values[i].toStdString();
    int error = 0;
    Expr::Evaluate(error, values_[k], true, text);
    connect(value, &QLineEdit::editingFinished, this, [this, i] { ValueEdited(i); });
    connect(unit, &QLineEdit::editingFinished, this, [this, i] { UnitEdited(i); });
    grid->addWidget(value, i == 0 ? 1 : 3, 0);
    grid->addWidget(unit, i == 0 ? 1 : 3, 1);
  }
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 1);
  auto* down = new QPushButton(tr("Convert 1 \u2192 2"), box);
  down->setObjectName("convert_1_to_2");
  auto* up = new QPushButton(tr("Convert 2 \u2192 1"), box);
  up->setObjectName("convert_2_to_1");
  connect(down, &QPushButton::clicked, this, [this] { Convert(0); });
  connect(up, &QPushButton::clicked, this, [this] { Convert(1); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(down);
  buttons->addWidget(up);
  buttons->addStretch();
  grid->addLayout(buttons, 2, 0, 1, 2);
  return box;
}

QTreeWidget* UnitsPage::BuildReference() {
  auto* tree = new QTreeWidget(this);
  tree->setObjectName("reference");
  tree->setColumnCount(2);
  tree->setHeaderLabels({tr("Symbol"), tr("Description")});
  tree->setRootIsDecorated(false);
  tree->setSelectionMode(QAbstractItemView::NoSelection);
  // Long rows (the formulaic units, long names) wrap within their column.
  tree->setWordWrap(true);
  tree->setTextElideMode(Qt::ElideNone);
  tree->setUniformRowHeights(false);
  QList<QTreeWidgetItem*> rows;
  QList<QTreeWidgetItem*> headings;
  QList<QTreeWidgetItem*> formulaic;
  auto row = [&rows](const QString& first, const QString& second) {
    auto* item = new QTreeWidgetItem(QStringList{first, second});
    item->setToolTip(0, first);
    item->setToolTip(1, second);
    rows << item;
    return item;
  };
  for (const FUM::UnitGroup& g : FUM::kUnitGroups) {
    headings << row(Text(g.heading), {});
    if (!g.formulaic.symbol.empty()) formulaic << row(Text(g.formulaic.label), Text(g.formulaic.name));
    for (const int r : FUM::GroupRecords(g)) {
      std::string name;
      FUM::uUnitName(r, name);
      row(Text(FUM::uUnitSymbol(r)), QString::fromStdString(name));
    }
  }
  headings << row(Text(Expr::kOperatorsHeading), {});
  for (const Expr::OperatorRow& op : Expr::kOperatorRows) row(Text(op.symbol), Text(op.name));
  row({}, {});
  row({}, {});
  row(tr("Unit strings"), tr("products of these symbols, one \"/\", exponents 2 to 9: lbm/ft*sec, m3/hr"));
  // The symbol column is as wide as a long unit symbol; headings run across both columns.
  const QFontMetrics metrics = tree->fontMetrics();
  const int symbolWidth = metrics.horizontalAdvance(QStringLiteral("lbm/ft*sec")) + 24;
  tree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
  tree->setColumnWidth(0, symbolWidth);
  // The formulaic rows are longer: they get the height of their wrapped text.
  for (QTreeWidgetItem* f : formulaic) {
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, symbolWidth - 12, 1000), Qt::TextWordWrap, f->text(0));
    f->setSizeHint(0, QSize(symbolWidth, wrapped.height() + 4));
  }
  tree->addTopLevelItems(rows);
  for (QTreeWidgetItem* h : headings) h->setFirstColumnSpanned(true);
  return tree;
}

void UnitsPage::Refresh() {
  Page::Refresh();
  refreshing_ = true;
  system_->setCurrentIndex(QMXcalc::SelectedUnitSystem());
  for (int list = 0; list < QMXcalc::kUnitListCount; ++list) {
    QComboBox* combo = lists_[static_cast<std::size_t>(list)];
    const QString unit = QString::fromStdString(QMXcalc::ListUnits(list));
    combo->setCurrentIndex(combo->findText(unit));
    combo->setEditText(unit);
  }
  refreshing_ = false;
}

void UnitsPage::ListEdited(int list) {
  QComboBox* combo = lists_[static_cast<std::size_t>(list)];
  const std::string unit = combo->currentText().trimmed().toStdString();
  // The same string again (a pick followed by its own edit-finished signal) changes nothing.
  if (unit == QMXcalc::ListUnits(list)) return;
  Event([this, list, unit] {
    if (QMXcalc::SetListUnits(list, unit)) {
      Refresh();
      return;
    }
    Refresh();  // the list shows the unit in use again
    Host().Warn(tr("Units"), Text(QMXcalc::UnitListOf(list).hint));
  });
}

void UnitsPage::SystemChosen(int system) {
  Event([this, system] {
    QMXcalc::MasterUnitSelect(system);
    Refresh();
  });
}

bool UnitsPage::ValueEdited(int field) {
  QLineEdit* edit = valueEdits_[static_cast<std::size_t>(field)];
  // Only a changed text is evaluated again: a converted result keeps its full precision.
  if (!edit->isModified()) return true;
  edit->setModified(false);
  std::string text = edit->text().toStdString();
  std::string detail;
  int error = 0;
  Expr::Evaluate(error, values_[static_cast<std::size_t>(field)], true, text, detail);
  if (error == Expr::kOk) return true;
  std::string message;
  Expr::ExprErrorText(message, error);
  QString shown = QString::fromStdString(message);
  if (!detail.empty()) shown += QStringLiteral("\n") + QString::fromStdString(detail);
  Host().Warn(tr("Calculator"), shown);
  return false;
}

void UnitsPage::UnitEdited(int field) {
  const auto k = static_cast<std::size_t>(field);
  const QString unit = UnitCharacters(unitEdits_[k]->text());
  if (unitEdits_[k]->text() != unit) unitEdits_[k]->setText(unit);
  units_[k] = unit;
}

void UnitsPage::Convert(int from) {
  const auto f = static_cast<std::size_t>(from);
  const auto t = static_cast<std::size_t>(1 - from);
  // Fields still being edited count as finished; an expression that fails converts nothing.
  if (!ValueEdited(from)) return;
  UnitEdited(from);
  UnitEdited(1 - from);
  FUM::UnitErrors errors = 0;
  double result = values_[t];
  FUM::uConvertBetween(errors, units_[t].toStdString(), result, units_[f].toStdString(), values_[f]);
  if (errors != 0) {
    std::string flags;
    FUM::uErrorText(errors, flags);
    QString text = QString::fromStdString(flags);
    text.replace(QLatin1Char('|'), QLatin1Char('\n'));
    Host().Warn(tr("Unit conversion"), text.trimmed());
    return;
  }
  values_[t] = result;
  std::string shown;
  FE::LRtoStr(shown, 6, 20, result);
  valueEdits_[t]->setText(QString::fromStdString(shown).trimmed());
}

}  // namespace qmx::ui
