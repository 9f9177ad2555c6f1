#include "numerics/format_g17.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace N = qmx::Numerics;

namespace {

constexpr std::size_t kBuffer = 48;

std::string Format(double x) {
  char buffer[kBuffer];
  std::memset(buffer, '#', sizeof buffer);
  char* end = N::FormatG17(x, buffer);
  return std::string(buffer, end);
}

std::string Bits(double x) {
  char hex[24];
  const auto r = std::to_chars(hex, hex + sizeof hex, std::bit_cast<std::uint64_t>(x), 16);
  return "0x" + std::string(hex, r.ptr);
}

// Compares FormatG17 with std::to_chars (general, 17 digits) for many values; a failure names the
// first few values by their bits. Also checks that nothing is written past kFormatG17Max.
class Identity {
 public:
  explicit Identity(std::string name) : name_(std::move(name)) {}
  ~Identity() {
    EXPECT_EQ(failures_, 0u) << name_ << ": " << failures_ << " of " << count_ << " differ" << first_;
  }
  Identity(const Identity&) = delete;
  Identity& operator=(const Identity&) = delete;

  void operator()(double x) {
    ++count_;
    char expected[kBuffer];
    const auto r = std::to_chars(expected, expected + sizeof expected, x, std::chars_format::general, 17);
    char got[kBuffer];
    std::memset(got, '#', sizeof got);
    char* end = N::FormatG17(x, got);
    const std::string_view want(expected, static_cast<std::size_t>(r.ptr - expected));
    const auto length = static_cast<std::size_t>(end - got);
    bool ok = end >= got && length <= N::kFormatG17Max && std::string_view(got, length) == want;
    for (std::size_t i = N::kFormatG17Max; i < kBuffer; ++i) ok = ok && got[i] == '#';
    if (!ok) {
      if (++failures_ <= 8) {
        first_ += "\n  " + Bits(x) + ": to_chars \"" + std::string(want) + "\", FormatG17 \"" +
                  std::string(got, std::min(length, kBuffer)) + "\"";
      }
    }
  }
  std::size_t count() const { return count_; }

 private:
  std::string name_;
  std::size_t count_ = 0;
  std::size_t failures_ = 0;
  std::string first_;
};

// Both signs of x and of its neighbours up to `steps` representable values away.
void WithNeighbours(Identity& check, double x, int steps) {
  double up = x;
  double down = x;
  for (int i = 0; i <= steps; ++i) {
    for (double v : {up, down}) {
      check(v);
      check(-v);
    }
    up = std::nextafter(up, std::numeric_limits<double>::infinity());
    down = std::nextafter(down, -std::numeric_limits<double>::infinity());
  }
}

}  // namespace

// Texts as printf "%.17g" writes them (C library and Python's correctly rounded formatter agree).
TEST(FormatG17, WritesTheTextsOfPrintfG17) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.0, "1"},
      {-2.5, "-2.5"},
      {0.5, "0.5"},
      {12000.0, "12000"},
      {0.1, "0.10000000000000001"},
      {0.3, "0.29999999999999999"},
      {295.15, "295.14999999999998"},
      {-4.35, "-4.3499999999999996"},
      {123.456, "123.456"},
      {1.0000000000000002, "1.0000000000000002"},
      {2.0 / 3.0, "0.66666666666666663"},
      // Fixed down to 10^-4, exponent form below it.
      {1e-4, "0.0001"},
      {0.00012345, "0.00012344999999999999"},
      {9.5e-5, "9.5000000000000005e-05"},
      {1e-5, "1.0000000000000001e-05"},
      {1e-11, "9.9999999999999994e-12"},
      // Fixed up to 17 integer digits, exponent form from 10^17.
      {1e16, "10000000000000000"},
      {99999999999999984.0, "99999999999999984"},
      {1e17, "1e+17"},
      {123456789012345678.0, "1.2345678901234568e+17"},
      {1e22, "1e+22"},
      {1e23, "9.9999999999999992e+22"},
      {1e38, "9.9999999999999998e+37"},
      {6.02214076e23, "6.0221407599999999e+23"},
      {1e300, "1.0000000000000001e+300"},
      // Exact ties at the 17th digit go to the even digit.
      {1250000000000000.25, "1250000000000000.2"},
      {1250000000000000.75, "1250000000000000.8"},
      {-1250000000000000.25, "-1250000000000000.2"},
      // Just below 10^-14: rounds up into the next decade.
      {1e-14, "1e-14"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
      {std::numeric_limits<double>::min(), "2.2250738585072014e-308"},
      {std::numeric_limits<double>::denorm_min(), "4.9406564584124654e-324"},
      {-std::numeric_limits<double>::denorm_min(), "-4.9406564584124654e-324"},
  };
  for (const auto& c : cases) EXPECT_EQ(Format(c.x), c.text) << Bits(c.x);
}

