// API MPMS 11.1-2004 correction: the standard's worked examples and the edge cases.
#include "liquids/mpms1.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <string>
#include <vector>

#include "../support/check.hpp"

namespace {

using namespace qmx::MPMS1;

constexpr double kRhoWater60 = 999.016;  // the standard's conversion of API gravity and RD
double FromApi(double api) { return 141.5 * kRhoWater60 / (131.5 + api); }
const double kT60 = FToKelvin(60.0);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The outputs of ApiLiquidFactors; the factors start at 9 so that a zeroed result shows.
struct Factors {
  ApiFlags flags = 0;
  double ctpl = 9, cpl = 9, ctl = 9, density = 9, alpha60 = 0;
};

Factors Liquid(ApiProduct product, double p, double t, double tBase, double rho, double alpha60 = 0.0,
               ApiFlags flags = 0) {
  Factors f;
  f.flags = flags;
  f.alpha60 = alpha60;
  ApiLiquidFactors(f.flags, f.ctpl, f.cpl, f.ctl, f.density, f.alpha60, p, t, tBase, rho, product);
  return f;
}

// API MPMS 11.1-2004, 11.1.6.1 examples 1 to 6 (intermediate values printed to 12 digits), from
// data/liquids/api_11_1_examples.csv; k0 is the commodity group's constant.
struct Example {
  std::string name;
  ApiProduct product;
  double rho60, tF, pPsi;
  double k0, tStar, rhoStar, alpha60, fp, ctl, cpl, ctpl;
};

std::vector<Example> Examples() {
  const double k0[] = {341.0957, 341.0957, 103.872, 330.301, 1489.067, 192.4571};
  std::vector<Example> out;
  for (const auto& r : qmx::test::ReadCsv("liquids/api_11_1_examples.csv")) {
    Example e;
    e.name = "example_" + r[0];
    e.product = r[1] == "crude oil" ? ApiProduct::CrudeOil : ApiProduct::RefinedProducts;
    const std::string& in = r[3];  // "API x", "RD x" or "x kg/m3"
    if (in.rfind("API ", 0) == 0) e.rho60 = FromApi(std::stod(in.substr(4)));
    else if (in.rfind("RD ", 0) == 0) e.rho60 = std::stod(in.substr(3)) * kRhoWater60;
    else e.rho60 = std::stod(in);
    double* v[] = {&e.tF, &e.pPsi, &e.tStar, &e.rhoStar, &e.alpha60, &e.fp, &e.ctl, &e.cpl, &e.ctpl};
    for (std::size_t k = 0; k < 9; ++k) *v[k] = std::stod(r[4 + k]);
    e.k0 = k0[out.size()];
    out.push_back(e);
  }
  EXPECT_EQ(out.size(), 6u);
  return out;
}

class WorkedExample : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExample, Factors60MatchesPrintedDigits) {
  const Example& e = GetParam();
  EXPECT_DOUBLE_EQ(GroupK(e.product, e.rho60).k0, e.k0);
  ApiFlags flags = 0;
  const ApiState60 s = Factors60(flags, e.product, e.rho60, e.tF, e.pPsi, 0.0);
  EXPECT_EQ(flags, 0);
  EXPECT_NEAR(s.tStar, e.tStar, 5e-13);
  // Example 2 prints rho* to 12 significant digits, the others to 12 decimals.
  EXPECT_NEAR(s.rhoStar, e.rhoStar, e.rhoStar > 1000.0 ? 5e-9 : 5e-13);
  EXPECT_NEAR(s.alpha60, e.alpha60, 5e-13);
  EXPECT_NEAR(s.fp, e.fp, 5e-13);
  EXPECT_NEAR(s.ctl, e.ctl, 5e-13);
  EXPECT_NEAR(s.cpl, e.cpl, 5e-13);
  EXPECT_DOUBLE_EQ(ApiRound(s.ctpl, kFactorIncrement), e.ctpl);
}

