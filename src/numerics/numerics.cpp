#include "numerics/numerics.hpp"

#include <climits>
#include <cmath>
#include <vector>

#include "numerics/error.hpp"

namespace qmx::Numerics {
namespace {

thread_local int iterations = 0;

constexpr int kBracketTries = 50;
constexpr int kRootIterations = 100;

void CheckTable(int n, std::size_t ya, std::size_t xa, const char* message, int code) {
  // A table needs at least one point and must not run past either array.
  if (n < 1 || static_cast<std::size_t>(n) >= ya || static_cast<std::size_t>(n) >= xa) {
    Raise(kModule, message, code);
  }
}

}  // namespace

int TakeIterations() noexcept {
  const int n = iterations;
  iterations = 0;
  return n;
}

bool Bracket(double& x1, double& x2, void* context, RootFn f) {
  double f1 = 0.0;
  double f2 = 0.0;
  f(f1, context, x1);
  f(f2, context, x2);
  for (int j = 0; j < kBracketTries; ++j) {
    iterations = j + 1;
    if (f1 * f2 < 0.0) return true;
    if (std::fabs(f1) <= std::fabs(f2)) {
      x1 += 1.6 * (x1 - x2);
      f(f1, context, x1);
    } else {
      x2 += 1.6 * (x2 - x1);
      f(f2, context, x2);
    }
  }
  iterations = kBracketTries + 1;
  return f1 * f2 < 0.0;
}

double Broot(double tol, double x1, double x2, void* context, RootFn f) {
  double a = x1;
  double b = x2;
  double c = x2;
  double d = 0.0;
  double e = 0.0;
  double fa = 0.0;
  double fb = 0.0;
  f(fa, context, a);
  f(fb, context, b);
  if (fa * fb > 0.0 || std::isnan(fa * fb)) Raise(kModule, "Numerics.Broot() - root not bracketed", 1);
  double fc = fb;
  for (int iter = 1; iter <= kRootIterations; ++iter) {
    iterations = iter;
    if (fb * fc > 0.0) {
      c = a;
      fc = fa;
      d = b - a;
      e = d;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol1 = 0.5 * tol + 1.0002e-12 * std::fabs(b);
    const double xm = 0.5 * (c - b);
    if (std::fabs(xm) <= tol1 || fb == 0.0) return b;
    if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
      const double s = fb / fa;
      double p = 0.0;
      double q = 0.0;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        q = fa / fc;
        const double r = fb / fc;
        p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
        q = (q - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0) q = -q;
      p = std::fabs(p);
      const double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
      const double min2 = std::fabs(e * q);
      if (2.0 * p < (min1 < min2 ? min1 : min2)) {
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
    if (std::fabs(d) > tol1) {
      b += d;
    } else {
      b += std::copysign(tol1, xm);
    }
    f(fb, context, b);
  }
  Raise(kModule, "Numerics.Broot() - max iterations exceeded", 2);
}

double Nroot(double tol, double x1, double x2, void* context, RootDerivFn g) {
  double fl = 0.0;
  double fh = 0.0;
  double df = 0.0;
  g(df, fl, context, x1);
  g(df, fh, context, x2);
  if (!((fl < 0.0 && fh > 0.0) || (fl > 0.0 && fh < 0.0))) {
    Raise(kModule, "Numerics.Nroot() - root not bracketed", 1);
  }
  double xl = x1;
  double xh = x2;
  if (fl > 0.0) {
    xl = x2;
    xh = x1;
  }
  double x = 0.5 * (x1 + x2);
  double dxold = std::fabs(x2 - x1);
  double dx = dxold;
  double fx = 0.0;
  g(df, fx, context, x);
  for (int iter = 1; iter <= kRootIterations; ++iter) {
    iterations = iter;
    if (((df * (x - xh) - fx) * (df * (x - xl) - fx) >= 0.0) || (std::fabs(2.0 * fx) > std::fabs(dxold * df))) {
      dxold = dx;
      dx = 0.5 * (xh - xl);
      const double previous = x;
      x = xl + dx;
      if (previous == x) return x;
    } else {
      dxold = dx;
      dx = fx / df;
      const double previous = x;
      x -= dx;
      if (previous == x) return x;
    }
    if (std::fabs(dx) < tol) return x;
    g(df, fx, context, x);
    if (fx < 0.0) {
      xl = x;
    } else {
      xh = x;
    }
  }
  Raise(kModule, "Numerics.Nroot() - max iterations exceeded", 2);
}

void Linterp(double& y, double x, int n, std::span<const double> ya, std::span<const double> xa) {
  CheckTable(n, ya.size(), xa.size(), "Numerics.Linterp() - n out of bounds", 3);
  if (x < xa[1]) {
    y = ya[1];
    return;
  }
  if (x >= xa[n]) {
    y = ya[n];
    return;
  }
  for (int i = 2; i <= n; ++i) {
    if (x < xa[i]) {
      const double span = xa[i] - xa[i - 1];
      y = span == 0.0 ? ya[i] : ya[i - 1] + (ya[i] - ya[i - 1]) * (x - xa[i - 1]) / span;
      return;
    }
  }
  y = ya[n];  // only reached for a NaN argument
}

void Rinterp(double& dy, double& y, double x, int n, std::span<const double> ya, std::span<const double> xa) {
  CheckTable(n, ya.size(), xa.size(), "Numerics.Rinterp() - n out of bounds", 3);
  if (x < xa[1]) {
    y = ya[1];
    dy = 0.0;
    return;
  }
  if (x >= xa[n]) {
    y = ya[n];
    dy = 0.0;
    return;
  }
  constexpr double kTiny = 1.0e-25;
  std::vector<double> c(static_cast<std::size_t>(n) + 1);
  std::vector<double> d(static_cast<std::size_t>(n) + 1);
  int ns = 1;
  double hh = std::fabs(x - xa[1]);
  for (int i = 1; i <= n; ++i) {
    const double h = std::fabs(x - xa[i]);
    if (h == 0.0) {
      y = ya[i];
      dy = 0.0;
      return;
    }
    if (h < hh) {
      ns = i;
      hh = h;
    }
    c[i] = ya[i];
    d[i] = ya[i] + kTiny;
  }
  y = ya[ns--];
  dy = 0.0;
  for (int m = 1; m < n; ++m) {
    for (int i = 1; i <= n - m; ++i) {
      const double w = c[i + 1] - d[i];
      const double h = xa[i + m] - x;
      const double t = (xa[i] - x) * d[i] / h;
      double dd = t - c[i + 1];
      if (dd == 0.0) Raise(kModule, "Numerics.Rinterp() - interpolation failed", 4);
      dd = w / dd;
      d[i] = c[i + 1] * dd;
      c[i] = t * dd;
    }
    dy = (2 * ns < (n - m)) ? c[ns + 1] : d[ns--];
    y += dy;
  }
}

void DP2(double& y, int aboveMode, int belowMode, double x, int n, std::span<double> ya, std::span<double> xa) {
  CheckTable(n, ya.size(), xa.size(), "Numerics.DP2() - n out of bounds", 4);
  xa[0] = 0.0;
  ya[0] = 0.0;
  auto segment = [&](int i) {  // straight line through points i-1 and i
    const double span = xa[i] - xa[i - 1];
    return span == 0.0 ? ya[i] : ya[i - 1] + (ya[i] - ya[i - 1]) * (x - xa[i - 1]) / span;
  };
  if (x > xa[n]) {
    y = aboveMode >= 2 ? segment(n) : ya[n];
    return;
  }
  if (x < xa[1]) {
    if (belowMode == 1) {
      y = ya[1];
    } else if (belowMode == 2) {
      y = (n >= 2 && xa[1] != 0.0) ? ya[1] + (ya[2] - ya[1]) * (xa[1] - x) / xa[1] : ya[1];
    } else {
      y = xa[1] != 0.0 ? ya[1] * x / xa[1] : ya[1];
    }
    return;
  }
  int i = 1;
  while (i < n && xa[i] < x) ++i;
  y = segment(i);
}

double Floor(double x) { return std::floor(x); }
double Ceil(double x) { return std::ceil(x); }
double Int(double x) { return std::trunc(x); }
double Frac(double x) { return x - std::trunc(x); }
double Sign(double x) { return x > 0.0 ? 1.0 : (x < 0.0 ? -1.0 : 0.0); }

double RoundTo(double value, double quantum) {
  if (value == 0.0 || quantum == 0.0) return value;
  if (value > 0.0) return quantum * Int(value / quantum + 0.5 + quantum / 100000.0);
  return quantum * Int(value / quantum - 0.5 - quantum / 100000.0);
}

void RoundInPlace(double& value, double quantum) { value = RoundTo(value, quantum); }

double RoundSymmetric(double value, double quantum) {
  if (quantum == 0.0) return value;
  return Sign(value) * quantum * Int(0.5 + std::fabs(value) / quantum);
}

double RoundUnbiased(double value, double quantum) {
  if (quantum == 0.0) return value;
  const double r = value / quantum;
  double t = Int(r);
  const double f = std::fabs(Frac(r));
  const bool odd = Frac(t / 2.0) != 0.0;
  if (f > 0.5 || (f > 0.4999999999999301 && f < 0.50000000000008 && odd)) t += Sign(value);
  return quantum * t;
}

double RoundRelative(double value, double quantum) {
  if (value == 0.0) return 0.0;
  double m = std::fabs(quantum * value);
  if (!std::isfinite(m) || m == 0.0) return value;
  int e = 0;
  while (m < 1.0) {
    m *= 10.0;
    --e;
  }
  while (m > 10.0) {
    m /= 10.0;
    ++e;
  }
  const double base = m < 2.0 ? 1.0 : (m < 5.0 ? 2.0 : 5.0);
  const double step = base * std::pow(10.0, e);
  if (value >= 0.0) return step * Int(value / step + 0.5);
  return step * Int(value / step - 0.5);
}

double RoundTruncate(double value, double quantum) {
  if (quantum == 0.0) quantum = 1.0;
  return quantum * Int(value / quantum);
}

double IntPow(int n, double x) {
  unsigned long long k = n < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(n))
                                : static_cast<unsigned long long>(n);
  double result = 1.0;
  double square = x;
  while (k != 0) {
    if (k & 1ULL) result *= square;
    square *= square;
    k >>= 1;
  }
  return n < 0 ? 1.0 / result : result;
}

double Pow(double exponent, double base) {
  if (base == 0.0) return 0.0;
  if (exponent == 0.0) return 1.0;
  if (exponent == 1.0) return base;
  if (base > 0.0) return std::exp(exponent * std::log(base));
  if (std::isfinite(exponent) && exponent == std::trunc(exponent)) {
    if (std::fabs(exponent) <= static_cast<double>(INT_MAX)) return IntPow(static_cast<int>(exponent), base);
    return std::pow(base, exponent);
  }
  Raise(kMathModule, "Pow() domain", 1);
}

double Log(double x, double base) {
  if (!(x > 0.0)) Raise(kMathModule, "Log() domain", 3);
  return std::log(x) / std::log(base);
}

double Log10(double x) {
  if (!(x > 0.0)) Raise(kMathModule, "Log10() domain", 2);
  return std::log(x) / std::log(10.0);
}

}  // namespace qmx::Numerics
