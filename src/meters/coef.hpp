#pragma once
// Discharge coefficients (flow coefficients for elbows and averaging pitot tubes),
// expansibility, velocity of approach and permanent pressure loss of every
// differential-pressure meter type. All quantities SI unless a name says otherwise.
// None of these operations allocates.
#include <cstdint>

#include "meters/dp0.hpp"

namespace qmx::DP0 {

// Bits a coefficient evaluation can report; the numbers are those of the flow
// solution's flag set, so a caller can OR them in directly.
using CoefFlags = std::uint16_t;
inline constexpr CoefFlags kCoefConvergenceFailure = 1u << 1;  // "Convergance failure,"
inline constexpr CoefFlags kCoefCalculationError = 1u << 3;    // "Calculation error,"

struct RHGTerms;

// Everything a discharge-coefficient equation may read. The flow solution fills it
// from its meter and fluid records and its working values.
struct CoefParams {
  MeterType type = MeterType::Mtr_Other;
  double beta = 0.0;       // diameter ratio (Beta of the type)
  double Dt = 0.0;         // pipe diameter at flowing temperature, m
  double dt = 0.0;         // element dimension at flowing temperature, m
  double Dref = 0.0;       // pipe diameter at its reference temperature, m
  double dref = 0.0;       // element dimension at its reference temperature, m
  double ReD = 0.0;        // pipe Reynolds number
  double Red = 0.0;        // throat Reynolds number
  std::uint8_t tap = 0;    // TapType as stored (values above 2 allowed)
  std::uint8_t selector = 0;  // VenturiConvergent for Vent_Cl, model for Vent_AcBar
  std::uint8_t elbowSize = 0;      // elbow nominal-size index 0..6
  std::uint8_t elbowSchedule = 0;  // elbow schedule flag
  double coef1 = 0.0;      // first coefficient (fixed C, intercept, KD2, C1)
  double coef2 = 0.0;      // second coefficient (slope, C2)
  double ivcm = 0.0;       // Vent_IVCM coefficient
  Material pipeMaterial = Material::CbSteel;  // roughness class of Orf_Ecc
  // AGA-3 Part 4 procedure (Orf_RG, Orf_AGA): its own flow iteration needs these.
  double dP = 0.0;         // differential pressure, Pa
  double rho = 0.0;        // flowing density, kg/m3
  double mu = 0.0;         // dynamic viscosity, Pa s
  double epsilon = 1.0;    // expansibility
  const void* block = nullptr;  // element parameter block handed to the Experimental hook
  const RHGTerms* rhg = nullptr;  // precomputed terms of the Reader-Harris/Gallagher types
};

// The coefficient of the meter type. Orf_BB raises "DP0 Buckingham equation not
// implemented"; Wedge_FC raises "DP0.C_Wedge_KD2" for KD2 < 0 or > 1000. The AGA-3
// procedure adds its flags to flags; nothing else touches them.
double DischargeCoefficient(const CoefParams& p, CoefFlags& flags);
// True for the types the flow solution evaluates once (not inside its iteration).
bool IsDirect(MeterType type) noexcept;
// True when the flow solution multiplies by the pipe area (flow coefficient K, no E).
bool UsesPipeArea(MeterType type) noexcept;

// ---- one operation per equation family ----
double C_Venturi(std::uint8_t convergent, double userC) noexcept;           // ISO 5167-4:2003 5.5
double C_Linear(double intercept, double slope, double ReD) noexcept;       // cone meters, linear in Re_D
double C_VenturiNozzle(double beta) noexcept;                                // ISO 5167-3:2003 5.3.4.2
double C_ISANozzle(double beta, double ReD) noexcept;                        // ISO 5167-3:2003 5.1.6.2
double C_LongRadiusNozzle(double beta, double ReD) noexcept;                 // ISO 5167-3:2003 5.2.6.2
double C_Stolz(std::uint8_t tap, double beta, double ReD, double Dt) noexcept;   // ISO 5167-1:1991 8.3.2.1
double C_Stolz2(std::uint8_t tap, double beta, double ReD, double Dt) noexcept;  // proposed Stolz revision
double C_ReaderHarrisGallagher(std::uint8_t tap, double beta, double ReD, double Dt) noexcept;  // ISO 5167-2:2003
// The Reader-Harris/Gallagher terms that depend only on beta, the tapping and D, computed once
// per flow solution; the coefficient from them is the same number as from the form above.
struct RHGTerms {
  double beta19000 = 0.0;  // 19000 beta
  double beta1e6 = 0.0;    // 1e6 beta
  double c0 = 0.0;         // 0.5961 + 0.0261 beta^2 - 0.216 beta^8
  double b35 = 0.0;        // beta^3.5
  double tap = 0.0;        // upstream tapping term before the (1 - 0.11 A) factor
  double b4 = 0.0;         // beta^4
  double downstream = 0.0; // downstream tapping term
  double smallPipe = 0.0;  // addition below 71.12 mm
  bool small = false;
};
RHGTerms RHGGeometry(std::uint8_t tap, double beta, double Dt) noexcept;
double C_ReaderHarrisGallagher(const RHGTerms& t, double ReD) noexcept;
double C_AGA3_1990(std::uint8_t tap, double beta, double ReD, double Dt) noexcept;  // AGA-3 Part 1 eq 1-4..
// Coefficient at infinite Reynolds number of the AGA-3 equation (flange taps as above).
double C_AGA3_Infinite(std::uint8_t tap, double beta, double Dt) noexcept;
// AGA-3 Part 4 (1992) 4.3.2.5 solution for Cd with its own Newton iteration.
double C_AGA3_Procedure(double beta, double Dt, double dP, double rho, double mu, double epsilon,
                        CoefFlags& flags) noexcept;
double C_QuarterCircle(double beta) noexcept;                                 // ISO/TR 15377
double C_ConicalEntrance() noexcept;                                          // ISO/TR 15377
double C_IntegralOrifice(double dt, double Red) noexcept;                     // Miller Table 11.3
double C_IFO(double beta, double ReD) noexcept;                               // integral flow orifice
// PTC 19.5-2004; sizeArg is the flange-tap pipe-size argument (PTC195SizeArgument).
double C_PTC195(std::uint8_t tap, double sizeArg, double beta, double ReD) noexcept;
double PTC195SizeArgument(double Dt) noexcept;
double C_Eccentric(double beta, double Dt, Material pipe) noexcept;           // eccentric orifice
double EccentricRoughness(Material pipe) noexcept;
double C_Segmental(std::uint8_t tap, double beta, double Dt) noexcept;        // segmental orifice
double C_SmallBore(std::uint8_t tap, double beta, double ReD, double Dt) noexcept;  // ASME MFC-14M-2003 7-1, 7-2
// Elbow tables by nominal-size index 0..6 (out of range clamps to the table).
double ElbowDiameter(std::uint8_t sizeIndex, std::uint8_t schedule) noexcept;  // m
double ElbowCe(MeterType type, std::uint8_t sizeIndex, std::uint8_t schedule) noexcept;
double C_Elbow45(double Ce, double ReD) noexcept;
double C_Elbow22(double Ce) noexcept;
double C_Annubar(double B, double C1, double C2) noexcept;
double C_Verabar(double beta, double C1, double C2) noexcept;
double C_Accelabar(double beta, std::uint8_t selector) noexcept;
// Factory-calibrated wedge from KD2 (flow constant times D^2, D in inches); bore the equivalent
// bore beta Dt at flowing temperature (m), not the wedge height.
double C_Wedge_KD2(double KD2, double beta, double bore);
// Calculated wedge (handbook equations by line size); Dref the pipe diameter at reference temperature (m).
double C_WedgeCalculated(double beta, double Dref) noexcept;

// ---- expansibility, velocity of approach, pressure loss ----
// Raises "DP0.GasExpansion() device not implemented" for Orf_Seg with dP > 0.
double GasExpansion(int selector, MeterType type, double P1, double dP, double kappa, double Dt, double dt);
// Size class 1..10 of Vent_IVCM from the reference pipe diameter and beta.
int IVCMSizeClass(double Dref, double beta) noexcept;
// The isentropic expansibility of nozzles and Venturi tubes (ISO 5167-3/-4).
double EpsilonNozzle(double beta, double tau, double kappa) noexcept;
// ISO 5167-2:2003 5.3.2.2 orifice expansibility.
double EpsilonOrifice2003(double beta, double tau, double kappa) noexcept;
double VelocityOfApproach(double beta, MeterType type) noexcept;
double PressureLoss(double C, double beta, double dP, MeterType type);

}  // namespace qmx::DP0