// Through the pipeline operation with the base density at 60 F, in SI units.
TEST_P(WorkedExample, ApiLiquidFactorsInSI) {
  const Example& e = GetParam();
  const Factors f = Liquid(e.product, e.pPsi * kPaPerPsi, FToKelvin(e.tF), kT60, e.rho60);
  EXPECT_EQ(f.flags, 0) << ApiFlagText(f.flags);
  EXPECT_DOUBLE_EQ(f.ctpl, e.ctpl);
  EXPECT_NEAR(f.ctl, e.ctl, 5e-12);
  EXPECT_NEAR(f.cpl, e.cpl, 5e-12);
  EXPECT_DOUBLE_EQ(f.density, e.ctpl * e.rho60);
  EXPECT_NEAR(f.alpha60, 1.8 * e.alpha60, 1.8 * 5e-13);  // returned per kelvin
}

INSTANTIATE_TEST_SUITE_P(Api11_1_2004, WorkedExample, ::testing::ValuesIn(Examples()),
                         [](const auto& info) { return info.param.name; });

// Special applications: with example 1's alpha60 given, CTL is example 1's CTL.
TEST(SpecialApplications, GivenAlphaReproducesCrudeExampleCtl) {
  const Example e = Examples()[0];
  const Factors f = Liquid(ApiProduct::SpecialApplications, 0.0, FToKelvin(e.tF), kT60, e.rho60,
                           AlphaPerFToPerK(e.alpha60));
  EXPECT_EQ(f.flags, 0);
  EXPECT_NEAR(f.ctl, e.ctl, 1e-10);
  EXPECT_DOUBLE_EQ(f.ctpl, e.ctpl);
  EXPECT_DOUBLE_EQ(f.alpha60, AlphaPerFToPerK(e.alpha60));
}

// alpha60 arrives per kelvin; the group 3 limits are 230e-6 to 930e-6 per F (414e-6 to 1674e-6 per K).
TEST(SpecialApplications, AlphaLimitsAreCheckedPerFAndTheClampIsWrittenBackPerK) {
  const std::pair<double, ApiFlags> cases[] = {{1.6739e-3, 0}, {1.6745e-3, kThermalXTooHigh},
                                               {1.8e-3, kThermalXTooHigh},  // 1e-3 per F
                                               {930e-6, 0},    {415e-6, 0},
                                               {413e-6, kThermalXTooLow}, {kNaN, kThermalXTooLow}};
  for (const auto& [alpha, expected] : cases) {
    const Factors f = Liquid(ApiProduct::SpecialApplications, 1e5, 300.0, kT60, 800.0, alpha);
    EXPECT_EQ(f.flags, expected) << alpha << ": " << ApiFlagText(f.flags);
    EXPECT_EQ(f.ctpl == 0.0, f.flags != 0) << alpha;
  }
  const Factors f = Liquid(ApiProduct::SpecialApplications, 0.0, 300.0, kT60, 800.0, 1.8e-3);
  EXPECT_EQ(ApiFlagText(f.flags), "thermalX_too_high! ");
  EXPECT_DOUBLE_EQ(f.alpha60, 930e-6 * 1.8);
  EXPECT_EQ(f.ctpl, 0.0);
  EXPECT_EQ(f.density, 0.0);
}

TEST(ApiLiquidFactors, SixtyFahrenheitIdentityAndTransitionZoneAlpha) {
  Factors f = Liquid(ApiProduct::CrudeOil, 0.0, 288.7056, 288.7056, 870.0, 0.0, 1);
  EXPECT_EQ(f.flags, 0);
  EXPECT_EQ(f.ctl, 1.0);
  EXPECT_EQ(f.cpl, 1.0);
  EXPECT_EQ(f.ctpl, 1.0);
  EXPECT_EQ(f.density, 870.0);
  f = Liquid(ApiProduct::RefinedProducts, 0.0, 300.0, kT60, 780.0);
  ASSERT_EQ(f.flags, 0);
  // Gasoline constants would give 6.29e-4 and jet fuel ones 5.43e-4 per F.
  EXPECT_NEAR(AlphaPerKToPerF(f.alpha60), 1489.067 / (780.0 * 780.0) - 0.0018684, 1e-7);
}

