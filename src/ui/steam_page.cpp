#include "ui/steam_page.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "ui/enabling_rules.hpp"

namespace qmx::ui {

SteamPage::SteamPage(PageHost& host, QWidget* parent)
    : Page(host, kSteamPage, QStringLiteral("Steam"), 600, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  FieldEdit* pressure = In("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure,
                           QMXcalc::UpdateGaugePressure);
  FieldEdit* temperature = In("flowing_temperature", tr("Flowing temperature"), s.flowingTemperature);
  pressure->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  temperature->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  auto* inputs = Group(tr("Steam conditions"),
                       {pressure, temperature,
                        In("base_temperature", tr("Reference water temperature"), s.baseTemperature)});
  auto* results = Group(tr("Steam properties"),
                        {Out("density_flowing", tr("Density, flowing"), s.densityFlowing),
                         Out("water_density_base", tr("Water density, reference"), s.waterDensityBase),
                         Out("sat_liquid_density", tr("Saturated liquid density"), s.satLiquidDensity),
                         Out("molar_mass", tr("Molar mass"), s.molarMass),
                         Out("viscosity", tr("Viscosity"), s.viscosity),
                         Out("mass_heating_value", tr("Enthalpy above reference water"), s.massHeatingValue),
                         Out("reference_enthalpy", tr("Reference enthalpy"), s.referenceEnthalpy)});
  auto* note = new QLabel(tr("With saturated steam the flowing temperature is the saturation "
                             "temperature of the absolute pressure."), this);
  note->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(MakeHelpButton());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(inputs);
  layout->addWidget(results);
  layout->addWidget(note);
  layout->addStretch();
  layout->addLayout(buttons);
  Refresh();
  Enable();
}

void SteamPage::Activate() {
  Refresh();
  Recalculate();
  Enable();
}

void SteamPage::Enable() { ApplyEnablingRules(*this); }

}  // namespace qmx::ui
