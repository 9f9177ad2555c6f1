#pragma once
// FE: number texts, the number tidy, text-to-number conversion, the "%"
// text formatter, small text utilities, date and time texts, the
// days:hours:minutes:seconds form of times, the stored pass-phrase constant
// and the beep.
//
// "Text by reference" operations write a std::string. Where the destination
// has a fixed size in the calling record (a DVal text holds 31 characters)
// the caller passes that size as `capacity`: a capacity below the minimum
// raises, a longer result is cut to it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace qmx::FE {

inline constexpr std::string_view kModule = "FE";

// ---- number texts -------------------------------------------------------------

// Smallest number text destination accepted by LRtoStr and LONGREALtoStr.
inline constexpr std::size_t kMinNumberText = 12;
// Capacity meaning "no limit".
inline constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

// Below this magnitude numbers are written in exponent form (1e-4 after start;
// per thread). The setter ignores values outside 1e-6 ... 1.
double SmallThreshold() noexcept;
void SetSmallThreshold(double value) noexcept;

// Integer digits n(a) and leading zeros z(a) of a >= 0 by the table bisection:
// n(5) = 0, n(9) = 1, n(99) = 3, n(1234.5) = 3; z(0.05) = 2, z(0.001) = 3.
int IntegerDigits(double a) noexcept;
int LeadingZeros(double a) noexcept;

// Basic conversions. Infinity and NaN give "Infinite"; zero gives "0" and the
// decimals of the form. Digits are correctly rounded (half away from zero).
// "-d.dddE+ddd" with `digits` significant digits (0 means 15).
void RealToFloat(std::string& text, int digits, double x);
// As RealToFloat with the exponent a multiple of 3 and one to three integer digits.
void RealToEng(std::string& text, int digits, double x);
// "-ddd.ddd" with `places` decimals (no point when places < 0); digits after the
// 15th significant digit are "0".
void RealToFixed(std::string& text, int places, double x);

// Width/precision format of DVal/RVal texts and "%r" (precision 0 means 21,
// width 0 the 17-digit exponent form), tidied. Raises "FE.LRtoStr()" (1) when
// capacity < 12.
void LRtoStr(std::string& text, int precision, int width, double x,
             std::size_t capacity = kUnlimited);
// Significant-digit format (digits 0: the 17-digit exponent form), tidied.
// Raises "FE.LONGREALtoStr() string too small" (8) when capacity < 12.
void LONGREALtoStr(std::string& text, int digits, double x, std::size_t capacity = kUnlimited);

// Fixed buffer of the number writers below: holds any text they write (a sign, 309 integer
// digits, the point and 400 decimals at most).
inline constexpr std::size_t kNumberBuffer = 768;
using NumberBuffer = std::array<char, kNumberBuffer>;

// LRtoStr and LONGREALtoStr written into a caller's buffer without heap allocation; the text
// is a view of the buffer. No capacity limit applies.
std::string_view LRtoChars(NumberBuffer& buffer, int precision, int width, double x);
std::string_view LONGREALtoChars(NumberBuffer& buffer, int digits, double x);

// Keeps only the characters of a number ("12 psi" -> "12", "-007.50" -> "-7.5",
// "1.5000E+003" -> "1.5E+3"); with stripZeros false zeros are kept. Never empty.
void TidyNumber(bool stripZeros, std::string& text);
// True when the text holds a decimal digit.
bool HasDigit(std::string_view text) noexcept;

// Text to number: optional leading blanks, optional sign, digits, optional "."
// and digits, optional "E"/"e" with optional sign and digits. Anything left over,
// an empty text or an overflow fails; `x` is then unchanged.
bool StrToReal(std::string_view text, double& x) noexcept;
// Whole number: optional leading blanks, optional sign, digits, nothing after.
bool StrToInt(std::string_view text, std::int64_t& x) noexcept;

// ---- list items -----------------------------------------------------------------

