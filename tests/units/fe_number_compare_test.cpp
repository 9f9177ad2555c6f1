// The buffer number writers against the reference writers that round from the exact decimal
// expansion (support/number_reference.hpp): the same text for every value, form, digit count,
// width and precision, including exact ties, values next to rounding boundaries, subnormals,
// negative zero and the formatter's "%r" directive.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/number_reference.hpp"
#include "units/fe.hpp"

namespace {

namespace FE = qmx::FE;
namespace ref = qmx::test::reference;

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();
constexpr double kTrueMin = std::numeric_limits<double>::denorm_min();

double Parse(const std::string& text) {
  double x = 0;
  std::from_chars(text.data(), text.data() + text.size(), x);
  return x;
}

// Exact ties and values next to them: halves of short decimals, powers of two and ten,
// the ends of the range.
std::vector<double> SpecialValues() {
  std::vector<double> v = {0.125, 2.5, 0.5, 1.5, 9.5, 0.25, 0.375, 1e22, 1e23, 5e-324, kTrueMin, kMinNormal,
      kMax, 0.0, -0.0, 1.0, 9.996, 999.6, 0.135, 0.145, 2.675, 1.005, 0.0005, 0.00005, 5e-5, 9.9e9, 9.9e99,
      1e-4, 9.999e-5, 123456789012345678.0, 1.0 / 3.0, 2.0 / 3.0, 4503599627370496.5, 9007199254740993.0,
      12345678901234565.0, 0.30000000000000004, 1e300, 1.5e25, 1.5e21, 101352.93, 14.7};
  for (int k = -1074; k <= 1023; k += 7) v.push_back(std::ldexp(1.0, k));  // 2^k: exact 5-ending digits
  for (int k = -323; k <= 308; ++k) {  // decades and their halves, each with its neighbours
    for (const char* m : {"1", "5", "9.5", "2.5", "1.25", "7.5"}) {
      const double x = Parse(std::string(m) + "e" + std::to_string(k));
      if (x == 0 || std::isinf(x)) continue;
      v.push_back(x);
      v.push_back(std::nextafter(x, 0.0));
      v.push_back(std::nextafter(x, kMax));
    }
  }
  for (int q = 1; q <= 12; ++q) {  // odd multiples of 2^-q: ties at q digits
    for (int j = 1; j < 40; j += 2) v.push_back(std::ldexp(static_cast<double>(j), -q));
  }
  return v;
}

// The digits of the 17-digit rendering end in 5 followed by zeros at some place while the
// value is no exact tie: the cases the 17 digits cannot settle.
bool BoundaryButNoTie(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(x));
  std::string digits(buf, buf + 18);
  digits.erase(1, 1);
  const std::size_t last = digits.find_last_not_of('0');
  if (last == std::string::npos || last == 0 || digits[last] != '5') return false;
  char exact[1100];
  std::snprintf(exact, sizeof exact, "%.1000e", std::fabs(x));
  const std::string all(exact, std::strchr(exact, 'e'));
  return all.find_first_not_of('0', 18) != std::string::npos;
}

// Decimal-looking values near ties: a random decimal of up to 17 digits ending in 5, read to
// the nearest double, and its two neighbours.
std::vector<double> NearTies(std::mt19937_64& rng, int count) {
  std::uniform_int_distribution<int> length(1, 17);
  std::uniform_int_distribution<int> power(-330, 300);
  std::uniform_int_distribution<int> digit(0, 9);
  std::vector<double> v;
  for (int i = 0; i < count; ++i) {
    std::string t = std::to_string(1 + digit(rng) % 9);
    for (int n = length(rng); n > 1; --n) t.push_back(static_cast<char>('0' + digit(rng)));
    t += "5e" + std::to_string(power(rng));
    const double x = Parse(t);
    if (x == 0 || std::isinf(x)) continue;
    v.push_back(x);
    v.push_back(std::nextafter(x, 0.0));
    v.push_back(std::nextafter(x, kMax));
  }
  return v;
}

