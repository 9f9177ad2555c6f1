#include "ui/units_page.hpp"

#include "app/qmxcalc.hpp"

namespace qmx::ui {

UnitsPage::UnitsPage(PageHost& host, QWidget* parent)
    : Page(host, kUnitsPage, QStringLiteral("Units"), 1000, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  auto* units = Group(tr("Display units in use"),
                      {Out("dp", tr("Differential pressure"), s.dp),
                       Out("static_pressure", tr("Static pressure"), s.staticPressure),
                       Out("flowing_temperature", tr("Temperature"), s.flowingTemperature),
                       Out("pipe_diameter", tr("Diameters"), s.pipeDiameter),
                       Out("mass_flow", tr("Mass flow"), s.massFlow),
                       Out("std_volume_flow", tr("Standard volume flow"), s.stdVolumeFlow),
                       Out("energy_flow", tr("Energy flow"), s.energyFlow)});
  LayOutShownValues(tr("The choice of display units, the unit converter and the calculator are "
                       "being built; this page shows the units in use. The command line offers "
                       "them now: qmxcli units, qmxcli convert, qmxcli eval."),
                    {units});
  Refresh();
}

}  // namespace qmx::ui
