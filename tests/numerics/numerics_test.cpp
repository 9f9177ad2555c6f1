#include "numerics/numerics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "../support/check.hpp"
#include "numerics/trace.hpp"

namespace N = qmx::Numerics;

namespace {

using qmx::test::ExpectRaise;
using qmx::test::ExpectDoubles;
using qmx::test::ExpectResults;

}  // namespace

TEST(Bracket, WidensUpperEndUntilSignChange) {
  double x1 = 1.0;
  double x2 = 2.0;
  auto f = [](double x) { return x - 10.0; };
  ASSERT_TRUE(N::Bracket(x1, x2, f));
  EXPECT_DOUBLE_EQ(x1, 1.0);
  EXPECT_GT(x2, 10.0);
  EXPECT_LT(f(x1) * f(x2), 0.0);
  EXPECT_GT(N::TakeIterations(), 1);
  EXPECT_EQ(N::TakeIterations(), 0);  // reading resets
}

TEST(Bracket, GivesUpAfterFiftyOneTests) {
  double x1 = 1.0;
  double x2 = 2.0;
  int calls = 0;
  auto f = [&](double x) {
    ++calls;
    return x * x + 1.0;
  };
  EXPECT_FALSE(N::Bracket(x1, x2, f));
  EXPECT_EQ(calls, 52);  // two end evaluations, then one per widening
  EXPECT_EQ(N::TakeIterations(), 51);
}

TEST(Broot, FindsRootsInsideAndAtAnEndOfSteepAndFlatFunctions) {
  auto f = [](double x) { return x * x - 2.0; };
  EXPECT_NEAR(N::Broot(1e-10, 0.0, 2.0, f), std::sqrt(2.0), 1e-10);
  EXPECT_GT(N::TakeIterations(), 0);
  auto line = [](double x) { return x - 2.0; };
  EXPECT_DOUBLE_EQ(N::Broot(1e-12, 0.0, 2.0, line), 2.0);
  auto steep = [](double x) { return std::exp(50.0 * (x - 0.3)) - 1.0; };
  EXPECT_NEAR(N::Broot(1e-14, -1.0, 2.0, steep), 0.3, 1e-12);
  auto cubic = [](double x) { return (x - 1.0) * (x - 1.0) * (x - 1.0); };
  EXPECT_NEAR(N::Broot(1e-8, 0.0, 3.0, cubic), 1.0, 1e-4);
  // Not bracketed, or no number at all.
  ExpectRaise([&] { N::Broot(1e-10, 2.0, 3.0, f); }, "Numerics", "Numerics.Broot() - root not bracketed", 1);
  auto g = [](double) { return std::numeric_limits<double>::quiet_NaN(); };
  ExpectRaise([&] { N::Broot(1e-10, 2.0, 3.0, g); }, "Numerics", "Numerics.Broot() - root not bracketed", 1);
}

