#include "units/fi.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::FI {

namespace {

constexpr std::string_view kModule = "FI";
// The value text is held in 31 characters, as a dimensioned value's.
constexpr std::size_t kTextCapacity = 31;

void CheckTag(const RVal& rv, std::string_view op) {
  if (rv.tag != kRValTag) Raise(kModule, std::string("FI.") + std::string(op) + "() UNINITIALIZED RVAL", 1);
}

std::uint8_t Byte(int n) { return static_cast<std::uint8_t>(std::clamp(n, 0, 255)); }

// Factor from the stored value to the displayed number.
double DisplayScale(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Percent: return 100.0;
    case DisplayMode::PartsPerMillion: return 1e6;
    default: return 1.0;
  }
}

// Writes the value text from the value in the display mode and format.
void Refresh(const RVal& rv) {
  rv.textStale = false;
  if (rv.mode == DisplayMode::Time) {
    FE::SecondsToDHMS(rv.valueText, rv.sigDigits != 0 ? rv.sigDigits : rv.precision, rv.value);
    if (rv.valueText.size() > kTextCapacity) rv.valueText.resize(kTextCapacity);
    return;
  }
  const double shown = rv.value * DisplayScale(rv.mode);
  if (rv.sigDigits != 0)
    FE::LONGREALtoStr(rv.valueText, rv.sigDigits, shown, kTextCapacity);
  else
    FE::LRtoStr(rv.valueText, rv.precision, rv.width, shown, kTextCapacity);
}

// Brings a text left stale by a stored result up to date before it is read.
const std::string& ValueText(const RVal& rv) {
  if (rv.textStale) Refresh(rv);
  return rv.valueText;
}

void Refuse(const RVal& rv) {
  if (rv.beep) FE::Beep();
}

// The stored number that `text` stands for in the display mode; false when it
// does not convert.
bool ReadEntry(double& value, std::string_view text, const RVal& rv) {
  double v = 0;
  if (rv.mode == DisplayMode::Time) {
    if (!FE::DHMStoSeconds(v, text)) return false;
  } else {
    // A text without a digit is refused rather than tidied to 0, as for dimensioned values.
    if (!FE::HasDigit(text)) return false;
    std::string tidy(text);
    FE::TidyNumber(true, tidy);
    if (!FE::StrToReal(tidy, v)) return false;
    v /= DisplayScale(rv.mode);
  }
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool WithinLimits(double v, const RVal& rv) {
  return (!rv.minimumSet || rv.minimum <= v) && (!rv.maximumSet || v <= rv.maximum);
}

// Entry shared by RVsetValStr and RVsetValStrDelta. A refused entry changes
// nothing, not even the valid flag.
bool SetFromText(std::string_view op, bool* changed, std::string_view text, RVal& rv) {
  CheckTag(rv, op);
  if (rv.io == fOUT) Raise(kModule, std::string("FI.") + std::string(op) + "() INVALID RVAL WRITE", 2);
  // The shown text again: nothing to do (an invalid field shows its invalid text,
  // so there the entry is taken as new).
  if (rv.valid && text == ValueText(rv)) return true;
  double v = 0;
  if (!ReadEntry(v, text, rv) || !WithinLimits(v, rv)) {
    Refuse(rv);
    return false;
  }
  if (changed != nullptr && v != rv.value) *changed = true;
  rv.value = v;
  rv.valid = true;
  Refresh(rv);
  return true;
}

// 17 significant digits, tidied; a non-finite value stays "Infinite".
std::string Sci17(double x) {
  std::string text;
  FE::RealToFloat(text, 17, x);
  if (std::isfinite(x)) FE::TidyNumber(true, text);
  return text;
}

}  // namespace

void RVinit(double value, IOFlag ioFlag, std::unique_ptr<RVal>& rv) {
  rv = std::make_unique<RVal>();
  RVal& r = *rv;
  r.value = value;
  r.io = ioFlag;
  r.valid = true;
  r.tag = kRValTag;
  FE::LRtoStr(r.valueText, 6, 12, value, kTextCapacity);
}

void RVkill(std::unique_ptr<RVal>& rv) {
  if (!rv || rv->tag != kRValTag) Raise(kModule, "FI.RVkill() INVALID RVal", 1);
  *rv = RVal{};
  rv.reset();
}

void RVsetPrecision(int digits, RVal& rv) {
  CheckTag(rv, "RVsetPrecision");
  rv.sigDigits = Byte(digits);
  Refresh(rv);
}

void RVsetFwPr(int precision, int width, RVal& rv) {
  CheckTag(rv, "RVsetFwPr");
  rv.precision = Byte(precision);
  rv.width = Byte(width);
  rv.sigDigits = 0;
  Refresh(rv);
}

void RVsetMinLimit(double value, RVal& rv) {
  CheckTag(rv, "RVsetMinLimit");
  if (rv.io == fOUT || std::isnan(value)) return;
  rv.minimum = value;
  rv.minimumSet = true;
  if (rv.value < value) {
    rv.value = value;
    Refresh(rv);
  }
}

void RVsetMaxLimit(double value, RVal& rv) {
  CheckTag(rv, "RVsetMaxLimit");
  if (rv.io == fOUT || std::isnan(value)) return;
  rv.maximum = value;
  rv.maximumSet = true;
  if (rv.value > value) {
    rv.value = value;
    Refresh(rv);
  }
}

