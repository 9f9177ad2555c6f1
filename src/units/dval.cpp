// Dimensioned values over the unit catalogue: entry, limits, display formats and the record line.
#include "units/dval.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::FUM {

namespace {

[[noreturn]] void Fatal(std::string_view message, int code) { Raise(kModule, message, code); }

void CheckTag(const DVal& dv, std::string_view op) {
  if (dv.tag != kDValTag) Fatal("FUM." + std::string(op) + "() UNINITIALIZED DVAL", 3);
}

void CheckWritable(const DVal& dv, std::string_view op) {
  CheckTag(dv, op);
  if (dv.ioFlag == fOUT) Fatal("FUM." + std::string(op) + "() INVALID DVAL WRITE", 4);
}

bool SameDims7(const Dims& a, const Dims& b) { return std::equal(a.begin(), a.begin() + 7, b.begin()); }
bool ZeroDims7(const Dims& a) { return std::all_of(a.begin(), a.begin() + 7, [](std::int8_t e) { return e == 0; }); }

void Sound(const DVal& dv) {
  if (dv.beep) FE::Beep();
}

void Refresh(const DVal& dv) {
  dv.textStale = false;
  if (dv.sigDigits != 0) {
    FE::LONGREALtoStr(dv.valueText, dv.sigDigits, dv.display, kDValTextLength);
  } else {
    FE::LRtoStr(dv.valueText, dv.precision, dv.width, dv.display, kDValTextLength);
  }
}

// Brings a text left stale by a stored result up to date before it is read.
const std::string& ValueText(const DVal& dv) {
  if (dv.textStale) Refresh(dv);
  return dv.valueText;
}

// The display value of an SI value in the value's own unit.
double DisplayOf(const DVal& dv, double si) {
  if (!dv.formulaic) return si / dv.factor;
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims = dv.dims;
  double result = si;
  uConvert(errors, formulaic, dims, dv.units, result, false, si);
  return result;
}

// The SI value of one unit of unitString (31.92 for "ssu", whose range excludes 1) when it converts
// with the given dimension.
bool UnitFits(std::string_view unitString, const Dims& dims, double& testSI, bool& formulaic) {
  if (unitString.size() > kDValUnitLength) return false;
  const double test = unitString == "ssu" ? 31.92 : 1.0;
  UnitErrors errors = 0;
  Dims d{};
  testSI = test;
  uConvert(errors, formulaic, d, unitString, testSI, true, test);
  return errors == 0 && SameDims7(d, dims);
}

// A typed number: refused when it holds no digit at all (a typo must not enter zero), otherwise
// tidied and read.
bool ParseEntry(std::string_view text, std::string& tidied, double& x) {
  if (!FE::HasDigit(text)) return false;
  tidied.assign(text);
  FE::TidyNumber(true, tidied);
  return FE::StrToReal(tidied, x);
}

// Shared acceptance of a new value: inside the limits in force (inclusive) and finite.
bool Accept(DVal& dv, double s, double d, bool beepAllowed, bool* changed) {
  const bool ok = std::isfinite(s) && (!dv.minSet || dv.minimum <= s) && (!dv.maxSet || s <= dv.maximum);
  if (!ok) {
    if (beepAllowed) Sound(dv);
    return false;
  }
  if (changed != nullptr && s != dv.mks) *changed = true;
  dv.display = d;
  dv.mks = s;
  dv.valid = true;
  Refresh(dv);
  return true;
}

bool EntryInDisplayUnit(DVal& dv, double x, double& s) {
  if (!dv.formulaic) {
    s = dv.factor * x;
    return true;
  }
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims{};
  s = x;
  uConvert(errors, formulaic, dims, dv.units, s, true, x);
  return errors == 0;
}

bool EntryInOtherUnit(DVal& dv, std::string_view unitString, double x) {
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims{};
  double s = x;
  uConvert(errors, formulaic, dims, unitString, s, true, x);
  if (errors != 0 || !SameDims7(dims, dv.dims)) return false;
  dims = dv.dims;
  double d = s;
  uConvert(errors, formulaic, dims, dv.units, d, false, s);
  if (errors != 0) return false;
  return Accept(dv, s, d, false, nullptr);
}

void SetLimit(bool minimum, std::string_view unitString, double value, DVal& dv) {
  const char* op = minimum ? "uDVsetMinLimit" : "uDVsetMaxLimit";
  CheckTag(dv, op);
  if (dv.ioFlag == fOUT) return;
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims{};
  double s = value;
  uConvert(errors, formulaic, dims, unitString, s, true, value);
  if (errors != 0) Fatal("FUM." + std::string(op) + "() INVALID UNITS " + std::string(unitString), 6);
  bool clamp = false;
  if (minimum) {
    dv.minSet = true;
    dv.minimum = s;
    clamp = dv.mks < s;
  } else {
    dv.maxSet = true;
    dv.maximum = s;
    clamp = dv.mks > s;
  }
  if (clamp) {
    // The display value follows the clamped SI value so that the two never disagree.
    dv.mks = s;
    dv.display = DisplayOf(dv, s);
    Refresh(dv);
  }
}

std::uint8_t Byte(int n) { return static_cast<std::uint8_t>(std::clamp(n, 0, 255)); }

// ---- record line ------------------------------------------------------------------

void AppendNumber(std::string& line, double x) {
  if (std::isnan(x)) {
    line += "nan";
  } else if (std::isinf(x)) {
    line += x < 0 ? "-inf" : "inf";
  } else {
    std::array<char, 32> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x);
    line.append(buf.data(), r.ptr);
  }
  line += ',';
}

