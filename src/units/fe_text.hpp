#pragma once
// Small text utilities of the FE module: list items, character filters, blank
// runs, date and time texts, the days:hours:minutes:seconds form of times and
// the stored pass-phrase constant.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qmx::FE {

// ---- list items -------------------------------------------------------------

// Item `index` (from 0) of `text`, items separated by any character of `separators`
// (an empty item between two separators counts). `item` is cut to `capacity`
// characters. `last` is true when the item runs to the end of the text or the text
// ended before it (then `item` is empty).
void GetItem(bool& last, int index, std::string_view separators, std::string_view text,
             std::string& item, std::size_t capacity = std::string::npos);

// The 0-based number of the first item of `text` equal to `key`; false (index
// unchanged) when no item matches.
bool FindItem(int& index, std::string_view separators, std::string_view key, std::string_view text);

// ---- character filters ------------------------------------------------------

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

// ---- dates ------------------------------------------------------------------

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

// ---- days:hours:minutes:seconds ----------------------------------------------

// "d:h:m:s" with the seconds written with `decimals` places ("1:1:1:1.5"); leading
// fields that are zero are left out ("59.25"). A negative time gets a leading "-";
// infinity and NaN give "Infinite".
void SecondsToDHMS(std::string& text, int decimals, double t);
// Reads the form written by SecondsToDHMS back into seconds ("1:1:1:1.5" gives
// 90061.5, "90" gives 90). False, with `seconds` unchanged, when the text is not
// of that form.
bool DHMStoSeconds(double& seconds, std::string_view text);

// ---- stored constant ---------------------------------------------------------

// Number of characters of the stored constant.
inline constexpr int kStdPwdLength = 756;
// The piece [start, start + length) of the stored constant; raises
// "FE.StdPwd() overrun" (7) when the piece does not lie inside it.
void StdPwd(std::string& text, int start, int length);

}  // namespace qmx::FE
