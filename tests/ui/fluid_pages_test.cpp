// The Steam and Reference pages through the shared field binding, and the read-only fluid pages.
#include <QRadioButton>

#include "support/ui_fixture.hpp"

namespace qmx::ui::test {
namespace {

class FluidPagesTest : public UiTest {
 protected:
  void SetUp() override {
    QMXcalc::State& s = QMXcalc::Calc();
    FUM::uDVsetUnits("kpa", *s.upstreamPressure);
    FUM::uDVsetUnits("kpa", *s.staticPressure);
    FUM::uDVsetUnits("kpa", *s.atmosphericPressure);
    FUM::uDVsetUnits("K", *s.flowingTemperature);
    FUM::uDVsetUnits("C", *s.baseTemperature);
    UiTest::SetUp();
  }
  void ChooseFluid(const char* radio) {
    Open("Settings");
    QTest::mouseClick(Widget<QRadioButton>("Settings", radio), Qt::LeftButton);
  }
};

TEST_F(FluidPagesTest, SteamPressureEditGivesTheSaturationTemperature) {
  ChooseFluid("fluid_steam");
  Open("Steam");
  EXPECT_FALSE(Edit("Steam", "flowing_temperature")->isEnabled());
  // Saturation temperatures from python3-iapws (data/steam/iapws_peer.csv).
  const std::pair<const char*, double> cases[] = {{"1000", 453.0356323914666}, {"101.325", 373.12430000048056},
                                                  {"10000", 584.1494879985282}};
  for (const auto& [pressure, tsat] : cases) {
    Type(Edit("Steam", "upstream_pressure"), QString::fromLatin1(pressure));
    EXPECT_NEAR(InUnit(QMXcalc::Calc().flowingTemperature, "K"), tsat, 1e-6 * tsat) << pressure;
    EXPECT_NEAR(Number(Edit("Steam", "flowing_temperature")), tsat, 0.006) << pressure;
    // The gauge pressure follows: absolute - atmospheric (93.7 kPa).
    EXPECT_NEAR(InUnit(QMXcalc::Calc().staticPressure, "kpa"), std::stod(pressure) - 93.7, 1e-9) << pressure;
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(FluidPagesTest, DrySteamTakesTheTemperatureAndShowsItsDensity) {
  ChooseFluid("fluid_drysteam");
  Open("Steam");
  EXPECT_TRUE(Edit("Steam", "flowing_temperature")->isEnabled());
  // 1 MPa, 500 K: superheated vapour; a liquid-side state gives no flow and no density.
  Type(Edit("Steam", "upstream_pressure"), QStringLiteral("1000"));
  Type(Edit("Steam", "flowing_temperature"), QStringLiteral("500"));
  const double rho = InUnit(QMXcalc::Calc().densityFlowing, "kg/m3");
  EXPECT_GT(rho, 4.0);
  EXPECT_LT(rho, 5.2);
  Type(Edit("Steam", "flowing_temperature"), QStringLiteral("400"));
  EXPECT_EQ(InUnit(QMXcalc::Calc().densityFlowing, "kg/m3"), 0.0);
  EXPECT_EQ(InUnit(QMXcalc::Calc().massFlow, "kg/s"), 0.0);
}

TEST_F(FluidPagesTest, ReferencePageAtmosphericPressureMovesTheAbsolute) {
  Open("Reference");
  Type(Edit("Reference", "atmospheric_pressure"), QStringLiteral("101.325"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().upstreamPressure, "kpa"), 3601.325, 1e-9);
  EXPECT_NEAR(Number(Edit("Reference", "upstream_pressure")), 3601.3, 0.05);
  // Base temperature limits 0 to 100 C: 120 is refused with a beep.
  const int beeps = beeps_->count();
  Type(Edit("Reference", "base_temperature"), QStringLiteral("120"));
  EXPECT_EQ(beeps_->count(), beeps + 1);
  EXPECT_EQ(Edit("Reference", "base_temperature")->text(), QStringLiteral("15.0"));
  // The standard volume flow follows the base temperature.
  const double before = InUnit(QMXcalc::Calc().stdVolumeFlow, "m3/s");
  Type(Edit("Reference", "base_temperature"), QStringLiteral("20"));
  EXPECT_GT(InUnit(QMXcalc::Calc().stdVolumeFlow, "m3/s"), before);
}

TEST_F(FluidPagesTest, ReadOnlyPagesShowTheStateAndSayTheyAreBeingBuilt) {
  for (const char* page : {"Mole fractions", "GCN", "Liquids", "Units"}) {
    EXPECT_NE(Widget<QLabel>(page, "being_built"), nullptr) << page;
  }
  // The composition in use: Gulf Coast methane and the total.
  EXPECT_EQ(Edit("Mole fractions", "x.C1")->text(), QStringLiteral("96.5222"));
  EXPECT_EQ(Edit("Mole fractions", "x.total")->text(), QStringLiteral("100.0"));
  EXPECT_TRUE(Edit("Mole fractions", "x.C1")->isReadOnly());
  std::string shown;
  FUM::uDVgetValStr(shown, *QMXcalc::Calc().densityFlowing);
  EXPECT_EQ(Edit("Mole fractions", "density_flowing")->text(), QString::fromStdString(shown).trimmed());
}

}  // namespace
}  // namespace qmx::ui::test
