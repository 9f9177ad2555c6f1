// IAPWS-IF97 regions 1 to 4 and B23, IAPS 1985 viscosity, isentropic exponents,
// region selection and the saturated and single-phase property sets.
#include "steam/if97.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "numerics/error.hpp"
#include "numerics/numerics.hpp"
#include "steam/if97_coefficients.hpp"

namespace qmx::IF97 {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Lowest pressure of the saturation line: Psat(273.15 K) by Eq. 30.
constexpr double kPsatMin = 611.212677444345;

// Region-3 density search: the upper start of the design, the highest density tried when
// that start is widened, the numbers of walk steps used when three roots are possible.
constexpr double kR3High = 750.0;
constexpr double kR3Ceiling = 1100.0;
constexpr int kR3Coarse = 16;
constexpr int kR3Fine = 256;
constexpr double kR3Tol = 1e-5;

thread_local int r3Evaluations = 0;

bool Finite(double x) { return std::isfinite(x); }

// x^k for k = 0 .. N-1 by repeated products.
template <std::size_t N>
void Powers(std::array<double, N>& p, double x) {
  p[0] = 1.0;
  for (std::size_t k = 1; k < N; ++k) p[k] = p[k - 1] * x;
}

// Region 1 Gibbs derivatives gamma_pi and gamma_tau at (pi, tau).
void Gibbs1(double pi, double tau, double& gPi, double& gTau) {
  const double a = 7.1 - pi;
  const double b = tau - 1.222;
  std::array<double, 33> ap{};
  Powers(ap, a);
  // bp[k + 42] = b^k for k = -42 .. 17.
  std::array<double, 60> bp{};
  bp[42] = 1.0;
  for (int k = 43; k < 60; ++k) bp[k] = bp[k - 1] * b;
  const double inv = 1.0 / b;
  for (int k = 41; k >= 0; --k) bp[k] = bp[k + 1] * inv;
  double sPi = 0.0;
  double sTau = 0.0;
  for (const auto& t : coef::kRegion1) {
    if (t.i > 0) sPi -= t.n * t.i * ap[t.i - 1] * bp[t.j + 42];
    if (t.j != 0) sTau += t.n * ap[t.i] * t.j * bp[t.j - 1 + 42];
  }
  gPi = sPi;
  gTau = sTau;
}

// Region 2 derivatives: residual gamma_pi, and gamma_tau of ideal plus residual parts.
void Gibbs2(double pi, double tau, double& grPi, double& gTau) {
  std::array<double, 25> pp{};
  Powers(pp, pi);
  std::array<double, 59> cp{};
  Powers(cp, tau - 0.5);
  double sPi = 0.0;
  double sTau = 0.0;
  for (const auto& t : coef::kRegion2Residual) {
    sPi += t.n * t.i * pp[t.i - 1] * cp[t.j];
    if (t.j != 0) sTau += t.n * pp[t.i] * t.j * cp[t.j - 1];
  }
  // Ideal part: tau^(J0 - 1) for J0 = -5 .. 3, i.e. powers -6 .. 2.
  std::array<double, 9> tp{};  // tp[k + 6] = tau^k
  tp[6] = 1.0;
  tp[7] = tau;
  tp[8] = tau * tau;
  const double inv = 1.0 / tau;
  for (int k = 5; k >= 0; --k) tp[k] = tp[k + 1] * inv;
  double s0 = 0.0;
  for (const auto& t : coef::kRegion2Ideal) {
    if (t.j != 0) s0 += t.n * t.j * tp[t.j - 1 + 6];
  }
  grPi = sPi;
  gTau = s0 + sTau;
}

// Region 3 along one isotherm: delta*phi_delta is the polynomial
// n1 + sum over I of c[I] delta^I, with c[I] the sum of n I tau^J of the terms with that I.
struct Isotherm {
  double T = 0.0;
  std::array<double, 12> c{};

