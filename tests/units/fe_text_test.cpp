// Text utilities of FE: items, character filters, blank runs, dates, the
// days:hours:minutes:seconds form and the stored constant.
#include "units/fe.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <string>
#include <tuple>

#include "../support/check.hpp"

namespace {

using namespace qmx::FE;
using qmx::test::ExpectResults;

// ---- GetItem / FindItem -----------------------------------------------------

std::string Item(int index, std::string_view seps, std::string_view text, bool& last,
                 std::size_t capacity = std::string::npos) {
  std::string item = "stale";
  GetItem(last, index, seps, text, item, capacity);
  return item;
}

TEST(GetItem, ItemsFromZeroEmptyItemsCountAndTheLastIsReported) {
  struct Case {
    int index;
    const char *seps, *text, *item;
    bool last;
  };
  // Any character of the set separates; a text ending before the item gives an empty last item,
  // as does a trailing separator.
  const Case cases[] = {{0, ",", "a,bc,,d", "a", false}, {1, ",", "a,bc,,d", "bc", false},
                        {2, ",", "a,bc,,d", "", false},  {3, ",", "a,bc,,d", "d", true},
                        {2, ",;", "x;y,z", "z", true},    {1, ",;", "x;y,z", "y", false},
                        {5, ",", "a,b", "", true},        {0, ",", "", "", true},
                        {-1, ",", "a,b", "", true},       {2, ",", "a,b,", "", true}};
  for (const Case& c : cases) {
    bool last = !c.last;
    EXPECT_EQ(Item(c.index, c.seps, c.text, last), c.item) << c.text << " " << c.index;
    EXPECT_EQ(last, c.last) << c.text << " " << c.index;
  }
  // The item is cut to its capacity.
  bool last = false;
  EXPECT_EQ(Item(1, " ", "Jan February", last, 3), "Feb");
  EXPECT_TRUE(last);
}

TEST(FindItem, FirstMatchingItemOrTheIndexLeftAlone) {
  int index = -7;
  EXPECT_TRUE(FindItem(index, "|", "SGERG", "AGA8|SGERG|NX19|SGERG|"));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(FindItem(index, "|", "AGA8", "AGA8|SGERG|"));
  EXPECT_EQ(index, 0);
  // The empty item after the trailing separator is an item too.
  EXPECT_TRUE(FindItem(index, "|", "", "A|B|"));
  EXPECT_EQ(index, 2);
  index = 9;
  EXPECT_FALSE(FindItem(index, "|", "SGE", "AGA8|SGERG|"));
  EXPECT_FALSE(FindItem(index, "|", "x", ""));
  EXPECT_EQ(index, 9);
}

// ---- character filters and blank runs ------------------------------------------

std::string Blanks(std::string t) {
  BlanksToSeparator(',', t);
  return t;
}

std::string Shrunk(std::string t) {
  ShrinkBlankRuns(t);
  return t;
}

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

TEST(BlankRuns, SingleBlanksStayRunsBecomeOneSeparatorOrLoseOneBlank) {
  EXPECT_EQ(Blanks("Mass flow   12.5  kg/s "), "Mass flow,12.5,kg/s");
  ExpectResults(Blanks, {{"  lead and trail  ", ",lead and trail,"}, {" a", " a"}, {"", ""}, {" ", ""}});
  ExpectResults(Shrunk, {{"a b  c   d    e", "a b c  d   e"}, {"  x ", " x "}, {"", ""}});
}

// ---- dates ------------------------------------------------------------------

TEST(DateTimeStrings, DayMonthTwoDigitYearAndHourMinute) {
  const std::tuple<DateTime, const char*, const char*> cases[] = {
      {DateTime{2014, 12, 5, 9, 5, 0}, "5-Dec-14", "9:05"},
      {DateTime{2007, 1, 31, 23, 59, 59}, "31-Jan-07", "23:59"},
      {DateTime{2026, 13, 1, 0, 0, 0}, "1-\?\?\?-26", "0:00"},
      {DateTime{1999, 6, 1, 12, 10, 0}, "1-Jun-99", "12:10"}};
  for (const auto& [when, date, time] : cases) {
    std::string t, d;
    DateTimeStrings(t, d, when);
    EXPECT_EQ(d, date);
    EXPECT_EQ(t, time);
  }
}

// Today's date without leading zeros, the compact stamp for file names, and the system clock
// back after a scoped clock.
TEST(DateStr, TodayStampAndClock) {
  const std::tuple<DateTime, const char*, const char*> cases[] = {
      {DateTime{2014, 12, 5, 9, 30, 15}, "5-Dec-14", "5Dec14_93015"},
      {DateTime{2005, 3, 7, 0, 0, 0}, "7-Mar-5", nullptr},
      {DateTime{2008, 7, 14, 16, 4, 5}, nullptr, "14Jul08_1645"}};
  for (const auto& [when, date, stamp] : cases) {
    ScopedClock fixed([&when] { return when; });
    std::string text;
    DateStr(text);
    if (date) {
      EXPECT_EQ(text, date);
    }
    DateStamp(text);
    if (stamp) {
      EXPECT_EQ(text, stamp);
    }
    EXPECT_EQ(Now().year, when.year);
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

TEST(SecondsToDHMS, LeadingZeroFieldsLeftOutRoundingCarriesSignKept) {
  EXPECT_EQ(Dhms(1, 90061.5), "1:1:1:1.5");
  EXPECT_EQ(Dhms(2, 59.25), "59.25");
  EXPECT_EQ(Dhms(0, 3600), "1:0:0");  // zero seconds carry no point
  ExpectResults(Dhms, {{-1, 3661, "1:1:1"}, {3, 86400, "1:0:0:0.000"}, {1, 0, "0.0"}, {1, 3599.99, "1:0:0.0"},
      {0, 59.7, "1:0"}, {-1, 119.5, "2:0"}});
  EXPECT_EQ(Dhms(1, 3659.25), "1:0:59.3");  // half away from zero, as the seconds are written
  ExpectResults(Dhms, {{0, -61, "-1:1."}, {1, -90061.5, "-1:1:1:1.5"}, {1, -0.0, "0.0"}, {1, -0.01, "0.0"}});
}

TEST(SecondsToDHMS, NonFiniteAndHugeTimes) {
  ExpectResults(Dhms, {{1, std::numeric_limits<double>::infinity(), "Infinite"},
      {1, -std::numeric_limits<double>::infinity(), "Infinite"},
      {1, std::numeric_limits<double>::quiet_NaN(), "Infinite"}});
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