// Texts go into the line without the field separator.
void AppendText(std::string& line, std::string_view text) {
  for (char c : text) {
    if (c != ',') line += c;
  }
  line += ',';
}

const char* YesNo(bool b) { return b ? "YES" : "NO"; }

const char* IOName(IOFlag f) {
  switch (f) {
    case fIN: return "fIN";
    case fOUT: return "fOUT";
    case fINOUT: return "fINOUT";
  }
  return "fIN";
}

[[noreturn]] void BadLine() { Fatal("FUM.uCDTstrToDV() INVALID CONVERSION", 7); }

double ReadNumber(std::string_view f) {
  if (f == "nan") return std::nan("");
  if (f == "inf") return HUGE_VAL;
  if (f == "-inf") return -HUGE_VAL;
  double x = 0.0;
  if (!FE::StrToReal(f, x)) BadLine();
  return x;
}

std::int64_t ReadInt(std::string_view f, std::int64_t lo, std::int64_t hi) {
  std::int64_t n = 0;
  if (!FE::StrToInt(f, n) || n < lo || n > hi) BadLine();
  return n;
}

}  // namespace

void uDVinit(std::string& unitString, double value, IOFlag ioFlag, std::unique_ptr<DVal>& dv) {
  if (unitString.empty()) unitString = " ";
  uDVinit(std::string_view(unitString), value, ioFlag, dv);
}

void uDVinit(std::string_view unitString, double value, IOFlag ioFlag, std::unique_ptr<DVal>& dv) {
  if (unitString.empty()) unitString = " ";
  std::string flags;
  if (unitString.size() > kDValUnitLength) {
    uErrorText(uOverflow, flags);
    Fatal("FUM.uDVinit() " + flags + std::string(unitString), 2);
  }
  auto r = std::make_unique<DVal>();
  r->display = value;
  r->ioFlag = ioFlag;
  r->units.assign(unitString);
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims{};
  if (uIsFormulaic(unitString)) {
    double s = value;
    uConvert(errors, formulaic, dims, unitString, s, true, value);
    r->mks = s;
    r->factor = 1.0;
  } else {
    double f = 1.0;
    uConvert(errors, formulaic, dims, unitString, f, true, 1.0);
    r->factor = f;
    r->mks = f * value;
  }
  if (errors != 0) {
    uErrorText(errors, flags);
    Fatal("FUM.uDVinit() " + flags + std::string(unitString), 2);
  }
  r->dims = dims;
  r->formulaic = formulaic;
  Refresh(*r);
  r->tag = kDValTag;
  dv = std::move(r);
}