  explicit Isotherm(double temperature) : T(temperature) {
    std::array<double, 27> tp{};
    Powers(tp, kTc / T);
    for (const auto& t : coef::kRegion3) c[static_cast<std::size_t>(t.i)] += t.n * t.i * tp[t.j];
  }
  double Pressure(double rho) const {
    const double delta = rho / kRhoc;
    double s = 0.0;
    for (int i = 11; i >= 1; --i) s = (s + c[static_cast<std::size_t>(i)]) * delta;
    return rho * kR * T * (coef::kRegion3LogTerm + s);
  }
};

// Walks from `from` (where f has the sign opposite to `sign`) towards `to` (same sign as
// `from`) and returns the root between the first point where f has the sign `sign` and the
// point before it: the root nearest `from`. A coarse walk first; a fine one when the coarse
// steps stepped over a pair of roots.
template <class F>
bool Walk(F& f, double from, double to, double sign, double& root) {
  for (int steps : {kR3Coarse, kR3Fine}) {
    const double step = (to - from) / steps;
    for (int k = 1; k < steps; ++k) {
      const double x = from + k * step;
      if (sign * f(x) > 0.0) {
        const double prev = x - step;
        root = Numerics::Broot(kR3Tol, std::min(prev, x), std::max(prev, x), f);
        return true;
      }
    }
  }
  return false;
}

// Finds the root of p3(rho, T) = P on the side asked for; false when there is none.
// Every density tried is positive and at most kR3Ceiling.
bool SolveR3(double P, double T, Phase phase, double& rho) {
  int evaluations = 0;
  rho = kNaN;
  if (!Finite(P) || !Finite(T) || P <= 0.0 || T <= 0.0) {
    r3Evaluations = 0;
    return false;
  }
  const Isotherm iso(T);
  auto f = [&](double x) {
    ++evaluations;
    return iso.Pressure(x) - P;
  };
  auto finish = [&](bool found) {
    r3Evaluations = evaluations;
    return found;
  };
  const double fc = f(kRhoc);
  if (!Finite(fc)) return finish(false);
  if (fc == 0.0) {
    rho = kRhoc;
    return finish(true);
  }
  // Above the critical temperature the isotherm has one root; it lies on the side where f
  // changes sign.
  const bool liquid = T >= kTc ? fc < 0.0 : phase == Phase::Liquid;
  if (liquid) {
    double b = kR3High;
    double fb = f(b);
    while (!(fb > 0.0) && b < kR3Ceiling) {
      b = std::min(b + 100.0, kR3Ceiling);
      fb = f(b);
    }
    if (!(fb > 0.0)) return finish(false);
    if (fc < 0.0) {
      rho = Numerics::Broot(kR3Tol, kRhoc, b, f);
      return finish(true);
    }
    // f(rho_c) > 0: the unstable middle root may lie between rho_c and the liquid root.
    // Walk down from the liquid end to the first negative value: the largest root is above it.
    return finish(Walk(f, b, kRhoc, -1.0, rho));
  }
  // Vapour side: a low start well below the ideal-gas density, where p3 < P.
  double a = 0.5 * P / (kR * T);
  double fa = f(a);
  for (int k = 0; k < 60 && !(fa < 0.0); ++k) {
    a *= 0.5;
    fa = f(a);
  }
  if (!(fa < 0.0)) return finish(false);
  if (fc > 0.0) {
    rho = Numerics::Broot(kR3Tol, a, kRhoc, f);
    return finish(true);
  }
  // f(rho_c) < 0: walk up from the vapour end to the first positive value: the smallest root
  // is below it.
  return finish(Walk(f, a, kRhoc, 1.0, rho));
}

// The saturated-vapour isentropic exponent table, indexed from 1: t in degrees C.
constexpr std::array<double, 45> kSatT{
    0.0,    0.0,    99.61,  105.79, 111.35, 116.04, 120.21, 127.41, 133.53, 138.86, 143.61, 147.91,
    151.84, 158.83, 164.95, 170.41, 175.36, 179.89, 189.82, 198.3,  205.73, 212.38, 223.96, 233.86,
    242.56, 250.36, 257.44, 263.94, 275.59, 285.83, 295.01, 303.35, 311.0,  318.08, 324.68, 330.86,
    336.67, 342.16, 347.36, 352.29, 356.99, 361.47, 365.75, 368.83, 373.71};
constexpr std::array<double, 45> kSatK{
    0.0,    1.0,    1.3154, 1.3142, 1.313,  1.3119, 1.3108, 1.3089, 1.3071, 1.3055, 1.3039, 1.3025,
    1.3011, 1.2987, 1.2964, 1.2944, 1.2926, 1.291,  1.2873, 1.2841, 1.2813, 1.2788, 1.2743, 1.2705,
    1.267,  1.2639, 1.261,  1.2584, 1.2535, 1.2491, 1.245,  1.2411, 1.2377, 1.2349, 1.2329, 1.232,
    1.2322, 1.2337, 1.2369, 1.2414, 1.2474, 1.2536, 1.262,  1.2774, 1.3484};

void FillCritical(SatState& out) {
  out.P = kPc;
  out.T = kTc;
  out.rhoL = out.rhoV = kCritDensity;
  out.hL = out.hV = kCritEnthalpy;
  // The formulation's own viscosity at the critical state keeps the Pa s scale.
  out.muL = out.muV = Viscosity(kCritDensity, kTc);
  out.exponent = kCritExponent;
}

// Liquid and vapour at a saturation state (P, T) with 273.15 <= T < Tc.
void FillSaturated(double P, double T, SatState& out) {
  out.P = P;
  out.T = T;
  if (T <= kT13) {
    out.rhoL = Rho1(P, T);
    out.hL = H1(P, T);
    out.rhoV = Rho2(P, T);
    out.hV = H2(P, T);
  } else {
    // Above 623.15 K both saturated phases lie in region 3. Within a few pascals of the
    // critical point the roots merge into the critical density, which stands in when the
    // search cannot separate them.
    if (!SolveR3(P, T, Phase::Liquid, out.rhoL)) out.rhoL = kRhoc;
    out.hL = H3(out.rhoL, T);
    if (!SolveR3(P, T, Phase::Vapour, out.rhoV)) out.rhoV = kRhoc;
    out.hV = H3(out.rhoV, T);
  }
  out.muL = Viscosity(out.rhoL, T);
  out.muV = Viscosity(out.rhoV, T);
  out.exponent = SatExponent(T);
}

}  // namespace

