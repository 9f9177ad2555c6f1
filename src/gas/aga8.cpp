#include "gas/aga8.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/error.hpp"

namespace qmx::AGA892 {
namespace {

thread_local int t_evaluations = 0;

// Binary parameters as full symmetric 21 x 21 matrices, default 1.
struct BinaryMatrix {
  std::array<std::array<double, 21>, 21> E, U, K, G;
};

const BinaryMatrix& Binaries() {
  static const BinaryMatrix m = [] {
    BinaryMatrix b{};
    for (auto* t : {&b.E, &b.U, &b.K, &b.G})
      for (auto& row : *t) row.fill(1.0);
    for (const Binary& p : kBinary) {
      b.E[p.i][p.j] = b.E[p.j][p.i] = p.E;
      b.U[p.i][p.j] = b.U[p.j][p.i] = p.U;
      b.K[p.i][p.j] = b.K[p.j][p.i] = p.K;
      b.G[p.i][p.j] = b.G[p.j][p.i] = p.G;
    }
    return b;
  }();
  return m;
}

// A switched factor of the equation: the value when the switch is on, 1 when it is off.
inline double Switch(int on, double value) { return on ? value : 1.0; }

// T^(m/2) for the half-integer exponents of the equation: whole powers from running products of T
// and of 1/T, times the square root of T for the odd m.
struct HalfPowers {
  static constexpr int kMinWhole = -13, kMaxWhole = 23;
  std::array<double, kMaxWhole - kMinWhole + 1> whole{};  // T^-13 .. T^23
  std::array<double, 2> half{};                           // 1, sqrt(T)
  explicit HalfPowers(double T) {
    constexpr std::size_t zero = -kMinWhole;
    whole[zero] = 1.0;
    for (std::size_t i = 1; i <= kMaxWhole; ++i) whole[zero + i] = whole[zero + i - 1] * T;
    const double inv = 1.0 / T;
    for (std::size_t i = 1; i <= zero; ++i) whole[zero - i] = whole[zero - i + 1] * inv;
    half = {1.0, std::sqrt(T)};
  }
  // Where T^(u2/2) of a term is found: its whole power and its half factor.
  struct Index {
    std::size_t whole, half;
  };
  static Index Of(int u2) {
    const int w = (u2 % 2 == 0) ? u2 / 2 : (u2 - 1) / 2;
    return {static_cast<std::size_t>(w - kMinWhole), static_cast<std::size_t>(u2 % 2 != 0)};
  }
  double operator()(Index i) const { return whole[i.whole] * half[i.half]; }
};

// The temperature exponent of every term, located once.
const std::array<HalfPowers::Index, 59>& TermPowers() {
  static const std::array<HalfPowers::Index, 59> index = [] {
    std::array<HalfPowers::Index, 59> out{};
    for (std::size_t n = 1; n <= 58; ++n) out[n] = HalfPowers::Of(kTerms[n].u2);
    return out;
  }();
  return index;
}

// Compressibility and its density derivative dZ/dD at molar density D.
struct ZAndSlope {
  double Z, dZdD;
};

// The density terms 13..58 with their exponents as the doubles and table positions Evaluate uses,
// so its loop has no branches or conversions; the arithmetic is the same, term by term.
struct DensityTerm {
  double b, ck, bb, twobk, ckck;  // b, c k, b^2, 2 b + k, (c k)^2
  std::size_t ib, ie, ik;         // Dr^b position, exp(-Dr^k) position, Dr^k position (10 holds 0)
};

const std::array<DensityTerm, 46>& DensityTerms() {
  static const std::array<DensityTerm, 46> terms = [] {
    std::array<DensityTerm, 46> out{};
    for (std::size_t n = 13; n <= 58; ++n) {
      const Term& t = kTerms[n];
      DensityTerm& d = out[n - 13];
      d.b = t.b;
      d.ck = t.c * t.k;
      d.bb = t.b * t.b;
      d.twobk = 2.0 * t.b + t.k;
      d.ckck = d.ck * d.ck;
      d.ib = static_cast<std::size_t>(t.b);
      d.ie = static_cast<std::size_t>(t.c ? t.k : 0);
      d.ik = t.c ? static_cast<std::size_t>(t.k) : 10;
    }
    return out;
  }();
  return terms;
}

ZAndSlope Evaluate(const Cache& c, double B, const std::array<double, 59>& CT, double D) {
  ++t_evaluations;
  const std::array<DensityTerm, 46>& terms = DensityTerms();
  const double Dr = c.K3 * D;
  std::array<double, 11> pw{};  // Dr^0 .. Dr^9, then 0 for the terms without an exponential
  pw[0] = 1.0;
  for (std::size_t i = 1; i < 10; ++i) pw[i] = pw[i - 1] * Dr;
  pw[10] = 0.0;
  // exp(-Dr^k) for k = 1..4, shared by every term with that k; k = 0 terms have c = 0.
  const std::array<double, 5> ex = {1.0, std::exp(-pw[1]), std::exp(-pw[2]), std::exp(-pw[3]),
                                    std::exp(-pw[4])};
  double c1 = 0.0;
  for (std::size_t n = 13; n <= 18; ++n) c1 += CT[n];
  double s2 = 0.0, slope = 0.0;
  for (std::size_t i = 0; i < terms.size(); ++i) {
    const DensityTerm& t = terms[i];
    const double ct = CT[i + 13];
    const double e = ex[t.ie];
    const double drk = pw[t.ik];
    s2 += ct * (t.b - t.ck * drk) * pw[t.ib] * e;
    // d/dDr of (b - c k Dr^k) Dr^b exp(-c Dr^k)
    slope += ct * pw[t.ib - 1] * e * (t.bb - t.ck * drk * t.twobk + t.ckck * drk * drk);
  }
  const double Z = 1.0 + B * D - Dr * c1 + s2;
  const double dZdD = B + c.K3 * (slope - c1);
  return {Z, dZdD};
}

}  // namespace

int TakeEvaluations() {
  const int n = t_evaluations;
  t_evaluations = 0;
  return n;
}

double PowUn(int n, double T) {
  if (n < 1 || n > 18) Raise(kModule, "AGA892.PowUn()", 0);
  const int u2 = kTerms[static_cast<std::size_t>(n)].u2;
  const double root = std::sqrt(T);
  const int whole = (u2 % 2 == 0) ? u2 / 2 : (u2 - 1) / 2;
  double p = 1.0;
  const double base = whole >= 0 ? T : 1.0 / T;
  for (int i = 0; i < (whole >= 0 ? whole : -whole); ++i) p *= base;
  if (u2 % 2 != 0) p *= root;
  return p;
}

double MolarMass(std::span<const double, 21> x) {
  double m = 0.0;
  for (std::size_t i = 0; i < kComponents.size(); ++i) m += x[i] * kComponents[i].M;
  return m;
}

void Characterise(Cache& c, std::span<const double, 21> x) {
  if (c.characterised && std::equal(x.begin(), x.end(), c.Xgiven.begin())) {
    c.Xz = c.Xnormalised;
    for (std::size_t i = 0; i < 21; ++i) c.NZz[i] = c.Xz[i] > 0.0;
    return;
  }
  std::copy(x.begin(), x.end(), c.Xgiven.begin());
  double sum = 0.0;
  for (double v : x)
    if (std::isfinite(v) && v > 0.0) sum += v;
  for (std::size_t i = 0; i < 21; ++i) {
    const double v = x[i];
    c.Xz[i] = (std::isfinite(v) && v > 0.0 && sum > 0.0) ? v / sum : 0.0;
    c.NZz[i] = c.Xz[i] > 0.0;
  }
  c.Xnormalised = c.Xz;
  c.characterised = true;
  const BinaryMatrix& bin = Binaries();
  const auto& comp = kComponents;
  double k5 = 0.0, u5 = 0.0, g = 0.0, q = 0.0, f = 0.0;
  double ksum = 0.0, usum = 0.0;
  for (std::size_t i = 0; i < 21; ++i) {
    if (!c.NZz[i]) continue;
    const double xi = c.Xz[i];
    ksum += xi * std::pow(comp[i].K, 2.5);
    usum += xi * std::pow(comp[i].E, 2.5);
    g += xi * comp[i].G;
    q += xi * comp[i].Q;
    f += xi * xi * comp[i].F;
  }
  k5 = ksum * ksum;
  u5 = usum * usum;
  for (std::size_t i = 0; i < 21; ++i) {
    if (!c.NZz[i]) continue;
    for (std::size_t j = i + 1; j < 21; ++j) {
      if (!c.NZz[j]) continue;
      const double xij = c.Xz[i] * c.Xz[j];
      k5 += 2.0 * xij * (std::pow(bin.K[i][j], 5) - 1.0) * std::pow(comp[i].K * comp[j].K, 2.5);
      u5 += 2.0 * xij * (std::pow(bin.U[i][j], 5) - 1.0) * std::pow(comp[i].E * comp[j].E, 2.5);
      g += xij * (bin.G[i][j] - 1.0) * (comp[i].G + comp[j].G);
    }
  }
  c.K3 = std::pow(k5, 0.6);
  c.U = std::pow(u5, 0.2);
  c.G = g;
  c.Q = q;
  c.F = f;
  c.M = MolarMass(c.Xz);

  c.Bstar.fill(0.0);
  c.Cstar.fill(0.0);
  c.Told = kInvalidT;
  if (!(sum > 0.0)) return;  // an empty slate leaves every term zero: the ideal gas
  for (std::size_t i = 0; i < 21; ++i) {
    if (!c.NZz[i]) continue;
    for (std::size_t j = 0; j < 21; ++j) {
      if (!c.NZz[j]) continue;
      const Component& a = comp[i];
      const Component& b = comp[j];
      const double xij = c.Xz[i] * c.Xz[j];
      const double eij = bin.E[i][j] * std::sqrt(a.E * b.E);
      const double gij = bin.G[i][j] * (a.G + b.G) / 2.0;
      const double kk = std::pow(a.K * b.K, 1.5);
      for (std::size_t n = 1; n <= 18; ++n) {
        const Term& t = kTerms[n];
        const double bn = Switch(t.g, gij) * Switch(t.q, a.Q * b.Q) *
                          Switch(t.f, std::sqrt(a.F) * std::sqrt(b.F)) * Switch(t.s, a.S * b.S) *
                          Switch(t.w, a.W * b.W);
        if (bn == 0.0) continue;
        c.Bstar[n] += xij * std::pow(eij, t.u2 / 2.0) * kk * bn;
      }
    }
  }
  for (std::size_t n = 13; n <= 58; ++n) {
    const Term& t = kTerms[n];
    c.Cstar[n] = t.a * Switch(t.g, c.G) * Switch(t.q, c.Q * c.Q) * Switch(t.f, c.F) *
                 std::pow(c.U, t.u2 / 2.0);
  }
  c.Told = kInvalidT;
}

void TemperatureTerms(const Cache& c, double T, TempTerms& out) {
  const HalfPowers tp(T);
  const std::array<HalfPowers::Index, 59>& at = TermPowers();
  double b = 0.0;
  for (std::size_t n = 1; n <= 18; ++n) b += kTerms[n].a * c.Bstar[n] / tp(at[n]);
  out.B = b;
  for (std::size_t n = 13; n <= 58; ++n) out.CT[n] = c.Cstar[n] / tp(at[n]);
}

void EnsureTemperature(Cache& c, double T) {
  if (T == c.Told) return;
  TempTerms t;
  TemperatureTerms(c, T, t);
  c.vB = t.B;
  c.CT = t.CT;
  c.Told = T;
}

double Zfactor(const Cache& c, double B, const std::array<double, 59>& CT, double D) {
  return Evaluate(c, B, CT, D).Z;
}

Solution SolveDensityBracketed(const Cache& c, double B, const std::array<double, 59>& CT, double P,
                               double T) {
  Solution s;
  if (!std::isfinite(P) || !std::isfinite(T) || P < 0.0 || T <= 0.0) {
    s.omens = kOmenNoBracket;
    return s;
  }
  if (P == 0.0) return s;
  const double RT = kR * T;
  auto f = [&](double D) { return D * RT * Evaluate(c, B, CT, D).Z - P; };

  // Start between half and twice the ideal-gas density, widening for eleven tries at most.
  double d1 = 2.0 * P / RT, d2 = 0.25 * d1;
  double f1 = f(d1), f2 = f(d2);
  for (; f1 * f2 > 0.0 && s.widenings < 11; ++s.widenings) {
    if (std::fabs(f2) <= std::fabs(f1)) {
      d2 *= 0.5;
      f2 = f(d2);
    } else {
      d1 *= 1.5;
      f1 = f(d1);
    }
  }
  if (!(f1 * f2 <= 0.0)) {
    s.D = std::fabs(f1) < std::fabs(f2) ? d1 : d2;
    s.Z = Evaluate(c, B, CT, s.D).Z;
    s.omens = kOmenNoBracket;
    return s;
  }

  // Brent's method: inverse quadratic interpolation with bisection fallback.
  double a = d2, fa = f2, b = d1, fb = f1, cc = a, fc = fa, d = b - a, e = d;
  bool converged = false;
  for (int it = 0; it < 20; ++it) {
    if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
      cc = a;
      fc = fa;
      d = e = b - a;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b; b = cc; cc = a;
      fa = fb; fb = fc; fc = fa;
    }
    const double tol1 = 6e-12 * std::fabs(b) + 5e-06;
    const double xm = 0.5 * (cc - b);
    if (std::fabs(xm) <= tol1 || fb == 0.0) {
      converged = true;
      break;
    }
    if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
      double p, q, r;
      const double sr = fb / fa;
      if (a == cc) {
        p = 2.0 * xm * sr;
        q = 1.0 - sr;
      } else {
        q = fa / fc;
        r = fb / fc;
        p = sr * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
        q = (q - 1.0) * (r - 1.0) * (sr - 1.0);
      }
      if (p > 0.0) q = -q;
      p = std::fabs(p);
      if (2.0 * p < std::min(3.0 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }
    a = b;
    fa = fb;
    b += std::fabs(d) > tol1 ? d : (xm > 0.0 ? tol1 : -tol1);
    fb = f(b);
  }
  if (!converged) s.omens = kOmenNoConverge;

  // The absolute tolerance above leaves low densities coarse: polish with Newton steps on the
  // analytic slope, kept inside the final bracket, so Z agrees with the exact root.
  const double lo = std::min(b, cc), hi = std::max(b, cc);
  double D = b;
  for (int it = 0; it < 8; ++it) {
    const ZAndSlope zs = Evaluate(c, B, CT, D);
    const double fx = D * RT * zs.Z - P;
    const double slope = RT * (zs.Z + D * zs.dZdD);
    if (!(slope > 0.0) || fx == 0.0) break;
    const double next = D - fx / slope;
    if (!(next >= lo && next <= hi)) break;
    const double step = std::fabs(next - D);
    D = next;
    if (step <= 4.0 * std::numeric_limits<double>::epsilon() * D) break;
  }
  s.D = D;
  s.Z = Evaluate(c, B, CT, D).Z;
  return s;
}

Solution SolveDensity(const Cache& c, double B, const std::array<double, 59>& CT, double P, double T,
                      double start) {
  if (!std::isfinite(P) || !std::isfinite(T) || !(P > 0.0) || !(T > 0.0))
    return SolveDensityBracketed(c, B, CT, P, T);
  const double RT = kR * T;
  // Newton steps on the pressure residual with the slope each evaluation yields. Every
  // evaluation narrows the interval the root lies in (the residual is -P at zero density); a
  // step that leaves it, a slope that is not positive or a slow run hands over to the
  // bracketing solution.
  double lo = 0.0, hi = std::numeric_limits<double>::infinity();
  double D = start;
  if (!(std::isfinite(start) && start > 0.0)) {
    // The root of the equation truncated after the second virial term, D RT (1 + B D) = P,
    // else the ideal-gas density.
    const double disc = 1.0 + 4.0 * B * P / RT;
    D = disc > 0.0 ? 2.0 * P / (RT * (1.0 + std::sqrt(disc))) : P / RT;
  }
  for (int it = 0; it < 12; ++it) {
    const ZAndSlope zs = Evaluate(c, B, CT, D);
    const double fx = D * RT * zs.Z - P;
    const double slope = RT * (zs.Z + D * zs.dZdD);
    if (!std::isfinite(fx) || !(slope > 0.0)) break;
    if (fx < 0.0) lo = std::max(lo, D);
    if (fx > 0.0) hi = std::min(hi, D);
    const double next = fx == 0.0 ? D : D - fx / slope;
    if (!(next > lo && next < hi) && fx != 0.0) break;
    // Convergence is quadratic: once the step is this small the error left after it is far
    // below a rounding unit, and Z follows the step to first order.
    if (std::fabs(next - D) <= 1e-10 * D) {
      Solution s;
      s.D = next;
      s.Z = zs.Z + zs.dZdD * (next - D);
      return s;
    }
    D = next;
  }
  return SolveDensityBracketed(c, B, CT, P, T);
}

Solution Base(Cache& c, std::span<const double, 21> x, double P_Pa, double T) {
  Characterise(c, x);
  Solution s;
  if (!(T > 0.0) || !std::isfinite(T)) {
    s.omens = kOmenNoBracket;
    return s;
  }
  TempTerms t;
  TemperatureTerms(c, T, t);
  const double P = P_Pa / 1e6;
  s = SolveDensity(c, t.B, t.CT, P, T);
  if (s.D > 0.0) s.Z = P / (s.D * kR * T);
  return s;
}

Solution Flowing(Cache& c, double P_Pa, double T) {
  if (!(T > 0.0) || !std::isfinite(T)) {
    Solution s;
    s.omens = kOmenNoBracket;
    return s;
  }
  EnsureTemperature(c, T);
  // Started from the virial estimate, not the last density, so a state's result does not
  // depend on what was solved before it.
  return SolveDensity(c, c.vB, c.CT, P_Pa / 1e6, T);
}

}  // namespace qmx::AGA892
