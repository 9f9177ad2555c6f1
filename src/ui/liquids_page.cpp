#include "ui/liquids_page.hpp"

#include "app/qmxcalc.hpp"

namespace qmx::ui {

LiquidsPage::LiquidsPage(PageHost& host, QWidget* parent)
    : Page(host, kLiquidsPage, QStringLiteral("Liquids"), 700, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  auto* liquid = Group(tr("Liquid"),
                       {Out("liquid_density", tr("Liquid density, flowing"), s.liquidDensity),
                        Out("liquid_viscosity", tr("Liquid viscosity"), s.liquidViscosity),
                        Out("base_density", tr("Base density"), s.baseDensity),
                        Out("liquid_relative_density", tr("Relative density"), s.liquidRelativeDensity),
                        Out("thermal_expansion", tr("Thermal expansion coefficient"), s.thermalExpansion),
                        Out("liquid_correction_factor", tr("Liquid correction factor"),
                            s.liquidCorrectionFactor)});
  LayOutShownValues(tr("The entry of the liquid and of the API product is being built; this page "
                       "shows the values in use."),
                    {liquid});
  Refresh();
}

}  // namespace qmx::ui
