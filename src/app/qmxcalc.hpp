#pragma once
// QMXcalc: the one calculation state of a run (every input and result of the calculator as
// dimensioned values and real value fields, the selections, the two gas mixtures), its
// selector operations that keep dependent fields consistent, Reset and the Calculate pipeline.
// Every setter takes the caller's changed flag first and only ever sets it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gas/gas0.hpp"
#include "units/dval.hpp"
#include "units/fi.hpp"

namespace qmx::QMXcalc {

inline constexpr const char* kModule = "QMXcalc";

using DV = std::unique_ptr<FUM::DVal>;
using RV = std::unique_ptr<FI::RVal>;

// Fluid kinds.
enum FluidKind : std::uint8_t {
  kNaturalGas = 0,
  kSaturatedSteam = 1,
  kGcnGas = 2,
  kGenericLiquid = 3,
  kHydrocarbonLiquid = 4,
  kDrySteam = 5,
  kTestFluid = 6,
};

// Report header texts: company, prepared by, location, well number, meter tag.
inline constexpr int kHeaderCount = 5;
inline constexpr std::size_t kHeaderLength = 100;  // characters of UTF-8 text
// Longest meter-warning text kept (the buffer holds 512 characters with its terminator).
inline constexpr std::size_t kWarningLength = 511;
// Water density the liquid relative density refers to, kg/m3.
inline constexpr double kWaterDensity = 999.012;
// Page registry slots of the shell.
inline constexpr int kPageCount = 16;
using PageHandle = std::uintptr_t;  // opaque window handle of the shell
// Quantity lists of the display units (display_units.hpp).
inline constexpr int kUnitListCount = 17;

struct State {
  // Measured values and conditions.
  DV flowingTemperature, dp, staticPressure, atmosphericPressure, upstreamPressure, kFactor;
  RV frequency;
  DV baseTemperature, basePressure;
  // Meter geometry.
  DV pipeDiameter, throatDiameter, throatRefTemperature, pipeRefTemperature;
  RV beta, fixedCd;
  double savedThroat = 0.0508;
  double savedBeta = 0.4;
  // Gas by gross characteristics.
  RV gcnRelativeDensity;
  DV gcnHeatingValue, gcnViscosity;
  RV gcnCO2, gcnN2, gcnH2, gcnCO;
  // Liquids.
  DV apiGravity, baseDensity;
  RV liquidRelativeDensity;
  DV thermalExpansion, liquidDensity, liquidViscosity;
  // Results.
  DV massFlow, stdVolumeFlow, actualVolumeFlow, energyFlow, throatDiameterFlowing,
      pipeDiameterFlowing, pressureLoss, pipeVelocity, molarDensity, molarMass,
      molarHeatingValue, massHeatingValue, volumetricHeatingValue, viscosity, criticalPressure,
      criticalTemperature, densityFlowing, densityBase, satLiquidDensity, waterDensityBase,
      referenceEnthalpy, enthalpy;
  RV zFlowing, zBase, isentropicExponent, relativeDensity, cd, reynolds, expansionFactor,
      betaFlowing, velocityOfApproach, mach, liquidCorrectionFactor, spare;
  // Selections.
  std::uint8_t fluid = kNaturalGas;
  std::uint8_t meter = 15;
  std::uint8_t nonDPmethod = 0;
  std::uint8_t taps = 1;
  std::uint8_t tubeMaterial = 12;
  std::uint8_t throatMaterial = 13;
  std::uint8_t probeModel = 9;
  std::uint8_t liquidProduct = 0;
  bool expertMode = false;
  std::array<std::string, kHeaderCount> header;
  // Gas mixtures.
  GAS0::GMix detailMix, gcnMix;
  // Outputs of the last Calculate beside the fields.
  std::uint8_t calculatedFluid = kNaturalGas;  // the fluid kind of the last run
  std::string meterWarning;
  bool beeped = false;
  std::uint16_t meterFlags = 0;  // the meter engine's flag set of the last run
  bool componentsPending = false;  // a typed mole fraction waits for the next Calculate
  // Page registry.
  std::array<PageHandle, kPageCount> pages{};
  std::array<bool, kPageCount> pageShown{};
  PageHandle standardsPage = 0;
  bool standardsShown = false;
  // Display units: the unit string each quantity list last applied (empty: never chosen, the
  // values keep their own) and the unit system last selected (-1: none).
  std::array<std::string, kUnitListCount> listUnits;
  int unitSystem = -1;
};

// The calculation state of the calling thread: its ThreadState while one lives, otherwise the
// one process-wide state (used from one thread), for which Initialize must have run.
State& Calc();
bool IsInitialized();

// Module start: installs the gas methods, creates the two mixes and every field, runs Reset.
// A second call does nothing.
void Initialize();
// Releases both mixtures and every field.
void Finalize();

// A calculation state of the calling thread's own: while it lives, Calc() and every operation
// here work on it. It installs the gas methods on the thread, creates the mixes and fields and
// runs Reset; it must be destroyed on the thread that made it, and nested ones restore the
// previous state.
class ThreadState {
 public:
  ThreadState();
  ~ThreadState();
  ThreadState(const ThreadState&) = delete;
  ThreadState& operator=(const ThreadState&) = delete;
  State& state() { return *state_; }

