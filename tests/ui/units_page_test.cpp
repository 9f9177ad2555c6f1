// The Units page: the unit system and quantity lists over the state's display units, the
// converter with its expressions, and the reference list.
#include <QTreeWidget>

#include "app/display_units.hpp"
#include "support/ui_fixture.hpp"

namespace qmx::ui::test {
namespace {

class UnitsPageTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    Open("Units");
  }
  QLineEdit* ListEdit(const char* name) { return List("Units", name)->lineEdit(); }
  std::string Units(const QMXcalc::DV& dv) {
    std::string u;
    FUM::uDVgetUnits(u, *dv);
    return u;
  }
  void Click(const char* button) { QTest::mouseClick(Widget<QPushButton>("Units", button), Qt::LeftButton); }
};

TEST_F(UnitsPageTest, StartsInSiPreferredMetricWithTheOfferedLists) {
  EXPECT_EQ(List("Units", "unit_system")->currentText(), QStringLiteral("SI preferred metric"));
  EXPECT_EQ(List("Units", "unit.pressure")->currentText(), QStringLiteral("kpa"));
  EXPECT_EQ(List("Units", "unit.liquid_volume_flow")->currentText(), QStringLiteral("m3/min"));
  QComboBox* gas = List("Units", "unit.gas_volume_flow");
  ASSERT_EQ(gas->count(), 10);
  EXPECT_EQ(gas->itemText(3), QStringLiteral("dam3/day"));
  EXPECT_EQ(gas->itemText(9), QStringLiteral("mmcf/day"));
  EXPECT_EQ(List("Units", "unit.liquid_density")->itemText(3), QStringLiteral("rdl"));
  // Other pages show the values in those units when they are opened.
  Open("Flow");
  EXPECT_EQ(Widget<QLineEdit>("Flow", "pipe_diameter")->text(), QStringLiteral("77.9272"));
  EXPECT_EQ(PageOf("Flow")->Field("pipe_diameter")->Unit()->text(), QStringLiteral("mm"));
}

TEST_F(UnitsPageTest, ConvertingAtStartGivesGallons) {
  Click("convert_1_to_2");
  EXPECT_TRUE(warnings_.empty());
  // 904.7786842 in3 at 16.387064 cm3/in3 and 3.785411784 dm3/gal.
  EXPECT_NEAR(Number(Edit("Units", "calc_value2")), 3.916791, 5e-7);
  // Back again gives the sphere's volume.
  Click("convert_2_to_1");
  EXPECT_NEAR(Number(Edit("Units", "calc_value1")), 904.778684, 5e-6);
}

TEST_F(UnitsPageTest, ValueFieldsTakeExpressionsButNoVariables) {
  struct Case {
    const char* text;
    const char* message;  // empty: accepted
    double gallons;       // value 2 after converting 1 -> 2 from m3
  };
  const Case cases[] = {
      {"SQRT(4)/2", "", 264.17205235814842},
      {"A=2", "Unknown function.", 0},
      {"A*3", "Unknown function.", 0},
      {"1/0", "Division by zero.", 0},
      {"(1+2", "Parentheses do not ballance.", 0},
      {"", "Null expression.", 0},
  };
  Type(Edit("Units", "calc_unit1"), QStringLiteral("m3"));
  for (const Case& c : cases) {
    warnings_.clear();
    Type(Edit("Units", "calc_value1"), QString::fromLatin1(c.text));
    if (c.message[0] == '\0') {
      EXPECT_TRUE(warnings_.empty()) << c.text;
      Click("convert_1_to_2");
      EXPECT_NEAR(Number(Edit("Units", "calc_value2")), c.gallons, 1e-4) << c.text;
    } else {
      ASSERT_FALSE(warnings_.empty()) << c.text;
      EXPECT_TRUE(warnings_.front().text.startsWith(QString::fromLatin1(c.message))) << c.text;
    }
  }
}

