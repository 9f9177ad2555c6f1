// Real value fields: display modes, entries and their refusal, limits, formats,
// the record line and the raises of uninitialised fields.
#include "units/fi.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "../support/check.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx::FI;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using BeepCounter = qmx::FE::ScopedBeepCount;

std::unique_ptr<RVal> Make(double value, IOFlag io = fINOUT) {
  std::unique_ptr<RVal> rv;
  RVinit(value, io, rv);
  return rv;
}

std::string Text(const RVal& rv) {
  std::string text;
  RVgetValStr(text, rv);
  return text;
}

std::string Sci(const RVal& rv) {
  std::string text;
  RVgetSciStr(text, rv);
  return text;
}

// The stored value after an entry the field accepts; NaN when it refuses the text.
double Entered(std::string_view text, RVal& rv) { return RVsetValStr(text, rv) ? RVgetLReal(rv) : kNaN; }

void ExpectRaise(auto&& op, const std::string& message, int code) { qmx::test::ExpectRaise(op, "FI", message, code); }

TEST(RVinit, DefaultsAndRelease) {
  auto rv = Make(1234.5678, fIN);
  ASSERT_TRUE(rv);
  EXPECT_EQ(rv->tag, 12345);
  EXPECT_EQ(rv->value, 1234.5678);
  EXPECT_EQ(rv->minimum, 0);
  EXPECT_EQ(rv->maximum, 0);
  EXPECT_FALSE(rv->minimumSet || rv->maximumSet || rv->beep);
  EXPECT_TRUE(rv->valid);
  EXPECT_EQ(rv->aux, 0);
  EXPECT_EQ(rv->mode, DisplayMode::Fraction);
  EXPECT_EQ(rv->io, fIN);
  EXPECT_EQ(rv->sigDigits, 5);
  EXPECT_EQ(rv->width, 12);
  EXPECT_EQ(rv->precision, 6);
  EXPECT_EQ(rv->invalidText, "--");
  // The first text is the width/precision format, not the 5 significant digits.
  EXPECT_EQ(Text(*rv), "1234.5678");
  EXPECT_EQ(Text(*Make(0)), "0");
  RVkill(rv);
  EXPECT_FALSE(rv);
  ExpectRaise([&] { RVkill(rv); }, "FI.RVkill() INVALID RVal", 1);
  auto untagged = std::make_unique<RVal>();
  ExpectRaise([&] { RVkill(untagged); }, "FI.RVkill() INVALID RVal", 1);
  EXPECT_TRUE(untagged);
}

TEST(DisplayMode, PercentAndPartsPerMillion) {
  auto rv = Make(0.0123);
  RVsetToPercent(*rv);
  EXPECT_EQ(Text(*rv), "1.23");
  EXPECT_EQ(Entered("2.5", *rv), 0.025);
  EXPECT_EQ(Text(*rv), "2.5");
  RVsetToPartsPerMillion(*rv);
  EXPECT_EQ(Entered("150", *rv), 0.00015);
  EXPECT_EQ(Text(*rv), "150.0");
}

TEST(DisplayMode, TimeUsesDaysHoursMinutesSeconds) {
  auto rv = Make(90061.5);
  RVsetToTime(*rv);
  EXPECT_EQ(Text(*rv), "1:1:1:1.50000");  // 5 significant digits give 5 decimals
  RVsetFwPr(1, 12, *rv);
  EXPECT_EQ(Text(*rv), "1:1:1:1.5");
  EXPECT_EQ(Entered("1:30", *rv), 90);
  EXPECT_EQ(Text(*rv), "1:30.0");
  EXPECT_FALSE(RVsetValStr("1:30 min", *rv));
  EXPECT_EQ(RVgetLReal(*rv), 90);
  // A negative time keeps its sign through the text.
  RVsetLReal(-61, *rv);
  EXPECT_EQ(Text(*rv), "-1:1.0");
  EXPECT_EQ(Entered("-2:0", *rv), -120);
  for (double v : {kInf, kNaN}) {
    RVsetLReal(v, *rv);
    EXPECT_EQ(Text(*rv), "Infinite");
  }
  EXPECT_FALSE(RVsetValStr("abc", *rv));  // no tidy in time mode: a text without digits is refused
  EXPECT_EQ(Entered("59.25", *rv), 59.25);
}

