// Compressibility of natural gas from its gross characteristics by the SGERG-88 virial equation
// (ISO 12213-3, GERG TM5): the pseudo-component characterisation of the four input variants,
// the range checks, and the density at any state.
#pragma once

#include <cstdint>
#include <string>

namespace qmx::SGERG {

inline constexpr const char* kModule = "SGERG";
inline constexpr double kR = 8314.51;  // J/(kmol K)

// Z method codes of the four input variants.
enum Variant : int { GCN = 4, HCN = 5, GHC = 6, GHN = 7 };

// Error flag bits (the same bits as the gas engine's omens).
enum Flag : std::uint16_t {
  kPressure = 1u << 0,
  kTemperature = 1u << 1,
  kRelDensity = 1u << 2,
  kHeatingValue = 1u << 3,
  kFractionSum = 1u << 4,
  kN2 = 1u << 5,
  kCO2 = 1u << 6,
  kH2 = 1u << 7,
  kCO = 1u << 8,
  kRelDensityConflict = 1u << 9,
  kNoBracket = 1u << 10,
  kNoConverge = 1u << 11,
  kVirialB = 1u << 12,
  kVirialC = 1u << 13,
  kIterationLimit = 1u << 14,
  kHeatingValueConflict = 1u << 15,
};

// Reference conditions: combustion temperature, density reference, gas volume reference.
struct Sref {
  double tH = 298.15, tD = 273.15, pD = 101325.0, tG = 273.15, pG = 101325.0;
};

// Gross characteristics, in the order of the mix's GROSS section. Fractions are mole fractions,
// mrg kg/kmol, hng J/kmol, hs J/m3.
struct Gross {
  double ch = 0, co2 = 0, n2 = 0, co = 0, h2 = 0, gr = 0, mrg = 0, hng = 0, hs = 0;
};

// Composition of the five-component virial model: pseudo-component, N2, CO2, H2, CO.
struct Mixture {
  double ch = 0, n2 = 0, co2 = 0, h2 = 0, co = 0;
};

struct Virial {
  double B = 0, C = 0;  // m3/kmol, m6/kmol2
  std::uint16_t flags = 0;
};

// Second and third virial coefficients of the mixture at T (K) for pseudo-component heating
// value H (MJ/kmol). A negative product under a root sets kVirialB or kVirialC.
Virial Coefficients(double T, double H, const Mixture& x);

// Density (kmol/m3) solving P = (1 + B D + C D^2) D R T; flags kNoBracket (D = 0) or kNoConverge.
double SolveDensity(double P, double T, double B, double C, std::uint16_t& flags);

struct RefResult {
  double H = 0;  // molar heating value of the pseudo-component, MJ/kmol
  double B = 0, C = 0, D = 0, Z = 1;
  std::uint16_t flags = 0;
};

// Characterises the gas of variant `code` from the gross values (filling ch, the missing inert,
// mrg, hng and the derived hs or gr) and returns B, C, D and Z at (P Pa, T K). A code outside
// 4 to 7 raises "SGERG.RefProps() illegal ZMethod".
RefResult RefProps(int code, double P, double T, const Sref& ref, Gross& g);

// Input range and consistency flags of variant `code`; a code outside 4 to 7 raises
// "SGERG.ZdRanges() illegal ZMethod".
std::uint16_t ZdRanges(int code, const Gross& g);

// Flag of a state outside the pressure (bit 0) and temperature (bit 1) ranges.
std::uint16_t StateRanges(double P, double T);

// Virial coefficients cached against the last flowing temperature.
struct Cache {
  double HNch = 0, virB = 0, virC = 0;
  double Tt = -1.0;
};

struct Solution {
  double D = 0, Z = 1;
  std::uint16_t flags = 0;
};

// Base procedure: characterise at (P, T) and leave the cache's temperature at T so that a later
// flowing call at another temperature recomputes the coefficients.
Solution Base(int code, double P, double T, const Sref& ref, Gross& g, Cache& cache);

// Flowing procedure on a characterised gas: range flags of the state, coefficients reused while
// T equals the cached temperature, Z = 1 + B D + C D^2.
Solution Flowing(double P, double T, const Gross& g, Cache& cache);

// Text of one flag bit; "extremely impossible error" for any other code.
std::string SGERGerrorText(int code);

}  // namespace qmx::SGERG
