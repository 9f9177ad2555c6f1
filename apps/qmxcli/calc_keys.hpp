#pragma once
// The KEY=VALUE changes of the calculator commands (calc, report): each pair is applied to the
// calculation state as the page edit would (same setter or field entry, same dependent update).
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/qmxcalc.hpp"

namespace qmx::cli {

enum class After { None, Absolute, Gauge, Beta, Bore, RelativeDensity, BaseDensity };

struct DvKey {
  std::string_view key;
  QMXcalc::DV QMXcalc::State::*field;
  After after;
};
struct RvKey {
  std::string_view key;
  QMXcalc::RV QMXcalc::State::*field;
  After after;
};

// The input fields by key, and the header text keys in header-index order.
std::span<const DvKey> DvInputKeys();
std::span<const RvKey> RvInputKeys();
std::span<const std::string_view> HeaderKeys();
// Component symbols of the "x.<symbol>" keys, in the 21-component order.
std::span<const std::string_view> ComponentKeys();

// The help text listing every key, for the calculator commands' --help.
std::string KeysHelp();

// Applies one "KEY=VALUE" pair; an unknown key or a refused value throws UsageError.
void ApplyCalcKey(const std::string& pair, bool& changed);

// Initialize, Reset, every pair in order, then Calculate.
void CalculateWith(const std::vector<std::string>& pairs);

// Every pair in order on the calling thread's state, with the checks CalculateWith makes before
// it calculates (a composition summing to 0, natural gas base conditions); throws UsageError.
void ApplyCalcKeys(const std::vector<std::string>& pairs);
// Display units. The unit systems of --units ("si", "common", "mks", "us") in list order.
std::span<const std::string_view> UnitSystemKeys();
// Moves every "unit.<list>=STRING" pair out of `pairs`, keeping their order.
std::vector<std::string> TakeUnitKeys(std::vector<std::string>& pairs);
// Applies the unit system (none when empty) through MasterUnitSelect, then each unit.* pair in
// order, so a list's string overrides the system's preset. An unknown system or list, or a unit
// that does not fit its list (the message carries the list's hint), throws UsageError; nothing
// is changed then. Call it after the other keys, so that a fluid change is already made.
void ApplyDisplayUnits(std::string_view system, const std::vector<std::string>& unitPairs);
// The help text of --units and the unit.* keys.
std::string DisplayUnitsHelp();

}  // namespace qmx::cli
