// The Flow page's sizing dialog driven through its widgets: solved bore and differential pressure
// applied to the state give the target flow, an unreachable target shows the sizing library's
// message and changes nothing, closing changes nothing.
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "app/sizing.hpp"
#include "support/ui_fixture.hpp"
#include "ui/flow_page.hpp"
#include "ui/sizing_dialog.hpp"

namespace qmx::ui::test {
namespace {

double Si(const QMXcalc::DV& dv) { return FUM::uDVgetMKS(*dv); }

// Every input a solution could move and every flow result, as SI numbers.
std::vector<double> StateNumbers() {
  const QMXcalc::State& s = QMXcalc::Calc();
  return {Si(s.throatDiameter), FI::RVgetLReal(*s.beta), Si(s.dp), Si(s.staticPressure), Si(s.upstreamPressure),
          Si(s.flowingTemperature), Si(s.massFlow), Si(s.stdVolumeFlow), Si(s.actualVolumeFlow), Si(s.energyFlow),
          Si(s.pressureLoss), FI::RVgetLReal(*s.cd), FI::RVgetLReal(*s.expansionFactor)};
}

class SizingTest : public UiTest {
 protected:
  void SetUp() override {
    QMXcalc::State& s = QMXcalc::Calc();
    ASSERT_TRUE(FUM::uDVsetUnits("in", *s.throatDiameter));
    ASSERT_TRUE(FUM::uDVsetUnits("kpa", *s.dp));
    ASSERT_TRUE(FUM::uDVsetUnits("kg/s", *s.massFlow));
    ASSERT_TRUE(FUM::uDVsetUnits("m3/hr", *s.stdVolumeFlow));
    UiTest::SetUp();
    Open("Flow");
  }

  // The dialog as the "Size meter..." button opens it.
  SizingDialog* OpenDialog() {
    QTest::mouseClick(Widget<QPushButton>("Flow", "size_meter"), Qt::LeftButton);
    SizingDialog* d = static_cast<FlowPage*>(PageOf("Flow"))->LastSizingDialog();
    EXPECT_NE(d, nullptr);
    if (d != nullptr) {
      EXPECT_TRUE(d->isVisible());
    }
    return d;
  }