// A base temperature away from 60 F: the base-to-60 F iteration inverts the 60 F correction.
TEST(AltToBase60, InvertsTheCorrectionToTheBaseTemperature) {
  for (ApiProduct p : {ApiProduct::CrudeOil, ApiProduct::RefinedProducts, ApiProduct::LubricatingOils}) {
    for (double rhoBase : {700.0, 780.0, 850.0, 1000.0}) {
      for (double tBaseF : {-58.0, 59.0, 68.0, 302.0}) {
        if (p == ApiProduct::LubricatingOils && rhoBase < 850.0) continue;
        ApiFlags flags = 0;
        const ApiBase60 b = AltToBase60(flags, p, rhoBase, tBaseF, 0.0);
        EXPECT_EQ(flags, 0);
        EXPECT_LE(b.passes, kMaxBasePasses);
        const ApiState60 s = Factors60(flags, p, b.rho60, tBaseF, 0.0, 0.0);
        EXPECT_NEAR(b.rho60 * s.ctl, rhoBase, 1e-6);
        EXPECT_DOUBLE_EQ(b.ctl, s.ctl);
      }
    }
  }
  // Running out of passes is flagged and keeps the last value.
  ApiFlags flags = 0;
  const ApiBase60 b = AltToBase60(flags, ApiProduct::CrudeOil, 850.0, 250.0, 0.0, 1);
  EXPECT_EQ(flags, kConvergenceFail);
  EXPECT_EQ(b.passes, 1);
  EXPECT_GT(b.rho60, 850.0);
}

TEST(GroupK, RefinedProductsSplitByRho60) {
  EXPECT_EQ(GroupK(ApiProduct::RefinedProducts, 770.3519).k0, 192.4571);
  EXPECT_EQ(GroupK(ApiProduct::RefinedProducts, 770.352).k0, 1489.067);
  EXPECT_EQ(GroupK(ApiProduct::RefinedProducts, 780.0).k2, -0.0018684);
  EXPECT_EQ(GroupK(ApiProduct::RefinedProducts, 787.5195).k0, 330.301);
  EXPECT_EQ(GroupK(ApiProduct::RefinedProducts, 838.3127).k1, 0.2701);
  EXPECT_EQ(GroupK(ApiProduct::LubricatingOils, 900.0).k1, 0.34878);
  EXPECT_THROW(GroupK(static_cast<ApiProduct>(6), 800.0), qmx::Error);
}