double Psat(double T) {
  if (std::isnan(T)) return kNaN;
  T = std::clamp(T, kTmin, kTc);
  const auto& n = coef::kRegion4;
  const double th = T + n[9] / (T - n[10]);
  const double th2 = th * th;
  const double A = th2 + n[1] * th + n[2];
  const double B = n[3] * th2 + n[4] * th + n[5];
  const double C = n[6] * th2 + n[7] * th + n[8];
  const double x = 2.0 * C / (-B + std::sqrt(B * B - 4.0 * A * C));
  const double x2 = x * x;
  return x2 * x2 * 1e6;
}

double Tsat(double P) {
  if (std::isnan(P)) return kNaN;
  if (P <= kPsatMin) return kTmin;
  if (P >= kPc) return kTc;
  const auto& n = coef::kRegion4;
  const double beta = std::sqrt(std::sqrt(P / 1e6));
  const double b2 = beta * beta;
  const double E = b2 + n[3] * beta + n[6];
  const double F = n[1] * b2 + n[4] * beta + n[7];
  const double G = n[2] * b2 + n[5] * beta + n[8];
  const double D = 2.0 * G / (-F - std::sqrt(F * F - 4.0 * E * G));
  const double s = n[10] + D;
  return 0.5 * (s - std::sqrt(s * s - 4.0 * (n[9] + n[10] * D)));
}

double Rho1(double P, double T) {
  double gPi = 0.0;
  double gTau = 0.0;
  Gibbs1(P / 16.53e6, 1386.0 / T, gPi, gTau);
  return 16.53e6 / (kR * T * gPi);
}

double H1(double P, double T) {
  double gPi = 0.0;
  double gTau = 0.0;
  const double tau = 1386.0 / T;
  Gibbs1(P / 16.53e6, tau, gPi, gTau);
  return kR * T * tau * gTau;
}

