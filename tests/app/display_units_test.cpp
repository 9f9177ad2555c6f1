// Display units of the state: the unit-system presets, the lists and the values they govern,
// refusals, and the actual volume flow following the fluid.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/display_units.hpp"
#include "app/qmxcalc.hpp"
#include "numerics/error.hpp"
#include "units/dval.hpp"

namespace {

using namespace qmx;
using namespace qmx::QMXcalc;

std::string Units(const DV& dv) {
  std::string u;
  FUM::uDVgetUnits(u, *dv);
  return u;
}

class DisplayUnitsTest : public ::testing::Test {
 protected:
  void SetUp() override { Initialize(); }
  void TearDown() override { Finalize(); }
};

TEST_F(DisplayUnitsTest, EachSystemSetsListAndFixedQuantities) {
  State& s = Calc();
  struct Row {
    const DV& dv;
    std::array<const char*, 4> units;  // SI preferred, common, MKS, US
  };
  const Row rows[] = {
      {s.dp, {"kpa", "mbar", "pa", "inw"}},
      {s.atmosphericPressure, {"kpa", "bar", "pa", "psi"}},
      {s.basePressure, {"kpa", "bar", "pa", "psi"}},
      {s.pipeRefTemperature, {"C", "C", "K", "F"}},
      {s.massFlow, {"kg/hr", "kg/hr", "kg/sec", "lbm/hr"}},
      {s.stdVolumeFlow, {"m3/hr", "m3/hr", "m3/sec", "mcf/hr"}},
      {s.actualVolumeFlow, {"m3/hr", "m3/hr", "m3/sec", "mcf/hr"}},  // natural gas
      {s.energyFlow, {"M.j/hr", "M.j/hr", "j/sec", "mbtu/hr"}},
      {s.throatDiameterFlowing, {"mm", "mm", "m", "in"}},
      {s.waterDensityBase, {"kg/m3", "kg/m3", "kg/m3", "lbm/ft3"}},
      {s.apiGravity, {"kg/m3", "gm/cm3", "kg/m3", "api"}},
      {s.liquidDensity, {"kg/m3", "gm/cm3", "kg/m3", "api"}},
      {s.gcnViscosity, {"cp", "cp", "pa*sec", "cp"}},
      {s.enthalpy, {"mj/kg", "mj/kg", "j/kg", "btu/lbm"}},
      {s.kFactor, {"pulse/m3", "pulse/m3", "pulse/m3", "pulse/ft3"}},
      {s.molarDensity, {"kmole/m3", "kmole/m3", "kmole/m3", "lbmole/ft3"}},
      {s.molarMass, {"kg/kmole", "kg/kmole", "kg/kmole", "lbm/lbmole"}},
      {s.molarHeatingValue, {"mj/kmole", "mj/kmole", "j/kmole", "btu/lbmole"}},
      {s.volumetricHeatingValue, {"mj/m3", "mj/dam3", "j/m3", "btu/ft3"}},
      {s.gcnHeatingValue, {"mj/m3", "mj/dam3", "j/m3", "btu/ft3"}},
      {s.criticalPressure, {"kpa", "mpa", "pa", "psi"}},
      {s.criticalTemperature, {"C", "K", "K", "R"}},
      {s.pressureLoss, {"kpa", "mbar", "pa", "inwc"}},
      {s.pipeVelocity, {"m/s", "m/s", "m/s", "ft/s"}},
      {s.thermalExpansion, {" /C", " /C", " /K", " /F"}},
  };
  const double pressure = FUM::uDVgetMKS(*s.staticPressure);
  for (int system : {kUsInchPound, kMksBase, kCommonMetric, kSiPreferred}) {
    MasterUnitSelect(system);
    EXPECT_EQ(SelectedUnitSystem(), system);
    for (const Row& r : rows) EXPECT_EQ(Units(r.dv), r.units[static_cast<std::size_t>(system)]) << system;
    EXPECT_EQ(ListUnits(kLiquidVolumeTotalUnits), UnitListOf(kLiquidVolumeTotalUnits).presets[static_cast<std::size_t>(system)]);
  }
  // Only display units change.
  EXPECT_EQ(FUM::uDVgetMKS(*s.staticPressure), pressure);
  std::string text;
  FUM::uDVgetValStr(text, *s.pipeDiameter);
  EXPECT_EQ(text, "77.9272");  // 3.068 in is 77.9272 mm
}

TEST_F(DisplayUnitsTest, PresetsAreOfferedByTheirOwnLists) {
  for (int list = 0; list < kUnitListCount; ++list) {
    const UnitListInfo& info = UnitListOf(list);
    for (std::string_view preset : info.presets) {
      EXPECT_NE(std::find(info.offered.begin(), info.offered.end(), preset), info.offered.end())
          << info.label << " " << preset;
    }
    for (std::string_view unit : info.offered) {
      EXPECT_TRUE(SetListUnits(list, unit)) << info.label << " " << unit;
    }
    EXPECT_EQ(UnitListByKey(info.key), list);
  }
  EXPECT_EQ(UnitListByKey("bogus"), -1);
  EXPECT_THROW(UnitListOf(kUnitListCount), Error);
  EXPECT_THROW(MasterUnitSelect(4), Error);
}

TEST_F(DisplayUnitsTest, UnitsThatDoNotFitChangeNothing) {
  State& s = Calc();
  MasterUnitSelect(kSiPreferred);
  struct Case {
    int list;
    const char* unit;
  };
  const Case refused[] = {{kPressureUnits, "kg"},         {kPressureUnits, "psi%"},
                          {kTemperatureUnits, "kpa"},     {kDpUnits, ""},
                          {kMassTotalUnits, "m3"},        {kLiquidVolumeFlowUnits, "kg/hr"},
                          {kLiquidDensityUnits, "kg/m2"}, {kDiameterUnits, "bogus"},
                          {kViscosityUnits, "m2/s"},      {kKFactorUnits, "pulse/kg"}};
  for (const Case& c : refused) {
    EXPECT_FALSE(SetListUnits(c.list, c.unit)) << c.list << " " << c.unit;
    EXPECT_EQ(ListUnits(c.list), UnitListOf(c.list).presets[kSiPreferred]) << c.list;
  }
  EXPECT_EQ(Units(s.staticPressure), "kpa");
  // Units of the right dimension that the list does not offer are taken.
  EXPECT_TRUE(SetListUnits(kPressureUnits, "inhg"));
  EXPECT_EQ(Units(s.upstreamPressure), "inhg");
  EXPECT_TRUE(SetListUnits(kMassTotalUnits, "gm"));
  EXPECT_EQ(ListUnits(kMassTotalUnits), "gm");
}

TEST_F(DisplayUnitsTest, ActualVolumeFlowFollowsTheListOfTheFluid) {
  State& s = Calc();
  ASSERT_TRUE(SetListUnits(kGasVolumeFlowUnits, "m3/hr"));
  ASSERT_TRUE(SetListUnits(kLiquidVolumeFlowUnits, "bbl/day"));
  EXPECT_EQ(Units(s.actualVolumeFlow), "m3/hr");  // natural gas
  bool changed = false;
  SetFluid(changed, kHydrocarbonLiquid);
  EXPECT_EQ(Units(s.actualVolumeFlow), "bbl/day");
  EXPECT_EQ(Units(s.stdVolumeFlow), "m3/hr");
  ASSERT_TRUE(SetListUnits(kLiquidVolumeFlowUnits, "gpm"));
  ASSERT_TRUE(SetListUnits(kGasVolumeFlowUnits, "ft3/min"));
  EXPECT_EQ(Units(s.actualVolumeFlow), "gpm");
  SetFluid(changed, kDrySteam);
  EXPECT_EQ(Units(s.actualVolumeFlow), "ft3/min");
  SetFluid(changed, kGenericLiquid);
  EXPECT_EQ(Units(s.actualVolumeFlow), "gpm");
  Reset();  // back to natural gas
  EXPECT_EQ(Units(s.actualVolumeFlow), "ft3/min");
}

TEST_F(DisplayUnitsTest, WithoutAChoiceTheCreationUnitsStay) {
  State& s = Calc();
  EXPECT_EQ(SelectedUnitSystem(), -1);
  EXPECT_EQ(Units(s.actualVolumeFlow), "ft3/sec");
  bool changed = false;
  SetFluid(changed, kGenericLiquid);
  EXPECT_EQ(Units(s.actualVolumeFlow), "ft3/sec");
  EXPECT_EQ(ListUnits(kDiameterUnits), "in");
  EXPECT_EQ(ListUnits(kGasVolumeFlowUnits), "ft3/min");
}

}  // namespace
