#include "ui/gcn_page.hpp"

#include <QGroupBox>

#include "app/qmxcalc.hpp"

namespace qmx::ui {

namespace {
// The mixtures offered here: "Gulf Coast" to "EUB 7" (air and the ISO 6976 example are no
// natural gases for the gross-characteristics method).
constexpr int kGcnPresets = 14;
}  // namespace

GcnPage::GcnPage(PageHost& host, QWidget* parent)
    : GasPage(host, kGcnPage, QStringLiteral("GCN"), 500, kGcnPresets, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  QGroupBox* conditions = ConditionsBox();
  auto* gross = Group(tr("Gross characteristics"),
                      {In("gcn_heating_value", tr("Vol. heating value"), s.gcnHeatingValue),
                       In("gcn_viscosity", tr("Viscosity"), s.gcnViscosity),
                       In("gcn_relative_density", tr("Relative density"), s.gcnRelativeDensity),
                       In("gcn_n2", tr("Nitrogen"), s.gcnN2),
                       In("gcn_co2", tr("CO2"), s.gcnCO2),
                       In("gcn_h2", tr("Hydrogen"), s.gcnH2),
                       In("gcn_co", tr("CO"), s.gcnCO)});
  QGroupBox* results = PropertiesBox(false, tr("Real-gas relative density"));
  LayOutColumns({conditions, gross}, {results});
  Refresh();
}

}  // namespace qmx::ui
