// Meter sizing: a Brent root of (calculated flow / target - 1) over the throat diameter or the
// differential pressure, each evaluation an ordinary edit of the state followed by Calculate.
#include "app/sizing.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/qmxcalc.hpp"
#include "meters/dp0.hpp"
#include "numerics/error.hpp"
#include "numerics/numerics.hpp"
#include "units/fe.hpp"

namespace qmx::Sizing {

namespace {

using QMXcalc::State;

double Si(const QMXcalc::DV& dv) { return FUM::uDVgetMKS(*dv); }

// An SI value entered as the pages enter it (the field's limits apply).
void Enter(FUM::DVal& dv, std::string_view siUnit, double x) {
  if (!FUM::uDVsetValTempUnits(siUnit, x, dv)) {
    Raise(kModule, "Size() value " + std::to_string(x) + " " + std::string(siUnit) + " refused by its field", 6);
  }
}

std::string Number(double x) {
  std::string text;
  FE::LONGREALtoStr(text, 6, x);
  FE::RemoveChars(" ", text);
  return text;
}

std::string_view QuantityUnit(Quantity q) { return q == Quantity::MassFlow ? "kg/s" : "m3/s"; }

const FUM::DVal& Field(const State& s, Quantity q) {
  switch (q) {
    case Quantity::StdVolumeFlow: return *s.stdVolumeFlow;
    case Quantity::ActualVolumeFlow: return *s.actualVolumeFlow;
    default: return *s.massFlow;
  }
}

// The inputs a solve may move, as they were before it; put back exactly on failure.
struct Saved {
  double throat = 0.0;
  double beta = 0.0;
  double dp = 0.0;
};

Saved Save(const State& s) { return {Si(s.throatDiameter), FI::RVgetLReal(*s.beta), Si(s.dp)}; }

void Restore(const Saved& saved) {
  State& s = QMXcalc::Calc();
  Enter(*s.throatDiameter, "m", saved.throat);
  FI::RVsetLReal(saved.beta, *s.beta);
  Enter(*s.dp, "pa", saved.dp);
  QMXcalc::UpdateAbsolutePressure();
  bool changed = true;
  QMXcalc::Calculate(changed);
}

// One evaluation: the value entered as the page would enter it, then the whole calculation.
struct Probe {
  Solve solve;
  Quantity quantity;
  double target;
  int evaluations = 0;

