// Calculation state: defaults after Reset, selectors and their dependent fields, and the
// Calculate pipeline against an independent recomputation of the default case.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/qmxcalc.hpp"
#include "gas/aga8.hpp"
#include "gas/components.hpp"
#include "gas/gas1.hpp"
#include "meters/dp0.hpp"
#include "meters/dp2.hpp"
#include "meters/dpflow.hpp"
#include "numerics/error.hpp"
#include "numerics/trace.hpp"
#include "steam/if97.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx;
using namespace qmx::QMXcalc;

constexpr double kInch = 0.0254;

double Si(const DV& dv) { return FUM::uDVgetMKS(*dv); }
double Val(const RV& rv) { return FI::RVgetLReal(*rv); }
std::string Units(const DV& dv) {
  std::string u;
  FUM::uDVgetUnits(u, *dv);
  return u;
}

class CalcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Initialize();
    Reset();
  }
  static void TearDownTestSuite() { Finalize(); }
  // Recalculates after an edit made directly in the fields.
  static void Recalc() {
    bool changed = true;
    ASSERT_TRUE(Calculate(changed));
  }
};

TEST_F(CalcTest, ResetRestoresTheDefaults) {
  State& s = Calc();
  int nonDP = -1;
  EXPECT_EQ(GetMeter(nonDP), 15);
  EXPECT_EQ(nonDP, 0);
  EXPECT_EQ(GetTaps(), 1);
  EXPECT_EQ(GetTubeMaterial(), 12);
  EXPECT_EQ(GetThroatMaterial(), 13);
  EXPECT_EQ(GetProbeModel(), 9);
  EXPECT_EQ(GetFluid(), 0);
  EXPECT_EQ(GetLiquidProduct(), 0);
  EXPECT_FALSE(GetExpertMode());

  EXPECT_DOUBLE_EQ(Si(s.dp), 12000.0);
  EXPECT_DOUBLE_EQ(Si(s.staticPressure), 3.5e6);
  EXPECT_NEAR(Si(s.flowingTemperature), 295.15, 1e-9);
  EXPECT_DOUBLE_EQ(Si(s.atmosphericPressure), 93700.0);
  EXPECT_NEAR(Si(s.pipeDiameter), 3.068 * kInch, 1e-12);
  EXPECT_NEAR(Si(s.throatDiameter), 1.534 * kInch, 1e-12);
  EXPECT_NEAR(Si(s.baseTemperature), 288.15, 1e-9);
  EXPECT_DOUBLE_EQ(Si(s.basePressure), 101325.0);
  EXPECT_NEAR(Si(s.throatRefTemperature), 293.15, 1e-9);
  EXPECT_NEAR(Si(s.pipeRefTemperature), 293.15, 1e-9);
  EXPECT_NEAR(Si(s.liquidViscosity), 0.002, 1e-12);
  EXPECT_NEAR(Si(s.liquidDensity), 800.0, 1e-9);
  EXPECT_DOUBLE_EQ(Val(s.fixedCd), 0.838908);
  EXPECT_DOUBLE_EQ(s.savedThroat, 0.0508);
  EXPECT_DOUBLE_EQ(s.savedBeta, 0.4);
  // 54.0 lbm/ft3 is 865.0 kg/m3 to four figures; the relative density follows it.
  EXPECT_NEAR(Si(s.baseDensity), 865.0, 0.05);
  EXPECT_NEAR(Val(s.liquidRelativeDensity), Si(s.baseDensity) / 999.012, 1e-12);
  // Reset recomputes beta from the diameters (after setting it to 0.5).
  EXPECT_NEAR(Val(s.beta), DP0::Beta(DP0::MeterType::Orf_AGA, 3.068 * kInch, 1.534 * kInch), 1e-15);
  EXPECT_NEAR(Val(s.beta), 0.5, 1e-12);
  // Reset keeps the display units of creation.
  EXPECT_EQ(Units(s.staticPressure), "psi");
  EXPECT_EQ(Units(s.flowingTemperature), "F");
  EXPECT_EQ(Units(s.massFlow), "lbm/sec");
  EXPECT_EQ(GetHeaderText(0), "_______Company name________");
  for (int i = 1; i < kHeaderCount; ++i) EXPECT_EQ(GetHeaderText(i), std::string(27, '_'));
  EXPECT_EQ(GetHeatingValueTable(), 1);
  EXPECT_EQ(GetEnergyMethod(), 0);
  EXPECT_EQ(GAS1::MixGetName(s.detailMix), "Detail mix");
  EXPECT_EQ(GAS1::MixGetName(s.gcnMix), "GCN mix");
  EXPECT_EQ(GAS1::MixGetZMethod(s.detailMix), GAS0::AGA8detailed);
  EXPECT_EQ(GAS1::MixGetZMethod(s.gcnMix), GAS0::SgergGCN);
}

