// Number texts: basic conversions, width/precision and significant-digit
// formats, the number tidy, text-to-number conversion, the beep.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <cstdint>
#include <limits>
#include <string>

#include "../support/check.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx::FE;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

std::string Float(int n, double x) {
  std::string t;
  RealToFloat(t, n, x);
  return t;
}
std::string Eng(int n, double x) {
  std::string t;
  RealToEng(t, n, x);
  return t;
}
std::string Fixed(int places, double x) {
  std::string t;
  RealToFixed(t, places, x);
  return t;
}
std::string LR(int precision, int width, double x) {
  std::string t;
  LRtoStr(t, precision, width, x);
  return t;
}
std::string LONG(int digits, double x) {
  std::string t;
  LONGREALtoStr(t, digits, x);
  return t;
}
std::string Tidy(std::string t, bool strip = true) {
  TidyNumber(strip, t);
  return t;
}

using qmx::test::ExpectResults;

TEST(FeDigitTables, IntegerDigitsAndLeadingZeros) {
  ExpectResults(IntegerDigits, {{5, 0}, {9, 1}, {99, 3}, {1234.5, 3}, {0, 0}, {1e300, 21}});
  ExpectResults(LeadingZeros, {{0.05, 2}, {0.001, 3}, {0.0123, 2}});
}

TEST(FeRealToFloat, DigitsExponentRoundingZeroAndNonFinite) {
  ExpectResults(Float, {{5, 1234.5, "1.2345E+003"}, {5, -1234.5, "-1.2345E+003"}, {1, 7.0, "7E+000"},
      {3, 0.0012345, "1.23E-003"}});
  EXPECT_EQ(Float(0, 1.0 / 3.0), "3.33333333333333E-001");  // 0 means 15 digits
  // The last digit is rounded, exact halves away from zero.
  ExpectResults(Float, {{3, 9.996, "1.00E+001"}, {2, 0.125, "1.3E-001"}, {2, -0.125, "-1.3E-001"}});
  EXPECT_EQ(Float(2, 0.135), "1.4E-001");  // 0.13500000000000000888 rounds up
  EXPECT_EQ(Float(2, 0.145), "1.4E-001");  // 0.14499999999999999001 rounds down
  EXPECT_EQ(Float(17, 0.1), "1.0000000000000001E-001");
  // Digits past the 17th are zeros.
  ExpectResults(Float, {{20, 0.1, "1.0000000000000001000E-001"}, {4, 1e300, "1.000E+300"}, {3, 5e-324, "4.94E-324"},
      {4, 0.0, "0.000"}, {4, -0.0, "0.000"}, {1, 0.0, "0"}, {5, kInf, "Infinite"}, {5, -kInf, "Infinite"},
      {5, kNaN, "Infinite"}});
  EXPECT_EQ(Eng(5, kNaN), "Infinite");
  EXPECT_EQ(Fixed(2, -kInf), "Infinite");
}

TEST(FeRealToEng, ExponentMultipleOfThree) {
  ExpectResults(Eng, {{5, 1234.5, "1.2345E+003"}, {5, 12345.0, "12.345E+003"}, {5, 123456.0, "123.46E+003"},
      {7, 1e-5, "10.00000E-006"}, {4, -0.000123456, "-123.5E-006"}});
  EXPECT_EQ(Eng(1, 12345.0), "10E+003");  // fewer digits than integer places
  EXPECT_EQ(Eng(3, 999.6), "1.00E+003");  // rounding moves to the next group
  EXPECT_EQ(Eng(3, 1.5), "1.50E+000");
  EXPECT_EQ(Eng(3, 0.0), "0.00");
}

