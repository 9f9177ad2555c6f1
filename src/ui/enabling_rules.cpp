#include "ui/enabling_rules.hpp"

#include <QComboBox>
#include <QSignalBlocker>

#include "app/qmxcalc.hpp"
#include "ui/page.hpp"

namespace qmx::ui {

namespace {

constexpr int kFlangeTaps = 1;

bool ProbeMeter(int meter) { return meter >= 31 && meter <= 34; }

}  // namespace

void ApplyEnablingRules(Page& page) {
  int nonDP = 0;
  const int meter = QMXcalc::GetMeter(nonDP);
  const int fluid = QMXcalc::GetFluid();
  const bool turbine = meter == 39;
  const bool probe = ProbeMeter(meter);

  page.SetEnabledByName("fixed_cd", meter == 0 || meter == 3 || meter == 4);

  // Taps: a choice only for the ISO orifice; the AGA-3 orifices always take flange taps.
  if (meter == 14 || meter == 15) QMXcalc::SetTaps(page.Changed(), kFlangeTaps);
  if (auto* taps = page.findChild<QComboBox*>("taps")) {
    if (meter != 12) {
      const QSignalBlocker block(taps);
      taps->setCurrentIndex(kFlangeTaps);
    }
    taps->setEnabled(meter == 12);
  }

  page.SetEnabledByName("probe_model", probe);
  page.SetEnabledByName("throat_material", !probe);
  page.SetEnabledByName("throat_diameter", !probe && !turbine);
  page.SetEnabledByName("beta", !probe && !turbine);

  page.SetEnabledByName("flowing_temperature", fluid == QMXcalc::kNaturalGas ||
                                                   fluid == QMXcalc::kGcnGas ||
                                                   fluid == QMXcalc::kHydrocarbonLiquid ||
                                                   fluid == QMXcalc::kDrySteam);
  page.SetEnabledByName("static_pressure", fluid != QMXcalc::kTestFluid);

  page.SetEnabledByName("k_factor", turbine);
  page.SetEnabledByName("frequency", turbine);
  for (const char* name : {"dp", "cd", "expansion_factor", "beta_flowing", "velocity_of_approach",
                           "throat_diameter_flowing", "pressure_loss"}) {
    page.SetEnabledByName(name, !turbine);
  }
}

QString ThroatCaption(int meter) {
  switch (meter) {
    case 0: case 6: case 7: case 8: case 18: case 37:
      return QStringLiteral("Throat diameter");
    case 9: case 10: case 11: case 12: case 13: case 14: case 15: case 17: case 24:
      return QStringLiteral("Orifice diameter");
    case 1: case 2: case 3: case 4:
      return QStringLiteral("Cone diameter");
    case 31: case 32: case 33:
      return QStringLiteral("Probe width");
    case 39:
      return QStringLiteral("Bore diameter");
    default:
      return QStringLiteral("error");
  }
}

QString MaterialCaption(int meter) {
  switch (meter) {
    case 3: case 4:
      return QStringLiteral("Cone material");
    case 12: case 14: case 15: case 24:
      return QStringLiteral("Plate material");
    case 33:
      return QStringLiteral("Strut material");
    default:
      return QStringLiteral("Throat material");
  }
}

}  // namespace qmx::ui
