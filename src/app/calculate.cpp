// The Calculate pipeline: fluid properties of the selected fluid at flowing and base
// conditions, the meter step (differential-pressure or turbine path), the Mach number and the
// meter-warning text with its beep.
#include <cmath>
#include <numbers>
#include <span>
#include <string>

#include "app/qmxcalc.hpp"
#include "gas/gas1.hpp"
#include "liquids/mpms1.hpp"
#include "meters/dp2.hpp"
#include "meters/dpflow.hpp"
#include "numerics/error.hpp"
#include "numerics/trace.hpp"
#include "steam/if97.hpp"
#include "units/fe.hpp"

namespace qmx::QMXcalc {

namespace {

// What a fluid branch hands to the meter step.
struct FluidOut {
  double T = 0.0;
  double mu = 0.0;
  double kappa = 0.0;
  double rho = 0.0;
  double rhoBase = 0.0;
  double Hm = 0.0;
  double enthalpy = 0.0;  // the enthalpy term stored beside the heating value
  double M = 0.0;         // molar mass for the speed of sound
  MPMS1::ApiFlags liquidFlags = 0;  // limit flags of the hydrocarbon liquid correction
  std::string warning;    // what is wrong with the fluid state, leading the meter warnings
};

constexpr double kSteamMolarMass = 18.0153;
constexpr double kSteamPc = 2.2064e7;
constexpr double kSteamTc = 647.096;
constexpr std::size_t kOmensBuffer = 600;

void Set(DV& dv, double v) { FUM::uDVsetMKS(v, *dv); }
void Set(RV& rv, double v) { FI::RVsetLReal(v, *rv); }
double Si(const DV& dv) { return FUM::uDVgetMKS(*dv); }
double Val(const RV& rv) { return FI::RVgetLReal(*rv); }

// A number for a warning text: six significant digits, no padding.
std::string Number(double x) {
  std::string text;
  FE::LONGREALtoStr(text, 6, x);
  FE::RemoveChars(" ", text);
  return text;
}

// The equation a gas omen belongs to, as the warning names it.
std::string EquationName(const GAS0::GMix& mix) {
  const int z = GAS1::MixGetZMethod(mix);
  if (z == GAS0::AGA8detailed) return "AGA-8 detail";
  if (GAS0::IsSgergMethod(z)) return "SGERG";
  if (z >= 0 && z < GAS0::kZMethodCount) return std::string(GAS0::kZMethodLong[static_cast<std::size_t>(z)]);
  return "gas";
}

// The entered composition (before normalisation) in percent; a sum that is not positive and
// finite, or a negative or NaN entry, leaves no mixture to compute.
double EnteredTotal(const GAS0::GMix& mix, bool& usable) {
  usable = true;
  double total = 0.0;
  for (int i = 0; i < GAS1::kNAga; ++i) {
    const double x = GAS1::MixGetX(mix, i, 0);
    if (!(x >= 0.0) || !std::isfinite(x)) usable = false;
    total += x;
  }
  if (!(total > 0.0) || !std::isfinite(total)) usable = false;
  return total * 100.0;
}

// Natural gas by composition (Detail mix) or by gross characteristics (GCN mix).
FluidOut GasStep(State& s, const GAS0::GMix& mix, double P, GAS0::Omens& omens) {
  FluidOut f;
  f.T = Si(s.flowingTemperature);
  GAS1::MixSetTbase(mix, Si(s.baseTemperature));
  GAS1::MixSetPbase(mix, Si(s.basePressure));
  if (&mix == &s.gcnMix) {
    GAS1::MixSetGr(mix, Val(s.gcnRelativeDensity));
    GAS1::MixSetHs(mix, Si(s.gcnHeatingValue));
    GAS1::MixSetCO2(mix, Val(s.gcnCO2));
    GAS1::MixSetN2(mix, Val(s.gcnN2));
    GAS1::MixSetCO(mix, Val(s.gcnCO));
    GAS1::MixSetH2(mix, Val(s.gcnH2));
    GAS1::MixSetMu(mix, Si(s.gcnViscosity));
  }
  if (&mix == &s.detailMix) {
    bool usable = true;
    const double total = EnteredTotal(mix, usable);
    if (!usable) {
      Raise(kModule, "Calculate() composition: the mole fractions must be finite, none negative, with a positive sum",
            7);
    }
    if (std::fabs(total - 100.0) > 0.01) f.warning = "composition normalised from " + Number(total) + " %,";
  }
  // The getters below recompute the base and flowing states only when an input changed.
  auto flowing = [&](int tag) {
    const GAS1::Result r = GAS1::MixGetFlowing(mix, tag, P, f.T);
    omens |= r.omens;
    return r.value;
  };
  auto take = [&](GAS1::Result r) {
    omens |= r.omens;
    return r.value;
  };
  Set(s.molarDensity, flowing(GAS0::mD));
  Set(s.molarHeatingValue, flowing(GAS0::HN));
  Set(s.volumetricHeatingValue, flowing(GAS0::Hv));
  Set(s.zFlowing, flowing(GAS0::Z));
  f.M = take(GAS1::MixGetIdeal(mix, GAS0::Mr));
  Set(s.molarMass, f.M);
  Set(s.zBase, take(GAS1::MixGetBase(mix, GAS0::Z)));
  Set(s.criticalPressure, take(GAS1::MixGetIdeal(mix, GAS0::Pc)));
  Set(s.criticalTemperature, take(GAS1::MixGetIdeal(mix, GAS0::Tc)));
  f.kappa = flowing(GAS0::kI);
  Set(s.isentropicExponent, f.kappa);
  f.Hm = flowing(GAS0::Hm);
  Set(s.massHeatingValue, f.Hm);
  f.mu = flowing(GAS0::Mut);
  Set(s.viscosity, f.mu);
  f.rhoBase = take(GAS1::MixGetBase(mix, GAS0::RHO));
  Set(s.densityBase, f.rhoBase);
  f.rho = flowing(GAS0::RHO);
  Set(s.densityFlowing, f.rho);
  Set(s.relativeDensity, take(GAS1::MixGetGross(mix, GAS0::gr)));
  Set(s.referenceEnthalpy, 0.0);
  Set(s.liquidCorrectionFactor, 1.0);
  return f;
}

// Fields that mean nothing for a liquid. The flowing viscosity result shows the liquid
// viscosity the meter step uses, rather than the viscosity of an earlier gas run.
void ClearLiquidFields(State& s) {
  for (DV* dv : {&s.molarDensity, &s.molarMass, &s.molarHeatingValue, &s.criticalPressure,
                 &s.criticalTemperature, &s.massHeatingValue, &s.referenceEnthalpy,
                 &s.satLiquidDensity}) {
    Set(*dv, 0.0);
  }
  for (RV* rv : {&s.zFlowing, &s.zBase, &s.relativeDensity}) Set(*rv, 0.0);
}

FluidOut GenericLiquidStep(State& s) {
  FluidOut f;
  f.T = Si(s.flowingTemperature);
  const double rho = Si(s.liquidDensity);
  f.rho = rho;
  f.rhoBase = rho;
  f.mu = Si(s.liquidViscosity);
  f.kappa = 1e6;
  f.M = 10.0;
  // The base density is the entered density; its relative density follows, as after any entry.
  Set(s.baseDensity, rho);
  Set(s.liquidRelativeDensity, rho / kWaterDensity);
  Set(s.densityFlowing, rho);
  Set(s.densityBase, rho);
  Set(s.viscosity, f.mu);
  ClearLiquidFields(s);
  Set(s.isentropicExponent, 1e6);
  Set(s.liquidCorrectionFactor, 1.0);
  return f;
}

FluidOut HydrocarbonLiquidStep(State& s, double P) {
  FluidOut f;
  f.T = Si(s.flowingTemperature);
  MPMS1::ApiFlags flags = 0;
  double ctpl = 0.0, cpl = 0.0, ctl = 0.0, density = 0.0;
  double alpha = s.liquidProduct == 3 ? Si(s.thermalExpansion) : 0.0;
  MPMS1::ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha, P - Si(s.atmosphericPressure),
                          f.T, Si(s.baseTemperature), Si(s.baseDensity),
                          static_cast<MPMS1::ApiProduct>(s.liquidProduct));
  Set(s.liquidDensity, density);
  Set(s.densityFlowing, density);
  f.rho = density;
  f.rhoBase = Si(s.baseDensity);
  Set(s.densityBase, f.rhoBase);
  f.mu = Si(s.liquidViscosity);
  f.kappa = 1e6;
  Set(s.viscosity, f.mu);
  ClearLiquidFields(s);
  Set(s.isentropicExponent, 1e6);
  Set(s.liquidCorrectionFactor, ctl);
  f.liquidFlags = flags;
  return f;
}

// Fields shared by both steam branches.
void StoreSteam(State& s, const FluidOut& f, double href) {
  Set(s.isentropicExponent, f.kappa);
  Set(s.densityFlowing, f.rho);
  Set(s.densityBase, f.rhoBase);
  Set(s.referenceEnthalpy, href);
  Set(s.viscosity, f.mu);
  Set(s.molarDensity, 0.0);
  Set(s.molarHeatingValue, 0.0);
  Set(s.volumetricHeatingValue, 0.0);
  Set(s.molarMass, kSteamMolarMass);
  Set(s.zFlowing, 1.0);
  Set(s.zBase, 1.0);
  Set(s.criticalPressure, kSteamPc);
  Set(s.criticalTemperature, kSteamTc);
  Set(s.waterDensityBase, f.rhoBase);
  Set(s.relativeDensity, 0.0);
}

FluidOut SaturatedSteamStep(State& s, double P, int& region) {
  FluidOut f;
  IF97::SatState sat;
  region = IF97::SatByP(P, sat) ? 4 : 0;
  f.T = sat.T;
  Set(s.flowingTemperature, f.T);
  const double Tref = Si(s.baseTemperature);
  const double pref = IF97::Psat(Tref);
  FE::FmtToTerminal("\n Calculate tref=%r pref=%r", Tref, pref);
  f.rhoBase = IF97::Rho1(pref, Tref);
  const double href = IF97::H1(pref, Tref);
  const double hV = sat.hV - href;
  const double hL = sat.hL - href;
  FE::FmtToTerminal("hmliq(2)=%r", hL);
  const double rhoLiquid = f.T > 623.15 ? IF97::RHOcritR3(P, f.T) : IF97::Rho1(P, f.T);
  f.rho = sat.rhoV;
  f.mu = sat.muV;
  f.kappa = sat.exponent;
  f.Hm = hV;
  f.enthalpy = hV;
  f.M = kSteamMolarMass;
  StoreSteam(s, f, href);
  Set(s.satLiquidDensity, rhoLiquid);
  Set(s.liquidCorrectionFactor, 1.0);
  return f;
}

// Dry steam: the flowing state counts only in region 2. A flowing state outside the formulation
// reports region 0 as the base state does, so it raises the omens message instead of giving a
// silent zero flow.
FluidOut DrySteamStep(State& s, double P, int& region) {
  FluidOut f;
  f.T = Si(s.flowingTemperature);
  const int flowRegion = IF97::Region(100, P, f.T);
  if (flowRegion == 2) {
    const IF97::Phase1 ph = IF97::S1phase_TP(1, P, f.T);
    f.rho = ph.density;
    f.enthalpy = ph.enthalpy;
    f.mu = ph.viscosity;
    f.kappa = ph.exponent;
  } else if (flowRegion != 0) {
    // Liquid, two-phase or near-critical: there is no dry steam to meter, and the meter's own
    // flags on the zero density would not say so.
    if (flowRegion == IF97::kRegionCritical) {
      f.warning = "Near-critical state (IAPWS-IF97 region 3): dry steam is computed from " +
                  Number(IF97::B23T(P)) + " K at this pressure,";
    } else {
      f.warning = "Not superheated steam: saturation temperature " + Number(IF97::Tsat(P)) +
                  " K at this pressure,";
    }
  }
  const IF97::Phase1 base = IF97::S1phase_TP(1, Si(s.basePressure), Si(s.baseTemperature));
  f.rhoBase = base.density;
  const double href = base.enthalpy;
  region = (flowRegion == 0 || base.region == 0) ? 0 : base.region;
  f.Hm = f.enthalpy;
  f.M = kSteamMolarMass;
  StoreSteam(s, f, href);
  Set(s.satLiquidDensity, 0.0);
  return f;
}

FluidOut TestFluidStep() {
  FluidOut f;
  f.T = 293.15;
  f.kappa = 1.3;
  f.mu = 1.0;
  f.M = 10.0;
  f.rho = 0.1;
  f.rhoBase = 0.1;
  return f;
}

// The meter record of the current selections; raises for a meter without a parameter block.
DP0::DPMeter MeterRecord(const State& s) {
  DP0::DPMeter m{};
  m.d = Si(s.throatDiameter);
  m.D = Si(s.pipeDiameter);
  m.Tref_d = Si(s.throatRefTemperature);
  m.Tref_D = Si(s.pipeRefTemperature);
  m.elementMaterial = static_cast<DP0::Material>(s.throatMaterial);
  m.pipeMaterial = static_cast<DP0::Material>(s.tubeMaterial);
  m.type = static_cast<DP0::MeterType>(s.meter);
  switch (s.meter) {
    case 1: case 2:
      m.element.c1 = Val(s.fixedCd);
      break;
    case 3: case 4:
      m.element.c1 = Val(s.fixedCd);
      m.element.c2 = 0.0;
      break;
    case 0:
      m.element.c1 = Val(s.fixedCd);
      m.element.convergent = static_cast<std::uint8_t>(DP0::VenturiConvergent::UserSupplied);
      break;
    case 12: case 14: case 15: case 24: case 25:
      m.element.tap = s.taps;
      break;
    case 32: case 33:
      DP2::SetAnnubarType(m, s.probeModel);
      break;
    case 6: case 7: case 8: case 39:
      break;
    default:
      Raise(kModule, "Calculate() device not supported", 1);
  }
  return m;
}

}  // namespace