TEST(Format, SignificantDigitsAndWidthPrecision) {
  auto rv = Make(101.35293);
  RVsetLReal(101.35293, *rv);
  EXPECT_EQ(Text(*rv), "101.35");
  RVsetPrecision(0, *rv);
  EXPECT_EQ(rv->sigDigits, 0);
  EXPECT_EQ(Text(*rv), "101.35293");
  RVsetLReal(0.0123, *rv);
  RVsetPrecision(5, *rv);
  EXPECT_EQ(Text(*rv), "0.0123");
  RVsetFwPr(6, 12, *rv);
  RVsetLReal(1234.5678, *rv);
  EXPECT_EQ(Text(*rv), "1234.5678");
  EXPECT_EQ(rv->sigDigits, 0);
  RVsetPrecision(-3, *rv);
  EXPECT_EQ(rv->sigDigits, 0);
  RVsetPrecision(1000, *rv);
  EXPECT_EQ(rv->sigDigits, 255);
  // A value clamped by a limit is shown in the display mode.
  auto pct = Make(0.5);
  RVsetToPercent(*pct);
  RVsetMaxLimit(0.2894, *pct);
  EXPECT_EQ(RVgetLReal(*pct), 0.2894);
  EXPECT_EQ(Text(*pct), "28.94");
}

TEST(Format, NonFiniteInvalidAndSeventeenDigitTexts) {
  auto out = Make(1, fOUT);
  RVsetLReal(kNaN, *out);
  EXPECT_EQ(Text(*out), "Infinite");
  EXPECT_EQ(Sci(*out), "Infinite");
  RVsetLReal(-kInf, *out);
  EXPECT_EQ(Text(*out), "Infinite");
  auto rv = Make(0.015625);
  EXPECT_EQ(Sci(*rv), "1.5625E-2");
  RVsetLReal(90061.5, *rv);
  EXPECT_EQ(Sci(*rv), "9.00615E+4");
  rv->valid = false;
  EXPECT_EQ(Sci(*rv), "--");
  EXPECT_EQ(Text(*rv), "--");
}

TEST(Format, WidthZeroPrecisionZeroAndTheTextLimit) {
  auto rv = Make(1234.5678);
  RVsetFwPr(6, 0, *rv);  // width 0: the 17-digit exponent form, tidied
  EXPECT_EQ(Text(*rv), "1.2345678E+3");
  RVsetFwPr(0, 12, *rv);  // precision 0 means 21, cut by the width
  EXPECT_EQ(Text(*rv), "1234.5678");
  // A long text is held in 31 characters.
  RVsetFwPr(0, 200, *rv);
  RVsetLReal(1.0 / 3.0 * 1e20, *rv);
  EXPECT_LE(Text(*rv).size(), 31u);
  EXPECT_EQ(Text(*rv).substr(0, 15), "333333333333333");
  RVsetToTime(*rv);
  RVsetPrecision(0, *rv);
  RVsetLReal(1e300, *rv);
  EXPECT_LE(Text(*rv).size(), 31u);
}

TEST(RVsetValStr, TextIsTidiedBeforeConversion) {
  auto rv = Make(0);
  EXPECT_EQ(Entered("12 psi", *rv), 12);
  EXPECT_EQ(Entered("1,234.5", *rv), 1234.5);
  EXPECT_EQ(Entered("1e3", *rv), 1000);
  EXPECT_EQ(Entered("-007.50", *rv), -7.5);
  // A text without a digit is refused and leaves the value as it was.
  for (const char* bad : {"abc", "", "-", "%"}) {
    EXPECT_FALSE(RVsetValStr(bad, *rv)) << bad;
    EXPECT_EQ(RVgetLReal(*rv), -7.5) << bad;
  }
}

TEST(RVsetValStr, RefusedEntryChangesNothing) {
  auto rv = Make(0.5);
  RVsetMinLimit(0.01, *rv);
  rv->valid = false;
  const RVal before = *rv;
  for (const char* bad : {"1e999", "-1e999", "abc", "0.001"}) {
    EXPECT_FALSE(RVsetValStr(bad, *rv)) << bad;
    EXPECT_EQ(rv->value, before.value);
    EXPECT_EQ(rv->valueText, before.valueText);
    EXPECT_FALSE(rv->valid) << bad;
  }
}

TEST(RVsetValStr, BeepOnlyWhenSetAndNotForOutputFields) {
  auto rv = Make(0.5);
  RVsetMaxLimit(1, *rv);
  {
    BeepCounter beeps;
    EXPECT_FALSE(RVsetValStr("2", *rv));
    EXPECT_EQ(beeps.count(), 0);
  }
  RVsetBeep(*rv);
  EXPECT_TRUE(rv->beep);
  {
    BeepCounter beeps;
    EXPECT_FALSE(RVsetValStr("2", *rv));
    EXPECT_FALSE(RVsetValStr("1e400", *rv));
    EXPECT_TRUE(RVsetValStr("0.75", *rv));
    EXPECT_EQ(beeps.count(), 2);
  }
  auto out = Make(1, fOUT);
  RVsetBeep(*out);
  EXPECT_FALSE(out->beep);
}