double Rho2(double P, double T) {
  double grPi = 0.0;
  double gTau = 0.0;
  const double pi = P / 1e6;
  Gibbs2(pi, 540.0 / T, grPi, gTau);
  return P / (kR * T * (1.0 + pi * grPi));
}

double H2(double P, double T) {
  double grPi = 0.0;
  double gTau = 0.0;
  const double tau = 540.0 / T;
  Gibbs2(P / 1e6, tau, grPi, gTau);
  return kR * T * tau * gTau;
}

double P3(double rho, double T) { return Isotherm(T).Pressure(rho); }

double H3(double rho, double T) {
  const double delta = rho / kRhoc;
  const double tau = kTc / T;
  std::array<double, 12> dp{};
  Powers(dp, delta);
  std::array<double, 27> tp{};
  Powers(tp, tau);
  double dPhiD = coef::kRegion3LogTerm;
  double tPhiT = 0.0;
  for (const auto& t : coef::kRegion3) {
    const double term = t.n * dp[static_cast<std::size_t>(t.i)] * tp[static_cast<std::size_t>(t.j)];
    dPhiD += t.i * term;
    tPhiT += t.j * term;
  }
  return kR * T * (tPhiT + dPhiD);
}

double Exponent3(double rho, double T) {
  const double delta = rho / kRhoc;
  const double tau = kTc / T;
  std::array<double, 12> dp{};
  Powers(dp, delta);
  std::array<double, 27> tp{};
  Powers(tp, tau);
  // Reduced derivatives of the Helmholtz function phi = n1 ln(delta) + sum n delta^I tau^J.
  double dPhiD = coef::kRegion3LogTerm;     // delta phi_delta
  double ddPhiDD = -coef::kRegion3LogTerm;  // delta^2 phi_delta_delta
  double ttPhiTT = 0.0;                     // tau^2 phi_tau_tau
  double dtPhiDT = 0.0;                     // delta tau phi_delta_tau
  for (const auto& t : coef::kRegion3) {
    const double term = t.n * dp[static_cast<std::size_t>(t.i)] * tp[static_cast<std::size_t>(t.j)];
    dPhiD += t.i * term;
    ddPhiDD += t.i * (t.i - 1) * term;
    ttPhiTT += t.j * (t.j - 1) * term;
    dtPhiDT += t.i * t.j * term;
  }
  // w^2 / (R T) from the formulation, and p / (rho R T) = delta phi_delta.
  const double a = dPhiD - dtPhiDT;
  const double w2 = 2.0 * dPhiD + ddPhiDD - a * a / ttPhiTT;
  const double kappa = w2 / dPhiD;
  return std::isfinite(kappa) && kappa > 0.0 ? kappa : kLiquidExponent;
}

double RHOcritR3(double P, double T, Phase phase) {
  double rho = 0.0;
  if (!SolveR3(P, T, phase, rho)) Raise(kModule, "IF97.RHOcritR3() bracket failure", 1);
  return rho;
}

double RHOcritR3(double P, double T) {
  const bool vapour = P < kPc && T > Tsat(P);
  double rho = 0.0;
  // Next to the critical point the isotherm may have a single root on the other side of the
  // critical density: that root is then the state.
  if (SolveR3(P, T, vapour ? Phase::Vapour : Phase::Liquid, rho)) return rho;
  const int evaluations = r3Evaluations;
  const bool found = SolveR3(P, T, vapour ? Phase::Liquid : Phase::Vapour, rho);
  r3Evaluations += evaluations;
  if (!found) Raise(kModule, "IF97.RHOcritR3() bracket failure", 1);
  return rho;
}

int R3Evaluations() noexcept { return r3Evaluations; }

double B23P(double T) {
  const auto& n = coef::kB23;
  return (n[1] + n[2] * T + n[3] * T * T) * 1e6;
}

double B23T(double P) {
  const auto& n = coef::kB23;
  const double pi = P / 1e6;
  if (!(pi >= n[5])) return kNaN;  // the boundary starts at n5 MPa
  return n[4] + std::sqrt((pi - n[5]) / n[3]);
}