TEST_F(UnitsPageTest, UnitFieldKeepsOnlyUnitCharacters) {
  struct Case {
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {{"ft 3", "ft3"}, {"m3/HR", "m3/R"}, {"lbm/ft*sec", "lbm/ft*sec"},
                        {"M.j/hr", "M.j/hr"}, {"m10", "m1"}, {"$/gal", "$/gal"}};
  for (const Case& c : cases) {
    QLineEdit* unit = Edit("Units", "calc_unit2");
    Type(unit, QString::fromLatin1(c.typed));
    EXPECT_EQ(unit->text(), QString::fromLatin1(c.kept)) << c.typed;
  }
}

TEST_F(UnitsPageTest, PsiToKgShowsTheDimensionError) {
  Type(Edit("Units", "calc_unit1"), QStringLiteral("psi"));
  Type(Edit("Units", "calc_unit2"), QStringLiteral("kg"));
  const QString before = Edit("Units", "calc_value2")->text();
  Click("convert_1_to_2");
  ASSERT_EQ(warnings_.size(), 1u);
  std::string text;
  FUM::uErrorText(FUM::uDimensionError, text);
  QString expected = QString::fromStdString(text);
  expected.replace(QLatin1Char('|'), QLatin1Char('\n'));
  EXPECT_EQ(warnings_[0].text, expected.trimmed());
  EXPECT_FALSE(warnings_[0].text.contains(QLatin1Char('|')));
  EXPECT_EQ(Edit("Units", "calc_value2")->text(), before);
}

TEST_F(UnitsPageTest, AUnitThatDoesNotFitIsPutBackWithTheHint) {
  const double pressure = FUM::uDVgetMKS(*QMXcalc::Calc().staticPressure);
  Type(ListEdit("unit.pressure"), QStringLiteral("kg"));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(warnings_[0].text, QStringLiteral("Pressure units only, eg psi (pounds per square inch)"));
  EXPECT_EQ(List("Units", "unit.pressure")->currentText(), QStringLiteral("kpa"));
  EXPECT_EQ(Units(QMXcalc::Calc().staticPressure), "kpa");
  // A fitting unit outside the offered strings is taken by every value of the list.
  warnings_.clear();
  Type(ListEdit("unit.pressure"), QStringLiteral("inhg"));
  EXPECT_TRUE(warnings_.empty());
  for (const auto* dv : {&QMXcalc::Calc().staticPressure, &QMXcalc::Calc().basePressure,
                         &QMXcalc::Calc().atmosphericPressure, &QMXcalc::Calc().upstreamPressure}) {
    EXPECT_EQ(Units(*dv), "inhg");
  }
  EXPECT_EQ(FUM::uDVgetMKS(*QMXcalc::Calc().staticPressure), pressure);
  // A pick from the list.
  Choose(List("Units", "unit.temperature"), QStringLiteral("R"));
  EXPECT_EQ(Units(QMXcalc::Calc().pipeRefTemperature), "R");
}

TEST_F(UnitsPageTest, UsInchPoundAndMksBaseMetric) {
  Choose(List("Units", "unit_system"), QStringLiteral("US inch-pound"));
  EXPECT_EQ(List("Units", "unit.temperature")->currentText(), QStringLiteral("F"));
  EXPECT_EQ(List("Units", "unit.liquid_density")->currentText(), QStringLiteral("api"));
  QMXcalc::State& s = QMXcalc::Calc();
  EXPECT_EQ(Units(s.liquidDensity), "api");
  EXPECT_EQ(Units(s.thermalExpansion), " /F");
  Open("Flow");
  EXPECT_EQ(PageOf("Flow")->Field("flowing_temperature")->Unit()->text(), QStringLiteral("F"));
  EXPECT_EQ(PageOf("Flow")->Field("pipe_diameter")->Unit()->text(), QStringLiteral("in"));
  EXPECT_EQ(Widget<QLineEdit>("Flow", "pipe_diameter")->text(), QStringLiteral("3.068"));

  Open("Units");
  Choose(List("Units", "unit_system"), QStringLiteral("MKS base metric"));
  // Every dimensioned value of the state in SI base units: its factor to SI is 1 (temperatures
  // in K, the expansion coefficient per K).
  const QMXcalc::DV* all[] = {
      &s.flowingTemperature, &s.dp, &s.staticPressure, &s.atmosphericPressure, &s.upstreamPressure,
      &s.kFactor, &s.baseTemperature, &s.basePressure, &s.pipeDiameter, &s.throatDiameter,
      &s.throatRefTemperature, &s.pipeRefTemperature, &s.gcnHeatingValue, &s.gcnViscosity,
      &s.apiGravity, &s.baseDensity, &s.thermalExpansion, &s.liquidDensity, &s.liquidViscosity,
      &s.massFlow, &s.stdVolumeFlow, &s.actualVolumeFlow, &s.energyFlow, &s.throatDiameterFlowing,
      &s.pipeDiameterFlowing, &s.pressureLoss, &s.pipeVelocity, &s.molarDensity, &s.molarMass,
      &s.molarHeatingValue, &s.massHeatingValue, &s.volumetricHeatingValue, &s.viscosity,
      &s.criticalPressure, &s.criticalTemperature, &s.densityFlowing, &s.densityBase,
      &s.satLiquidDensity, &s.waterDensityBase, &s.referenceEnthalpy, &s.enthalpy};
  for (const QMXcalc::DV* dv : all) {
    const std::string unit = Units(*dv);
    FUM::UnitErrors errors = 0;
    bool formulaic = false;
    FUM::Dims dims{};
    double si = 0.0;
    FUM::uConvert(errors, formulaic, dims, unit, si, true, 1.0);
    EXPECT_EQ(errors, 0) << unit;
    if (unit != "K") {
      EXPECT_FALSE(formulaic) << unit;
      EXPECT_DOUBLE_EQ(si, 1.0) << unit;
    }
  }
  EXPECT_EQ(List("Units", "unit.energy_total")->currentText(), QStringLiteral("j"));
  Open("Flow");
  EXPECT_EQ(PageOf("Flow")->Field("flowing_temperature")->Unit()->text(), QStringLiteral("K"));
}

TEST_F(UnitsPageTest, LiquidVolumeListGovernsActualVolumeFlowOfALiquid) {
  QMXcalc::State& s = QMXcalc::Calc();
  Choose(List("Units", "unit.liquid_volume_flow"), QStringLiteral("bbl/day"));
  EXPECT_EQ(Units(s.actualVolumeFlow), "m3/hr");  // natural gas: the gas list
  bool changed = false;
  QMXcalc::SetFluid(changed, QMXcalc::kGenericLiquid);
  QMXcalc::Calculate(changed);
  EXPECT_EQ(Units(s.actualVolumeFlow), "bbl/day");
  EXPECT_EQ(Units(s.stdVolumeFlow), "m3/hr");
  Choose(List("Units", "unit.liquid_volume_flow"), QStringLiteral("gpm"));
  EXPECT_EQ(Units(s.actualVolumeFlow), "gpm");
  Choose(List("Units", "unit.gas_volume_flow"), QStringLiteral("ft3/min"));
  EXPECT_EQ(Units(s.actualVolumeFlow), "gpm");
  QMXcalc::SetFluid(changed, QMXcalc::kNaturalGas);
  EXPECT_EQ(Units(s.actualVolumeFlow), "ft3/min");
}

TEST_F(UnitsPageTest, ReferenceListsTheGroupsThenTheOperators) {
  auto* tree = Widget<QTreeWidget>("Units", "reference");
  ASSERT_NE(tree, nullptr);
  QStringList first;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) first << tree->topLevelItem(i)->text(0);
  QStringList headings;
  for (const QString& t : first) {
    if (t.startsWith(QStringLiteral("------"))) headings << t;
  }
  ASSERT_EQ(headings.size(), 22);
  EXPECT_EQ(headings.front(), QStringLiteral("------Mass -----------------"));
  EXPECT_EQ(headings[19], QStringLiteral("------ Fuel economy --------"));
  EXPECT_EQ(headings.back(), QStringLiteral("------ Expressions ---------"));
  // Formulaic rows right after their group's heading.
  const int density = static_cast<int>(first.indexOf(QStringLiteral("------Mass density ---------")));
  ASSERT_GE(density, 0);
  EXPECT_EQ(first[density + 1], QStringLiteral("api   [formulaic: mass / volume]"));
  EXPECT_EQ(tree->topLevelItem(density + 1)->text(1), QStringLiteral("API gravity"));
  const int length = static_cast<int>(first.indexOf(QStringLiteral("------Length ---------------")));
  EXPECT_EQ(first[length + 1], QStringLiteral("awg   [formulaic: length]"));
  // Units of a group by ascending factor: mass starts below the kilogram and passes it.
  const int mass = static_cast<int>(first.indexOf(QStringLiteral("kg")));
  const int gram = static_cast<int>(first.indexOf(QStringLiteral("gm")));
  EXPECT_LT(gram, mass);
  const int ops = static_cast<int>(first.indexOf(QStringLiteral("------ Expressions ---------")));
  EXPECT_EQ(first[ops + 1], QStringLiteral("+"));
  EXPECT_EQ(tree->topLevelItem(ops + 2)->text(1), QStringLiteral("Subtraction, unary sign"));
  EXPECT_EQ(first[ops + 23], QStringLiteral("PI()"));
}

}  // namespace
}  // namespace qmx::ui::test