TEST(RVsetValStr, SameTextIsAcceptedAtOnceUnlessInvalid) {
  auto rv = Make(0.5);
  RVsetLReal(0.25, *rv);
  const std::string shown = Text(*rv);
  EXPECT_EQ(Entered(shown, *rv), 0.25);
  // An invalid field shows "--"; typing the hidden text is a real entry and
  // makes the field valid again.
  rv->valid = false;
  EXPECT_TRUE(RVsetValStr(shown, *rv));
  EXPECT_TRUE(rv->valid);
  EXPECT_EQ(Text(*rv), shown);
}

TEST(RVsetValStrDelta, ReportsAChangedValueOnly) {
  auto rv = Make(0.5);
  bool changed = false;
  EXPECT_TRUE(RVsetValStrDelta(changed, "0.5000", *rv));
  EXPECT_FALSE(changed);
  EXPECT_TRUE(RVsetValStrDelta(changed, "0.6", *rv));
  EXPECT_TRUE(changed);
  // Never reset to false: the page's flag collects every change.
  EXPECT_TRUE(RVsetValStrDelta(changed, "0.6", *rv));
  EXPECT_TRUE(changed);
  changed = false;
  RVsetMaxLimit(1, *rv);
  EXPECT_FALSE(RVsetValStrDelta(changed, "1.5", *rv));
  EXPECT_FALSE(changed);
  RVsetLReal(kNaN, *rv);
  EXPECT_TRUE(RVsetValStrDelta(changed, "0.25", *rv));
  EXPECT_TRUE(changed);
  EXPECT_EQ(RVgetLReal(*rv), 0.25);
}

TEST(Limits, InclusiveBoundsOnTheFractionAndClampOnSetting) {
  auto rv = Make(0.5);
  for (const char* text : {"-1e300", "1e300", "0", "-5"}) EXPECT_TRUE(RVsetValStr(text, *rv)) << text;
  RVsetMaxLimit(1, *rv);
  EXPECT_EQ(Entered("1", *rv), 1);
  EXPECT_FALSE(RVsetValStr("1.0001", *rv));
  EXPECT_EQ(RVgetLReal(*rv), 1);
  RVsetMinLimit(0.01, *rv);
  EXPECT_TRUE(RVsetValStr("0.01", *rv));
  EXPECT_FALSE(RVsetValStr("0.0099", *rv));
  EXPECT_EQ(RVgetLReal(*rv), 0.01);
  // A limit in percent mode applies to the fraction.
  auto pct = Make(0);
  RVsetToPercent(*pct);
  RVsetMaxLimit(0.536, *pct);
  EXPECT_EQ(Entered("50", *pct), 0.5);
  EXPECT_FALSE(RVsetValStr("54", *pct));
  EXPECT_EQ(RVgetLReal(*pct), 0.5);
  // Setting a limit clamps the value.
  auto clamped = Make(0.5);
  RVsetMinLimit(0.7, *clamped);
  EXPECT_EQ(RVgetLReal(*clamped), 0.7);
  EXPECT_EQ(Text(*clamped), "0.7");
  RVsetMaxLimit(0.6, *clamped);
  EXPECT_EQ(RVgetLReal(*clamped), 0.6);
  EXPECT_TRUE(clamped->minimumSet && clamped->maximumSet);
}

TEST(Limits, IgnoredForOutputFieldsAndNaNAndResults) {
  auto out = Make(5, fOUT);
  RVsetMaxLimit(1, *out);
  EXPECT_FALSE(out->maximumSet);
  EXPECT_EQ(RVgetLReal(*out), 5);
  auto rv = Make(5);
  RVsetMinLimit(kNaN, *rv);
  RVsetMaxLimit(kNaN, *rv);
  EXPECT_FALSE(rv->minimumSet || rv->maximumSet);
  EXPECT_TRUE(RVsetValStr("-3", *rv));
  // A result is stored without checks.
  auto in = Make(0.5, fIN);
  RVsetMaxLimit(1, *in);
  RVsetLReal(3, *in);
  EXPECT_EQ(RVgetLReal(*in), 3);
  EXPECT_EQ(Text(*in), "3.0");
}

