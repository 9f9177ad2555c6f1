#pragma once
// MPMS1: volume correction of hydrocarbon liquids by API MPMS Chapter 11.1-2004
// (temperature and pressure correction on the ITS-90 basis).
//
// The calculation state keeps temperatures in K, gauge pressure in Pa, densities in kg/m3
// and the thermal expansion coefficient alpha60 in 1/K. The standard works in F, psig and
// 1/F; the conversions happen at the boundary of ApiLiquidFactors.
#include <cstdint>
#include <string>

namespace qmx::MPMS1 {

// Commodity group of the standard; one byte as stored by the calculation state.
enum class ApiProduct : std::uint8_t {
  CrudeOil = 0,
  RefinedProducts = 1,
  LubricatingOils = 2,
  SpecialApplications = 3,  // alpha60 given by the user
  LightHydrocarbons = 4,    // NGL and LPG: limits only, no factor calculation
  UserProcedure = 5,        // the installed user procedures do everything
};

// 16-bit warning set returned beside the factors.
using ApiFlags = std::uint16_t;
inline constexpr ApiFlags kRelaxedCompliance = 1u << 0;
inline constexpr ApiFlags kTemperatureTooLow = 1u << 1;
inline constexpr ApiFlags kTemperatureTooHigh = 1u << 2;
inline constexpr ApiFlags kPressureTooLow = 1u << 3;
inline constexpr ApiFlags kPressureTooHigh = 1u << 4;
inline constexpr ApiFlags kDensityTooLow = 1u << 5;
inline constexpr ApiFlags kDensityTooHigh = 1u << 6;
inline constexpr ApiFlags kThermalXTooLow = 1u << 7;
inline constexpr ApiFlags kThermalXTooHigh = 1u << 8;
inline constexpr ApiFlags kConvergenceFail = 1u << 9;
inline constexpr ApiFlags kInvalidHook = 1u << 10;
inline constexpr ApiFlags kSupercriticalFluid = 1u << 11;
inline constexpr ApiFlags kInsufficientData = 1u << 12;
inline constexpr ApiFlags kInconsistentData = 1u << 13;
inline constexpr ApiFlags kInvalidBaseTemperature = 1u << 14;
inline constexpr ApiFlags kProductNotCovered = 1u << 15;  // no correction for this group

// The texts of the set bits in bit order.
std::string ApiFlagText(ApiFlags flags);

// Unit conversions used at the boundary.
inline constexpr double kPaPerPsi = 6894.757;
inline double KelvinToF(double t) { return 1.8 * t - 459.67; }
inline double FToKelvin(double tF) { return (tF + 459.67) / 1.8; }
// A coefficient per kelvin is 1.8 times the same coefficient per degree Fahrenheit.
inline double AlphaPerKToPerF(double alphaK) { return alphaK / 1.8; }
inline double AlphaPerFToPerK(double alphaF) { return alphaF * 1.8; }

// Range limits of a group as applied to the SI inputs.
struct ApiLimits {
  bool checkTemperature;
  double tMinK, tMaxK;
  bool checkPressure;
  double pMaxPa;  // gauge
  bool checkDensity;
  double rhoMin, rhoMax;  // base density, kg/m3
};
// Limits of groups 0 to 4 (group 3 checks none of them; its alpha60 is checked instead).
ApiLimits GroupLimits(ApiProduct product);
inline constexpr double kAlpha60MinPerF = 230.0e-6;
inline constexpr double kAlpha60MaxPerF = 930.0e-6;

// Refined products are split by rho60 (kg/m3).
enum class RefinedSubgroup : std::uint8_t { Gasolines, TransitionZone, JetFuels, FuelOils };
RefinedSubgroup RefinedSubgroupOf(double rho60);

// K0, K1, K2 of alpha60 = (K0/rho + K1)/rho + K2 and the iteration constant D_alpha.
struct ApiGroupConstants {
  double k0, k1, k2, dAlpha;
};
// Constants of the group (refined products by rho60); zeros for groups 3 to 5.
// Raises "MPMS1.GroupK() illegal product" for a group above 5.
ApiGroupConstants GroupK(ApiProduct product, double rho60);

// ITS-90 temperature to IPTS-68 by the standard's polynomial in t90(C)/630.
double Its90ToIpts68C(double t90C);
double Its90ToIpts68F(double t90F);

// Factors from the state at 60 F and 0 psig to (tF, pPsi), all in the standard's units.
struct ApiState60 {
  double tStar;    // flowing temperature on IPTS-68, F
  double rhoStar;  // rho60 shifted to the IPTS-68 basis, kg/m3
  double alpha60;  // 1/F
  double ctl;
  double fp;  // scaled compressibility factor, 1/psi (times 1e-5 in CPL)
  double cpl;
  double ctpl;  // unrounded CTL * CPL
};
// Checks the limits in customary units (flags, clamps), then computes the factors.
// alpha60F is used by group 3 only. Raises "MPMS1.Factors60() unsupported product" for
// groups 4 and 5 and "MPMS1.Factors60() illegal product" above 5.
ApiState60 Factors60(ApiFlags& flags, ApiProduct product, double rho60, double tF, double pPsi,
                     double alpha60F);

struct ApiBase60 {
  double rho60;  // kg/m3
  double ctl;    // CTL at the base temperature (from 60 F)
  int passes;    // iteration passes used
};
inline constexpr int kMaxBasePasses = 16;
// Density at 60 F (0 psig) whose correction to the base temperature gives rhoBase.
// Uses all maxPasses without converging: kConvergenceFail, last value kept. Raises
// "MPMS1.AltToBase60() unsupported product" for groups 4 and 5, "... illegal product" above 5.
ApiBase60 AltToBase60(ApiFlags& flags, ApiProduct product, double rhoBase, double tBaseF,
                      double alpha60F, int maxPasses = kMaxBasePasses);

// Nearest multiple of increment; an exact half goes to the even multiple; sign of value kept.
double ApiRound(double value, double increment);
inline constexpr double kFactorIncrement = 0.00001;

// The liquid correction of the calculation pipeline. Outputs: CTPL from the base state
// (baseTemperature, 0 gauge) to the flowing state (rounded to 0.00001), CPL, the CTL ratio
// CTL(T)/CTL(Tbase) and the flowing density = CTPL * baseDensity; all 0 when any flag other
// than kRelaxedCompliance is set. alpha60 (1/K): given for group 3 (clamped to its range),
// returned as computed for groups 0 to 2. pressure is gauge, Pa.
void ApiLiquidFactors(ApiFlags& flags, double& ctpl, double& cpl, double& ctl, double& density,
                      double& alpha60, double pressure, double temperature,
                      double baseTemperature, double baseDensity, ApiProduct product);

// Procedure slots of group 5 (installed per thread; the defaults only set kInvalidHook).
using ApiLimitsProc = void (*)(ApiFlags& flags, double& pressure, double& temperature,
                               double& baseTemperature);
using ApiDensityLimitsProc = void (*)(ApiFlags& flags, double& baseDensity);
using ApiCalcProc = void (*)(ApiFlags& flags, double& ctpl, double& cpl, double& ctl,
                             double& density, double& alpha60, double pressure,
                             double temperature, double baseTemperature, double baseDensity);
// A null procedure installs the default of its slot.
void InstallApiUserProcs(ApiLimitsProc limits, ApiDensityLimitsProc densityLimits,
                         ApiCalcProc calc);
void ResetApiUserProcs();

}  // namespace qmx::MPMS1
