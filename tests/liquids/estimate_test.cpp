// Viscosity estimate: reference values from tools/liquids_viscosity_ref.py and the edge cases.
#include "liquids/estimate.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace qmx::LIQ;

struct Case {
  double t, rho, gor, mu;
  EstimateFlags flags;
};
class Viscosity : public ::testing::TestWithParam<Case> {};
TEST_P(Viscosity, MatchesReference) {
  const Case& c = GetParam();
  EstimateFlags flags = 0xffff;
  EXPECT_NEAR(EstimateViscosity(flags, c.gor, c.t, c.rho), c.mu, 1e-12 * c.mu);
  EXPECT_EQ(flags, c.flags);
}
INSTANTIATE_TEST_SUITE_P(
    BeggsRobinson, Viscosity,
    ::testing::Values(Case{300, 850, 0, 0.018809748430435251, 0},
                      Case{250, 850, 0, 0.032268267937298228, kEstTemperature},
                      Case{320, 800, 0, 0.0023076283130975483, 0},
                      Case{350, 900, 50, 0.0017244487885312782, 0},
                      Case{300, 1100, 0, 1.299782569341051, kEstDensity},
                      Case{300, 850, 1000, 0.00066956726229915888, kEstGor},
                      Case{300, 850, 1, 0.015221233202960732, kEstGor},
                      Case{400, 700, 100, 0.00018416987295919601, kEstDensity}));

TEST(EstimateFlagText, StartsWithEstimate) {
  EXPECT_EQ(EstimateFlagText(0), "Estimate");
  EXPECT_EQ(EstimateFlagText(kEstTemperature), "EstimateTemperature out of range! ");
  EXPECT_EQ(EstimateFlagText(kEstDensity | kEstGor), "EstimateDensity out of range ! GOR out of range ! ");
  EXPECT_EQ(EstimateFlagText(1u << 3 | 1u << 4 | 1u << 15),
            "EstimateNo data for this fluid ! ___ out of range ! ___ ! ");
}

TEST(EstimateViscosity, ClampedTemperatureGivesTheSeventyFahrenheitValue) {
  EstimateFlags a = 0, b = 0;
  EXPECT_NEAR(EstimateViscosity(a, 0, 250.0, 850.0), EstimateViscosity(b, 0, (70 + 459.67) / 1.8, 850.0), 1e-15);
  EXPECT_EQ(a, kEstTemperature);
}

TEST(EstimateViscosity, InvalidInputsGiveFlagsAndZero) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  EstimateFlags f = 0;
  EXPECT_EQ(EstimateViscosity(f, 0, nan, 850), 0.0);
  EXPECT_EQ(f, kEstTemperature);
  EXPECT_EQ(EstimateViscosity(f, 0, -10, 850), 0.0);
  EXPECT_EQ(f, kEstTemperature);
  EXPECT_EQ(EstimateViscosity(f, 0, 300, inf), 0.0);
  EXPECT_EQ(f, kEstDensity);
  EXPECT_EQ(EstimateViscosity(f, 0, 300, -850), 0.0);
  EXPECT_EQ(f, kEstDensity);
  EXPECT_EQ(EstimateViscosity(f, nan, 300, 850), 0.0);
  EXPECT_EQ(f, kEstGor);
  EXPECT_GT(EstimateViscosity(f, inf, 300, 850), 0.0);
  EXPECT_EQ(f, kEstGor);
}

}  // namespace