namespace {

using DvField = DV State::*;
using RvField = RV State::*;

// The dimensioned results the last run's fluid does not compute.
std::span<const DvField> InvalidDv(int fluid) {
  static constexpr DvField kGas[] = {&State::satLiquidDensity, &State::waterDensityBase,
                                     &State::referenceEnthalpy, &State::enthalpy};
  static constexpr DvField kLiquid[] = {
      &State::molarDensity,       &State::molarMass,        &State::molarHeatingValue,
      &State::criticalPressure,   &State::criticalTemperature, &State::massHeatingValue,
      &State::referenceEnthalpy,  &State::satLiquidDensity, &State::volumetricHeatingValue,
      &State::waterDensityBase,   &State::enthalpy,         &State::energyFlow};
  static constexpr DvField kSteam[] = {&State::molarDensity, &State::molarHeatingValue,
                                       &State::volumetricHeatingValue};
  static constexpr DvField kDry[] = {&State::molarDensity, &State::molarHeatingValue,
                                     &State::volumetricHeatingValue, &State::satLiquidDensity};
  static constexpr DvField kTest[] = {
      &State::molarDensity,       &State::molarMass,        &State::molarHeatingValue,
      &State::massHeatingValue,   &State::volumetricHeatingValue, &State::viscosity,
      &State::criticalPressure,   &State::criticalTemperature, &State::densityFlowing,
      &State::densityBase,        &State::satLiquidDensity, &State::waterDensityBase,
      &State::referenceEnthalpy,  &State::enthalpy,         &State::energyFlow};
  switch (fluid) {
    case kNaturalGas: case kGcnGas: return kGas;
    case kGenericLiquid: case kHydrocarbonLiquid: return kLiquid;
    case kSaturatedSteam: return kSteam;
    case kDrySteam: return kDry;
    default: return kTest;
  }
}

// The dimensionless results the last run's fluid does not compute.
std::span<const RvField> InvalidRv(int fluid) {
  static constexpr RvField kNone[] = {&State::spare};
  static constexpr RvField kNoGas[] = {&State::zFlowing, &State::zBase, &State::relativeDensity,
                                       &State::spare};
  static constexpr RvField kDry[] = {&State::zFlowing, &State::zBase, &State::relativeDensity,
                                     &State::liquidCorrectionFactor, &State::spare};
  static constexpr RvField kTest[] = {&State::zFlowing, &State::zBase, &State::relativeDensity,
                                      &State::isentropicExponent, &State::liquidCorrectionFactor,
                                      &State::spare};
  switch (fluid) {
    case kNaturalGas: case kGcnGas: return kNone;
    case kGenericLiquid: case kHydrocarbonLiquid: case kSaturatedSteam: return kNoGas;
    case kDrySteam: return kDry;
    default: return kTest;
  }
}

}  // namespace

