#include "ui/gcn_page.hpp"

#include "app/qmxcalc.hpp"

namespace qmx::ui {

GcnPage::GcnPage(PageHost& host, QWidget* parent)
    : Page(host, kGcnPage, QStringLiteral("GCN"), 500, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  auto* gross = Group(tr("Gross characteristics"),
                      {Out("gcn_relative_density", tr("Relative density"), s.gcnRelativeDensity),
                       Out("gcn_heating_value", tr("Heating value"), s.gcnHeatingValue),
                       Out("gcn_viscosity", tr("Viscosity"), s.gcnViscosity),
                       Out("gcn_co2", tr("CO2"), s.gcnCO2),
                       Out("gcn_n2", tr("N2"), s.gcnN2),
                       Out("gcn_h2", tr("H2"), s.gcnH2),
                       Out("gcn_co", tr("CO"), s.gcnCO)});
  auto* results = Group(tr("Gas properties"),
                        {Out("density_flowing", tr("Density, flowing"), s.densityFlowing),
                         Out("density_base", tr("Density, base"), s.densityBase),
                         Out("molar_mass", tr("Molar mass"), s.molarMass),
                         Out("z_flowing", tr("Z, flowing"), s.zFlowing),
                         Out("z_base", tr("Z, base"), s.zBase),
                         Out("viscosity", tr("Viscosity, flowing"), s.viscosity),
                         Out("relative_density", tr("Relative density"), s.relativeDensity)});
  LayOutShownValues(tr("The entry of the gross characteristics is being built; this page shows "
                       "the values in use and the gas properties of the last calculation."),
                    {gross, results});
  Refresh();
}

}  // namespace qmx::ui