TEST_F(CalcTest, AbsolutePressureIsGaugePlusAtmospheric) {
  State& s = Calc();
  EXPECT_NEAR(FUM::uDVgetValTempUnits("kpa", *s.upstreamPressure), 3593.7, 1e-9);
  // The fluid pages enter the absolute pressure; the gauge pressure follows.
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("kpa", "4000", *s.upstreamPressure));
  UpdateGaugePressure();
  EXPECT_NEAR(FUM::uDVgetValTempUnits("kpa", *s.staticPressure), 3906.3, 1e-9);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("kpa", "100", *s.atmosphericPressure));
  UpdateAbsolutePressure();
  EXPECT_NEAR(FUM::uDVgetValTempUnits("kpa", *s.upstreamPressure), 4006.3, 1e-9);
}

// The default case recomputed from the engines directly: AGA-8 density at the flowing state,
// the flow equation with the AGA-3 coefficient, the expansibility and the diameters corrected
// to the flowing temperature.
TEST_F(CalcTest, DefaultCaseMatchesIndependentRecomputation) {
  State& s = Calc();
  const double P = 3.5e6 + 93.7e3, T = 295.15, dp = 12000.0;
  const double D = 3.068 * kInch, d = 1.534 * kInch;

  AGA892::Cache cache;
  const auto& x = GAS1::kPresets[0].x;
  AGA892::Base(cache, x, 101325.0, 288.15);
  const AGA892::Solution sol = AGA892::Flowing(cache, P, T);
  ASSERT_EQ(sol.omens, 0);
  const double M = Si(s.molarMass);
  EXPECT_NEAR(M, AGA892::MolarMass(x), 1e-3 * M);  // the data table's and the report's masses
  const double rho = sol.D * M;
  EXPECT_NEAR(Si(s.densityFlowing), rho, 1e-9 * rho);
  EXPECT_NEAR(Val(s.zFlowing), sol.Z, 1e-9);
  EXPECT_NEAR(Si(s.molarDensity), sol.D, 1e-9 * sol.D);

  DP0::DPMeter meter{};
  meter.d = d;
  meter.D = D;
  meter.Tref_d = 293.15;
  meter.Tref_D = 293.15;
  meter.elementMaterial = DP0::Material::StSteel;
  meter.pipeMaterial = DP0::Material::CbSteel;
  meter.type = DP0::MeterType::Orf_AGA;
  meter.element.tap = 1;
  DP0::DPFluid fluid;
  fluid.dp = dp;
  fluid.Tf = T;
  fluid.P1 = P;
  fluid.mu = Si(s.viscosity);
  fluid.kappa = Val(s.isentropicExponent);
  fluid.rho = rho;
  fluid.rho_b = Si(s.densityBase);
  fluid.Hm = Si(s.massHeatingValue);
  fluid.compressible = true;
  DP0::DPFlags flags = 0;
  DP0::DPResult r{};
  DP0::MassFlow(flags, r, fluid, meter);
  EXPECT_EQ(flags, 0);

  const double dt = DP0::DiameterAtTemperature(DP0::Material::StSteel, 293.15, T, d);
  const double Dt = DP0::DiameterAtTemperature(DP0::Material::CbSteel, 293.15, T, D);
  const double beta = dt / Dt;
  const double E = 1.0 / std::sqrt(1.0 - std::pow(beta, 4));
  const double qm = r.C * E * r.epsilon * std::numbers::pi / 4 * dt * dt * std::sqrt(2 * rho * dp);
  EXPECT_NEAR(r.qm, qm, 1e-9 * qm);
  EXPECT_GT(r.C, 0.59);
  EXPECT_LT(r.C, 0.62);
  EXPECT_LT(r.epsilon, 1.0);
  EXPECT_GT(r.epsilon, 0.99);

  EXPECT_NEAR(Si(s.massFlow), qm, 1e-9 * qm);
  EXPECT_NEAR(Si(s.throatDiameterFlowing), dt, 1e-12 * dt);
  EXPECT_NEAR(Si(s.pipeDiameterFlowing), Dt, 1e-12 * Dt);
  EXPECT_NEAR(Val(s.betaFlowing), beta, 1e-12);
  EXPECT_NEAR(Val(s.velocityOfApproach), E, 1e-12);
  EXPECT_NEAR(Val(s.cd), r.C, 1e-12);
  EXPECT_NEAR(Val(s.expansionFactor), r.epsilon, 1e-12);
  EXPECT_NEAR(Si(s.actualVolumeFlow), qm / rho, 1e-9 * qm / rho);
  EXPECT_NEAR(Si(s.stdVolumeFlow), qm / fluid.rho_b, 1e-9 * qm / fluid.rho_b);
  EXPECT_NEAR(Si(s.energyFlow), qm * fluid.Hm, 1e-9 * qm * fluid.Hm);
  EXPECT_NEAR(Val(s.reynolds), DP0::Reynolds(qm, Dt, fluid.mu), 1e-6 * Val(s.reynolds));

  // Every gas field is filled with a plausible value and the liquid factor stays 1.
  EXPECT_NEAR(Val(s.relativeDensity), 0.58, 0.02);
  EXPECT_GT(Val(s.zBase), 0.99);
  EXPECT_LT(Val(s.zFlowing), Val(s.zBase));
  EXPECT_GT(Val(s.isentropicExponent), 1.2);
  EXPECT_GT(Si(s.criticalPressure), 4e6);
  EXPECT_GT(Si(s.criticalTemperature), 180.0);
  EXPECT_GT(Si(s.molarHeatingValue), 8e8);
  EXPECT_GT(Si(s.volumetricHeatingValue), 3e7);
  EXPECT_GT(Si(s.massHeatingValue), 4e7);
  EXPECT_NEAR(Si(s.viscosity), 1.1e-5, 0.2e-5);
  EXPECT_DOUBLE_EQ(Si(s.referenceEnthalpy), 0.0);
  EXPECT_DOUBLE_EQ(Val(s.liquidCorrectionFactor), 1.0);
  // Mach number from the speed of sound of the pipeline's formula.
  const double c = 0.3048 * std::sqrt(fluid.kappa * 32.2 * (1544.0 / M) * (T * 1.8));
  EXPECT_NEAR(Val(s.mach), Si(s.pipeVelocity) / c, 1e-12);
  EXPECT_EQ(MeterWarning(), "");
  EXPECT_FALSE(LastRunBeeped());
}

