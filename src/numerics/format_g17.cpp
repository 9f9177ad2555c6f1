#include "numerics/format_g17.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace qmx::Numerics {
namespace {

__extension__ typedef unsigned __int128 U128;

// The decimal exponents E (x in [10^E, 10^(E+1))) the exact integer path covers: x * 10^(16-E) is
// mantissa * 5^k * 2^(e+k) with 5^k below 2^64 (k <= 27), or, for E > 16, mantissa * 2^e (below 2^127)
// divided by 10^(E-16). Everything else goes to std::to_chars.
constexpr int kMinExponent = -11;
constexpr int kMaxExponent = 37;
// The binary exponents b (x in [2^b, 2^(b+1))) whose octave reaches into those decades.
constexpr int kMinBinary = -37;
constexpr int kMaxBinary = 126;
constexpr std::uint64_t k1e16 = 10000000000000000ULL;
constexpr std::uint64_t k1e17 = 100000000000000000ULL;

constexpr auto kPow5 = [] {
  std::array<std::uint64_t, 16 - kMinExponent + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
  return p;
}();

constexpr auto kPow10 = [] {
  std::array<U128, kMaxExponent + 2> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// Per octave [2^b, 2^(b+1)): the decade of its start, and the smallest 53-bit mantissa whose value
// reaches the next power of ten (2^53, never reached, when the octave holds none). Exact integers.
struct Octave {
  std::uint64_t threshold;
  int exponent;
};
constexpr auto kOctaves = [] {
  std::array<Octave, kMaxBinary - kMinBinary + 1> table{};
  for (int b = kMinBinary; b <= kMaxBinary; ++b) {
    const int e2 = b - 52;
    int e = 0;  // the largest e with 10^e <= 2^b
    if (b >= 0) {
      while (kPow10[static_cast<std::size_t>(e + 1)] <= (U128{1} << b)) ++e;
    } else {
      int m = 0;  // the smallest m with 10^m >= 2^-b
      while (kPow10[static_cast<std::size_t>(m)] < (U128{1} << -b)) ++m;
      e = -m;
    }
    const int t = e + 1;
    U128 threshold = 0;
    if (t >= 0 && e2 >= 0) {
      threshold = (kPow10[static_cast<std::size_t>(t)] + ((U128{1} << e2) - 1)) >> e2;
    } else if (t >= 0) {
      threshold = kPow10[static_cast<std::size_t>(t)] << -e2;
    } else {
      const U128 d = kPow10[static_cast<std::size_t>(-t)];
      threshold = ((U128{1} << -e2) + d - 1) / d;
    }
    const U128 limit = U128{1} << 53;
    table[static_cast<std::size_t>(b - kMinBinary)] = {
        static_cast<std::uint64_t>(threshold < limit ? threshold : limit), e};
  }
  return table;
}();

// The eight decimal digits of 10^4 * a + b (a, b < 10^4) as bytes 0..9, the most significant first in
// memory: 2-digit and 1-digit lanes split off in one 64-bit word by exact reciprocal multiplications.
inline std::uint64_t Digits8(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t quads = a | (b << 32);
  const std::uint64_t top = ((quads * 10486) >> 20) & ((std::uint64_t{0x7f} << 32) | 0x7f);  // lanes / 100
  const std::uint64_t pairs = ((quads - 100 * top) << 16) + top;
  std::uint64_t tens = ((pairs * 103) >> 10) & 0x000f000f000f000fULL;  // lanes / 10
  tens += (pairs - 10 * tens) << 8;
  return tens;
}

// Stores the eight bytes of Digits8 in memory order.
inline void Store8(char* p, std::uint64_t lanes) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(p, &lanes, 8);
  } else {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((lanes >> (8 * i)) & 0xff);
  }
}

// How many of the eight digits of Digits8 remain when trailing zeros are dropped.
inline int Significant8(std::uint64_t lanes) {
  return 8 - static_cast<int>(static_cast<unsigned>(std::countl_zero(lanes)) / 8);
}

// x = mant * 2^e2 times 10^k rounded to the nearest integer, ties to even, exactly, for
// k in [16 - kMaxExponent, 16 - kMinExponent] and x * 10^k below 10^18; 0 when out of reach.
inline std::uint64_t Scale(std::uint64_t mant, int e2, int k) {
  if (k >= 0) {
    const U128 p = static_cast<U128>(mant) * kPow5[static_cast<std::size_t>(k)];  // below 2^117
    const int s = e2 + k;
    if (s >= 0) return s < 8 ? static_cast<std::uint64_t>(p << s) : 0;  // an integer already
    const int sh = -s;
    if (sh >= 64) return 0;  // cannot occur for the exponents handled (sh <= 62)
    // p >> sh fits 64 bits; the bits shifted out, moved to the top of a word, are compared with one
    // half (2^63), and an exact half rounds to the even neighbour.
    const auto lo = static_cast<std::uint64_t>(p);
    const auto hi = static_cast<std::uint64_t>(p >> 64);
    const std::uint64_t q = (lo >> sh) | (hi << (64 - sh));
    const std::uint64_t rest = lo << (64 - sh);
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
    return q + ((rest + (q & 1) > kHalf) ? 1 : 0);  // rest <= 2^64 - 4: no wrap
  }
  // x >= 10^17 is an integer (e2 >= 4); mant * 2^e2 < 2^127 for the exponents handled.
  const U128 n = static_cast<U128>(mant) << e2;
  const U128 d = kPow10[static_cast<std::size_t>(-k)];
  const U128 q = n / d;
  const U128 rem = n - q * d;
  if (q >> 60 != 0) return 0;
  return static_cast<std::uint64_t>(q) + ((2 * rem > d || (2 * rem == d && (q & 1) != 0)) ? 1 : 0);
}

