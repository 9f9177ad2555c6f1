// The Settings page: fluid choice and the fluid pages, the meter list and what it forces, the
// enabling rules, the list-index raises, the material label, the instrument mode and Reset.
#include <QRadioButton>

#include "support/ui_fixture.hpp"
#include "ui/settings_page.hpp"

namespace qmx::ui::test {
namespace {

int Meter() {
  int nonDP = 0;
  return QMXcalc::GetMeter(nonDP);
}

TEST_F(UiTest, SaturatedSteamShowsSteamAndResetReturnsMoleFractions) {
  Open("Settings");
  QTest::mouseClick(Widget<QRadioButton>("Settings", "fluid_steam"), Qt::LeftButton);
  EXPECT_EQ(QMXcalc::GetFluid(), QMXcalc::kSaturatedSteam);
  EXPECT_FALSE(window_->IsTabShown("Mole fractions"));
  EXPECT_TRUE(window_->IsTabShown("Steam"));
  EXPECT_FALSE(window_->IsTabShown("GCN"));
  EXPECT_FALSE(window_->IsTabShown("Liquids"));
  EXPECT_TRUE(window_->IsTabShown("Reference"));
  QTest::mouseClick(Widget<QPushButton>("Settings", "reset"), Qt::LeftButton);
  EXPECT_EQ(QMXcalc::GetFluid(), QMXcalc::kNaturalGas);
  EXPECT_TRUE(window_->IsTabShown("Mole fractions"));
  EXPECT_FALSE(window_->IsTabShown("Steam"));
  EXPECT_TRUE(Widget<QRadioButton>("Settings", "fluid_gas")->isChecked());
}

TEST_F(UiTest, EachFluidShowsItsOwnPage) {
  struct Case {
    const char* radio;
    int kind;
    const char* page;
  };
  const Case cases[] = {{"fluid_gcn", QMXcalc::kGcnGas, "GCN"},
                        {"fluid_drysteam", QMXcalc::kDrySteam, "Steam"},
                        {"fluid_liquid", QMXcalc::kGenericLiquid, "Liquids"},
                        {"fluid_hcliquid", QMXcalc::kHydrocarbonLiquid, "Liquids"},
                        {"fluid_gas", QMXcalc::kNaturalGas, "Mole fractions"}};
  Open("Settings");
  for (const Case& c : cases) {
    QTest::mouseClick(Widget<QRadioButton>("Settings", c.radio), Qt::LeftButton);
    EXPECT_EQ(QMXcalc::GetFluid(), c.kind) << c.radio;
    for (const char* fluidPage : {"Mole fractions", "GCN", "Steam", "Liquids"}) {
      EXPECT_EQ(window_->IsTabShown(fluidPage), std::string(fluidPage) == c.page) << c.radio << " " << fluidPage;
    }
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(UiTest, Aga3In2012ForcesFlangeTapsAfterCorner) {
  Open("Settings");
  QComboBox* meter = List("Settings", "meter");
  QComboBox* taps = List("Settings", "taps");
  Choose(meter, QStringLiteral("Orifice meter, ISO 5167(2003)"));
  EXPECT_EQ(Meter(), 12);
  EXPECT_TRUE(taps->isEnabled());
  Choose(taps, QStringLiteral("Corner"));
  EXPECT_EQ(QMXcalc::GetTaps(), 0);
  Choose(meter, QStringLiteral("Orifice meter, AGA-3(2012)"));
  EXPECT_EQ(Meter(), 15);
  EXPECT_EQ(QMXcalc::GetTaps(), 1);
  EXPECT_EQ(taps->currentText(), QStringLiteral("Flange"));
  EXPECT_FALSE(taps->isEnabled());
}

TEST_F(UiTest, AveragingPitotTubeDisablesThroatAndSelectsType10) {
  Open("Settings");
  Choose(List("Settings", "meter"), QStringLiteral("Averaging pitot tube"));
  EXPECT_EQ(Meter(), 33);
  EXPECT_EQ(QMXcalc::GetProbeModel(), 0);
  EXPECT_EQ(List("Settings", "probe_model")->currentText(), QStringLiteral("Annubar Type 10"));
  EXPECT_TRUE(List("Settings", "probe_model")->isEnabled());
  EXPECT_FALSE(List("Settings", "throat_material")->isEnabled());
  Open("Flow");
  EXPECT_FALSE(Edit("Flow", "throat_diameter")->isEnabled());
  EXPECT_FALSE(Edit("Flow", "beta")->isEnabled());
  EXPECT_EQ(Widget<QLabel>("Flow", "throat_diameter_label")->text(), QStringLiteral("Probe width"));
  // Back to an orifice: the throat is free again and the probe list is off.
  Open("Settings");
  Choose(List("Settings", "meter"), QStringLiteral("Orifice meter, AGA-3(2012)"));
  EXPECT_FALSE(List("Settings", "probe_model")->isEnabled());
  EXPECT_TRUE(List("Settings", "throat_material")->isEnabled());
  Open("Flow");
  EXPECT_TRUE(Edit("Flow", "throat_diameter")->isEnabled());
  EXPECT_NEAR(InUnit(QMXcalc::Calc().throatDiameter, "in"), 1.534, 1e-9);
}

TEST_F(UiTest, ListIndexOutsideTheListRaisesAndStoresNothing) {
  auto* settings = static_cast<SettingsPage*>(Open("Settings"));
  struct Case {
    void (SettingsPage::*select)(int);
    int index;
    const char* message;
    int number;
  };
  const Case cases[] = {
      {&SettingsPage::SelectMeter, 11, "QMXsettingsWndProc() invalid meter", 1},
      {&SettingsPage::SelectMeter, -1, "QMXsettingsWndProc() invalid meter", 1},
      {&SettingsPage::SelectTaps, 3, "QMXsettingsWndProc() invalid tap type", 2},
      {&SettingsPage::SelectProbeModel, 12, "QMXsettingsWndProc() invalid Annubar model", 3},
  };
  for (const Case& c : cases) {
    warnings_.clear();
    (settings->*c.select)(c.index);
    ASSERT_EQ(warnings_.size(), 1u) << c.message;
    EXPECT_TRUE(warnings_[0].text.startsWith(QString::fromLatin1(c.message))) << warnings_[0].text.toStdString();
    EXPECT_TRUE(warnings_[0].text.contains(QStringLiteral("Module QMXsettings, number %1").arg(c.number)))
        << warnings_[0].text.toStdString();
    EXPECT_EQ(Meter(), 15);
    EXPECT_EQ(QMXcalc::GetTaps(), 1);
    EXPECT_EQ(QMXcalc::GetProbeModel(), 9);
    // The lists still show the stored selections.
    EXPECT_EQ(List("Settings", "meter")->currentText(), QStringLiteral("Orifice meter, AGA-3(2012)"));
  }
}

TEST_F(UiTest, MaterialLabelAndEnablingByMeter) {
  struct Case {
    const char* meter;
    const char* label;
    bool fixedCd, taps;
  };
  const Case cases[] = {
      {"Classical venturi, ISO 5167(2003)", "Throat material", true, false},
      {"Cone meter, spool", "Cone material", true, false},
      {"Venturi-nozzle, ISO 5167(2003)", "Throat material", false, false},
      {"ISA nozzle, ISO 5167(2003)", "Throat material", false, false},
      {"Long radius nozzle, ISO 5167(2003)", "Throat material", false, false},
      {"Orifice meter, ISO 5167(2003)", "Plate material", false, true},
      {"Orifice meter, AGA-3(1991)", "Plate material", false, false},
      {"Small bore orifice, ASME MFC-14M", "Plate material", false, false},
      {"Averaging pitot tube", "Strut material", false, false},
      {"Gas turbine", "Throat material", false, false},
  };
  for (const Case& c : cases) {
    Open("Settings");
    Choose(List("Settings", "meter"), QString::fromLatin1(c.meter));
    EXPECT_EQ(Widget<QLabel>("Settings", "material_label")->text(), QString::fromLatin1(c.label)) << c.meter;
    EXPECT_EQ(List("Settings", "taps")->isEnabled(), c.taps) << c.meter;
    Open("Flow");
    EXPECT_EQ(Edit("Flow", "fixed_cd")->isEnabled(), c.fixedCd) << c.meter;
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(UiTest, GasTurbineEnablesKFactorAndFrequencyOnly) {
  Open("Settings");
  Choose(List("Settings", "meter"), QStringLiteral("Gas turbine"));
  int nonDP = 0;
  EXPECT_EQ(QMXcalc::GetMeter(nonDP), 39);
  EXPECT_EQ(nonDP, 1);
  Open("Flow");
  for (const char* on : {"k_factor", "frequency", "pipe_diameter", "static_pressure"}) {
    EXPECT_TRUE(Edit("Flow", on)->isEnabled()) << on;
  }
  for (const char* off : {"dp", "throat_diameter", "beta", "cd", "expansion_factor", "beta_flowing",
                          "velocity_of_approach", "throat_diameter_flowing", "pressure_loss"}) {
    EXPECT_FALSE(Edit("Flow", off)->isEnabled()) << off;
  }
  EXPECT_EQ(Widget<QLabel>("Flow", "throat_diameter_label")->text(), QStringLiteral("Bore diameter"));
  // 1000 Hz over 1000 pulse/ft3 is one cubic foot a second.
  EXPECT_NEAR(InUnit(QMXcalc::Calc().actualVolumeFlow, "ft3/sec"), 1.0, 1e-9);
}

TEST_F(UiTest, MaterialListsSetTheStateAndTrace) {
  Open("Settings");
  Choose(List("Settings", "tube_material"), QStringLiteral("316 stainless steel"));
  EXPECT_EQ(QMXcalc::GetTubeMaterial(), 5);
  EXPECT_NE(trace_.find("\n  rDdl_PipeMtl initial 5 12"), std::string::npos) << trace_;
  EXPECT_NE(trace_.find("\n  rDdl_PipeMtl final 5 5"), std::string::npos);
  Choose(List("Settings", "throat_material"), QStringLiteral("Monel"));
  EXPECT_EQ(QMXcalc::GetThroatMaterial(), 2);
  // Reset restores the default codes, and the lists show their materials again.
  QTest::mouseClick(Widget<QPushButton>("Settings", "reset"), Qt::LeftButton);
  EXPECT_EQ(QMXcalc::GetTubeMaterial(), 12);
  EXPECT_EQ(List("Settings", "tube_material")->currentText(), QStringLiteral("Carbon steel"));
  EXPECT_EQ(List("Settings", "throat_material")->currentText(), QStringLiteral("300 series stainless steel"));
}

TEST_F(UiTest, InstrumentModeChangesTheLabelOnly) {
  Open("Settings");
  const double before = InUnit(QMXcalc::Calc().massFlow, "kg/s");
  auto* label = Widget<QLabel>("Settings", "instrument_label");
  EXPECT_EQ(label->text(), QStringLiteral("Gas day start"));
  QTest::mouseClick(Widget<QRadioButton>("Settings", "instrument_mode_1"), Qt::LeftButton);
  EXPECT_EQ(label->text(), QStringLiteral("Chart change"));
  QTest::mouseClick(Widget<QRadioButton>("Settings", "instrument_mode_0"), Qt::LeftButton);
  EXPECT_EQ(label->text(), QStringLiteral("Gas day start"));
  EXPECT_EQ(InUnit(QMXcalc::Calc().massFlow, "kg/s"), before);
}

TEST(MaterialItem, CodesToListItems) {
  const std::pair<int, int> cases[] = {{0, 0}, {5, 5}, {6, 0}, {11, 5}, {12, 0}, {13, 1}, {14, 2}, {15, -1}, {-1, -1}};
  for (const auto& [code, item] : cases) EXPECT_EQ(MaterialItem(code), item) << code;
}

}  // namespace
}  // namespace qmx::ui::test
