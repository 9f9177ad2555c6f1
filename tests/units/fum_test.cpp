// Unit catalogue and unit strings: every record against data/units/catalogue.csv, compound strings
// against NIST SP 811 factors, the formulaic units against their published values.
#include "units/fum.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "../support/check.hpp"

namespace {

using namespace qmx::FUM;

struct Converted {
  UnitErrors errors = 0;
  bool formulaic = false;
  Dims dims{};
  double result = 0.0;
};

Converted ToSI(std::string_view unit, double value) {
  Converted c;
  uConvert(c.errors, c.formulaic, c.dims, unit, c.result, true, value);
  return c;
}

// The error flags of converting 1 of the unit to SI.
UnitErrors Errors(std::string_view unit) { return ToSI(unit, 1.0).errors; }

Converted FromSI(std::string_view unit, double value) {
  Converted c;
  uConvert(c.errors, c.formulaic, c.dims, unit, c.result, false, value);
  return c;
}

std::string UnitName(int index) {
  std::string name;
  uUnitName(index, name);
  return name;
}

std::string DimensionName(std::string_view unit) {
  Dims d{};
  uStrDims(d, unit);
  std::string name;
  uDimensionName(d, name);
  return name;
}

Dims UnitDims(int index) {
  Dims d{};
  uUnitDims(index, d);
  return d;
}

TEST(FumCatalogue, EveryRecordMatchesTheDataFileBitForBit) {
  int count = 0;
  for (const auto& f : qmx::test::ReadCsv("units/catalogue.csv")) {
    ASSERT_EQ(f.size(), 12U) << f[0];
    const int index = std::stoi(f[0]);
    ASSERT_EQ(index, ++count);
    EXPECT_EQ(uUnitSymbol(index), f[1]) << index;
    const double printed = std::strtod(f[2].c_str(), nullptr);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(uUnitFactor(index)), std::bit_cast<std::uint64_t>(printed)) << f[1];
    const Dims d = UnitDims(index);
    for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(d[k], std::stoi(f[3 + k])) << f[1] << " exponent " << k;
    EXPECT_EQ(UnitName(index), f[11]);
  }
  EXPECT_EQ(count, kUnitCount);
}

TEST(FumCatalogue, SymbolsAscendByByteValueAndAreFoundBySearch) {
  for (int i = 2; i <= kUnitCount; ++i) EXPECT_LT(uUnitSymbol(i - 1), uUnitSymbol(i)) << i;
  EXPECT_EQ(uUnitSymbol(1), " ");
  // Every symbol, alone, converts with its own factor and dimension (formulaic strings excepted).
  for (int i = 1; i <= kUnitCount; ++i) {
    const std::string_view s = uUnitSymbol(i);
    if (uIsFormulaic(s)) continue;
    // A prefix is written in front of another unit.
    const bool prefix = s.back() == '.';
    const auto c = ToSI(prefix ? std::string(s) + "m" : std::string(s), 1.0);
    EXPECT_EQ(c.errors, 0) << s;
    EXPECT_EQ(c.result, uUnitFactor(i)) << s;
    Dims d = UnitDims(i);
    if (prefix) d[0] = 1;
    EXPECT_EQ(c.dims, d) << s;
  }
}

TEST(FumCatalogue, OutOfRangeRecords) {
  EXPECT_EQ(UnitName(0), "");
  EXPECT_EQ(UnitName(177), "ERROR");
  EXPECT_EQ(UnitName(-3), "ERROR");
  EXPECT_EQ(uUnitSymbol(177), "");
  EXPECT_EQ(uUnitFactor(0), 1.0);
}

TEST(FumCatalogue, NextUnitSameDimsWalksOneDimension) {
  Dims pressure{};
  uStrDims(pressure, "pa");
  std::vector<std::string> found;
  int index = 0;
  while (uNextUnitSameDims(index, pressure)) found.emplace_back(uUnitSymbol(index));
  EXPECT_EQ(found.size(), 16U);
  EXPECT_EQ(found.front(), "atm");
  EXPECT_EQ(found.back(), "torr");
  EXPECT_EQ(uUnitSymbol(index), "torr");  // unchanged after the last
  Dims none{};
  none[7] = 1;
  index = 0;
  EXPECT_FALSE(uNextUnitSameDims(index, none));
  EXPECT_EQ(index, 0);
  // All 176 records belong to some walk over the dimensions they carry.
  std::set<int> seen;
  for (int i = 1; i <= kUnitCount; ++i) {
    const Dims d = UnitDims(i);
    int j = 0;
    while (uNextUnitSameDims(j, d)) seen.insert(j);
  }
  EXPECT_EQ(seen.size(), 176U);
}