// Random bit patterns: every exponent, subnormals included (no infinities or NaNs).
std::vector<double> RandomDoubles(std::mt19937_64& rng, int count) {
  std::vector<double> v;
  while (static_cast<int>(v.size()) < count) {
    const double x = std::bit_cast<double>(rng());
    if (std::isfinite(x)) v.push_back(x);
  }
  return v;
}

template <class F>
std::string Text(F&& write) {
  std::string t = "stale text longer than the new one";
  write(t);
  return t;
}

// Every form and format of x against the reference, with digit counts, places, widths and
// precisions drawn around the interesting ones and across their whole range.
void CompareAll(double x, std::mt19937_64& rng) {
  std::uniform_int_distribution<int> small(-3, 24);
  std::uniform_int_distribution<int> large(-10, 1000);
  for (int k = 0; k < 4; ++k) {
    const int n = k < 3 ? small(rng) : large(rng);
    ASSERT_EQ(Text([&](std::string& t) { FE::RealToFloat(t, n, x); }),
              Text([&](std::string& t) { ref::RealToFloat(t, n, x); })) << x << " float " << n;
    ASSERT_EQ(Text([&](std::string& t) { FE::RealToEng(t, n, x); }),
              Text([&](std::string& t) { ref::RealToEng(t, n, x); })) << x << " eng " << n;
    ASSERT_EQ(Text([&](std::string& t) { FE::RealToFixed(t, n, x); }),
              Text([&](std::string& t) { ref::RealToFixed(t, n, x); })) << x << " fixed " << n;
    ASSERT_EQ(Text([&](std::string& t) { FE::LONGREALtoStr(t, n, x); }),
              Text([&](std::string& t) { ref::LONGREALtoStr(t, n, x); })) << x << " digits " << n;
    const int precision = k < 2 ? small(rng) : large(rng);
    const int width = k == 0 ? 12 : (k < 3 ? small(rng) + 8 : large(rng));
    ASSERT_EQ(Text([&](std::string& t) { FE::LRtoStr(t, precision, width, x); }),
              Text([&](std::string& t) { ref::LRtoStr(t, precision, width, x); }))
        << x << " precision " << precision << " width " << width;
    ASSERT_EQ(Text([&](std::string& t) { FE::LRtoStr(t, precision, width, x, 12); }),
              Text([&](std::string& t) { ref::LRtoStr(t, precision, width, x, 12); }))
        << x << " cut to 12, precision " << precision << " width " << width;
  }
  // The fixed-place form at every place where a digit changes: from far above to far below
  // the last significant digit.
  const int e = x == 0 || !std::isfinite(x) ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(x))));
  for (int places = -e - 3; places <= -e + 18; ++places) {
    ASSERT_EQ(Text([&](std::string& t) { FE::RealToFixed(t, places, x); }),
              Text([&](std::string& t) { ref::RealToFixed(t, places, x); })) << x << " fixed " << places;
  }
  for (int n = 1; n <= 18; ++n) {
    ASSERT_EQ(Text([&](std::string& t) { FE::RealToFloat(t, n, x); }),
              Text([&](std::string& t) { ref::RealToFloat(t, n, x); })) << x << " float " << n;
  }
}

class FeWritersAgainstReference : public ::testing::Test {
 protected:
  void TearDown() override { FE::SetSmallThreshold(1e-4); }
  std::mt19937_64 rng_{20261207};
};

TEST_F(FeWritersAgainstReference, TiesBoundariesAndRangeEnds) {
  for (const double x : SpecialValues()) {
    CompareAll(x, rng_);
    CompareAll(-x, rng_);
    if (HasFatalFailure()) return;
  }
}

TEST_F(FeWritersAgainstReference, DecimalsEndingInFive) {
  const std::vector<double> values = NearTies(rng_, 4000);
  int boundaries = 0;
  for (const double x : values) {
    boundaries += BoundaryButNoTie(x) ? 1 : 0;
    CompareAll(x, rng_);
    if (HasFatalFailure()) return;
  }
  // The set reaches the values whose 17 digits sit on a rounding boundary without a tie.
  EXPECT_GT(boundaries, 50);
}