TEST(FeRealToFixed, PlacesAndFifteenDigits) {
  ExpectResults(Fixed, {{3, 1234.5678, "1234.568"}, {0, 1234.5678, "1235."}, {-1, 1234.5678, "1235"},
      {2, -0.004, "-0.00"}, {2, 0.005, "0.01"}});
  EXPECT_EQ(Fixed(2, 2.675), "2.67");  // 2.67499999999999982236431605997495353221893310546875
  ExpectResults(Fixed, {{0, 0.5, "1."}, {0, 2.5, "3."}, {1, 9.96, "10.0"}, {3, 0.0004, "0.000"}, {3, 0.0006, "0.001"},
      {2, 0.0, "0.00"}, {-1, 0.0, "0"}});
  // Digits after the 15th significant digit are "0".
  ExpectResults(Fixed, {{20, 0.1, "0.10000000000000000000"}, {2, 123456789012345678.0, "123456789012346000.00"},
      {1, 1e22, "10000000000000000000000.0"}, {17, 1.0 / 3.0, "0.33333333333333300"}, {2, 5e-324, "0.00"}});
  // The double nearest 1e-14 is 9.99999999999999998819e-15, whose 17 digits round up to
  // 1.0000000000000000e-14: with 13 places it is below half the last place, not 1e-13.
  ExpectResults(Fixed, {{13, 1e-14, "0.0000000000000"}, {13, -1e-14, "-0.0000000000000"},
      {14, 1e-14, "0.00000000000001"}, {69, 1e-70, std::string("0.") + std::string(69, '0')},
      {304, 1e-305, std::string("0.") + std::string(304, '0')}});
  // Half of the last place and more rounds up, just below it rounds down.
  ExpectResults(Fixed, {{13, 5e-14, "0.0000000000001"}, {13, 4.9999999999999e-14, "0.0000000000000"},
      {1, 0.05, "0.1"}, {1, 0.04999999999999999, "0.0"}});
}

// printf's correctly rounded digits with a three-digit exponent.
std::string PrintfFloat(int n, double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", n - 1, x);
  std::string t = buf;
  const std::size_t e = t.find('E');
  const int exponent = std::stoi(t.substr(e + 1));
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%03d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
  return t.substr(0, e) + tail;
}

TEST(FeConversionsAgainstPrintf, RandomValues) {
  // Ties (exactly representable halves) are where the two may differ; random
  // doubles with 53-bit mantissas essentially never are ties.
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> power(-300, 300);
  std::uniform_int_distribution<int> digits(1, 17);
  int compared = 0;
  for (int k = 0; k < 3000; ++k) {
    const double x = (k % 2 ? -1 : 1) * mantissa(rng) * std::pow(10.0, power(rng));
    const int n = digits(rng);
    ASSERT_EQ(Float(n, x), PrintfFloat(n, x)) << x << " " << n;
    // Fixed with at most 15 significant digits.
    const int e = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    if (e >= -10 && e <= 14) {
      const int places = std::max(0, 14 - e - (k % 7));
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*f", places, x);
      ASSERT_EQ(Fixed(places, x), std::string(buf) + (places == 0 ? "." : "")) << x << " " << places;
      ++compared;
    }
    // The 17-digit form reads back to the same double.
    double back = 0;
    ASSERT_TRUE(StrToReal(LR(6, 0, x), back)) << x;
    ASSERT_EQ(back, x);
  }
  EXPECT_GT(compared, 100);
}

TEST(FeLRtoStr, ExamplesWidthPrecisionAndForms) {
  ExpectResults(LR, {{6, 12, 1234.5678, "1234.5678"}, {6, 12, 0.0, "0"}, {6, 12, -0.0, "0"}, {6, 12, 1e-5, "10.0E-6"},
      {6, 12, 14.7, "14.7"}});
  // Width 0: the 17-digit exponent form, tidied.
  EXPECT_EQ(LR(6, 0, 1234.5), "1.2345E+3");
  EXPECT_EQ(LR(6, 0, 0.1), "1.0000000000000001E-1");
  // Precision 0 means 21, limited by the width.
  EXPECT_EQ(LR(0, 12, 1.0 / 3.0), "0.3333333333");
  EXPECT_EQ(LR(2, 12, -2.0 / 3.0), "-0.67");
  // Too wide for the field: engineering form with width - s - 3 - e digits.
  ExpectResults(LR, {{6, 12, 123456789012.0, "123.4568E+9"}, {6, 12, -123456789012.0, "-123.457E+9"},
      {6, 12, 1e150, "1.0E+150"}, {6, 5, 123456.0, "100E+3"}});
  // Below the threshold: engineering form.
  ExpectResults(LR, {{6, 12, -2.5e-7, "-250.0E-9"}, {6, 12, 5e-324, "4.940656E-324"}, {6, 12, 1e-4, "0.0001"}});
  // A field far too narrow still gives a number.
  EXPECT_EQ(LR(6, 1, 1234.5), "1E+3");
}

TEST(FeLRtoStr, NonFiniteAndHuge) {
  ExpectResults(LR, {{6, 12, kInf, "Infinite"}, {6, 12, -kInf, "Infinite"}, {6, 12, kNaN, "Infinite"},
      {6, 0, kNaN, "Infinite"}});
  // A wide field does not spill hundreds of integer digits.
  EXPECT_EQ(LR(6, 30, 1e300), "1.0000000000000001E+300");  // 1.00000000000000005250e300
  ExpectResults(LR, {{6, 30, 1.5e25, "15000000000000000000000000.0"}, {6, 25, 1.5e25, "15.0E+24"},
      {2, 30, 1.5e21, "1500000000000000000000.0"}});
}