TEST(Accessors, WritesToOutputsAndEveryOperationOnAnUninitialisedRecordRaise) {
  auto out = Make(1, fOUT);
  IOFlag io = fIN;
  RVcheck(io, *out);
  EXPECT_EQ(io, fOUT);
  bool changed = false;
  ExpectRaise([&] { RVsetValStr("2", *out); }, "FI.RVsetValStr() INVALID RVAL WRITE", 2);
  ExpectRaise([&] { RVsetValStrDelta(changed, "2", *out); }, "FI.RVsetValStrDelta() INVALID RVAL WRITE", 2);
  EXPECT_EQ(RVgetLReal(*out), 1);
  RVal blank;
  std::string text;
  ExpectRaise([&] { RVsetValStr("2", blank); }, "FI.RVsetValStr() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetValStrDelta(changed, "2", blank); }, "FI.RVsetValStrDelta() UNINITIALIZED RVAL", 1);
  EXPECT_FALSE(changed);
  ExpectRaise([&] { RVcheck(io, blank); }, "FI.RVcheck() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetPrecision(3, blank); }, "FI.RVsetPrecision() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetMinLimit(0, blank); }, "FI.RVsetMinLimit() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetMaxLimit(0, blank); }, "FI.RVsetMaxLimit() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetBeep(blank); }, "FI.RVsetBeep() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetToPercent(blank); }, "FI.RVsetToPercent() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetToPartsPerMillion(blank); }, "FI.RVsetToPartsPerMillion() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetToTime(blank); }, "FI.RVsetToTime() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVgetValStr(text, blank); }, "FI.RVgetValStr() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVgetSciStr(text, blank); }, "FI.RVgetSciStr() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVgetLReal(blank); }, "FI.RVgetLReal() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetLReal(1, blank); }, "FI.RVsetLReal() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetFwPr(6, 12, blank); }, "FI.RVsetFwPr() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVgetAux(blank); }, "FI.RVgetAux() UNINITIALIZED RVAL", 1);
  ExpectRaise([&] { RVsetAux(1, blank); }, "FI.RVsetAux() UNINITIALIZED RVAL", 1);
}

TEST(RecordLine, WrittenFieldsAndRoundTrip) {
  auto rv = Make(0.015625, fIN);
  RVsetToPercent(*rv);
  RVsetMaxLimit(0.5, *rv);
  RVsetBeep(*rv);
  RVsetAux(3, *rv);
  EXPECT_EQ(RVtoCDTstr("CO2", *rv), "CO2,1.5625E-2,0.0,5.0E-1,1.5625,NO,YES,fIN,12,6,BEEP,PCT,HAS AUX,VALID,--,");
  auto src = Make(0.25, fINOUT);
  RVsetMinLimit(0.125, *src);
  RVsetMaxLimit(0.75, *src);
  RVsetFwPr(4, 10, *src);
  auto dst = Make(0, fIN);
  std::string name;
  CDTstrToRV(*dst, name, RVtoCDTstr("beta", *src));
  EXPECT_EQ(name, "beta");
  EXPECT_EQ(dst->value, 0.25);
  EXPECT_EQ(dst->minimum, 0.125);
  EXPECT_EQ(dst->maximum, 0.75);
  EXPECT_TRUE(dst->minimumSet && dst->maximumSet);
  EXPECT_EQ(dst->valueText, src->valueText);
  EXPECT_EQ(dst->width, 10);
  EXPECT_EQ(dst->precision, 4);
  EXPECT_EQ(dst->io, fIN);  // field 7 is not applied
  // Fields ten on are not read.
  CDTstrToRV(*dst, name, "x,2.5,0,0,2.5,NO,NO,fOUT,12,6");
  EXPECT_EQ(dst->value, 2.5);
  EXPECT_EQ(name, "x");
  EXPECT_FALSE(dst->beep);
}

TEST(RecordLine, BadLinesRaiseAndLeaveTheRecord) {
  auto rv = Make(0.5);
  std::string name = "kept";
  for (const char* line : {"x,2.5,0,0,2.5,NO,NO,fIN,12", "x,2.5,0,0,2.5,NO,NO,fIN,12,300,"})
    ExpectRaise([&] { CDTstrToRV(*rv, name, line); }, std::string("FI.CSVstrToRV() INVALID CONVERSION=9 = ") + line, 1);
  ExpectRaise([&] { CDTstrToRV(*rv, name, "x,2.5,abc,0,2.5,NO,NO,fIN,12,6,"); },
              "FI.CSVstrToRV() INVALID CONVERSION=2 = x,2.5,abc,0,2.5,NO,NO,fIN,12,6,", 1);
  ExpectRaise([&] { CDTstrToRV(*rv, name, ""); }, "FI.CSVstrToRV() INVALID CONVERSION=1 = ", 1);
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(rv->value, 0.5);
  RVal blank;
  ExpectRaise([&] { CDTstrToRV(blank, name, "x,2.5,0,0,2.5,NO,NO,fIN,12,"); }, "FI.CDTstrToRV() INVALID Rval", 1);
}

}  // namespace

// A stored result's text is the one the record line and the re-entry comparison see.
TEST(Format, StoredResultTextReachesEveryReader) {
  auto rv = Make(0.5);
  RVsetLReal(101.35293, *rv);
  EXPECT_NE(RVtoCDTstr("x", *rv).find(",101.35,"), std::string::npos);
  RVsetLReal(2.0, *rv);
  bool changed = false;
  EXPECT_TRUE(RVsetValStrDelta(changed, "2", *rv));
  EXPECT_FALSE(changed);
  EXPECT_EQ(RVgetLReal(*rv), 2.0);
}
