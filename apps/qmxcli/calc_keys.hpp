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

}  // namespace qmx::cli
