// The fluid pages (Mole fractions, GCN, Steam, Liquids) and the Reference page, driven through
// their widgets: entries, dependent updates, the page's own calculation, enabling by fluid kind.
#include <cmath>
#include <numbers>
#include <string>

#include <QRadioButton>

#include "app/qmxcalc.hpp"
#include "gas/gas1.hpp"
#include "units/fi.hpp"

#include "support/ui_fixture.hpp"

namespace qmx::ui::test {
namespace {

class FluidPagesTest : public UiTest {
 protected:
  void SetUp() override {
    // The window's Units page chooses its unit system when it is made; these units come after it.
    UiTest::SetUp();
    QMXcalc::State& s = QMXcalc::Calc();
    FUM::uDVsetUnits("kpa", *s.upstreamPressure);
    FUM::uDVsetUnits("kpa", *s.staticPressure);
    FUM::uDVsetUnits("kpa", *s.atmosphericPressure);
    FUM::uDVsetUnits("K", *s.flowingTemperature);
    FUM::uDVsetUnits("C", *s.baseTemperature);
    FUM::uDVsetUnits("lbm/ft3", *s.baseDensity);
    FUM::uDVsetUnits("kg/m3", *s.liquidDensity);
    FUM::uDVsetUnits("cp", *s.liquidViscosity);
  }
  void TearDown() override {
    UiTest::TearDown();
    QMXcalc::State& s = QMXcalc::Calc();
    FUM::uDVsetUnits("kg/m3", *s.baseDensity);
    FUM::uDVsetUnits("kg/m3", *s.liquidDensity);
  }
  // Chooses a list item from the keyboard, as a user stepping through the closed list does; each
  // step is a choice of its own.
  static void Pick(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int k = 0; k < i; ++k) QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), i);
  }
  static double Fraction(int component) {
    return GAS1::MixGetX(QMXcalc::Calc().detailMix, component, 0);
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

// ---- Mole fractions -------------------------------------------------------------------------

TEST_F(FluidPagesTest, DryAirLoadsAirWithItsTracesAndTheGcnListDoesNotOfferIt) {
  Open("Mole fractions");
  QComboBox* presets = List("Mole fractions", "gas_preset");
  ASSERT_EQ(presets->count(), 16);
  EXPECT_EQ(presets->itemText(0), QStringLiteral("Gulf Coast"));
  EXPECT_EQ(presets->currentText(), QStringLiteral("Gulf Coast"));
  EXPECT_EQ(presets->itemText(15), QStringLiteral("ISO6976 D1"));
  Pick(presets, QStringLiteral("Dry air"));
  // Mole percent shown, and the fractions in the mixture.
  const struct {
    const char* field;
    int component;
    double percent;
  } air[] = {{"x.N2", GAS0::N2, 78.084},       {"x.O2", GAS0::O2, 20.946},   {"x.Ar", GAS0::Ar, 0.936226},
             {"x.C1", GAS0::C1, 0.0002},       {"x.CO2", GAS0::CO2, 0.033}, {"x.H2", GAS0::H2, 0.00005},
             {"x.He", GAS0::He, 0.000524},     {"x.C2", GAS0::C2, 0.0},     {"x.H2O", GAS0::H2O, 0.0}};
  for (const auto& c : air) {
    EXPECT_NEAR(Number(Edit("Mole fractions", c.field)), c.percent, 1e-9 + 1e-6 * c.percent) << c.field;
    EXPECT_NEAR(Fraction(c.component) * 100.0, c.percent, 1e-12) << c.field;
  }
  EXPECT_EQ(Edit("Mole fractions", "x.N2")->text(), QStringLiteral("78.084"));
  EXPECT_EQ(Edit("Mole fractions", "x.O2")->text(), QStringLiteral("20.946"));
  EXPECT_EQ(Edit("Mole fractions", "x.Ar")->text(), QStringLiteral("0.936226"));
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.entered_total")), 100.0, 1e-9);
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.total")), 100.0, 1e-9);
  // The choice calculated: the molar mass of dry air, 28.96 kg/kmol (ISO 2533 gives 28.9644).
  EXPECT_NEAR(InUnit(QMXcalc::Calc().molarMass, "kg/kmole"), 28.9644, 0.01);
  EXPECT_NEAR(FI::RVgetLReal(*QMXcalc::Calc().relativeDensity), 1.0, 0.002);

  // The GCN page offers "Gulf Coast" to "EUB 7" only.
  QComboBox* gcn = List("GCN", "gas_preset");
  ASSERT_EQ(gcn->count(), 14);
  EXPECT_EQ(gcn->itemText(0), QStringLiteral("Gulf Coast"));
  EXPECT_EQ(gcn->itemText(13), QStringLiteral("EUB 7"));
  EXPECT_EQ(gcn->findText(QStringLiteral("Dry air")), -1);
  EXPECT_EQ(gcn->findText(QStringLiteral("ISO6976 D1")), -1);
}

TEST_F(FluidPagesTest, TypedComponentWaitsForThePagesNextCalculation) {
  Page* page = Open("Mole fractions");
  QMXcalc::State& s = QMXcalc::Calc();
  const double qm = InUnit(s.massFlow, "kg/s");
  const double rho = InUnit(s.densityFlowing, "kg/m3");
  // Gulf Coast methane 96.5222 % typed down to 90: field and total rewritten, nothing calculated.
  Type(Edit("Mole fractions", "x.C1"), QStringLiteral("90"));
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.C1")), 90.0, 1e-9);
  EXPECT_EQ(Edit("Mole fractions", "x.entered_total")->text(), QStringLiteral("93.4778"));
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.total")), 100.0, 1e-9);
  EXPECT_NEAR(Fraction(GAS0::C1), 0.90, 1e-15);
  EXPECT_TRUE(page->Changed());
  EXPECT_EQ(InUnit(s.massFlow, "kg/s"), qm);
  EXPECT_EQ(InUnit(s.densityFlowing, "kg/m3"), rho);
  // The next edit on the page calculates, even one that leaves its own field as it was.
  Type(Edit("Mole fractions", "flowing_temperature"), Edit("Mole fractions", "flowing_temperature")->text());
  EXPECT_FALSE(page->Changed());
  const double qm2 = InUnit(s.massFlow, "kg/s");
  EXPECT_NE(qm2, qm);
  EXPECT_NE(InUnit(s.densityFlowing, "kg/m3"), rho);
  EXPECT_NE(QMXcalc::MeterWarning().find("composition normalised"), std::string::npos);

  // Another component, then away to the Flow page (no calculation) and back (calculation).
  Type(Edit("Mole fractions", "x.N2"), QStringLiteral("5"));
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.entered_total")), 93.4778 - 0.2595 + 5.0, 1e-9);
  Open("Flow");
  EXPECT_EQ(InUnit(s.massFlow, "kg/s"), qm2);
  Open("Mole fractions");
  EXPECT_NE(InUnit(s.massFlow, "kg/s"), qm2);
  EXPECT_FALSE(page->Changed());
}

TEST_F(FluidPagesTest, RefusedComponentEntryKeepsTheStoredPercentage) {
  Page* page = Open("Mole fractions");
  for (const char* text : {"abc", "150", "-2", ""}) {
    Type(Edit("Mole fractions", "x.C2"), QString::fromLatin1(text));
    EXPECT_EQ(Edit("Mole fractions", "x.C2")->text(), QStringLiteral("1.8186")) << text;
    EXPECT_NEAR(Fraction(GAS0::C2), 0.018186, 1e-15) << text;
    EXPECT_FALSE(page->Changed()) << text;
  }
  // Choosing a preset again replaces typed components.
  Type(Edit("Mole fractions", "x.C2"), QStringLiteral("3"));
  Pick(List("Mole fractions", "gas_preset"), QStringLiteral("Amarillo"));
  EXPECT_EQ(Edit("Mole fractions", "x.C2")->text(), QStringLiteral("4.5279"));
  EXPECT_NEAR(Number(Edit("Mole fractions", "x.entered_total")), 100.0, 1e-9);
  EXPECT_FALSE(page->Changed());
}

TEST_F(FluidPagesTest, MoleFractionsPressureEditMovesTheGaugePressure) {
  Open("Mole fractions");
  const double z = FI::RVgetLReal(*QMXcalc::Calc().zFlowing);
  Type(Edit("Mole fractions", "upstream_pressure"), QStringLiteral("1000"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().staticPressure, "kpa"), 1000.0 - 93.7, 1e-9);
  // Less pressure, closer to an ideal gas.
  EXPECT_GT(FI::RVgetLReal(*QMXcalc::Calc().zFlowing), z);
  std::string z1;
  FI::RVgetValStr(z1, *QMXcalc::Calc().zFlowing);
  EXPECT_EQ(Edit("Mole fractions", "z_flowing")->text(), QString::fromStdString(z1).trimmed());
}

// ---- GCN ------------------------------------------------------------------------------------

TEST_F(FluidPagesTest, GcnPresetFillsTheGrossCharacteristicsInPercent) {
  ChooseFluid("fluid_gcn");
  Page* page = Open("GCN");
  // Gulf Coast: CO2 0.5956 %, N2 0.2595 %, shown as percent.
  EXPECT_EQ(Edit("GCN", "gcn_co2")->text(), QStringLiteral("0.5956"));
  EXPECT_EQ(Widget<QLabel>("GCN", "gcn_co2_unit")->text(), QStringLiteral("%"));
  EXPECT_EQ(Edit("GCN", "gcn_n2")->text(), QStringLiteral("0.2595"));
  Pick(List("GCN", "gas_preset"), QStringLiteral("High CO2"));
  QMXcalc::State& s = QMXcalc::Calc();
  EXPECT_NEAR(FI::RVgetLReal(*s.gcnCO2), 0.07585, 1e-12);
  EXPECT_NEAR(FI::RVgetLReal(*s.gcnN2), 0.05702, 1e-12);
  EXPECT_NEAR(Number(Edit("GCN", "gcn_co2")), 7.585, 1e-9);
  EXPECT_NEAR(Number(Edit("GCN", "gcn_n2")), 5.702, 1e-9);
  const double gr = FI::RVgetLReal(*s.gcnRelativeDensity);
  EXPECT_GT(gr, 0.554);
  EXPECT_LT(gr, 0.87);
  // SGERG gives back the relative density it was given (within its iteration).
  EXPECT_NEAR(FI::RVgetLReal(*s.relativeDensity), gr, 2e-4);
  EXPECT_FALSE(page->Changed());

  // A typed percentage is a fraction in the state and calculates at once.
  const double qm = InUnit(s.massFlow, "kg/s");
  Type(Edit("GCN", "gcn_co2"), QStringLiteral("2"));
  EXPECT_NEAR(FI::RVgetLReal(*s.gcnCO2), 0.02, 1e-15);
  EXPECT_NE(InUnit(s.massFlow, "kg/s"), qm);
  // Refused: a relative density above 0.87 beeps and shows the stored value.
  const int beeps = beeps_->count();
  const QString shown = Edit("GCN", "gcn_relative_density")->text();
  Type(Edit("GCN", "gcn_relative_density"), QStringLiteral("0.95"));
  EXPECT_EQ(beeps_->count(), beeps + 1);
  EXPECT_EQ(Edit("GCN", "gcn_relative_density")->text(), shown);
  EXPECT_NEAR(FI::RVgetLReal(*s.gcnRelativeDensity), gr, 1e-15);
  // Accepted: a heavier gas is denser.
  const double rho = InUnit(s.densityFlowing, "kg/m3");
  Type(Edit("GCN", "gcn_relative_density"), QStringLiteral("0.7"));
  EXPECT_GT(InUnit(s.densityFlowing, "kg/m3"), rho);
}

// ---- Liquids --------------------------------------------------------------------------------

TEST_F(FluidPagesTest, CrudeOilToRefinedProductLoadsItsDensityAndViscosity) {
  ChooseFluid("fluid_hcliquid");
  Open("Liquids");
  QMXcalc::State& s = QMXcalc::Calc();
  EXPECT_EQ(List("Liquids", "liquid_product")->currentText(), QStringLiteral("Crude oil"));
  Type(Edit("Liquids", "base_density"), QStringLiteral("50"));
  Type(Edit("Liquids", "hc_liquid_viscosity"), QStringLiteral("3"));
  EXPECT_NEAR(InUnit(s.baseDensity, "lbm/ft3"), 50.0, 1e-9);
  EXPECT_NEAR(InUnit(s.liquidViscosity, "cp"), 3.0, 1e-12);
  Pick(List("Liquids", "liquid_product"), QStringLiteral("Refined product"));
  EXPECT_EQ(QMXcalc::GetLiquidProduct(), 1);
  EXPECT_NEAR(InUnit(s.baseDensity, "lbm/ft3"), 44.9, 1e-9);
  EXPECT_NEAR(InUnit(s.liquidViscosity, "cp"), 0.4, 1e-12);
  EXPECT_EQ(Edit("Liquids", "base_density")->text(), QStringLiteral("44.9"));
  EXPECT_EQ(Edit("Liquids", "hc_liquid_viscosity")->text(), QStringLiteral("0.4"));
  EXPECT_EQ(Edit("Liquids", "liquid_viscosity")->text(), QStringLiteral("0.4"));
  // 44.9 lbm/ft3 = 719.23 kg/m3 against water at 999.012 kg/m3.
  EXPECT_NEAR(FI::RVgetLReal(*s.liquidRelativeDensity), 44.9 * 16.018463373960138 / 999.012, 1e-12);
  // Calculated: the flowing density is the base density corrected from 15 C to 22 C.
  const double ctl = FI::RVgetLReal(*s.liquidCorrectionFactor);
  EXPECT_LT(ctl, 1.0);
  EXPECT_GT(ctl, 0.98);
  // The combined factor also holds the compression at 3.5 MPa gauge: a little denser than by the
  // temperature alone.
  EXPECT_GT(InUnit(s.densityFlowing, "lbm/ft3"), 44.9 * ctl);
  EXPECT_LT(InUnit(s.densityFlowing, "lbm/ft3"), 44.9 * ctl * 1.01);
  EXPECT_EQ(Edit("Liquids", "liquid_correction_factor")->text().toStdString().substr(0, 3), "0.9");

  // Each product chosen loads its own values over typed ones.
  Type(Edit("Liquids", "base_density"), QStringLiteral("45.5"));
  Pick(List("Liquids", "liquid_product"), QStringLiteral("Lube oil"));
  EXPECT_NEAR(InUnit(s.baseDensity, "lbm/ft3"), 49.9, 1e-9);
  Pick(List("Liquids", "liquid_product"), QStringLiteral("Crude oil"));
  EXPECT_NEAR(InUnit(s.baseDensity, "lbm/ft3"), 54.0, 1e-9);
  EXPECT_NEAR(InUnit(s.liquidViscosity, "cp"), 6.0, 1e-12);
}

TEST_F(FluidPagesTest, BaseAndRelativeDensityFollowEachOther) {
  ChooseFluid("fluid_hcliquid");
  Open("Liquids");
  QMXcalc::State& s = QMXcalc::Calc();
  Type(Edit("Liquids", "liquid_relative_density"), QStringLiteral("0.8"));
  EXPECT_NEAR(InUnit(s.baseDensity, "kg/m3"), 0.8 * 999.012, 1e-9);
  EXPECT_NEAR(Number(Edit("Liquids", "base_density")), 0.8 * 999.012 / 16.018463373960138, 0.01);
  Type(Edit("Liquids", "base_density"), QStringLiteral("60"));
  EXPECT_NEAR(FI::RVgetLReal(*s.liquidRelativeDensity), 60 * 16.018463373960138 / 999.012, 1e-12);
  EXPECT_NEAR(Number(Edit("Liquids", "liquid_relative_density")), 60 * 16.018463373960138 / 999.012, 1e-5);
  // A refused base density beeps, shows the stored value, and leaves the pair as it was.
  const int beeps = beeps_->count();
  Type(Edit("Liquids", "base_density"), QStringLiteral("abc"));
  EXPECT_EQ(beeps_->count(), beeps + 1);
  EXPECT_EQ(Edit("Liquids", "base_density")->text(), QStringLiteral("60.0"));
  EXPECT_NEAR(FI::RVgetLReal(*s.liquidRelativeDensity), 60 * 16.018463373960138 / 999.012, 1e-12);
}

TEST_F(FluidPagesTest, LiquidControlsAreEnabledByFluidKind) {
  trace_.clear();
  const char* generic[] = {"liquid_density", "liquid_viscosity"};
  const char* hydrocarbon[] = {"base_density", "liquid_relative_density", "hc_liquid_viscosity",
                               "thermal_expansion"};
  ChooseFluid("fluid_liquid");
  Open("Liquids");
  for (const char* name : generic) EXPECT_TRUE(Edit("Liquids", name)->isEnabled()) << name;
  for (const char* name : hydrocarbon) EXPECT_FALSE(Edit("Liquids", name)->isEnabled()) << name;
  EXPECT_FALSE(List("Liquids", "liquid_product")->isEnabled());
  EXPECT_FALSE(Widget<QPushButton>("Liquids", "estimate_viscosity")->isEnabled());
  EXPECT_FALSE(Edit("Liquids", "flowing_temperature")->isEnabled());
  EXPECT_TRUE(Widget<QLabel>("Liquids", "liquid_density_label")->isEnabled());

  ChooseFluid("fluid_hcliquid");
  Open("Liquids");
  for (const char* name : generic) EXPECT_FALSE(Edit("Liquids", name)->isEnabled()) << name;
  for (const char* name : hydrocarbon) EXPECT_TRUE(Edit("Liquids", name)->isEnabled()) << name;
  EXPECT_TRUE(List("Liquids", "liquid_product")->isEnabled());
  EXPECT_TRUE(Widget<QPushButton>("Liquids", "estimate_viscosity")->isEnabled());
  EXPECT_TRUE(Edit("Liquids", "flowing_temperature")->isEnabled());
  EXPECT_FALSE(Widget<QLabel>("Liquids", "liquid_density_label")->isEnabled());
  EXPECT_EQ(trace_.find("EXCEPTION QMXliquids.Redisplay()"), std::string::npos);
  // Under a gas the page has nothing to enable, and says so in the trace.
  ChooseFluid("fluid_gas");
  PageOf("Liquids")->Enable();
  EXPECT_NE(trace_.find("\nEXCEPTION QMXliquids.Redisplay()"), std::string::npos);
}

TEST_F(FluidPagesTest, GenericLiquidShowsAConsistentBaseAndRelativeDensity) {
  ChooseFluid("fluid_liquid");
  Open("Liquids");
  QMXcalc::State& s = QMXcalc::Calc();
  Type(Edit("Liquids", "liquid_density"), QStringLiteral("900"));
  EXPECT_NEAR(InUnit(s.densityFlowing, "kg/m3"), 900.0, 1e-9);
  // The base density is the entered density, and the relative density goes with it.
  EXPECT_NEAR(InUnit(s.baseDensity, "kg/m3"), 900.0, 1e-9);
  EXPECT_NEAR(FI::RVgetLReal(*s.liquidRelativeDensity), 900.0 / 999.012, 1e-12);
  EXPECT_NEAR(Number(Edit("Liquids", "liquid_relative_density")), 0.90089, 1e-5);
  // A change to the hydrocarbon liquid starts from that consistent pair.
  ChooseFluid("fluid_hcliquid");
  Open("Liquids");
  EXPECT_NEAR(FI::RVgetLReal(*s.liquidRelativeDensity), InUnit(s.baseDensity, "kg/m3") / 999.012, 1e-12);
}

TEST_F(FluidPagesTest, EstimatedViscosityEntersTheFlowResults) {
  ChooseFluid("fluid_hcliquid");
  Open("Liquids");
  QMXcalc::State& s = QMXcalc::Calc();
  EXPECT_NEAR(InUnit(s.liquidViscosity, "cp"), 2.0, 1e-12);
  QTest::mouseClick(Widget<QPushButton>("Liquids", "estimate_viscosity"), Qt::LeftButton);
  const double mu = InUnit(s.liquidViscosity, "cp") * 1e-3;
  EXPECT_GT(mu, 1e-4);
  EXPECT_LT(mu, 1e-1);
  EXPECT_GT(std::fabs(mu - 0.002), 1e-6);
  EXPECT_NEAR(Number(Edit("Liquids", "hc_liquid_viscosity")), mu * 1000.0, 1e-4 * mu * 1000.0 + 1e-3);
  // The pipe Reynolds number of the shown results is that of the estimated viscosity.
  const double re = FI::RVgetLReal(*s.reynolds);
  const double expected = 4.0 * InUnit(s.massFlow, "kg/s") / (std::numbers::pi * InUnit(s.pipeDiameterFlowing, "m") * mu);
  EXPECT_NEAR(re, expected, 1e-9 * expected);
}
}  // namespace
}  // namespace qmx::ui::test
