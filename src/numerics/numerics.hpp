#pragma once
// Shared numerical building blocks: root bracketing and finding, table
// interpolation and a small mathematics library with domain errors.
// Tables are indexed from 1: element 0 of xa and ya is not a table point.
#include <span>
#include <type_traits>
#include <utility>

namespace qmx::Numerics {

inline constexpr const char* kModule = "Numerics";
inline constexpr const char* kMathModule = "MathLib";

// A root function stores f(x) in fx; context is handed back unchanged.
using RootFn = void (*)(double& fx, void* context, double x);
// A root function that also returns the derivative.
using RootDerivFn = void (*)(double& dfdx, double& fx, void* context, double x);

// Widens [x1, x2] outward until f changes sign (at most 51 tests). Never raises.
bool Bracket(double& x1, double& x2, void* context, RootFn f);
// Brent's method. Raises "Numerics.Broot() - root not bracketed" (1) and
// "Numerics.Broot() - max iterations exceeded" (2).
double Broot(double tol, double x1, double x2, void* context, RootFn f);
// Newton-Raphson kept inside the bracket. Raises codes 1 and 2 like Broot.
double Nroot(double tol, double x1, double x2, void* context, RootDerivFn g);

// Iterations of the last bracket widening or root search on this thread; reading resets it.
int TakeIterations() noexcept;

// Callable forms: f is any object with double f(double x) (or, for Nroot,
// std::pair<double,double> f(double x) returning {f(x), f'(x)}).
template <class F>
bool Bracket(double& x1, double& x2, F& f) {
  return Bracket(x1, x2, static_cast<void*>(&f), [](double& fx, void* c, double x) { fx = (*static_cast<F*>(c))(x); });
}
template <class F>
double Broot(double tol, double x1, double x2, F& f) {
  return Broot(tol, x1, x2, static_cast<void*>(&f), [](double& fx, void* c, double x) { fx = (*static_cast<F*>(c))(x); });
}
template <class F>
double Nroot(double tol, double x1, double x2, F& f) {
  return Nroot(tol, x1, x2, static_cast<void*>(&f), [](double& dfdx, double& fx, void* c, double x) {
    auto r = (*static_cast<F*>(c))(x);
    fx = r.first;
    dfdx = r.second;
  });
}

// Linear interpolation in a 1-indexed table of n points; clamps outside. Raises code 3 when n is too large.
void Linterp(double& y, double x, int n, std::span<const double> ya, std::span<const double> xa);
// Diagonal rational interpolation through all n points; dy is an error estimate.
// Raises "n out of bounds" (3) and "interpolation failed" (4).
void Rinterp(double& dy, double& y, double x, int n, std::span<const double> ya, std::span<const double> xa);
// Piecewise-linear curve through the origin; writes 0 into element 0 of both tables.
void DP2(double& y, int aboveMode, int belowMode, double x, int n, std::span<double> ya, std::span<double> xa);

double Floor(double x);
double Ceil(double x);
double Int(double x);
double Frac(double x);
double Sign(double x);
// Half away from zero with a bias of quantum/100000 away from zero.
double RoundTo(double value, double quantum);
// The same rounding applied to a variable in place (the "API absolute" rounding).
void RoundInPlace(double& value, double quantum);
double RoundSymmetric(double value, double quantum);
double RoundUnbiased(double value, double quantum);
double RoundRelative(double value, double quantum);
double RoundTruncate(double value, double quantum);

double IntPow(int n, double x);
// base^exponent; raises "Pow() domain" (1) for a negative base with a fractional exponent.
double Pow(double exponent, double base);
// Logarithm of x to the base; raises "Log() domain" (3) for x <= 0.
double Log(double x, double base);
// Raises "Log10() domain" (2) for x <= 0.
double Log10(double x);

}  // namespace qmx::Numerics
