// Dimensioned values: entry and acceptance, limits, units, formats, record lines.
#include "units/dval.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "../support/check.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx::FUM;

std::unique_ptr<DVal> Make(std::string_view unit, double value, IOFlag io = fINOUT) {
  std::unique_ptr<DVal> dv;
  uDVinit(unit, value, io, dv);
  return dv;
}

std::string Text(const DVal& dv) {
  std::string t;
  uDVgetValStr(t, dv);
  return t;
}

// The value text of x in the default format.
std::string Lr(double x) {
  std::string t;
  qmx::FE::LRtoStr(t, 6, 12, x);
  return t;
}

void ExpectFatal(auto&& f, const std::string& message, int code) { qmx::test::ExpectRaise(f, "FUM", message, code); }

TEST(DValInit, PsiValue) {
  auto dv = Make("psi", 14.7, fIN);
  EXPECT_EQ(uDVgetMKS(*dv), 14.7 * 6894.757293168361);  // 101352.93 Pa
  double factor = 0;
  uDVgetFactor(factor, *dv);
  EXPECT_EQ(factor, 6894.757293168361);
  EXPECT_EQ(uDVgetDims(*dv), (Dims{-1, 1, -2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Text(*dv), "14.7");
  EXPECT_EQ(uDVgetIOflag(*dv), fIN);
  EXPECT_FALSE(uDVisFormulaic(*dv));
  EXPECT_EQ(dv->tag, kDValTag);
  EXPECT_EQ(dv->minimum, -1e6);
  EXPECT_EQ(dv->maximum, 1e6);
  EXPECT_EQ(dv->invalidText, "--");
  EXPECT_EQ(dv->userWord, 0U);
}

TEST(DValInit, EmptyUnitBecomesNullUnitAndBadUnitsAreFatal) {
  std::string unit;
  std::unique_ptr<DVal> dv;
  uDVinit(unit, 0.5, fINOUT, dv);
  EXPECT_EQ(unit, " ");
  std::string u;
  uDVgetUnits(u, *dv);
  EXPECT_EQ(u, " ");
  EXPECT_EQ(uDVgetDims(*dv), Dims{});
  ExpectFatal([] { Make("xyz", 1.0); }, "FUM.uDVinit()  undefined unit |xyz", 2);
  ExpectFatal([] { Make(std::string(83, 'm'), 1.0); }, "FUM.uDVinit()  unit string overflow |" + std::string(83, 'm'),
              2);
  ExpectFatal([] { Make("ssu", 10.0); }, "FUM.uDVinit()  out of range |ssu", 2);
}

TEST(DValKill, ReleasesOnceAndRefusesAnUntaggedRecord) {
  auto dv = Make("m", 1.0);
  uDVkill(dv);
  EXPECT_EQ(dv, nullptr);
  ExpectFatal([&] { uDVkill(dv); }, "FUM.uDVkill() INVALID DVal", 3);
  auto raw = std::make_unique<DVal>();
  ExpectFatal([&] { uDVkill(raw); }, "FUM.uDVkill() INVALID DVal", 3);
  DVal untagged;
  ExpectFatal([&] { uDVsetMKS(1.0, untagged); }, "FUM.uDVsetMKS() UNINITIALIZED DVAL", 3);
  ExpectFatal([&] { uDVsetUnits("m", untagged); }, "FUM.uDVsetUnits() UNINITIALIZED DVAL", 3);
  ExpectFatal([&] { uDVcheckUnits("m", untagged); }, "FUM.uDVcheckUnits() UNINITIALIZED DVAL", 3);
  ExpectFatal([&] { uDVsetValStr("1", untagged); }, "FUM.uDVsetValStr() UNINITIALIZED DVAL", 3);
  bool changed = false;
  ExpectFatal([&] { uDVsetValStrDelta(changed, "1", untagged); }, "FUM.uDVsetValStrDelta() UNINITIALIZED DVAL", 3);
  ExpectFatal([&] { uDVsetValStrTempUnits("m", "1", untagged); },
              "FUM.uDVsetValStrTempUnits() UNINITIALIZED DVAL", 3);
  ExpectFatal([&] { uDVsetValTempUnits("m", 1.0, untagged); }, "FUM.uDVsetValTempUnits() UNINITIALIZED DVAL", 3);
}

TEST(DValUnits, ChangeKeepsTheSIValueAndWrongDimensionChangesNothing) {
  auto dv = Make("psi", 14.7);
  const double si = uDVgetMKS(*dv);
  EXPECT_TRUE(uDVsetUnits("kpa", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), si);
  EXPECT_NEAR(uDVgetVal(*dv), 101.353, 5e-4);
  EXPECT_EQ(Text(*dv), "101.352932");
  {
    qmx::FE::ScopedBeepCount beeps;
    EXPECT_FALSE(uDVsetUnits("kg", *dv));
    EXPECT_EQ(beeps.count(), 0);  // beep flag not set
    uDVsetBeep(true, *dv);
    EXPECT_FALSE(uDVsetUnits("kg", *dv));
    EXPECT_FALSE(uDVsetUnits("", *dv));
    EXPECT_FALSE(uDVsetUnits("kpa/", *dv));
    EXPECT_FALSE(uDVsetUnits(std::string(100, ' '), *dv));
    EXPECT_EQ(beeps.count(), 4);
  }
  std::string u;
  uDVgetUnits(u, *dv);
  EXPECT_EQ(u, "kpa");
  EXPECT_EQ(uDVgetMKS(*dv), si);
  EXPECT_EQ(Text(*dv), "101.352932");
  EXPECT_TRUE(uDVcheckUnits("lbf/in2", *dv));
  EXPECT_FALSE(uDVcheckUnits("lbf", *dv));
  // A compound unit of the same dimension.
  EXPECT_TRUE(uDVsetUnits("lbf/in2", *dv));
  EXPECT_NEAR(uDVgetVal(*dv), 14.7, 1e-6);
}

TEST(DValTemperature, FormulaicUnits) {
  auto dv = Make("F", 60.0);
  EXPECT_TRUE(uDVisFormulaic(*dv));
  EXPECT_NEAR(uDVgetMKS(*dv), 288.7055555555556, 1e-12);
  EXPECT_TRUE(uDVsetValStr("32", *dv));
  EXPECT_NEAR(uDVgetMKS(*dv), 273.15, 1e-12);
  EXPECT_TRUE(uDVsetUnits("C", *dv));
  EXPECT_NEAR(uDVgetVal(*dv), 0.0, 1e-12);
  EXPECT_EQ(Text(*dv), "0");
  double factor = 0;
  ExpectFatal([&] { uDVgetFactor(factor, *dv); }, "FUM.uDVgetFactor() INVALID DVAL FACTOR", 5);
  EXPECT_TRUE(uDVsetUnits("K", *dv));
  EXPECT_NEAR(uDVgetVal(*dv), 273.15, 1e-12);
  EXPECT_NEAR(uDVgetValTempUnits("F", *dv), 32.0, 1e-12);
  EXPECT_NEAR(uDVgetValTempUnits("R", *dv), 491.67, 1e-12);
  // A temperature entered in another scale keeps the display unit.
  EXPECT_TRUE(uDVsetValStrTempUnits("C", "100", *dv));
  EXPECT_NEAR(uDVgetMKS(*dv), 373.15, 1e-12);
  EXPECT_NEAR(uDVgetVal(*dv), 373.15, 1e-12);
  EXPECT_TRUE(uDVsetValTempUnits("F", 212.0, *dv));
  EXPECT_NEAR(uDVgetMKS(*dv), 373.15, 1e-12);
  // A non-formulaic interval unit of temperature is still temperature.
  EXPECT_TRUE(uDVsetUnits("m.K", *dv));
  EXPECT_FALSE(uDVisFormulaic(*dv));
  EXPECT_NEAR(uDVgetVal(*dv), 373150.0, 1e-6);
  ExpectFatal([&] { uDVgetValTempUnits("psi", *dv); }, "FUM.uDVgetValTempUnits()", 9);
  ExpectFatal([&] { uDVgetValTempUnits("xyz", *dv); }, "FUM.uDVgetValTempUnits()", 9);
}

TEST(DValFormulaic, ApiAndSsuValues) {
  auto rho = Make("api", 10.0);
  EXPECT_NEAR(uDVgetMKS(*rho), 999.016, 1e-9);
  EXPECT_TRUE(uDVsetUnits("kg/m3", *rho));
  EXPECT_NEAR(uDVgetVal(*rho), 999.016, 1e-9);
  EXPECT_TRUE(uDVsetUnits("api", *rho));
  EXPECT_NEAR(uDVgetVal(*rho), 10.0, 1e-9);
  auto nu = Make("cstk", 10.0);
  // 1.0 SSU is outside the Saybolt range; the unit test uses 31.92.
  EXPECT_TRUE(uDVsetUnits("ssu", *nu));
  EXPECT_TRUE(uDVisFormulaic(*nu));
  EXPECT_NEAR(uDVgetVal(*nu), 58.84, 0.01);
  EXPECT_DOUBLE_EQ(uDVgetMKS(*nu), 10e-6);
}

TEST(DValEntry, LimitsAreInclusive) {
  auto dv = Make("kpa", 5.0);
  uDVsetBeep(true, *dv);
  uDVsetMinLimit("pa", 0.0, *dv);
  qmx::FE::ScopedBeepCount beeps;
  EXPECT_FALSE(uDVsetValStr("-1", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 5000.0);
  EXPECT_EQ(Text(*dv), Lr(5.0));
  EXPECT_EQ(beeps.count(), 1);
  EXPECT_TRUE(uDVsetValStr("0", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 0.0);
  uDVsetMaxLimit("bar", 1.0, *dv);
  EXPECT_TRUE(uDVsetValStr("100", *dv));
  EXPECT_FALSE(uDVsetValStr("100.001", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 100000.0);
  // A limit refusal through the page's entry does not beep; its change report stays false.
  bool changed = true;
  EXPECT_FALSE(uDVsetValStrDelta(changed, "200", *dv));
  EXPECT_FALSE(changed);
  EXPECT_EQ(beeps.count(), 2);
  EXPECT_FALSE(uDVsetValTempUnits("psi", 20.0, *dv));
  EXPECT_FALSE(uDVsetValStrTempUnits("psi", "-0.1", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 100000.0);
}

TEST(DValEntry, NewLimitClampsTheValueAndItsDisplay) {
  auto dv = Make("kpa", 5.0);
  uDVsetMaxLimit("kpa", 2.0, *dv);
  EXPECT_EQ(uDVgetMKS(*dv), 2000.0);
  EXPECT_EQ(uDVgetVal(*dv), 2.0);
  EXPECT_EQ(Text(*dv), Lr(2.0));
  uDVsetMinLimit("psi", 1.0, *dv);
  EXPECT_EQ(uDVgetMKS(*dv), 6894.757293168361);
  EXPECT_EQ(Text(*dv), "6.894757");
  // A temperature limit in a scale with an offset.
  auto t = Make("C", 20.0);
  uDVsetMinLimit("F", 100.0, *t);
  EXPECT_NEAR(uDVgetVal(*t), 37.77777777777777, 1e-9);
  ExpectFatal([&] { uDVsetMinLimit("xyz", 0.0, *t); }, "FUM.uDVsetMinLimit() INVALID UNITS xyz", 6);
  ExpectFatal([&] { uDVsetMaxLimit("", 0.0, *t); }, "FUM.uDVsetMaxLimit() INVALID UNITS ", 6);
  // Output values ignore limits.
  auto out = Make("kpa", 5.0, fOUT);
  uDVsetMaxLimit("kpa", 1.0, *out);
  EXPECT_FALSE(out->maxSet);
  EXPECT_EQ(uDVgetMKS(*out), 5000.0);
}

TEST(DValEntry, TextsAndChangeReports) {
  auto dv = Make("psi", 14.7);
  // Each entry, whether it changed the value, and the new value; "14.70" is tidied before the comparison.
  const std::tuple<const char*, bool, double> entries[] = {
      {"14.7", false, 0.0}, {"14.70", false, 0.0}, {"1e3", true, 1000.0}, {"12 psi", true, 12.0}, {"1,234", true, 1234.0}};
  for (const auto& [text, change, value] : entries) {
    bool changed = !change;
    EXPECT_TRUE(uDVsetValStrDelta(changed, text, *dv)) << text;
    EXPECT_EQ(changed, change) << text;
    if (change) {
      EXPECT_EQ(uDVgetVal(*dv), value) << text;
    }
  }
  EXPECT_TRUE(uDVsetValStr("  -2.5E-1", *dv));
  EXPECT_EQ(uDVgetVal(*dv), -0.25);
  EXPECT_EQ(uDVgetMKS(*dv), -0.25 * 6894.757293168361);
}

TEST(DValEntry, TextWithoutDigitIsRefusedAndChangesNothing) {
  auto dv = Make("psi", 14.7);
  uDVsetBeep(true, *dv);
  const double si = uDVgetMKS(*dv);
  qmx::FE::ScopedBeepCount beeps;
  bool changed = true;
  for (const char* text : {"abc", "", "psi", "-", ".", "e"}) {
    EXPECT_FALSE(uDVsetValStr(text, *dv)) << text;
    EXPECT_FALSE(uDVsetValStrDelta(changed, text, *dv)) << text;
    EXPECT_FALSE(changed);
    EXPECT_FALSE(uDVsetValStrTempUnits("kpa", text, *dv)) << text;
  }
  EXPECT_EQ(uDVgetMKS(*dv), si);
  EXPECT_EQ(Text(*dv), "14.7");
  EXPECT_EQ(beeps.count(), 12);  // the two display-unit entries beep; the other-unit entry never does
}

TEST(DValEntry, OtherUnitsOfTheSameDimension) {
  auto dv = Make("kpa", 1.0);
  EXPECT_TRUE(uDVsetValStrTempUnits("psi", "1", *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 6894.757293168361);
  EXPECT_NEAR(uDVgetVal(*dv), 6.894757293168361, 1e-15);
  std::string u;
  uDVgetUnits(u, *dv);
  EXPECT_EQ(u, "kpa");
  EXPECT_FALSE(uDVsetValStrTempUnits("kg", "1", *dv));
  EXPECT_FALSE(uDVsetValStrTempUnits("xyz", "1", *dv));
  EXPECT_FALSE(uDVsetValTempUnits("ft", 1.0, *dv));
  EXPECT_FALSE(uDVsetValTempUnits("psi", std::nan(""), *dv));
  EXPECT_FALSE(uDVsetValTempUnits("psi", HUGE_VAL, *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 6894.757293168361);
  EXPECT_TRUE(uDVsetValTempUnits("bar", 1.0, *dv));
  EXPECT_EQ(uDVgetMKS(*dv), 100000.0);
  EXPECT_DOUBLE_EQ(uDVgetValTempUnits("bar", *dv), 1.0);
}

TEST(DValEntry, InvalidValuesShowTheInvalidText) {
  auto dv = Make("m", 2.0, fINOUT);
  uDVsetValid(false, *dv);
  EXPECT_EQ(Text(*dv), "--");
  uDVsetInvalidStr("not computed, a very long text beyond thirty-one", *dv);
  EXPECT_EQ(Text(*dv), std::string("not computed, a very long text beyond thirty-one").substr(0, 31));
  std::string t;
  uDVgetValStrFwPr(t, 10, 3, *dv);
  EXPECT_EQ(t, Text(*dv));
  // Entering the number the value held before makes it valid again.
  EXPECT_TRUE(uDVsetValStr("2", *dv));
  EXPECT_EQ(Text(*dv), Lr(2.0));
  // A refused entry leaves an invalid value invalid.
  uDVsetValid(false, *dv);
  uDVsetMinLimit("m", 0.0, *dv);
  EXPECT_FALSE(uDVsetValStr("-5", *dv));
  EXPECT_FALSE(dv->valid);
}

TEST(DValIO, WritesByRole) {
  auto in = Make("kg", 1.0, fIN);
  ExpectFatal([&] { uDVsetMKS(2.0, *in); }, "FUM.uDVsetMKS() INVALID DVAL WRITE", 4);
  auto out = Make("lbm", 1.0, fOUT);
  ExpectFatal([&] { uDVsetValStr("2", *out); }, "FUM.uDVsetValStr() INVALID DVAL WRITE", 4);
  bool changed = false;
  ExpectFatal([&] { uDVsetValStrDelta(changed, "2", *out); }, "FUM.uDVsetValStrDelta() INVALID DVAL WRITE", 4);
  ExpectFatal([&] { uDVsetValStrTempUnits("kg", "2", *out); }, "FUM.uDVsetValStrTempUnits() INVALID DVAL WRITE",
              4);
  ExpectFatal([&] { uDVsetValTempUnits("kg", 2.0, *out); }, "FUM.uDVsetValTempUnits() INVALID DVAL WRITE", 4);
  ExpectFatal([&] { uDVsetBeep(true, *out); }, "FUM.uDVsetBeep() IOflag", 8);
  // Results are stored in SI and shown in the display unit; limits and validity are untouched.
  uDVsetValid(false, *out);
  uDVsetMKS(0.45359237, *out);
  EXPECT_DOUBLE_EQ(uDVgetVal(*out), 1.0);
  EXPECT_FALSE(out->valid);
  auto t = Make("F", 0.0, fINOUT);
  uDVsetMKS(373.15, *t);
  EXPECT_NEAR(uDVgetVal(*t), 212.0, 1e-12);
}

TEST(DValFormat, WidthPrecisionAndSignificantDigits) {
  auto dv = Make("kpa", 101.35293);
  uDVsetSigDigits(5, *dv);
  EXPECT_EQ(Text(*dv), "101.35");
  uDVsetFwPr(2, 12, *dv);
  EXPECT_EQ(dv->sigDigits, 0);
  EXPECT_EQ(Text(*dv), "101.35");
  uDVsetFwPr(6, 12, *dv);
  EXPECT_EQ(Text(*dv), "101.35293");
  std::string t;
  uDVgetValStrFwPr(t, 40, 1, *dv);  // width capped at 22
  std::string expected;
  qmx::FE::LRtoStr(expected, 1, 22, 101.35293);
  EXPECT_EQ(t, expected);
  uDVgetValStrFwPr(t, 4, 9, *dv);  // precision larger than the width: 0
  qmx::FE::LRtoStr(expected, 0, 4, 101.35293);
  EXPECT_EQ(t, expected);
  EXPECT_TRUE(uDVgetValStrInUnits(true, "psi", t, *dv));
  qmx::FE::LONGREALtoStr(expected, 17, 101352.93 / 6894.757293168361);
  EXPECT_EQ(t, expected);
  EXPECT_TRUE(uDVgetValStrInUnits(false, "pa", t, *dv));
  EXPECT_EQ(t, "101352.93");
  EXPECT_FALSE(uDVgetValStrInUnits(false, "kg", t, *dv));
  EXPECT_FALSE(uDVgetValStrInUnits(false, "xyz", t, *dv));
  // The value text holds at most 31 characters whatever the width.
  uDVsetFwPr(200, 250, *dv);
  EXPECT_LE(Text(*dv).size(), kDValTextLength);
}

TEST(DValRecordLine, RoundTrip) {
  auto dv = Make("lbm/ft3", 62.4, fINOUT);
  uDVsetMinLimit("kg/m3", 1.0, *dv);
  uDVsetMaxLimit("kg/m3", 2000.0, *dv);
  uDVsetSigDigits(7, *dv);
  uDVsetBeep(true, *dv);
  std::string line;
  uDVtoCDTstr("Liquid density", *dv, line);
  EXPECT_EQ(line.substr(0, 15), "Liquid density,");
  EXPECT_NE(line.find(",-3,1,0,0,0,0,0,0,NO,YES,YES,fINOUT,12,6,"), std::string::npos) << line;
  EXPECT_EQ(line.back(), ',');

  auto back = Make("kg/m3", 1.0, fINOUT);
  std::string name;
  uCDTstrToDV(back.get(), name, line);
  EXPECT_EQ(name, "Liquid density");
  EXPECT_EQ(back->mks, dv->mks);
  EXPECT_EQ(back->display, dv->display);
  EXPECT_EQ(back->factor, dv->factor);
  EXPECT_EQ(back->minimum, dv->minimum);
  EXPECT_EQ(back->maximum, dv->maximum);
  EXPECT_TRUE(back->minSet && back->maxSet);
  EXPECT_EQ(back->units, "lbm/ft3");
  EXPECT_EQ(back->valueText, dv->valueText);
  EXPECT_EQ(back->sigDigits, 7);
  EXPECT_FALSE(back->beep);  // read but not applied
  // The record continues to work in its new unit.
  EXPECT_TRUE(uDVsetValStr("1", *back));
  EXPECT_NEAR(uDVgetMKS(*back), 16.0185, 1e-4);

  // A formulaic value keeps its flag.
  auto t = Make("F", 60.0, fINOUT);
  uDVtoCDTstr("T", *t, line);
  auto t2 = Make("K", 0.0, fINOUT);
  uCDTstrToDV(t2.get(), name, line);
  EXPECT_TRUE(t2->formulaic);
  EXPECT_EQ(t2->units, "F");
  EXPECT_EQ(t2->mks, t->mks);
}

TEST(DValRecordLine, BadLinesRaiseAndChangeNothing) {
  auto dv = Make("kpa", 5.0, fINOUT);
  std::string line;
  uDVtoCDTstr("P", *dv, line);
  auto target = Make("psi", 1.0, fINOUT);
  const DVal before = *target;
  std::string name = "kept";
  auto same = [&] {
    EXPECT_EQ(target->mks, before.mks);
    EXPECT_EQ(target->units, before.units);
    EXPECT_EQ(name, "kept");
  };
  ExpectFatal([&] { uCDTstrToDV(nullptr, name, line); }, "FUM.uCDTstrToDV() INVALID DVAL", 3);
  // A mass value cannot take a pressure line.
  auto mass = Make("kg", 1.0, fINOUT);
  ExpectFatal([&] { uCDTstrToDV(mass.get(), name, line); }, "FUM.uCDTstrToDV() INVALID DIMENSIONALITY", 7);
  auto output = Make("kpa", 1.0, fOUT);
  ExpectFatal([&] { uCDTstrToDV(output.get(), name, line); }, "FUM.uCDTstrToDV() I/O MISMATCH", 7);
  // Cut before the unit string; a number that does not convert; a unit of another dimension.
  const std::size_t cut = line.find(",5,");
  ExpectFatal([&] { uCDTstrToDV(target.get(), name, line.substr(0, cut)); }, "FUM.uCDTstrToDV() INVALID CONVERSION",
              7);
  std::string bad = line;
  bad.replace(bad.find(',') + 1, 4, "x000");
  ExpectFatal([&] { uCDTstrToDV(target.get(), name, bad); }, "FUM.uCDTstrToDV() INVALID CONVERSION", 7);
  bad = line;
  bad.replace(bad.find(",kpa,"), 5, ",kg,");
  ExpectFatal([&] { uCDTstrToDV(target.get(), name, bad); }, "FUM.uCDTstrToDV() INVALID CONVERSION", 7);
  ExpectFatal([&] { uCDTstrToDV(target.get(), name, ""); }, "FUM.uCDTstrToDV() INVALID CONVERSION", 7);
  ExpectFatal([&] { uCDTstrToDV(target.get(), name, std::string(5000, ',')); },
              "FUM.uCDTstrToDV() INVALID CONVERSION", 7);
  same();
  // Unknown I/O words are not compared; fields 24 and 25 are not read.
  bad = line;
  bad.replace(bad.find("fINOUT"), 6, "other");
  uCDTstrToDV(target.get(), name, bad.substr(0, bad.find("NO,0,VALID")));
  EXPECT_EQ(name, "P");
  EXPECT_EQ(target->mks, 5000.0);
}

// Random entry texts and record lines: entries are accepted or refused without a raise, and the
// SI value always agrees with the display value; a record line either reads or raises the reader's
// own error.
TEST(DValRobustness, RandomTexts) {
  std::mt19937 rng(6268);
  const std::string alphabet = "0123456789.,-+eE psikgYESNOfINOUT\x01\xff";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 30);
  auto dv = Make("kpa", 1.0);
  uDVsetMinLimit("kpa", -500.0, *dv);
  uDVsetMaxLimit("kpa", 500.0, *dv);
  std::string line;
  uDVtoCDTstr("P", *dv, line);
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const int n = length(rng);
    for (int k = 0; k < n; ++k) text += alphabet[pick(rng)];
    bool changed = false;
    EXPECT_NO_THROW(uDVsetValStrDelta(changed, text, *dv)) << text;
    EXPECT_NO_THROW(uDVsetValStrTempUnits("psi", text, *dv)) << text;
    EXPECT_NEAR(uDVgetMKS(*dv), uDVgetVal(*dv) * 1000.0, 1e-12 * std::fabs(uDVgetMKS(*dv)) + 1e-300);
    EXPECT_LE(uDVgetMKS(*dv), 500000.0);
    std::string mutated = line;
    mutated.replace(std::uniform_int_distribution<std::size_t>(0, line.size() - 1)(rng), 1, text);
    std::string name;
    auto target = Make("kpa", 1.0);
    try {
      uCDTstrToDV(target.get(), name, mutated);
    } catch (const qmx::Error& e) {
      EXPECT_EQ(e.module(), "FUM");
      EXPECT_EQ(e.code(), 7) << e.message();
    }
  }
}

}  // namespace

// A stored result's text is the one every reader sees: the getter, the record line and the
// comparison that takes a re-entry of the shown text as no change.
TEST(DValFormat, StoredResultTextReachesEveryReader) {
  auto dv = Make("kpa", 1.0, fINOUT);
  uDVsetSigDigits(5, *dv);
  uDVsetMKS(101352.93, *dv);
  std::string line;
  uDVtoCDTstr("p", *dv, line);
  EXPECT_NE(line.find(",101.35,"), std::string::npos) << line;
  EXPECT_EQ(Text(*dv), "101.35");
  uDVsetMKS(2000.0, *dv);
  bool changed = false;
  EXPECT_TRUE(uDVsetValStrDelta(changed, "2", *dv));
  EXPECT_FALSE(changed);
  EXPECT_EQ(uDVgetMKS(*dv), 2000.0);
}
