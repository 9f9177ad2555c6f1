#include "units/fe.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <utility>

#include "numerics/error.hpp"

namespace qmx::FE {

// ---- list items -------------------------------------------------------------

namespace {

bool IsSeparator(std::string_view separators, char c) {
  return separators.find(c) != std::string_view::npos;
}

}  // namespace

void GetItem(bool& last, int index, std::string_view separators, std::string_view text,
             std::string& item, std::size_t capacity) {
  item.clear();
  last = true;
  if (index < 0) return;
  std::size_t begin = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t sep = text.find_first_of(separators, begin);
    if (sep == std::string_view::npos) return;  // the text ended before the item
    begin = sep + 1;
  }
  const std::size_t end = text.find_first_of(separators, begin);
  last = end == std::string_view::npos;
  const std::string_view piece = text.substr(begin, last ? std::string_view::npos : end - begin);
  item.assign(piece.substr(0, capacity));
}

bool FindItem(int& index, std::string_view separators, std::string_view key, std::string_view text) {
  std::size_t begin = 0;
  for (int i = 0;; ++i) {
    const std::size_t end = text.find_first_of(separators, begin);
    const std::string_view piece = text.substr(begin, end == std::string_view::npos ? end : end - begin);
    if (piece == key) {
      index = i;
      return true;
    }
    if (end == std::string_view::npos) return false;
    begin = end + 1;
  }
}

// ---- character filters ------------------------------------------------------

void RemoveChars(std::string_view set, std::string& text) {
  std::erase_if(text, [set](char c) { return IsSeparator(set, c); });
}

void KeepChars(std::string_view set, std::string& text) {
  std::erase_if(text, [set](char c) { return !IsSeparator(set, c); });
}

void ReplaceChar(char newChar, char oldChar, std::string& text) {
  for (char& c : text)
    if (c == oldChar) c = newChar;
}

void BlanksToSeparator(char separator, std::string& text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != ' ') {
      out.push_back(text[i++]);
      continue;
    }
    std::size_t run = 0;
    while (i < text.size() && text[i] == ' ') {
      ++run;
      ++i;
    }
    if (run >= 2)
      out.push_back(separator);
    else if (i < text.size())
      out.push_back(' ');  // a single blank at the end is dropped
  }
  text = std::move(out);
}

void ShrinkBlankRuns(std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // The second blank of a run is the one preceded by a blank that starts the run.
    const bool second = text[i] == ' ' && i >= 1 && text[i - 1] == ' ' && (i < 2 || text[i - 2] != ' ');
    if (!second) out.push_back(text[i]);
  }
  text = std::move(out);
}

// ---- dates ------------------------------------------------------------------

namespace {

thread_local Clock clockSlot;

DateTime SystemNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return DateTime{};
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     local.tm_sec};
}

constexpr std::string_view kMonths = "??? Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec";

std::string MonthName(int month) {
  bool last = false;
  std::string name;
  GetItem(last, month >= 1 && month <= 12 ? month : 0, " ", kMonths, name);
  return name;
}

// The year as two digits: year - 2000 with a leading "0" below 10. Years before
// 2000 use their last two digits instead of a negative number.
std::string TwoDigitYear(int year) {
  const int yy = year >= 2000 ? year - 2000 : ((year % 100) + 100) % 100;
  return (yy < 10 ? "0" : "") + std::to_string(yy);
}

}  // namespace

void SetClock(Clock clock) { clockSlot = std::move(clock); }

DateTime Now() { return clockSlot ? clockSlot() : SystemNow(); }

ScopedClock::ScopedClock(Clock clock) : previous_(std::move(clockSlot)) { clockSlot = std::move(clock); }

ScopedClock::~ScopedClock() { clockSlot = std::move(previous_); }

void DateTimeStrings(std::string& time, std::string& date, const DateTime& when) {
  date = std::to_string(when.day) + "-" + MonthName(when.month) + "-" + TwoDigitYear(when.year);
  time = std::to_string(when.hour) + ":" + (when.minute < 10 ? "0" : "") + std::to_string(when.minute);
}

void DateStr(std::string& text) {
  const DateTime now = Now();
  const int yy = now.year >= 2000 ? now.year - 2000 : ((now.year % 100) + 100) % 100;
  text = std::to_string(now.day) + "-" + MonthName(now.month) + "-" + std::to_string(yy);
}

