#include "ui/mole_fractions_page.hpp"

#include <string>

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "app/qmxcalc.hpp"

namespace qmx::ui {

namespace {

struct Component {
  const char* key;  // object name: the component key of the command line
  const char* text;
};
constexpr std::array<Component, 21> kComponents = {{
    {"x.C1", "Methane"},    {"x.N2", "Nitrogen"},     {"x.CO2", "CO2"},
    {"x.C2", "Ethane"},     {"x.C3", "Propane"},      {"x.H2O", "Water"},
    {"x.H2S", "H2S"}, {"x.H2", "Hydrogen"}, {"x.CO", "CO"},
    {"x.O2", "Oxygen"},     {"x.iC4", "i-Butane"},    {"x.nC4", "n-Butane"},
    {"x.iC5", "i-Pentane"}, {"x.nC5", "n-Pentane"},   {"x.nC6", "n-Hexane"},
    {"x.nC7", "n-Heptane"}, {"x.nC8", "n-Octane"},    {"x.nC9", "n-Nonane"},
    {"x.nC10", "n-Decane"}, {"x.He", "Helium"},       {"x.Ar", "Argon"},
}};

QLineEdit* ReadOnly(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  edit->setAlignment(Qt::AlignRight);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("100.000")) + 8);
  return edit;
}

}  // namespace

MoleFractionsPage::MoleFractionsPage(PageHost& host, QWidget* parent)
    : Page(host, kMoleFractionsPage, QStringLiteral("Mole fractions"), 400, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  auto* composition = new QGroupBox(tr("Composition, mole %"), this);
  auto* grid = new QGridLayout(composition);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  constexpr int kRows = 11;
  for (std::size_t i = 0; i < kComponents.size(); ++i) {
    const int row = static_cast<int>(i) % kRows;
    const int col = static_cast<int>(i) / kRows * 2;
    components_[i] = ReadOnly(composition, QString::fromLatin1(kComponents[i].key));
    grid->addWidget(new QLabel(QString::fromLatin1(kComponents[i].text), composition), row, col);
    grid->addWidget(components_[i], row, col + 1);
  }
  total_ = ReadOnly(composition, QStringLiteral("x.total"));
  grid->addWidget(new QLabel(tr("Total"), composition), kRows - 1, 2);
  grid->addWidget(total_, kRows - 1, 3);

  auto* results = Group(tr("Gas properties"),
                        {Out("density_flowing", tr("Density, flowing"), s.densityFlowing),
                         Out("density_base", tr("Density, base"), s.densityBase),
                         Out("molar_density", tr("Molar density"), s.molarDensity),
                         Out("molar_mass", tr("Molar mass"), s.molarMass),
                         Out("z_flowing", tr("Z, flowing"), s.zFlowing),
                         Out("z_base", tr("Z, base"), s.zBase),
                         Out("viscosity", tr("Viscosity"), s.viscosity),
                         Out("critical_pressure", tr("Pseudo-crit. pressure"), s.criticalPressure),
                         Out("critical_temperature", tr("Pseudo-crit. temp."), s.criticalTemperature),
                         Out("molar_heating_value", tr("Molar heating value"), s.molarHeatingValue),
                         Out("mass_heating_value", tr("Mass heating value"), s.massHeatingValue),
                         Out("volumetric_heating_value", tr("Vol. heating value"), s.volumetricHeatingValue),
                         Out("relative_density", tr("Relative density"), s.relativeDensity)});
  LayOutShownValues(tr("The entry of the composition and of the preset mixtures is being built; "
                       "this page shows the composition in use and the gas properties of the "
                       "last calculation."),
                    {composition, results});
  Refresh();
}

void MoleFractionsPage::Refresh() {
  Page::Refresh();
  std::string total;
  std::string fraction;
  for (std::size_t i = 0; i < components_.size(); ++i) {
    QMXcalc::GetComponentText(total, fraction, static_cast<int>(i));
    components_[i]->setText(QString::fromStdString(fraction).trimmed());
  }
  total_->setText(QString::fromStdString(total).trimmed());
}

}  // namespace qmx::ui