TEST_F(CalcTest, CalculateRunsOncePerChange) {
  std::vector<std::string> lines;
  trace::ScopedSink sink([&](std::string_view l) { lines.emplace_back(l); });
  bool changed = true;
  EXPECT_TRUE(Calculate(changed));
  EXPECT_FALSE(changed);
  EXPECT_FALSE(Calculate(changed));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "\n    RECALC");
  EXPECT_EQ(lines.back(), "\n no change");
}

TEST_F(CalcTest, SetMeterFlagsAndRefusals) {
  bool changed = false;
  SetMeter(changed, 0, 15);
  EXPECT_FALSE(changed);
  try {
    SetMeter(changed, 0, 16);
    FAIL() << "illegal meter accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "QMXcalc.SetMeter() illegal flow calc");
    EXPECT_EQ(e.code(), 1);
  }
  int nonDP = 0;
  EXPECT_EQ(GetMeter(nonDP), 15);
  EXPECT_FALSE(changed);
  // Meter families choose the heating value table and energy method of both mixes.
  SetMeter(changed, 1, 14);
  EXPECT_TRUE(changed);
  EXPECT_EQ(GetMeter(nonDP), 14);
  EXPECT_EQ(nonDP, 0);  // the method is kept only for the turbine
  EXPECT_EQ(GetHeatingValueTable(), 0);
  EXPECT_EQ(GAS1::MixGetDataSource(Calc().gcnMix), 0);
  SetMeter(changed, 0, 12);
  EXPECT_EQ(GetHeatingValueTable(), 6);
  EXPECT_EQ(GetEnergyMethod(), 0);
  SetMeter(changed, 0, 15);
  EXPECT_EQ(GetHeatingValueTable(), 2);
  EXPECT_EQ(GetEnergyMethod(), 2);
}

TEST_F(CalcTest, ProbeMeterSavesAndRestoresTheBore) {
  State& s = Calc();
  const double beta0 = Val(s.beta);
  bool changed = false;
  SetMeter(changed, 0, 33);
  ASSERT_TRUE(changed);
  double width = 0.0;
  ASSERT_TRUE(DP2::AnnubarProbeWidth(9, width));
  EXPECT_DOUBLE_EQ(Si(s.throatDiameter), width);
  EXPECT_DOUBLE_EQ(Val(s.beta), DP0::Beta(DP0::MeterType::Pit_AnnR, Si(s.pipeDiameter), width));
  EXPECT_NEAR(s.savedThroat, 1.534 * kInch, 1e-12);
  // The bore updates leave a probe alone.
  UpdateBore();
  UpdateBeta();
  EXPECT_DOUBLE_EQ(Si(s.throatDiameter), width);
  // Another probe model changes the throat with it.
  changed = false;
  SetProbeModel(changed, 3);
  EXPECT_TRUE(changed);
  ASSERT_TRUE(DP2::AnnubarProbeWidth(3, width));
  EXPECT_DOUBLE_EQ(Si(s.throatDiameter), width);
  Recalc();
  EXPECT_GT(Si(s.massFlow), 0.0);
  SetMeter(changed, 0, 15);
  EXPECT_NEAR(Si(s.throatDiameter), 1.534 * kInch, 1e-12);
  EXPECT_DOUBLE_EQ(Val(s.beta), beta0);
}

TEST_F(CalcTest, BoreAndBetaFollowEachOther) {
  State& s = Calc();
  ASSERT_TRUE(FI::RVsetValStr("0.6", *s.beta));
  UpdateBore();
  EXPECT_NEAR(Si(s.throatDiameter), 0.6 * Si(s.pipeDiameter), 1e-12);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("in", "1.0", *s.throatDiameter));
  UpdateBeta();
  EXPECT_NEAR(Val(s.beta), 1.0 / 3.068, 1e-12);
}