TEST(FormatG17, NonFiniteValuesAsToChars) {
  Identity check("non-finite");
  check(std::numeric_limits<double>::infinity());
  check(-std::numeric_limits<double>::infinity());
  check(std::numeric_limits<double>::quiet_NaN());
  check(-std::numeric_limits<double>::quiet_NaN());
  check(std::numeric_limits<double>::signaling_NaN());
  EXPECT_EQ(Format(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(FormatG17, MatchesToCharsOnRandomBitPatterns) {
  Identity check("random bits");
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 600000; ++i) check(std::bit_cast<double>(random()));
  // Random mantissas in every binary exponent of the range the integer path covers and around it.
  for (int biased = 980; biased <= 1160; ++biased) {
    for (int i = 0; i < 2000; ++i) {
      const std::uint64_t bits = (std::uint64_t(biased) << 52) | (random() >> 12);
      check(std::bit_cast<double>(bits));
    }
  }
}

TEST(FormatG17, MatchesToCharsLogUniformFromSubnormalsToTheTop) {
  Identity check("log-uniform");
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-320.0, 308.25);
  for (int i = 0; i < 600000; ++i) {
    const double x = std::pow(10.0, exponent(random));
    check((i & 1) != 0 ? -x : x);
  }
  // Batch-like magnitudes (1e-6 .. 1e9) twice as densely.
  std::uniform_real_distribution<double> batch(-6.0, 9.0);
  for (int i = 0; i < 400000; ++i) check(std::pow(10.0, batch(random)));
}

TEST(FormatG17, MatchesToCharsOnIntegersAndHalves) {
  Identity check("integers");
  for (int i = 0; i <= 100000; ++i) {
    check(i);
    check(i + 0.5);
    check(-i - 0.25);
  }
  std::mt19937_64 random(53);
  for (int bits = 1; bits <= 64; ++bits) {
    for (int i = 0; i < 2000; ++i) {
      const std::uint64_t n = bits == 64 ? random() : random() >> (64 - bits);
      check(static_cast<double>(n));
      check(static_cast<double>(n) + 0.5);
    }
  }
  // Around 2^53, where every integer stops being a double.
  WithNeighbours(check, 9007199254740992.0, 200);
}

TEST(FormatG17, MatchesToCharsAroundPowersOfTen) {
  Identity check("powers of ten");
  for (int n = -324; n <= 308; ++n) {
    const std::string text = "1e" + std::to_string(n);
    double x = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), x);
    WithNeighbours(check, x, 20);
    // 5 and 9.99.. times the power: the middle of a decade and the values rounding up to the next.
    for (const char* prefix : {"5e", "9.9999999999999999e", "9.99999999999999999e", "9.9999999999999995e"}) {
      const std::string t = prefix + std::to_string(n);
      double y = 0.0;
      std::from_chars(t.data(), t.data() + t.size(), y);
      WithNeighbours(check, y, 3);
    }
  }
  EXPECT_GT(check.count(), 50000u);
}

// x * 10^k with a fraction of exactly one half: x = m / 2^(k+1) with m odd, x in [10^(16-k), 10^(17-k)).
TEST(FormatG17, RoundsExactTiesToEven) {
  Identity check("ties");
  std::mt19937_64 random(1250);
  int ties = 0;
  for (int k = 1; k <= 24; ++k) {
    const double scale = std::ldexp(1.0, k + 1);
    const double low = std::ceil(scale * std::pow(10.0, 16 - k));
    const double high = std::min(std::ldexp(1.0, 53), std::floor(scale * std::pow(10.0, 17 - k)));
    if (!(low < high - 2)) continue;
    std::uniform_int_distribution<std::uint64_t> pick(static_cast<std::uint64_t>(low),
                                                      static_cast<std::uint64_t>(high) - 2);
    for (int i = 0; i < 4000; ++i) {
      const std::uint64_t m = pick(random) | 1;
      const double x = std::ldexp(static_cast<double>(m), -(k + 1));
      ++ties;
      WithNeighbours(check, x, 1);
    }
  }
  // 1250000000000000.25 and its kin: n/4 and n/8 near 10^15 .. 10^16.
  for (double base : {1e15, 1125899906842624.0, 1250000000000000.0, 2e15, 2251799813685248.0, 5e15, 9e15}) {
    for (int i = 0; i < 400; ++i) check(base + i / 8.0);
  }
  EXPECT_GT(ties, 50000);
}

// Decimal strings exactly halfway between two 17-digit numbers, read to the nearest double: the
// closest doubles to a tie, on either side of it.
TEST(FormatG17, MatchesToCharsNextToDecimalHalfways) {
  Identity check("halfways");
  std::mt19937_64 random(17);
  std::uniform_int_distribution<std::uint64_t> digits(10000000000000000ULL, 99999999999999999ULL);
  std::uniform_int_distribution<int> exponent(-340, 300);
  for (int i = 0; i < 300000; ++i) {
    const std::string text = std::to_string(digits(random)) + "5e" + std::to_string(exponent(random));
    double x = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), x);
    if (r.ec != std::errc()) continue;  // out of range
    WithNeighbours(check, x, 0);
  }
}

TEST(FormatG17, MatchesToCharsOnSubnormalsAndExtremes) {
  Identity check("subnormals");
  std::mt19937_64 random(324);
  for (int i = 0; i < 200000; ++i) {
    check(std::bit_cast<double>(random() >> 12));  // subnormal, either small or close to DBL_MIN
    check(std::bit_cast<double>((random() >> 12) >> (random() % 52)));
  }
  for (double x : {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::min(),
                   std::numeric_limits<double>::max(), std::numeric_limits<double>::epsilon(), 0.0}) {
    WithNeighbours(check, x, 50);
  }
}

// The text never depends on the floating-point rounding mode in force.
TEST(FormatG17, IgnoresTheRoundingMode) {
  std::mt19937_64 random(2026);
  std::vector<double> values;
  for (int i = 0; i < 100000; ++i) values.push_back(std::bit_cast<double>(random()));
  for (int i = 0; i < 100000; ++i) values.push_back(std::ldexp(static_cast<double>(random() >> 11), -(i % 90)));
  const int saved = std::fegetround();
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    std::size_t differ = 0;
    for (double x : values) {
      char buffer[kBuffer];
      char* end = N::FormatG17(x, buffer);
      std::fesetround(saved);
      differ += std::string_view(buffer, static_cast<std::size_t>(end - buffer)) != Format(x) ? 1 : 0;
      std::fesetround(mode);
    }
    std::fesetround(saved);
    EXPECT_EQ(differ, 0u) << "rounding mode " << mode;
  }
}
