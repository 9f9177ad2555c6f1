// Unit string conversion over the compiled catalogue, and the formulaic units.
#include "units/fum.hpp"

#include <cmath>
#include <limits>

#include "numerics/error.hpp"
#include "numerics/numerics.hpp"
#include "units/fum_table.hpp"

namespace qmx::FUM {

namespace {

using detail::kUnits;

static_assert(detail::kUnitCount == kUnitCount);

struct FlagText {
  UnitErrors flag;
  std::string_view text;
};
constexpr std::array<FlagText, 6> kFlagTexts = {{
    {uSyntaxError, " syntax error |"},
    {uUndefinedUnit, " undefined unit |"},
    {uDimensionError, " dimension error |"},
    {uOverflow, " unit string overflow |"},
    {uOutOfRange, " out of range |"},
    {uConvergence, " convergance failure |"},
}};

struct DimName {
  Dims dims;
  std::string_view name;
};
constexpr std::array<DimName, 27> kDimNames = {{
    {{0, 0, 0, 0, 0, 0, 0, 0}, "dimensionless"},
    {{1, 0, 0, 0, 0, 0, 0, 0}, "length"},
    {{0, 1, 0, 0, 0, 0, 0, 0}, "mass"},
    {{0, 0, 1, 0, 0, 0, 0, 0}, "time"},
    {{0, 0, 0, 1, 0, 0, 0, 0}, "temperature"},
    {{0, 0, 0, 0, 1, 0, 0, 0}, "quantity of matter"},
    {{0, 0, 0, 0, 0, 1, 0, 0}, "angle"},
    {{0, 0, 0, 0, 0, 0, 1, 0}, "electric current"},
    {{0, 0, 0, 0, 0, 0, 0, 1}, "light intensity"},
    {{1, 1, -2, 0, 0, 0, 0, 0}, "force"},
    {{2, 1, -2, 0, 0, 0, 0, 0}, "energy"},
    {{2, 1, -3, 0, 0, 0, 0, 0}, "power"},
    {{1, 1, -1, 0, 0, 0, 0, 0}, "momentum"},
    {{2, 1, -1, 0, 0, 0, 0, 0}, "action"},
    {{2, 0, 0, 0, 0, 0, 0, 0}, "area"},
    {{3, 0, 0, 0, 0, 0, 0, 0}, "volume"},
    {{1, 0, -1, 0, 0, 0, 0, 0}, "velocity"},
    {{1, 0, -2, 0, 0, 0, 0, 0}, "acceleration"},
    {{-1, 1, -2, 0, 0, 0, 0, 0}, "pressure"},
    {{3, 0, -1, 0, 0, 0, 0, 0}, "volume flowrate"},
    {{0, 1, -1, 0, 0, 0, 0, 0}, "mass flowrate"},
    {{-3, 1, 0, 0, 0, 0, 0, 0}, "mass density"},
    {{-1, 1, -1, 0, 0, 0, 0, 0}, "absolute viscosity"},
    {{2, 0, -1, 0, 0, 0, 0, 0}, "kinematic viscosity"},
    {{0, 0, -1, 0, 0, 1, 0, 0}, "angular velocity"},
    {{-3, 0, 0, 0, 1, 0, 0, 0}, "molar density"},
    {{0, 1, 0, 0, -1, 0, 0, 0}, "molar mass"},
}};

// API gravity numerator: 141.5 times the "rdl" water density 999.016 kg/m3.
constexpr double kApiNumerator = 141360.764;
constexpr double kSsuMinCst = 1.77;
constexpr double kSsuMaxCst = 500.0;
constexpr double kAwgMin = -4.0;
constexpr double kAwgMax = 50.0;

// A unit string ends at its first NUL, as the fixed character fields it comes from do.
std::string_view Trimmed(std::string_view s) {
  const auto nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Adds n times the unit's exponents (negative n subtracts); an exponent leaving the 8-bit range
// sets the overflow flag.
void AddDims(Dims& dims, const Dims& unit, int n, UnitErrors& errors) {
  for (std::size_t k = 0; k < dims.size(); ++k) {
    const int e = dims[k] + n * unit[k];
    if (e < std::numeric_limits<std::int8_t>::min() || e > std::numeric_limits<std::int8_t>::max()) {
      errors |= uOverflow;
    }
    dims[k] = static_cast<std::int8_t>(e);
  }
}

double IntPower(double x, int n) {
  const bool negative = n < 0;
  unsigned m = negative ? static_cast<unsigned>(-n) : static_cast<unsigned>(n);
  double r = 1.0;
  double b = x;
  while (m != 0) {
    if (m & 1U) r *= b;
    b *= b;
    m >>= 1U;
  }
  return negative ? 1.0 / r : r;
}

// Binary search over records 1..176 (high exclusive); 0 when absent.
int FindUnit(std::string_view token) {
  int low = 1;
  int high = kUnitCount + 1;
  while (low < high) {
    const int mid = (low + high) / 2;
    const int c = token.compare(kUnits[static_cast<std::size_t>(mid)].symbol);
    if (c == 0) return mid;
    if (c > 0) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return 0;
}

struct Token {
  std::array<char, kMaxTokenLength> text{};
  std::size_t length = 0;
  bool overlong = false;
  int exponent = 1;
  char separator = '\0';  // '*', '/', '.' or '\0' for the end of the string
  bool refused = false;   // held a character that no unit string uses

  std::string_view View() const { return {text.data(), length}; }
  void Append(char c) {
    if (length < text.size()) {
      text[length++] = c;
    } else {
      overlong = true;
    }
  }
};

// A character that a unit string may hold and that is skipped: "^" before an exponent digit
// ("ft^3" reads as "ft" with exponent 3) and "-". Any other is refused, so a stray "%", "!"
// or a dangling "^" is not silently dropped.
bool Skipped(std::string_view s, std::size_t i) {
  if (s[i] == '-') return true;
  return s[i] == '^' && i + 1 < s.size() && IsDigit(s[i + 1]);
}

// Reads one token from pos; pos ends after the separator.
Token NextToken(std::string_view s, std::size_t& pos) {
  Token t;
  while (pos < s.size()) {
    const char c = s[pos++];
    if (c == '.') {
      t.Append(c);
      t.separator = '.';
      return t;
    }
    if (c == '/' || c == '*') {
      t.separator = c;
      return t;
    }
    if (IsDigit(c)) {
      const char next = pos < s.size() ? s[pos] : '\0';
      if (next == '\0' || next == '*' || next == '-' || next == '/') {
        t.exponent = c - '0';
      } else {
        t.Append(c);
      }
    } else if (IsLetter(c) || c == '$' || c == ' ') {
      t.Append(c);
    } else if (!Skipped(s, pos - 1)) {
      t.refused = true;
    }
  }
  t.separator = '\0';
  return t;
}

double SsuFromCst(double nu) {
  return 4.6324 * nu + (1.0 + 0.03264 * nu) / ((3930.2 + 262.7 * nu + 23.97 * nu * nu + 1.646 * nu * nu * nu) * 1e-5);
}

double TemperatureToSI(char scale, double t) {
  switch (scale) {
    case 'F': return (t + 459.67) / 1.8;
    case 'C': return t + 273.15;
    case 'R': return t / 1.8;
    case 'K': return t;
    default: Raise(kModule, "FUM.INVALID TEMP SCALE", 1);
  }
}

double TemperatureFromSI(char scale, double t) {
  switch (scale) {
    case 'F': return t * 1.8 - 459.67;
    case 'C': return t - 273.15;
    case 'R': return t * 1.8;
    case 'K': return t;
    default: Raise(kModule, "FUM.INVALID TEMP SCALE", 1);
  }
}

// Kinematic viscosity in cSt for a Saybolt time by a bracketed root of the SSU relation.
double SsuToCst(double t, UnitErrors& errors) {
  const double nu0 = t < 100.0 ? 0.226 * t - 195.0 / t : 0.220 * t - 135.0 / t;
  double x1 = 0.9 * nu0;
  double x2 = 1.1 * nu0;
  auto f = [t](double nu) { return SsuFromCst(nu) - t; };
  if (!std::isfinite(nu0) || !Numerics::Bracket(x1, x2, f)) {
    errors |= uConvergence;
    return 10.0;
  }
  try {
    return Numerics::Broot(1e-5, x1, x2, f);
  } catch (const Error&) {
    errors |= uConvergence;
    return 10.0;
  }
}

void CheckSsuRange(double nu, UnitErrors& errors) {
  if (!(nu >= kSsuMinCst && nu <= kSsuMaxCst)) errors |= uOutOfRange;
}

// Non-finite results of a finite input (a pole of the formula) are out of range.
void CheckFinite(double value, double result, UnitErrors& errors) {
  if (std::isfinite(value) && !std::isfinite(result)) errors |= uOutOfRange;
}

// The whole-string formulaic units; false when s is not one of them.
bool ConvertFormulaic(UnitErrors& errors, Dims& dims, std::string_view s, double& result, bool toSI,
                      double value) {
  if (s.size() == 1 && (s[0] == 'C' || s[0] == 'F' || s[0] == 'K' || s[0] == 'R')) {
    if (toSI) {
      result = TemperatureToSI(s[0], value);
      dims[3] = 1;
    } else {
      result = TemperatureFromSI(s[0], value);
      dims[3] = static_cast<std::int8_t>(dims[3] - 1);
    }
    return true;
  }
  if (s == "api") {
    if (toSI) {
      result = kApiNumerator / (131.5 + value);
      dims[0] = -3;
      dims[1] = 1;
    } else {
      result = kApiNumerator / value - 131.5;
      dims[0] = static_cast<std::int8_t>(dims[0] + 3);
      dims[1] = static_cast<std::int8_t>(dims[1] - 1);
    }
    CheckFinite(value, result, errors);
    return true;
  }
  if (s == "ssu") {
    if (toSI) {
      const double nu = SsuToCst(value, errors);
      CheckSsuRange(nu, errors);
      result = nu * 1e-6;
      dims[0] = 2;
      dims[2] = -1;
    } else {
      const double nu = value * 1e6;
      CheckSsuRange(nu, errors);
      result = SsuFromCst(nu);
      dims[0] = static_cast<std::int8_t>(dims[0] - 2);
      dims[2] = static_cast<std::int8_t>(dims[2] + 1);
    }
    return true;
  }
  if (s == "awg") {
    if (toSI) {
      if (!(value >= kAwgMin && value <= kAwgMax)) errors |= uOutOfRange;
      result = 0.000127 * std::pow(92.0, (36.0 - value) / 39.0);
      dims[0] = 1;
    } else {
      const double r = value * 7874.0157480315;
      if (!(r > 0.0)) {
        errors |= uOutOfRange;
        return true;
      }
      result = 36.0 - 39.0 * std::log(r) / std::log(92.0);
      dims[0] = static_cast<std::int8_t>(dims[0] - 1);
      if (!(result >= kAwgMin && result <= kAwgMax)) errors |= uOutOfRange;
    }
    return true;
  }
  if (s == "lphk") {
    result = 1e8 / value;
    dims[0] = toSI ? -2 : static_cast<std::int8_t>(dims[0] + 2);
    CheckFinite(value, result, errors);
    return true;
  }
  return false;
}

bool ValidIndex(int index) { return index >= 1 && index <= kUnitCount; }

}  // namespace

bool uIsFormulaic(std::string_view unitString) {
  const std::string_view s = Trimmed(unitString);
  return s == "C" || s == "F" || s == "K" || s == "R" || s == "api" || s == "ssu" || s == "awg" || s == "lphk";
}

void uConvert(UnitErrors& errors, bool& formulaic, Dims& dims, std::string_view unitString, double& result,
              bool toSI, double value) {
  errors = 0;
  formulaic = false;
  const std::string_view s = Trimmed(unitString);
  if (s.empty()) {
    errors |= uSyntaxError;
    return;
  }
  result = value;
  if (ConvertFormulaic(errors, dims, s, result, toSI, value)) {
    formulaic = true;
    // 1e308 F is beyond every double in kelvin: flagged as a compound unit's overflow is.
    if (errors == 0 && std::isfinite(value) && !std::isfinite(result)) errors |= uOverflow;
    return;
  }
  char op = '*';
  int slashes = 0;
  bool dividing = !toSI;
  std::size_t pos = 0;
  // Every token but the last consumes its separator, so the loop ends within s.size() + 1 steps.
  for (;;) {
    const Token token = NextToken(s, pos);
    if (token.refused) {
      errors |= uSyntaxError;
      return;
    }
    bool last = token.separator == '\0';
    int record = token.overlong ? 0 : FindUnit(token.View());
    if (record == 0) {
      errors |= uUndefinedUnit;
      record = 1;
      last = true;
    }
    if (op == '/') {
      dividing = !dividing;
      ++slashes;
    }
    op = token.separator;
    const auto& unit = kUnits[static_cast<std::size_t>(record)];
    const double f = IntPower(unit.factor, token.exponent);
    if (dividing) {
      result /= f;
      AddDims(dims, unit.dims, -token.exponent, errors);
    } else {
      result *= f;
      AddDims(dims, unit.dims, token.exponent, errors);
    }
    if (slashes > 1) {
      errors |= uSyntaxError;
      return;
    }
    if (last) break;
  }
  if (std::isfinite(value) && !std::isfinite(result)) errors |= uOverflow;
}

std::size_t uRefusedCharacter(std::string_view unitString) {
  const std::string_view s = Trimmed(unitString);
  if (uIsFormulaic(s)) return std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c) || IsLetter(c) || c == '$' || c == ' ' || c == '.' || c == '/' || c == '*') continue;
    if (!Skipped(s, i)) return static_cast<std::size_t>(s.data() - unitString.data()) + i;
  }
  return std::string_view::npos;
}