TEST(FeLRtoStr, ThresholdSetter) {
  EXPECT_DOUBLE_EQ(SmallThreshold(), 1e-4);
  SetSmallThreshold(1e-7);  // outside 1e-6 ... 1: ignored
  EXPECT_DOUBLE_EQ(SmallThreshold(), 1e-4);
  SetSmallThreshold(2.0);
  EXPECT_DOUBLE_EQ(SmallThreshold(), 1e-4);
  SetSmallThreshold(1e-6);
  EXPECT_DOUBLE_EQ(SmallThreshold(), 1e-6);
  EXPECT_EQ(LR(6, 12, 1e-5), "0.00001");
  SetSmallThreshold(1e-4);
  EXPECT_EQ(LR(6, 12, 1e-5), "10.0E-6");
}

TEST(FeLRtoStr, TextLengthLimit) {
  std::string t;
  qmx::test::ExpectRaise([&] { LRtoStr(t, 6, 12, 1.0, 11); }, "FE", "FE.LRtoStr()", 1);
  LRtoStr(t, 6, 12, 1.0, 12);
  EXPECT_EQ(t, "1.0");
  LRtoStr(t, 6, 0, -1.0 / 3.0, 12);  // cut to the destination
  EXPECT_EQ(t, "-3.333333333");
  qmx::test::ExpectRaise([&] { LONGREALtoStr(t, 5, 1.0, 3); }, "FE", "FE.LONGREALtoStr() string too small", 8);
}

TEST(FeLONGREALtoStr, SignificantDigits) {
  ExpectResults(LONG, {{5, 101.352930, "101.35"}, {5, 0.0123, "0.0123"}, {5, 0.0, "0"}, {0, 1234.5, "1.2345E+3"}});
  EXPECT_EQ(LONG(5, 5.0), "5.0");             // m = 0: z(5) + 5 places
  EXPECT_EQ(LONG(3, 0.012345), "0.01235");     // z = 2, 5 places
  EXPECT_EQ(LONG(3, 123456.0), "123E+3");      // digits + 1 < m
  EXPECT_EQ(LONG(4, 12345.0), "12345.0");      // m = digits: one place
  EXPECT_EQ(LONG(6, -98.7654321), "-98.76543");  // m = 1: five places
  EXPECT_EQ(LONG(5, 2.5e-6), "2.5E-6");         // below the threshold
  EXPECT_EQ(LONG(5, kNaN), "Infinite");
  EXPECT_EQ(LONG(25, 1e300), "1.0000000000000001E+300");
}

TEST(FeTidyNumber, ExamplesStatesAndNeverEmpty) {
  ExpectResults(Tidy, {{"12.340000", true, "12.34"}, {"12.000", true, "12.0"}, {"12.", true, "12"}, {".5", true, "0.5"},
      {"-007.50", true, "-7.5"}, {"1.5000E+003", true, "1.5E+3"}, {"2.0E+000", true, "2.0"},
      {"1,234.5", true, "1234.5"}, {"12 psi", true, "12"}, {"abc", true, "0"}, {"", true, "0"}, {"000", true, "0"},
      {"-", true, "0"}, {"+-5", true, "+5"}, {"0-5", true, "-5"}});
  EXPECT_EQ(Tidy("-0-31"), "-31");  // one sign at most
  ExpectResults(Tidy, {{"1.2.3", true, "1.23"}, {"10.0500", true, "10.05"}, {"1.50E5", true, "1.5E5"},
      {"1.5E-0007", true, "1.5E-7"}, {"1.5E10", true, "1.5E10"}, {"3E", true, "3"}, {"3E-", true, "3"},
      {"3E00", true, "3"}, {"7 degree", true, "7"}, {"-.25", true, "-0.25"}});
}