void RVsetBeep(RVal& rv) {
  CheckTag(rv, "RVsetBeep");
  if (rv.io != fOUT) rv.beep = true;
}

void RVsetToPercent(RVal& rv) {
  CheckTag(rv, "RVsetToPercent");
  rv.mode = DisplayMode::Percent;
  Refresh(rv);
}

void RVsetToPartsPerMillion(RVal& rv) {
  CheckTag(rv, "RVsetToPartsPerMillion");
  rv.mode = DisplayMode::PartsPerMillion;
  Refresh(rv);
}

void RVsetToTime(RVal& rv) {
  CheckTag(rv, "RVsetToTime");
  rv.mode = DisplayMode::Time;
  Refresh(rv);
}

bool RVsetValStr(std::string_view text, RVal& rv) { return SetFromText("RVsetValStr", nullptr, text, rv); }

bool RVsetValStrDelta(bool& changed, std::string_view text, RVal& rv) {
  return SetFromText("RVsetValStrDelta", &changed, text, rv);
}

void RVsetLReal(double value, RVal& rv) {
  CheckTag(rv, "RVsetLReal");
  rv.value = value;
  rv.textStale = true;  // results are stored far more often than their text is read
}

double RVgetLReal(const RVal& rv) {
  CheckTag(rv, "RVgetLReal");
  return rv.value;
}

void RVgetValStr(std::string& text, const RVal& rv) {
  CheckTag(rv, "RVgetValStr");
  text = rv.valid ? ValueText(rv) : rv.invalidText;
}

void RVgetSciStr(std::string& text, const RVal& rv) {
  CheckTag(rv, "RVgetSciStr");
  text = rv.valid ? Sci17(rv.value) : rv.invalidText;
}

void RVcheck(IOFlag& ioFlag, const RVal& rv) {
  CheckTag(rv, "RVcheck");
  ioFlag = rv.io;
}

std::int32_t RVgetAux(const RVal& rv) {
  CheckTag(rv, "RVgetAux");
  return rv.aux;
}

void RVsetAux(std::int32_t aux, RVal& rv) {
  CheckTag(rv, "RVsetAux");
  rv.aux = aux;
}

// ---- record line --------------------------------------------------------------

namespace {

constexpr std::array<std::string_view, 3> kIOWords{"fIN", "fOUT", "fINOUT"};
constexpr std::array<std::string_view, 4> kModeWords{"FRAC", "PCT", "PPM", "DHMS"};

}  // namespace

std::string RVtoCDTstr(std::string_view name, const RVal& rv) {
  CheckTag(rv, "RVtoCDTstr");
  std::string line;
  auto field = [&line](std::string_view f) {
    line += f;
    line += ',';
  };
  field(name);
  field(Sci17(rv.value));
  field(Sci17(rv.minimum));
  field(Sci17(rv.maximum));
  field(ValueText(rv));
  field(rv.minimumSet ? "YES" : "NO");
  field(rv.maximumSet ? "YES" : "NO");
  field(rv.io <= fINOUT ? kIOWords[rv.io] : "fIN");
  field(std::to_string(rv.width));
  field(std::to_string(rv.precision));
  field(rv.beep ? "BEEP" : "SILENT");
  field(kModeWords[static_cast<std::size_t>(rv.mode) & 3u]);
  field(rv.aux != 0 ? "HAS AUX" : "NO AUX");
  field(rv.valid ? "VALID" : "INVALID");
  field(rv.invalidText);
  return line;
}

void CDTstrToRV(RVal& rv, std::string& name, std::string_view line) {
  if (rv.tag != kRValTag) Raise(kModule, "FI.CDTstrToRV() INVALID Rval", 1);
  std::array<std::string, 10> fields;
  auto fail = [line](int n) {
    Raise(kModule, "FI.CSVstrToRV() INVALID CONVERSION=" + std::to_string(n) + " = " + std::string(line), 1);
  };
  bool last = false;
  for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
    // A field is there when a separator follows it or it is the text's last.
    if (last) fail(i);
    FE::GetItem(last, i, ",", line, fields[static_cast<std::size_t>(i)]);
  }
  std::array<double, 3> numbers{};
  for (int i = 1; i <= 3; ++i)
    if (!FE::StrToReal(fields[static_cast<std::size_t>(i)], numbers[static_cast<std::size_t>(i - 1)])) fail(i);
  std::array<int, 2> sizes{};
  for (int i = 8; i <= 9; ++i) {
    std::int64_t n = -1;
    if (!FE::StrToInt(fields[static_cast<std::size_t>(i)], n) || n < 0 || n > 255) fail(i);
    sizes[static_cast<std::size_t>(i - 8)] = static_cast<int>(n);
  }
  name = fields[0];
  rv.value = numbers[0];
  rv.minimum = numbers[1];
  rv.maximum = numbers[2];
  rv.valueText = fields[4];
  rv.textStale = false;
  rv.minimumSet = fields[5] == "YES";
  rv.maximumSet = fields[6] == "YES";
  rv.width = Byte(sizes[0]);
  rv.precision = Byte(sizes[1]);
}

}  // namespace qmx::FI
