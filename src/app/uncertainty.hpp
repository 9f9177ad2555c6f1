#pragma once
// Measurement uncertainty of the calculated flows by the law of propagation of uncertainty:
// the coefficient and expansibility figures the meter's standard states, the user's input
// uncertainties, and sensitivity coefficients of the whole calculation taken by central finite
// differences on the calculation state.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qmx::Uncertainty {

inline constexpr const char* kModule = "Uncertainty";
inline constexpr double kCoverageFactor = 2.0;

// Standard uncertainties (k = 1) of the inputs, in percent of the value unless stated. A
// negative C or epsilon means "as the standard states it".
struct Inputs {
  double dp = 0.1;                   // differential pressure
  double staticPressure = 0.1;       // of the upstream absolute pressure
  double flowingTemperature = 0.25;  // kelvin
  double d = 0.025;                  // throat (bore) diameter
  double D = 0.2;                    // pipe diameter
  double density = 0.05;             // flowing density: equation of state or entered value
  double baseDensity = 0.05;         // base density (standard volume flow only)
  double heatingValue = 0.05;        // mass heating value (energy flow only)
  double C = -1.0;                   // discharge coefficient override
  double epsilon = -1.0;             // expansibility override
};

// The expanded (about 95 %) relative uncertainties of C and epsilon the standard states, in
// percent, for the meter at its working point.
struct StandardFigures {
  double C = 0.0;
  double epsilon = 0.0;
};
struct WorkingPoint {
  int meter = 15;
  double beta = 0.5;       // at flowing temperature
  double D = 0.1;          // pipe diameter at flowing temperature, m
  double reynolds = 1e6;   // pipe Reynolds number
  double dp = 0.0;         // Pa
  double p1 = 1e5;         // upstream absolute pressure, Pa
  double kappa = 1.3;      // isentropic exponent
  bool compressible = true;
  double enteredC = 0.0;   // classical venturi: the entered coefficient, which tells its convergent
};
// False for a meter no standard gives figures for (averaging pitot tube, small-bore orifice,
// gas turbine).
bool StandardUncertainty(const WorkingPoint& point, StandardFigures& figures);

struct Contribution {
  std::string_view name;     // "C", "epsilon", "d", "D", "dp", "static_pressure", ...
  double uPct = 0.0;         // relative standard uncertainty of the input, percent
  double sensitivity = 0.0;  // relative sensitivity coefficient (d ln q / d ln x)
  double contributionPct = 0.0;  // sensitivity times uPct
  double share = 0.0;        // fraction of the combined variance
};

inline constexpr std::size_t kMaxContributions = 10;

struct Budget {
  bool valid = false;  // false when the flow is not calculated for this fluid or is zero
  std::array<Contribution, kMaxContributions> contributions{};
  std::size_t count = 0;
  double combinedPct = 0.0;
  double expandedPct = 0.0;  // combinedPct times the coverage factor
};

struct Result {
  double coverageFactor = kCoverageFactor;
  StandardFigures figures;  // as stated (expanded), before halving
  Budget massFlow, stdVolumeFlow, energyFlow;
};

// The budget of the calculated state (Initialize must have run). Every input it moves is put
// back exactly and the state calculated again; a meter without figures raises.
Result Evaluate(const Inputs& inputs);

// The uncertainty lines of the text report.
std::string ReportBlock(const Result& result);

}  // namespace qmx::Uncertainty
