#pragma once
// Meter sizing on the calculation state: the throat diameter or the differential pressure that
// makes the calculated flow equal a target, found by a bracketed root of the whole Calculate
// pipeline (coefficient, expansibility and thermal corrections included).
#include <cstdint>
#include <string>
#include <string_view>

namespace qmx::Sizing {

inline constexpr const char* kModule = "Sizing";

// What is solved for: the bore, the differential pressure, or nothing (the flow itself).
enum class Solve : std::uint8_t { Bore, Dp, Flow };
// The flow the target is given in.
enum class Quantity : std::uint8_t { MassFlow, StdVolumeFlow, ActualVolumeFlow };

struct SizingInput {
  Solve solve = Solve::Flow;
  Quantity quantity = Quantity::MassFlow;
  double target = 0.0;  // SI: kg/s or m3/s; not read for Solve::Flow
};

struct SizingResult {
  Solve solve = Solve::Flow;
  double throatDiameter = 0.0;  // at its reference temperature, m
  double beta = 0.0;            // throat over pipe diameter, both at their reference temperatures
  double dp = 0.0;              // Pa
  double massFlow = 0.0;        // kg/s
  double stdVolumeFlow = 0.0;   // m3/s
  double actualVolumeFlow = 0.0;  // m3/s
  double pressureLoss = 0.0;    // permanent pressure loss, Pa
  std::uint16_t flags = 0;      // the meter engine's flag set at the solution
  std::string warning;          // the warning text of the solution
  int evaluations = 0;          // Calculate runs spent
};

// The beta range of the standard the meter follows (reference dimensions); false for a meter
// whose throat is not a free dimension (averaging pitot tube, gas turbine).
bool BetaRange(int meter, int taps, double& low, double& high);
// The differential pressure range searched: 0 up to the standard's lowest pressure ratio for a
// gas or steam, up to the upstream absolute pressure for a liquid.
double MaxDp(int meter, bool compressible, double upstreamPressure);

// Solves on the calculation state (Initialize must have run) and leaves the solution in it,
// calculated. A target no value in the searched range reaches raises, naming the reachable
// range, and leaves the state as it was.
SizingResult Size(const SizingInput& input);

std::string_view SolveName(Solve solve);
std::string_view QuantityName(Quantity quantity);

}  // namespace qmx::Sizing