 private:
  std::unique_ptr<State> state_;
  State* previous_;
};

// The meters offered for selection, in list order, with the texts the meter list shows.
struct MeterChoice {
  int meter;
  int nonDPmethod;
  std::string_view text;
};
inline constexpr std::array<MeterChoice, 11> kMeterChoices = {{
    {0, 0, "Classical venturi, ISO 5167(2003)"},
    {3, 0, "Cone meter, spool"},
    {6, 0, "Venturi-nozzle, ISO 5167(2003)"},
    {7, 0, "ISA nozzle, ISO 5167(2003)"},
    {8, 0, "Long radius nozzle, ISO 5167(2003)"},
    {12, 0, "Orifice meter, ISO 5167(2003)"},
    {14, 0, "Orifice meter, AGA-3(1991)"},
    {15, 0, "Orifice meter, AGA-3(2012)"},
    {33, 0, "Averaging pitot tube"},
    {24, 0, "Small bore orifice, ASME MFC-14M"},
    {39, 1, "Gas turbine"},
}};
// The list text of a meter code; empty for a code the list does not offer.
std::string_view MeterChoiceText(int meter);

// Selections.
void SetMeter(bool& changed, int nonDPmethod, int meter);
int GetMeter(int& nonDPmethod);
void SetFluid(bool& changed, int kind);
int GetFluid();
void SetLiquidProduct(bool& changed, int product);
int GetLiquidProduct();
void SetTaps(bool& changed, int tap);
int GetTaps();
void SetProbeModel(bool& changed, int index);
int GetProbeModel();
void SetTubeMaterial(bool& changed, int code);
int GetTubeMaterial();
void SetThroatMaterial(bool& changed, int code);
int GetThroatMaterial();
void SetHeatingValueTable(bool& changed, int code);
int GetHeatingValueTable();
void SetEnergyMethod(bool& changed, int code);
int GetEnergyMethod();
// Preset composition 0..15 into the Detail mix, its gross characteristics into the GCN mix and
// fields; an index above 15 raises "SetStdGasComp() no such detail mixture" (4).
void SetStdGasComp(bool& changed, int index);
// Component entries in percent (21-component order).
void GetComponentText(std::string& totalText, std::string& fractionText, int component);
void SetComponentText(bool& changed, std::string_view text, int component);
// The sum of the entered component percentages (before normalising), formatted as the total of
// GetComponentText.
void GetEnteredTotalText(std::string& totalText);
// Report header text `index` (0..4), cut to 100 characters.
void SetHeaderText(int index, std::string_view text);
const std::string& GetHeaderText(int index);

// Dependent fields.
void UpdateAbsolutePressure();
void UpdateGaugePressure();
void UpdateBeta();
void UpdateBore();
void UpdateRelativeDensity();
void UpdateBaseDensity();
bool EstimateLiquidViscosity();

// Page registry of the shell.
void SetPage(int index, PageHandle window);
PageHandle GetPage(int index);
void ShowPage(bool show, int index);
bool PageShown(int index);
void SetStandardsPage(PageHandle window);
// Expert mode; turning it on shows the Standards page.
void SetExpertMode(bool on);
bool GetExpertMode();
bool StandardsPageShown();

// Restores the defaults and calculates; raises "Reset error" (6) when that fails.
void Reset();
// Recomputes every result when `changed` is set (and clears it); false otherwise.
bool Calculate(bool& changed);
// Whether the last run computed this field for its fluid. Results a fluid does not compute (the
// steam fields under gas, the gas fields under a liquid) hold placeholders or older values and
// are shown as not valid; every input is valid.
bool ResultValid(const FUM::DVal& field);
bool ResultValid(const FI::RVal& field);
// The meter-warning text of the last run, and whether that run sounded the beep.
const std::string& MeterWarning();
bool LastRunBeeped();
// Whether a mole fraction was typed since the last run (the Mole fractions page calculates it with
// its next entry); a calculation started elsewhere would take it early.
bool ComponentsPending();
// The meter engine's flag set of the last run (0 on the turbine path without a fault).
std::uint16_t MeterFlags();

}  // namespace qmx::QMXcalc
