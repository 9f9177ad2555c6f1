// Meter sizing: for every meter family a flow calculated at a known bore (or dp) is given as the
// target from another starting point; the solve must find that bore again and the solution fed
// back through the state must give the target. Out-of-reach targets raise and change nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/qmxcalc.hpp"
#include "app/sizing.hpp"
#include "numerics/error.hpp"

namespace {

using namespace qmx;
using namespace qmx::QMXcalc;

double Si(const DV& dv) { return FUM::uDVgetMKS(*dv); }

class SizingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Initialize();
    Reset();
  }
  static void TearDownTestSuite() { Finalize(); }
  static void Recalc() {
    bool changed = true;
    ASSERT_TRUE(Calculate(changed));
  }
  // Selects a meter as the command line does: AGA-3 orifices take flange taps, the bore follows beta.
  static void Select(int meter) {
    bool changed = false;
    SetMeter(changed, meter == 39 ? 1 : 0, meter);
    if (meter == 14 || meter == 15) SetTaps(changed, 1);
    UpdateBore();
  }
  static void SetBeta(double beta) {
    FI::RVsetLReal(beta, *Calc().beta);
    UpdateBore();
  }
  // The throat entered as the throat_diameter key enters it.
  static void SetThroat(double d) {
    ASSERT_TRUE(FUM::uDVsetValTempUnits("m", d, *Calc().throatDiameter));
    UpdateBeta();
  }
};

struct BoreCase {
  int meter;
  int fluid;
  int taps;
  double pipe;       // m
  double betaKnown;  // the bore the target is calculated at
  double betaStart;  // where the state starts the solve
};

// One per meter family the state offers with a free throat, with gas and liquid.
const BoreCase kBoreCases[] = {
    {0, 0, 1, 0.1, 0.62, 0.5},    // classical venturi
    {3, 0, 1, 0.1, 0.6, 0.5},     // cone meter (d is the cone diameter)
    {6, 0, 1, 0.1, 0.55, 0.45},   // venturi nozzle
    {7, 0, 1, 0.1, 0.5, 0.65},    // ISA 1932 nozzle
    {8, 3, 1, 0.1, 0.45, 0.6},    // long radius nozzle, liquid
    {12, 0, 0, 0.1, 0.62, 0.4},   // ISO orifice, corner taps
    {12, 3, 2, 0.2, 0.3, 0.5},    // ISO orifice, D and D/2 taps, liquid
    {14, 0, 1, 0.0779272, 0.45, 0.6},  // AGA-3 1991 orifice
    {15, 0, 1, 0.0779272, 0.7, 0.5},   // AGA-3 2012 orifice
    {24, 0, 1, 0.0254, 0.5, 0.3},  // small-bore orifice
};

TEST_F(SizingTest, BoreRoundTripsForEveryMeterFamily) {
  for (const BoreCase& c : kBoreCases) {
    SCOPED_TRACE("meter " + std::to_string(c.meter) + " fluid " + std::to_string(c.fluid));
    Reset();
    bool changed = false;
    SetFluid(changed, c.fluid);
    Select(c.meter);
    SetTaps(changed, c.taps);
    ASSERT_TRUE(FUM::uDVsetValTempUnits("m", c.pipe, *Calc().pipeDiameter));
    SetBeta(c.betaKnown);
    Recalc();
    const double dKnown = Si(Calc().throatDiameter);
    const double target = Si(Calc().massFlow);
    ASSERT_GT(target, 0.0);

    SetBeta(c.betaStart);
    const Sizing::SizingResult r = Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::MassFlow, target});
    EXPECT_NEAR(r.massFlow / target, 1.0, 1e-9);
    EXPECT_NEAR(r.throatDiameter / dKnown, 1.0, 1e-7);
    EXPECT_NEAR(r.beta, c.betaKnown, 1e-7);
    EXPECT_LT(r.evaluations, 110);

    // Fed back from a fresh state the way calc takes it.
    Reset();
    SetFluid(changed, c.fluid);
    Select(c.meter);
    SetTaps(changed, c.taps);
    ASSERT_TRUE(FUM::uDVsetValTempUnits("m", c.pipe, *Calc().pipeDiameter));
    SetThroat(r.throatDiameter);
    Recalc();
    EXPECT_NEAR(Si(Calc().massFlow) / target, 1.0, 1e-9);
    EXPECT_EQ(MeterFlags(), r.flags);
  }
}

TEST_F(SizingTest, VolumeTargetsSolveOnTheirOwnField) {
  SetBeta(0.55);
  Recalc();
  const double qv = Si(Calc().stdVolumeFlow);
  const double qa = Si(Calc().actualVolumeFlow);
  SetBeta(0.4);
  Sizing::SizingResult r = Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::StdVolumeFlow, qv});
  EXPECT_NEAR(r.stdVolumeFlow / qv, 1.0, 1e-9);
  EXPECT_NEAR(r.beta, 0.55, 1e-7);
  SetBeta(0.3);
  r = Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::ActualVolumeFlow, qa});
  EXPECT_NEAR(r.actualVolumeFlow / qa, 1.0, 1e-9);
  EXPECT_NEAR(r.beta, 0.55, 1e-7);
}

