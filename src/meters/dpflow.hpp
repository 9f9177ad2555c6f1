#pragma once
// DP0 flow solution: the meter, fluid and result records, the 16-bit flag set
// with its texts, MassFlow (the flow equation, iterated where the coefficient
// depends on the Reynolds number), CheckInputs, CheckLimits and the per-pass
// iteration trace. Everything is SI: m, K, Pa (absolute), kg, s.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "meters/dp0.hpp"

namespace qmx::DP0 {

// ---- Flags -----------------------------------------------------------------
using DPFlags = std::uint16_t;
enum DPFlag : int {
  kFlagPipeSmall = 0,      // reference D not larger than reference d
  kFlagConvergence = 1,    // iteration reached pass 21 / AGA-3 beyond 99 steps
  kFlagMethod = 2,         // iterated meter type without an equation
  kFlagCalc = 3,           // AGA-3 procedure ended with X/C above 1
  kFlagInput = 4,          // negative input, P1 below dP, non-finite input
  kFlagBogusCoef = 5,      // averaging-pitot coefficients out of range
  kFlagReserved = 6,       // never set
  kFlagReRange = 7,
  kFlagDimRange = 8,
  kFlagBetaRange = 9,
  kFlagSonic = 10,
  kFlagReAtBeta = 11,
  kFlagReAtDim = 12,
  kFlagTaps = 13,
  kFlagPressureRatio = 14,
  kFlagLowRe = 15,
};
constexpr DPFlags FlagBit(int bit) { return static_cast<DPFlags>(1u << bit); }
constexpr bool HasFlag(DPFlags flags, int bit) { return (flags & FlagBit(bit)) != 0; }
constexpr void SetFlag(DPFlags& flags, int bit) { flags = static_cast<DPFlags>(flags | FlagBit(bit)); }
constexpr void ClearFlag(DPFlags& flags, int bit) { flags = static_cast<DPFlags>(flags & ~FlagBit(bit)); }

// The fixed text of one bit (each ends in a comma); empty outside 0..15.
std::string_view FlagBitText(int bit);
// Clears text, then appends the text of every set bit in bit order.
void FlagText(DPFlags flags, std::string& text);
std::string FlagText(DPFlags flags);

// ---- Records ---------------------------------------------------------------
// Element parameters; which fields a meter type reads is stated per field.
struct DPElement {
  std::uint8_t tap = 1;            // orifices: TapType (0 corner, 1 flange, 2 D and D/2)
  std::uint8_t elbowSize = 0;      // elbows: nominal-size index 0..6 (2 .. 12 inch)
  std::uint8_t elbowSchedule = 0;  // elbows: schedule flag (0 Sch40, else Sch80)
  double c1 = 0.0;                 // first coefficient: fixed C / intercept / KD2 / probe C1 / Accelabar D'
  double c2 = 0.0;                 // second coefficient: slope / probe C2
  std::uint8_t convergent = 0;     // Vent_Cl: VenturiConvergent
  std::uint8_t model = 0;          // Vent_AcBar: model selector
  double ivcm = 0.0;               // Vent_IVCM: its fixed coefficient
  std::uint8_t annubar = 0;        // Pit_AnnM / Pit_AnnR / Pit_Vbar: Annubar type code
};

inline constexpr std::size_t kCalPoints = 16;

struct DPMeter {
  double d = 0.0;        // element dimension at its reference temperature, m
  double D = 0.0;        // pipe inside diameter at its reference temperature, m
  double Tref_d = 293.15;  // reference temperature of d, K
  double Tref_D = 293.15;  // reference temperature of D, K
  double dh = 0.0;       // drain/vent hole diameter, m
  std::uint8_t holeMode = 0;  // 0 none, 1 bore correction, 2 and 3 flow corrections
  Material elementMaterial = Material::StSteel;
  Material pipeMaterial = Material::CbSteel;
  MeterType type = MeterType::Orf_ISO;
  DPElement element{};
  std::uint8_t calMode = 0;  // 0 none, 1 coefficient table, 2 flow-factor table
  std::array<double, kCalPoints> calRe{};     // entries 1..calN are the table (1-indexed)
  std::array<double, kCalPoints> calValue{};
  std::uint32_t calN = 0;
};

struct DPFluid {
  double dp = 0.0;     // differential pressure, Pa
  double Tf = 0.0;     // flowing temperature, K
  double P1 = 0.0;     // upstream pressure, Pa abs
  double mu = 0.0;     // dynamic viscosity, Pa s
  double kappa = 0.0;  // isentropic exponent
  double rho = 0.0;    // flowing density, kg/m3
  double rho_b = 0.0;  // base density, kg/m3
  double Hm = 0.0;     // mass heating value, J/kg
  bool compressible = false;
};

struct DPResult {
  double qm = 0.0;             // kg/s
  double qv_base = 0.0;        // qm / rho_b, m3/s
  double energy = 0.0;         // qm Hm, W
  double C = 0.0;              // discharge (or flow) coefficient
  double Re_D = 0.0;
  double Re_d = 0.0;
  double ratio = 0.0;          // dp / (rho v^2)
  double epsilon = 0.0;
  double calibration = 0.0;    // calibration factor
  double dt = 0.0;             // element dimension at Tf, m
  double Dt = 0.0;             // pipe diameter at Tf, m
  double beta = 0.0;
  double E = 0.0;              // velocity of approach
  double hole_factor = 0.0;
  double qv_actual = 0.0;      // qm / rho, m3/s
  double pressure_loss = 0.0;  // permanent pressure loss, Pa
  double velocity = 0.0;       // pipe velocity, m/s
};

// The 17 result fields by name, in record order (qm, qv_base, energy, C, ...).
using ResultField = std::pair<std::string_view, double>;
std::array<ResultField, 17> ResultFields(const DPResult& r);

// ---- Operations ------------------------------------------------------------
// 4 q / (pi D mu); 0 when D mu is not positive or the result is not finite.
double Reynolds(double q, double D, double mu);
// False when nothing is to be computed (bad input); adds bits 0 and 4.
bool CheckInputs(DPFlags& flags, const DPFluid& fluid, const DPMeter& meter);
// Clears flags, then solves the flow equation. Never allocates; never raises for physical input.
void MassFlow(DPFlags& flags, DPResult& result, const DPFluid& fluid, const DPMeter& meter);
// Adds the validity flags of the meter type's standard to flags.
void CheckLimits(DPFlags& flags, const DPResult& result, const DPFluid& fluid, const DPMeter& meter);

// ---- Iteration trace -------------------------------------------------------
struct IterationSlot {
  int pass = 0;
  double qm = 0.0, C = 0.0, Re_D = 0.0, Re_d = 0.0, ratio = 0.0, epsilon = 0.0, E = 0.0, Dt = 0.0, dt = 0.0,
         beta = 0.0;
};
inline constexpr std::size_t kTraceSlots = 9;  // slot = pass modulo 8; 9 allocated
// This thread's trace ring.
std::span<const IterationSlot, kTraceSlots> IterationTrace();
void ClearIterationTrace();
void RecordIteration(const IterationSlot& slot);

}  // namespace qmx::DP0
