#include "gas/eos.hpp"

#include <cmath>

namespace qmx::GAS1 {

namespace {

constexpr std::uint16_t kBitPressure = 1u << 0;
constexpr std::uint16_t kBitTemperature = 1u << 1;
constexpr std::uint16_t kBitNoConverge = 1u << 11;

// Dranchuk-Purvis-Robinson coefficients; A5*A6 and its multiples are held as products.
constexpr double kA1 = 0.3151, kA2 = -1.0467, kA3 = -0.5783, kA4 = 0.5353, kA5 = -0.6123;
constexpr double kA7 = 0.6816, kA8 = 0.6845;
constexpr double kA5A6 = 0.06423, k6A5A6 = 0.38538, k2A8 = 1.369;
constexpr double kRhoFactor = 0.27;

constexpr double kPrA = 31609216.912889164;  // 0.45723553 R^2
constexpr double kPrB = 646.8364514110003;   // 0.0777961 R
constexpr double kRankine = 1.8;             // K to R
constexpr double kPaPerPsi = 6894.757293168361;

}  // namespace

ZState IdealGas(double P, double T) {
  ZState s;
  s.Z = 1.0;
  s.D = P / (kEosR * T);
  return s;
}

Pseudocritical WichertAziz(double Tc, double Pc, double xH2S, double xCO2) {
  if (!(xH2S > 0.0)) return {Tc, Pc};
  // The correlation takes mole fractions; epsilon comes out in degrees Rankine.
  const double B = xH2S;
  const double A = xCO2 > 0.0 ? xCO2 + B : B;
  const double eps = 15.0 * (std::sqrt(B) - B * B * B * B) + 120.0 * (std::pow(A, 0.9) - std::pow(A, 1.6));
  const double tcR = Tc * kRankine;
  const double pcPsi = Pc / kPaPerPsi;
  const double tcR2 = tcR - eps;
  const double pcPsi2 = pcPsi * tcR2 / (tcR + B * (1.0 - B) * eps);
  return {tcR2 / kRankine, pcPsi2 * kPaPerPsi};
}

ZState DprZ(double Tpr, double Ppr) {
  ZState s;
  if (!(Ppr > 0.0 && Ppr < 30.0)) s.omens |= kBitPressure;
  if (!(Tpr > 1.05 && Tpr < 3.0)) s.omens |= kBitTemperature;
  if (s.omens != 0) return s;
  const double t1 = kA1 + kA2 / Tpr + kA3 / (Tpr * Tpr * Tpr);
  const double t2 = kA4 + kA5 / Tpr;
  const double t3 = kA5A6 / Tpr;
  const double t4 = kA7 / (Tpr * Tpr * Tpr);
  const double t5 = kRhoFactor * Ppr / Tpr;
  double rho = t5;
  // Newton's method on rho z(rho) - 0.27 Ppr/Tpr = 0.
  for (int i = 1; i <= 50; ++i) {
    const double r2 = rho * rho;
    const double e = std::exp(-kA8 * r2);
    const double f = rho + t1 * r2 + t2 * r2 * rho + t3 * r2 * r2 * r2 + t4 * r2 * rho * (1.0 + kA8 * r2) * e - t5;
    const double df = 1.0 + 2.0 * t1 * rho + 3.0 * t2 * r2 + (k6A5A6 / Tpr) * r2 * r2 * rho +
                      t4 * r2 * (3.0 + kA8 * r2 * (3.0 - k2A8 * r2)) * e;
    const double step = f / df;
    rho -= step;
    s.iterations = i;
    if (!std::isfinite(rho) || rho <= 0.0) break;
    if (std::fabs(step) < 1e-05) {
      s.Z = t5 / rho;
      return s;
    }
  }
  // No convergence: fall back on the ideal gas and say so.
  s.Z = 1.0;
  s.ok = false;
  s.omens |= kBitNoConverge;
  return s;
}

ZState StandingKatz(double P, double T, double Tc, double Pc, double xH2S, double xCO2) {
  const Pseudocritical pc = WichertAziz(Tc, Pc, xH2S, xCO2);
  const double Tpr = pc.Tc > 0.0 ? T / pc.Tc : 0.0;
  const double Ppr = pc.Pc > 0.0 ? P / pc.Pc : 0.0;
  ZState s = DprZ(Tpr, Ppr);
  s.D = P / (s.Z * kEosR * T);
  return s;
}

ZState PengRobinson(double P, double T, double Tc, double Pc, double omega) {
  ZState s;
  if (!(Tc > 0.0 && Pc > 0.0 && T > 0.0) || !std::isfinite(Tc) || !std::isfinite(Pc)) {
    // No pseudocritical state to reduce by: the ideal gas, reported as not converged.
    s.ok = false;
    s.omens = kBitNoConverge;
    s.D = P / (kEosR * T);
    return s;
  }
  const double kappa = 0.37464 + 1.54226 * omega - 0.26992 * omega * omega;
  const double root = 1.0 + kappa * (1.0 - std::sqrt(T / Tc));
  const double alpha = root * root;
  const double A = kPrA * Tc * Tc / Pc * alpha * P / (kEosR2 * T * T);
  const double B = kPrB * Tc / Pc * P / (kEosR * T);
  const double c2 = -(1.0 - B);
  const double c1 = A - 3.0 * B * B - 2.0 * B;
  const double c0 = -(A * B - B * B - B * B * B);
  double Z = 1.0;
  int i = 0;
  for (i = 1; i <= 41; ++i) {
    const double f = ((Z + c2) * Z + c1) * Z + c0;
    const double df = (3.0 * Z + 2.0 * c2) * Z + c1;
    const double step = f / df;
    if (!std::isfinite(step)) {
      i = 41;
      break;
    }
    Z -= step;
    if (std::fabs(step) < 1e-06) break;
  }
  s.iterations = i > 41 ? 41 : i;
  s.Z = Z;
  s.ok = i < 40 && std::isfinite(Z) && Z > 0.0;
  if (!s.ok) s.omens |= kBitNoConverge;
  s.D = P / (Z * kEosR * T);
  return s;
}

}  // namespace qmx::GAS1