struct DpCase {
  int meter;
  int fluid;
  double dpKnown;  // Pa
};

const DpCase kDpCases[] = {
    {15, 0, 30000.0}, {12, 0, 5000.0}, {0, 0, 60000.0}, {3, 3, 25000.0}, {33, 0, 2000.0}, {7, 5, 40000.0},
};

TEST_F(SizingTest, DpRoundTrips) {
  for (const DpCase& c : kDpCases) {
    SCOPED_TRACE("meter " + std::to_string(c.meter));
    Reset();
    bool changed = false;
    SetFluid(changed, c.fluid);
    if (c.fluid == kDrySteam) {
      ASSERT_TRUE(FUM::uDVsetValTempUnits("K", 573.15, *Calc().flowingTemperature));
    }
    Select(c.meter);
    ASSERT_TRUE(FUM::uDVsetValTempUnits("pa", c.dpKnown, *Calc().dp));
    Recalc();
    const double target = Si(Calc().massFlow);
    ASSERT_GT(target, 0.0);
    ASSERT_TRUE(FUM::uDVsetValTempUnits("pa", 12000.0, *Calc().dp));
    const Sizing::SizingResult r = Sizing::Size({Sizing::Solve::Dp, Sizing::Quantity::MassFlow, target});
    EXPECT_NEAR(r.massFlow / target, 1.0, 1e-9);
    EXPECT_NEAR(r.dp / c.dpKnown, 1.0, 1e-7);
    ASSERT_TRUE(FUM::uDVsetValTempUnits("pa", r.dp, *Calc().dp));
    Recalc();
    EXPECT_NEAR(Si(Calc().massFlow) / target, 1.0, 1e-9);
  }
}

TEST_F(SizingTest, OutOfReachTargetRaisesWithTheRangeAndChangesNothing) {
  const double d0 = Si(Calc().throatDiameter);
  const double q0 = Si(Calc().massFlow);
  try {
    Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::MassFlow, 1000.0});
    ADD_FAILURE() << "no raise";
  } catch (const Error& e) {
    EXPECT_EQ(e.module(), Sizing::kModule);
    EXPECT_EQ(e.code(), 5);
    const std::string m = e.message();
    EXPECT_NE(m.find("out of reach"), std::string::npos) << m;
    EXPECT_NE(m.find("beta 0.1 to 0.75"), std::string::npos) << m;
    EXPECT_NE(m.find(" give "), std::string::npos) << m;
  }
  EXPECT_EQ(Si(Calc().throatDiameter), d0);
  EXPECT_EQ(Si(Calc().massFlow), q0);

  try {
    Sizing::Size({Sizing::Solve::Dp, Sizing::Quantity::MassFlow, 1e-9});
  } catch (const Error& e) {
    ADD_FAILURE() << "a tiny flow is reachable by a tiny dp: " << e.message();
  }
  Reset();
  EXPECT_THROW(Sizing::Size({Sizing::Solve::Dp, Sizing::Quantity::MassFlow, 1000.0}), Error);
  EXPECT_EQ(Si(Calc().dp), 12000.0);
}

TEST_F(SizingTest, RefusesWhatHasNoFreeThroatOrNoTarget) {
  Select(33);
  EXPECT_THROW(Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::MassFlow, 1.0}), Error);
  Select(39);
  EXPECT_THROW(Sizing::Size({Sizing::Solve::Dp, Sizing::Quantity::MassFlow, 1.0}), Error);
  Select(15);
  EXPECT_THROW(Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::MassFlow, -1.0}), Error);
  EXPECT_THROW(Sizing::Size({Sizing::Solve::Bore, Sizing::Quantity::MassFlow, NAN}), Error);
}

TEST_F(SizingTest, BetaRangesOfTheStandards) {
  double lo = 0.0, hi = 0.0;
  ASSERT_TRUE(Sizing::BetaRange(12, 0, lo, hi));
  EXPECT_EQ(lo, 0.1);
  EXPECT_EQ(hi, 0.75);
  ASSERT_TRUE(Sizing::BetaRange(3, 0, lo, hi));
  EXPECT_EQ(lo, 0.45);
  EXPECT_EQ(hi, 0.75);
  ASSERT_TRUE(Sizing::BetaRange(24, 1, lo, hi));
  EXPECT_EQ(lo, 0.15);
  EXPECT_EQ(hi, 0.7);
  EXPECT_FALSE(Sizing::BetaRange(33, 0, lo, hi));
  EXPECT_FALSE(Sizing::BetaRange(39, 0, lo, hi));
  EXPECT_EQ(Sizing::MaxDp(15, true, 1e6), 250000.0);
  EXPECT_NEAR(Sizing::MaxDp(14, true, 1e6), 200000.0, 1e-6);
  EXPECT_EQ(Sizing::MaxDp(12, false, 1e6), 1e6);
}

}  // namespace