void DateStamp(std::string& text) {
  const DateTime now = Now();
  text = std::to_string(now.day) + MonthName(now.month) + TwoDigitYear(now.year) + "_" +
         std::to_string(now.hour) + std::to_string(now.minute) + std::to_string(now.second);
}

// ---- days:hours:minutes:seconds ----------------------------------------------

namespace {

// A whole number of days, hours or minutes as text without leading zeros.
std::string WholeNumber(double n) {
  if (n < 1e15) return std::to_string(static_cast<long long>(n));
  std::string text;
  RealToFixed(text, -1, n);
  return text;
}

}  // namespace

void SecondsToDHMS(std::string& text, int decimals, double t) {
  if (!std::isfinite(t)) {
    text = "Infinite";
    return;
  }
  const bool negative = t < 0;
  t = std::fabs(t);
  // Round to the written places first (as the seconds will be written) so that
  // the seconds never show as "60".
  if (t < 1e15) {
    std::string rounded;
    RealToFixed(rounded, decimals, t);
    double back = 0;
    if (StrToReal(rounded, back)) t = back;
  }
  const bool sign = negative && t > 0;  // no "-" on a time that shows as zero
  double days = 0, hours = 0, minutes = 0;
  if (t >= 86400) {
    const double rest = std::fmod(t, 86400);
    days = std::round((t - rest) / 86400);
    t = rest;
  }
  if (t >= 3600) {
    hours = std::floor(t / 3600);
    t -= hours * 3600;
  }
  if (t >= 60) {
    minutes = std::floor(t / 60);
    t -= minutes * 60;
  }
  std::string out = sign ? "-" : "";
  if (days > 0) out += WholeNumber(days) + ":" + WholeNumber(hours) + ":" + WholeNumber(minutes) + ":";
  else if (hours > 0) out += WholeNumber(hours) + ":" + WholeNumber(minutes) + ":";
  else if (minutes > 0) out += WholeNumber(minutes) + ":";
  std::string seconds;
  RealToFixed(seconds, decimals, t);
  text = out + seconds;
}

bool DHMStoSeconds(double& seconds, std::string_view text) {
  constexpr std::array<double, 4> kMultiplier{1, 60, 3600, 86400};
  // Blanks around the text and around each field are allowed.
  auto trim = [](std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  };
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text = trim(text.substr(1));
  }
  double total = 0;
  std::size_t field = 0;
  std::size_t end = text.size();
  // Fields from the end: seconds, minutes, hours, days.
  for (;; ++field) {
    if (field >= kMultiplier.size()) return false;
    const std::size_t colon = end == 0 ? std::string_view::npos : text.rfind(':', end - 1);
    const std::size_t begin = colon == std::string_view::npos ? 0 : colon + 1;
    const std::string_view piece = trim(text.substr(begin, end - begin));
    if (piece.empty()) return false;
    // Digits, and in the seconds field at most one decimal point.
    bool digits = false, point = false;
    for (char c : piece) {
      if (c >= '0' && c <= '9') {
        digits = true;
      } else if (c == '.' && !point && field == 0) {
        point = true;
      } else {
        return false;
      }
    }
    if (!digits) return false;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (ec != std::errc() || ptr != piece.data() + piece.size()) return false;
    total += value * kMultiplier[field];
    if (colon == std::string_view::npos) break;
    end = colon;
  }
  if (!std::isfinite(total)) return false;
  seconds = negative ? -total : total;
  return true;
}

// ---- stored constant ---------------------------------------------------------

namespace {

// The stored constant: letters and digits from a fixed pseudo-random sequence.
constexpr std::array<char, kStdPwdLength> MakeStdPwd() {
  constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::array<char, kStdPwdLength> out{};
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  for (char& c : out) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    c = kAlphabet[(state >> 32) % kAlphabet.size()];
  }
  return out;
}

constexpr std::array<char, kStdPwdLength> kStdPwd = MakeStdPwd();

}  // namespace

void StdPwd(std::string& text, int start, int length) {
  if (start < 0 || length < 0 || start > kStdPwdLength - length) Raise("FE", "FE.StdPwd() overrun", 7);
  text.assign(kStdPwd.data() + start, static_cast<std::size_t>(length));
}

}  // namespace qmx::FE