TEST_F(CalcTest, LiquidDensityUpdates) {
  State& s = Calc();
  ASSERT_TRUE(FI::RVsetValStr("0.9", *s.liquidRelativeDensity));
  UpdateBaseDensity();
  EXPECT_NEAR(Si(s.baseDensity), 0.9 * 999.012, 1e-9);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("kg/m3", "700", *s.baseDensity));
  UpdateRelativeDensity();
  EXPECT_NEAR(Val(s.liquidRelativeDensity), 700 / 999.012, 1e-15);
  // The estimate for 800 kg/m3 at 22 C lies within the correlation's range.
  EXPECT_TRUE(EstimateLiquidViscosity());
  EXPECT_GT(Si(s.liquidViscosity), 1e-4);
  EXPECT_LT(Si(s.liquidViscosity), 1e-1);
}

TEST_F(CalcTest, GasOmensEndTheRunAfterTheFluidStep) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kGcnGas);
  ASSERT_TRUE(Calculate(changed));
  const double qm0 = Si(s.massFlow);
  // SGERG covers up to 12 MPa.
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("kpa", "20000", *s.staticPressure));
  UpdateAbsolutePressure();
  changed = true;
  try {
    Calculate(changed);
    FAIL() << "pressure outside the equation's range accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.module(), "QMXcalc");
    EXPECT_EQ(e.code(), 3);
    // The omen names the equation whose range was left.
    EXPECT_EQ(e.message().rfind("Calculate() omens: SGERG: pressure out of range,", 0), 0u) << e.message();
  }
  EXPECT_FALSE(changed);
  // The fluid fields are stored, the flow results keep the last complete run.
  EXPECT_GT(Si(s.densityFlowing), 150.0);
  EXPECT_DOUBLE_EQ(Si(s.massFlow), qm0);
}

TEST_F(CalcTest, SelectorsSetTheFlagOnlyOnChange) {
  bool changed = false;
  SetTaps(changed, 1);
  SetFluid(changed, 0);
  SetTubeMaterial(changed, 12);
  SetThroatMaterial(changed, 13);
  SetProbeModel(changed, 9);
  SetLiquidProduct(changed, 0);
  EXPECT_FALSE(changed);
  // The table and method are written into both mixes; the GCN mix keeps its own until then.
  SetHeatingValueTable(changed, 1);
  SetEnergyMethod(changed, 0);
  changed = false;
  SetHeatingValueTable(changed, 1);
  SetEnergyMethod(changed, 0);
  EXPECT_FALSE(changed);
  EXPECT_EQ(GAS1::MixGetDataSource(Calc().gcnMix), 1);
  std::vector<std::string> lines;
  trace::ScopedSink sink([&](std::string_view l) { lines.emplace_back(l); });
  SetTubeMaterial(changed, 14);
  EXPECT_TRUE(changed);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "\nSetTubeMaterial() selection=14");
  changed = false;
  SetEnergyMethod(changed, 2);
  EXPECT_TRUE(changed);
  EXPECT_EQ(GAS1::MixGetHMethod(Calc().gcnMix), 2);
}

TEST_F(CalcTest, ComponentTexts) {
  bool changed = false;
  const double x0 = GAS1::MixGetX(Calc().detailMix, 1, 0);
  SetComponentText(changed, "101", 1);
  SetComponentText(changed, "abc", 1);
  SetComponentText(changed, "-1", 1);
  EXPECT_FALSE(changed);
  EXPECT_DOUBLE_EQ(GAS1::MixGetX(Calc().detailMix, 1, 0), x0);
  SetComponentText(changed, "2.5", 1);
  EXPECT_TRUE(changed);
  EXPECT_DOUBLE_EQ(GAS1::MixGetX(Calc().detailMix, 1, 0), 0.025);
  std::string total, fraction;
  GetComponentText(total, fraction, 1);
  EXPECT_EQ(fraction, "       2.5");
  EXPECT_EQ(total.size(), 10u);
  EXPECT_EQ(total, "     100.0");
}

TEST_F(CalcTest, PresetOutOfRangeChangesNothing) {
  bool changed = false;
  try {
    SetStdGasComp(changed, 16);
    FAIL() << "preset 16 accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "SetStdGasComp() no such detail mixture");
    EXPECT_EQ(e.code(), 4);
  }
  EXPECT_FALSE(changed);
  // A preset copies its gross characteristics into the GCN fields.
  SetStdGasComp(changed, 0);
  EXPECT_TRUE(changed);
  State& s = Calc();
  EXPECT_DOUBLE_EQ(Val(s.gcnRelativeDensity), GAS1::MixGetGross(s.detailMix, GAS0::gr).value);
  EXPECT_DOUBLE_EQ(Val(s.gcnCO2), GAS1::kPresets[0].x[2]);
}