  template <class W>
  static W* In(SizingDialog* d, const char* name) {
    W* w = d->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  // Chooses what to solve and the target, types the target value and calculates.
  static void SolveFor(SizingDialog* d, const char* solve, const char* quantity, const QString& target) {
    Choose(In<QComboBox>(d, "solve"), QString::fromLatin1(solve));
    Choose(In<QComboBox>(d, "target_quantity"), QString::fromLatin1(quantity));
    QLineEdit* edit = In<QLineEdit>(d, "target");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, target);
    QTest::mouseClick(In<QPushButton>(d, "calculate"), Qt::LeftButton);
  }
};

TEST_F(SizingTest, TargetIsProposedInTheUnitItsFieldShows) {
  SizingDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(In<QLabel>(d, "target_unit")->text(), QStringLiteral("kg/s"));
  EXPECT_EQ(In<QLineEdit>(d, "target")->text(), Edit("Flow", "mass_flow")->text());
  Choose(In<QComboBox>(d, "target_quantity"), QStringLiteral("Standard volume flow"));
  EXPECT_EQ(In<QLabel>(d, "target_unit")->text(), QStringLiteral("m3/hr"));
  EXPECT_EQ(In<QLineEdit>(d, "target")->text(), Edit("Flow", "std_volume_flow")->text());
  EXPECT_FALSE(In<QPushButton>(d, "apply")->isEnabled());
}

struct RoundTrip {
  const char* solve;
  const char* quantity;
  const char* target;  // as typed
  double targetSi;     // kg/s or m3/s
  bool massTarget;
};

TEST_F(SizingTest, SolvedValueAppliedGivesTheTargetFlow) {
  const RoundTrip cases[] = {
      {"Bore (throat diameter)", "Mass flow", "0.8", 0.8, true},
      {"Bore (throat diameter)", "Mass flow", "3600 kg/hr", 1.0, true},
      {"Differential pressure", "Mass flow", "0.45", 0.45, true},
      {"Bore (throat diameter)", "Standard volume flow", "2500", 2500.0 / 3600.0, false},
      {"Differential pressure", "Standard volume flow", "1800", 0.5, false},
  };
  for (const RoundTrip& c : cases) {
    QMXcalc::Reset();
    PageOf("Flow")->Activate();
    const std::vector<double> before = StateNumbers();
    SizingDialog* d = OpenDialog();
    ASSERT_NE(d, nullptr);
    SolveFor(d, c.solve, c.quantity, QString::fromLatin1(c.target));
    ASSERT_TRUE(d->Solution().has_value()) << c.target << " " << In<QLabel>(d, "message")->text().toStdString();
    // Solving alone changes nothing.
    EXPECT_EQ(StateNumbers(), before) << c.target;
    EXPECT_TRUE(In<QLabel>(d, "message")->text().isEmpty());
    const Sizing::SizingResult r = *d->Solution();
    const double solvedFlow = c.massTarget ? r.massFlow : r.stdVolumeFlow;
    EXPECT_NEAR(solvedFlow / c.targetSi, 1.0, 1e-9) << c.target;
    ASSERT_TRUE(In<QPushButton>(d, "apply")->isEnabled());
    QTest::mouseClick(In<QPushButton>(d, "apply"), Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    // The page's state now gives the target flow.
    const QMXcalc::State& s = QMXcalc::Calc();
    const double flow = c.massTarget ? Si(s.massFlow) : Si(s.stdVolumeFlow);
    EXPECT_NEAR(flow / c.targetSi, 1.0, 1e-9) << c.solve << " " << c.target;
    if (std::string_view(c.solve).starts_with("Bore")) {
      EXPECT_EQ(Si(s.throatDiameter), r.throatDiameter);
      EXPECT_NEAR(FI::RVgetLReal(*s.beta), r.beta, 1e-12);
      EXPECT_EQ(Si(s.dp), before[2]);
      EXPECT_NEAR(Number(Edit("Flow", "throat_diameter")), r.throatDiameter / 0.0254, 1e-4);
    } else {
      EXPECT_NEAR(Si(s.dp) / r.dp, 1.0, 1e-12);
      EXPECT_EQ(Si(s.throatDiameter), before[0]);
      // The absolute pressure follows the gauge reading as a dp entry keeps it.
      EXPECT_EQ(Si(s.upstreamPressure), before[4]);
    }
    // The page shows the new flow.
    std::string shown;
    FUM::uDVgetValStr(shown, *s.massFlow);
    EXPECT_EQ(Edit("Flow", "mass_flow")->text(), QString::fromStdString(shown).trimmed());
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(SizingTest, UnreachableTargetShowsTheMessageAndChangesNothing) {
  const std::vector<double> before = StateNumbers();
  const QString flowText = Edit("Flow", "mass_flow")->text();
  SizingDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  struct Case {
    const char* solve;
    const char* target;
  };
  for (const Case& c : {Case{"Bore (throat diameter)", "500"}, Case{"Bore (throat diameter)", "1e-6"},
                        Case{"Differential pressure", "500"}}) {
    const int beeps = beeps_->count();
    SolveFor(d, c.solve, "Mass flow", QString::fromLatin1(c.target));
    EXPECT_FALSE(d->Solution().has_value()) << c.target;
    const QString message = In<QLabel>(d, "message")->text();
    EXPECT_TRUE(message.contains(QStringLiteral("out of reach"))) << message.toStdString();
    const bool bore = std::string_view(c.solve).starts_with("Bore");
    EXPECT_TRUE(message.contains(QString::fromLatin1(bore ? "throat diameters from" : "differential pressures from")))
        << message.toStdString();
    EXPECT_FALSE(In<QPushButton>(d, "apply")->isEnabled());
    EXPECT_TRUE(In<QLabel>(d, "result_throat_diameter")->text().isEmpty());
    EXPECT_EQ(StateNumbers(), before) << c.target;
    // The solver's trial calculations sound nothing.
    EXPECT_EQ(beeps_->count(), beeps) << c.target;
  }
  EXPECT_EQ(Edit("Flow", "mass_flow")->text(), flowText);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(SizingTest, RefusedTargetTextBeepsAndSolvesNothing) {
  SizingDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  const std::vector<double> before = StateNumbers();
  for (const char* text : {"abc", "-2", "0", "nan", "1 kpa", "1 furlongs"}) {
    const int beeps = beeps_->count();
    SolveFor(d, "Bore (throat diameter)", "Mass flow", QString::fromLatin1(text));
    EXPECT_EQ(beeps_->count(), beeps + 1) << text;
    EXPECT_FALSE(d->Solution().has_value()) << text;
    EXPECT_FALSE(In<QLabel>(d, "message")->text().isEmpty()) << text;
  }
  EXPECT_EQ(StateNumbers(), before);
}

TEST_F(SizingTest, CloseAfterASolutionChangesNothing) {
  const std::vector<double> before = StateNumbers();
  SizingDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  SolveFor(d, "Bore (throat diameter)", "Mass flow", QStringLiteral("0.9"));
  ASSERT_TRUE(d->Solution().has_value());
  EXPECT_NE(d->Solution()->throatDiameter, before[0]);
  QTest::mouseClick(In<QPushButton>(d, "close"), Qt::LeftButton);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(StateNumbers(), before);
  EXPECT_NEAR(Number(Edit("Flow", "throat_diameter")), before[0] / 0.0254, 1e-4);
}

TEST_F(SizingTest, FlowChoiceShowsTheCalculatedStateAndOffersNoApply) {
  SizingDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  Choose(In<QComboBox>(d, "solve"), QStringLiteral("Flow"));
  EXPECT_FALSE(In<QLineEdit>(d, "target")->isEnabled());
  QTest::mouseClick(In<QPushButton>(d, "calculate"), Qt::LeftButton);
  ASSERT_TRUE(d->Solution().has_value());
  EXPECT_EQ(d->Solution()->massFlow, Si(QMXcalc::Calc().massFlow));
  EXPECT_EQ(In<QLabel>(d, "result_mass_flow")->text(), QString::number(Si(QMXcalc::Calc().massFlow), 'g', 7));
  EXPECT_FALSE(In<QPushButton>(d, "apply")->isEnabled());
}

}  // namespace
}  // namespace qmx::ui::test
