#pragma once
// The number writers as they were before they moved to fixed buffers: the digits of every
// rounding from the exact decimal expansion of the double, written into std::string. Kept as
// the reference the buffer writers are compared with, text for text.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::test::reference {

using FE::IntegerDigits;
using FE::LeadingZeros;
using FE::kMinNumberText;
using FE::kModule;
using FE::HasDigit;

inline void TidyNumber(bool stripZeros, std::string& text);

namespace detail {

// digits and the decimal exponent of the first one.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// Scratch for the exact expansion of a double (at most 767 significant digits).
constexpr int kExactPrecision = 780;

// Splits a to_chars scientific text "d.dddde±xx" into its digits and exponent.
inline void SplitScientific(std::string_view sci, Decimal& out) {
  out.digits.clear();
  std::size_t i = 0;
  for (; i < sci.size() && sci[i] != 'e'; ++i) {
    if (sci[i] != '.') out.digits.push_back(sci[i]);
  }
  int exponent = 0;
  if (i + 1 < sci.size()) {
    const char* first = sci.data() + i + 1;
    if (*first == '+') ++first;
    std::from_chars(first, sci.data() + sci.size(), exponent);
  }
  out.exponent = exponent;
}

inline void Scientific(double a, int digits, Decimal& out) {
  std::array<char, kExactPrecision + 16> buf;  // to_chars writes what is read back
  const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), a, std::chars_format::scientific,
                               digits - 1);
  SplitScientific(std::string_view(buf.data(), static_cast<std::size_t>(r.ptr - buf.data())), out);
}

// Adds one unit in the last digit, carrying; a carry out of the first digit
// raises the exponent.
inline void IncrementLast(Decimal& d) {
  for (std::size_t i = d.digits.size(); i-- > 0;) {
    if (d.digits[i] != '9') {
      ++d.digits[i];
      return;
    }
    d.digits[i] = '0';
  }
  d.digits.insert(d.digits.begin(), '1');
  d.digits.pop_back();
  ++d.exponent;
}

// `count` (1 ... 17) significant digits of a > 0, rounded half away from zero.
// to_chars rounds exact ties to even, so a tie is detected from the exact
// expansion and rounded up.
inline Decimal Significant(double a, int count) {
  Decimal d;
  Scientific(a, count, d);
  Decimal longer;
  Scientific(a, count + 1, longer);
  if (longer.digits.back() == '5') {
    // Only a 5 followed by zeros can be a tie: 20 more digits settle almost every case before
    // the full expansion is written.
    Decimal probe;
    Scientific(a, count + 21, probe);
    const std::string_view tail = std::string_view(probe.digits).substr(static_cast<std::size_t>(count));
    if (tail.front() != '5' || tail.find_first_not_of('0', 1) != std::string_view::npos) return d;
    Decimal exact;
    Scientific(a, kExactPrecision, exact);
    const std::string_view rest = std::string_view(exact.digits).substr(static_cast<std::size_t>(count));
    const bool tie = !rest.empty() && rest.front() == '5' &&
                     rest.find_first_not_of('0', 1) == std::string_view::npos;
    if (tie) {
      exact.digits.resize(static_cast<std::size_t>(count));
      IncrementLast(exact);
      return exact;
    }
  }
  return d;
}

// Digits beyond these counts are written as "0".
constexpr int kFloatDigits = 17;
constexpr int kFixedDigits = 15;
// Bound on digits and places: beyond this every digit of a double is zero.
constexpr int kMaxPlaces = 400;

inline void AppendExponent(std::string& text, int exponent) {
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  const int e = std::abs(exponent);
  text.push_back(static_cast<char>('0' + e / 100 % 10));
  text.push_back(static_cast<char>('0' + e / 10 % 10));
  text.push_back(static_cast<char>('0' + e % 10));
}

// "0" followed by `decimals` decimals.
inline void WriteZero(std::string& text, int decimals) {
  text = "0";
  if (decimals > 0) {
    text.push_back('.');
    text.append(static_cast<std::size_t>(decimals), '0');
  }
}

inline int ClampDigits(int digits) {
  if (digits == 0) return 15;
  return std::clamp(digits, 1, kMaxPlaces);
}