void uDVkill(std::unique_ptr<DVal>& dv) {
  if (!dv || dv->tag != kDValTag) Fatal("FUM.uDVkill() INVALID DVal", 3);
  dv->tag = 0;
  dv.reset();
}

void uDVsetMinLimit(std::string_view unitString, double value, DVal& dv) { SetLimit(true, unitString, value, dv); }
void uDVsetMaxLimit(std::string_view unitString, double value, DVal& dv) { SetLimit(false, unitString, value, dv); }

void uDVsetBeep(bool flag, DVal& dv) {
  CheckTag(dv, "uDVsetBeep");
  if (dv.ioFlag == fOUT) Fatal("FUM.uDVsetBeep() IOflag", 8);
  dv.beep = flag;
}

bool uDVsetUnits(std::string_view unitString, DVal& dv) {
  CheckTag(dv, "uDVsetUnits");
  double testSI = 1.0;
  bool formulaic = false;
  if (!UnitFits(unitString, dv.dims, testSI, formulaic)) {
    Sound(dv);
    return false;
  }
  dv.units.assign(unitString);
  dv.factor = testSI;
  UnitErrors errors = 0;
  Dims dims = dv.dims;
  double d = dv.mks;
  uConvert(errors, formulaic, dims, unitString, d, false, dv.mks);
  dv.formulaic = formulaic;
  dv.display = d;
  Refresh(dv);
  return true;
}

bool uDVcheckUnits(std::string_view unitString, DVal& dv) {
  CheckTag(dv, "uDVcheckUnits");
  double testSI = 1.0;
  bool formulaic = false;
  if (UnitFits(unitString, dv.dims, testSI, formulaic)) return true;
  Sound(dv);
  return false;
}

void uDVsetMKS(double siValue, DVal& dv) {
  CheckTag(dv, "uDVsetMKS");
  if (dv.ioFlag == fIN) Fatal("FUM.uDVsetMKS() INVALID DVAL WRITE", 4);
  dv.mks = siValue;
  dv.display = DisplayOf(dv, siValue);
  dv.textStale = true;  // results are stored far more often than their text is read
}

bool uDVenterMKS(double siValue, DVal& dv) {
  CheckWritable(dv, "uDVenterMKS");
  const bool ok = std::isfinite(siValue) && (!dv.minSet || dv.minimum <= siValue) &&
                  (!dv.maxSet || siValue <= dv.maximum);
  if (!ok) return false;
  dv.mks = siValue;
  dv.display = DisplayOf(dv, siValue);
  dv.valid = true;
  dv.textStale = true;  // entered for a calculation; the text is formatted when read
  return true;
}

bool uDVsetValStr(std::string_view text, DVal& dv) {
  CheckWritable(dv, "uDVsetValStr");
  if (dv.valid && text == ValueText(dv)) return true;
  std::string tidied;
  double x = 0.0;
  double s = 0.0;
  if (!ParseEntry(text, tidied, x) || !EntryInDisplayUnit(dv, x, s)) {
    Sound(dv);
    return false;
  }
  return Accept(dv, s, x, true, nullptr);
}

bool uDVsetValStrDelta(bool& changed, std::string_view text, DVal& dv) {
  changed = false;
  CheckWritable(dv, "uDVsetValStrDelta");
  std::string tidied;
  double x = 0.0;
  if (!ParseEntry(text, tidied, x)) {
    Sound(dv);
    return false;
  }
  if (dv.valid && tidied == ValueText(dv)) return true;
  double s = 0.0;
  if (!EntryInDisplayUnit(dv, x, s)) {
    Sound(dv);
    return false;
  }
  return Accept(dv, s, x, false, &changed);
}