TEST_F(CalcTest, GcnGasAgreesWithTheDetailMix) {
  State& s = Calc();
  const double qm0 = Si(s.massFlow);
  bool changed = false;
  SetFluid(changed, kGcnGas);
  ASSERT_TRUE(Calculate(changed));
  // SGERG from the gross characteristics of the same gas: within a few tenths of a percent.
  EXPECT_NEAR(Si(s.massFlow), qm0, 5e-3 * qm0);
}

TEST_F(CalcTest, GenericLiquid) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kGenericLiquid);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_DOUBLE_EQ(Val(s.expansionFactor), 1.0);
  EXPECT_LT(Val(s.mach), 1e-3);
  EXPECT_DOUBLE_EQ(Si(s.baseDensity), 800.0);
  EXPECT_NEAR(Val(s.liquidRelativeDensity), 800.0 / 999.012, 1e-15);
  EXPECT_DOUBLE_EQ(Si(s.densityFlowing), 800.0);
  EXPECT_DOUBLE_EQ(Val(s.isentropicExponent), 1e6);
  EXPECT_DOUBLE_EQ(Si(s.molarMass), 0.0);
  EXPECT_DOUBLE_EQ(Val(s.zFlowing), 0.0);
  EXPECT_DOUBLE_EQ(Si(s.viscosity), Si(s.liquidViscosity));
  EXPECT_GT(Si(s.massFlow), 0.0);
}

TEST_F(CalcTest, HydrocarbonLiquid) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kHydrocarbonLiquid);
  ASSERT_TRUE(Calculate(changed));
  // Crude oil at 22 C against a 15 C base: slightly lighter than at base.
  EXPECT_LT(Si(s.densityFlowing), Si(s.baseDensity));
  EXPECT_GT(Si(s.densityFlowing), 0.98 * Si(s.baseDensity));
  EXPECT_DOUBLE_EQ(Si(s.liquidDensity), Si(s.densityFlowing));
  EXPECT_LT(Val(s.liquidCorrectionFactor), 1.0);
  EXPECT_DOUBLE_EQ(Val(s.expansionFactor), 1.0);
  EXPECT_DOUBLE_EQ(Val(s.mach), 0.0);
  EXPECT_DOUBLE_EQ(Si(s.viscosity), Si(s.liquidViscosity));
}

// Worked example 4 of API MPMS 11.1-2004 (jet fuel, relative density 0.7943 at 60 F, 85 F,
// 247.3 psi gauge) entered through the fields: CTL 0.986832406683 and CTPL 0.98846.
TEST_F(CalcTest, HydrocarbonLiquidReproducesTheApiExample) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kHydrocarbonLiquid);
  SetLiquidProduct(changed, 1);
  const double rho60 = 0.7943 * 999.016;
  FUM::uDVsetMKS(rho60, *s.baseDensity);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("F", "60", *s.baseTemperature));
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("F", "85", *s.flowingTemperature));
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("psi", "247.3", *s.staticPressure));
  UpdateAbsolutePressure();
  ASSERT_TRUE(Calculate(changed));
  EXPECT_NEAR(Val(s.liquidCorrectionFactor), 0.986832406683, 5e-12);
  EXPECT_NEAR(Si(s.densityFlowing), 0.98846 * rho60, 1e-9 * rho60);
  EXPECT_DOUBLE_EQ(Si(s.densityBase), rho60);
}

TEST_F(CalcTest, GasTurbineByKFactor) {
  State& s = Calc();
  bool changed = false;
  SetMeter(changed, 1, 39);
  ASSERT_TRUE(FI::RVsetValStr("1000", *s.frequency));
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("pulse/ft3", "1000", *s.kFactor));
  ASSERT_TRUE(Calculate(changed));
  EXPECT_NEAR(FUM::uDVgetValTempUnits("ft3/sec", *s.actualVolumeFlow), 1.0, 1e-12);
  for (const RV* rv : {&s.cd, &s.expansionFactor, &s.betaFlowing, &s.velocityOfApproach}) {
    EXPECT_DOUBLE_EQ(Val(*rv), 1.0);
  }
  EXPECT_DOUBLE_EQ(Si(s.throatDiameterFlowing), Si(s.pipeDiameter));
  EXPECT_DOUBLE_EQ(Si(s.pipeDiameterFlowing), Si(s.pipeDiameter));
  EXPECT_NEAR(Si(s.massFlow), Si(s.actualVolumeFlow) * Si(s.densityFlowing), 1e-12);
  EXPECT_DOUBLE_EQ(Si(s.pressureLoss), 0.0);
  const double D = Si(s.pipeDiameter);
  EXPECT_NEAR(Val(s.reynolds), 4 * Si(s.massFlow) / (std::numbers::pi * D * Si(s.viscosity)),
              1e-9 * Val(s.reynolds));
  EXPECT_NEAR(Si(s.pipeVelocity), Si(s.actualVolumeFlow) / (std::numbers::pi * D * D / 4), 1e-12);
  // Another non-DP method is refused after the fluid step.
  s.nonDPmethod = 2;
  changed = true;
  try {
    Calculate(changed);
    FAIL() << "non-DP method 2 accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "Calculate() invalid NonDPmethod");
    EXPECT_EQ(e.code(), 0);
  }
}