TEST_F(FeWritersAgainstReference, RandomDoublesAcrossTheExponentRange) {
  for (const double x : RandomDoubles(rng_, 6000)) {
    CompareAll(x, rng_);
    if (HasFatalFailure()) return;
  }
}

TEST_F(FeWritersAgainstReference, OtherSmallNumberThreshold) {
  FE::SetSmallThreshold(1e-6);
  std::uniform_real_distribution<double> exponent(-9, 3);
  for (int i = 0; i < 2000; ++i) {
    const double x = std::pow(10.0, exponent(rng_));
    CompareAll(x, rng_);
    if (HasFatalFailure()) return;
  }
}

TEST_F(FeWritersAgainstReference, NonFinite) {
  for (const double x : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::nan("")}) {
    CompareAll(x, rng_);
  }
}

// The "%r" directive: the width/precision text padded to the width on either side, within the
// formatter's 600 characters.
TEST_F(FeWritersAgainstReference, FormatterRealDirective) {
  std::vector<double> values = SpecialValues();
  const std::vector<double> random = RandomDoubles(rng_, 3000);
  values.insert(values.end(), random.begin(), random.end());
  std::uniform_int_distribution<int> digits(0, 40);
  std::uniform_int_distribution<int> wide(0, 999);
  int k = 0;
  for (const double x : values) {
    const bool huge = ++k % 10 == 0;
    const int width = huge ? wide(rng_) : digits(rng_);
    const int precision = huge ? wide(rng_) : digits(rng_);
    const bool left = k % 3 == 0;
    const std::string format = std::string("[%") + (left ? "-" : "") + std::to_string(width) + "." +
                               std::to_string(precision) + "r]";
    std::string number;
    ref::LRtoStr(number, precision, width, x);
    const std::string pad(number.size() < static_cast<std::size_t>(width) ? width - number.size() : 0, ' ');
    const std::string expected = ("[" + (left ? number + pad : pad + number) + "]").substr(0, FE::kFormatLimit);
    ASSERT_EQ(FE::FmtToString(format, x), expected) << x << " " << format;
    // Without a width: the 17-digit exponent form; a float argument by its value.
    ref::LRtoStr(number, 5, 0, x);
    ASSERT_EQ(FE::FmtToString("%r", x), number) << x;
    const auto f = static_cast<float>(x);
    ref::LRtoStr(number, 6, 12, static_cast<double>(f));
    ASSERT_EQ(FE::FmtToString("%12.6r", f), std::string(number.size() < 12 ? 12 - number.size() : 0, ' ') + number)
        << f;
  }
}

TEST_F(FeWritersAgainstReference, BufferFormsEqualTheStringForms) {
  FE::NumberBuffer buffer;
  for (const double x : RandomDoubles(rng_, 500)) {
    std::string text;
    FE::LRtoStr(text, 6, 12, x);
    ASSERT_EQ(FE::LRtoChars(buffer, 6, 12, x), text);
    FE::LONGREALtoStr(text, 7, x);
    ASSERT_EQ(FE::LONGREALtoChars(buffer, 7, x), text);
  }
  // The longest texts fit: 309 integer digits and 400 decimals.
  EXPECT_EQ(FE::LRtoChars(buffer, 999, 999, -kMax).size(), 1 + 309 + 2);  // tidied to "-1797...0.0"
  std::string fixed;
  ref::RealToFixed(fixed, 400, -kMax);
  std::string mine;
  FE::RealToFixed(mine, 400, -kMax);
  EXPECT_EQ(mine, fixed);
  EXPECT_EQ(mine.size(), 1 + 309 + 1 + 400);
}

TEST_F(FeWritersAgainstReference, NumberTidy) {
  const std::string alphabet = "0123456789+-.eE ,x";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 30);
  for (int k = 0; k < 20000; ++k) {
    std::string t;
    // Some texts longer than the writers' buffer.
    for (int n = k % 100 == 0 ? 900 + length(rng_) : length(rng_); n > 0; --n) t.push_back(alphabet[pick(rng_)]);
    std::string expected = t;
    ref::TidyNumber(k % 3 != 0, expected);
    FE::TidyNumber(k % 3 != 0, t);
    ASSERT_EQ(t, expected);
  }
}

}  // namespace
