// DP0 flow solution: MassFlow, CheckInputs, the flag texts and the iteration trace.
#include "meters/dpflow.hpp"

#include <cmath>
#include <numbers>

#include "meters/dpflow_coef.hpp"
#include "numerics/error.hpp"
#include "numerics/numerics.hpp"

namespace qmx::DP0 {

namespace {

constexpr std::array<std::string_view, 16> kFlagTexts = {
    "Pipe diameter smaller than throat diameter,",
    "Convergance failure,",
    "Invalid calculation method,",
    "Calculation error,",
    "Error in input data,",
    "Bogus meter coefficients,",
    "- reserved -,",
    "Reynolds No. out of range for this device,",
    "D or d out of range for this device,",
    "Beta out of range for this device,",
    "Sonic velocity at throat,",
    "Reynolds No. out of range at this beta,",
    "Reynolds No. out of range at this D or d,",
    "Invalid pressure tap selection,",
    "Pressure ratio (P2/P1) out of range,",
    "Low Reynolds Number,",
};

thread_local std::array<IterationSlot, kTraceSlots> tTrace{};

constexpr int kMaxPasses = 21;
// Convergence of the flow iteration: the absolute step of the design (1e-5 kg/s) and a relative
// step small enough that the returned C, qm and Re_D satisfy the flow equation to 1e-9.
constexpr double kAbsStep = 1e-5;
constexpr double kRelStep = 1e-11;

constexpr double kFlowConst = std::numbers::pi / 4.0 * std::numbers::sqrt2;

int Code(MeterType t) { return static_cast<int>(t); }

bool Finite(double x) { return std::isfinite(x); }

// Drain/vent hole types: the sharp-edged orifices 9-15 and 25.
bool IsSharpOrifice(MeterType t) {
  const int c = Code(t);
  return (c >= 9 && c <= 15) || c == 25;
}

bool IsNozzleGroup(MeterType t) {
  return t == MeterType::Vent_Cl || t == MeterType::Vent_Noz || t == MeterType::Noz_ISA || t == MeterType::Noz_LR;
}

void ZeroResult(DPResult& r) {
  r = DPResult{};
  r.beta = 1.0;
}

// Meter types whose coefficient is the user's entry rather than an equation's result.
bool UserCoefficient(const DPMeter& m) {
  switch (m.type) {
    case MeterType::Vent_Cl:
      return m.element.convergent == static_cast<std::uint8_t>(VenturiConvergent::UserSupplied);
    case MeterType::Vent_VCs:
    case MeterType::Vent_VCw:
    case MeterType::Vent_IVCM:
    case MeterType::Pit_Avg:
      return true;
    case MeterType::Vent_VCsC:
    case MeterType::Vent_VCwC:
      return m.element.c2 == 0.0;  // a constant coefficient: the intercept alone
    default:
      return false;
  }
}

// The flag that says why a solution gave no positive coefficient, expansibility or flow: the
// user's own coefficient, a tap type the equation has no coefficient for, or the calculation.
int NoFlowFlag(const DPMeter& m, const DPResult& r) {
  if (!(r.C > 0) && UserCoefficient(m)) return kFlagInput;
  if (!(r.C > 0) && m.type == MeterType::Orf_Seg) return kFlagTaps;
  return kFlagCalc;
}

bool CalibrationOk(const DPMeter& m) {
  if (m.calMode != 1 && m.calMode != 2) return true;
  // The table is 1-indexed (entry 0 is not a point): entries 1..n are checked.
  if (m.calN < 1 || m.calN >= kCalPoints) return false;
  const double lo = m.calMode == 2 ? 0.95 : 0.3;
  const double hi = m.calMode == 2 ? 1.05 : 1.2;
  double previous = 0.0;
  for (std::size_t i = 1; i <= m.calN; ++i) {
    const double re = m.calRe[i];
    const double v = m.calValue[i];
    if (!(re > previous) || !Finite(re)) return false;
    if (!(v >= lo && v <= hi)) return false;
    previous = re;
  }
  return true;
}

}  // namespace

std::string_view FlagBitText(int bit) {
  return (bit >= 0 && bit < 16) ? kFlagTexts[static_cast<std::size_t>(bit)] : std::string_view{};
}

void FlagText(DPFlags flags, std::string& text) {
  text.clear();
  for (int bit = 0; bit < 16; ++bit) {
    if (HasFlag(flags, bit)) text += kFlagTexts[static_cast<std::size_t>(bit)];
  }
}

std::string FlagText(DPFlags flags) {
  std::string text;
  FlagText(flags, text);
  return text;
}

std::array<ResultField, 17> ResultFields(const DPResult& r) {
  return {{{"qm", r.qm},
           {"qv_base", r.qv_base},
           {"energy", r.energy},
           {"C", r.C},
           {"Re_D", r.Re_D},
           {"Re_d", r.Re_d},
           {"ratio", r.ratio},
           {"epsilon", r.epsilon},
           {"calibration", r.calibration},
           {"dt", r.dt},
           {"Dt", r.Dt},
           {"beta", r.beta},
           {"E", r.E},
           {"hole_factor", r.hole_factor},
           {"qv_actual", r.qv_actual},
           {"pressure_loss", r.pressure_loss},
           {"velocity", r.velocity}}};
}

std::span<const IterationSlot, kTraceSlots> IterationTrace() { return tTrace; }

void ClearIterationTrace() { tTrace.fill(IterationSlot{}); }

void RecordIteration(const IterationSlot& slot) {
  tTrace[static_cast<std::size_t>(((slot.pass % 8) + 8) % 8)] = slot;
}

double Reynolds(double q, double D, double mu) {
  const double re = 4.0 * q / (std::numbers::pi * D * mu);
  return std::isnan(re) ? 0.0 : re;
}

bool CheckInputs(DPFlags& flags, const DPFluid& f, const DPMeter& m) {
  bool ok = true;
  // Non-finite numbers are bad input as much as negative ones.
  const double meterValues[] = {m.d, m.D, m.Tref_d, m.Tref_D, m.dh, m.element.c1, m.element.c2, m.element.ivcm};
  const double fluidValues[] = {f.dp, f.Tf, f.P1, f.mu, f.kappa, f.rho, f.rho_b, f.Hm};
  for (double v : meterValues) {
    if (!Finite(v)) ok = false;
  }
  for (double v : fluidValues) {
    if (!Finite(v)) ok = false;
  }
  if (m.d < 0 || m.D < 0 || m.Tref_d < 0 || m.Tref_D < 0 || m.dh < 0) ok = false;
  if (!ok) SetFlag(flags, kFlagInput);
  if (!(m.D > m.d)) {
    SetFlag(flags, kFlagPipeSmall);
    ok = false;
  }
  if (!CalibrationOk(m)) ok = false;
  // A compressible fluid needs a positive exponent: x = dP/(kappa P1) is undefined at kappa = 0.
  if (f.compressible && !(f.kappa > 0)) {
    SetFlag(flags, kFlagInput);
    ok = false;
  }
  // No fluid has a negative downstream absolute pressure, a liquid no more than a gas.
  if (f.P1 < f.dp) {
    SetFlag(flags, kFlagInput);
    ok = false;
  }
  if (f.dp < 0 || f.rho_b < 0 || f.Hm < 0) {
    SetFlag(flags, kFlagInput);
    ok = false;
  }
  // Temperature, pressure, viscosity and density enter the solution as divisors or square
  // roots: zero gives an infinite Reynolds number or a zero flow that no fluid has.
  if (!(f.Tf > 0) || !(f.P1 > 0) || !(f.mu > 0) || !(f.rho > 0)) {
    SetFlag(flags, kFlagInput);
    ok = false;
  }
  return ok;
}

void MassFlow(DPFlags& flags, DPResult& r, const DPFluid& f, const DPMeter& m) {
  flags = 0;
  const bool inputsOk = CheckInputs(flags, f, m);
  if (!inputsOk || f.dp == 0.0 || m.type == MeterType::Mtr_Other) {
    ZeroResult(r);
    return;
  }
  const MeterType type = m.type;
  r = DPResult{};
  r.hole_factor = 1.0;

  // Pipe diameter at the flowing temperature.
  if (flow::IsElbow(type)) {
    r.Dt = ElbowDiameter(m.element.elbowSize, m.element.elbowSchedule);
  } else {
    r.Dt = DiameterAtTemperature(m.pipeMaterial, m.Tref_D, f.Tf, m.D);
  }

  // Element dimension and beta.
  if (type == MeterType::Wedge_FC || type == MeterType::Wedge_CCd) {
    // beta is the open-area ratio of the reference dimensions; dt stays the wedge height, so that
    // the expansibility and the h/D limit see h/D and not the equivalent bore beta Dt.
    r.beta = Beta(type, m.D, m.d);
    r.dt = DiameterAtTemperature(m.elementMaterial, m.Tref_d, f.Tf, m.d);
  } else if (type == MeterType::Vent_AcBar) {
    r.dt = DiameterAtTemperature(m.elementMaterial, m.Tref_d, f.Tf, m.d);
    const double Dprime = DiameterAtTemperature(m.elementMaterial, m.Tref_d, f.Tf, m.element.c1);
    r.beta = Beta(type, Dprime, r.dt);
  } else {
    r.dt = DiameterAtTemperature(m.elementMaterial, m.Tref_d, f.Tf, m.d);
    if (m.holeMode == 1 && r.dt > 0) {
      const double dh_t = DiameterAtTemperature(m.elementMaterial, m.Tref_d, f.Tf, m.dh);
      const double ratio2 = (dh_t / r.dt) * (dh_t / r.dt);
      if (IsSharpOrifice(type)) {
        r.hole_factor = 1.0 + 0.55 * ratio2;
      } else if (type == MeterType::Noz_ISA) {
        r.hole_factor = 1.0 + 0.4 * ratio2;
      }
      r.dt *= r.hole_factor;
    }
    r.beta = Beta(type, r.Dt, r.dt);
  }
  if (!(r.Dt > 0) || !(r.dt >= 0) || !Finite(r.Dt) || !Finite(r.dt) || !Finite(r.beta) || !(r.beta >= 0)) {
    // Extreme temperatures or expansion coefficients can drive a dimension to nonsense.
    SetFlag(flags, kFlagInput);
    ZeroResult(r);
    return;
  }

  // Expansibility and velocity of approach.
  if (!f.compressible) {
    r.epsilon = 1.0;
  } else {
    r.epsilon = GasExpansion(flow::ExpansionSelector(m, r.beta), type, f.P1, f.dp, f.kappa, r.Dt, r.dt);
  }
  r.E = VelocityOfApproach(r.beta, type);

  const double rootRhoDp = std::sqrt(f.rho * f.dp);
  CoefParams p = flow::MakeCoefParams(m, f, r.Dt, r.dt, r.beta, r.epsilon, 1e6, 1e6);
  // The Reader-Harris/Gallagher geometry terms hold for every Reynolds iteration.
  RHGTerms rhg;
  if (type == MeterType::Orf_ISO || type == MeterType::Orf_NEL || type == MeterType::Orf_3M) {
    rhg = RHGGeometry(p.tap, p.beta, p.Dt);
    p.rhg = &rhg;
  }

  if (IsDirect(type)) {
    CoefFlags coefFlags = 0;
    r.C = DischargeCoefficient(p, coefFlags);
    flags = static_cast<DPFlags>(flags | (coefFlags & (FlagBit(kFlagConvergence) | FlagBit(kFlagCalc))));
    if (UsesPipeArea(type)) {
      r.qm = kFlowConst * r.C * r.epsilon * r.Dt * r.Dt * rootRhoDp;
    } else {
      r.qm = kFlowConst * r.C * r.epsilon * r.E * (r.beta * r.Dt) * (r.beta * r.Dt) * rootRhoDp;
    }
    r.Re_D = Reynolds(r.qm, r.Dt, f.mu);
    r.Re_d = Reynolds(r.qm, r.beta * r.Dt, f.mu);
  } else {
    r.C = 0.6;
    r.Re_D = r.Re_d = r.ratio = 1e6;
    ClearIterationTrace();
    const double flowPerC = kFlowConst * r.epsilon * r.E * (r.beta * r.Dt) * (r.beta * r.Dt) * rootRhoDp;
    for (int pass = 1; pass <= kMaxPasses; ++pass) {
      const double previous = r.qm;
      if (!flow::HasEquation(type)) {
        SetFlag(flags, kFlagMethod);
        ZeroResult(r);
        return;
      }
      p.ReD = r.Re_D;
      p.Red = r.Re_d;
      CoefFlags coefFlags = 0;
      double C = DischargeCoefficient(p, coefFlags);
      if (m.calMode == 1) {
        double dy = 0.0;
        try {
          Numerics::Rinterp(dy, C, r.Re_D, static_cast<int>(m.calN), m.calValue, m.calRe);
        } catch (const Error&) {
          // The rational form breaks down on some tables (a constant one among them); the
          // linear interpolation of the same points is then the sound value.
          Numerics::Linterp(C, r.Re_D, static_cast<int>(m.calN), m.calValue, m.calRe);
        }
      }
      r.C = C;
      r.qm = C * flowPerC;
      r.Re_D = Reynolds(r.qm, r.Dt, f.mu);
      r.Re_d = Reynolds(r.qm, r.beta * r.Dt, f.mu);
      RecordIteration({pass, r.qm, r.C, r.Re_D, r.Re_d, r.ratio, r.epsilon, r.E, r.Dt, r.dt, r.beta});
      const double step = std::fabs(r.qm - previous);
      const bool converged = step < kAbsStep && step <= kRelStep * std::fabs(r.qm);
      if (pass == kMaxPasses) {
        SetFlag(flags, kFlagConvergence);
        break;
      }
      if (converged || !Finite(r.qm)) break;
    }
  }

  // Calibration by flow-factor table.
  r.calibration = 1.0;
  if (m.calMode == 2) {
    Numerics::Linterp(r.calibration, r.Re_D, static_cast<int>(m.calN), m.calValue, m.calRe);
    r.qm *= r.calibration;
  }

  // Flow corrections for drain/vent holes, with the uncorrected hole diameter.
  if ((m.holeMode == 2 || m.holeMode == 3) && r.dt > 0) {
    double k = 0.0;
    if (IsSharpOrifice(type)) {
      k = m.holeMode == 2 ? 1.0 : 1.66;
    } else if (IsNozzleGroup(type)) {
      k = m.holeMode == 2 ? 0.6 : 1.0;
    }
    const double ratio = m.dh / r.dt;
    r.hole_factor = 1.0 + k * ratio * ratio * std::sqrt(1.0 - std::pow(r.beta, 4));
    r.qm *= r.hole_factor;
  }

  if (!Finite(r.qm) || !Finite(r.C) || !Finite(r.E) || !Finite(r.epsilon)) {
    // An equation driven outside its domain (e.g. a beta of 1 or more): report, never pass on.
    SetFlag(flags, kFlagCalc);
    ZeroResult(r);
    return;
  }
  if (!(r.C > 0) || !(r.epsilon > 0) || !(r.qm > 0)) {
    // A coefficient or expansibility of zero or below is outside every equation's range, and a
    // positive differential always drives a positive flow: never a result.
    SetFlag(flags, NoFlowFlag(m, r));
    ZeroResult(r);
    return;
  }

  r.qv_actual = f.rho > 0 ? r.qm / f.rho : 0.0;
  r.qv_base = f.rho_b > 0 ? r.qm / f.rho_b : 0.0;
  r.energy = r.qm * f.Hm;
  r.pressure_loss = PressureLoss(r.C, r.beta, f.dp, type);
  r.velocity = r.qv_actual / (std::numbers::pi * (r.Dt / 2.0) * (r.Dt / 2.0));
  const double rv2 = f.rho * r.velocity * r.velocity;
  r.ratio = rv2 > 0 ? f.dp / rv2 : 0.0;
}

}  // namespace qmx::DP0