TEST(FumDimensions, NamesAndFirstMatch) {
  qmx::test::ExpectResults(DimensionName, {{"kg/m3", "mass density"}, {"lbm/ft*sec", "absolute viscosity"},
      {"kg/kmole", "molar mass"}, {"rpm", "angular velocity"}, {"lbm*ft/sec", "momentum"}, {"j/kg", "not recognized"}});
  // The eighth exponent is not compared.
  Dims light{};
  light[7] = 1;
  std::string name;
  uDimensionName(light, name);
  EXPECT_EQ(name, "dimensionless");
}

TEST(FumErrors, TextsInFlagOrder) {
  std::string text = "x";
  uErrorText(0, text);
  EXPECT_EQ(text, "");
  uErrorText(uUndefinedUnit | uDimensionError, text);
  EXPECT_EQ(text, " undefined unit | dimension error |");
  uErrorText(0x7E, text);
  EXPECT_EQ(text,
            " syntax error | undefined unit | dimension error | unit string overflow | out of range |"
            " convergance failure |");
}

// NIST SP 811 (2008), Appendix B.9, factors to 7 significant digits (the water and mercury
// columns to the 5 or 6 digits printed there).
TEST(FumConvert, CompoundUnitsAgainstNistFactors) {
  struct Case {
    const char* unit;
    double si;
    double tol = 6e-7;
  };
  const Case cases[] = {
      {"lbm/ft3", 1.601846e1},     {"psi", 6.894757e3},         {"lbf", 4.448222},
      {"btu/lbm", 2.326e3},        {"btu/lbm*F", 4.1868e3},     {"ft3/min", 4.719474e-4},
      {"gal/min", 6.309020e-5},    {"lbm/ft*sec", 1.488164},    {"ft2/sec", 9.290304e-2},
      {"lbf*ft", 1.355818},        {"btu/hr", 2.930711e-1},     {"in3", 1.638706e-5},
      {"mile/hr", 4.4704e-1},      {"km/hr", 2.777778e-1},      {"lbm/hr", 1.259979e-4},
      {"kgf/cm2", 9.80665e4},      {"inhg", 3.37685e3, 2e-6},   {"inwc", 2.4884e2, 2e-5},
      {"torr", 1.333224e2},        {"hp", 7.456999e2},          {"therm", 1.05506e8},
      {"bbl/day", 1.840131e-6},    {"lbmole", 4.535924e-1},     {"ft*lbf/sec", 1.355818},
      {"bpd", 1.840131e-6},
  };
  for (const auto& c : cases) {
    const auto r = ToSI(c.unit, 1.0);
    EXPECT_EQ(r.errors, 0) << c.unit;
    EXPECT_NEAR(r.result / c.si, 1.0, c.tol) << c.unit;
  }
}