// Exponent form with `integerDigits` (1 ... 3) digits before the point.
inline void WriteExponentForm(std::string& text, int digits, double x, bool engineering) {
  text.clear();
  if (!std::isfinite(x)) {
    text = "Infinite";
    return;
  }
  const int n = ClampDigits(digits);
  if (x == 0.0) {
    WriteZero(text, n - 1);
    return;
  }
  Decimal d = Significant(std::fabs(x), std::min(n, kFloatDigits));
  d.digits.resize(static_cast<std::size_t>(n), '0');
  int exponent = d.exponent;
  int integer = 1;
  if (engineering) {
    const int shift = ((exponent % 3) + 3) % 3;
    exponent -= shift;
    integer = shift + 1;
  }
  if (x < 0) text.push_back('-');
  for (int i = 0; i < integer; ++i) {
    text.push_back(i < n ? d.digits[static_cast<std::size_t>(i)] : '0');
  }
  if (n > integer) {
    text.push_back('.');
    text.append(d.digits, static_cast<std::size_t>(integer), std::string::npos);
  }
  AppendExponent(text, exponent);
}

inline void Cut(std::string& text, std::size_t capacity) {
  if (text.size() > capacity) text.resize(capacity);
}

// Integer digits used by the field-width tests: the table value, except for
// values whose integer part is longer than the table reaches.
inline int FieldIntegerDigits(double a) {
  const int n = IntegerDigits(a);
  if (a >= 1e22) return static_cast<int>(std::floor(std::log10(a))) + 1;
  return n;
}


}  // namespace detail

using namespace detail;

inline void RealToFloat(std::string& text, int digits, double x) { WriteExponentForm(text, digits, x, false); }

inline void RealToEng(std::string& text, int digits, double x) { WriteExponentForm(text, digits, x, true); }

inline void RealToFixed(std::string& text, int places, double x) {
  text.clear();
  if (!std::isfinite(x)) {
    text = "Infinite";
    return;
  }
  places = std::min(places, kMaxPlaces);
  if (x == 0.0) {
    WriteZero(text, places);
    return;
  }
  const double a = std::fabs(x);
  const int decimals = std::max(places, 0);
  // Significant digits down to the last place; the exponent comes from a
  // 17-digit rendering, which never rounds into the next decade.
  Decimal leading;
  Scientific(a, kFloatDigits, leading);
  const int exponent = leading.exponent;
  const int wanted = exponent + 1 + decimals;
  Decimal d;
  if (wanted <= 0) {
    // Rounds to zero or to one unit in the last place.
    bool up = false;
    if (wanted == 0) {
      Decimal exact;
      Scientific(a, kExactPrecision, exact);
      // Mended: a value whose 17 digits carried into the next decade starts one place lower
      // (9.99...e-15 of the double nearest 1e-14) and is below the half.
      up = exact.digits.front() >= '5' && exact.exponent == exponent;
    }
    d.digits = up ? "1" : "0";
    d.exponent = -decimals;
    if (!up) {
      WriteZero(text, places);
      if (x < 0) text.insert(text.begin(), '-');
      return;
    }
  } else {
    d = Significant(a, std::min(wanted, kFixedDigits));
  }
  // Lay the digits out around the point; digits past the rounded ones are zeros.
  auto digit = [&d](int power) {  // the digit of 10^power
    const int index = d.exponent - power;
    if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
  };
  if (x < 0) text.push_back('-');
  for (int power = std::max(d.exponent, 0); power >= 0; --power) text.push_back(digit(power));
  if (places >= 0) {
    text.push_back('.');
    for (int power = -1; power >= -decimals; --power) text.push_back(digit(power));
  }
}

inline void LRtoStr(std::string& text, int precision, int width, double x, std::size_t capacity = FE::kUnlimited) {
  if (capacity < kMinNumberText) Raise(kModule, "FE.LRtoStr()", 1);
  if (!std::isfinite(x)) {
    // The tidy would turn "Infinite" into "0".
    text = "Infinite";
    Cut(text, capacity);
    return;
  }
  if (precision == 0) precision = 21;
  const int s = x < 0 ? 1 : 0;
  if (x == 0.0) {
    text = "0";
    return;
  }
  if (width == 0) {
    RealToFloat(text, 17, x);
  } else {
    const double a = std::fabs(x);
    const int e = a < 9.9e9 ? 1 : (a < 9.9e99 ? 2 : 3);
    if (a >= FE::SmallThreshold()) {
      const int n = FieldIntegerDigits(a);
      if (width < s + n + 2) {
        RealToEng(text, std::max(width - s - 3 - e, 1), x);
      } else {
        RealToFixed(text, std::min(precision, width - s - n - 2), x);
      }
    } else {
      RealToEng(text, std::max(width - s - 4 - e, 1), x);
    }
  }
  TidyNumber(true, text);
  Cut(text, capacity);
}

