// FE number texts: the three basic conversions, the width/precision and
// significant-digit formats, the number tidy, text-to-number conversion and
// the beep.
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::FE {

namespace {

thread_local double small_threshold = 1e-4;

// 0, 9, 99, ..., fifteen nines, 1e16 ... 1e21.
constexpr std::array<double, 22> kIntegerDigitTable = {
    0.0,     9.0,     99.0,     999.0,     9999.0,     99999.0,     999999.0,     9999999.0,
    99999999.0,       999999999.0,         9999999999.0,            99999999999.0,
    999999999999.0,   9999999999999.0,     99999999999999.0,        999999999999999.0,
    1e16,    1e17,    1e18,     1e19,      1e20,       1e21};

// 9.999 * 10^k for k = -22 ... -1.
constexpr std::array<double, 22> kLeadingZeroTable = {
    9.999e-22, 9.999e-21, 9.999e-20, 9.999e-19, 9.999e-18, 9.999e-17, 9.999e-16, 9.999e-15,
    9.999e-14, 9.999e-13, 9.999e-12, 9.999e-11, 9.999e-10, 9.999e-9,  9.999e-8,  9.999e-7,
    9.999e-6,  9.999e-5,  9.999e-4,  9.999e-3,  9.999e-2,  9.999e-1};

// The last middle probed by the bisection over a 22-entry table.
int LastProbe(const std::array<double, 22>& table, double a) noexcept {
  int low = 0;
  int high = 22;
  int middle = 0;
  while (low < high) {  // at most five probes
    middle = (low + high) / 2;
    if (table[static_cast<std::size_t>(middle)] <= a) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return middle;
}

// Appends characters to a fixed buffer and never writes past its end.
class Writer {
 public:
  Writer(char* data, std::size_t capacity) : data_(data), capacity_(capacity) {}
  explicit Writer(NumberBuffer& buffer) : Writer(buffer.data(), buffer.size()) {}
  void Put(char c) {
    if (size_ < capacity_) data_[size_++] = c;
  }
  void Put(std::string_view s) {
    for (const char c : s) Put(c);
  }
  // Copies `count` characters of `s`, which holds at least kRun when count <= kRun.
  void Put(const char* s, std::size_t count) {
    const std::size_t room = capacity_ - size_;
    if (count <= kRun && room >= kRun) {
      std::memcpy(data_ + size_, s, kRun);  // a fixed size copies inline
    } else {
      count = std::min(count, room);
      std::memcpy(data_ + size_, s, count);
    }
    size_ += count;
  }
  void Repeat(char c, std::size_t count) {
    const std::size_t room = capacity_ - size_;
    if (count <= kRun && room >= kRun) {
      std::memset(data_ + size_, c, kRun);
    } else {
      count = std::min(count, room);
      std::memset(data_ + size_, c, count);
    }
    size_ += count;
  }
  static constexpr std::size_t kRun = 16;
  void Drop(std::size_t count) { size_ -= std::min(count, size_); }
  std::string_view View() const { return {data_, size_}; }

 private:
  char* data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

// Decimal digits of a finite a > 0 from one to_chars call and the exponent of the first:
// either the 17 significant digits correctly rounded (ties to even), or the shortest digits
// that read back to a (at most 17, closest to a among those of their length).
struct Rendering {
  double a = 0.0;
  std::array<char, 17> digits;  // the first `count` are set
  int count = 0;
  int exponent = 0;
  bool shortest = false;
};

// Reads to_chars' "d[.ddd]e±dd[d]" at the start of a 32-character buffer into r.
void ReadScientific(const char* first, const char* last, Rendering& r) {
  const char* e = last[-4] == 'e' ? last - 4 : last - 5;
  r.digits[0] = first[0];
  r.count = e - first > 1 ? static_cast<int>(std::min<std::ptrdiff_t>(e - first - 1, 17)) : 1;
  std::memcpy(r.digits.data() + 1, first + 2, 16);  // the buffer holds 32: a fixed size copies inline
  int exponent = 0;
  for (const char* p = e + 2; p < last; ++p) exponent = exponent * 10 + (*p - '0');
  r.exponent = e[1] == '-' ? -exponent : exponent;
}

Rendering Render17(double a) {
  std::array<char, 32> buf;  // "d.dddddddddddddddde-ddd"
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific, 16);
  Rendering out;
  out.a = a;
  ReadScientific(buf.data(), r.ptr, out);
  return out;
}

Rendering RenderShortest(double a) {
  std::array<char, 32> buf;
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific);
  Rendering out;
  out.a = a;
  out.shortest = true;
  ReadScientific(buf.data(), r.ptr, out);
  return out;
}

// The rendering `count` significant digits are rounded from: the shortest digits settle up to
// 15 of a normal double (whose neighbours are at most 2.2e-16 of it apart); more digits, or a
// subnormal with fewer bits, need the 17 correctly rounded ones.
Rendering Render(double a, int count) {
  if (count <= 15 && a >= std::numeric_limits<double>::min()) return RenderShortest(a);
  return Render17(a);
}

// 5^k for k = 0 ... 27 (the largest below 2^64).
constexpr std::array<std::uint64_t, 28> kPowersOfFive = [] {
  std::array<std::uint64_t, 28> p{};
  p[0] = 1;
  for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 5;
  return p;
}();

// a = m * 2^e with m a whole number (a finite, a > 0).
void Decompose(double a, std::uint64_t& m, int& e) {
  const auto bits = std::bit_cast<std::uint64_t>(a);
  const int field = static_cast<int>((bits >> 52) & 0x7ff);
  m = bits & ((std::uint64_t{1} << 52) - 1);
  if (field == 0) {
    e = -1074;  // subnormal
  } else {
    m |= std::uint64_t{1} << 52;
    e = field - 1075;
  }
}

// True when a equals n * 10^k exactly, for odd n (a tie value ends in 5).
bool EqualsOdd(double a, std::uint64_t n, int k) {
  std::uint64_t m = 0;
  int e = 0;
  Decompose(a, m, e);
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  e += zeros;
  // n * 10^k = (n * 5^k) * 2^k with n * 5^k odd: the powers of two must agree.
  if (e != k) return false;
  if (k >= 0) {
    if (k >= static_cast<int>(kPowersOfFive.size())) return false;
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(n, kPowersOfFive[static_cast<std::size_t>(k)], &product)) return false;
    return product == m;
  }
  if (-k >= static_cast<int>(kPowersOfFive.size())) return false;
  const std::uint64_t p = kPowersOfFive[static_cast<std::size_t>(-k)];
  return n % p == 0 && n / p == m;
}

// Unsigned whole number of fixed size, enough for any double times a power of five that
// CompareDecimal meets.
class Big {
 public:
  static constexpr int kBits = 1536;
  explicit Big(std::uint64_t v) {
    limbs_[0] = static_cast<std::uint32_t>(v);
    limbs_[1] = static_cast<std::uint32_t>(v >> 32);
    used_ = limbs_[1] != 0 ? 2 : (limbs_[0] != 0 ? 1 : 0);
  }
  // Multiplies by 5^k (k <= 450 keeps a 64-bit start below the capacity).
  void MultiplyPowerOfFive(int k) {
    constexpr std::uint32_t kFive13 = 1220703125;  // 5^13
    for (; k >= 13; k -= 13) Multiply(kFive13);
    Multiply(static_cast<std::uint32_t>(kPowersOfFive[static_cast<std::size_t>(k)]));
  }
  // False, unchanged, when the result would not fit.
  bool ShiftLeft(int bits) {
    if (BitLength() + bits > kBits) return false;
    const int words = bits / 32;
    const int rest = bits % 32;
    for (int i = used_ + words; i >= 0; --i) {
      const int from = i - words;
      std::uint64_t v = 0;
      if (from >= 0 && from < used_) v = static_cast<std::uint64_t>(limbs_[static_cast<std::size_t>(from)]) << rest;
      if (rest != 0 && from - 1 >= 0 && from - 1 < used_) v |= limbs_[static_cast<std::size_t>(from - 1)] >> (32 - rest);
      if (i < kLimbs) limbs_[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(v);
    }
    used_ = std::min(used_ + words + 1, kLimbs);
    Trim();
    return true;
  }
  int BitLength() const {
    if (used_ == 0) return 0;
    return 32 * (used_ - 1) + static_cast<int>(std::bit_width(limbs_[static_cast<std::size_t>(used_ - 1)]));
  }
  friend int Compare(const Big& l, const Big& r) {
    if (l.used_ != r.used_) return l.used_ < r.used_ ? -1 : 1;
    for (int i = l.used_; i-- > 0;) {
      const auto a = l.limbs_[static_cast<std::size_t>(i)];
      const auto b = r.limbs_[static_cast<std::size_t>(i)];
      if (a != b) return a < b ? -1 : 1;
    }
    return 0;
  }

 private:
  static constexpr int kLimbs = kBits / 32;
  void Multiply(std::uint32_t f) {
    std::uint64_t carry = 0;
    for (int i = 0; i < used_; ++i) {
      const std::uint64_t v = static_cast<std::uint64_t>(limbs_[static_cast<std::size_t>(i)]) * f + carry;
      limbs_[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(v);
      carry = v >> 32;
    }
    if (carry != 0 && used_ < kLimbs) limbs_[static_cast<std::size_t>(used_++)] = static_cast<std::uint32_t>(carry);
  }
  void Trim() {
    while (used_ > 0 && limbs_[static_cast<std::size_t>(used_ - 1)] == 0) --used_;
  }
  std::array<std::uint32_t, kLimbs> limbs_{};
  int used_ = 0;
};

// Sign of a - n * 10^k, exactly (a finite, a > 0, n > 0). Rare: only for a value whose 17
// digits cannot tell on which side of a rounding boundary it lies.
int CompareDecimal(double a, std::uint64_t n, int k) {
  if (k > 400) return -1;   // n * 10^k beyond every double
  if (k < -420) return 1;   // n * 10^k below every double (n < 2^64)
  std::uint64_t m = 0;
  int e = 0;
  Decompose(a, m, e);
  Big left(m);
  Big right(n);
  if (k >= 0) {
    right.MultiplyPowerOfFive(k);
  } else {
    left.MultiplyPowerOfFive(-k);
  }
  // Both sides hold at most about 1050 bits; a shift beyond the capacity makes its side larger.
  const int shift = e - k;
  if (shift >= 0) {
    if (!left.ShiftLeft(shift)) return 1;
  } else if (!right.ShiftLeft(-shift)) {
    return -1;
  }
  return Compare(left, right);
}

// The whole number formed by the first `count` digits.
std::uint64_t Value(const std::array<char, 17>& digits, int count) {
  std::uint64_t v = 0;
  for (int i = 0; i < count; ++i) v = v * 10 + static_cast<std::uint64_t>(digits[static_cast<std::size_t>(i)] - '0');
  return v;
}

// Rounded decimal digits: `count` significant digits and the exponent of the first.
struct Decimal {
  std::array<char, 17 + Writer::kRun> digits;  // the first `count` are set; room for a run copy
  int count = 0;
  int exponent = 0;
  char Digit(int i) const { return i >= 0 && i < count ? digits[static_cast<std::size_t>(i)] : '0'; }
};

// Adds one unit in the last digit, carrying; a carry out of the first digit
// raises the exponent.
void IncrementLast(Decimal& d) {
  for (int i = d.count; i-- > 0;) {
    char& c = d.digits[static_cast<std::size_t>(i)];
    if (c != '9') {
      ++c;
      return;
    }
    c = '0';
  }
  d.digits[0] = '1';
  ++d.exponent;
}

// `count` significant digits of r.a, rounded half away from zero: 1 ... 17 from the 17-digit
// rendering, 1 ... 15 from the shortest.
Decimal Round(const Rendering& r, int count) {
  Decimal d;
  d.count = std::min(count, r.count);  // digits past them are zeros
  d.exponent = r.exponent;
  std::memcpy(d.digits.data(), r.digits.data(), r.digits.size());
  bool up = false;
  if (r.shortest) {
    // Up to 15 digits the shortest digits are a's own rounded ones; past them a digit other
    // than a lone 5 tells the side, since a shorter boundary cannot lie between them and a.
    if (r.count <= count) return d;
    const auto first = r.digits[static_cast<std::size_t>(count)];
    if (first != '5' || r.count > count + 1) {
      up = first >= '5';
    } else {
      // The digits are the boundary itself: the exact value decides, a tie going up.
      const std::uint64_t boundary = Value(r.digits, count + 1);
      const int k = r.exponent - count;
      up = EqualsOdd(r.a, boundary, k) || CompareDecimal(r.a, boundary, k) > 0;
    }
  } else if (count == 17) {
    // An exact tie was rounded to the even digit: away from zero it goes up.
    if ((r.digits[16] - '0') % 2 == 0) up = EqualsOdd(r.a, Value(r.digits, 17) * 10 + 5, r.exponent - 17);
  } else {
    const auto first = r.digits[static_cast<std::size_t>(count)];
    const bool zeros = std::all_of(r.digits.begin() + count + 1, r.digits.end(), [](char c) { return c == '0'; });
    if (first > '5' || (first == '5' && !zeros)) {
      up = true;
    } else if (first == '5') {
      // The 17 digits lie on the boundary: the exact value decides, a tie going up.
      const std::uint64_t boundary = Value(r.digits, count) * 10 + 5;
      const int k = r.exponent - count;
      up = EqualsOdd(r.a, boundary, k) || CompareDecimal(r.a, boundary, k) > 0;
    }
  }
  if (up) IncrementLast(d);
  return d;
}

// True when the shortest digits are a power of ten.
bool PowerOfTen(const Rendering& r) { return r.shortest && r.count == 1 && r.digits[0] == '1'; }

// True when r.a >= 5 * 10^r.exponent: half a unit of the place above the first digit or more.
// A value next to a power of ten, which its digits round to (for the 17 digits, one just below
// 10^e that starts with a 9 one place lower), stays below the half.
bool HalfOrMore(const Rendering& r) {
  if (PowerOfTen(r)) return false;
  if (r.shortest) {
    if (r.digits[0] != '5' || r.count > 1) return r.digits[0] >= '5';
  } else {
    constexpr std::uint64_t kHalf = 50000000000000000;
    const std::uint64_t v = Value(r.digits, 17);
    if (v != kHalf) return v > kHalf;
  }
  return EqualsOdd(r.a, 5, r.exponent) || CompareDecimal(r.a, 5, r.exponent) > 0;
}

// Digits beyond these counts are written as "0".
constexpr int kFloatDigits = 17;
constexpr int kFixedDigits = 15;
// Bound on digits and places: beyond this every digit of a double is zero.
constexpr int kMaxPlaces = 400;

// The exponent as "E", a sign and three digits, or tidied: without leading zeros and left out
// when it is zero.
void AppendExponent(Writer& text, int exponent, bool tidy) {
  if (tidy && exponent == 0) return;
  text.Put('E');
  text.Put(exponent < 0 ? '-' : '+');
  const int e = std::abs(exponent);
  if (!tidy || e >= 100) text.Put(static_cast<char>('0' + e / 100 % 10));
  if (!tidy || e >= 10) text.Put(static_cast<char>('0' + e / 10 % 10));
  text.Put(static_cast<char>('0' + e % 10));
}

// The digits with indices [from, to) of d: "0" outside its digits.
void PutDigits(Writer& text, const Decimal& d, int from, int to) {
  if (from < 0) {
    text.Repeat('0', static_cast<std::size_t>(std::min(to, 0) - from));
    from = 0;
  }
  const int end = std::min(to, d.count);
  if (from < end) {
    text.Put(d.digits.data() + from, static_cast<std::size_t>(end - from));
    from = end;
  }
  if (from < to) text.Repeat('0', static_cast<std::size_t>(to - from));
}

// A fraction of the digits [from, to) of d (to > from); tidied, its trailing zeros after the
// first digit are left out.
void PutFraction(Writer& text, const Decimal& d, int from, int to, bool tidy) {
  if (tidy) {
    int last = d.count;  // one past the last digit other than 0
    while (last > 0 && d.digits[static_cast<std::size_t>(last - 1)] == '0') --last;
    to = std::max(from + 1, std::min(to, last));
  }
  PutDigits(text, d, from, to);
}

// "0" followed by `decimals` decimals; tidied, "0" or "0.0".
void WriteZero(Writer& text, int decimals, bool tidy) {
  text.Put('0');
  if (decimals > 0) {
    text.Put('.');
    text.Repeat('0', tidy ? 1 : static_cast<std::size_t>(decimals));
  }
}

int ClampDigits(int digits) {
  if (digits == 0) return 15;
  return std::clamp(digits, 1, kMaxPlaces);
}

// Exponent form with one digit before the point, or one to three (engineering). Tidied, it is
// what the number tidy makes of it: no trailing zeros after the first decimal, no leading
// zeros in the exponent, no zero exponent.
void WriteExponentForm(Writer& text, int digits, double x, bool engineering, bool tidy = false) {
  if (!std::isfinite(x)) {
    text.Put("Infinite");
    return;
  }
  const int n = ClampDigits(digits);
  if (x == 0.0) {
    WriteZero(text, n - 1, tidy);
    return;
  }
  const int count = std::min(n, kFloatDigits);
  const double a = std::fabs(x);
  const Decimal d = Round(Render(a, count), count);
  int exponent = d.exponent;
  int integer = 1;
  if (engineering) {
    const int shift = ((exponent % 3) + 3) % 3;
    exponent -= shift;
    integer = shift + 1;
  }
  if (x < 0) text.Put('-');
  PutDigits(text, d, 0, integer);
  if (n > integer) {
    text.Put('.');
    PutFraction(text, d, integer, n, tidy);
  }
  AppendExponent(text, exponent, tidy);
}

// Fixed form with `places` decimals. Tidied as WriteExponentForm, and without a point that
// ends the text; a value that rounds to zero keeps its sign only with decimals ("-0.0").
void WriteFixed(Writer& text, int places, double x, bool tidy = false) {
  if (!std::isfinite(x)) {
    text.Put("Infinite");
    return;
  }
  places = std::min(places, kMaxPlaces);
  const int decimals = std::max(places, 0);
  auto zero = [&](bool negative) {  // tidied, "-0" is "0"
    if (negative && (!tidy || places > 0)) text.Put('-');
    WriteZero(text, places, tidy);
  };
  if (x == 0.0) {
    zero(false);
    return;
  }
  // Significant digits down to the last place, counted from the place of the first digit. For a
  // value just below a power of ten whose digits round to it, one place lower would give the
  // same text: the same "1" and zeros, or zero where the half test rounds down.
  const Rendering r = Render(std::fabs(x), kFixedDigits);
  const int wanted = r.exponent + 1 + decimals;
  Decimal d;
  if (wanted <= 0) {
    // Rounds to zero or to one unit in the last place.
    if (wanted < 0 || !HalfOrMore(r)) {
      zero(x < 0);
      return;
    }
    d.digits[0] = '1';
    d.count = 1;
    d.exponent = -decimals;
  } else {
    d = Round(r, std::min(wanted, kFixedDigits));
  }
  // Lay the digits out around the point; digits past the rounded ones are zeros.
  if (x < 0) text.Put('-');
  PutDigits(text, d, d.exponent - std::max(d.exponent, 0), d.exponent + 1);
  if (places > 0 || (places == 0 && !tidy)) text.Put('.');
  if (places > 0) PutFraction(text, d, d.exponent + 1, d.exponent + 1 + decimals, tidy);
}

// Integer digits used by the field-width tests: the table value, except for
// values whose integer part is longer than the table reaches.
int FieldIntegerDigits(double a) {
  const int n = IntegerDigits(a);
  if (a >= 1e22) return static_cast<int>(std::floor(std::log10(a))) + 1;
  return n;
}

// The number tidy from `in` into `out`, which holds at least in.size() + 1 characters.
void Tidy(bool stripZeros, std::string_view in, Writer& out) {
  int state = 0;
  std::size_t pending = 0;  // zeros held back in a fraction
  auto zero = [&](std::size_t& held) {
    if (stripZeros) {
      ++held;
    } else {
      out.Put('0');
    }
  };
  bool hasSign = false;  // a sign has been written
  // Zeros of an all-zero exponent written at once (zeros kept): removed with their "E" at the
  // end, so "1.5E+00" is 1.5 and not the broken "1.5E+".
  std::size_t exponentZeros = 0;
  for (const char c : in) {
    const bool sign = c == '-' || c == '+';
    const bool point = c == '.';
    const bool nought = c == '0';
    const bool digit = c >= '1' && c <= '9';
    const bool expo = c == 'E' || c == 'e';
    switch (state) {
      case 0:
      case 1:
      case 2:
        if (sign && state != 1) {
          // After "-0" a second sign would make "--": it is dropped.
          if (!hasSign) out.Put(c);
          hasSign = true;
          state = 1;
        } else if (point) {
          out.Put("0.");
          state = 4;
        } else if (nought) {
          state = 2;
        } else if (digit) {
          out.Put(c);
          state = 3;
        }
        break;
      case 3:
        if (point) {
          out.Put(c);
          state = 4;
        } else if (nought || digit) {
          out.Put(c);
        } else if (expo) {
          out.Put(c);
          state = 5;
        }
        break;
      case 4:
        if (nought || digit) {
          out.Put(c);
          state = 6;
        } else if (expo) {
          out.Put(c);
          state = 5;
        }
        break;
      case 6:
        if (nought) {
          zero(pending);
        } else if (digit) {
          out.Repeat('0', pending);
          pending = 0;
          out.Put(c);
        } else if (expo) {
          pending = 0;
          out.Put(c);
          state = 5;
        }
        break;
      case 5:
      case 7:
      case 8:
      case 9: {
        std::size_t lost = 0;  // exponent zeros are never written later
        if (sign && state == 5) {
          out.Put(c);
          state = 7;
        } else if (nought) {
          zero(lost);
          if (!stripZeros) ++exponentZeros;
          state = (state == 5 || state == 8) ? 8 : 9;
        } else if (digit) {
          out.Put(c);
          state = 10;
        }
        break;
      }
      case 10:
        if (nought || digit) out.Put(c);
        break;
      default:
        break;
    }
  }
  // End of text.
  switch (state) {
    case 4:
    case 5:
    case 8:
      out.Drop(1 + (state == 8 ? exponentZeros : 0));
      break;
    case 7:
    case 9:
      out.Drop(2 + (state == 9 ? exponentZeros : 0));
      break;
    default:
      break;
  }
  // A lone sign is no number either.
  if (!HasDigit(out.View())) {
    out.Drop(out.View().size());
    out.Put('0');
  }
}

std::string_view Constant(NumberBuffer& buffer, std::string_view text) {
  Writer out(buffer);
  out.Put(text);
  return out.View();
}

}  // namespace

double SmallThreshold() noexcept { return small_threshold; }

void SetSmallThreshold(double value) noexcept {
  if (value >= 1e-6 && value <= 1.0) small_threshold = value;
}

int IntegerDigits(double a) noexcept { return LastProbe(kIntegerDigitTable, a); }

int LeadingZeros(double a) noexcept { return 21 - LastProbe(kLeadingZeroTable, a); }

void RealToFloat(std::string& text, int digits, double x) {
  NumberBuffer buffer;
  Writer w(buffer);
  WriteExponentForm(w, digits, x, false);
  text.assign(w.View());
}

void RealToEng(std::string& text, int digits, double x) {
  NumberBuffer buffer;
  Writer w(buffer);
  WriteExponentForm(w, digits, x, true);
  text.assign(w.View());
}

void RealToFixed(std::string& text, int places, double x) {
  NumberBuffer buffer;
  Writer w(buffer);
  WriteFixed(w, places, x);
  text.assign(w.View());
}

std::string_view LRtoChars(NumberBuffer& buffer, int precision, int width, double x) {
  // The tidy would turn "Infinite" into "0".
  if (!std::isfinite(x)) return Constant(buffer, "Infinite");
  if (precision == 0) precision = 21;
  const int s = x < 0 ? 1 : 0;
  if (x == 0.0) return Constant(buffer, "0");
  Writer text(buffer);
  if (width == 0) {
    WriteExponentForm(text, 17, x, false, true);
    return text.View();
  }
  const double a = std::fabs(x);
  const int e = a < 9.9e9 ? 1 : (a < 9.9e99 ? 2 : 3);
  if (a >= small_threshold) {
    const int n = FieldIntegerDigits(a);
    if (width < s + n + 2) {
      WriteExponentForm(text, std::max(width - s - 3 - e, 1), x, true, true);
    } else {
      WriteFixed(text, std::min(precision, width - s - n - 2), x, true);
    }
  } else {
    WriteExponentForm(text, std::max(width - s - 4 - e, 1), x, true, true);
  }
  return text.View();
}

std::string_view LONGREALtoChars(NumberBuffer& buffer, int digits, double x) {
  if (!std::isfinite(x)) return Constant(buffer, "Infinite");
  if (x == 0.0) return Constant(buffer, "0");
  Writer text(buffer);
  if (digits == 0) {
    WriteExponentForm(text, 17, x, false, true);
    return text.View();
  }
  const double a = std::fabs(x);
  if (a >= small_threshold) {
    const int m = FieldIntegerDigits(a);
    if (m == 0) {
      WriteFixed(text, LeadingZeros(a) + digits, x, true);
    } else if (digits + 1 < m) {
      WriteExponentForm(text, digits, x, true, true);
    } else if (m < digits) {
      WriteFixed(text, digits - m, x, true);
    } else {
      WriteFixed(text, 1, x, true);
    }
  } else {
    WriteExponentForm(text, digits, x, true, true);
  }
  return text.View();
}

void LRtoStr(std::string& text, int precision, int width, double x, std::size_t capacity) {
  if (capacity < kMinNumberText) Raise(kModule, "FE.LRtoStr()", 1);
  NumberBuffer buffer;
  text.assign(LRtoChars(buffer, precision, width, x).substr(0, capacity));
}

void LONGREALtoStr(std::string& text, int digits, double x, std::size_t capacity) {
  if (capacity < kMinNumberText) Raise(kModule, "FE.LONGREALtoStr() string too small", 8);
  NumberBuffer buffer;
  text.assign(LONGREALtoChars(buffer, digits, x).substr(0, capacity));
}

void TidyNumber(bool stripZeros, std::string& text) {
  if (text.size() < kNumberBuffer) {
    NumberBuffer buffer;
    Writer out(buffer);
    Tidy(stripZeros, text, out);
    text.assign(out.View());
    return;
  }
  std::string tidied(text.size() + 1, '\0');  // a long typed text: rare
  Writer out(tidied.data(), tidied.size());
  Tidy(stripZeros, text, out);
  tidied.resize(out.View().size());
  text = std::move(tidied);
}

bool HasDigit(std::string_view text) noexcept {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool StrToReal(std::string_view text, double& x) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t number = i;
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  // Order of magnitude of the mantissa, to tell an overflow from an underflow.
  int order = std::numeric_limits<int>::min();
  int integerDigits = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (text[i] != '0' || integerDigits > 0) ++integerDigits;
  }
  if (i == number) return false;
  if (integerDigits > 0) order = integerDigits - 1;
  if (i < text.size() && text[i] == '.') {
    ++i;
    int position = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      ++position;
      if (text[i] != '0' && order == std::numeric_limits<int>::min()) order = -position;
    }
  }
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool expNegative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
      expNegative = text[i] == '-';
      ++i;
    }
    const std::size_t expDigits = i;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
    }
    if (i == expDigits) return false;
    if (expNegative) exponent = -exponent;
  }
  if (i != text.size()) return false;
  double value = 0.0;
  const auto r = std::from_chars(text.data() + number, text.data() + text.size(), value,
                                 std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (order == std::numeric_limits<int>::min() || order + exponent > 0) return false;  // overflow
    value = 0.0;                                                                           // underflow
  } else if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value)) {
    return false;
  }
  x = negative ? -value : value;
  return true;
}

bool StrToInt(std::string_view text, std::int64_t& x) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size() || text[i] < '0' || text[i] > '9') return false;
  // Parsed as magnitude so that the most negative value still fits.
  std::uint64_t magnitude = 0;
  const auto r = std::from_chars(text.data() + i, text.data() + text.size(), magnitude);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (magnitude > kMax + (negative ? 1U : 0U)) return false;
  x = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

// ---- beep --------------------------------------------------------------------------

namespace {
thread_local BeepSink beep_sink;
}  // namespace

void SetBeep(BeepSink beep) { beep_sink = std::move(beep); }

void Beep() {
  if (beep_sink) beep_sink();
}

ScopedBeepCount::ScopedBeepCount() : previous_(std::move(beep_sink)) {
  beep_sink = [this] { ++count_; };
}

ScopedBeepCount::~ScopedBeepCount() { beep_sink = std::move(previous_); }

}  // namespace qmx::FE