char* Fallback(double x, char* first) noexcept {
  return std::to_chars(first, first + kFormatG17Max, x, std::chars_format::general, 17).ptr;
}

}  // namespace

char* FormatG17(double x, char* first) noexcept {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const bool negative = (bits >> 63) != 0;
  if (biased == 0 && fraction == 0) {
    char* p = first;
    if (negative) *p++ = '-';
    *p++ = '0';
    return p;
  }
  if (biased == 0 || biased == 0x7ff) return Fallback(x, first);  // subnormal, infinity, NaN

  const std::uint64_t mant = fraction | (std::uint64_t{1} << 52);
  const int e2 = biased - 1075;  // |x| = mant * 2^e2
  const int b = biased - 1023;   // |x| in [2^b, 2^(b+1))
  if (b < kMinBinary || b > kMaxBinary) return Fallback(x, first);
  const Octave& octave = kOctaves[static_cast<std::size_t>(b - kMinBinary)];
  int e = octave.exponent + (mant >= octave.threshold ? 1 : 0);  // 10^e <= |x| < 10^(e+1)
  if (e < kMinExponent || e > kMaxExponent) return Fallback(x, first);

  // 10^16 <= |x| * 10^(16-e) < 10^17, so its 17-digit rounding lies in [10^16, 10^17].
  std::uint64_t n = Scale(mant, e2, 16 - e);
  if (n - k1e16 > k1e17 - k1e16) return Fallback(x, first);  // outside [10^16, 10^17]: a safety net only
  if (n == k1e17) {  // rounded up into the next decade
    n = k1e16;
    ++e;
  }

  // The 17 digits (bytes 0..9), and how many are left once trailing zeros are dropped. The
  // 4-digit groups come from n independently of each other.
  const std::uint64_t q4 = n / 10000;
  const std::uint64_t q8 = n / 100000000;
  const std::uint64_t q12 = n / 1000000000000;
  const std::uint64_t q16 = n / 10000000000000000;
  const auto lead = static_cast<char>('0' + q16);
  const std::uint64_t middle = Digits8(q12 - q16 * 10000, q8 - q12 * 10000);
  const std::uint64_t last = Digits8(q4 - q8 * 10000, n - q4 * 10000);
  const int digits = last != 0 ? 9 + Significant8(last) : 1 + Significant8(middle);
  constexpr std::uint64_t kZeros = 0x3030303030303030ULL;

  // Only stores of whole digit words, never read back (a narrow store read by a wide load stalls);
  // a word may run past the text's end, never past kFormatG17Max (at most 23 characters and a sign).
  char* p = first;
  if (negative) *p++ = '-';
  const std::uint64_t high = middle | kZeros;
  const std::uint64_t low = last | kZeros;
  if (e >= -4 && e < 17) {
    if (e >= 0) {
      const int whole_digits = e + 1;
      p[0] = lead;
      Store8(p + 1, high);
      Store8(p + 9, low);
      if (digits <= whole_digits) return p + whole_digits;
      // The fraction's digits again, one place to the right of the point.
      const U128 rest = (static_cast<U128>(low) << 64 | high) >> (8 * (whole_digits - 1));
      p[whole_digits] = '.';
      Store8(p + whole_digits + 1, static_cast<std::uint64_t>(rest));
      if (whole_digits < 9) Store8(p + whole_digits + 9, static_cast<std::uint64_t>(rest >> 64));
      return p + digits + 1;
    }
    const int zeros = -e - 1;
    std::memcpy(p, "0.000000", 8);
    p[2 + zeros] = lead;
    Store8(p + 3 + zeros, high);
    Store8(p + 11 + zeros, low);
    return p + 2 + zeros + digits;
  }
  p[0] = lead;
  p[1] = '.';
  Store8(p + 2, high);
  Store8(p + 10, low);
  p += digits > 1 ? digits + 1 : 1;
  int magnitude = e;
  *p++ = 'e';
  *p++ = magnitude < 0 ? '-' : '+';
  if (magnitude < 0) magnitude = -magnitude;
  if (magnitude >= 100) {
    *p++ = static_cast<char>('0' + magnitude / 100);
    magnitude %= 100;
  }
  p[0] = static_cast<char>('0' + magnitude / 10);
  p[1] = static_cast<char>('0' + magnitude % 10);
  return p + 2;
}

}  // namespace qmx::Numerics