bool ResultValid(const FUM::DVal& field) {
  State& s = Calc();
  for (DvField f : InvalidDv(s.calculatedFluid)) {
    if ((s.*f).get() == &field) return false;
  }
  return true;
}

bool ResultValid(const FI::RVal& field) {
  State& s = Calc();
  for (RvField f : InvalidRv(s.calculatedFluid)) {
    if ((s.*f).get() == &field) return false;
  }
  return true;
}

const std::string& MeterWarning() { return Calc().meterWarning; }
bool LastRunBeeped() { return Calc().beeped; }
std::uint16_t MeterFlags() { return Calc().meterFlags; }

bool Calculate(bool& changed) {
  if (!changed) {
    trace::Write("\n no change");
    return false;
  }
  changed = false;
  trace::Write("\n    RECALC");
  State& s = Calc();
  s.calculatedFluid = s.fluid;

  // 1. Warning record.
  GAS0::Omens omens = 0;
  int region = 4;

  // 2. Pressures.
  const double dp = Si(s.dp);
  const double P = Si(s.upstreamPressure);

  // 3. Fluid step.
  FluidOut f;
  switch (s.fluid) {
    case kNaturalGas:
      f = GasStep(s, s.detailMix, P, omens);
      break;
    case kGcnGas:
      f = GasStep(s, s.gcnMix, P, omens);
      break;
    case kGenericLiquid:
      f = GenericLiquidStep(s);
      break;
    case kHydrocarbonLiquid:
      f = HydrocarbonLiquidStep(s, P);
      break;
    case kSaturatedSteam:
      f = SaturatedSteamStep(s, P, region);
      break;
    case kDrySteam:
      f = DrySteamStep(s, P, region);
      break;
    default:
      f = TestFluidStep();
      break;
  }

  // 4. Gas omens or a steam state outside the formulation end the run here.
  if (omens != 0 || region == 0) {
    // A steam state carries no gas omens; it is named so that the message is not empty. Gas
    // omens name the equation whose range was left.
    const GAS0::GMix& mix = s.fluid == kGcnGas ? s.gcnMix : s.detailMix;
    const std::string what =
        omens != 0 ? EquationName(mix) + ": " + GAS1::MixOmensText(omens) : "steam state outside IAPWS-IF97";
    std::string text = "Calculate() omens: " + what;
    if (text.size() > kOmensBuffer) text.resize(kOmensBuffer);
    Raise(kModule, text, 3);
  }

  // 5. Meter step.
  const DP0::DPMeter meter = MeterRecord(s);
  DP0::DPFlags flags = 0;
  double velocity = 0.0;
  if (s.meter == static_cast<int>(DP0::MeterType::Mtr_Other)) {
    if (s.nonDPmethod != 1) Raise(kModule, "Calculate() invalid NonDPmethod", 0);
    const double kf = Si(s.kFactor);
    const double frequency = Val(s.frequency);
    const double D = Si(s.pipeDiameter);
    double Q = kf > 0.0 ? frequency / kf : 0.0;
    double qm = Q * f.rho;
    double reynolds = DP0::Reynolds(qm, D, f.mu);
    double qvBase = f.rhoBase > 0.0 ? qm / f.rhoBase : 0.0;
    double energy = qm * f.Hm;
    velocity = D > 0.0 ? Q / (std::numbers::pi * (D / 2) * (D / 2)) : 0.0;
    // Inputs outside physics, or results beyond the range of numbers, are flagged and give no
    // flow, as on the differential-pressure path.
    const bool inputsOk = kf > 0.0 && std::isfinite(kf) && frequency >= 0.0 && std::isfinite(frequency) &&
                          D > 0.0 && f.rho > 0.0 && f.mu > 0.0 && f.T > 0.0 && P > 0.0 &&
                          std::isfinite(f.rho) && std::isfinite(f.mu);
    if (!inputsOk) {
      DP0::SetFlag(flags, DP0::kFlagInput);
    } else if (!std::isfinite(Q) || !std::isfinite(qm) || !std::isfinite(reynolds) ||
               !std::isfinite(qvBase) || !std::isfinite(energy) || !std::isfinite(velocity)) {
      DP0::SetFlag(flags, DP0::kFlagCalc);
    }
    if (flags != 0) Q = qm = reynolds = qvBase = energy = velocity = 0.0;
    Set(s.actualVolumeFlow, Q);
    Set(s.massFlow, qm);
    Set(s.reynolds, reynolds);
    Set(s.stdVolumeFlow, qvBase);
    Set(s.energyFlow, energy);
    for (RV* rv : {&s.cd, &s.expansionFactor, &s.betaFlowing, &s.velocityOfApproach}) Set(*rv, 1.0);
    Set(s.pressureLoss, 0.0);
    Set(s.throatDiameterFlowing, D);
    Set(s.pipeDiameterFlowing, D);
    Set(s.pipeVelocity, velocity);
  } else {
    DP0::DPFluid fluid;
    fluid.dp = dp;
    fluid.Tf = f.T;
    fluid.P1 = P;
    fluid.mu = f.mu;
    fluid.kappa = f.kappa;
    fluid.rho = f.rho;
    fluid.rho_b = f.rhoBase;
    fluid.Hm = f.Hm;
    fluid.compressible = s.fluid != kGenericLiquid && s.fluid != kHydrocarbonLiquid;
    DP0::DPResult r{};
    DP0::MassFlow(flags, r, fluid, meter);
    DP0::CheckLimits(flags, r, fluid, meter);
    Set(s.massFlow, r.qm);
    Set(s.stdVolumeFlow, r.qv_base);
    Set(s.energyFlow, r.energy);
    Set(s.actualVolumeFlow, r.qv_actual);
    Set(s.cd, r.C);
    Set(s.reynolds, r.Re_D);
    Set(s.expansionFactor, r.epsilon);
    Set(s.betaFlowing, r.beta);
    Set(s.velocityOfApproach, r.E);
    Set(s.throatDiameterFlowing, r.dt);
    Set(s.pipeDiameterFlowing, r.Dt);
    Set(s.pressureLoss, r.pressure_loss);
    Set(s.pipeVelocity, r.velocity);
    velocity = r.velocity;
  }

  // 6. Mach number; a molar mass of 0 (infinite speed of sound) or a state without a speed of
  // sound gives 0.
  const double c = 0.3048 * std::sqrt(f.kappa * 32.2 * (1544.0 / f.M) * (f.T * 1.8));
  const double mach = (std::isfinite(c) && c > 0.0) ? velocity / c : 0.0;
  Set(s.mach, std::isfinite(mach) ? mach : 0.0);

  // 7. Heating value and enthalpy term.
  Set(s.massHeatingValue, f.Hm);
  Set(s.enthalpy, f.enthalpy);

  // 8. Meter warnings, led by the liquid correction's limit flags: a liquid outside the API
  // tables has no flowing density, and the meter's flags alone would not say why.
  s.meterWarning.clear();
  s.beeped = false;
  s.meterFlags = flags;
  if (flags != 0 || f.liquidFlags != 0 || !f.warning.empty()) {
    std::string text = f.warning + MPMS1::ApiFlagText(f.liquidFlags);
    if (flags != 0) {
      std::string meterText;
      DP0::FlagText(flags, meterText);
      text += meterText;
    }
    if (text.size() > kOmensBuffer) text.resize(kOmensBuffer);
    s.meterWarning = text.substr(0, kWarningLength);
    s.beeped = true;
    FE::Beep();
  }
  return true;
}

}  // namespace qmx::QMXcalc