// Item `index` (from 0) of `text`, items separated by any character of `separators`
// (an empty item between two separators counts). `item` is cut to `capacity`
// characters. `last` is true when the item runs to the end of the text or the text
// ended before it (then `item` is empty).
void GetItem(bool& last, int index, std::string_view separators, std::string_view text,
             std::string& item, std::size_t capacity = std::string::npos);

// The 0-based number of the first item of `text` equal to `key`; false (index
// unchanged) when no item matches.
bool FindItem(int& index, std::string_view separators, std::string_view key, std::string_view text);

// ---- character filters --------------------------------------------------------

// Deletes every character of `set` from `text`.
void RemoveChars(std::string_view set, std::string& text);
// Deletes every character not in `set` from `text`.
void KeepChars(std::string_view set, std::string& text);
// Replaces each `oldChar` by `newChar`.
void ReplaceChar(char newChar, char oldChar, std::string& text);

// A single blank followed by another character stays, a single blank at the end is
// dropped, every run of two or more blanks becomes one `separator`.
void BlanksToSeparator(char separator, std::string& text);
// Every run of n >= 2 blanks loses one blank; single blanks stay.
void ShrinkBlankRuns(std::string& text);

// ---- dates ----------------------------------------------------------------------

struct DateTime {
  int year = 2000;
  int month = 1;  // 1-12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Source of the local time used by DateStr and DateStamp.
using Clock = std::function<DateTime()>;
// Installs a clock for this thread; an empty function restores the system clock.
void SetClock(Clock clock);
// The current local time from the installed clock.
DateTime Now();

// Installs a clock for the lifetime of the object and restores the previous one.
class ScopedClock {
 public:
  explicit ScopedClock(Clock clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock previous_;
};

// date "5-Dec-14" (two-digit year), time "9:05".
void DateTimeStrings(std::string& time, std::string& date, const DateTime& when);
// Today as "5-Dec-14" (year - 2000 without leading zeros: "5-Dec-5").
void DateStr(std::string& text);
// Now as "5Dec14_93015": day, month name, two-digit year, "_", hour, minute, second.
void DateStamp(std::string& text);

// ---- days:hours:minutes:seconds ---------------------------------------------------

// "d:h:m:s" with the seconds written by RealToFixed with `decimals` places
// ("1:1:1:1.5"); leading fields that are zero are left out ("59.25").
void SecondsToDHMS(std::string& text, int decimals, double t);
// Reads the form written by SecondsToDHMS back into seconds ("1:1:1:1.5" gives
// 90061.5, "90" gives 90). False, with `seconds` unchanged, when no number was read.
bool DHMStoSeconds(double& seconds, std::string_view text);

// ---- stored constant --------------------------------------------------------------

// Number of characters of the stored constant.
inline constexpr int kStdPwdLength = 756;
// The piece [start, start + length) of the stored constant; raises
// "FE.StdPwd() overrun" (7) when the piece does not lie inside it.
void StdPwd(std::string& text, int start, int length);

// ---- text formatter ---------------------------------------------------------------

// Longest formatter output.
inline constexpr std::size_t kFormatLimit = 600;
// Most arguments of one FmtTo... call.
inline constexpr std::size_t kMaxFormatArgs = 5;

// A set of `size` bytes (1, 2, 4 or 8) given by its bits; "%h"/"%n" write the
// number the bits form.
struct BitSet {
  std::uint64_t bits = 0;
  std::uint8_t size = 2;
};

// The value of one formatter argument; its size in bytes decides which
// conversions accept it (a string's size is its length).
using ArgValue = std::variant<std::int8_t, std::int16_t, std::int32_t, std::int64_t, std::uint8_t,
                              std::uint16_t, std::uint32_t, std::uint64_t, float, double,
                              std::string_view, char, bool, BitSet>;

// One formatter argument, made implicitly from a C++ value. Strings are held by
// view: an Arg lives only for the call it is passed to.
struct Arg {
  ArgValue value;
  Arg(signed char v) : value(static_cast<std::int8_t>(v)) {}
  Arg(short v) : value(static_cast<std::int16_t>(v)) {}
  Arg(int v) : value(static_cast<std::int32_t>(v)) {}
  Arg(long v) : value(static_cast<std::int64_t>(v)) {}
  Arg(long long v) : value(static_cast<std::int64_t>(v)) {}
  Arg(unsigned char v) : value(static_cast<std::uint8_t>(v)) {}
  Arg(unsigned short v) : value(static_cast<std::uint16_t>(v)) {}
  Arg(unsigned v) : value(static_cast<std::uint32_t>(v)) {}
  Arg(unsigned long v) : value(static_cast<std::uint64_t>(v)) {}
  Arg(unsigned long long v) : value(static_cast<std::uint64_t>(v)) {}
  Arg(float v) : value(v) {}
  Arg(double v) : value(v) {}
  Arg(char v) : value(v) {}
  Arg(bool v) : value(v) {}
  Arg(BitSet v) : value(v) {}
  Arg(std::string_view v) : value(v) {}
  Arg(const std::string& v) : value(std::string_view(v)) {}
  Arg(const char* v) : value(std::string_view(v != nullptr ? v : "")) {}
  // Size in bytes as the formatter sees it.
  std::size_t Size() const noexcept;
};

// Copies `format` to `output` with "\" escapes and "%" directives replaced,
// at most kFormatLimit characters:
//   \b \f \e \n (CR LF) \t, "\" and up to three digits (a character code),
//   "\" and any other character: that character;
//   %[-|0][width][.precision]letter, width and precision up to three digits
//   (precision default 5), letters i u h n r s c b in either case, any other
//   letter writes itself. Each directive takes the next argument and writes
//   nothing once they are used up; an argument of a size the letter does not
//   accept writes "#" width times (once without a width).
void FormatText(std::span<const Arg> args, std::string_view format, std::string& output);

namespace detail {
void FmtToTerminal(std::string_view format, std::initializer_list<Arg> args);
std::string FmtToString(std::string_view format, std::initializer_list<Arg> args);
bool FmtToFile(std::ostream& file, std::string_view format, std::initializer_list<Arg> args);
}  // namespace detail

// Formats and writes the text as one trace line (numerics/trace.hpp; discarded
// unless a sink is installed).
template <class... A>
void FmtToTerminal(std::string_view format, const A&... args) {
  static_assert(sizeof...(A) <= kMaxFormatArgs, "at most 5 formatter arguments");
  detail::FmtToTerminal(format, {Arg(args)...});
}

// The formatted text.
template <class... A>
std::string FmtToString(std::string_view format, const A&... args) {
  static_assert(sizeof...(A) <= kMaxFormatArgs, "at most 5 formatter arguments");
  return detail::FmtToString(format, {Arg(args)...});
}

// Writes the formatted text to an open file when it is not empty; false when the
// stream has failed.
template <class... A>
bool FmtToFile(std::ostream& file, std::string_view format, const A&... args) {
  static_assert(sizeof...(A) <= kMaxFormatArgs, "at most 5 formatter arguments");
  return detail::FmtToFile(file, format, {Arg(args)...});
}

// ---- beep -------------------------------------------------------------------------

// The exclamation beep of refused entries and meter warnings. By default it does
// nothing (no sound device); a program or test installs its own (per thread).
using BeepSink = std::function<void()>;
void SetBeep(BeepSink beep);
void Beep();

// Counts the beeps sounded during its lifetime; restores the previous beep after.
class ScopedBeepCount {
 public:
  ScopedBeepCount();
  ~ScopedBeepCount();
  ScopedBeepCount(const ScopedBeepCount&) = delete;
  ScopedBeepCount& operator=(const ScopedBeepCount&) = delete;
  int count() const noexcept { return count_; }

 private:
  BeepSink previous_;
  int count_ = 0;
};

}  // namespace qmx::FE