double Viscosity(double rho, double T) {
  constexpr double kTstar = 647.226;
  constexpr double kRhoStar = 317.763;
  constexpr double kMuStar = 55.071e-6;
  const double tr = T / kTstar;
  const double dr = rho / kRhoStar;
  const double inv = 1.0 / tr;
  const auto& H = coef::kViscH;
  const double mu0 = std::sqrt(tr) / (H[0] + inv * (H[1] + inv * (H[2] + inv * H[3])));
  std::array<double, 6> xp{};
  Powers(xp, inv - 1.0);
  std::array<double, 7> yp{};
  Powers(yp, dr - 1.0);
  double s = 0.0;
  for (std::size_t i = 0; i < 6; ++i) {
    double row = 0.0;
    for (std::size_t j = 0; j < 7; ++j) row += coef::kViscHij[i][j] * yp[j];
    s += row * xp[i];
  }
  return kMuStar * mu0 * std::exp(dr * s);
}

double SatExponent(double T) {
  double k = 0.0;
  Numerics::Linterp(k, T - 273.15, 44, kSatK, kSatT);
  return k;
}

double IdealExponent(double T) {
  // Cp/R of the ideal gas, fourth-degree polynomial in T (Poling, Prausnitz and O'Connell,
  // The Properties of Gases and Liquids, 5th ed., Appendix A, water).
  const double cpr = 4.395 + T * (-4.186e-3 + T * (1.405e-5 + T * (-1.564e-8 + T * 6.32e-12)));
  return cpr / (cpr - 1.0);
}

int Region(int band, double P, double T) {
  // Written so that NaN fails every test.
  if (!(P > 0.0 && P <= kPmax && T >= kTmin && T <= kTmax)) return kRegionNone;
  const double dp = std::max(band, 0) * kBandStep;
  if (P < kPc) {
    const double tLow = Tsat(std::max(P - dp, 0.0));
    const double tHigh = Tsat(P + dp);
    if (T >= tLow && T <= tHigh) return kRegionSaturated;
    if (P <= kPsat623) {
      if (T >= tHigh) return kRegionVapour;
      if (T <= tLow) return kRegionLiquid;
      return kRegionNone;
    }
  }
  if (T <= kT13) return kRegionLiquid;
  if (T <= B23T(P)) return kRegionCritical;
  return kRegionVapour;
}

bool SatByP(double P, SatState& out) {
  if (std::isnan(P) || P >= kPc) {
    FillCritical(out);
    return false;
  }
  bool ok = true;
  if (P < kPsatMin) {
    // No liquid-vapour saturation below the pressure of the 273.15 K end of the line.
    P = kPsatMin;
    ok = false;
  }
  FillSaturated(P, Tsat(P), out);
  return ok;
}

bool SatByT(double T, SatState& out) {
  if (std::isnan(T) || T >= kTc) {
    FillCritical(out);
    return false;
  }
  bool ok = true;
  if (T < kTmin) {
    T = kTmin;
    ok = false;
  }
  FillSaturated(Psat(T), T, out);
  return ok;
}

Phase1 S1phase_TP(int band, double P, double T) {
  Phase1 r;
  r.region = Region(band, P, T);
  switch (r.region) {
    case kRegionNone:
      return r;
    case kRegionLiquid:
      r.density = Rho1(P, T);
      r.enthalpy = H1(P, T);
      r.exponent = kLiquidExponent;
      break;
    case kRegionVapour:
    case kRegionSaturated: {
      double rho = 0.0;
      // Saturated vapour above 623.15 K lies in region 3, outside region 2's range.
      if (r.region == kRegionSaturated && T > kT13 && SolveR3(P, T, Phase::Vapour, rho)) {
        r.density = rho;
        r.enthalpy = H3(rho, T);
      } else {
        r.density = Rho2(P, T);
        r.enthalpy = H2(P, T);
      }
      r.exponent = IdealExponent(T);
      break;
    }
    case kRegionCritical:
      r.density = RHOcritR3(P, T);
      r.enthalpy = H3(r.density, T);
      r.exponent = Exponent3(r.density, T);
      break;
    default:
      Raise(kModule, "IF97.S1phase_TP() invalid region", 2);
  }
  r.viscosity = Viscosity(r.density, T);
  return r;
}

}  // namespace qmx::IF97