inline void LONGREALtoStr(std::string& text, int digits, double x, std::size_t capacity = FE::kUnlimited) {
  if (capacity < kMinNumberText) Raise(kModule, "FE.LONGREALtoStr() string too small", 8);
  if (!std::isfinite(x)) {
    text = "Infinite";
    Cut(text, capacity);
    return;
  }
  if (x == 0.0) {
    text = "0";
    return;
  }
  if (digits == 0) {
    RealToFloat(text, 17, x);
  } else {
    const double a = std::fabs(x);
    if (a >= FE::SmallThreshold()) {
      const int m = FieldIntegerDigits(a);
      if (m == 0) {
        RealToFixed(text, LeadingZeros(a) + digits, x);
      } else if (digits + 1 < m) {
        RealToEng(text, digits, x);
      } else if (m < digits) {
        RealToFixed(text, digits - m, x);
      } else {
        RealToFixed(text, 1, x);
      }
    } else {
      RealToEng(text, digits, x);
    }
  }
  TidyNumber(true, text);
  Cut(text, capacity);
}

inline void TidyNumber(bool stripZeros, std::string& text) {
  std::string out;
  out.reserve(text.size() + 1);
  int state = 0;
  std::size_t pending = 0;  // zeros held back in a fraction
  auto zero = [&](std::size_t& held) {
    if (stripZeros) {
      ++held;
    } else {
      out.push_back('0');
    }
  };
  bool hasSign = false;  // a sign has been written
  // Zeros of an all-zero exponent written at once (zeros kept): removed with their "E" at the
  // end, so "1.5E+00" is 1.5 and not the broken "1.5E+".
  std::size_t exponentZeros = 0;
  for (const char c : text) {
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
          if (!hasSign) out.push_back(c);
          hasSign = true;
          state = 1;
        } else if (point) {
          out += "0.";
          state = 4;
        } else if (nought) {
          state = 2;
        } else if (digit) {
          out.push_back(c);
          state = 3;
        }
        break;
      case 3:
        if (point) {
          out.push_back(c);
          state = 4;
        } else if (nought || digit) {
          out.push_back(c);
        } else if (expo) {
          out.push_back(c);
          state = 5;
        }
        break;
      case 4:
        if (nought || digit) {
          out.push_back(c);
          state = 6;
        } else if (expo) {
          out.push_back(c);
          state = 5;
        }
        break;
      case 6:
        if (nought) {
          zero(pending);
        } else if (digit) {
          out.append(pending, '0');
          pending = 0;
          out.push_back(c);
        } else if (expo) {
          pending = 0;
          out.push_back(c);
          state = 5;
        }
        break;
      case 5:
      case 7:
      case 8:
      case 9: {
        std::size_t lost = 0;  // exponent zeros are never written later
        if (sign && state == 5) {
          out.push_back(c);
          state = 7;
        } else if (nought) {
          zero(lost);
          if (!stripZeros) ++exponentZeros;
          state = (state == 5 || state == 8) ? 8 : 9;
        } else if (digit) {
          out.push_back(c);
          state = 10;
        }
        break;
      }
      case 10:
        if (nought || digit) out.push_back(c);
        break;
      default:
        break;
    }
  }
  // End of text.
  auto drop = [&out](std::size_t count) { out.resize(out.size() - std::min(count, out.size())); };
  switch (state) {
    case 4:
    case 5:
    case 8:
      drop(1 + (state == 8 ? exponentZeros : 0));
      break;
    case 7:
    case 9:
      drop(2 + (state == 9 ? exponentZeros : 0));
      break;
    default:
      break;
  }
  // A lone sign is no number either.
  if (!HasDigit(out)) out = "0";
  text = std::move(out);
}


}  // namespace qmx::test::reference