void uConvertBetween(UnitErrors& errors, std::string_view toUnit, double& result, std::string_view fromUnit,
                     double value) {
  errors = 0;
  if (Trimmed(toUnit) == Trimmed(fromUnit)) {
    result = value;
    return;
  }
  Dims dims{};
  bool formulaic = false;
  UnitErrors e1 = 0;
  UnitErrors e2 = 0;
  double si = value;
  uConvert(e1, formulaic, dims, fromUnit, si, true, value);
  double out = si;
  if (e1 == 0) uConvert(e2, formulaic, dims, toUnit, out, false, si);
  errors = static_cast<UnitErrors>(e1 | e2);
  if (errors != 0) return;
  for (const auto e : dims) {
    if (e != 0) {
      errors |= uDimensionError;
      return;
    }
  }
  result = out;
}

void uStrDims(Dims& dims, std::string_view unitString) {
  dims = Dims{};
  UnitErrors errors = 0;
  bool formulaic = false;
  double result = 1.0;
  uConvert(errors, formulaic, dims, unitString, result, true, 1.0);
  if (errors != 0) dims = Dims{};
}

void uErrorText(UnitErrors errors, std::string& text) {
  text.clear();
  for (const auto& f : kFlagTexts) {
    if ((errors & f.flag) != 0) text += f.text;
  }
}

