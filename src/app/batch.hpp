#pragma once
// Batch recalculation of measured records: a configuration (every selection and input of the
// calculation state, applied by the caller's function) becomes a per-thread engine context with
// its own calculation state, gas mixes and gas method registry; a record (dp, pressure,
// temperature, optional frequency and composition) becomes the results of the same Calculate
// pipeline, without any display fields.
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "app/qmxcalc.hpp"

namespace qmx::BATCH {

inline constexpr const char* kModule = "BATCH";
inline constexpr int kComponents = 21;  // the 21-component order of the gas mixtures
// A value a record does not carry, and a result the fluid does not compute.
inline constexpr double kAbsent = std::numeric_limits<double>::quiet_NaN();

// One measured record in SI: Pa, K, Hz, mole percent.
struct Record {
  double dp = kAbsent;
  double pressure = kAbsent;  // static (gauge) pressure, or upstream (absolute) when `upstream`
  bool upstream = false;
  double temperature = kAbsent;
  double frequency = kAbsent;  // the turbine's pulse frequency; kAbsent: the configured one
  bool hasComposition = false;
  // Mole percent per component; kAbsent keeps the configured value.
  std::array<double, kComponents> x{};
};

// What a record gives; kAbsent where the fluid does not compute the result.
struct Results {
  // The inputs the calculation used (the saturated-steam temperature replaces the recorded one).
  double dp = 0.0, staticPressure = 0.0, upstreamPressure = 0.0, temperature = 0.0, frequency = 0.0;
  double massFlow = 0.0, stdVolumeFlow = 0.0, actualVolumeFlow = 0.0, energyFlow = 0.0;
  double cd = 0.0, expansionFactor = 0.0, reynolds = 0.0;
  double zFlowing = 0.0, zBase = 0.0, densityFlowing = 0.0, densityBase = 0.0;
  std::uint16_t meterFlags = 0;
  std::string warning;  // the meter-warning text, empty when there is none
};

// Applies the configuration to the calculation state of the calling thread (selections, inputs,
// composition); it may throw to refuse it.
using Configure = std::function<void()>;

// The engine context of one thread: its own calculation state with the configuration applied.
// Made and used on one thread only.
class Context {
 public:
  explicit Context(const Configure& configure);
  // Calculates a record. A value outside its field's limits, a missing value or a failed
  // calculation raises qmx::Error; the context stays usable for the next record.
  void Compute(const Record& record, Results& out);

 private:
  QMXcalc::ThreadState state_;
  std::array<double, kComponents> configured_{};  // the configured mole fractions
  double configuredFrequency_ = 0.0;
};

}  // namespace qmx::BATCH
