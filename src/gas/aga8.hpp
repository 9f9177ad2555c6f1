// Compressibility and molar density of natural gas by the detail characterisation method of
// AGA Report No. 8 (1994): composition and temperature caches, the pressure residual and the
// bracketed density solution.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qmx::AGA892 {

inline constexpr const char* kModule = "AGA892";
inline constexpr int kCount = 21;  // components in AGA-8 order
// Gas constant of the report in MJ/(kmol K); pressures inside are MPa, densities kmol/m3.
inline constexpr double kR = 0.00831451;
// Marks the temperature-dependent cache as invalid.
inline constexpr double kInvalidT = -999.999;

// Omens bits raised by the density solution (same bits as the gas engine's omens).
inline constexpr std::uint16_t kOmenNoBracket = 1u << 10;   // "failed to bracket root,"
inline constexpr std::uint16_t kOmenNoConverge = 1u << 11;  // "root finder failed to converge,"

// One term of the 58-term equation; u2 is twice the temperature exponent u (all are halves).
struct Term {
  double a;
  int b, c, k, u2, g, q, f, s, w;
};
// Characterisation parameters of one component.
struct Component {
  double M, E, K, G, Q, F, S, W;
};
// Binary interaction parameters of a non-default pair (zero-based i < j).
struct Binary {
  int i, j;
  double E, U, K, G;
};

extern const std::array<Term, 59> kTerms;  // index 0 unused
extern const std::array<Component, 21> kComponents;
extern const std::array<Binary, 61> kBinary;

// The method-private area of a mix: composition, its characterisation and the terms at Told.
struct Cache {
  std::array<double, 21> Xz{};
  std::array<bool, 21> NZz{};
  double Told = kInvalidT;
  double K3 = 0.0;
  double vB = 0.0;
  std::array<double, 59> Cstar{};  // 13..58 used
  std::array<double, 19> Bstar{};  // 1..18 used
  std::array<double, 59> CT{};     // 13..58 used: Cstar[n] / T^u_n at Told
  double U = 0.0, G = 0.0, Q = 0.0, F = 0.0;
  double M = 0.0;  // molar mass of the characterised gas, kg/kmol
  // The composition last characterised, as given and as normalised; the terms above hold for it.
  std::array<double, 21> Xgiven{};
  std::array<double, 21> Xnormalised{};
  bool characterised = false;
};

// Terms valid at one temperature: the second virial coefficient and the C*_n(T).
struct TempTerms {
  double B = 0.0;
  std::array<double, 59> CT{};
};

struct Solution {
  double D = 0.0;  // molar density, kmol/m3
  double Z = 1.0;
  std::uint16_t omens = 0;
  int widenings = 0;  // bracket widening steps the solution needed
};

// Characterises the composition x (AGA-8 component order, normalised here if it does not sum
// to one) into the cache and invalidates the temperature terms. The composition terms cost
// thousands of powers, so a composition equal to the last one given keeps them, with their
// temperature terms, and restores its normalised fractions.
void Characterise(Cache& cache, std::span<const double, 21> x);

// Second virial coefficient and temperature-dependent C*_n at T (K).
void TemperatureTerms(const Cache& cache, double T, TempTerms& out);

// Brings the cache's temperature terms to T, reusing them when T equals Told.
void EnsureTemperature(Cache& cache, double T);

// Compressibility at molar density D (kmol/m3) with the terms B, CT valid at the solve's T.
double Zfactor(const Cache& cache, double B, const std::array<double, 59>& CT, double D);

// Molar density at P (MPa) and T (K) with the terms B, CT valid at T: bracket, Brent
// refinement, Newton polish. Never raises; a failed bracket or refinement is reported through
// the omens with the last iterate.
Solution SolveDensityBracketed(const Cache& cache, double B, const std::array<double, 59>& CT,
                               double P_MPa, double T);

// The same root by Newton steps from start (kmol/m3; when not positive, the density of the
// equation truncated after the second virial term),
// falling back to the bracketed solution when a step leaves the interval known to hold the
// root or the steps do not settle.
Solution SolveDensity(const Cache& cache, double B, const std::array<double, 59>& CT, double P_MPa,
                      double T, double start = 0.0);

// Base procedure: characterise x, solve at (P Pa, T K) with terms of its own, Z = P/(D R T).
// The flowing terms stay valid unless the composition changed.
Solution Base(Cache& cache, std::span<const double, 21> x, double P_Pa, double T);

// Flowing procedure at (P Pa, T K) on a characterised cache: reuses the terms when T equals
// Told, else recomputes them; Z from the equation at the solved density.
Solution Flowing(Cache& cache, double P_Pa, double T);

// Molar mass (kg/kmol) of a composition in AGA-8 order with the report's molar masses.
double MolarMass(std::span<const double, 21> x);

// T^u_n of the second-virial terms n = 1..18 by products of T and its square root; any other
// n raises "AGA892.PowUn()".
double PowUn(int n, double T);

// Number of residual evaluations since the last call (per thread).
int TakeEvaluations();

}  // namespace qmx::AGA892
