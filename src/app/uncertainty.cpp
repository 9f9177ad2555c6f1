// Uncertainty budget of the calculated flows (ISO 5167-1 / ISO 5168 / GUM propagation). The
// standards' coefficient and expansibility figures are about 95 % statements: they are taken as
// expanded uncertainties (k = 2) and halved before they are combined with the inputs' standard
// uncertainties; the result is expanded again with k = 2.
#include "app/uncertainty.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/qmxcalc.hpp"
#include "numerics/error.hpp"

namespace qmx::Uncertainty {

namespace {

using QMXcalc::State;

double Si(const QMXcalc::DV& dv) { return FUM::uDVgetMKS(*dv); }

// An SI value entered as the pages enter it (the field's limits apply).
void Enter(FUM::DVal& dv, std::string_view siUnit, double x) {
  if (!FUM::uDVsetValTempUnits(siUnit, x, dv)) {
    Raise(kModule, "Evaluate() value " + std::to_string(x) + " " + std::string(siUnit) + " refused by its field", 3);
  }
}

// Relative step of the central differences: truncation error near 1e-6, far above the noise of
// the iterated flow solution.
constexpr double kStep = 1e-3;

// Every input a difference moves, saved as SI numbers and put back bit for bit.
struct Saved {
  double dp, gauge, upstream, temperature, throat, pipe, beta;
};

Saved Save(const State& s) {
  return {Si(s.dp), Si(s.staticPressure), Si(s.upstreamPressure), Si(s.flowingTemperature),
          Si(s.throatDiameter), Si(s.pipeDiameter), FI::RVgetLReal(*s.beta)};
}

void Put(const Saved& v) {
  State& s = QMXcalc::Calc();
  Enter(*s.dp, "pa", v.dp);
  Enter(*s.staticPressure, "pa", v.gauge);
  Enter(*s.upstreamPressure, "pa", v.upstream);
  Enter(*s.flowingTemperature, "K", v.temperature);
  Enter(*s.throatDiameter, "m", v.throat);
  Enter(*s.pipeDiameter, "m", v.pipe);
  FI::RVsetLReal(v.beta, *s.beta);
}

struct Flows {
  double mass, std, energy;
};

Flows Run() {
  bool changed = true;
  QMXcalc::Calculate(changed);
  const State& s = QMXcalc::Calc();
  return {Si(s.massFlow), Si(s.stdVolumeFlow), Si(s.energyFlow)};
}

enum class Input { Dp, Pressure, Temperature, Throat, Pipe };

// The flows with one input moved to x (the others as saved), entered as the pages enter them.
Flows At(const Saved& base, Input which, double x) {
  Saved v = base;
  State& s = QMXcalc::Calc();
  Put(v);
  switch (which) {
    case Input::Dp: Enter(*s.dp, "pa", x); break;
    case Input::Pressure:
      // The absolute pressure moves by the gauge reading's change.
      Enter(*s.staticPressure, "pa", base.gauge + (x - base.upstream));
      QMXcalc::UpdateAbsolutePressure();
      break;
    case Input::Temperature: Enter(*s.flowingTemperature, "K", x); break;
    case Input::Throat:
      Enter(*s.throatDiameter, "m", x);
      QMXcalc::UpdateBeta();
      break;
    case Input::Pipe:
      Enter(*s.pipeDiameter, "m", x);
      QMXcalc::UpdateBeta();
      break;
  }
  return Run();
}

// d ln q / d ln x for the three flows by central differences.
Flows Sensitivity(const Saved& base, const Flows& q, Input which, double x) {
  const double h = kStep * x;
  const Flows up = At(base, which, x + h);
  const Flows down = At(base, which, x - h);
  auto rel = [&](double a, double b, double q0) { return q0 != 0.0 ? (a - b) / (2.0 * h) * x / q0 : 0.0; };
  return {rel(up.mass, down.mass, q.mass), rel(up.std, down.std, q.std), rel(up.energy, down.energy, q.energy)};
}

void Add(Budget& b, std::string_view name, double uPct, double sensitivity) {
  if (b.count >= kMaxContributions) return;
  Contribution& c = b.contributions[b.count++];
  c.name = name;
  c.uPct = uPct;
  c.sensitivity = sensitivity;
  c.contributionPct = sensitivity * uPct;
}

void Combine(Budget& b) {
  double variance = 0.0;
  for (std::size_t i = 0; i < b.count; ++i) variance += b.contributions[i].contributionPct * b.contributions[i].contributionPct;
  b.combinedPct = std::sqrt(variance);
  b.expandedPct = kCoverageFactor * b.combinedPct;
  for (std::size_t i = 0; i < b.count; ++i) {
    const double c = b.contributions[i].contributionPct;
    b.contributions[i].share = variance > 0.0 ? c * c / variance : 0.0;
  }
}

bool Finite(const Inputs& in) {
  for (double v : {in.dp, in.staticPressure, in.flowingTemperature, in.d, in.D, in.density, in.baseDensity,
                   in.heatingValue}) {
    if (!(v >= 0.0) || !std::isfinite(v)) return false;
  }
  return std::isfinite(in.C) && std::isfinite(in.epsilon);
}

std::string Fixed(double x, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
  return buf;
}

// The classical venturi's coefficient figure from the coefficient entered (ISO 5167-4 gives one
// coefficient and one figure per convergent).
double VenturiFigure(double enteredC) {
  constexpr double kSame = 5e-5;
  if (std::fabs(enteredC - 0.984) < kSame) return 0.7;  // as cast
  if (std::fabs(enteredC - 0.995) < kSame) return 1.0;  // machined
  return 1.5;                                            // rough-welded, or not identified
}

}  // namespace

bool StandardUncertainty(const WorkingPoint& p, StandardFigures& f) {
  const double beta = p.beta;
  const double x = p.p1 > 0.0 ? p.dp / p.p1 : 0.0;  // dp / p1
  f = {};
  switch (p.meter) {
    case 12: case 14: case 15: {
      // Orifice plates, ISO 5167-2:2003 clause 5.3.3; the AGA-3 plates take the same figures.
      if (beta < 0.2) {
        f.C = 0.7 - beta;
      } else if (beta <= 0.6) {
        f.C = 0.5;
      } else {
        f.C = 1.667 * beta - 0.5;
      }
      const double Dmm = p.D * 1000.0;
      if (Dmm < 71.12) f.C += 0.9 * (0.75 - beta) * (2.8 - Dmm / 25.4);
      if (beta > 0.5 && p.reynolds < 10000.0) f.C += 0.5;
      if (p.compressible && p.kappa > 0.0) f.epsilon = 3.5 * x / p.kappa;
      return true;
    }
    case 7:
      // ISA 1932 nozzle, ISO 5167-3:2003 (its uncertainties): C 0.8 % up to beta 0.6,
      // (2 beta - 0.4) % above; epsilon 2 dp/p1 %.
      f.C = beta <= 0.6 ? 0.8 : 2.0 * beta - 0.4;
      if (p.compressible) f.epsilon = 2.0 * x;
      return true;
    case 8:
      // Long radius nozzle, ISO 5167-3:2003 (its uncertainties): C 2 %, epsilon 2 dp/p1 %.
      f.C = 2.0;
      if (p.compressible) f.epsilon = 2.0 * x;
      return true;
    case 6:
      // Venturi nozzle, ISO 5167-3:2003 (its uncertainties): C (1.2 + 1.5 beta^4) %, epsilon
      // (4 + 100 beta^8) dp/p1 %.
      f.C = 1.2 + 1.5 * std::pow(beta, 4);
      if (p.compressible) f.epsilon = (4.0 + 100.0 * std::pow(beta, 8)) * x;
      return true;
    case 0:
      // Classical venturi, ISO 5167-4:2003 (discharge coefficient by convergent): C 0.984 as
      // cast 0.7 %, 0.995 machined 1 %, 0.985 rough-welded 1.5 %. The meter takes its
      // coefficient as entered, so the convergent is the one whose coefficient was entered; any
      // other coefficient gets the largest figure. Epsilon (4 + 100 beta^8) dp/p1 %.
      f.C = VenturiFigure(p.enteredC);
      if (p.compressible) f.epsilon = (4.0 + 100.0 * std::pow(beta, 8)) * x;
      return true;
    case 3: case 4:
      // Cone meters, ISO 5167-5:2016 5.7 (uncalibrated meter) and 5.8.
      f.C = 5.0;
      if (p.compressible && p.kappa > 0.0) f.epsilon = 4.0 * x / p.kappa;
      return true;
    default: return false;
  }
}

Result Evaluate(const Inputs& in) {
  if (!Finite(in)) Raise(kModule, "Evaluate() an input uncertainty is negative or not a number", 1);
  State& s = QMXcalc::Calc();
  const bool compressible = s.fluid != QMXcalc::kGenericLiquid && s.fluid != QMXcalc::kHydrocarbonLiquid;
  WorkingPoint point;
  point.meter = s.meter;
  point.beta = FI::RVgetLReal(*s.betaFlowing);
  point.D = Si(s.pipeDiameterFlowing);
  point.reynolds = FI::RVgetLReal(*s.reynolds);
  point.dp = Si(s.dp);
  point.p1 = Si(s.upstreamPressure);
  point.kappa = FI::RVgetLReal(*s.isentropicExponent);
  point.compressible = compressible;
  point.enteredC = FI::RVgetLReal(*s.fixedCd);
  Result r;
  if (!StandardUncertainty(point, r.figures)) {
    Raise(kModule, "Evaluate() no standard states coefficient uncertainties for meter " + std::to_string(s.meter) +
                       " (\"" + std::string(QMXcalc::MeterChoiceText(s.meter)) + "\")",
          2);
  }

  const Saved base = Save(s);
  const Flows q{Si(s.massFlow), Si(s.stdVolumeFlow), Si(s.energyFlow)};
  Flows sDp{}, sP{}, sT{}, sd{}, sD{};
  try {
    sDp = Sensitivity(base, q, Input::Dp, base.dp);
    sP = Sensitivity(base, q, Input::Pressure, base.upstream);
    sT = Sensitivity(base, q, Input::Temperature, base.temperature);
    sd = Sensitivity(base, q, Input::Throat, base.throat);
    sD = Sensitivity(base, q, Input::Pipe, base.pipe);
  } catch (...) {
    Put(base);
    Run();
    throw;
  }
  Put(base);
  Run();

  const double uC = in.C >= 0.0 ? in.C : r.figures.C / kCoverageFactor;
  const double uEps = in.epsilon >= 0.0 ? in.epsilon : r.figures.epsilon / kCoverageFactor;
  const double uT = base.temperature > 0.0 ? 100.0 * in.flowingTemperature / base.temperature : 0.0;
  auto common = [&](Budget& b, double Flows::*f) {
    Add(b, "C", uC, 1.0);
    if (compressible) Add(b, "epsilon", uEps, 1.0);
    Add(b, "d", in.d, sd.*f);
    Add(b, "D", in.D, sD.*f);
    Add(b, "dp", in.dp, sDp.*f);
    Add(b, "static_pressure", in.staticPressure, sP.*f);
    Add(b, "flowing_temperature", uT, sT.*f);
    Add(b, "density", in.density, 0.5);
  };
  if (q.mass > 0.0) {
    r.massFlow.valid = true;
    common(r.massFlow, &Flows::mass);
    Combine(r.massFlow);
  }
  if (q.std > 0.0 && QMXcalc::ResultValid(*s.stdVolumeFlow)) {
    r.stdVolumeFlow.valid = true;
    common(r.stdVolumeFlow, &Flows::std);
    Add(r.stdVolumeFlow, "base_density", in.baseDensity, -1.0);
    Combine(r.stdVolumeFlow);
  }
  if (q.energy > 0.0 && QMXcalc::ResultValid(*s.energyFlow)) {
    r.energyFlow.valid = true;
    common(r.energyFlow, &Flows::energy);
    Add(r.energyFlow, "heating_value", in.heatingValue, 1.0);
    Combine(r.energyFlow);
  }
  return r;
}

std::string ReportBlock(const Result& r) {
  std::string text = "\nUncertainty (coverage factor k = 2, about 95 %)\n";
  text += "  Standard's figures: C " + Fixed(r.figures.C, 3) + " %, epsilon " + Fixed(r.figures.epsilon, 4) + " %\n";
  auto block = [&](std::string_view title, const Budget& b) {
    if (!b.valid) return;
    text += "  " + std::string(title) + ": expanded " + Fixed(b.expandedPct, 3) + " %, combined standard " +
            Fixed(b.combinedPct, 3) + " %\n";
    text += "    input                u (%)  sensitivity  contribution (%)  share\n";
    for (std::size_t i = 0; i < b.count; ++i) {
      const Contribution& c = b.contributions[i];
      char line[160];
      std::snprintf(line, sizeof line, "    %-19s %7.4f  %11.5f  %16.5f  %5.3f\n", std::string(c.name).c_str(), c.uPct,
                    c.sensitivity, c.contributionPct, c.share);
      text += line;
    }
  };
  block("Mass flow", r.massFlow);
  block("Standard volume flow", r.stdVolumeFlow);
  block("Energy flow", r.energyFlow);
  return text;
}

}  // namespace qmx::Uncertainty
