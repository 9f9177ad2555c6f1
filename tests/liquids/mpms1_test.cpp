// API MPMS 11.1-2004 correction: the standard's worked examples and the edge cases.
#include "liquids/mpms1.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/error.hpp"

namespace {

using namespace qmx::MPMS1;

constexpr double kRhoWater60 = 999.016;  // the standard's conversion of API gravity and RD
double FromApi(double api) { return 141.5 * kRhoWater60 / (131.5 + api); }
const double kT60 = FToKelvin(60.0);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// API MPMS 11.1-2004, 11.1.6.1 examples 1 to 6 (intermediate values printed to 12 digits).
struct Example {
  const char* name;
  ApiProduct product;
  double rho60, tF, pPsi;
  double k0, tStar, rhoStar, alpha60, fp, ctl, cpl, ctpl;
};

const Example kExamples[] = {
    {"1_crude", ApiProduct::CrudeOil, FromApi(17.785), -27.7, 0.0, 341.0957, -27.712499233089,
     946.921215770785, 0.000380407044, 0.305779891997, 1.033011591958, 1.0, 1.03301},
    {"2_crude", ApiProduct::CrudeOil, FromApi(-10.0), 301.93, 1500.0, 341.0957, 301.993163042978,
     1163.46509372, 0.000251982006, 0.427958509999, 0.938051116886, 1.006460852301, 0.94411},
    {"3_fuel_oil", ApiProduct::RefinedProducts, FromApi(19.4), 48.04, -7.3, 103.872, 48.043878159606,
     936.787006219757, 0.000406689168, 0.384339609206, 1.004858068990, 1.0, 1.00486},
    {"4_jet_fuel", ApiProduct::RefinedProducts, 0.7943 * kRhoWater60, 85.0, 247.3, 330.301,
     85.013358222928, 793.521270459968, 0.000524557068, 0.664706197066, 0.986832406683,
     1.001646525013, 0.98846},
    {"5_transition", ApiProduct::RefinedProducts, FromApi(48.0015), 55.9, 350.0, 1489.067,
     55.905838569594, 787.521450184768, 0.000532585048, 0.608111538634, 1.002182725702,
     1.002132930093, 1.00432},
    {"6_gasoline", ApiProduct::RefinedProducts, 657.3, 27.3, 1234.5, 192.4571, 27.298898616759,
     657.303689061482, 0.000816362130, 0.993527440282, 1.026475833518, 1.012417396817, 1.03922},
};

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
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, e.pPsi * kPaPerPsi, FToKelvin(e.tF), kT60,
                   e.rho60, e.product);
  EXPECT_EQ(flags, 0) << ApiFlagText(flags);
  EXPECT_DOUBLE_EQ(ctpl, e.ctpl);
  EXPECT_NEAR(ctl, e.ctl, 5e-12);
  EXPECT_NEAR(cpl, e.cpl, 5e-12);
  EXPECT_DOUBLE_EQ(density, e.ctpl * e.rho60);
  EXPECT_NEAR(alpha60, 1.8 * e.alpha60, 1.8 * 5e-13);  // returned per kelvin
}

INSTANTIATE_TEST_SUITE_P(Api11_1_2004, WorkedExample, ::testing::ValuesIn(kExamples),
                         [](const auto& info) { return std::string(info.param.name); });

// Special applications: with example 1's alpha60 given, CTL is example 1's CTL.
TEST(SpecialApplications, GivenAlphaReproducesCrudeExampleCtl) {
  const Example& e = kExamples[0];
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0;
  double alpha60 = AlphaPerFToPerK(e.alpha60);
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0.0, FToKelvin(e.tF), kT60, e.rho60,
                   ApiProduct::SpecialApplications);
  EXPECT_EQ(flags, 0);
  EXPECT_NEAR(ctl, e.ctl, 1e-10);
  EXPECT_DOUBLE_EQ(ctpl, e.ctpl);
  EXPECT_DOUBLE_EQ(alpha60, AlphaPerFToPerK(e.alpha60));
}

// alpha60 arrives per kelvin; the group 3 limits are 230e-6 to 930e-6 per F (414e-6 to 1674e-6 per K).
struct AlphaCase {
  double alphaPerK;
  ApiFlags flags;
};
class AlphaLimits : public ::testing::TestWithParam<AlphaCase> {};
TEST_P(AlphaLimits, ConvertedBeforeTheCheck) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = GetParam().alphaPerK;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 1e5, 300.0, kT60, 800.0,
                   ApiProduct::SpecialApplications);
  EXPECT_EQ(flags, GetParam().flags) << ApiFlagText(flags);
  EXPECT_EQ(ctpl == 0.0, flags != 0);
}
INSTANTIATE_TEST_SUITE_P(Group3, AlphaLimits,
                         ::testing::Values(AlphaCase{1.6739e-3, 0}, AlphaCase{1.6745e-3, kThermalXTooHigh},
                                           AlphaCase{1.8e-3, kThermalXTooHigh},  // 1e-3 per F
                                           AlphaCase{930e-6, 0}, AlphaCase{415e-6, 0},
                                           AlphaCase{413e-6, kThermalXTooLow},
                                           AlphaCase{kNaN, kThermalXTooLow}));

