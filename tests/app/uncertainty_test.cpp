// Uncertainty budget: the standards' coefficient and expansibility figures at their range edges,
// budgets recomputed by hand from analytic sensitivities, finite-difference sensitivities
// against their analytic values, and a state left exactly as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/qmxcalc.hpp"
#include "app/uncertainty.hpp"
#include "numerics/error.hpp"

namespace {

using namespace qmx;
using namespace qmx::QMXcalc;
using Uncertainty::StandardFigures;
using Uncertainty::WorkingPoint;

double Si(const DV& dv) { return FUM::uDVgetMKS(*dv); }
double Val(const RV& rv) { return FI::RVgetLReal(*rv); }

StandardFigures Figures(int meter, double beta, double D = 0.1, double re = 1e6, double dp = 0.0, double p1 = 1e6,
                        double kappa = 1.3, double enteredC = 0.0) {
  WorkingPoint p;
  p.enteredC = enteredC;
  p.meter = meter;
  p.beta = beta;
  p.D = D;
  p.reynolds = re;
  p.dp = dp;
  p.p1 = p1;
  p.kappa = kappa;
  StandardFigures f;
  EXPECT_TRUE(Uncertainty::StandardUncertainty(p, f)) << meter;
  return f;
}

struct EdgeCase {
  int meter;
  double beta;
  double D;
  double re;
  double expectedC;  // percent, expanded
  double enteredC = 0.0;
};

// ISO 5167-2 orifice: (0.7 - beta) below 0.2, 0.5 from 0.2 to 0.6, (1.667 beta - 0.5) above; the
// small-pipe and low-Reynolds additions. ISO 5167-3 nozzles, ISO 5167-4 venturi, ISO 5167-5 cone.
const EdgeCase kEdges[] = {
    {12, 0.1, 0.1, 1e6, 0.6},
    {12, 0.19999, 0.1, 1e6, 0.50001},
    {12, 0.2, 0.1, 1e6, 0.5},
    {12, 0.6, 0.1, 1e6, 0.5},
    {12, 0.75, 0.1, 1e6, 0.75025},
    {15, 0.75, 0.1, 1e6, 0.75025},
    {14, 0.4, 0.1, 1e6, 0.5},
    {12, 0.5, 0.05, 1e6, 0.5 + 0.9 * 0.25 * (2.8 - 50.0 / 25.4)},
    {12, 0.5, 0.07112, 1e6, 0.5},
    {12, 0.6, 0.1, 9999.0, 1.0},
    {12, 0.5, 0.1, 9999.0, 0.5},
    {7, 0.6, 0.1, 1e6, 0.8},
    {7, 0.8, 0.1, 1e6, 1.2},
    {8, 0.2, 0.1, 1e6, 2.0},
    {6, 0.5, 0.1, 1e6, 1.29375},
    {6, 0.775, 0.1, 1e6, 1.2 + 1.5 * 0.360750390625},
    {7, 0.3, 0.1, 1e6, 0.8},
    {7, 0.60001, 0.1, 1e6, 0.80002},
    {8, 0.8, 0.1, 1e6, 2.0},
    {6, 0.316, 0.1, 1e6, 1.2 + 1.5 * std::pow(0.316, 4)},
    // Classical venturi: the convergent is the one whose coefficient was entered.
    {0, 0.3, 0.1, 1e6, 0.7, 0.984},
    {0, 0.75, 0.1, 1e6, 1.0, 0.995},
    {0, 0.4, 0.1, 1e6, 1.5, 0.985},
    {0, 0.5, 0.1, 1e6, 1.5, 0.99},
    {0, 0.5, 0.1, 1e6, 1.5, 0.838908},
    {3, 0.45, 0.1, 1e6, 5.0},
    {4, 0.75, 0.1, 1e6, 5.0},
};

TEST(UncertaintyFigures, CoefficientAtTheRangeEdges) {
  for (const EdgeCase& c : kEdges) {
    const StandardFigures f = Figures(c.meter, c.beta, c.D, c.re, 0.0, 1e6, 1.3, c.enteredC);
    EXPECT_NEAR(f.C, c.expectedC, 1e-9) << "meter " << c.meter << " beta " << c.beta << " D " << c.D;
  }
}

TEST(UncertaintyFigures, Expansibility) {
  // Orifice: 3.5 dp / (kappa p1) percent.
  EXPECT_NEAR(Figures(12, 0.5, 0.1, 1e6, 50000.0, 1e6, 1.4).epsilon, 3.5 * 0.05 / 1.4, 1e-12);
  // ISA 1932 and long radius nozzles: 2 dp / p1 percent, whatever beta and kappa.
  EXPECT_NEAR(Figures(7, 0.5, 0.1, 1e6, 50000.0, 1e6).epsilon, 2.0 * 0.05, 1e-12);
  EXPECT_NEAR(Figures(7, 0.8, 0.1, 1e6, 250000.0, 1e6, 1.4).epsilon, 2.0 * 0.25, 1e-12);
  EXPECT_NEAR(Figures(8, 0.2, 0.1, 1e6, 20000.0, 1e6).epsilon, 2.0 * 0.02, 1e-12);
  // Venturi nozzle and classical venturi: (4 + 100 beta^8) dp / p1 percent.
  EXPECT_NEAR(Figures(6, 0.775, 0.1, 1e6, 50000.0, 1e6).epsilon, (4.0 + 100.0 * std::pow(0.775, 8)) * 0.05, 1e-12);
  EXPECT_NEAR(Figures(0, 0.7, 0.1, 1e6, 20000.0, 1e6).epsilon, (4.0 + 100.0 * std::pow(0.7, 8)) * 0.02, 1e-12);
  EXPECT_NEAR(Figures(0, 0.75, 0.1, 1e6, 250000.0, 1e6, 1.3, 0.984).epsilon,
              (4.0 + 100.0 * std::pow(0.75, 8)) * 0.25, 1e-12);
  // Cone meters: 4 dp / (kappa p1) percent.
  EXPECT_NEAR(Figures(3, 0.45, 0.1, 1e6, 50000.0, 1e6, 1.25).epsilon, 4.0 * 0.05 / 1.25, 1e-12);
  // No differential pressure, no expansibility uncertainty; a liquid has none either.
  EXPECT_EQ(Figures(15, 0.5).epsilon, 0.0);
  WorkingPoint liquid;
  liquid.meter = 12;
  liquid.dp = 50000.0;
  liquid.compressible = false;
  StandardFigures f;
  ASSERT_TRUE(Uncertainty::StandardUncertainty(liquid, f));
  EXPECT_EQ(f.epsilon, 0.0);
}

TEST(UncertaintyFigures, MetersWithoutFigures) {
  StandardFigures f;
  for (int meter : {24, 33, 39}) {
    WorkingPoint p;
    p.meter = meter;
    EXPECT_FALSE(Uncertainty::StandardUncertainty(p, f)) << meter;
  }
}

class UncertaintyTest : public ::testing::Test {
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
  static const Uncertainty::Contribution& Find(const Uncertainty::Budget& b, std::string_view name) {
    for (std::size_t i = 0; i < b.count; ++i) {
      if (b.contributions[i].name == name) return b.contributions[i];
    }
    ADD_FAILURE() << "no contribution " << name;
    return b.contributions[0];
  }
};

// The budget recomputed with the analytic sensitivities of the orifice equation: C, epsilon 1;
// dp 0.5; density 0.5; d 2/(1-beta^4); D -2 beta^4/(1-beta^4); an ideal-gas-like density gives
// about 0.5 for the pressure and -0.5 for the temperature.
void ExpectHandBudget(const Uncertainty::Result& r, double beta, double dp, double p1, double kappa, double T,
                      double expectedC) {
  const Uncertainty::Inputs in;
  const double b4 = std::pow(beta, 4);
  const double uC = expectedC / 2.0;
  const double uEps = 3.5 * dp / (kappa * p1) / 2.0;
  const double uT = 100.0 * in.flowingTemperature / T;
  const double terms[] = {uC, uEps, 2.0 / (1.0 - b4) * in.d, -2.0 * b4 / (1.0 - b4) * in.D, 0.5 * in.dp,
                          0.5 * in.staticPressure, -0.5 * uT, 0.5 * in.density};
  double variance = 0.0;
  for (double t : terms) variance += t * t;
  EXPECT_NEAR(r.figures.C, expectedC, 1e-9);
  EXPECT_NEAR(r.figures.epsilon, 3.5 * dp / (kappa * p1), 1e-12);
  ASSERT_TRUE(r.massFlow.valid);
  EXPECT_NEAR(r.massFlow.combinedPct, std::sqrt(variance), 0.02 * std::sqrt(variance));
  EXPECT_DOUBLE_EQ(r.massFlow.expandedPct, 2.0 * r.massFlow.combinedPct);
  double shares = 0.0;
  for (std::size_t i = 0; i < r.massFlow.count; ++i) shares += r.massFlow.contributions[i].share;
  EXPECT_NEAR(shares, 1.0, 1e-12);
}

TEST_F(UncertaintyTest, DefaultAgaBudgetByHand) {
  // The defaults: AGA-3 2012, 3.068 in pipe (77.9 mm, no small-pipe addition), beta about 0.5.
  const State& s = Calc();
  const double beta = Val(s.betaFlowing);
  ASSERT_NEAR(beta, 0.5, 0.001);
  const Uncertainty::Result r = Uncertainty::Evaluate({});
  ExpectHandBudget(r, beta, Si(s.dp), Si(s.upstreamPressure), Val(s.isentropicExponent),
                   Si(s.flowingTemperature), 0.5);
  EXPECT_NEAR(Find(r.massFlow, "C").uPct, 0.25, 1e-12);
  EXPECT_TRUE(r.stdVolumeFlow.valid);
  EXPECT_TRUE(r.energyFlow.valid);
  EXPECT_EQ(Find(r.stdVolumeFlow, "base_density").sensitivity, -1.0);
  EXPECT_EQ(Find(r.energyFlow, "heating_value").sensitivity, 1.0);
  EXPECT_GT(r.stdVolumeFlow.combinedPct, r.massFlow.combinedPct);
}

TEST_F(UncertaintyTest, IsoOrificeBudgetByHand) {
  // ISO 5167-2 plate, corner taps, beta 0.7 in a 4 in pipe at 50 kPa.
  bool changed = false;
  SetMeter(changed, 0, 12);
  SetTaps(changed, 0);
  ASSERT_TRUE(FUM::uDVsetValTempUnits("m", 0.1016, *Calc().pipeDiameter));
  FI::RVsetLReal(0.7, *Calc().beta);
  UpdateBore();
  ASSERT_TRUE(FUM::uDVsetValTempUnits("pa", 50000.0, *Calc().dp));
  Recalc();
  const State& s = Calc();
  const double beta = Val(s.betaFlowing);
  const Uncertainty::Result r = Uncertainty::Evaluate({});
  ExpectHandBudget(r, beta, 50000.0, Si(s.upstreamPressure), Val(s.isentropicExponent), Si(s.flowingTemperature),
                   1.667 * beta - 0.5);
}

TEST_F(UncertaintyTest, SensitivitiesAgainstAnalyticValues) {
  const double beta = Val(Calc().betaFlowing);
  const Uncertainty::Result r = Uncertainty::Evaluate({});
  const auto& b = r.massFlow;
  EXPECT_EQ(Find(b, "C").sensitivity, 1.0);
  EXPECT_EQ(Find(b, "epsilon").sensitivity, 1.0);
  EXPECT_EQ(Find(b, "density").sensitivity, 0.5);
  // dp: 0.5 less the small fall of epsilon with dp.
  EXPECT_NEAR(Find(b, "dp").sensitivity, 0.5, 0.005);
  EXPECT_LT(Find(b, "dp").sensitivity, 0.5);
  // d: about 2/(1-beta^4), moved a little by C's dependence on beta.
  EXPECT_NEAR(Find(b, "d").sensitivity, 2.0 / (1.0 - std::pow(beta, 4)), 0.05);
  EXPECT_NEAR(Find(b, "D").sensitivity, -2.0 * std::pow(beta, 4) / (1.0 - std::pow(beta, 4)), 0.05);
  // Density through the equation of state, rho = p M / (Z R T): half of 1 - dlnZ/dlnp and of
  // -(1 + dlnZ/dlnT); at 3.6 MPa and 22 C Z falls with pressure and rises with temperature.
  EXPECT_GT(Find(b, "static_pressure").sensitivity, 0.5);
  EXPECT_LT(Find(b, "static_pressure").sensitivity, 0.6);
  EXPECT_LT(Find(b, "flowing_temperature").sensitivity, -0.5);
  EXPECT_GT(Find(b, "flowing_temperature").sensitivity, -0.8);
}

TEST_F(UncertaintyTest, FixedCoefficientLiquidMatchesTheAnalyticSensitivities) {
  // A venturi with its entered coefficient in a liquid: C and epsilon are constants, so the
  // equation qm = C E (pi/4) d^2 sqrt(2 rho dp) gives 0.5 for dp, 2/(1-beta^4) for d and
  // -2 beta^4/(1-beta^4) for D exactly; an entered density does not move with the pressure, and
  // the temperature moves only the thermal expansion of bore and pipe.
  bool changed = false;
  SetFluid(changed, kGenericLiquid);
  SetMeter(changed, 0, 0);
  UpdateBore();
  Recalc();
  const double beta = Val(Calc().betaFlowing);
  const double b4 = std::pow(beta, 4);
  const Uncertainty::Result r = Uncertainty::Evaluate({});
  EXPECT_NEAR(Find(r.massFlow, "dp").sensitivity, 0.5, 1e-6);
  EXPECT_NEAR(Find(r.massFlow, "d").sensitivity, 2.0 / (1.0 - b4), 1e-5);
  EXPECT_NEAR(Find(r.massFlow, "D").sensitivity, -2.0 * b4 / (1.0 - b4), 1e-5);
  EXPECT_NEAR(Find(r.massFlow, "static_pressure").sensitivity, 0.0, 1e-9);
  EXPECT_NEAR(Find(r.massFlow, "flowing_temperature").sensitivity, 0.0, 0.02);
  // The entered 0.838908 is none of the standard's coefficients: the largest figure, 1.5 %.
  EXPECT_NEAR(r.figures.C, 1.5, 1e-12);
  EXPECT_EQ(r.figures.epsilon, 0.0);
}

TEST_F(UncertaintyTest, ClassicalVenturiFigureFollowsTheEnteredCoefficient) {
  bool changed = false;
  SetMeter(changed, 0, 0);
  UpdateBore();
  const struct {
    const char* c;
    double figure;
  } cases[] = {{"0.984", 0.7}, {"0.995", 1.0}, {"0.985", 1.5}, {"0.97", 1.5}};
  for (const auto& c : cases) {
    ASSERT_TRUE(FI::RVsetValStr(c.c, *Calc().fixedCd));
    Recalc();
    const Uncertainty::Result r = Uncertainty::Evaluate({});
    EXPECT_NEAR(r.figures.C, c.figure, 1e-12) << c.c;
    EXPECT_NEAR(Find(r.massFlow, "C").uPct, c.figure / 2.0, 1e-12) << c.c;
  }
}

TEST_F(UncertaintyTest, LeavesEveryInputAndResultAsItWas) {
  const State& s = Calc();
  const double before[] = {Si(s.dp), Si(s.staticPressure), Si(s.upstreamPressure), Si(s.flowingTemperature),
                           Si(s.throatDiameter), Si(s.pipeDiameter), Val(s.beta), Si(s.massFlow),
                           Si(s.stdVolumeFlow), Si(s.energyFlow), Val(s.cd), Val(s.expansionFactor)};
  (void)Uncertainty::Evaluate({});
  const double after[] = {Si(s.dp), Si(s.staticPressure), Si(s.upstreamPressure), Si(s.flowingTemperature),
                          Si(s.throatDiameter), Si(s.pipeDiameter), Val(s.beta), Si(s.massFlow),
                          Si(s.stdVolumeFlow), Si(s.energyFlow), Val(s.cd), Val(s.expansionFactor)};
  for (std::size_t i = 0; i < std::size(before); ++i) EXPECT_EQ(before[i], after[i]) << i;
}

TEST_F(UncertaintyTest, LiquidHasNoExpansibilityTermAndOverridesApply) {
  bool changed = false;
  SetFluid(changed, kGenericLiquid);
  Recalc();
  Uncertainty::Inputs in;
  in.C = 0.3;
  const Uncertainty::Result r = Uncertainty::Evaluate(in);
  for (std::size_t i = 0; i < r.massFlow.count; ++i) EXPECT_NE(r.massFlow.contributions[i].name, "epsilon");
  EXPECT_EQ(Find(r.massFlow, "C").uPct, 0.3);
  EXPECT_FALSE(r.energyFlow.valid);
}

TEST_F(UncertaintyTest, RefusesMetersWithoutFiguresAndBadInputs) {
  bool changed = false;
  SetMeter(changed, 1, 39);
  Recalc();
  EXPECT_THROW(Uncertainty::Evaluate({}), Error);
  Reset();
  Uncertainty::Inputs in;
  in.dp = -1.0;
  EXPECT_THROW(Uncertainty::Evaluate(in), Error);
  in.dp = NAN;
  EXPECT_THROW(Uncertainty::Evaluate(in), Error);
}

}  // namespace
