#include "gas/sgerg.hpp"

#include <array>
#include <cmath>

#include "numerics/error.hpp"
#include "numerics/numerics.hpp"

namespace qmx::SGERG {
namespace {

// Coefficients c0 + c1 T + c2 T^2 of the SGERG-88 virial terms (ISO 12213-3, the block data of
// its reference subroutine; data/sgerg88/). B in m3/kmol, C in m6/kmol2, T in K.
struct Quad {
  double c0, c1, c2;
  double operator()(double T) const { return c0 + (c1 + c2 * T) * T; }
};
constexpr std::array<Quad, 3> kB11 = {{{-0.425468, 0.286500e-2, -0.462073e-5},
                                       {0.877118e-3, -0.556281e-5, 0.881510e-8},
                                       {-0.824747e-6, 0.431436e-8, -0.608319e-11}}};
constexpr Quad kB22{-0.144600, 0.740910e-3, -0.911950e-6};
constexpr Quad kB23{-0.339693, 0.161176e-2, -0.204429e-5};
constexpr Quad kB33{-0.868340, 0.403760e-2, -0.516570e-5};
constexpr Quad kB15{-0.521280e-1, 0.271570e-3, -0.25e-6};
constexpr Quad kB17{-0.687290e-1, -0.239381e-5, 0.518195e-6};
constexpr Quad kB55{-0.110596e-2, 0.813385e-4, -0.987220e-7};
constexpr Quad kB77{-0.130820, 0.602540e-3, -0.644300e-6};
constexpr double kB25 = 0.012;
constexpr std::array<Quad, 3> kC111 = {{{-0.302488, 0.195861e-2, -0.316302e-5},
                                        {0.646422e-3, -0.422876e-5, 0.688157e-8},
                                        {-0.332805e-6, 0.223160e-8, -0.367713e-11}}};
constexpr Quad kC222{0.784980e-2, -0.398950e-4, 0.611870e-7};
constexpr Quad kC223{0.552066e-2, -0.168609e-4, 0.157169e-7};
constexpr Quad kC233{0.358783e-2, 0.806674e-5, -0.325798e-7};
constexpr Quad kC333{0.205130e-2, 0.348880e-4, -0.837030e-7};
constexpr Quad kC555{0.104711e-2, -0.364887e-5, 0.467095e-8};
constexpr Quad kC117{0.736748e-2, -0.276578e-4, 0.343051e-7};

// Molar masses (kg/kmol), molar heating values (MJ/kmol) and the pseudo-component relation.
constexpr double kMN2 = 28.0135, kMCO2 = 44.01, kMH2 = 2.0159, kMCO = 28.01;
constexpr double kHH2 = 285.83, kHCO = 282.98;
constexpr double kMa0 = -2.709328, kMa1 = 0.021062199;
constexpr double kMair = 28.96256;
constexpr double kVm0 = 22.414097;  // ideal molar volume at 273.15 K, 101325 Pa, m3/kmol
constexpr double kZtol = 5e-11;
constexpr int kMaxPasses = 20;

constexpr double kPmax = 12065825.3, kTmin = 264.8166, kTmax = 334.8167;

double Bair(double T) { return 0.000591 * T - 0.12527 - 6.62e-07 * T * T; }

// Cube root of a product, flagging a negative product.
double Cbrt(double v, std::uint16_t& flags) {
  if (v < 0.0) flags |= kVirialC;
  return std::cbrt(v);
}

Mixture Of(const Gross& g) { return {g.ch, g.n2, g.co2, g.h2, g.co}; }

bool IsSgerg(int code) { return code >= GCN && code <= GHN; }

double Hfactor(const Sref& r) { return 1.0 + 0.0001027 * (r.tH - 298.15); }

}  // namespace

Virial Coefficients(double T, double H, const Mixture& x) {
  Virial v;
  const double b11 = kB11[0](T) + (kB11[1](T) + kB11[2](T) * H) * H;
  const double b22 = kB22(T), b23 = kB23(T), b33 = kB33(T);
  const double b12 = (0.72 + 1.875e-5 * (320.0 - T) * (320.0 - T)) * (b11 + b22) / 2.0;
  if (b11 * b33 < 0.0) v.flags |= kVirialB;
  const double b13 = -0.865 * std::sqrt(std::fabs(b11 * b33));
  v.B = x.ch * x.ch * b11 + 2 * x.ch * x.n2 * b12 + 2 * x.ch * x.co2 * b13 + x.n2 * x.n2 * b22 +
        2 * x.n2 * x.co2 * b23 + x.co2 * x.co2 * b33 + x.h2 * x.h2 * kB55(T) +
        2 * x.ch * x.h2 * kB15(T) + 2 * x.n2 * x.h2 * kB25 + 2 * x.ch * x.co * kB17(T) +
        x.co * x.co * kB77(T);

  const double c111 = kC111[0](T) + (kC111[1](T) + kC111[2](T) * H) * H;
  const double c222 = kC222(T), c333 = kC333(T), c555 = kC555(T);
  const double f12 = 0.92 + 0.0013 * (T - 270.0);
  const double c112 = f12 * Cbrt(c111 * c111 * c222, v.flags);
  const double c122 = f12 * Cbrt(c111 * c222 * c222, v.flags);
  const double c113 = 0.92 * Cbrt(c111 * c111 * c333, v.flags);
  const double c133 = 0.92 * Cbrt(c111 * c333 * c333, v.flags);
  const double c123 = 1.10 * Cbrt(c111 * c222 * c333, v.flags);
  const double c115 = 1.20 * Cbrt(c111 * c111 * c555, v.flags);
  const double x1 = x.ch, x2 = x.n2, x3 = x.co2, x5 = x.h2, x7 = x.co;
  v.C = x1 * x1 * x1 * c111 + 3 * x1 * x1 * x2 * c112 + 3 * x1 * x1 * x3 * c113 +
        3 * x1 * x1 * x5 * c115 + 3 * x1 * x2 * x2 * c122 + 6 * x1 * x2 * x3 * c123 +
        3 * x1 * x3 * x3 * c133 + x2 * x2 * x2 * c222 + 3 * x2 * x2 * x3 * kC223(T) +
        3 * x2 * x3 * x3 * kC233(T) + x3 * x3 * x3 * c333 + x5 * x5 * x5 * c555 +
        3 * x1 * x1 * x7 * kC117(T);
  return v;
}

double SolveDensity(double P, double T, double B, double C, std::uint16_t& flags) {
  if (!std::isfinite(P) || !std::isfinite(T) || !std::isfinite(B) || !std::isfinite(C) ||
      !(T > 0.0) || P < 0.0) {
    flags |= kNoBracket;
    return 0.0;
  }
  if (P == 0.0) return 0.0;
  const double RT = kR * T;
  auto f = [&](double D) { return P - (1.0 + (B + C * D) * D) * D * RT; };
  double d1 = 2.0 * P / RT, d2 = 0.25 * d1;
  if (!Numerics::Bracket(d1, d2, f)) {
    flags |= kNoBracket;
    return 0.0;
  }
  double D = 0.0;
  try {
    D = Numerics::Broot(2e-06, d1, d2, f);
  } catch (const Error&) {
    flags |= kNoConverge;
    D = std::fabs(f(d1)) < std::fabs(f(d2)) ? d1 : d2;
  }
  // The absolute tolerance is coarse at low densities: finish with Newton steps on the cubic,
  // kept inside the bracket, so that the density agrees with Z = 1 + B D + C D^2 to rounding.
  const double lo = std::min(d1, d2), hi = std::max(d1, d2);
  for (int it = 0; it < 6; ++it) {
    const double fx = f(D);
    const double slope = -RT * (1.0 + (2.0 * B + 3.0 * C * D) * D);
    if (fx == 0.0 || !(slope < 0.0)) break;
    const double next = D - fx / slope;
    if (!(next >= lo && next <= hi)) break;
    const double step = std::fabs(next - D);
    D = next;
    if (step <= 1e-15 * D) break;
  }
  return D;
}

std::uint16_t StateRanges(double P, double T) {
  std::uint16_t flags = 0;
  if (!(P >= 0.0 && P <= kPmax)) flags |= kPressure;
  if (!(T >= kTmin && T <= kTmax)) flags |= kTemperature;
  return flags;
}

std::uint16_t ZdRanges(int code, const Gross& g) {
  if (!IsSgerg(code)) Raise(kModule, "SGERG.ZdRanges() illegal ZMethod", 0);
  std::uint16_t f = 0;
  auto outside = [](double v, double lo, double hi) { return !(v >= lo && v <= hi); };
  if (outside(g.gr, 0.55, 0.9)) f |= kRelDensity;
  if (outside(g.hs, 19000000.0, 48000000.0)) f |= kHeatingValue;
  if (outside(g.n2, 0.0, 0.5)) f |= kN2;
  if (outside(g.co2, 0.0, 0.3)) f |= kCO2;
  if (outside(g.h2, 0.0, 0.1)) f |= kH2;
  if (outside(g.co, 0.0, 0.03)) f |= kCO;
  switch (code) {
    case GCN:
      if (g.gr < 0.55 + 0.97 * g.co2 + 0.41 * g.n2 - 0.39 * g.h2) f |= kRelDensityConflict;
      if (g.n2 + g.co2 > 0.5) f |= kN2 | kCO2;
      f &= static_cast<std::uint16_t>(~kHeatingValue);
      break;
    case HCN:
      if (g.n2 + g.co2 > 0.5) f |= kRelDensityConflict;
      f &= static_cast<std::uint16_t>(~kRelDensity);
      break;
    case GHC:
      if (g.gr < 0.55 + 0.97 * g.co2 - 0.39 * g.h2) f |= kRelDensityConflict;
      f &= static_cast<std::uint16_t>(~kN2);
      break;
    default:  // GHN
      if (g.gr < 0.55 + 0.41 * g.n2 - 0.39 * g.h2) f |= kRelDensityConflict;
      f &= static_cast<std::uint16_t>(~kCO2);
      break;
  }
  return f;
}

RefResult RefProps(int code, double P, double T, const Sref& ref, Gross& g) {
  if (!IsSgerg(code)) Raise(kModule, "SGERG.RefProps() illegal ZMethod", 0);
  RefResult r;
  const double rtG = kR * ref.tG / ref.pG;  // ideal molar volume at the gas volume reference
  const double rtD = kR * ref.tD / ref.pD;  // and at the density reference
  const double rhoAir = kMair / (rtG + Bair(ref.tG));
  const double fac = Hfactor(ref);
  const double hs = g.hs / 1e6;  // MJ/m3
  auto balance = [&g] { return 1.0 - g.co2 - g.n2 - g.co - g.h2; };
  double H = 0.0, M = 0.0;
  double Zg = 1.0, Zd = 1.0;
  int pass = 0;
  bool done = false;

  if (code == GCN) {
    g.ch = balance();
    for (; pass <= kMaxPasses && !done; ++pass) {
      M = g.gr * Zg * rtG * rhoAir;
      const double mch = (M - kMN2 * g.n2 - kMCO2 * g.co2 - kMH2 * g.h2 - kMCO * g.co) / g.ch;
      H = (mch - kMa0) / kMa1;
      const Virial v = Coefficients(ref.tG, H, Of(g));
      r.flags |= v.flags;
      const double Znew = 1.0 + v.B / rtG;
      done = std::fabs(Zg / Znew - 1.0) < kZtol;
      Zg = Znew;
    }
  } else if (code == HCN) {
    g.ch = balance();
    H = 1000.0;
    double B = -0.065;
    for (; pass <= kMaxPasses && !done; ++pass) {
      const double hmol = fac * hs * Zd * rtD;
      const double Hnew = (hmol - kHH2 * g.h2 - kHCO * g.co) / g.ch;
      // Converged when the pseudo-component fraction implied by hs matches the balance or H
      // no longer moves.
      const double chc = hs / (H / (kVm0 + B));
      done = std::fabs(chc - g.ch) < 1e-05 || std::fabs(Hnew / H - 1.0) < kZtol;
      H = Hnew;
      const Virial vg = Coefficients(ref.tG, H, Of(g));
      const Virial vd = Coefficients(ref.tD, H, Of(g));
      r.flags |= vg.flags | vd.flags;
      B = vg.B;
      Zg = 1.0 + vg.B / rtG;
      Zd = 1.0 + vd.B / rtD;
    }
    M = g.ch * (kMa0 + kMa1 * H) + kMN2 * g.n2 + kMCO2 * g.co2 + kMH2 * g.h2 + kMCO * g.co;
  } else {
    // GHC (nitrogen from the balance) and GHN (carbon dioxide from the balance): the molar
    // mass and molar heating value balances solved for the pseudo-component fraction.
    const bool ghc = code == GHC;
    for (; pass <= kMaxPasses && !done; ++pass) {
      const double hmol = fac * hs * Zd * rtD;
      M = g.gr * Zg * rtG * rhoAir;
      // M = ch (a0 - M_N2) + a1 hmol + M_N2 + (M_CO2 - M_N2) co2 - 32.0178... h2 - 5.9636... co
      const double rest = M - kMa1 * hmol - kMN2 + 32.01780834017 * g.h2 + 5.963681073019998 * g.co;
      if (ghc) {
        g.ch = (rest - 15.9965 * g.co2) / -30.722828;
        g.n2 = balance() + g.n2 - g.ch;
        if (g.n2 < 0.0) {
          g.n2 = 0.0;
          g.ch = balance();
          r.flags |= kN2 | kRelDensityConflict;
        }
      } else {
        // With carbon dioxide unknown its term moves into the divisor.
        g.ch = (rest - 15.9965 * (1.0 - g.n2 - g.h2 - g.co)) / (-30.722828 - 15.9965);
        g.co2 = balance() + g.co2 - g.ch;
        if (g.co2 < 0.0) {
          g.co2 = 0.0;
          g.ch = balance();
          r.flags |= kCO2 | kRelDensityConflict;
        }
      }
      H = (hmol - kHH2 * g.h2 - kHCO * g.co) / g.ch;
      if (!(H >= 0.0)) {
        H = 0.0;
        r.flags |= kHeatingValueConflict;
      }
      const Virial vg = Coefficients(ref.tG, H, Of(g));
      const Virial vd = Coefficients(ref.tD, H, Of(g));
      r.flags |= vg.flags | vd.flags;
      const double Znew = 1.0 + vg.B / rtG;
      Zd = 1.0 + vd.B / rtD;
      done = std::fabs(Zg / Znew - 1.0) < kZtol;
      Zg = Znew;
    }
  }
  if (!done) r.flags |= kIterationLimit;
  if (!std::isfinite(H)) {
    H = 0.0;
    r.flags |= kHeatingValueConflict;
  }

  const Virial v = Coefficients(T, H, Of(g));
  r.flags |= v.flags;
  r.H = H;
  r.B = v.B;
  r.C = v.C;
  r.D = SolveDensity(P, T, v.B, v.C, r.flags);
  r.Z = 1.0 + (v.B + v.C * r.D) * r.D;

  const double hgas = g.ch * H + kHH2 * g.h2 + kHCO * g.co;  // MJ/kmol of the whole gas
  g.hng = hgas * 1e6;
  g.mrg = M;
  // Derived inputs at their own reference states: hs at the density reference (referred back
  // to its combustion temperature), gr at the gas volume reference.
  if (code == GCN) {
    const Virial vd = Coefficients(ref.tD, H, Of(g));
    g.hs = hgas / fac / (rtD + vd.B) * 1e6;
  } else if (code == HCN) {
    const Virial vg = Coefficients(ref.tG, H, Of(g));
    g.gr = M / (rtG + vg.B) / rhoAir;
  }
  if (std::fabs(1.0 - g.ch - g.co2 - g.n2 - g.co - g.h2) > 0.0001) r.flags |= kFractionSum;
  return r;
}

Solution Base(int code, double P, double T, const Sref& ref, Gross& g, Cache& cache) {
  if (!IsSgerg(code)) Raise(kModule, "SGERG.ZrefTPinit() illegal method", 0);
  const RefResult r = RefProps(code, P, T, ref, g);
  cache.HNch = r.H;
  cache.virB = r.B;
  cache.virC = r.C;
  cache.Tt = T;
  Solution s;
  s.D = r.D;
  s.Z = r.Z;
  s.flags = static_cast<std::uint16_t>(r.flags | ZdRanges(code, g));
  return s;
}

Solution Flowing(double P, double T, const Gross& g, Cache& cache) {
  Solution s;
  s.flags = StateRanges(P, T);
  if (T != cache.Tt) {
    const Virial v = Coefficients(T, cache.HNch, Of(g));
    s.flags |= v.flags;
    cache.virB = v.B;
    cache.virC = v.C;
    cache.Tt = T;
  }
  s.D = SolveDensity(P, T, cache.virB, cache.virC, s.flags);
  s.Z = 1.0 + (cache.virB + cache.virC * s.D) * s.D;
  return s;
}

std::string SGERGerrorText(int code) {
  static constexpr std::array<const char*, 16> kTexts = {
      "pressure out of range",
      "temperature out of range",
      "relative density out of range",
      "heating value out of range",
      "incorrect mole fraction sum",
      "xN2 out of range",
      "xCO2 out of range",
      "xH2 out of range",
      "xCO out of range",
      "rel dens conflicts with composition",
      "failed to bracket root",
      "root finder failed to converge",
      "invalid virial coefficient B",
      "invalid virial coefficient C",
      "iteration limit reached",
      "heating value conflicts with composition"};
  if (code < 0 || code >= static_cast<int>(kTexts.size())) return "extremely impossible error";
  return kTexts[static_cast<std::size_t>(code)];
}

}  // namespace qmx::SGERG