TEST(FeTidyNumber, WithoutStrippingAndHasDigit) {
  ExpectResults(Tidy, {{"12.340000", false, "12.340000"}, {"1.5000E+003", false, "1.5000E+003"},
      {"-007.50", false, "-7.50"}, {"abc", false, "0"}});
  // An all-zero exponent goes with its "E" also when zeros are kept: the result still converts.
  ExpectResults(Tidy, {{"2.0E+000", false, "2.0"}, {"1.5E+00", false, "1.5"}, {"1E0", false, "1"},
      {"1E-0", false, "1"}, {"1.5e+00", false, "1.5"}, {"1.5E+05", false, "1.5E+05"}, {"1E-07", false, "1E-07"},
      {"1.50E+01", false, "1.50E+01"}});
  EXPECT_TRUE(HasDigit("a1"));
  EXPECT_TRUE(HasDigit("0"));
  EXPECT_FALSE(HasDigit("-.E"));
  EXPECT_FALSE(HasDigit(""));
}

TEST(FeStrToReal, Accepted) {
  // Underflow is zero, not a failure.
  const std::pair<const char*, double> cases[] = {
      {"12", 12.0},    {"  -7.5", -7.5},         {"+1.5E+3", 1500.0}, {"2e-3", 0.002},
      {"12.", 12.0},   {"101352.93", 101352.93}, {"1e-400", 0.0},
      {"1.7976931348623157E308", std::numeric_limits<double>::max()}};
  for (const auto& [text, value] : cases) {
    double x = -1.0;
    EXPECT_TRUE(StrToReal(text, x)) << text;
    EXPECT_EQ(x, value) << text;
  }
}

TEST(FeStrToReal, RefusedAndStrToInt) {
  double x = 42.0;
  for (const char* bad : {"", " ", "-", "abc", "12 ", "1.5E", "1.5E+", ".5", "1e400", "-1e400",
                          "1..2", "1,5", "inf", "nan", "0x10", "1e5.5", "--1", "1 2"}) {
    EXPECT_FALSE(StrToReal(bad, x)) << bad;
    EXPECT_EQ(x, 42.0) << bad;
  }
  EXPECT_FALSE(StrToReal("1000000000000000000000000000000e-10000000000000000000000", x) && x != 0.0);
  std::int64_t v = 0;
  EXPECT_TRUE(StrToInt(" 42", v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(StrToInt("-9223372036854775808", v));
  EXPECT_EQ(v, std::numeric_limits<std::int64_t>::min());
  EXPECT_TRUE(StrToInt("+7", v));
  EXPECT_EQ(v, 7);
  v = 5;
  for (const char* bad : {"", "-", "+-1", "1.0", "9223372036854775808", "12a", " "}) {
    EXPECT_FALSE(StrToInt(bad, v)) << bad;
    EXPECT_EQ(v, 5);
  }
}

TEST(FeTidyThenConvert, EveryTidiedTextConverts) {
  // What the number tidy writes is always a number to the conversion.
  double x = 0;
  for (const char* typed : {"12 psi", "abc", "-", "-.", "1,234.5", "3E-", "1.5000E+003", "+",
                            "0.0e0", "1e999", "--5", ".", "9.", "0-0", "12.E5", "5.e", "e5", "1e+-5"}) {
    std::string t = typed;
    TidyNumber(true, t);
    if (std::string(typed) == "1e999") {
      EXPECT_FALSE(StrToReal(t, x)) << t;  // an overflow stays a failure
    } else {
      EXPECT_TRUE(StrToReal(t, x)) << typed << " -> " << t;
    }
  }
}

TEST(FeTidyThenConvert, RandomTexts) {
  // Short texts cannot overflow without an exponent, so every tidied text
  // without one converts, and no tidied text is empty.
  std::mt19937 rng(7);
  const std::string alphabet = "0123456789+-.eE ,x";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 20);
  for (int k = 0; k < 20000; ++k) {
    std::string t;
    for (int n = length(rng); n > 0; --n) t.push_back(alphabet[pick(rng)]);
    const std::string typed = t;
    TidyNumber(k % 3 != 0, t);
    ASSERT_FALSE(t.empty()) << typed;
    double x = 0;
    if (t.find_first_of("eE") == std::string::npos) {
      ASSERT_TRUE(StrToReal(t, x)) << typed << " -> " << t;
    }
  }
}

TEST(FeBeep, ScopedCount) {
  Beep();  // default: nothing, no failure
  {
    ScopedBeepCount outer;
    Beep();
    {
      ScopedBeepCount inner;
      Beep();
      Beep();
      EXPECT_EQ(inner.count(), 2);
    }
    Beep();
    EXPECT_EQ(outer.count(), 2);
  }
  int calls = 0;
  SetBeep([&calls] { ++calls; });
  Beep();
  SetBeep({});
  Beep();
  EXPECT_EQ(calls, 1);
}

}  // namespace
