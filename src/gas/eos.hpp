// Built-in compressibility methods working from pseudocritical properties: the ideal gas law,
// the Standing-Katz chart as fitted by Dranchuk-Purvis-Robinson with the Wichert-Aziz sour-gas
// correction, and the Peng-Robinson cubic equation.
#pragma once

#include <cstdint>

namespace qmx::GAS1 {

inline constexpr double kEosR = 8314.51;        // J/(kmol K)
inline constexpr double kEosR2 = 69131076.5401;  // R^2

struct ZState {
  double Z = 1.0;
  double D = 0.0;           // molar density, kmol/m3
  std::uint16_t omens = 0;  // bits 0 and 1 (reduced range), 11 (no convergence)
  bool ok = true;
  int iterations = 0;
};

// Z = 1 and molar density P/(R T).
ZState IdealGas(double P, double T);

// Wichert-Aziz correction of pseudocritical Tc (K) and Pc (Pa) for hydrogen sulfide and carbon
// dioxide mole fractions; returns the corrected pair in the same units. No correction without
// hydrogen sulfide.
struct Pseudocritical {
  double Tc, Pc;
};
Pseudocritical WichertAziz(double Tc, double Pc, double xH2S, double xCO2);

// Compressibility of the Dranchuk-Purvis-Robinson equation at reduced temperature and pressure.
// Outside 0 < Ppr < 30 (bit 0) or 1.05 < Tpr < 3 (bit 1) Z = 1 with the bits; when Newton's method
// does not converge within 50 steps Z = 1 with bit 11.
ZState DprZ(double Tpr, double Ppr);

// Standing-Katz Z and molar density at (P Pa, T K) from the mixture's pseudocritical Tc, Pc and
// its hydrogen sulfide and carbon dioxide fractions.
ZState StandingKatz(double P, double T, double Tc, double Pc, double xH2S, double xCO2);

// Peng-Robinson Z (largest root found by Newton's method from Z = 1) and molar density at
// (P, T) from Tc, Pc and the acentric factor; ok is false (bit 11) when 40 or more Newton steps
// were needed, the last Z being returned.
ZState PengRobinson(double P, double T, double Tc, double Pc, double omega);

}  // namespace qmx::GAS1