TEST(Nroot, NewtonInsideTheBracketAndRaisesWhenNotStrictlyBracketed) {
  auto g = [](double x) { return std::pair<double, double>{x * x - 2.0, 2.0 * x}; };
  EXPECT_NEAR(N::Nroot(1e-12, 0.0, 2.0, g), std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(N::Nroot(1e-12, 2.0, 0.0, g), std::sqrt(2.0), 1e-12);
  auto h = [](double x) { return std::pair<double, double>{x - 2.0, 1.0}; };
  ExpectRaise([&] { N::Nroot(1e-12, 2.0, 3.0, h); }, "Numerics", "Numerics.Nroot() - root not bracketed", 1);
}

TEST(Linterp, InterpolatesClampsAndRaisesWhenTableTooShort) {
  const std::vector<double> xa{0, 1, 2, 3};
  const std::vector<double> ya{0, 10, 20, 40};
  double y = 0;
  for (auto [x, expected] : {std::pair{2.5, 30.0}, {0.0, 10.0}, {3.0, 40.0}, {9.0, 40.0}, {2.0, 20.0}}) {
    N::Linterp(y, x, 3, ya, xa);
    EXPECT_DOUBLE_EQ(y, expected) << x;
  }
  ExpectRaise([&] { N::Linterp(y, 1.0, 4, ya, xa); }, "Numerics", "Numerics.Linterp() - n out of bounds", 3);
  ExpectRaise([&] { N::Linterp(y, 1.0, 0, ya, xa); }, "Numerics", "Numerics.Linterp() - n out of bounds", 3);
}

TEST(Rinterp, ReproducesRationalFunction) {
  // y = 1/(1+x) is reproduced exactly by a diagonal rational interpolant.
  std::vector<double> xa{0};
  std::vector<double> ya{0};
  for (int i = 0; i < 6; ++i) {
    xa.push_back(i);
    ya.push_back(1.0 / (1.0 + i));
  }
  double y = 0;
  double dy = 1;
  N::Rinterp(dy, y, 2.5, 6, ya, xa);
  EXPECT_NEAR(y, 1.0 / 3.5, 1e-12);
  N::Rinterp(dy, y, 3.0, 6, ya, xa);
  EXPECT_DOUBLE_EQ(y, 0.25);
  EXPECT_EQ(dy, 0.0);
  N::Rinterp(dy, y, -1.0, 6, ya, xa);
  EXPECT_DOUBLE_EQ(y, 1.0);
  N::Rinterp(dy, y, 99.0, 6, ya, xa);
  EXPECT_DOUBLE_EQ(y, 1.0 / 6.0);
  ExpectRaise([&] { N::Rinterp(dy, y, 1.0, 6 + 1, ya, xa); }, "Numerics", "Numerics.Rinterp() - n out of bounds", 3);
}

TEST(DP2, ThroughOriginWithModes) {
  std::vector<double> xa{7, 1, 2};
  std::vector<double> ya{7, 5, 8};
  double y = 0;
  N::DP2(y, 0, 0, 0.5, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 2.5);
  EXPECT_EQ(xa[0], 0.0);
  EXPECT_EQ(ya[0], 0.0);
  N::DP2(y, 0, 1, 0.5, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 5.0);
  N::DP2(y, 0, 2, 0.5, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 6.5);
  N::DP2(y, 0, 0, 3.0, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 8.0);
  N::DP2(y, 2, 0, 3.0, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 11.0);
  N::DP2(y, 0, 0, 1.5, 2, ya, xa);
  EXPECT_DOUBLE_EQ(y, 6.5);
  ExpectRaise([&] { N::DP2(y, 0, 0, 1.0, 3, ya, xa); }, "Numerics", "Numerics.DP2() - n out of bounds", 4);
}

TEST(MathLib, PowerAndLogarithmDomains) {
  ExpectRaise([] { N::Pow(0.5, -8.0); }, "MathLib", "Pow() domain", 1);
  ExpectDoubles(N::Pow, {{3.0, -2.0, -8.0}, {0.0, 0.0, 0.0}, {0.0, 5.0, 1.0}, {2.0, 3.0, 9.0}, {-1.0, 4.0, 0.25}});
  ExpectRaise([] { N::Log10(0.0); }, "MathLib", "Log10() domain", 2);
  ExpectRaise([] { N::Log(-1.0, 2.0); }, "MathLib", "Log() domain", 3);
  ExpectRaise([] { N::Log10(std::numeric_limits<double>::quiet_NaN()); }, "MathLib", "Log10() domain", 2);
  EXPECT_NEAR(N::Log(8.0, 2.0), 3.0, 1e-15);
  EXPECT_NEAR(N::Log10(1000.0), 3.0, 1e-15);
}

TEST(MathLib, IntPowBySquaringAndIntegralParts) {
  ExpectResults(N::IntPow, {{0, 5.0, 1.0}, {10, 2.0, 1024.0}, {-2, 2.0, 0.25}, {3, -2.0, -8.0},
      {std::numeric_limits<int>::min(), 1.0, 1.0}});
  EXPECT_EQ(N::Int(-2.7), -2.0);
  EXPECT_DOUBLE_EQ(N::Frac(-2.75), -0.75);
  EXPECT_EQ(N::Floor(-2.5), -3.0);
  EXPECT_EQ(N::Ceil(-2.5), -2.0);
  EXPECT_EQ(N::Sign(-0.0), 0.0);
  EXPECT_EQ(N::Sign(-3.0), -1.0);
}

TEST(Rounding, RoundToHalfAwayFromZero) {
  EXPECT_EQ(N::RoundTo(2.5, 1.0), 3.0);
  EXPECT_EQ(N::RoundTo(-2.5, 1.0), -3.0);
  EXPECT_DOUBLE_EQ(N::RoundTo(0.05, 0.1), 0.1);
  EXPECT_EQ(N::RoundTo(0.0, 0.1), 0.0);
  double v = 1.23456;
  N::RoundInPlace(v, 0.001);
  EXPECT_DOUBLE_EQ(v, 1.235);
}

TEST(Rounding, UnbiasedSymmetricTruncate) {
  ExpectResults(N::RoundUnbiased, {{2.5, 1.0, 2.0}, {3.5, 1.0, 4.0}, {2.6, 1.0, 3.0}, {-2.6, 1.0, -3.0},
      {-3.5, 1.0, -4.0}});
  EXPECT_DOUBLE_EQ(N::RoundUnbiased(0.0125, 0.001), 0.012);  // half within the tolerance band
  EXPECT_EQ(N::RoundSymmetric(2.5, 1.0), 3.0);
  EXPECT_EQ(N::RoundSymmetric(-2.5, 1.0), -3.0);
  EXPECT_EQ(N::RoundTruncate(2.9, 0.0), 2.0);
  EXPECT_EQ(N::RoundTruncate(-2.9, 1.0), -2.0);
}

TEST(Rounding, RelativeStepOneTwoFive) {
  EXPECT_NEAR(N::RoundRelative(0.61234, 0.001), 0.6125, 1e-15);
  EXPECT_EQ(N::RoundRelative(0.0, 0.001), 0.0);
  EXPECT_NEAR(N::RoundRelative(-0.61234, 0.001), -0.6125, 1e-15);
  EXPECT_NEAR(N::RoundRelative(123.4, 0.01), 123.0, 1e-12);  // m = 1.234, step 1
  EXPECT_EQ(N::RoundRelative(std::numeric_limits<double>::infinity(), 0.01),
            std::numeric_limits<double>::infinity());
}

TEST(Trace, DiscardsByDefaultAndCaptures) {
  EXPECT_FALSE(qmx::trace::Enabled());
  qmx::trace::Write("\n lost");
  std::string captured;
  {
    qmx::trace::ScopedSink sink([&](std::string_view s) { captured += s; });
    EXPECT_TRUE(qmx::trace::Enabled());
    qmx::trace::Write("\n    RECALC");
  }
  EXPECT_EQ(captured, "\n    RECALC");
  EXPECT_FALSE(qmx::trace::Enabled());
}