TEST_F(CalcTest, SaturatedSteamWritesTheSaturationTemperature) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kSaturatedSteam);
  ASSERT_TRUE(Calculate(changed));
  const double P = Si(s.upstreamPressure);
  EXPECT_NEAR(Si(s.flowingTemperature), IF97::Tsat(P), 1e-9);
  IF97::SatState sat;
  ASSERT_TRUE(IF97::SatByP(P, sat));
  EXPECT_DOUBLE_EQ(Si(s.densityFlowing), sat.rhoV);
  const double href = IF97::H1(IF97::Psat(288.15), 288.15);
  EXPECT_NEAR(Si(s.referenceEnthalpy), href, 1e-9 * std::fabs(href) + 1e-9);
  EXPECT_NEAR(Si(s.massHeatingValue), sat.hV - href, 1e-6);
  EXPECT_NEAR(Si(s.satLiquidDensity), sat.rhoL, 1e-6 * sat.rhoL);
  EXPECT_NEAR(Si(s.densityBase), 999.1, 0.1);
  EXPECT_DOUBLE_EQ(Si(s.molarMass), 18.0153);
  EXPECT_GT(Si(s.massFlow), 0.0);
}

TEST_F(CalcTest, DrySteamOutsideRegionTwo) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kDrySteam);
  // 22 C at 3.6 MPa is compressed water: no flow, base state still computed.
  ASSERT_TRUE(Calculate(changed));
  EXPECT_DOUBLE_EQ(Si(s.densityFlowing), 0.0);
  EXPECT_DOUBLE_EQ(Si(s.massFlow), 0.0);
  EXPECT_NEAR(Si(s.densityBase), 999.1, 0.1);
  // Superheated at 300 C: a flow.
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("C", "300", *s.flowingTemperature));
  Recalc();
  EXPECT_GT(Si(s.densityFlowing), 10.0);
  EXPECT_GT(Si(s.massFlow), 0.0);
  // A flowing state outside the formulation is reported.
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("K", "3000", *s.flowingTemperature));
  changed = true;
  try {
    Calculate(changed);
    FAIL() << "state outside IF97 accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "Calculate() omens: steam state outside IAPWS-IF97");
    EXPECT_EQ(e.code(), 3);
  }
  // Saturated steam above the critical pressure: the same message, and the flow results keep
  // the values of the last complete run.
  const double qm = Si(s.massFlow);
  SetFluid(changed, kSaturatedSteam);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("mpa", "30", *s.staticPressure));
  UpdateAbsolutePressure();
  changed = true;
  EXPECT_THROW(Calculate(changed), Error);
  EXPECT_EQ(Si(s.massFlow), qm);
}

TEST_F(CalcTest, MeterFlagsBecomeTheWarningAndBeep) {
  State& s = Calc();
  ASSERT_TRUE(FI::RVsetValStr("0.05", *s.beta));
  UpdateBore();
  FE::ScopedBeepCount beeps;
  Recalc();
  EXPECT_FALSE(MeterWarning().empty());
  EXPECT_LE(MeterWarning().size(), kWarningLength);
  EXPECT_TRUE(LastRunBeeped());
  EXPECT_EQ(beeps.count(), 1);
  // A clean run clears them.
  Reset();
  EXPECT_TRUE(MeterWarning().empty());
  EXPECT_FALSE(LastRunBeeped());
}

// A liquid beyond the API tables has no flowing density; the warning says why before the meter's
// own flags.
TEST_F(CalcTest, LiquidOutsideTheApiTablesLeadsTheWarning) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kHydrocarbonLiquid);
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("C", "250", *s.flowingTemperature));
  FE::ScopedBeepCount beeps;
  ASSERT_TRUE(Calculate(changed));
  EXPECT_EQ(Si(s.massFlow), 0.0);
  EXPECT_EQ(MeterWarning().rfind("temperature_too_high! ", 0), 0u) << MeterWarning();
  EXPECT_TRUE(LastRunBeeped());
  EXPECT_EQ(beeps.count(), 1);
}

// Dry steam that is not superheated says so first, with the saturation temperature.
TEST_F(CalcTest, DrySteamNotSuperheatedLeadsTheWarning) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kDrySteam);
  ASSERT_TRUE(Calculate(changed));
  const double tsat = IF97::Tsat(Si(s.upstreamPressure));
  std::string t;
  FE::LONGREALtoStr(t, 6, tsat);
  FE::RemoveChars(" ", t);
  EXPECT_EQ(MeterWarning().rfind("Not superheated steam: saturation temperature " + t + " K at this pressure,", 0), 0u)
      << MeterWarning();
  EXPECT_EQ(Si(s.massFlow), 0.0);
  // Superheated: no such warning.
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("C", "300", *s.flowingTemperature));
  Recalc();
  EXPECT_EQ(MeterWarning().find("superheated"), std::string::npos) << MeterWarning();
  // Near the critical point, below the region 2 boundary: vapour-like at 20 MPa and 640 K (above
  // saturation), fluid at 30 MPa and 660 K.
  for (const auto& [mpa, kelvin] : {std::pair{"20", "640"}, std::pair{"30", "660"}}) {
    ASSERT_TRUE(FUM::uDVsetValStrTempUnits("mpa", mpa, *s.staticPressure));
    UpdateAbsolutePressure();
    ASSERT_TRUE(FUM::uDVsetValStrTempUnits("K", kelvin, *s.flowingTemperature));
    Recalc();
    std::string b23;
    FE::LONGREALtoStr(b23, 6, IF97::B23T(Si(s.upstreamPressure)));
    FE::RemoveChars(" ", b23);
    EXPECT_EQ(MeterWarning().rfind("Near-critical state (IAPWS-IF97 region 3): dry steam is computed from " + b23 +
                                       " K at this pressure,",
                                   0),
              0u)
        << MeterWarning();
  }
}

