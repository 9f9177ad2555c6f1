// Text utilities of FE: items, character filters, blank runs, dates, the
// days:hours:minutes:seconds form and the stored constant.
#include "units/fe.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>

#include "../support/check.hpp"

namespace {

using namespace qmx::FE;

// ---- GetItem / FindItem -----------------------------------------------------

std::string Item(int index, std::string_view seps, std::string_view text, bool& last,
                 std::size_t capacity = std::string::npos) {
  std::string item = "stale";
  GetItem(last, index, seps, text, item, capacity);
  return item;
}

TEST(GetItem, ItemsAreNumberedFromZeroAndEmptyItemsCount) {
  bool last = true;
  EXPECT_EQ(Item(0, ",", "a,bc,,d", last), "a");
  EXPECT_FALSE(last);
  EXPECT_EQ(Item(1, ",", "a,bc,,d", last), "bc");
  EXPECT_FALSE(last);
  EXPECT_EQ(Item(2, ",", "a,bc,,d", last), "");
  EXPECT_FALSE(last);
  EXPECT_EQ(Item(3, ",", "a,bc,,d", last), "d");
  EXPECT_TRUE(last);
}

TEST(GetItem, AnyCharacterOfTheSetSeparates) {
  bool last = false;
  EXPECT_EQ(Item(2, ",;", "x;y,z", last), "z");
  EXPECT_TRUE(last);
  EXPECT_EQ(Item(1, ",;", "x;y,z", last), "y");
  EXPECT_FALSE(last);
}

TEST(GetItem, TextEndingBeforeTheItemGivesEmptyAndLast) {
  bool last = false;
  EXPECT_EQ(Item(5, ",", "a,b", last), "");
  EXPECT_TRUE(last);
  EXPECT_EQ(Item(0, ",", "", last), "");
  EXPECT_TRUE(last);
  EXPECT_EQ(Item(-1, ",", "a,b", last), "");
  EXPECT_TRUE(last);
  // A trailing separator leaves an empty last item.
  EXPECT_EQ(Item(2, ",", "a,b,", last), "");
  EXPECT_TRUE(last);
}

TEST(GetItem, ItemIsCutToItsCapacity) {
  bool last = false;
  EXPECT_EQ(Item(1, " ", "Jan February", last, 3), "Feb");
  EXPECT_TRUE(last);
}

TEST(FindItem, FirstMatchingItem) {
  int index = -7;
  EXPECT_TRUE(FindItem(index, "|", "SGERG", "AGA8|SGERG|NX19|SGERG|"));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(FindItem(index, "|", "AGA8", "AGA8|SGERG|"));
  EXPECT_EQ(index, 0);
  // The empty item after the trailing separator is an item too.
  EXPECT_TRUE(FindItem(index, "|", "", "A|B|"));
  EXPECT_EQ(index, 2);
}

TEST(FindItem, NoMatchLeavesTheIndex) {
  int index = 9;
  EXPECT_FALSE(FindItem(index, "|", "SGE", "AGA8|SGERG|"));
  EXPECT_EQ(index, 9);
  EXPECT_FALSE(FindItem(index, "|", "x", ""));
  EXPECT_EQ(index, 9);
}

// ---- character filters ------------------------------------------------------

TEST(CharFilters, RemoveKeepReplace) {
  std::string t = "1,234.5 kg";
  RemoveChars(", ", t);
  EXPECT_EQ(t, "1234.5kg");
  KeepChars("0123456789.", t);
  EXPECT_EQ(t, "1234.5");
  t = "line1|line2|";
  ReplaceChar('\n', '|', t);
  EXPECT_EQ(t, "line1\nline2\n");
  t = "abc";
  RemoveChars("", t);
  EXPECT_EQ(t, "abc");
  KeepChars("", t);
  EXPECT_EQ(t, "");
}

// ---- blank runs -------------------------------------------------------------

TEST(BlanksToSeparator, SingleBlanksStayRunsBecomeOneSeparator) {
  std::string t = "Mass flow   12.5  kg/s ";
  BlanksToSeparator(',', t);
  EXPECT_EQ(t, "Mass flow,12.5,kg/s");
  t = "  lead and trail  ";
  BlanksToSeparator(',', t);
  EXPECT_EQ(t, ",lead and trail,");
  t = " a";
  BlanksToSeparator(',', t);
  EXPECT_EQ(t, " a");
  t = "";
  BlanksToSeparator(',', t);
  EXPECT_EQ(t, "");
  t = " ";
  BlanksToSeparator(',', t);
  EXPECT_EQ(t, "");
}

TEST(ShrinkBlankRuns, RunsLoseOneBlank) {
  std::string t = "a b  c   d    e";
  ShrinkBlankRuns(t);
  EXPECT_EQ(t, "a b c  d   e");
  t = "  x ";
  ShrinkBlankRuns(t);
  EXPECT_EQ(t, " x ");
  t = "";
  ShrinkBlankRuns(t);
  EXPECT_EQ(t, "");
}

// ---- dates ------------------------------------------------------------------

TEST(DateTimeStrings, DayMonthTwoDigitYearAndHourMinute) {
  std::string time, date;
  DateTimeStrings(time, date, DateTime{2014, 12, 5, 9, 5, 0});
  EXPECT_EQ(date, "5-Dec-14");
  EXPECT_EQ(time, "9:05");
  DateTimeStrings(time, date, DateTime{2007, 1, 31, 23, 59, 59});
  EXPECT_EQ(date, "31-Jan-07");
  EXPECT_EQ(time, "23:59");
  DateTimeStrings(time, date, DateTime{2026, 13, 1, 0, 0, 0});
  EXPECT_EQ(date, "1-\?\?\?-26");
  EXPECT_EQ(time, "0:00");
  DateTimeStrings(time, date, DateTime{1999, 6, 1, 12, 10, 0});
  EXPECT_EQ(date, "1-Jun-99");
}

TEST(DateStr, TodayWithoutLeadingZeros) {
  std::string text;
  {
    ScopedClock fixed([] { return DateTime{2014, 12, 5, 9, 30, 15}; });
    DateStr(text);
    EXPECT_EQ(text, "5-Dec-14");
  }
  ScopedClock fixed([] { return DateTime{2005, 3, 7, 0, 0, 0}; });
  DateStr(text);
  EXPECT_EQ(text, "7-Mar-5");
}

TEST(DateStamp, CompactStampForFileNames) {
  std::string text;
  {
    ScopedClock fixed([] { return DateTime{2014, 12, 5, 9, 30, 15}; });
    DateStamp(text);
    EXPECT_EQ(text, "5Dec14_93015");
  }
  {
    ScopedClock fixed([] { return DateTime{2008, 7, 14, 16, 4, 5}; });
    DateStamp(text);
    EXPECT_EQ(text, "14Jul08_1645");
  }
}

TEST(Clock, SystemClockIsRestoredAfterAScopedClock) {
  {
    ScopedClock fixed([] { return DateTime{2014, 12, 5, 9, 30, 15}; });
    EXPECT_EQ(Now().year, 2014);
  }
  const DateTime now = Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
}

// ---- SecondsToDHMS / DHMStoSeconds -------------------------------------------

std::string Dhms(int decimals, double t) {
  std::string text;
  SecondsToDHMS(text, decimals, t);
  return text;
}

TEST(SecondsToDHMS, LeadingZeroFieldsAreLeftOut) {
  EXPECT_EQ(Dhms(1, 90061.5), "1:1:1:1.5");
  EXPECT_EQ(Dhms(2, 59.25), "59.25");
  EXPECT_EQ(Dhms(0, 3600), "1:0:0");  // zero seconds carry no point
  EXPECT_EQ(Dhms(-1, 3661), "1:1:1");
  EXPECT_EQ(Dhms(3, 86400), "1:0:0:0.000");
  EXPECT_EQ(Dhms(1, 0), "0.0");
}

TEST(SecondsToDHMS, RoundingCarriesIntoTheMinutes) {
  EXPECT_EQ(Dhms(1, 3599.99), "1:0:0.0");
  EXPECT_EQ(Dhms(0, 59.7), "1:0");
  EXPECT_EQ(Dhms(-1, 119.5), "2:0");
  EXPECT_EQ(Dhms(1, 3659.25), "1:0:59.3");  // half away from zero, as the seconds are written
}

TEST(SecondsToDHMS, NegativeTimeKeepsItsSign) {
  EXPECT_EQ(Dhms(0, -61), "-1:1.");
  EXPECT_EQ(Dhms(1, -90061.5), "-1:1:1:1.5");
  EXPECT_EQ(Dhms(1, -0.0), "0.0");
  EXPECT_EQ(Dhms(1, -0.01), "0.0");
}

TEST(SecondsToDHMS, NonFiniteAndHugeTimes) {
  EXPECT_EQ(Dhms(1, std::numeric_limits<double>::infinity()), "Infinite");
  EXPECT_EQ(Dhms(1, -std::numeric_limits<double>::infinity()), "Infinite");
  EXPECT_EQ(Dhms(1, std::numeric_limits<double>::quiet_NaN()), "Infinite");
  const std::string huge = Dhms(0, 1e300);
  ASSERT_FALSE(huge.empty());
  double back = 0;
  ASSERT_TRUE(DHMStoSeconds(back, huge)) << huge;
  EXPECT_NEAR(back / 1e300, 1.0, 1e-12) << huge;
}

double Seconds(std::string_view text, bool expectOk = true) {
  double s = -12345;
  EXPECT_EQ(DHMStoSeconds(s, text), expectOk) << text;
  return s;
}

TEST(DHMStoSeconds, ReadsFieldsFromTheEnd) {
  EXPECT_DOUBLE_EQ(Seconds("1:1:1:1.5"), 90061.5);
  EXPECT_DOUBLE_EQ(Seconds("90"), 90);
  EXPECT_DOUBLE_EQ(Seconds("1:30"), 90);
  EXPECT_DOUBLE_EQ(Seconds("2:0:0"), 7200);
  EXPECT_DOUBLE_EQ(Seconds("1:0."), 60);
  EXPECT_DOUBLE_EQ(Seconds(".5"), 0.5);
  EXPECT_DOUBLE_EQ(Seconds(" 1 : 02 "), 62);
  EXPECT_DOUBLE_EQ(Seconds("0.3"), 0.3);
  EXPECT_DOUBLE_EQ(Seconds("-1:1."), -61);
  EXPECT_DOUBLE_EQ(Seconds("+5"), 5);
}

TEST(DHMStoSeconds, RefusedTextsLeaveTheValue) {
  for (std::string_view bad : {"", " ", ":", "1:", ":5", "1::5", "abc", "1.5:0", "1:2:3:4:5", "1e3", "--1",
                               "1.2.3", ".", "Infinite", "5 s"}) {
    EXPECT_EQ(Seconds(bad, false), -12345) << bad;
  }
}

TEST(DHMStoSeconds, RoundTripWithSecondsToDHMS) {
  for (double t : {0.0, 0.5, 59.25, 61.0, 3599.5, 3600.0, 90061.5, 1234567.25, -61.0, -90061.5, -0.25}) {
    double back = 1e9;
    const std::string text = Dhms(2, t);
    ASSERT_TRUE(DHMStoSeconds(back, text)) << text;
    EXPECT_DOUBLE_EQ(back, t) << text;
  }
}

// ---- StdPwd -------------------------------------------------------------------

TEST(StdPwd, PiecesOfTheStoredConstant) {
  std::string all, head, tail;
  StdPwd(all, 0, kStdPwdLength);
  ASSERT_EQ(all.size(), static_cast<std::size_t>(kStdPwdLength));
  for (char c : all) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << c;
  StdPwd(head, 10, 8);
  EXPECT_EQ(head, all.substr(10, 8));
  StdPwd(tail, kStdPwdLength - 4, 4);
  EXPECT_EQ(tail, all.substr(kStdPwdLength - 4));
  StdPwd(tail, kStdPwdLength, 0);
  EXPECT_EQ(tail, "");
}

TEST(StdPwd, PieceBeyondTheEndRaises) {
  std::string text = "kept";
  for (auto [start, length] : {std::pair{kStdPwdLength - 3, 4}, std::pair{kStdPwdLength + 1, 0},
                               std::pair{-1, 2}, std::pair{0, -1}, std::pair{1, 2147483647}}) {
    SCOPED_TRACE(testing::Message() << start << " " << length);
    qmx::test::ExpectRaise([&] { StdPwd(text, start, length); }, "FE", "FE.StdPwd() overrun", 7);
  }
  EXPECT_EQ(text, "kept");
}

}  // namespace
