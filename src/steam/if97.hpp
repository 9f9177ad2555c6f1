#pragma once
// Water and steam properties by IAPWS-IF97 (regions 1 to 4 and the B23
// boundary) with the IAPS 1985 viscosity equation. SI units throughout:
// Pa, K, kg/m3, J/kg, Pa s. Property evaluation allocates nothing.
namespace qmx::IF97 {

inline constexpr const char* kModule = "IF97";

inline constexpr double kR = 461.526;         // J/(kg K), specific gas constant of IF97
inline constexpr double kPc = 22064000.0;     // Pa, critical pressure
inline constexpr double kTc = 647.096;        // K, critical temperature
inline constexpr double kRhoc = 322.0;        // kg/m3, critical density
inline constexpr double kTmin = 273.15;       // K, lowest temperature of the formulation
inline constexpr double kTmax = 1073.150001;  // K, highest temperature accepted
inline constexpr double kPmax = 100000000.000001;  // Pa, highest pressure accepted
inline constexpr double kT13 = 623.15;        // K, boundary between regions 1 and 3
inline constexpr double kPsat623 = 16529164.252605;  // Pa, saturation pressure at 623.15 K
inline constexpr double kBandStep = 34.0;     // Pa per band step around the saturation line
inline constexpr double kLiquidExponent = 1000000000.0;  // isentropic exponent of an incompressible liquid

// Fixed values returned by the saturation functions at and above the critical point.
inline constexpr double kCritDensity = 322.0;
inline constexpr double kCritEnthalpy = 2087550.0;
inline constexpr double kCritExponent = 1.3;

// Region codes of the region selector.
inline constexpr int kRegionNone = 0;
inline constexpr int kRegionLiquid = 1;
inline constexpr int kRegionVapour = 2;
inline constexpr int kRegionCritical = 3;
inline constexpr int kRegionSaturated = 4;

// Region 4 saturation pressure (Pa) at T (K). T is taken into 273.15 .. 647.096 K; NaN gives NaN.
double Psat(double T);
// Region 4 saturation temperature (K) at P (Pa). P is taken into Psat(273.15 K) .. 22064000 Pa
// (so P <= 0 gives 273.15 K); NaN gives NaN.
double Tsat(double P);

// Region 1 (liquid) and region 2 (vapour) from their Gibbs equations at (P Pa, T K).
double Rho1(double P, double T);
double H1(double P, double T);
double Rho2(double P, double T);
double H2(double P, double T);

// Region 3 Helmholtz equation: pressure (Pa) and enthalpy (J/kg) at (rho kg/m3, T K).
double P3(double rho, double T);
double H3(double rho, double T);

// Which root of p3(rho, T) = P a region-3 density search returns when the isotherm has
// three: the liquid one (above the critical density) or the vapour one (below it).
// Above the critical temperature the single root is returned either way.
enum class Phase { Liquid, Vapour };

// Region 3 isentropic exponent w^2 rho / p at (rho kg/m3, T K), w the speed of sound of the
// Helmholtz equation; the liquid exponent where the equation gives no positive value.
double Exponent3(double rho, double T);

// Region 3 density with p3(rho, T) = P, to 1e-5 kg/m3, of the given phase. Raises
// "IF97.RHOcritR3() bracket failure" (1) when no such root is found.
double RHOcritR3(double P, double T, Phase phase);
// The same with the phase of the state: vapour below the critical pressure when T is above
// Tsat(P), liquid otherwise; the other side's root when the isotherm has none on that side.
double RHOcritR3(double P, double T);
// Pressure evaluations used by the last region-3 density search on this thread.
int R3Evaluations() noexcept;

// B23 boundary between regions 2 and 3: pressure (Pa) at T (K) and temperature (K) at P (Pa).
double B23P(double T);
double B23T(double P);

// IAPS 1985 viscosity (Pa s) at (rho kg/m3, T K), without the critical enhancement.
double Viscosity(double rho, double T);

// Isentropic exponent of saturated vapour at T (K), from the 44-point table at t = T - 273.15.
double SatExponent(double T);
// Ideal-gas isentropic exponent of steam at T (K): Cp/(Cp - R).
double IdealExponent(double T);

// Region code of (P, T) with a two-phase band of band x 34 Pa around the saturation line
// (a negative band counts as 0).
int Region(int band, double P, double T);

// One saturated state: the saturation pressure or temperature and the properties of the
// liquid and the vapour.
struct SatState {
  double P = 0.0;  // Pa
  double T = 0.0;  // K
  double rhoL = 0.0;
  double rhoV = 0.0;
  double hL = 0.0;
  double hV = 0.0;
  double muL = 0.0;
  double muV = 0.0;
  double exponent = 0.0;  // saturated-vapour isentropic exponent
};

// Saturation at P (Pa). False at and above the critical pressure or for NaN (fixed critical
// values), and below Psat(273.15 K) (evaluated there).
bool SatByP(double P, SatState& out);
// Saturation at T (K). False at and above the critical temperature or for NaN (fixed critical
// values), and below 273.15 K (evaluated there).
bool SatByT(double T, SatState& out);

// A single-phase state; the properties are zero for region 0.
struct Phase1 {
  int region = kRegionNone;
  double density = 0.0;
  double enthalpy = 0.0;
  double exponent = 0.0;
  double viscosity = 0.0;
};

Phase1 S1phase_TP(int band, double P, double T);

}  // namespace qmx::IF97