bool uDVsetValStrTempUnits(std::string_view unitString, std::string_view text, DVal& dv) {
  CheckWritable(dv, "uDVsetValStrTempUnits");
  if (dv.valid && text == ValueText(dv) && unitString == dv.units) return true;
  std::string tidied;
  double x = 0.0;
  if (!ParseEntry(text, tidied, x)) return false;
  return EntryInOtherUnit(dv, unitString, x);
}

bool uDVsetValTempUnits(std::string_view unitString, double value, DVal& dv) {
  CheckWritable(dv, "uDVsetValTempUnits");
  if (dv.valid && value == dv.display && unitString == dv.units) return true;
  if (!std::isfinite(value)) return false;
  return EntryInOtherUnit(dv, unitString, value);
}

double uDVgetValTempUnits(std::string_view unitString, const DVal& dv) {
  CheckTag(dv, "uDVgetValTempUnits");
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims = dv.dims;
  double result = dv.mks;
  uConvert(errors, formulaic, dims, unitString, result, false, dv.mks);
  // A unit of another dimension would give a number that means nothing.
  if (errors != 0 || !ZeroDims7(dims)) Fatal("FUM.uDVgetValTempUnits()", 9);
  return result;
}

void uDVgetFactor(double& factor, const DVal& dv) {
  CheckTag(dv, "uDVgetFactor");
  if (dv.formulaic) Fatal("FUM.uDVgetFactor() INVALID DVAL FACTOR", 5);
  factor = dv.factor;
}

double uDVgetMKS(const DVal& dv) {
  CheckTag(dv, "uDVgetMKS");
  return dv.mks;
}

double uDVgetVal(const DVal& dv) {
  CheckTag(dv, "uDVgetVal");
  return dv.display;
}

void uDVgetValStr(std::string& text, const DVal& dv) {
  CheckTag(dv, "uDVgetValStr");
  text = dv.valid ? ValueText(dv) : dv.invalidText;
}

void uDVgetUnits(std::string& text, const DVal& dv) {
  CheckTag(dv, "uDVgetUnits");
  text = dv.units;
}

IOFlag uDVgetIOflag(const DVal& dv) {
  CheckTag(dv, "uDVgetIOflag");
  return dv.ioFlag;
}

Dims uDVgetDims(const DVal& dv) {
  CheckTag(dv, "uDVgetDims");
  return dv.dims;
}

bool uDVisFormulaic(const DVal& dv) {
  CheckTag(dv, "uDVisFormulaic");
  return dv.formulaic;
}

void uDVsetValid(bool flag, DVal& dv) {
  CheckTag(dv, "uDVsetValid");
  dv.valid = flag;
}

void uDVsetInvalidStr(std::string_view text, DVal& dv) {
  CheckTag(dv, "uDVsetInvalidStr");
  dv.invalidText.assign(text.substr(0, kDValTextLength));
}

void uDVsetSigDigits(int n, DVal& dv) {
  CheckTag(dv, "uDVsetSigDigits");
  dv.sigDigits = Byte(n);
  Refresh(dv);
}

void uDVsetFwPr(int precision, int width, DVal& dv) {
  CheckTag(dv, "uDVsetFwPr");
  dv.precision = Byte(precision);
  dv.width = Byte(width);
  dv.sigDigits = 0;
  Refresh(dv);
}

void uDVgetValStrFwPr(std::string& text, int width, int precision, const DVal& dv) {
  CheckTag(dv, "uDVgetValStrFwPr");
  if (!dv.valid) {
    text = dv.invalidText;
    return;
  }
  width = std::clamp(width, 0, 22);
  precision = std::max(precision, 0);
  if (precision > width) precision = 0;
  FE::LRtoStr(text, precision, width, dv.display);
  FE::TidyNumber(true, text);
}

