// Display units: the unit systems, the quantity lists and the values each governs.
#include "app/display_units.hpp"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "numerics/error.hpp"
#include "units/dval.hpp"
#include "units/fum.hpp"

namespace qmx::QMXcalc {

namespace {

constexpr std::array<std::string_view, kUnitSystemCount> kSystemNames = {
    "SI preferred metric", "Common metric", "MKS base metric", "US inch-pound"};

constexpr std::string_view kDpOffered[] = {"pa", "kpa", "mmwc", "mbar", "inwc", "inw", "psi"};
constexpr std::string_view kPressureOffered[] = {"pa", "kpa", "mpa", "bar", "kgf/cm2", "psi", "atm"};
constexpr std::string_view kTemperatureOffered[] = {"K", "C", "F", "R"};
constexpr std::string_view kMassFlowOffered[] = {"kg/sec", "kg/min", "kg/hr", "lbm/sec", "lbm/min", "lbm/hr"};
constexpr std::string_view kGasFlowOffered[] = {"m3/sec", "m3/min", "m3/hr", "dam3/day", "ft3/sec",
                                                "ft3/min", "ft3/hr", "mcf/hr", "mcf/sec", "mmcf/day"};
constexpr std::string_view kLiquidFlowOffered[] = {"m3/sec", "m3/min", "m3/hr", "m3/day", "gal/sec",
                                                   "gpm", "gal/hr", "bbl/hr", "bbl/day"};
constexpr std::string_view kEnergyFlowOffered[] = {"j/sec", "M.j/hr", "mbtu/hr", "mmbtu/sec", "G.j/day"};
constexpr std::string_view kMassTotalOffered[] = {"kg", "lbm"};
constexpr std::string_view kGasTotalOffered[] = {"m3", "dam3", "ft3", "mcf", "mmcf"};
constexpr std::string_view kLiquidTotalOffered[] = {"l", "m3", "gal", "bbl"};
constexpr std::string_view kEnergyTotalOffered[] = {"j", "kj", "mj", "btu", "mbtu", "mmbtu", "therm", "kcal"};
constexpr std::string_view kDiameterOffered[] = {"m", "in", "mm"};
constexpr std::string_view kGasDensityOffered[] = {"kg/m3", "lbm/ft3"};
constexpr std::string_view kLiquidDensityOffered[] = {"kg/m3", "gm/cm3", "api", "rdl", "lbm/ft3"};
constexpr std::string_view kViscosityOffered[] = {"pa*sec", "cp", "lbm/ft*sec"};
constexpr std::string_view kHeatingValueOffered[] = {"j/kg", "mj/kg", "mmbtu/lbm", "btu/lbm"};
constexpr std::string_view kKFactorOffered[] = {"pulse/m3", "pulse/ft3", "pulse/gal"};

constexpr std::string_view kDensityHint = "density units only, eg lbm/ft3 (pounds-mass per cubic foot)";

const std::array<UnitListInfo, kUnitListCount> kLists = {{
    {"Differential pressure", "dp", kDpOffered, {"kpa", "mbar", "pa", "inw"},
     "dP units only, eg inwc (inches water column)"},
    {"Static pressure", "pressure", kPressureOffered, {"kpa", "bar", "pa", "psi"},
     "Pressure units only, eg psi (pounds per square inch)"},
    {"Temperature", "temperature", kTemperatureOffered, {"C", "C", "K", "F"},
     "Temperature units only, eg F (Farenheit)"},
    {"Mass flowrate", "mass_flow", kMassFlowOffered, {"kg/hr", "kg/hr", "kg/sec", "lbm/hr"},
     "mass flowrate units only, eg lbm/min (pounds-mass per minute)"},
    {"Gas volume flowrate", "gas_volume_flow", kGasFlowOffered, {"m3/hr", "m3/hr", "m3/sec", "mcf/hr"},
     "volume flow units only, eg ft3/min (cubic feet per minute)"},
    {"Liquid volume flowrate", "liquid_volume_flow", kLiquidFlowOffered,
     {"m3/min", "m3/min", "m3/sec", "gal/hr"}, "volume flow units only, eg gpm (gallons per minute)"},
    {"Energy flowrate", "energy_flow", kEnergyFlowOffered, {"M.j/hr", "M.j/hr", "j/sec", "mbtu/hr"},
     "Energy flow units only, eg btu/min (British thermal units per minute)"},
    {"Mass total", "mass_total", kMassTotalOffered, {"kg", "kg", "kg", "lbm"},
     "Mass units only, eg lbm (pounds-mass)"},
    {"Gas volume total", "gas_volume_total", kGasTotalOffered, {"dam3", "dam3", "m3", "mcf"},
     "Volume units only, eg ft3 (cubic feet)"},
    {"Liquid volume total", "liquid_volume_total", kLiquidTotalOffered, {"m3", "m3", "m3", "gal"},
     "Volume units only, eg gal (gallons)"},
    {"Energy total", "energy_total", kEnergyTotalOffered, {"mj", "mj", "j", "mbtu"},
     "Energy units only, eg btu (British Thermal Unit)"},
    {"Diameters", "diameter", kDiameterOffered, {"mm", "mm", "m", "in"}, "length units only, eg in (inches)"},
    {"Gas density", "gas_density", kGasDensityOffered, {"kg/m3", "kg/m3", "kg/m3", "lbm/ft3"}, kDensityHint},
    {"Liquid density", "liquid_density", kLiquidDensityOffered, {"kg/m3", "gm/cm3", "kg/m3", "api"},
     kDensityHint},
    {"Viscosity", "viscosity", kViscosityOffered, {"cp", "cp", "pa*sec", "cp"},
     "viscosity units only, eg cp (centipoise)"},
    {"Mass heating value", "mass_heating_value", kHeatingValueOffered, {"mj/kg", "mj/kg", "j/kg", "btu/lbm"},
     "mass heating value, eg btu/lbm"},
    {"K factor", "k_factor", kKFactorOffered, {"pulse/m3", "pulse/m3", "pulse/m3", "pulse/ft3"},
     "Kfactor units only, eg pulsem/ft3 (pulses per cubic foot)"},
}};

// Quantities without a list: the unit of each per system.
struct Fixed {
  DV State::*field;
  std::array<std::string_view, kUnitSystemCount> units;
};
const std::array<Fixed, 10> kFixed = {{
    {&State::molarDensity, {"kmole/m3", "kmole/m3", "kmole/m3", "lbmole/ft3"}},
    {&State::molarMass, {"kg/kmole", "kg/kmole", "kg/kmole", "lbm/lbmole"}},
    {&State::molarHeatingValue, {"mj/kmole", "mj/kmole", "j/kmole", "btu/lbmole"}},
    {&State::volumetricHeatingValue, {"mj/m3", "mj/dam3", "j/m3", "btu/ft3"}},
    // The gross-characteristics heating value is the same volumetric quantity, entered.
    {&State::gcnHeatingValue, {"mj/m3", "mj/dam3", "j/m3", "btu/ft3"}},
    {&State::criticalPressure, {"kpa", "mpa", "pa", "psi"}},
    {&State::criticalTemperature, {"C", "K", "K", "R"}},
    {&State::pressureLoss, {"kpa", "mbar", "pa", "inwc"}},
    {&State::pipeVelocity, {"m/s", "m/s", "m/s", "ft/s"}},
    {&State::thermalExpansion, {" /C", " /C", " /K", " /F"}},
}};

bool IsLiquid(int fluid) { return fluid == kGenericLiquid || fluid == kHydrocarbonLiquid; }

// The values a list governs now (the actual volume flow depends on the fluid).
std::vector<FUM::DVal*> Governed(int list) {
  State& s = Calc();
  auto values = [&s](std::initializer_list<DV State::*> fields) {
    std::vector<FUM::DVal*> v;
    for (DV State::*f : fields) {
      if (s.*f) v.push_back((s.*f).get());
    }
    return v;
  };
  const bool liquid = IsLiquid(s.fluid);
  switch (list) {
    case kDpUnits: return values({&State::dp});
    case kPressureUnits:
      return values({&State::staticPressure, &State::atmosphericPressure, &State::upstreamPressure,
                     &State::basePressure});
    case kTemperatureUnits:
      return values({&State::flowingTemperature, &State::baseTemperature, &State::throatRefTemperature,
                     &State::pipeRefTemperature});
    case kMassFlowUnits: return values({&State::massFlow});
    case kGasVolumeFlowUnits:
      return liquid ? values({&State::stdVolumeFlow})
                    : values({&State::stdVolumeFlow, &State::actualVolumeFlow});
    case kLiquidVolumeFlowUnits: return liquid ? values({&State::actualVolumeFlow}) : values({});
    case kEnergyFlowUnits: return values({&State::energyFlow});
    case kDiameterUnits:
      return values({&State::pipeDiameter, &State::throatDiameter, &State::pipeDiameterFlowing,
                     &State::throatDiameterFlowing});
    case kGasDensityUnits:
      return values({&State::densityFlowing, &State::densityBase, &State::satLiquidDensity,
                     &State::waterDensityBase});
    case kLiquidDensityUnits: return values({&State::apiGravity, &State::baseDensity, &State::liquidDensity});
    case kViscosityUnits: return values({&State::gcnViscosity, &State::viscosity, &State::liquidViscosity});
    case kMassHeatingValueUnits:
      return values({&State::massHeatingValue, &State::referenceEnthalpy, &State::enthalpy});
    case kKFactorUnits: return values({&State::kFactor});
    default: return {};  // the totals: no value of the state yet
  }
}

// Whether the string converts without a flag and has the dimension of the list's first unit.
bool FitsList(int list, std::string_view unit) {
  if (unit.empty() || unit.size() > FUM::kDValUnitLength) return false;
  if (unit.find('\0') != std::string_view::npos) return false;
  FUM::Dims want{};
  FUM::uStrDims(want, UnitListOf(list).offered.front());
  FUM::UnitErrors errors = 0;
  bool formulaic = false;
  FUM::Dims dims{};
  double si = 0.0;
  FUM::uConvert(errors, formulaic, dims, unit, si, true, 1.0);
  return errors == 0 && dims == want;
}

}  // namespace

std::string_view UnitSystemName(int system) {
  if (system < 0 || system >= kUnitSystemCount) return {};
  return kSystemNames[static_cast<std::size_t>(system)];
}

const UnitListInfo& UnitListOf(int list) {
  if (list < 0 || list >= kUnitListCount) Raise(kModule, "UnitListOf() no such list", 7);
  return kLists[static_cast<std::size_t>(list)];
}

int UnitListByKey(std::string_view key) {
  for (int i = 0; i < kUnitListCount; ++i) {
    if (kLists[static_cast<std::size_t>(i)].key == key) return i;
  }
  return -1;
}

std::string ListUnits(int list) {
  const UnitListInfo& info = UnitListOf(list);
  const std::string& chosen = Calc().listUnits[static_cast<std::size_t>(list)];
  if (!chosen.empty()) return chosen;
  const std::vector<FUM::DVal*> values = Governed(list);
  if (values.empty()) return std::string(info.presets[kSiPreferred]);
  std::string unit;
  FUM::uDVgetUnits(unit, *values.front());
  return unit;
}

bool SetListUnits(int list, std::string_view unit) {
  UnitListOf(list);  // raises for a list that does not exist
  if (!FitsList(list, unit)) return false;
  const std::vector<FUM::DVal*> values = Governed(list);
  // Every value must take it before any changes, so a refusal leaves all as they were.
  for (FUM::DVal* dv : values) {
    if (!FUM::uDVcheckUnits(unit, *dv)) return false;
  }
  for (FUM::DVal* dv : values) FUM::uDVsetUnits(unit, *dv);
  Calc().listUnits[static_cast<std::size_t>(list)] = std::string(unit);
  return true;
}

void MasterUnitSelect(int system) {
  if (system < 0 || system >= kUnitSystemCount) Raise(kModule, "MasterUnitSelect()", 0);
  State& s = Calc();
  const auto k = static_cast<std::size_t>(system);
  for (const Fixed& f : kFixed) {
    if (s.*f.field && !FUM::uDVsetUnits(f.units[k], *(s.*f.field))) Raise(kModule, "MasterUnitSelect()", 0);
  }
  for (int list = 0; list < kUnitListCount; ++list) {
    if (!SetListUnits(list, kLists[static_cast<std::size_t>(list)].presets[k])) {
      Raise(kModule, "MasterUnitSelect()", 0);
    }
  }
  s.unitSystem = system;
}

int SelectedUnitSystem() { return Calc().unitSystem; }

void FollowFluidVolumeUnits() {
  State& s = Calc();
  if (!s.actualVolumeFlow) return;
  const int list = IsLiquid(s.fluid) ? kLiquidVolumeFlowUnits : kGasVolumeFlowUnits;
  const std::string& unit = s.listUnits[static_cast<std::size_t>(list)];
  if (!unit.empty()) FUM::uDVsetUnits(unit, *s.actualVolumeFlow);
}

}  // namespace qmx::QMXcalc
