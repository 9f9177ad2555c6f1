#include "ui/mole_fractions_page.hpp"

#include <array>
#include <string>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "gas/components.hpp"

namespace qmx::ui {

namespace {

struct Component {
  const char* key;  // object name: the component key of the command line
  const char* text;
};
constexpr std::array<Component, 21> kComponents = {{
    {"x.C1", "Methane"},    {"x.N2", "Nitrogen"},     {"x.CO2", "CO2"},
    {"x.C2", "Ethane"},     {"x.C3", "Propane"},      {"x.H2O", "Water"},
    {"x.H2S", "H2S"},       {"x.H2", "Hydrogen"},     {"x.CO", "CO"},
    {"x.O2", "Oxygen"},     {"x.iC4", "i-Butane"},    {"x.nC4", "n-Butane"},
    {"x.iC5", "i-Pentane"}, {"x.nC5", "n-Pentane"},   {"x.nC6", "n-Hexane"},
    {"x.nC7", "n-Heptane"}, {"x.nC8", "n-Octane"},    {"x.nC9", "n-Nonane"},
    {"x.nC10", "n-Decane"}, {"x.He", "Helium"},       {"x.Ar", "Argon"},
}};

std::string ComponentText(int component) {
  std::string total;
  std::string fraction;
  QMXcalc::GetComponentText(total, fraction, component);
  return fraction;
}

std::string TotalText() {
  std::string total;
  std::string fraction;
  QMXcalc::GetComponentText(total, fraction, 0);
  return total;
}

std::string EnteredTotalText() {
  std::string total;
  QMXcalc::GetEnteredTotalText(total);
  return total;
}

}  // namespace

MoleFractionsPage::MoleFractionsPage(PageHost& host, QWidget* parent)
    : GasPage(host, kMoleFractionsPage, QStringLiteral("Mole fractions"), 400,
              static_cast<int>(GAS1::kPresets.size()), parent) {
  QGroupBox* conditions = ConditionsBox();

  // The composition in percent, two columns of fields, the total under the second.
  auto* composition = new QGroupBox(tr("Composition, mole %"), this);
  auto* grid = new QGridLayout(composition);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  constexpr int kRows = 11;
  const int componentWidth = fontMetrics().horizontalAdvance(QStringLiteral("0.936226")) + 8;
  // The entered percentages are used normalised to 100 %; both totals are shown.
  FieldEdit* entered = Add(new FieldEdit(*this, QStringLiteral("x.entered_total"), tr("Total"),
                                         {EnteredTotalText, {}}, FieldEdit::Role::Output,
                                         QStringLiteral("%")));
  FieldEdit* total = Add(new FieldEdit(*this, QStringLiteral("x.total"), tr("Normalised"),
                                       {TotalText, {}}, FieldEdit::Role::Output, QStringLiteral("%")));
  for (std::size_t i = 0; i < kComponents.size(); ++i) {
    const int component = static_cast<int>(i);
    FieldEdit::TextAccess access{
        [component] { return ComponentText(component); },
        [component](bool& changed, std::string_view text) {
          QMXcalc::SetComponentText(changed, text, component);
        }};
    FieldEdit* f = Add(new FieldEdit(*this, QString::fromLatin1(kComponents[i].key),
                                     tr(kComponents[i].text), std::move(access),
                                     FieldEdit::Role::Input));
    f->SetCalculates(false);
    // Percentages need less room than the other values: two columns fit beside the results.
    f->Edit()->setFixedWidth(componentWidth);
    f->AlsoShow(entered);
    f->AlsoShow(total);
    f->AddTo(*grid, component % kRows, component / kRows * 3);
  }
  entered->AddTo(*grid, kRows - 1, 3);
  total->AddTo(*grid, kRows, 3);
  entered->Edit()->setFixedWidth(componentWidth);
  total->Edit()->setFixedWidth(componentWidth);

  QGroupBox* results = PropertiesBox(true, tr("Relative density"));

  auto* note = new QLabel(tr("A typed percentage is used from the next calculation of this page: "
                             "the next entry of a condition, or the next visit of the page."), this);
  note->setWordWrap(true);
  auto* left = new QVBoxLayout;
  left->addWidget(conditions);
  left->addWidget(composition);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(results);
  right->addWidget(note);
  right->addStretch();
  right->addWidget(MakeHelpButton(), 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(left);
  layout->addLayout(right);
  Refresh();
}

}  // namespace qmx::ui