void uDimensionName(const Dims& dims, std::string& text) {
  for (const auto& d : kDimNames) {
    bool same = true;
    for (std::size_t k = 0; k < 7; ++k) same = same && d.dims[k] == dims[k];
    if (same) {
      text = d.name;
      return;
    }
  }
  text = "not recognized";
}

std::string_view uUnitSymbol(int index) {
  return ValidIndex(index) ? kUnits[static_cast<std::size_t>(index)].symbol : std::string_view{};
}

void uUnitName(int index, std::string& text) {
  if (ValidIndex(index)) {
    text = kUnits[static_cast<std::size_t>(index)].longName;
  } else {
    text = index == 0 ? "" : "ERROR";
  }
}

double uUnitFactor(int index) { return ValidIndex(index) ? kUnits[static_cast<std::size_t>(index)].factor : 1.0; }

void uUnitDims(int index, Dims& dims) {
  dims = ValidIndex(index) ? kUnits[static_cast<std::size_t>(index)].dims : Dims{};
}

bool uNextUnitSameDims(int& index, const Dims& dims) {
  for (int i = index < 0 ? 1 : index + 1; i <= kUnitCount; ++i) {
    if (kUnits[static_cast<std::size_t>(i)].dims == dims) {
      index = i;
      return true;
    }
  }
  return false;
}

}  // namespace qmx::FUM