  double Flow(double x) {
    State& s = QMXcalc::Calc();
    if (solve == Solve::Bore) {
      Enter(*s.throatDiameter, "m", x);
      QMXcalc::UpdateBeta();
    } else {
      Enter(*s.dp, "pa", x);
      QMXcalc::UpdateAbsolutePressure();
    }
    bool changed = true;
    QMXcalc::Calculate(changed);
    ++evaluations;
    return FUM::uDVgetMKS(Field(s, quantity));
  }
  double operator()(double x) { return Flow(x) / target - 1.0; }
};

SizingResult Collect(Solve solve, int evaluations) {
  const State& s = QMXcalc::Calc();
  SizingResult r;
  r.solve = solve;
  r.throatDiameter = Si(s.throatDiameter);
  r.beta = FI::RVgetLReal(*s.beta);
  r.dp = Si(s.dp);
  r.massFlow = Si(s.massFlow);
  r.stdVolumeFlow = Si(s.stdVolumeFlow);
  r.actualVolumeFlow = Si(s.actualVolumeFlow);
  r.pressureLoss = Si(s.pressureLoss);
  r.flags = QMXcalc::MeterFlags();
  r.warning = QMXcalc::MeterWarning();
  r.evaluations = evaluations;
  return r;
}

// Relative tolerance of the root on the solved value; the flow then matches to about 1e-12.
constexpr double kRootTolerance = 1e-13;

}  // namespace

bool BetaRange(int meter, int taps, double& low, double& high) {
  switch (meter) {
    case 0: low = 0.3; high = 0.75; return true;    // classical venturi, the three convergents together
    case 3: case 4: low = 0.45; high = 0.75; return true;  // cone meters
    case 6: low = 0.316; high = 0.775; return true;  // venturi nozzle
    case 7: low = 0.3; high = 0.8; return true;     // ISA 1932 nozzle
    case 8: low = 0.2; high = 0.8; return true;     // long radius nozzle
    case 12: case 14: case 15: low = 0.1; high = 0.75; return true;  // orifice plates
    case 24:  // small-bore orifice: corner taps 0.1..0.8, flange taps 0.15..0.7
      if (taps == 0) {
        low = 0.1;
        high = 0.8;
      } else {
        low = 0.15;
        high = 0.7;
      }
      return true;
    default: return false;
  }
}

double MaxDp(int meter, bool compressible, double upstreamPressure) {
  if (!compressible) return upstreamPressure;
  // Lowest downstream-to-upstream pressure ratio the standard allows.
  const double ratio = meter == 14 ? 0.8 : 0.75;
  return upstreamPressure * (1.0 - ratio);
}

std::string_view SolveName(Solve solve) {
  switch (solve) {
    case Solve::Bore: return "bore";
    case Solve::Dp: return "dp";
    default: return "flow";
  }
}

std::string_view QuantityName(Quantity quantity) {
  switch (quantity) {
    case Quantity::StdVolumeFlow: return "std_volume_flow";
    case Quantity::ActualVolumeFlow: return "actual_volume_flow";
    default: return "mass_flow";
  }
}

SizingResult Size(const SizingInput& input) {
  State& s = QMXcalc::Calc();
  if (input.solve == Solve::Flow) {
    bool changed = true;
    QMXcalc::Calculate(changed);
    return Collect(Solve::Flow, 1);
  }
  const std::string what = std::string(QuantityName(input.quantity));
  if (!(input.target > 0.0) || !std::isfinite(input.target)) {
    Raise(kModule, "Size() target " + what + " must be a positive finite number", 1);
  }
  if (s.meter == static_cast<int>(DP0::MeterType::Mtr_Other)) {
    Raise(kModule, "Size() the gas turbine has no bore or differential pressure to solve for", 2);
  }

  // The range searched.
  double lo = 0.0, hi = 0.0;
  std::string rangeText;
  if (input.solve == Solve::Bore) {
    double betaLo = 0.0, betaHi = 0.0;
    if (!BetaRange(s.meter, s.taps, betaLo, betaHi)) {
      Raise(kModule, "Size() the throat of meter " + std::to_string(s.meter) + " is not a free dimension", 2);
    }
    const double D = Si(s.pipeDiameter);
    const auto type = static_cast<DP0::MeterType>(s.meter);
    lo = DP0::C_dR(type, D, betaLo);
    hi = DP0::C_dR(type, D, betaHi);
    if (lo > hi) std::swap(lo, hi);
    // Only diameters the throat field takes.
    const FUM::DVal& d = *s.throatDiameter;
    if (d.minSet) lo = std::max(lo, d.minimum);
    if (d.maxSet) hi = std::min(hi, d.maximum);
    if (!(lo < hi)) Raise(kModule, "Size() no throat diameter within beta " + Number(betaLo) + " to " +
                                       Number(betaHi) + " fits a pipe of " + Number(D) + " m", 3);
    rangeText = "throat diameters from " + Number(lo) + " to " + Number(hi) + " m (beta " + Number(betaLo) +
                " to " + Number(betaHi) + ")";
  } else {
    const bool compressible = s.fluid != QMXcalc::kGenericLiquid && s.fluid != QMXcalc::kHydrocarbonLiquid;
    lo = 0.0;
    hi = MaxDp(s.meter, compressible, Si(s.upstreamPressure));
    if (!(hi > 0.0)) Raise(kModule, "Size() no differential pressure fits an upstream pressure of " +
                                        Number(Si(s.upstreamPressure)) + " Pa", 3);
    rangeText = "differential pressures from 0 to " + Number(hi) + " Pa";
  }

  const Saved saved = Save(s);
  Probe probe{input.solve, input.quantity, input.target};
  try {
    const double fLo = probe.Flow(lo);
    const double fHi = probe.Flow(hi);
    if (!QMXcalc::ResultValid(Field(s, input.quantity))) {
      Raise(kModule, "Size() the fluid gives no " + what, 4);
    }
    const double low = std::min(fLo, fHi), high = std::max(fLo, fHi);
    if (!(input.target >= low && input.target <= high)) {
      Raise(kModule, "Size() " + what + " " + Number(input.target) + " " + std::string(QuantityUnit(input.quantity)) +
                         " is out of reach: " + rangeText + " give " + Number(low) + " to " + Number(high) + " " +
                         std::string(QuantityUnit(input.quantity)),
            5);
    }
    const double root = Numerics::Broot(kRootTolerance * hi, lo, hi, probe);
    probe.Flow(root);  // leave the state calculated at the solution
  } catch (...) {
    Restore(saved);
    throw;
  }
  return Collect(input.solve, probe.evaluations);
}

}  // namespace qmx::Sizing
