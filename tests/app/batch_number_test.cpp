// The batch writer's numbers: the text std::to_chars (general, 17 digits) gives, appended after what the
// line holds, whether or not the line has spare room; nothing or null for values that are not finite.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "app/batch_io.hpp"

namespace BATCH = qmx::BATCH;

namespace {

std::string ToChars(double x) {
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 17);
  return std::string(buffer, r.ptr);
}

}  // namespace

TEST(BatchAppendNumber, AppendsTheToCharsTextWithAndWithoutSpareRoom) {
  std::mt19937_64 random(15);
  std::uniform_real_distribution<double> exponent(-14.0, 40.0);
  std::string roomy;
  roomy.reserve(1 << 16);
  for (int i = 0; i < 2000; ++i) {
    const double x = (i % 3 == 0 ? -1.0 : 1.0) * std::pow(10.0, exponent(random));
    const std::string want = "id," + ToChars(x);
    // A line that is full to its capacity, one with room to spare, and one a little short of room.
    std::string tight = "id,";
    tight.shrink_to_fit();
    BATCH::AppendNumber(x, false, tight);
    EXPECT_EQ(tight, want);
    roomy.assign("id,");
    BATCH::AppendNumber(x, true, roomy);
    EXPECT_EQ(roomy, want);
    std::string short_of_room = "id,";
    short_of_room.reserve(short_of_room.size() + 20);
    short_of_room.resize(short_of_room.capacity() - 5, 'x');
    const std::string prefix = short_of_room;
    BATCH::AppendNumber(x, false, short_of_room);
    EXPECT_EQ(short_of_room, prefix + ToChars(x));
  }
  EXPECT_EQ(roomy.capacity(), std::size_t{1} << 16);  // written in place, never reallocated
}

TEST(BatchAppendNumber, WritesNothingOrNullForValuesThatAreNotFinite) {
  const double values[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double x : values) {
    std::string csv = "a,";
    BATCH::AppendNumber(x, false, csv);
    EXPECT_EQ(csv, "a,");
    std::string json = "{\"v\":";
    BATCH::AppendNumber(x, true, json);
    EXPECT_EQ(json, "{\"v\":null");
  }
  std::string zero;
  BATCH::AppendNumber(-0.0, false, zero);
  EXPECT_EQ(zero, "-0");
}