// A composition that does not sum to 100 % is normalised, and the warning says from what.
TEST_F(CalcTest, CompositionOffHundredIsNormalisedWithAWarning) {
  State& s = Calc();
  bool changed = false;
  std::string total, fraction;
  GetComponentText(total, fraction, 1);
  double n2 = 0.0;
  ASSERT_TRUE(FE::StrToReal(fraction, n2));
  SetComponentText(changed, std::to_string(n2 + 3.5), 1);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_EQ(MeterWarning().rfind("composition normalised from 103.5 %,", 0), 0u) << MeterWarning();
  EXPECT_NEAR(GAS1::MixSumX(s.detailMix, 1), 1.0, 1e-12);
  // Within 0.01 % of 100: no warning.
  SetComponentText(changed, std::to_string(n2 + 0.005), 1);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_EQ(MeterWarning().find("normalised"), std::string::npos) << MeterWarning();
}

// A composition of zeros is no mixture: refused, not computed as methane.
TEST_F(CalcTest, EmptyCompositionIsRefused) {
  State& s = Calc();
  const double qm = Si(s.massFlow);
  bool changed = false;
  for (int i = 0; i < GAS1::kNAga; ++i) SetComponentText(changed, "0", i);
  try {
    Calculate(changed);
    FAIL() << "an empty composition calculated";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), 7);
    EXPECT_EQ(e.message().rfind("Calculate() composition", 0), 0u) << e.message();
  }
  EXPECT_EQ(Si(s.massFlow), qm);
}

// Zero viscosity, or a liquid with no absolute pressure to leave at, never gives a flow.
TEST_F(CalcTest, NonPhysicalLiquidInputsAreFlagged) {
  State& s = Calc();
  bool changed = false;
  SetFluid(changed, kGenericLiquid);
  ASSERT_TRUE(Calculate(changed));
  ASSERT_GT(Si(s.massFlow), 0.0);
  FUM::uDVsetMKS(0.0, *s.liquidViscosity);
  Recalc();
  EXPECT_EQ(Si(s.massFlow), 0.0);
  EXPECT_EQ(MeterWarning().rfind("Error in input data,", 0), 0u) << MeterWarning();
  Reset();
  SetFluid(changed, kGenericLiquid);
  FUM::uDVsetMKS(0.0, *s.upstreamPressure);
  UpdateGaugePressure();
  Recalc();
  EXPECT_EQ(Si(s.massFlow), 0.0);
  EXPECT_EQ(MeterWarning().rfind("Error in input data,", 0), 0u) << MeterWarning();
}

// A turbine frequency far beyond any meter gives no infinite energy flow passed as a result.
TEST_F(CalcTest, TurbineResultsAreFiniteOrFlagged) {
  State& s = Calc();
  bool changed = false;
  SetMeter(changed, 1, 39);
  FI::RVsetLReal(1e308, *s.frequency);
  ASSERT_TRUE(Calculate(changed));
  for (const DV* dv : {&s.massFlow, &s.stdVolumeFlow, &s.actualVolumeFlow, &s.energyFlow, &s.pipeVelocity}) {
    EXPECT_TRUE(std::isfinite(Si(*dv)));
  }
  EXPECT_TRUE(std::isfinite(Val(s.reynolds)));
  EXPECT_EQ(Si(s.massFlow), 0.0);
  EXPECT_EQ(MeterWarning(), "Calculation error,");
  EXPECT_TRUE(LastRunBeeped());
}

// Results the fluid does not compute are marked not valid; inputs always are valid.
TEST_F(CalcTest, ResultsAFluidDoesNotComputeAreNotValid) {
  State& s = Calc();
  EXPECT_FALSE(ResultValid(*s.satLiquidDensity));
  EXPECT_FALSE(ResultValid(*s.waterDensityBase));
  EXPECT_TRUE(ResultValid(*s.densityFlowing));
  EXPECT_TRUE(ResultValid(*s.zFlowing));
  EXPECT_TRUE(ResultValid(*s.dp));
  bool changed = false;
  SetFluid(changed, kSaturatedSteam);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_TRUE(ResultValid(*s.satLiquidDensity));
  EXPECT_TRUE(ResultValid(*s.waterDensityBase));
  EXPECT_FALSE(ResultValid(*s.zFlowing));
  EXPECT_FALSE(ResultValid(*s.volumetricHeatingValue));
  SetFluid(changed, kGenericLiquid);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_FALSE(ResultValid(*s.molarMass));
  EXPECT_FALSE(ResultValid(*s.energyFlow));
  EXPECT_TRUE(ResultValid(*s.massFlow));
  EXPECT_TRUE(ResultValid(*s.viscosity));
}