struct Bad {
  const char* name;
  ApiProduct product;
  double p, t, tBase, rho;
  ApiFlags flags;
};
class OutOfRange : public ::testing::TestWithParam<Bad> {};
TEST_P(OutOfRange, FlagsAndZeros) {
  const Bad& b = GetParam();
  const Factors f = Liquid(b.product, b.p, b.t, b.tBase, b.rho, 500e-6 * 1.8);
  EXPECT_EQ(f.flags, b.flags) << ApiFlagText(f.flags);
  EXPECT_EQ(f.ctpl, 0.0);
  EXPECT_EQ(f.cpl, 0.0);
  EXPECT_EQ(f.ctl, 0.0);
  EXPECT_EQ(f.density, 0.0);
}
INSTANTIATE_TEST_SUITE_P(
    Inputs, OutOfRange,
    ::testing::Values(
        Bad{"crude_200K", ApiProduct::CrudeOil, 0, 200.0, 288.15, 850, kTemperatureTooLow},
        Bad{"crude_hot", ApiProduct::CrudeOil, 0, 430.0, 288.15, 850, kTemperatureTooHigh},
        Bad{"crude_base_cold", ApiProduct::CrudeOil, 0, 300.0, 200.0, 850, kTemperatureTooLow},
        Bad{"crude_1600psi", ApiProduct::CrudeOil, 1600 * kPaPerPsi, 300.0, 288.15, 850, kPressureTooHigh},
        Bad{"crude_light", ApiProduct::CrudeOil, 0, 300.0, 288.15, 400, kDensityTooLow},
        Bad{"crude_heavy", ApiProduct::CrudeOil, 0, 300.0, 288.15, 1300, kDensityTooHigh},
        Bad{"lube_light", ApiProduct::LubricatingOils, 0, 300.0, 288.15, 700, kDensityTooLow},
        // inside the base-density limits but rho60 below the standard's 610.6
        Bad{"crude_rho60_low", ApiProduct::CrudeOil, 0, 300.0, 288.15, 500, kDensityTooLow},
        Bad{"nan_t", ApiProduct::CrudeOil, 0, kNaN, 288.15, 850, kTemperatureTooLow},
        Bad{"inf_t", ApiProduct::RefinedProducts, 0, kInf, 288.15, 850, kTemperatureTooHigh},
        Bad{"neg_t", ApiProduct::LubricatingOils, 0, -5.0, 288.15, 850, kTemperatureTooLow},
        Bad{"nan_p", ApiProduct::CrudeOil, kNaN, 300.0, 288.15, 850, kPressureTooLow},
        Bad{"inf_p", ApiProduct::CrudeOil, kInf, 300.0, 288.15, 850, kPressureTooHigh},
        Bad{"nan_rho", ApiProduct::CrudeOil, 0, 300.0, 288.15, kNaN, kDensityTooLow},
        Bad{"neg_rho", ApiProduct::RefinedProducts, 0, 300.0, 288.15, -800, kDensityTooLow},
        Bad{"g3_nan_t", ApiProduct::SpecialApplications, 0, kNaN, 288.15, 850, kTemperatureTooLow},
        Bad{"g3_neg_tb", ApiProduct::SpecialApplications, 0, 300, -1.0, 850, kTemperatureTooLow},
        Bad{"g3_inf_t", ApiProduct::SpecialApplications, 0, kInf, 288.15, 850, kTemperatureTooHigh},
        Bad{"g3_neg_rho", ApiProduct::SpecialApplications, 0, 300, 288.15, -1.0, kDensityTooLow},
        Bad{"g3_inf_rho", ApiProduct::SpecialApplications, 0, 300, 288.15, kInf, kDensityTooHigh},
        Bad{"g3_nan_p", ApiProduct::SpecialApplications, kNaN, 300, 288.15, 850, kPressureTooLow},
        Bad{"g3_huge_p", ApiProduct::SpecialApplications, 1e12, 300, 288.15, 850, kPressureTooHigh},
        Bad{"g3_huge_t", ApiProduct::SpecialApplications, 0, 1e200, 288.15, 850, kTemperatureTooHigh},
        Bad{"g5_default", ApiProduct::UserProcedure, 0, 300, 288.15, 850, kInvalidHook}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApiLiquidFactors, NegativePressureIsZeroAndTheLimitsThemselvesAreAccepted) {
  Factors f = Liquid(ApiProduct::CrudeOil, -5e4, 300.0, 288.15, 850.0);
  EXPECT_EQ(f.flags, 0);
  EXPECT_EQ(f.cpl, 1.0);
  f = Liquid(ApiProduct::CrudeOil, 1500 * kPaPerPsi, 423.15, 223.15, 900.0);
  EXPECT_EQ(f.flags, 0) << ApiFlagText(f.flags);
  EXPECT_GT(f.ctpl, 0.0);
}

TEST(ApiLiquidFactors, LightHydrocarbonsAreFlaggedNotCovered) {
  // Zero outputs with the flag that says why, beside the group's own limit flags.
  Factors f = Liquid(ApiProduct::LightHydrocarbons, 0, 300, 288.15, 500);
  EXPECT_EQ(f.flags, kProductNotCovered);
  EXPECT_EQ(ApiFlagText(f.flags), "product_not_covered! ");
  EXPECT_EQ(f.ctpl, 0.0);
  EXPECT_EQ(f.cpl, 0.0);
  EXPECT_EQ(f.ctl, 0.0);
  EXPECT_EQ(f.density, 0.0);
  f = Liquid(ApiProduct::LightHydrocarbons, 0, 350, 288.15, 500);
  EXPECT_EQ(f.flags, kProductNotCovered | kTemperatureTooHigh);
  EXPECT_EQ(f.density, 0.0);
}

TEST(ApiLiquidFactors, IllegalGroupsRaise) {
  using qmx::test::ExpectRaise;
  ApiFlags flags = 0;
  ExpectRaise([&] { Factors60(flags, ApiProduct::LightHydrocarbons, 500, 60, 0, 0); }, "MPMS1",
              "MPMS1.Factors60() unsupported product");
  ExpectRaise([] { Liquid(static_cast<ApiProduct>(7), 0, 300, 288.15, 850); }, "MPMS1",
              "MPMS1.AltToBase60() illegal product");
}

void TestCalc(ApiFlags& flags, double& ctpl, double& cpl, double& ctl, double& density, double& alpha60,
              double pressure, double temperature, double baseTemperature, double baseDensity) {
  flags |= kRelaxedCompliance;
  ctpl = 1.5;
  cpl = pressure;
  ctl = temperature - baseTemperature;
  density = baseDensity;
  alpha60 = 1e-3;
}
void TestLimits(ApiFlags&, double& p, double&, double&) { p = 7.0; }

TEST(UserProcedures, InstalledProceduresReplaceTheCalculation) {
  InstallApiUserProcs(TestLimits, nullptr, TestCalc);
  Factors f = Liquid(ApiProduct::UserProcedure, 1e5, 300, 290, 850);
  ResetApiUserProcs();
  EXPECT_EQ(f.flags, kRelaxedCompliance | kInvalidHook);  // the density slot is the default
  EXPECT_EQ(f.ctpl, 1.5);
  EXPECT_EQ(f.cpl, 7.0);
  EXPECT_EQ(f.ctl, 10.0);
  EXPECT_EQ(f.density, 850.0);
  f = Liquid(ApiProduct::UserProcedure, 1e5, 300, 290, 850);
  EXPECT_EQ(ApiFlagText(f.flags), "invalid_hook! ");
  EXPECT_EQ(f.ctpl, 0.0);
}

TEST(ApiFlagText, BitOrder) {
  EXPECT_EQ(ApiFlagText(0), "");
  EXPECT_EQ(ApiFlagText(kRelaxedCompliance | kTemperatureTooLow), "relaxed_compliance!temperature_too_low! ");
  EXPECT_EQ(ApiFlagText(kConvergenceFail | kDensityTooHigh), "density_too_high! nonfatal_convergance_fail! ");
  EXPECT_EQ(ApiFlagText(kInconsistentData | kInvalidBaseTemperature),
            "inconsistant_data! invalid_base_temperature! ");
}

struct RoundCase {
  double value, increment, expected;
};
class Rounding : public ::testing::TestWithParam<RoundCase> {};
TEST_P(Rounding, HalfToEvenWithSign) {
  EXPECT_DOUBLE_EQ(ApiRound(GetParam().value, GetParam().increment), GetParam().expected);
}
const RoundCase kRoundCases[] = {
    {0.988465, 1e-5, 0.98846}, {0.988475, 1e-5, 0.98848}, {1.000005, 1e-5, 1.0}, {1.000015, 1e-5, 1.00002},
    {0.9884650001, 1e-5, 0.98847}, {0.9884649999, 1e-5, 0.98846}, {-0.988465, 1e-5, -0.98846},
    {-0.988467, 1e-5, -0.98847}, {2.5, 1.0, 2.0}, {3.5, 1.0, 4.0}, {0.25, 0.5, 0.0}, {0.75, 0.5, 1.0},
    {12.25, 0.1, 12.2}, {0.0, 1e-5, 0.0}};
INSTANTIATE_TEST_SUITE_P(ApiRound, Rounding, ::testing::ValuesIn(kRoundCases));

TEST(Its90ToIpts68, ZeroAndSixtyF) {
  EXPECT_EQ(Its90ToIpts68C(0.0), 0.0);
  // 60 F on ITS-90 is 60.0068749 F on IPTS-68 to the standard's printed digits.
  EXPECT_NEAR(Its90ToIpts68F(60.0), 60.0068749, 5e-8);
}

}  // namespace
