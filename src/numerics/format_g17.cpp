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
// mantissa * 5^k * 2^(e+k) with 5^k below 2^64 (k <= 27), or, for E > 16, mantissa * 2^e (below 2^128)
// divided by 10^(E-16). Everything else goes to std::to_chars.
constexpr int kMinExponent = -11;
constexpr int kMaxExponent = 37;
constexpr std::uint64_t k1e16 = 10000000000000000ULL;
constexpr std::uint64_t k1e17 = 100000000000000000ULL;

constexpr auto kPow5 = [] {
  std::array<std::uint64_t, 16 - kMinExponent + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 5;
  return p;
}();

constexpr auto kPow10 = [] {
  std::array<U128, kMaxExponent - 16 + 1> p{};
  p[0] = 1;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// The eight decimal digits of v < 10^8 as bytes 0..9, the most significant first in memory: the value is
// split into 4-digit, 2-digit and 1-digit lanes of one 64-bit word (exact reciprocal multiplications).
inline std::uint64_t Digits8(std::uint32_t v) {
  const std::uint64_t quads = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
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
inline int Significant8(std::uint64_t lanes) { return 8 - std::countl_zero(lanes) / 8; }

// x = mant * 2^e2 scaled by 10^k, exactly: whole = floor(x * 10^k) and rounded = x * 10^k rounded to
// the nearest integer, ties to even. k in [16 - kMaxExponent, 16 - kMinExponent].
inline void Scale(std::uint64_t mant, int e2, int k, U128& whole, U128& rounded) {
  if (k >= 0) {
    const U128 p = static_cast<U128>(mant) * kPow5[static_cast<std::size_t>(k)];  // below 2^117
    const int s = e2 + k;
    if (s >= 0) {
      // An integer already; the caller's range check keeps it far below 2^128.
      whole = s < 64 ? p << s : ~U128{0};
      rounded = whole;
      return;
    }
    const int sh = -s;
    if (sh >= 128) {  // below one half: cannot occur for the exponents handled, kept for safety
      whole = 0;
      rounded = 0;
      return;
    }
    const U128 q = p >> sh;
    const U128 rem = p - (q << sh);
    const U128 half = U128{1} << (sh - 1);
    whole = q;
    rounded = q + ((rem > half || (rem == half && (q & 1) != 0)) ? 1 : 0);
    return;
  }
  // x >= 10^17 is an integer (e2 >= 4); mant * 2^e2 < 2^127 for the exponents handled.
  const U128 n = static_cast<U128>(mant) << e2;
  const U128 d = kPow10[static_cast<std::size_t>(-k)];
  const U128 q = n / d;
  const U128 rem = n - q * d;
  whole = q;
  rounded = q + ((2 * rem > d || (2 * rem == d && (q & 1) != 0)) ? 1 : 0);
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
  // floor(b * log10(2)) for the exponents in question: E is this or one more.
  int e = (b * 78913) >> 18;
  // mant * 2^e2 must stay below 2^127 on the division path.
  if (e < kMinExponent - 1 || e > kMaxExponent || b > 126) return Fallback(x, first);
  if (e < kMinExponent) e = kMinExponent;  // x may still reach 10^kMinExponent; corrected below if not

  // Find the decade exactly: 10^16 <= x * 10^(16-E) < 10^17 (at most two corrections).
  U128 whole = 0;
  U128 rounded = 0;
  bool found = false;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (e < kMinExponent || e > kMaxExponent) return Fallback(x, first);
    Scale(mant, e2, 16 - e, whole, rounded);
    if (whole >= k1e17) {
      ++e;
    } else if (whole < k1e16) {
      --e;
    } else {
      found = true;
      break;
    }
  }
  if (!found) return Fallback(x, first);
  std::uint64_t n = static_cast<std::uint64_t>(rounded);
  if (n == k1e17) {  // rounded up into the next decade
    n = k1e16;
    ++e;
  }

  // The 17 digits (bytes 0..9), and how many are left once trailing zeros are dropped.
  const std::uint64_t upper = n / 100000000;  // below 10^9
  const auto lead = static_cast<char>('0' + upper / 100000000);
  const std::uint64_t middle = Digits8(static_cast<std::uint32_t>(upper % 100000000));
  const std::uint64_t last = Digits8(static_cast<std::uint32_t>(n % 100000000));
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