TEST(FumConvert, DimensionsAndDirections) {
  auto r = ToSI("kg/m3", 1.0);
  EXPECT_EQ(r.result, 1.0);
  EXPECT_EQ(r.dims, (Dims{-3, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(r.formulaic);
  r = ToSI("lbm/ft3", 1.0);
  EXPECT_NEAR(r.result, 16.0185, 1e-4);
  // m3/day is 1/86400 of m3/s within the rounding of the stored day factor.
  r = ToSI("m3/day", 1.0);
  EXPECT_NEAR(r.result * 86400.0, 1.0, 1e-15);
  EXPECT_EQ(r.dims, (Dims{3, 0, -1, 0, 0, 0, 0, 0}));
  // From SI divides and subtracts the exponents.
  r = FromSI("lbm/ft*sec", 1.488164);
  EXPECT_NEAR(r.result, 1.0, 1e-6);
  EXPECT_EQ(r.dims, (Dims{1, -1, 1, 0, 0, 0, 0, 0}));
  // A prefix multiplies once; the exponent belongs to the token it ends.
  EXPECT_DOUBLE_EQ(ToSI("k.m3", 1.0).result, 1000.0);
  EXPECT_DOUBLE_EQ(ToSI("m.m", 2.0).result, 0.002);
  EXPECT_DOUBLE_EQ(ToSI("ft3/min", 1.0).result, 0.3048 * 0.3048 * 0.3048 / 60.0);
  // Skipped characters: ft^3 is ft3; "inh2o" keeps its digit.
  EXPECT_EQ(ToSI("ft^3", 1.0).result, ToSI("ft3", 1.0).result);
  EXPECT_EQ(ToSI("inh2o", 1.0).result, 249.08232907100003);
  // The "-" after an exponent digit is skipped: it neither joins nor negates.
  EXPECT_EQ(ToSI("m3-", 1.0).dims[0], 3);
  // Temperature letters inside a compound string are intervals (5/9 for F, no offset).
  r = ToSI("btu/lbm*F", 1.0);
  EXPECT_NEAR(r.result, 1055.05585262 / 0.45359237 * 1.8, 1e-9);
  EXPECT_EQ(r.dims, (Dims{2, 0, -2, -1, 0, 0, 0, 0}));
  EXPECT_FALSE(r.formulaic);
  // The accumulated dimension is in/out.
  Converted acc;
  acc.dims = Dims{1, 0, 0, 0, 0, 0, 0, 0};
  uConvert(acc.errors, acc.formulaic, acc.dims, "m", acc.result, true, 1.0);
  EXPECT_EQ(acc.dims[0], 2);
}

TEST(FumConvert, BadStrings) {
  // Empty string: syntax error, result untouched.
  Converted c;
  c.result = 42.0;
  uConvert(c.errors, c.formulaic, c.dims, "", c.result, true, 1.0);
  EXPECT_EQ(c.errors, uSyntaxError);
  EXPECT_EQ(c.result, 42.0);
  EXPECT_EQ(ToSI(std::string_view("\0kg", 3), 1.0).errors, uSyntaxError);
  // An unknown first token ends the parse before the second "/" is seen.
  qmx::test::ExpectResults(Errors, {{"a/b/c", uUndefinedUnit}, {"m/s/s", uSyntaxError}, {"kg/m/s", uSyntaxError},
      {"xyz", uUndefinedUnit}, {"Psi", uUndefinedUnit}, {"psi ", uUndefinedUnit}, {"kg/", uUndefinedUnit},
      {"kg*", uUndefinedUnit}});
  // A token longer than 7 characters is undefined even when its first 7 would match.
  qmx::test::ExpectResults(Errors, {{"kilogram", uUndefinedUnit}, {"parsecxx", uUndefinedUnit},
      {"m*parsecxx", uUndefinedUnit}});
  // An exponent that overflows the 8-bit dimension, a factor that overflows the double.
  std::string big;
  for (int i = 0; i < 15; ++i) big += i ? "*m9" : "m9";
  EXPECT_EQ(ToSI(big, 1.0).errors & uOverflow, uOverflow);
  EXPECT_EQ(Errors("parsec9*parsec9*parsec9"), uOverflow);
  // A prefix alone leaves an empty token after it.
  EXPECT_EQ(Errors("k."), uUndefinedUnit);
  // A separator at the start gives an empty first token.
  EXPECT_EQ(Errors("/s"), uUndefinedUnit);
  // Arbitrary bytes never crash.
  EXPECT_NE(ToSI("\xff\x80/\x01*", 1.0).errors, 0);
}

// A character no unit string uses is refused and located, not skipped; "^" before an exponent
// digit and "-" are still skipped.
TEST(FumConvert, StrayCharactersAreRefused) {
  struct Case {
    const char* unit;
    UnitErrors errors;
    std::size_t at;
  };
  constexpr auto npos = std::string::npos;
  for (const Case& c : std::initializer_list<Case>{{"m!!", uSyntaxError, 1},
                                                   {"psi%", uSyntaxError, 3},
                                                   {"m^", uSyntaxError, 1},
                                                   {"m^/s", uSyntaxError, 1},
                                                   {"kg/m\t3", uSyntaxError, 4},
                                                   {"ft^3", 0, npos},
                                                   {"ft^3/min", 0, npos},
                                                   {"lbm/ft*sec", 0, npos},
                                                   {"k.m3", 0, npos},
                                                   {"F", 0, npos}}) {
    EXPECT_EQ(Errors(c.unit), c.errors) << c.unit;
    EXPECT_EQ(uRefusedCharacter(c.unit), c.at) << c.unit;
  }
  EXPECT_NEAR(ToSI("ft^3", 1.0).result, 0.028316846592, 1e-15);
}

TEST(FumFormulaic, OverflowIsFlagged) {
  EXPECT_EQ(FromSI("F", 1e308).errors, uOverflow);
  EXPECT_EQ(FromSI("R", 1.7e308).errors, uOverflow);
  EXPECT_EQ(ToSI("F", 1e308).errors, 0);  // (t + 459.67) / 1.8 stays finite
  EXPECT_EQ(FromSI("F", 1e300).errors, 0);
}

TEST(FumFormulaic, TemperatureScales) {
  auto r = ToSI("F", 32.0);
  EXPECT_TRUE(r.formulaic);
  EXPECT_NEAR(r.result, 273.15, 1e-12);
  EXPECT_EQ(r.dims, (Dims{0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_NEAR(ToSI("C", 100.0).result, 373.15, 1e-12);
  EXPECT_NEAR(ToSI("R", 491.67).result, 273.15, 1e-12);
  EXPECT_EQ(ToSI("K", 300.0).result, 300.0);
  r = FromSI("F", 373.15);
  EXPECT_NEAR(r.result, 212.0, 1e-12);
  EXPECT_EQ(r.dims[3], -1);
  EXPECT_NEAR(FromSI("C", 0.0).result, -273.15, 1e-12);
  EXPECT_NEAR(FromSI("R", 100.0).result, 180.0, 1e-12);
  // Only the whole string is a scale.
  EXPECT_FALSE(ToSI("F*", 1.0).formulaic);
}

TEST(FumFormulaic, ApiGravity) {
  auto r = ToSI("api", 10.0);
  EXPECT_TRUE(r.formulaic);
  EXPECT_NEAR(r.result, 999.016, 1e-9);
  EXPECT_EQ(r.dims, (Dims{-3, 1, 0, 0, 0, 0, 0, 0}));
  // API MPMS 11.1: 141.5 / (131.5 + API) is the relative density; 35 API is 0.8498498...
  EXPECT_NEAR(ToSI("api", 35.0).result / 999.016, 141.5 / 166.5, 1e-14);
  r = FromSI("api", 999.016);
  EXPECT_NEAR(r.result, 10.0, 1e-10);
  EXPECT_EQ(r.dims, (Dims{3, -1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ToSI("api", -131.5).errors, uOutOfRange);
  EXPECT_EQ(FromSI("api", 0.0).errors, uOutOfRange);
}

// ASTM D2161 Table 1 (100 F): kinematic viscosity in cSt and the equivalent Saybolt seconds. The
// equation reproduces the table to about 0.1 SUS.
TEST(FumFormulaic, SayboltSecondsAgainstAstmD2161) {
  struct Case {
    double cst, sus;
  };
  const Case cases[] = {{2.0, 32.62}, {10.0, 58.91}, {20.0, 97.77}};
  for (const auto& c : cases) {
    auto r = FromSI("ssu", c.cst * 1e-6);
    EXPECT_EQ(r.errors, 0);
    EXPECT_NEAR(r.result, c.sus, 0.15) << c.cst;
    EXPECT_EQ(r.dims, (Dims{-2, 0, 1, 0, 0, 0, 0, 0}));
    // The root search inverts the relation.
    const auto back = ToSI("ssu", r.result);
    EXPECT_EQ(back.errors, 0);
    EXPECT_NEAR(back.result * 1e6, c.cst, 1e-4) << c.cst;
    EXPECT_EQ(back.dims, (Dims{2, 0, -1, 0, 0, 0, 0, 0}));
  }
  // 31.92 SSU is inside the range; below about 31.81 the viscosity falls under 1.77 cSt.
  EXPECT_EQ(ToSI("ssu", 31.92).errors, 0);
  EXPECT_EQ(ToSI("ssu", 31.7).errors, uOutOfRange);
  EXPECT_EQ(FromSI("ssu", 600e-6).errors, uOutOfRange);
  EXPECT_EQ(ToSI("ssu", 3000.0).errors, uOutOfRange);
  // Values the start estimate cannot handle end in a flag, never a hang or a raise.
  for (double t : {0.0, -5.0, 1e-300, 1e300, std::nan("")}) {
    const auto r = ToSI("ssu", t);
    EXPECT_NE(r.errors, 0) << t;
  }
}

// AWG diameters (ASTM B258): 0000 = 0.4600 in, 10 = 0.1019 in, 24 = 0.0201 in, 36 = 0.0050 in.
TEST(FumFormulaic, AmericanWireGauge) {
  EXPECT_NEAR(ToSI("awg", 36.0).result, 0.000127, 1e-18);
  EXPECT_NEAR(ToSI("awg", -3.0).result / 0.0254, 0.4600, 5e-5);
  EXPECT_NEAR(ToSI("awg", 10.0).result / 0.0254, 0.1019, 5e-5);
  EXPECT_NEAR(ToSI("awg", 24.0).result / 0.0254, 0.0201, 5e-5);
  EXPECT_EQ(ToSI("awg", 10.0).dims[0], 1);
  EXPECT_EQ(ToSI("awg", -4.0).errors, 0);
  EXPECT_EQ(ToSI("awg", -5.0).errors, uOutOfRange);
  EXPECT_EQ(ToSI("awg", 51.0).errors, uOutOfRange);
  auto r = FromSI("awg", 0.1019 * 0.0254);
  EXPECT_NEAR(r.result, 10.0, 0.01);
  EXPECT_EQ(r.dims[0], -1);
  r = FromSI("awg", 0.0);
  EXPECT_EQ(r.errors, uOutOfRange);
  EXPECT_EQ(r.dims[0], 0);
  EXPECT_EQ(FromSI("awg", 1.0).errors, uOutOfRange);
}

TEST(FumFormulaic, LitresPerHundredKilometres) {
  auto r = ToSI("lphk", 8.0);
  EXPECT_DOUBLE_EQ(r.result, 1.25e7);  // 100 km per 8 L = 12.5 km/L = 1.25e7 m/m3
  EXPECT_EQ(r.dims[0], -2);
  r = FromSI("lphk", 1.25e7);
  EXPECT_DOUBLE_EQ(r.result, 8.0);
  EXPECT_EQ(r.dims[0], 2);
  EXPECT_EQ(ToSI("lphk", 0.0).errors, uOutOfRange);
}

TEST(FumConvertBetween, UnitsAndDimensionErrors) {
  UnitErrors e = 0;
  double result = -1.0;
  // 3.916791 US gallons in (4/3)*pi*6^3 cubic inches.
  const std::tuple<const char*, const char*, double, double, double> cases[] = {
      {"kpa", "psi", 14.7, 101.35293, 1e-5},
      {"C", "F", 212.0, 100.0, 1e-12},
      {"api", "kg/m3", 999.016, 10.0, 1e-10},
      {"gal", "in3", 4.0 / 3.0 * M_PI * 216.0, 3.916791, 5e-7}};
  for (const auto& [to, from, value, expected, tol] : cases) {
    uConvertBetween(e, to, result, from, value);
    EXPECT_EQ(e, 0) << from;
    EXPECT_NEAR(result, expected, tol) << from;
  }
  result = 7.0;
  uConvertBetween(e, "kg", result, "psi", 1.0);
  EXPECT_EQ(e, uDimensionError);
  EXPECT_EQ(result, 7.0);
  uConvertBetween(e, "kg", result, "xyz", 1.0);
  EXPECT_EQ(e, uUndefinedUnit);
  EXPECT_EQ(result, 7.0);
  // Equal strings return the value without parsing, even when the string would not parse.
  uConvertBetween(e, "ft", result, "ft", 3.5);
  EXPECT_EQ(e, 0);
  EXPECT_EQ(result, 3.5);
  uConvertBetween(e, "a/b/c", result, "a/b/c", 2.0);
  EXPECT_EQ(e, 0);
  EXPECT_EQ(result, 2.0);
}

TEST(FumStrDims, ZeroWhenNotConverting) {
  Dims d{};
  uStrDims(d, "btu/lbm*F");
  EXPECT_EQ(d, (Dims{2, 0, -2, -1, 0, 0, 0, 0}));
  uStrDims(d, "xyz*m");
  EXPECT_EQ(d, Dims{});
  uStrDims(d, "F");
  EXPECT_EQ(d, (Dims{0, 0, 0, 1, 0, 0, 0, 0}));
}

// Random texts over the characters a unit string may hold and a few it may not: every result is
// a flag set or a finite conversion, never a raise or a hang.
TEST(FumConvert, RandomStringsNeverRaise) {
  std::mt19937 rng(12345);
  const std::string alphabet = "kgmsftlbpiaCFKR$ ./*-^0123456789\x01\xff";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  int converted = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string unit;
    const int n = length(rng);
    for (int k = 0; k < n; ++k) unit += alphabet[pick(rng)];
    for (bool toSI : {true, false}) {
      Converted c;
      EXPECT_NO_THROW(uConvert(c.errors, c.formulaic, c.dims, unit, c.result, toSI, 1.5)) << unit;
      if (c.errors == 0 && !c.formulaic) {
        ++converted;
        EXPECT_TRUE(std::isfinite(c.result)) << unit;
      }
    }
  }
  EXPECT_GT(converted, 100);
}

}  // namespace