bool uDVgetValStrInUnits(bool fullPrecision, std::string_view unitString, std::string& text, const DVal& dv) {
  CheckTag(dv, "uDVgetValStrInUnits");
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims = dv.dims;
  double result = dv.mks;
  uConvert(errors, formulaic, dims, unitString, result, false, dv.mks);
  if (errors != 0 || !ZeroDims7(dims)) return false;
  if (fullPrecision) {
    FE::LONGREALtoStr(text, 17, result);
  } else if (dv.sigDigits != 0) {
    FE::LONGREALtoStr(text, dv.sigDigits, result, kDValTextLength);
  } else {
    FE::LRtoStr(text, dv.precision, dv.width, result, kDValTextLength);
  }
  return true;
}

void uDVtoCDTstr(std::string_view name, const DVal& dv, std::string& line) {
  CheckTag(dv, "uDVtoCDTstr");
  line.clear();
  AppendText(line, name);
  for (double x : {dv.mks, dv.display, dv.factor, dv.minimum, dv.maximum}) AppendNumber(line, x);
  for (std::int8_t e : dv.dims) line += std::to_string(e) + ",";
  for (bool b : {dv.formulaic, dv.minSet, dv.maxSet}) line += std::string(YesNo(b)) + ",";
  line += std::string(IOName(dv.ioFlag)) + ",";
  line += std::to_string(dv.width) + "," + std::to_string(dv.precision) + ",";
  AppendText(line, ValueText(dv));
  AppendText(line, dv.units);
  line += std::string(YesNo(dv.beep)) + ",";
  line += std::to_string(dv.sigDigits) + ",";
  line += dv.valid ? "VALID," : "INVALID,";
  AppendText(line, dv.invalidText);
}

void uCDTstrToDV(DVal* dv, std::string& name, std::string_view line) {
  if (dv == nullptr || dv->tag != kDValTag) Fatal("FUM.uCDTstrToDV() INVALID DVAL", 3);
  std::vector<std::string_view> f;
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      f.push_back(line.substr(start));
      break;
    }
    f.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  if (f.size() < 22) BadLine();
  // Read into a copy: a line that raises part-way leaves the value as it was.
  DVal r = *dv;
  r.mks = ReadNumber(f[1]);
  r.display = ReadNumber(f[2]);
  r.factor = ReadNumber(f[3]);
  r.minimum = ReadNumber(f[4]);
  r.maximum = ReadNumber(f[5]);
  Dims dims{};
  for (std::size_t k = 0; k < 8; ++k) dims[k] = static_cast<std::int8_t>(ReadInt(f[6 + k], -128, 127));
  if (dims != dv->dims) Fatal("FUM.uCDTstrToDV() INVALID DIMENSIONALITY", 7);
  r.formulaic = f[14] == "YES";
  r.minSet = f[15] == "YES";
  r.maxSet = f[16] == "YES";
  if ((f[17] == "fIN" || f[17] == "fOUT" || f[17] == "fINOUT") && f[17] != IOName(dv->ioFlag)) {
    Fatal("FUM.uCDTstrToDV() I/O MISMATCH", 7);
  }
  r.width = static_cast<std::uint8_t>(ReadInt(f[18], 0, 255));
  r.precision = static_cast<std::uint8_t>(ReadInt(f[19], 0, 255));
  r.valueText.assign(f[20].substr(0, kDValTextLength));
  r.textStale = false;
  // The unit string must still describe this value: it converts with the value's dimension and
  // its formulaic flag is the one recorded.
  double testSI = 1.0;
  bool formulaic = false;
  if (!UnitFits(f[21], dv->dims, testSI, formulaic) || formulaic != r.formulaic) BadLine();
  r.units.assign(f[21]);
  if (f.size() > 23 && !f[23].empty()) r.sigDigits = static_cast<std::uint8_t>(ReadInt(f[23], 0, 255));
  *dv = std::move(r);
  name.assign(f[0]);
}

}  // namespace qmx::FUM
