#pragma once
// Real value fields (FI): a dimensionless number of the calculation state with
// its display text, limits and input/output role, shown as a plain fraction, a
// percentage, parts per million or a days:hours:minutes:seconds time.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qmx::FI {

// Input/output role of a field (the same codes as a dimensioned value).
enum IOFlag : std::uint8_t { fIN = 0, fOUT = 1, fINOUT = 2 };

enum class DisplayMode : std::uint8_t { Fraction = 0, Percent = 1, PartsPerMillion = 2, Time = 3 };

inline constexpr std::int32_t kRValTag = 12345;

struct RVal {
  double value = 0;    // a fraction in percent and ppm mode, seconds in time mode
  double minimum = 0;  // lower limit, in force when minimumSet
  double maximum = 0;  // upper limit, in force when maximumSet
  std::int32_t tag = 0;
  std::int32_t aux = 0;  // free word for the owner
  bool valid = false;    // false: the invalid text is shown
  bool minimumSet = false;
  bool maximumSet = false;
  bool beep = false;
  DisplayMode mode = DisplayMode::Fraction;
  IOFlag io = fIN;
  std::uint8_t sigDigits = 5;  // 0: width/precision format
  std::uint8_t width = 12;
  std::uint8_t precision = 6;  // also the decimals of the seconds in time mode without sigDigits
  std::string invalidText = "--";
  // Display text of the value, formatted when first read after a result is stored.
  mutable std::string valueText;
  mutable bool textStale = false;  // valueText lags the value until read
};

// Creates the field: 5 significant digits, width 12, precision 6, valid, no
// limits in force, silent, fraction mode; the first text is written with
// precision 6 and width 12.
void RVinit(double value, IOFlag ioFlag, std::unique_ptr<RVal>& rv);
// Clears the record and releases it; raises "FI.RVkill() INVALID RVal" (1) for a
// record that was never initialised.
void RVkill(std::unique_ptr<RVal>& rv);

// Significant-digit format with `digits` digits (0: width/precision format).
void RVsetPrecision(int digits, RVal& rv);
// Width/precision format; clears the significant digits.
void RVsetFwPr(int precision, int width, RVal& rv);

// Put a limit in force (inclusive) and clamp the value to it. Ignored for fOUT
// fields and for a NaN limit.
void RVsetMinLimit(double value, RVal& rv);
void RVsetMaxLimit(double value, RVal& rv);
// Beep on refused entries (ignored for fOUT fields).
void RVsetBeep(RVal& rv);

void RVsetToPercent(RVal& rv);
void RVsetToPartsPerMillion(RVal& rv);
void RVsetToTime(RVal& rv);

// User entry of `text` in the display mode. A text that does not convert or lies
// outside a limit in force is refused: false, nothing changes, beep when set.
// Raises for an uninitialised or fOUT field.
bool RVsetValStr(std::string_view text, RVal& rv);
// As RVsetValStr; sets `changed` to true when an accepted value differs from the
// stored one (never sets it to false).
bool RVsetValStrDelta(bool& changed, std::string_view text, RVal& rv);

// Stores a result; no limit or I/O check.
void RVsetLReal(double value, RVal& rv);
double RVgetLReal(const RVal& rv);
// The value text, or the invalid text when not valid.
void RVgetValStr(std::string& text, const RVal& rv);
// The stored value with 17 significant digits, tidied; the invalid text when not valid.
void RVgetSciStr(std::string& text, const RVal& rv);
void RVcheck(IOFlag& ioFlag, const RVal& rv);
std::int32_t RVgetAux(const RVal& rv);
void RVsetAux(std::int32_t aux, RVal& rv);

// The comma-separated record line of the field, each field followed by ",":
// name, value, minimum, maximum, value text, minimum set, maximum set, I/O flag,
// width, precision, beep, mode, aux, valid, invalid text.
std::string RVtoCDTstr(std::string_view name, const RVal& rv);
// Reads name, value, limits, value text, limit flags, width and precision back
// from a record line into an initialised field.
void CDTstrToRV(RVal& rv, std::string& name, std::string_view line);

}  // namespace qmx::FI
