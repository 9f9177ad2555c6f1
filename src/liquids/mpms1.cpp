// API MPMS 11.1-2004 temperature and pressure volume correction.
// Constants: API MPMS Chapter 11.1-2004, paragraphs 11.1.5 and 11.1.6 (see data/liquids/SOURCES.md).
#include "liquids/mpms1.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "numerics/error.hpp"

namespace qmx::MPMS1 {
namespace {

constexpr const char* kModule = "MPMS1";
constexpr int kCodeUnsupported = 1;
constexpr int kCodeIllegal = 2;

// Shift between 60 F on ITS-90 and on IPTS-68, and 60 F (ITS-90) on IPTS-68.
constexpr double kDelta60 = 0.01374979547;
constexpr double kT60Ipts68F = 60.0068749;
constexpr double kConvergence = 0.000001;  // kg/m3

// Customary limits of groups 0 to 2 and group 4.
constexpr double kTMinF = -58.0;
constexpr double kTMaxF = 302.0;
constexpr double kPMaxPsi = 1500.0;
// Slack of the customary re-check, so that SI limits converted to F still pass.
constexpr double kTSlackF = 1e-9;
constexpr double kPSlackPsi = 1e-9;

// rho60 bounds of the standard (the base density is checked against the wider
// observed-density limits before the iteration).
constexpr double kRho60Min = 610.6;
constexpr double kRho60MinLube = 800.9;
constexpr double kRho60Max = 1163.5;
constexpr double kGasolineMax = 770.3520;
constexpr double kTransitionMax = 787.5195;
constexpr double kJetMax = 838.3127;

constexpr std::array<double, 8> kIptsA = {-0.148759, -0.267408, 1.080760, 1.269056,
                                          -4.089591, -1.871251, 7.438081, -3.536296};

constexpr std::array<const char*, 16> kFlagTexts = {
    "relaxed_compliance!",        "temperature_too_low! ",   "temperature_too_high! ",
    "pressure_too_low! ",         "pressure_too_high! ",     "density_too_low! ",
    "density_too_high! ",         "thermalX_too_low! ",      "thermalX_too_high! ",
    "nonfatal_convergance_fail! ", "invalid_hook! ",         "supercritical_fluid! ",
    "insufficient_data! ",        "inconsistant_data! ",     "invalid_base_temperature! ",
    "product_not_covered! "};

constexpr double kInf = std::numeric_limits<double>::infinity();

// 1500 psi exactly, in Pa.
constexpr double kPMaxPa = kPMaxPsi * kPaPerPsi;

bool IsKnownGroup(ApiProduct product) { return static_cast<unsigned>(product) <= 5; }

// Replaces a value outside [lo, hi] (NaN included) by the nearest limit and sets the bit.
void Clamp(ApiFlags& flags, double& value, double lo, double hi, ApiFlags lowBit, ApiFlags highBit) {
  if (std::isnan(value) || value < lo) {
    value = lo;
    flags |= lowBit;
  } else if (value > hi) {
    value = hi;
    flags |= highBit;
  }
}

// Gauge pressure: negative becomes 0 without a flag; NaN becomes 0 and is flagged.
void ClampPressure(ApiFlags& flags, double& p, double pMax, bool checkMax) {
  if (std::isnan(p)) {
    p = 0.0;
    flags |= kPressureTooLow;
  } else if (p < 0.0) {
    p = 0.0;
  } else if (checkMax && p > pMax) {
    p = pMax;
    flags |= kPressureTooHigh;
  } else if (std::isinf(p)) {
    flags |= kPressureTooHigh;
    p = 0.0;
  }
}

void CheckInputs(ApiFlags& flags, ApiProduct product, double& p, double& t, double& tBase,
                 double& rhoBase) {
  const ApiLimits lim = GroupLimits(product);
  if (lim.checkTemperature) {
    Clamp(flags, t, lim.tMinK, lim.tMaxK, kTemperatureTooLow, kTemperatureTooHigh);
    Clamp(flags, tBase, lim.tMinK, lim.tMaxK, kTemperatureTooLow, kTemperatureTooHigh);
  } else {
    // No range, but the absolute scale still bounds a temperature.
    constexpr double kTiny = 1e-300;
    Clamp(flags, t, kTiny, std::numeric_limits<double>::max(), kTemperatureTooLow, kTemperatureTooHigh);
    Clamp(flags, tBase, kTiny, std::numeric_limits<double>::max(), kTemperatureTooLow,
          kTemperatureTooHigh);
  }
  ClampPressure(flags, p, lim.pMaxPa, lim.checkPressure);
  if (lim.checkDensity) {
    Clamp(flags, rhoBase, lim.rhoMin, lim.rhoMax, kDensityTooLow, kDensityTooHigh);
  } else {
    Clamp(flags, rhoBase, std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
          kDensityTooLow, kDensityTooHigh);
  }
}

// Density of the group at 60 F shifted to the IPTS-68 basis.
double RhoStar(const ApiGroupConstants& k, double rho60, bool alphaGiven) {
  const double a = 0.5 * kDelta60 * ((k.k0 / rho60 + k.k1) / rho60 + k.k2);
  const double b = alphaGiven ? 0.0 : (2.0 * k.k0 + k.k1 * rho60) / (k.k0 + (k.k1 + k.k2 * rho60) * rho60);
  return rho60 * (1.0 + std::expm1(a * (1.0 + 0.8 * a)) / (1.0 + a * (1.0 + 1.6 * a) * b));
}

// The factors without any limit check: group constants (or alpha60 for group 3) at rho60.
ApiState60 Compute60(const ApiGroupConstants& k, bool alphaGiven, double rho60, double tF, double pPsi) {
  ApiState60 s{};
  s.tStar = Its90ToIpts68F(tF);
  s.rhoStar = RhoStar(k, rho60, alphaGiven);
  s.alpha60 = (k.k0 / s.rhoStar + k.k1) / s.rhoStar + k.k2;
  const double dt = s.tStar - kT60Ipts68F;
  s.ctl = std::exp(-s.alpha60 * dt * (1.0 + 0.8 * s.alpha60 * (dt + kDelta60)));
  s.fp = std::exp(-1.9947 + 0.00013427 * s.tStar + (793920.0 + 2326.0 * s.tStar) / (s.rhoStar * s.rhoStar));
  s.cpl = 1.0 / (1.0 - 1e-5 * s.fp * pPsi);
  s.ctpl = s.ctl * s.cpl;
  return s;
}

ApiGroupConstants ConstantsFor(ApiProduct product, double rho60, double alpha60F) {
  if (product == ApiProduct::SpecialApplications) return {0.0, 0.0, alpha60F, 1.0};
  return GroupK(product, rho60);
}

void RequireFactorGroup(ApiProduct product, const char* unsupported, const char* illegal) {
  if (!IsKnownGroup(product)) Raise(kModule, illegal, kCodeIllegal);
  if (product == ApiProduct::LightHydrocarbons || product == ApiProduct::UserProcedure) {
    Raise(kModule, unsupported, kCodeUnsupported);
  }
}

// Default user procedures: they only report that nothing is installed.
void DefaultLimits(ApiFlags& flags, double&, double&, double&) { flags |= kInvalidHook; }
void DefaultDensityLimits(ApiFlags& flags, double&) { flags |= kInvalidHook; }
void DefaultCalc(ApiFlags& flags, double& ctpl, double& cpl, double& ctl, double& density, double&,
                 double, double, double, double) {
  flags |= kInvalidHook;
  ctpl = cpl = ctl = density = 0.0;
}

thread_local ApiLimitsProc tUserLimits = DefaultLimits;
thread_local ApiDensityLimitsProc tUserDensityLimits = DefaultDensityLimits;
thread_local ApiCalcProc tUserCalc = DefaultCalc;

}  // namespace

std::string ApiFlagText(ApiFlags flags) {
  std::string text;
  for (unsigned bit = 0; bit < 16; ++bit) {
    if (flags & (1u << bit)) text += kFlagTexts[bit];
  }
  return text;
}

ApiLimits GroupLimits(ApiProduct product) {
  switch (product) {
    case ApiProduct::CrudeOil:
      return {true, 223.15, 423.15, true, kPMaxPa, true, 470.5, 1201.8};
    case ApiProduct::RefinedProducts:
      return {true, 223.15, 423.15, true, kPMaxPa, true, 470.4, 1209.5};
    case ApiProduct::LubricatingOils:
      return {true, 223.15, 423.15, true, kPMaxPa, true, 714.3, 1208.3};
    case ApiProduct::LightHydrocarbons:
      return {true, 227.594, 333.15, false, kInf, true, 349.642, 687.215};
    default:
      return {false, 0.0, kInf, false, kInf, false, 0.0, kInf};
  }
}

RefinedSubgroup RefinedSubgroupOf(double rho60) {
  if (rho60 < kGasolineMax) return RefinedSubgroup::Gasolines;
  if (rho60 < kTransitionMax) return RefinedSubgroup::TransitionZone;
  if (rho60 < kJetMax) return RefinedSubgroup::JetFuels;
  return RefinedSubgroup::FuelOils;
}

ApiGroupConstants GroupK(ApiProduct product, double rho60) {
  switch (product) {
    case ApiProduct::CrudeOil:
      return {341.0957, 0.0, 0.0, 2.0};
    case ApiProduct::RefinedProducts:
      switch (RefinedSubgroupOf(rho60)) {
        case RefinedSubgroup::Gasolines:
          return {192.4571, 0.2438, 0.0, 1.5};
        case RefinedSubgroup::TransitionZone:
          return {1489.0670, 0.0, -0.00186840, 8.5};
        case RefinedSubgroup::JetFuels:
          return {330.3010, 0.0, 0.0, 2.0};
        case RefinedSubgroup::FuelOils:
          return {103.8720, 0.2701, 0.0, 1.3};
      }
      break;
    case ApiProduct::LubricatingOils:
      return {0.0, 0.34878, 0.0, 1.0};
    case ApiProduct::SpecialApplications:
    case ApiProduct::LightHydrocarbons:
    case ApiProduct::UserProcedure:
      return {0.0, 0.0, 0.0, 0.0};
  }
  Raise(kModule, "MPMS1.GroupK() illegal product", kCodeIllegal);
}

double Its90ToIpts68C(double t90C) {
  const double tau = t90C / 630.0;
  double sum = 0.0;
  for (auto it = kIptsA.rbegin(); it != kIptsA.rend(); ++it) sum = (sum + *it) * tau;
  return t90C - sum;
}

double Its90ToIpts68F(double t90F) { return 1.8 * Its90ToIpts68C((t90F - 32.0) / 1.8) + 32.0; }

ApiState60 Factors60(ApiFlags& flags, ApiProduct product, double rho60, double tF, double pPsi,
                     double alpha60F) {
  RequireFactorGroup(product, "MPMS1.Factors60() unsupported product", "MPMS1.Factors60() illegal product");
  const bool alphaGiven = product == ApiProduct::SpecialApplications;
  if (!alphaGiven) {
    Clamp(flags, tF, kTMinF - kTSlackF, kTMaxF + kTSlackF, kTemperatureTooLow, kTemperatureTooHigh);
    ClampPressure(flags, pPsi, kPMaxPsi + kPSlackPsi, true);
  } else {
    Clamp(flags, tF, -459.67 + 1e-300, std::numeric_limits<double>::max(), kTemperatureTooLow,
          kTemperatureTooHigh);
    ClampPressure(flags, pPsi, kInf, false);
    Clamp(flags, alpha60F, kAlpha60MinPerF, kAlpha60MaxPerF, kThermalXTooLow, kThermalXTooHigh);
  }
  if (!(rho60 > 0.0) || !std::isfinite(rho60)) {
    flags |= std::isnan(rho60) || rho60 <= 0.0 ? kDensityTooLow : kDensityTooHigh;
    return ApiState60{};
  }
  ApiState60 s = Compute60(ConstantsFor(product, rho60, alpha60F), alphaGiven, rho60, tF, pPsi);
  // Beyond these the formulas have no physical meaning (no volume left, or none compressible).
  if (!(s.ctl > 0.0) || !std::isfinite(s.ctl)) {
    flags |= s.tStar > kT60Ipts68F ? kTemperatureTooHigh : kTemperatureTooLow;
    return ApiState60{};
  }
  if (!(s.cpl > 0.0) || !std::isfinite(s.cpl)) {
    flags |= kPressureTooHigh;
    return ApiState60{};
  }
  return s;
}

ApiBase60 AltToBase60(ApiFlags& flags, ApiProduct product, double rhoBase, double tBaseF,
                      double alpha60F, int maxPasses) {
  RequireFactorGroup(product, "MPMS1.AltToBase60() unsupported product",
                     "MPMS1.AltToBase60() illegal product");
  ApiBase60 r{0.0, 0.0, 0};
  if (!(rhoBase > 0.0) || !std::isfinite(rhoBase)) {
    flags |= std::isnan(rhoBase) || rhoBase <= 0.0 ? kDensityTooLow : kDensityTooHigh;
    return r;
  }
  if (!std::isfinite(tBaseF)) {
    flags |= tBaseF > 0.0 ? kTemperatureTooHigh : kTemperatureTooLow;
    return r;
  }
  const bool alphaGiven = product == ApiProduct::SpecialApplications;
  double rho60 = rhoBase;
  bool converged = false;
  while (r.passes < maxPasses && !converged) {
    ++r.passes;
    const ApiGroupConstants k = ConstantsFor(product, rho60, alpha60F);
    const ApiState60 s = Compute60(k, alphaGiven, rho60, tBaseF, 0.0);
    const double dt = s.tStar - kT60Ipts68F;
    const double e = rhoBase / s.ctl - rho60;
    const double dtl = k.dAlpha * s.alpha60 * dt * (1.0 + 1.6 * s.alpha60 * dt);
    const double step = e / (1.0 + dtl);
    if (!std::isfinite(step) || !(rho60 + step > 0.0)) break;
    rho60 += step;
    converged = std::fabs(step) < kConvergence;
  }
  if (!converged) flags |= kConvergenceFail;
  r.rho60 = rho60;
  // CTL at the base temperature belongs to the final rho60.
  r.ctl = Compute60(ConstantsFor(product, rho60, alpha60F), alphaGiven, rho60, tBaseF, 0.0).ctl;
  if (!(r.ctl > 0.0) || !std::isfinite(r.ctl)) {
    flags |= kConvergenceFail;
    r.ctl = 0.0;
  }
  return r;
}

double ApiRound(double value, double increment) {
  if (!std::isfinite(value) || !(increment > 0.0) || !std::isfinite(increment)) return value;
  const double a = std::fabs(value) / increment;
  if (a >= 0x1p52) return value;  // already a whole number of increments
  double n = std::floor(a);
  const double f = a - n;
  // A decimal half (0.988465 in steps of 0.00001) is not exact in binary: within a few
  // ulps of a half counts as a half.
  const double tol = 8.0 * std::numeric_limits<double>::epsilon() * std::max(a, 1.0);
  if (std::fabs(f - 0.5) <= tol) {
    if (std::fmod(n, 2.0) != 0.0) n += 1.0;
  } else if (f > 0.5) {
    n += 1.0;
  }
  // Divide by a whole reciprocal when there is one, so 98846 * 0.00001 gives exactly 0.98846.
  const double inv = std::round(1.0 / increment);
  const double result = inv >= 1.0 && std::fabs(inv * increment - 1.0) < 1e-12 ? n / inv : n * increment;
  return std::copysign(result, value);
}

void ApiLiquidFactors(ApiFlags& flags, double& ctpl, double& cpl, double& ctl, double& density,
                      double& alpha60, double pressure, double temperature,
                      double baseTemperature, double baseDensity, ApiProduct product) {
  flags = 0;
  ctpl = cpl = ctl = density = 0.0;
  if (product == ApiProduct::UserProcedure) {
    tUserLimits(flags, pressure, temperature, baseTemperature);
    tUserDensityLimits(flags, baseDensity);
    tUserCalc(flags, ctpl, cpl, ctl, density, alpha60, pressure, temperature, baseTemperature,
              baseDensity);
    return;
  }
  CheckInputs(flags, product, pressure, temperature, baseTemperature, baseDensity);
  // Light hydrocarbons have limits here but no correction: zero factors and a flag, never a
  // density of some other group's tables.
  if (product == ApiProduct::LightHydrocarbons) {
    flags |= kProductNotCovered;
    return;
  }
  double alphaF = 0.0;
  if (product == ApiProduct::SpecialApplications) {
    alphaF = AlphaPerKToPerF(alpha60);
    Clamp(flags, alphaF, kAlpha60MinPerF, kAlpha60MaxPerF, kThermalXTooLow, kThermalXTooHigh);
    alpha60 = AlphaPerFToPerK(alphaF);
  }
  const double tF = KelvinToF(temperature);
  const double tBaseF = KelvinToF(baseTemperature);
  const double pPsi = pressure / kPaPerPsi;

  const ApiBase60 base = AltToBase60(flags, product, baseDensity, tBaseF, alphaF);
  // The standard's procedure holds only for rho60 inside its bounds.
  if (product == ApiProduct::CrudeOil || product == ApiProduct::RefinedProducts ||
      product == ApiProduct::LubricatingOils) {
    const double lo = product == ApiProduct::LubricatingOils ? kRho60MinLube : kRho60Min;
    if (base.rho60 < lo) flags |= kDensityTooLow;
    if (base.rho60 > kRho60Max) flags |= kDensityTooHigh;
  }
  if (flags & ~kRelaxedCompliance) return;

  const ApiState60 s = Factors60(flags, product, base.rho60, tF, pPsi, alphaF);
  if (flags & ~kRelaxedCompliance) return;

  ctl = s.ctl / base.ctl;
  cpl = s.cpl;
  ctpl = ApiRound(ctl * cpl, kFactorIncrement);
  density = ctpl * baseDensity;
  if (product != ApiProduct::SpecialApplications) alpha60 = AlphaPerFToPerK(s.alpha60);
}

void InstallApiUserProcs(ApiLimitsProc limits, ApiDensityLimitsProc densityLimits, ApiCalcProc calc) {
  tUserLimits = limits ? limits : DefaultLimits;
  tUserDensityLimits = densityLimits ? densityLimits : DefaultDensityLimits;
  tUserCalc = calc ? calc : DefaultCalc;
}

void ResetApiUserProcs() { InstallApiUserProcs(nullptr, nullptr, nullptr); }

}  // namespace qmx::MPMS1
