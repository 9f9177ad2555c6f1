#pragma once
// Differential-pressure meter catalogue: meter types with their keys, names and
// bibliographic references, pressure tappings, Venturi convergents, pipe and
// element materials with their thermal expansion, the diameter ratio of every
// element family and its inverse, and the thermal correction of dimensions.
#include <cstdint>
#include <string_view>

namespace qmx::DP0 {

inline constexpr const char* kModule = "DP0";

// The closed catalogue of primary elements; the numbers are stored values.
enum class MeterType : std::uint8_t {
  Vent_Cl = 0,
  Vent_VCs = 1,
  Vent_VCw = 2,
  Vent_VCsC = 3,
  Vent_VCwC = 4,
  Vent_IVCM = 5,
  Vent_Noz = 6,
  Noz_ISA = 7,
  Noz_LR = 8,
  Orf_Stolz = 9,
  Orf_Stolz2 = 10,
  Orf_NEL = 11,
  Orf_ISO = 12,
  Orf_RGc = 13,
  Orf_RG = 14,
  Orf_AGA = 15,
  Orf_Quad = 16,
  Orf_BB = 17,
  Orf_Int = 18,
  Orf_IFO = 19,
  Orf_ASME = 20,
  Orf_Cone = 21,
  Orf_Ecc = 22,
  Orf_Seg = 23,
  Orf_14M = 24,
  Orf_3M = 25,
  Orf_RO = 26,
  Elb_45L = 27,
  Elb_22L = 28,
  Elb_45S = 29,
  Elb_22S = 30,
  Pit_Avg = 31,
  Pit_AnnM = 32,
  Pit_AnnR = 33,
  Pit_Vbar = 34,
  Vent_AcBar = 35,
  Wedge_FC = 36,
  Wedge_CCd = 37,
  Experimental = 38,
  Mtr_Other = 39,
};
inline constexpr int kMeterTypeCount = 40;

// Pressure tappings of orifice plates. Raw values above 2 are accepted by the
// coefficient equations (computed as corner taps unless an equation says otherwise).
enum class TapType : std::uint8_t { Corner = 0, Flange = 1, DandD2 = 2 };

// Convergent of a classical Venturi tube (Vent_Cl).
enum class VenturiConvergent : std::uint8_t { RoughWelded = 0, AsCast = 1, Machined = 2, UserSupplied = 3 };

// Pipe and element materials.
enum class Material : std::uint8_t {
  CbSteelUS = 0,
  StSteelUS = 1,
  MonelUS = 2,
  Monel400US = 3,
  SS304US = 4,
  SS316US = 5,
  CbSteelSI = 6,
  StSteelSI = 7,
  MonelSI = 8,
  Monel400SI = 9,
  SS304SI = 10,
  SS316SI = 11,
  CbSteel = 12,
  StSteel = 13,
  Monel = 14,
  Brass = 15,
  Inconel = 16,
  Nickel = 17,
  HastC22 = 18,
  Titanium = 19,
  CSlowTemp = 20,
  SSduplex = 21,
  Unobtainium = 22,
  Othr1 = 23,
  Othr2 = 24,
};
inline constexpr int kMaterialCount = 25;

// How the element dimension d turns into the diameter ratio.
enum class BetaFamily : std::uint8_t { Plain, Cone, Segment, ProbeSqrt, ProbeLinear, Unity, Hook };

// The stored '|'-separated lists (each item followed by '|').
extern const std::string_view kMeterKeys;
extern const std::string_view kMeterListNames;
extern const std::string_view kMaterialKeys;
extern const std::string_view kMaterialNames;

// ---- meter type texts (an out-of-range value gives an empty text) ----
std::string_view DeviceKey(MeterType type) noexcept;
// Looks a key up in the key list; a missing key gives Mtr_Other and false.
bool DeviceFromKey(std::string_view key, MeterType& type) noexcept;
std::string_view DeviceListName(MeterType type) noexcept;
std::string_view DeviceLongName(MeterType type) noexcept;
std::string_view DeviceFamilyName(MeterType type) noexcept;
std::string_view StandardName(MeterType type) noexcept;
std::string_view StandardEdition(MeterType type) noexcept;
std::string_view StandardStatus(MeterType type) noexcept;
std::string_view ClauseReferences(MeterType type) noexcept;
std::string_view StandardPartTitle(MeterType type) noexcept;
std::string_view StandardTitle(MeterType type) noexcept;
std::string_view StandardCommittee(MeterType type) noexcept;
std::string_view StandardPublisher(MeterType type) noexcept;
std::string_view StandardAddress(MeterType type) noexcept;
std::string_view ApiCrossReference(MeterType type) noexcept;

// ---- materials ----
// The display name when display is true, the key otherwise; empty when out of range.
std::string_view MaterialName(Material material, bool display) noexcept;
// A text missing from its list gives Unobtainium and false.
bool MaterialFromName(std::string_view text, bool display, Material& material) noexcept;

// ---- diameter ratio ----
BetaFamily FamilyOf(MeterType type) noexcept;
// Diameter ratio from pipe diameter D and element dimension d (m, same temperature).
double Beta(MeterType type, double D, double d);
// Element dimension giving the requested beta in a pipe of diameter D. The segment
// family is solved numerically; raises "DP0.C_dR() bracket failure" when no bracket is found.
double C_dR(MeterType type, double D, double beta);
// Function evaluations of the last segment-height solve on this thread.
int C_dR_Evaluations() noexcept;

// ---- thermal expansion ----
// Linear expansion coefficient in 1/K at T (K).
double ExpansionCoefficient(double T, Material material) noexcept;
// A dimension measured as Lref at Tref carried to T (all K, m).
double DiameterAtTemperature(Material material, double Tref, double T, double Lref) noexcept;
// The inverse: the reference dimension from the dimension L at T.
double DiameterAtReference(Material material, double Tref, double T, double L) noexcept;
// The two user-defined expansion coefficients (Othr1, Othr2) in 1/K; both 0 at start-up.
void SetUserExpansion(Material which, double alpha) noexcept;
double UserExpansion(Material which) noexcept;

// Catalogue self-check: 25 material keys and names, 40 meter keys. Raises
// "DP0.QCtest() failure". Runs once at module start-up.
void QCtest();

// ---- replaceable hooks of the Experimental meter type ----
struct CoefParams;  // coef.hpp
using CoefHook = void (*)(double& C, const CoefParams& p);
using ExpansionHook = void (*)(double& epsilon, int selector, MeterType type, double P1, double dP, double kappa,
                               double Dt, double dt);
using BetaHook = void (*)(double& beta, MeterType type, double D, double d);
using InverseBetaHook = void (*)(double& d, MeterType type, double D, double beta);
using LossHook = void (*)(double& loss, double C, double beta, double dP, MeterType type);

struct ExperimentalHooks {
  CoefHook coefficient;     // default: C = 1
  ExpansionHook expansion;  // default: 1
  BetaHook beta;            // default: 1
  InverseBetaHook inverseBeta;  // default: 1
  LossHook pressureLoss;    // default: 0
};
// The current hooks (per thread). A null slot passed to SetExperimentalHooks keeps its default.
const ExperimentalHooks& GetExperimentalHooks() noexcept;
void SetExperimentalHooks(const ExperimentalHooks& hooks) noexcept;
void ResetExperimentalHooks() noexcept;

// Reruns the module start-up: self-check, default hooks, user expansion values 0.
void Initialize();

}  // namespace qmx::DP0
