#pragma once
// Display units of the calculation state: the four unit systems, the 17 quantity lists with the
// unit strings they offer and the values each governs, and the quantities without a list that a
// unit system sets directly. Only display units change here; SI values never do.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "app/qmxcalc.hpp"

namespace qmx::QMXcalc {

// Unit systems, in the order of the "Unit System" list.
enum UnitSystem : int {
  kSiPreferred = 0,
  kCommonMetric = 1,
  kMksBase = 2,
  kUsInchPound = 3,
};
inline constexpr int kUnitSystemCount = 4;
// "SI preferred metric", "Common metric", "MKS base metric", "US inch-pound".
std::string_view UnitSystemName(int system);

// Quantity lists, in page order.
enum UnitList : int {
  kDpUnits = 0,
  kPressureUnits,
  kTemperatureUnits,
  kMassFlowUnits,
  kGasVolumeFlowUnits,
  kLiquidVolumeFlowUnits,
  kEnergyFlowUnits,
  kMassTotalUnits,
  kGasVolumeTotalUnits,
  kLiquidVolumeTotalUnits,
  kEnergyTotalUnits,
  kDiameterUnits,
  kGasDensityUnits,
  kLiquidDensityUnits,
  kViscosityUnits,
  kMassHeatingValueUnits,
  kKFactorUnits,
};
static_assert(kKFactorUnits + 1 == kUnitListCount);

struct UnitListInfo {
  std::string_view label;                 // the caption on the Units page
  std::string_view key;                   // the command line's "unit.<key>"
  std::span<const std::string_view> offered;  // unit strings in list order
  std::array<std::string_view, kUnitSystemCount> presets;
  std::string_view hint;                  // shown when a typed unit does not fit
};

// The description of list 0..16; raises "UnitListOf() no such list" (7) otherwise.
const UnitListInfo& UnitListOf(int list);
// The list of a command-line key ("dp", "pressure", ...); -1 when there is none.
int UnitListByKey(std::string_view key);

// The unit string the list shows: the one last applied, or else the current unit of the first
// value it governs (its preset in SI preferred metric when it governs none).
std::string ListUnits(int list);
// Applies a unit string to every value the list governs. A string that does not fit the list's
// dimension changes nothing and returns false.
bool SetListUnits(int list, std::string_view unit);
// The preset of every list for the unit system (0..3), the units of the quantities without a
// list, then each list's text applied to its values. Raises "MasterUnitSelect()" (0) for a
// system outside 0..3 or a preset that does not fit.
void MasterUnitSelect(int system);
// The unit system last selected, -1 before the first.
int SelectedUnitSystem();

// The actual volume flow follows the liquid volume flow list while the fluid is a liquid and the
// gas volume flow list otherwise; called when the fluid changes.
void FollowFluidVolumeUnits();

}  // namespace qmx::QMXcalc
