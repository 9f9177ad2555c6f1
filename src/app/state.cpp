// The calculation state: module start and finalisation, the selectors with their dependent
// updates, and Reset.
#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

#include "app/qmxcalc.hpp"
#include "app/display_units.hpp"
#include "gas/components.hpp"
#include "gas/gas1.hpp"
#include "liquids/estimate.hpp"
#include "meters/dp0.hpp"
#include "meters/dp2.hpp"
#include "numerics/error.hpp"
#include "units/fe.hpp"
#include "units/utf8.hpp"

namespace qmx::QMXcalc {

namespace {

// The one calculation state of the process: the pages, the report and the command line all
// work on it from the user-interface thread.
State state;
bool initialized = false;
// A thread's own state while a ThreadState lives on it (the batch workers); the process state
// otherwise.
thread_local State* bound = nullptr;

State& Cur() { return bound != nullptr ? *bound : state; }

using FUM::DVal;
using FI::RVal;

constexpr std::string_view kBlankHeader = "___________________________";
constexpr std::string_view kCompanyHeader = "_______Company name________";

// A dimensioned value with its creation unit, initial value and I/O mode, 5 significant digits.
void MakeDV(DV& dv, std::string_view unit, double value, FUM::IOFlag io) {
  FUM::uDVinit(unit, value, io, dv);
  FUM::uDVsetSigDigits(5, *dv);
}

void MakeRV(RV& rv, double value, FI::IOFlag io) {
  FI::RVinit(value, io, rv);
  FI::RVsetPrecision(5, *rv);
}

// Meters whose throat is not a free dimension (elbows, averaging pitot tubes, code 35, turbine).
bool FixedThroat(int meter) { return (meter >= 27 && meter <= 35) || meter == 39; }
// Meters that carry a probe width as throat: the averaging pitot tubes and the gas turbine.
bool ProbeMeter(int meter) { return (meter >= 31 && meter <= 34) || meter == 39; }

bool LegalMeter(int meter) {
  switch (meter) {
    case 0: case 3: case 4: case 6: case 7: case 8: case 12: case 14: case 15: case 24: case 33:
    case 39:
      return true;
    default:
      return false;
  }
}

DP0::MeterType Type(int meter) { return static_cast<DP0::MeterType>(meter); }

double ProbeWidth(int model) {
  double width = 0.0;
  DP2::AnnubarProbeWidth(static_cast<DP2::AnnubarType>(model), width);
  return width;
}

// Sets the throat to the probe width of the model (when it has one) and beta from it.
void ThroatFromProbe(int meter, int model) {
  const double width = ProbeWidth(model);
  if (width <= 0.0) return;
  FUM::uDVsetMKS(width, *Cur().throatDiameter);
  FI::RVsetLReal(DP0::Beta(Type(meter), FUM::uDVgetMKS(*Cur().pipeDiameter), width), *Cur().beta);
}

void CreateFields(State& s) {
  using FUM::fIN;
  using FUM::fINOUT;
  using FUM::fOUT;
  // The dimensioned inputs: creation unit, initial value, I/O mode, and limits in `limitUnit`
  // (NaN where there is none).
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  struct Input {
    DV* dv;
    std::string_view unit;
    double value;
    FUM::IOFlag io;
    std::string_view limitUnit;
    double minimum, maximum;
  };
  const Input inputs[] = {
      {&s.flowingTemperature, "F", 72, fINOUT, "F", -40, kNone},
      {&s.dp, "inw", 50, fIN, "inw", 0, kNone},
      {&s.staticPressure, "psi", 500, fINOUT, "psi", 0, kNone},
      {&s.atmosphericPressure, "psi", 13.6, fIN, "psi", 0, 20},
      {&s.upstreamPressure, "psi", 100, fINOUT, "psi", 0, kNone},
      {&s.kFactor, "pulse/ft3", 1000, fIN, "pulse/ft3", 0.01, kNone},
      {&s.baseTemperature, "F", 60, fINOUT, "C", 0, 100},
      {&s.basePressure, "psi", 14.73, fIN, "psi", 0, 15},
      {&s.pipeDiameter, "in", 5, fIN, "in", 0.1, kNone},
      {&s.throatDiameter, "in", 2, fINOUT, "in", 0.1, kNone},
      {&s.throatRefTemperature, "F", 68, fIN, "F", 0, 120},
      {&s.pipeRefTemperature, "F", 68, fIN, "F", 0, 120},
      {&s.gcnHeatingValue, "btu/ft3", 1000, fINOUT, "", kNone, kNone},
      {&s.gcnViscosity, "cp", 0.01, fINOUT, "", kNone, kNone},
      {&s.apiGravity, "api", 34.8, fIN, "kg/m3", 610.5, 1075},
      {&s.baseDensity, "kg/m3", 850, fINOUT, "", kNone, kNone},
      {&s.thermalExpansion, "null/K", 0.0007, fINOUT, "null/K", 1e-05, 0.001},
      {&s.liquidDensity, "kg/m3", 850, fINOUT, "", kNone, kNone},
      {&s.liquidViscosity, "cp", 2, fINOUT, "", kNone, kNone}};
  for (const Input& in : inputs) {
    MakeDV(*in.dv, in.unit, in.value, in.io);
    if (!std::isnan(in.minimum)) FUM::uDVsetMinLimit(in.limitUnit, in.minimum, **in.dv);
    if (!std::isnan(in.maximum)) FUM::uDVsetMaxLimit(in.limitUnit, in.maximum, **in.dv);
  }
  MakeRV(s.frequency, 1000, FI::fIN);
  MakeRV(s.beta, 0.5, FI::fINOUT);
  FI::RVsetMinLimit(0.01, *s.beta);
  FI::RVsetMaxLimit(1.0, *s.beta);
  MakeRV(s.fixedCd, 0.838908, FI::fIN);
  FI::RVsetMinLimit(0.5, *s.fixedCd);
  FI::RVsetMaxLimit(1.1, *s.fixedCd);

  MakeRV(s.gcnRelativeDensity, 0.6, FI::fINOUT);
  FI::RVsetMinLimit(0.554, *s.gcnRelativeDensity);
  FI::RVsetMaxLimit(0.87, *s.gcnRelativeDensity);
  for (RV* rv : {&s.gcnCO2, &s.gcnN2, &s.gcnH2, &s.gcnCO}) {
    MakeRV(*rv, 0, FI::fINOUT);
    FI::RVsetToPercent(**rv);
  }
  FI::RVsetMaxLimit(0.2894, *s.gcnCO2);
  FI::RVsetMaxLimit(0.536, *s.gcnN2);

  MakeRV(s.liquidRelativeDensity, 1, FI::fINOUT);

  MakeDV(s.massFlow, "lbm/sec", 1, fOUT);
  const std::pair<DV*, std::string_view> results[] = {
      {&s.stdVolumeFlow, "ft3/min"},       {&s.actualVolumeFlow, "ft3/sec"},
      {&s.energyFlow, "btu/min"},          {&s.throatDiameterFlowing, "m"},
      {&s.pipeDiameterFlowing, "m"},       {&s.pressureLoss, "pa"},
      {&s.pipeVelocity, "m/s"},            {&s.molarDensity, "lbmole/ft3"},
      {&s.molarMass, "lbm/lbmole"},        {&s.molarHeatingValue, "btu/lbmole"},
      {&s.massHeatingValue, "mmbtu/lbm"},  {&s.volumetricHeatingValue, "btu/ft3"},
      {&s.viscosity, "cp"},                {&s.criticalPressure, "psi"},
      {&s.criticalTemperature, "R"},       {&s.densityFlowing, "lbm/ft3"},
      {&s.densityBase, "lbm/ft3"},         {&s.satLiquidDensity, "lbm/ft3"},
      {&s.waterDensityBase, "lbm/ft3"},    {&s.referenceEnthalpy, "btu/lbm"},
      {&s.enthalpy, "btu/lbm"}};
  for (const auto& [dv, unit] : results) MakeDV(*dv, unit, 10, fOUT);

  for (RV* rv : {&s.zFlowing, &s.zBase, &s.isentropicExponent, &s.cd, &s.reynolds,
                 &s.expansionFactor, &s.betaFlowing, &s.velocityOfApproach,
                 &s.liquidCorrectionFactor, &s.spare}) {
    MakeRV(*rv, 1, FI::fOUT);
  }
  MakeRV(s.relativeDensity, 0.6, FI::fOUT);
  MakeRV(s.mach, 0, FI::fOUT);
}

void ReleaseFields(State& s) {
  const std::array<DV*, 41> dvs = {
      &s.flowingTemperature, &s.dp, &s.staticPressure, &s.atmosphericPressure,
      &s.upstreamPressure, &s.kFactor, &s.baseTemperature, &s.basePressure, &s.pipeDiameter,
      &s.throatDiameter, &s.throatRefTemperature, &s.pipeRefTemperature, &s.gcnHeatingValue,
      &s.gcnViscosity, &s.apiGravity, &s.baseDensity, &s.thermalExpansion, &s.liquidDensity,
      &s.liquidViscosity, &s.massFlow, &s.stdVolumeFlow, &s.actualVolumeFlow, &s.energyFlow,
      &s.throatDiameterFlowing, &s.pipeDiameterFlowing, &s.pressureLoss, &s.pipeVelocity,
      &s.molarDensity, &s.molarMass, &s.molarHeatingValue, &s.massHeatingValue,
      &s.volumetricHeatingValue, &s.viscosity, &s.criticalPressure, &s.criticalTemperature,
      &s.densityFlowing, &s.densityBase, &s.satLiquidDensity, &s.waterDensityBase,
      &s.referenceEnthalpy, &s.enthalpy};
  const std::array<RV*, 21> rvs = {
      &s.frequency, &s.beta, &s.fixedCd, &s.gcnRelativeDensity, &s.gcnCO2, &s.gcnN2,
      &s.gcnH2, &s.gcnCO, &s.liquidRelativeDensity, &s.zFlowing, &s.zBase,
      &s.isentropicExponent, &s.relativeDensity, &s.cd, &s.reynolds, &s.expansionFactor,
      &s.betaFlowing, &s.velocityOfApproach, &s.mach, &s.liquidCorrectionFactor, &s.spare};
  for (DV* dv : dvs) {
    if (*dv) FUM::uDVkill(*dv);
  }
  for (RV* rv : rvs) {
    if (*rv) FI::RVkill(*rv);
  }
}

void SetMixChoices(bool& changed, int table, int method) {
  SetHeatingValueTable(changed, table);
  SetEnergyMethod(changed, method);
}

}  // namespace

State& Calc() { return Cur(); }
bool IsInitialized() { return bound != nullptr || initialized; }

namespace {

// Gas methods on the calling thread, both mixes, every field; the caller runs Reset.
void Build(State& s) {
  GAS1::InstallStandardMethods();
  s = State{};
  s.detailMix = GAS1::NewMix(GAS0::AGA8detailed, 0, "Detail mix");
  s.gcnMix = GAS1::NewMix(GAS0::SgergGCN, 0, "GCN mix");
  CreateFields(s);
}

void Release(State& s) {
  if (GAS0::IsMix(s.detailMix)) GAS0::KillMix0(s.detailMix);
  if (GAS0::IsMix(s.gcnMix)) GAS0::KillMix0(s.gcnMix);
  ReleaseFields(s);
  s = State{};
}

}  // namespace

void Initialize() {
  if (initialized) return;
  Build(state);
  initialized = true;
  State* const previous = std::exchange(bound, nullptr);  // Reset works on the process state
  try {
    Reset();
  } catch (...) {
    bound = previous;
    Finalize();
    throw;
  }
  bound = previous;
}

void Finalize() {
  Release(state);
  initialized = false;
}

ThreadState::ThreadState() : state_(std::make_unique<State>()), previous_(bound) {
  Build(*state_);
  bound = state_.get();
  try {
    Reset();
  } catch (...) {
    Release(*state_);
    bound = previous_;
    throw;
  }
}

ThreadState::~ThreadState() {
  Release(*state_);
  bound = previous_;
}

// ---- Selections ----------------------------------------------------------------------------

void SetMeter(bool& changed, int nonDPmethod, int meter) {
  State& s = Cur();
  if (meter == s.meter) return;
  if (!LegalMeter(meter)) Raise(kModule, "QMXcalc.SetMeter() illegal flow calc", 1);
  const int old = s.meter;
  s.nonDPmethod = static_cast<std::uint8_t>(meter == 39 ? nonDPmethod : 0);
  s.meter = static_cast<std::uint8_t>(meter);
  changed = true;
  if (!ProbeMeter(old) && ProbeMeter(meter)) {
    s.savedThroat = FUM::uDVgetMKS(*s.throatDiameter);
    s.savedBeta = FI::RVgetLReal(*s.beta);
    ThroatFromProbe(meter, s.probeModel);
  } else if (ProbeMeter(old) && !ProbeMeter(meter)) {
    FUM::uDVsetMKS(s.savedThroat, *s.throatDiameter);
    FI::RVsetLReal(s.savedBeta, *s.beta);
  }
  switch (meter) {
    case 14:
      SetMixChoices(changed, 0, 0);
      break;
    case 15: case 39: case 24: case 33: case 3: case 4:
      SetMixChoices(changed, 2, 2);
      break;
    default:  // 0, 6, 7, 8, 12
      SetMixChoices(changed, 6, 0);
      break;
  }
}

std::string_view MeterChoiceText(int meter) {
  for (const MeterChoice& c : kMeterChoices) {
    if (c.meter == meter) return c.text;
  }
  return {};
}

int GetMeter(int& nonDPmethod) {
  nonDPmethod = Cur().nonDPmethod;
  return Cur().meter;
}

namespace {
void StoreByte(bool& changed, std::uint8_t& field, int value) {
  const auto b = static_cast<std::uint8_t>(value);
  if (b != field) {
    field = b;
    changed = true;
  }
}
}  // namespace

void SetFluid(bool& changed, int kind) {
  StoreByte(changed, Cur().fluid, kind);
  FollowFluidVolumeUnits();
}
int GetFluid() { return Cur().fluid; }
void SetLiquidProduct(bool& changed, int product) { StoreByte(changed, Cur().liquidProduct, product); }
int GetLiquidProduct() { return Cur().liquidProduct; }
void SetTaps(bool& changed, int tap) { StoreByte(changed, Cur().taps, tap); }
int GetTaps() { return Cur().taps; }

void SetProbeModel(bool& changed, int index) {
  const auto b = static_cast<std::uint8_t>(index);
  if (b == Cur().probeModel) return;
  Cur().probeModel = b;
  ThroatFromProbe(Cur().meter, b);
  changed = true;
}
int GetProbeModel() { return Cur().probeModel; }

namespace {
// Stores a material code when it differs and writes the selection trace.
void StoreMaterial(bool& changed, std::uint8_t& field, int code, std::string_view trace) {
  const auto b = static_cast<std::uint8_t>(code);
  if (b == field) return;
  field = b;
  changed = true;
  FE::FmtToTerminal(trace, b);
}

// Writes a mixture selection into both mixtures where it differs.
void StoreMixChoice(bool& changed, int code, int (*get)(const GAS0::GMix&),
                    void (*set)(const GAS0::GMix&, int)) {
  for (const GAS0::GMix* mix : {&Cur().detailMix, &Cur().gcnMix}) {
    if (get(*mix) != code) {
      set(*mix, code);
      changed = true;
    }
  }
}
}  // namespace

void SetTubeMaterial(bool& changed, int code) {
  StoreMaterial(changed, Cur().tubeMaterial, code, "\nSetTubeMaterial() selection=%u");
}
int GetTubeMaterial() { return Cur().tubeMaterial; }

void SetThroatMaterial(bool& changed, int code) {
  StoreMaterial(changed, Cur().throatMaterial, code, "\nSetThroatMaterial() selection=%u");
}
int GetThroatMaterial() { return Cur().throatMaterial; }

void SetHeatingValueTable(bool& changed, int code) {
  StoreMixChoice(changed, code, GAS1::MixGetDataSource, GAS1::MixSetDataSource);
}
int GetHeatingValueTable() { return GAS1::MixGetDataSource(Cur().detailMix); }

void SetEnergyMethod(bool& changed, int code) {
  StoreMixChoice(changed, code, GAS1::MixGetHMethod, GAS1::MixSetHMethod);
}
int GetEnergyMethod() { return GAS1::MixGetHMethod(Cur().detailMix); }

void SetStdGasComp(bool& changed, int index) {
  if (index < 0 || index >= GAS1::kNPresets) {
    Raise(kModule, "SetStdGasComp() no such detail mixture", 4);
  }
  State& s = Cur();
  GAS1::Slate slate{};
  const auto& x = GAS1::kPresets[static_cast<std::size_t>(index)].x;
  std::copy(x.begin(), x.end(), slate.begin());
  GAS1::MixSetSlate(s.detailMix, slate);
  GAS1::MixUpdate(s.detailMix);
  const double gr = GAS1::MixGetGross(s.detailMix, GAS0::gr).value;
  GAS1::MixSetGr(s.gcnMix, gr);
  FI::RVsetLReal(gr, *s.gcnRelativeDensity);
  const double mu = GAS1::MixGetIdeal(s.detailMix, GAS0::Mu).value;
  GAS1::MixSetMu(s.gcnMix, mu);
  FUM::uDVsetMKS(mu, *s.gcnViscosity);
  const double hs = GAS1::MixGetHeat(s.detailMix, GAS0::Hv).value;
  GAS1::MixSetHs(s.gcnMix, hs);
  FUM::uDVsetMKS(hs, *s.gcnHeatingValue);
  const double co2 = GAS1::MixGetX(s.detailMix, GAS0::CO2, 0);
  GAS1::MixSetCO2(s.gcnMix, co2);
  FI::RVsetLReal(co2, *s.gcnCO2);
  const double n2 = GAS1::MixGetX(s.detailMix, GAS0::N2, 0);
  GAS1::MixSetN2(s.gcnMix, n2);
  FI::RVsetLReal(n2, *s.gcnN2);
  const double co = GAS1::MixGetX(s.detailMix, GAS0::CO, 0);
  GAS1::MixSetCO(s.gcnMix, co);
  FI::RVsetLReal(co, *s.gcnCO);
  const double h2 = GAS1::MixGetX(s.detailMix, GAS0::H2, 0);
  GAS1::MixSetH2(s.gcnMix, h2);
  FI::RVsetLReal(h2, *s.gcnH2);
  GAS1::MixUpdate(s.gcnMix);
  changed = true;
}

namespace {
// A number in significant-digit form, right-aligned in a field of `width`.
std::string Field(double x, int digits, std::size_t width) {
  std::string text;
  FE::LONGREALtoStr(text, digits, x);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}
}  // namespace

void GetComponentText(std::string& totalText, std::string& fractionText, int component) {
  totalText = Field(GAS1::MixSumX(Cur().detailMix, 1) * 100.0, 6, 10);
  fractionText = Field(GAS1::MixGetX(Cur().detailMix, component, 0) * 100.0, 6, 10);
}

void GetEnteredTotalText(std::string& totalText) {
  totalText = Field(GAS1::MixSumX(Cur().detailMix, 0) * 100.0, 6, 10);
}

void SetComponentText(bool& changed, std::string_view text, int component) {
  std::string t(text);
  if (!FE::HasDigit(t)) return;
  FE::TidyNumber(true, t);
  double v = 0.0;
  if (!FE::StrToReal(t, v) || !std::isfinite(v) || v < 0.0 || v > 100.0) return;
  if (component < 0 || component >= GAS1::kNAga) return;
  const double x = v / 100.0;
  if (x != GAS1::MixGetX(Cur().detailMix, component, 0)) {
    GAS1::MixSetX(Cur().detailMix, x, component);
    Cur().componentsPending = true;
    changed = true;
  }
}

void SetHeaderText(int index, std::string_view text) {
  if (index < 0 || index >= kHeaderCount) return;
  // At most kHeaderLength characters, never cutting a character of a UTF-8 text in two.
  Cur().header[static_cast<std::size_t>(index)] =
      std::string(text.substr(0, UTF8::PrefixBytes(text, kHeaderLength)));
}

const std::string& GetHeaderText(int index) {
  static const std::string empty;
  if (index < 0 || index >= kHeaderCount) return empty;
  return Cur().header[static_cast<std::size_t>(index)];
}

// ---- Dependent fields ----------------------------------------------------------------------

void UpdateAbsolutePressure() {
  FUM::uDVsetMKS(FUM::uDVgetMKS(*Cur().staticPressure) + FUM::uDVgetMKS(*Cur().atmosphericPressure),
                 *Cur().upstreamPressure);
}

void UpdateGaugePressure() {
  FUM::uDVsetMKS(FUM::uDVgetMKS(*Cur().upstreamPressure) - FUM::uDVgetMKS(*Cur().atmosphericPressure),
                 *Cur().staticPressure);
}

void UpdateBeta() {
  if (FixedThroat(Cur().meter)) return;
  FI::RVsetLReal(DP0::Beta(Type(Cur().meter), FUM::uDVgetMKS(*Cur().pipeDiameter),
                           FUM::uDVgetMKS(*Cur().throatDiameter)),
                 *Cur().beta);
}

void UpdateBore() {
  if (FixedThroat(Cur().meter)) return;
  FUM::uDVsetMKS(DP0::C_dR(Type(Cur().meter), FUM::uDVgetMKS(*Cur().pipeDiameter),
                           FI::RVgetLReal(*Cur().beta)),
                 *Cur().throatDiameter);
}

void UpdateRelativeDensity() {
  FI::RVsetLReal(FUM::uDVgetMKS(*Cur().baseDensity) / kWaterDensity, *Cur().liquidRelativeDensity);
}

void UpdateBaseDensity() {
  FUM::uDVsetMKS(FI::RVgetLReal(*Cur().liquidRelativeDensity) * kWaterDensity, *Cur().baseDensity);
}

bool EstimateLiquidViscosity() {
  LIQ::EstimateFlags flags = 0;
  const double mu = LIQ::EstimateViscosity(flags, 0.0, FUM::uDVgetMKS(*Cur().flowingTemperature),
                                           FUM::uDVgetMKS(*Cur().liquidDensity));
  if (flags != 0 || !(mu > 0.0) || !std::isfinite(mu)) return false;
  FUM::uDVsetMKS(mu, *Cur().liquidViscosity);
  return true;
}

// ---- Page registry -------------------------------------------------------------------------

void SetPage(int index, PageHandle window) {
  if (index >= 0 && index < kPageCount) Cur().pages[static_cast<std::size_t>(index)] = window;
}
PageHandle GetPage(int index) {
  return index >= 0 && index < kPageCount ? Cur().pages[static_cast<std::size_t>(index)] : 0;
}
void ShowPage(bool show, int index) {
  if (index >= 0 && index < kPageCount) Cur().pageShown[static_cast<std::size_t>(index)] = show;
}
bool PageShown(int index) {
  return index >= 0 && index < kPageCount && Cur().pageShown[static_cast<std::size_t>(index)];
}
void SetStandardsPage(PageHandle window) { Cur().standardsPage = window; }
void SetExpertMode(bool on) {
  Cur().expertMode = on;
  if (on) Cur().standardsShown = true;
}
bool GetExpertMode() { return Cur().expertMode; }
bool StandardsPageShown() { return Cur().standardsShown; }

// ---- Reset ---------------------------------------------------------------------------------

void Reset() {
  State& s = Cur();
  s.meter = 15;
  s.nonDPmethod = 0;
  s.tubeMaterial = 12;
  s.throatMaterial = 13;
  s.taps = 1;
  s.probeModel = 9;
  s.fluid = kNaturalGas;
  FollowFluidVolumeUnits();
  s.liquidProduct = 0;
  s.header[0] = std::string(kCompanyHeader);
  for (int i = 1; i < kHeaderCount; ++i) s.header[static_cast<std::size_t>(i)] = std::string(kBlankHeader);
  s.savedThroat = 0.0508;
  s.savedBeta = 0.4;

  struct Entry {
    DVal* dv;
    std::string_view text, unit;
  };
  const Entry first[] = {
      {s.dp.get(), "12.0", "kpa"},
      {s.staticPressure.get(), "3500.0", "kpa"},
      {s.flowingTemperature.get(), "22.0", "C"},
      {s.atmosphericPressure.get(), "93.7", "kpa"},
      {s.pipeDiameter.get(), "3.068", "in"},
      {s.throatDiameter.get(), "1.534", "in"},
      {s.baseTemperature.get(), "15.0", "C"},
      {s.basePressure.get(), "101.325", "kpa"},
      {s.throatRefTemperature.get(), "20.0", "C"},
      {s.pipeRefTemperature.get(), "20.0", "C"},
      {s.apiGravity.get(), "34.8", "api"},
      {s.baseDensity.get(), "54.0", "lbm/ft3"}};
  bool ok = true;
  for (const Entry& e : first) {
    if (!FUM::uDVsetValStrTempUnits(e.unit, e.text, *e.dv)) {
      ok = false;
      break;
    }
  }
  UpdateRelativeDensity();
  ok = FUM::uDVsetValStrTempUnits("cp", "2.0", *s.liquidViscosity) && ok;
  ok = FUM::uDVsetValStrTempUnits("kg/m3", "800.0", *s.liquidDensity) && ok;
  ok = FI::RVsetValStr("0.838908", *s.fixedCd) && ok;
  ok = FI::RVsetValStr("0.5", *s.beta) && ok;

  GAS1::MixSetTbase(s.detailMix, FUM::uDVgetMKS(*s.baseTemperature));
  GAS1::MixSetPbase(s.detailMix, FUM::uDVgetMKS(*s.basePressure));
  GAS1::MixSetHMethod(s.detailMix, 0);
  GAS1::MixSetDataSource(s.detailMix, 1);

  bool changed = false;
  SetStdGasComp(changed, 0);
  UpdateAbsolutePressure();
  UpdateBeta();

  bool run = ok;
  if (ok) {
    changed = true;
    run = Calculate(changed);
  }
  if (!ok || !run) Raise(kModule, "Reset error", 6);
}

}  // namespace qmx::QMXcalc
