#pragma once
// Dimensioned values: one physical quantity held in SI with its display unit, dimension, limits,
// input/output role and display text. User entries never raise (a refused entry returns false,
// changes nothing and beeps when the beep flag is set); programming errors raise FUM errors.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "units/fum.hpp"

namespace qmx::FUM {

enum IOFlag : std::uint8_t { fIN = 0, fOUT = 1, fINOUT = 2 };

inline constexpr std::uint32_t kDValTag = 6268;
// Longest value text and invalid text, and longest unit string, a DVal holds.
inline constexpr std::size_t kDValTextLength = 31;
inline constexpr std::size_t kDValUnitLength = 82;

struct DVal {
  double mks = 0.0;      // SI value
  double display = 0.0;  // value in the display unit
  double factor = 1.0;   // SI per display unit; unused while the unit is formulaic
  double minimum = -1e6;
  double maximum = 1e6;
  Dims dims{};
  bool formulaic = false;
  bool minSet = false;
  bool maxSet = false;
  bool valid = true;
  IOFlag ioFlag = fIN;
  std::uint8_t sigDigits = 0;  // 0: width/precision format
  std::uint8_t width = 12;
  std::uint8_t precision = 6;
  std::uint32_t tag = 0;
  std::uint32_t userWord = 0;
  std::string invalidText = "--";
  // Display text of the value, formatted when first read after a result is stored.
  mutable std::string valueText;
  std::string units;
  bool beep = false;
  mutable bool textStale = false;  // valueText lags the value until read
};

// Creates the record; value is in unitString. An empty unit string becomes " " (also in the
// caller's variable). A unit that does not convert raises "FUM.uDVinit() " + flags + unit (2).
void uDVinit(std::string& unitString, double value, IOFlag ioFlag, std::unique_ptr<DVal>& dv);
void uDVinit(std::string_view unitString, double value, IOFlag ioFlag, std::unique_ptr<DVal>& dv);
// Releases the record; raises "FUM.uDVkill() INVALID DVal" (3) without the tag.
void uDVkill(std::unique_ptr<DVal>& dv);

// Limits in any unit (ignored for fOUT values); the SI value is clamped into them.
void uDVsetMinLimit(std::string_view unitString, double value, DVal& dv);
void uDVsetMaxLimit(std::string_view unitString, double value, DVal& dv);
void uDVsetBeep(bool flag, DVal& dv);

bool uDVsetUnits(std::string_view unitString, DVal& dv);
bool uDVcheckUnits(std::string_view unitString, DVal& dv);
// Stores a result (not for fIN values).
void uDVsetMKS(double siValue, DVal& dv);

// Entry of an SI value under the limits in force, as a typed entry would be but without the
// beep; false (nothing changed) for a value outside them or not finite.
bool uDVenterMKS(double siValue, DVal& dv);
// Entry of a number in the display unit. A text without any digit is refused.
bool uDVsetValStr(std::string_view text, DVal& dv);
bool uDVsetValStrDelta(bool& changed, std::string_view text, DVal& dv);
// Entry of a number in another unit of the same dimension, keeping the display unit.
bool uDVsetValStrTempUnits(std::string_view unitString, std::string_view text, DVal& dv);
bool uDVsetValTempUnits(std::string_view unitString, double value, DVal& dv);
// The SI value in unitString; raises "FUM.uDVgetValTempUnits()" (9) when it does not convert.
double uDVgetValTempUnits(std::string_view unitString, const DVal& dv);
// Raises "FUM.uDVgetFactor() INVALID DVAL FACTOR" (5) for a formulaic unit.
void uDVgetFactor(double& factor, const DVal& dv);

double uDVgetMKS(const DVal& dv);
double uDVgetVal(const DVal& dv);
void uDVgetValStr(std::string& text, const DVal& dv);
void uDVgetUnits(std::string& text, const DVal& dv);
IOFlag uDVgetIOflag(const DVal& dv);
Dims uDVgetDims(const DVal& dv);
bool uDVisFormulaic(const DVal& dv);
void uDVsetValid(bool flag, DVal& dv);
void uDVsetInvalidStr(std::string_view text, DVal& dv);
void uDVsetSigDigits(int n, DVal& dv);
void uDVsetFwPr(int precision, int width, DVal& dv);
void uDVgetValStrFwPr(std::string& text, int width, int precision, const DVal& dv);
bool uDVgetValStrInUnits(bool fullPrecision, std::string_view unitString, std::string& text, const DVal& dv);

// The comma-separated record line of a value (every field followed by ","), and its reader into
// an initialised value. The reader changes nothing when it raises.
void uDVtoCDTstr(std::string_view name, const DVal& dv, std::string& line);
void uCDTstrToDV(DVal* dv, std::string& name, std::string_view line);

}  // namespace qmx::FUM