TEST(SpecialApplications, ClampedAlphaIsWrittenBackPerKelvin) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 1.8e-3;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0.0, 300.0, kT60, 800.0,
                   ApiProduct::SpecialApplications);
  EXPECT_EQ(ApiFlagText(flags), "thermalX_too_high! ");
  EXPECT_DOUBLE_EQ(alpha60, 930e-6 * 1.8);
  EXPECT_EQ(ctpl, 0.0);
  EXPECT_EQ(density, 0.0);
}

TEST(ApiLiquidFactors, SixtyFahrenheitIdentity) {
  ApiFlags flags = 1;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0.0, 288.7056, 288.7056, 870.0,
                   ApiProduct::CrudeOil);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(ctl, 1.0);
  EXPECT_EQ(cpl, 1.0);
  EXPECT_EQ(ctpl, 1.0);
  EXPECT_EQ(density, 870.0);
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
}

TEST(AltToBase60, RunningOutOfPassesIsFlaggedAndKeepsTheLastValue) {
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

TEST(ApiLiquidFactors, TransitionZoneAlpha) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0.0, 300.0, kT60, 780.0,
                   ApiProduct::RefinedProducts);
  ASSERT_EQ(flags, 0);
  // Gasoline constants would give 6.29e-4 and jet fuel ones 5.43e-4 per F.
  EXPECT_NEAR(AlphaPerKToPerF(alpha60), 1489.067 / (780.0 * 780.0) - 0.0018684, 1e-7);
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
  ApiFlags flags = 0;
  double ctpl = 9, cpl = 9, ctl = 9, density = 9, alpha60 = 500e-6 * 1.8;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, b.p, b.t, b.tBase, b.rho, b.product);
  EXPECT_EQ(flags, b.flags) << ApiFlagText(flags);
  EXPECT_EQ(ctpl, 0.0);
  EXPECT_EQ(cpl, 0.0);
  EXPECT_EQ(ctl, 0.0);
  EXPECT_EQ(density, 0.0);
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

TEST(ApiLiquidFactors, NegativePressureIsZeroWithoutFlag) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, -5e4, 300.0, 288.15, 850.0, ApiProduct::CrudeOil);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(cpl, 1.0);
}

TEST(ApiLiquidFactors, LimitsThemselvesAreAccepted) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 1500 * kPaPerPsi, 423.15, 223.15, 900.0,
                   ApiProduct::CrudeOil);
  EXPECT_EQ(flags, 0) << ApiFlagText(flags);
  EXPECT_GT(ctpl, 0.0);
}

TEST(ApiLiquidFactors, LightHydrocarbonsAndIllegalGroupsRaise) {
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  try {
    ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0, 300, 288.15, 500, ApiProduct::LightHydrocarbons);
    ADD_FAILURE();
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.message(), "MPMS1.AltToBase60() unsupported product");
  }
  try {
    Factors60(flags, ApiProduct::LightHydrocarbons, 500, 60, 0, 0);
    ADD_FAILURE();
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.message(), "MPMS1.Factors60() unsupported product");
  }
  try {
    ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 0, 300, 288.15, 850, static_cast<ApiProduct>(7));
    ADD_FAILURE();
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.message(), "MPMS1.AltToBase60() illegal product");
  }
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
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 1e5, 300, 290, 850, ApiProduct::UserProcedure);
  ResetApiUserProcs();
  EXPECT_EQ(flags, kRelaxedCompliance | kInvalidHook);  // the density slot is the default
  EXPECT_EQ(ctpl, 1.5);
  EXPECT_EQ(cpl, 7.0);
  EXPECT_EQ(ctl, 10.0);
  EXPECT_EQ(density, 850.0);
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 1e5, 300, 290, 850, ApiProduct::UserProcedure);
  EXPECT_EQ(ApiFlagText(flags), "invalid_hook! ");
  EXPECT_EQ(ctpl, 0.0);
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
INSTANTIATE_TEST_SUITE_P(
    ApiRound, Rounding,
    ::testing::Values(RoundCase{0.988465, 1e-5, 0.98846}, RoundCase{0.988475, 1e-5, 0.98848},
                      RoundCase{1.000005, 1e-5, 1.0}, RoundCase{1.000015, 1e-5, 1.00002},
                      RoundCase{0.9884650001, 1e-5, 0.98847}, RoundCase{0.9884649999, 1e-5, 0.98846},
                      RoundCase{-0.988465, 1e-5, -0.98846}, RoundCase{-0.988467, 1e-5, -0.98847},
                      RoundCase{2.5, 1.0, 2.0}, RoundCase{3.5, 1.0, 4.0}, RoundCase{0.25, 0.5, 0.0},
                      RoundCase{0.75, 0.5, 1.0}, RoundCase{12.25, 0.1, 12.2}, RoundCase{0.0, 1e-5, 0.0}));

TEST(Its90ToIpts68, ZeroAndSixtyF) {
  EXPECT_EQ(Its90ToIpts68C(0.0), 0.0);
  // 60 F on ITS-90 is 60.0068749 F on IPTS-68 to the standard's printed digits.
  EXPECT_NEAR(Its90ToIpts68F(60.0), 60.0068749, 5e-8);
}

}  // namespace