TEST_F(CalcTest, TestFluidWritesNoFluidField) {
  State& s = Calc();
  const double rho = Si(s.densityFlowing);
  bool changed = false;
  SetFluid(changed, kTestFluid);
  ASSERT_TRUE(Calculate(changed));
  EXPECT_DOUBLE_EQ(Si(s.densityFlowing), rho);
  EXPECT_GT(Si(s.massFlow), 0.0);
}

}  // namespace

namespace {

TEST_F(CalcTest, EveryLegalMeterCalculates) {
  State& s = Calc();
  for (int meter : {0, 3, 4, 6, 7, 8, 12, 14, 15, 24, 33}) {
    SCOPED_TRACE(meter);
    bool changed = false;
    SetMeter(changed, 0, meter);
    // Keep beta inside every standard's range.
    if (meter != 33) {
      ASSERT_TRUE(FI::RVsetValStr("0.5", *s.beta));
      UpdateBore();
    }
    changed = true;
    ASSERT_TRUE(Calculate(changed));
    EXPECT_GT(Si(s.massFlow), 0.0);
    EXPECT_TRUE(std::isfinite(Val(s.mach)));
    // The classical venturi and the cones take the fixed discharge coefficient.
    if (meter == 0 || meter == 3 || meter == 4) {
      EXPECT_DOUBLE_EQ(Val(s.cd), 0.838908);
    }
  }
}

TEST_F(CalcTest, UnsupportedDeviceKeepsTheFlowResults) {
  State& s = Calc();
  const double qm0 = Si(s.massFlow);
  s.meter = 16;  // not reachable through SetMeter
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("C", "30", *s.flowingTemperature));
  bool changed = true;
  try {
    Calculate(changed);
    FAIL() << "meter 16 calculated";
  } catch (const Error& e) {
    EXPECT_EQ(e.message(), "Calculate() device not supported");
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_DOUBLE_EQ(Si(s.massFlow), qm0);
  EXPECT_LT(Val(s.zFlowing), 1.0);
}

TEST_F(CalcTest, PageRegistryAndExpertMode) {
  SetPage(3, 0x1234);
  ShowPage(true, 3);
  EXPECT_EQ(GetPage(3), 0x1234u);
  EXPECT_TRUE(PageShown(3));
  ShowPage(false, 3);
  EXPECT_FALSE(PageShown(3));
  // Indexes outside the registry are ignored.
  SetPage(-1, 7);
  SetPage(kPageCount, 7);
  ShowPage(true, kPageCount);
  EXPECT_EQ(GetPage(kPageCount), 0u);
  EXPECT_FALSE(PageShown(-1));
  SetStandardsPage(0x99);
  EXPECT_FALSE(StandardsPageShown());
  SetExpertMode(true);
  EXPECT_TRUE(GetExpertMode());
  EXPECT_TRUE(StandardsPageShown());
  SetExpertMode(false);
  EXPECT_FALSE(GetExpertMode());
}

TEST_F(CalcTest, HeaderTextsKeepAHundredCharacters) {
  SetHeaderText(0, std::string(150, 'a'));
  EXPECT_EQ(GetHeaderText(0), std::string(100, 'a'));
  SetHeaderText(4, "tag 7");
  EXPECT_EQ(GetHeaderText(4), "tag 7");
  SetHeaderText(5, "ignored");
  EXPECT_EQ(GetHeaderText(5), "");
  Reset();
  EXPECT_EQ(GetHeaderText(4), std::string(27, '_'));
}

}  // namespace

namespace {

TEST_F(CalcTest, ProbeModelWithoutAWidthKeepsTheThroat) {
  State& s = Calc();
  bool changed = false;
  SetMeter(changed, 0, 33);
  const double d = Si(s.throatDiameter);
  changed = false;
  SetProbeModel(changed, 12);
  EXPECT_TRUE(changed);
  EXPECT_EQ(GetProbeModel(), 12);
  EXPECT_DOUBLE_EQ(Si(s.throatDiameter), d);
}

TEST_F(CalcTest, RefusedViscosityEstimateLeavesTheField) {
  State& s = Calc();
  ASSERT_TRUE(FUM::uDVsetValStrTempUnits("kg/m3", "3000", *s.liquidDensity));
  const double mu = Si(s.liquidViscosity);
  EXPECT_FALSE(EstimateLiquidViscosity());
  EXPECT_DOUBLE_EQ(Si(s.liquidViscosity), mu);
}

}  // namespace
