// The text formatter: directives, flags, width and precision, escapes, the
// output limit, "#" fields, and the string, terminal and file writers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/trace.hpp"
#include "units/fe.hpp"

namespace {

using qmx::FE::BitSet;
using qmx::FE::FmtToString;

struct FormatCase {
  std::string_view format;
  std::vector<qmx::FE::Arg> args;
  std::string_view text;
};

// Each case: the text the formatter writes for the format and its arguments.
void ExpectFormats(std::initializer_list<FormatCase> cases) {
  for (const FormatCase& c : cases) {
    std::string out;
    qmx::FE::FormatText(c.args, c.format, out);
    EXPECT_EQ(out, c.text) << c.format;
  }
}

TEST(FeFormatText, Examples) {
  ExpectFormats({{"%-6i|", {std::int32_t{42}}, "42    |"}, {"%06h", {std::uint16_t{255}}, "0000FF"},
      {"%b", {false}, "NO "}, {"%b", {true}, "YES"}, {"%-10.4r|", {3.14159265}, "3.1416    |"},
      {"%5.2r", {3.14159265}, " 3.14"}, {"%s", {"a text, unchanged: 100%"}, "a text, unchanged: 100%"},
      {"\n Frame CREATE", {}, "\n Frame CREATE"}});
}

TEST(FeFormatText, Integers) {
  EXPECT_EQ(FmtToString("%i", std::int8_t{-5}), "-5");
  EXPECT_EQ(FmtToString("%i", std::int64_t{std::numeric_limits<std::int64_t>::min()}),
            "-9223372036854775808");
  EXPECT_EQ(FmtToString("%i", std::uint32_t{0xFFFFFFFFu}), "-1");  // read as a signed 4-byte value
  ExpectFormats({{"%u", {std::int8_t{-1}}, "255"}, {"%u", {std::int64_t{-1}}, "18446744073709551615"},
      {"%05u", {42u}, "00042"}});
  EXPECT_EQ(FmtToString("%05i", 42), "   42");  // no zero padding for "i"
  EXPECT_EQ(FmtToString("%5i|%-5i|", -42, -42), "  -42|-42  |");
  EXPECT_EQ(FmtToString("%1i", 12345), "12345");  // a longer text is written whole
  EXPECT_EQ(FmtToString("%I", 7), "7");
}

TEST(FeFormatText, HexBinaryAndSets) {
  EXPECT_EQ(FmtToString("%h", std::uint64_t{std::numeric_limits<std::uint64_t>::max()}),
            "FFFFFFFFFFFFFFFF");
  ExpectFormats({{"%h", {0}, "0"}, {"%h", {std::int16_t{-1}}, "FFFF"}, {"%n", {5u}, "101"}, {"%n", {0u}, "0"}});
  const BitSet flags{0b1010, 2};
  ExpectFormats({{"%h", {flags}, "A"}, {"%n", {flags}, "1010"}, {"%08n", {flags}, "00001010"},
      {"%8n", {flags}, "    1010"}, {"%-8N|", {flags}, "1010    |"}});
  EXPECT_EQ(FmtToString("%0h", flags), "A");  // "0" without a width: no leading zeros
  EXPECT_EQ(FmtToString("%h", BitSet{0x1FF, 1}), "FF");  // bits beyond the set's size are not part of it
}

TEST(FeFormatText, Reals) {
  EXPECT_EQ(FmtToString("%r", 1234.5), "1.2345E+3");  // no width: 17-digit exponent form
  ExpectFormats({{"%r", {0.0}, "0"}, {"%12.6r|", {1234.5678}, "   1234.5678|"}, {"%-12r|", {1e-5}, "10.0E-6     |"}});
  EXPECT_EQ(FmtToString("%12.0r", 1.0 / 3.0), "0.3333333333");  // precision 0 means 21
  EXPECT_EQ(FmtToString("%12r", 2.0 / 3.0), "     0.66667");   // precision 5 by default
  ExpectFormats({{"%10.3r", {2.5f}, "       2.5"}, {"%10r", {std::nan("")}, "  Infinite"}, {"%R", {-2.0}, "-2.0"}});
}

TEST(FeFormatText, StringsCharactersBooleans) {
  EXPECT_EQ(FmtToString("%3s", "abcdef"), "abc");  // cut at the width
  ExpectFormats({{"%6s|", {"ab"}, "    ab|"}, {"%-6s|", {std::string("ab")}, "ab    |"}, {"[%s]", {""}, "[]"}});
  EXPECT_EQ(FmtToString("%s", std::string_view("ab\0cd", 5)), "ab");  // ends at a NUL
  ExpectFormats({{"%s", {'q'}, "q"}, {"%c", {'x'}, "x"}, {"%3c", {'x'}, "  x"}, {"%c", {std::uint8_t{65}}, "A"},
      {"%c", {"Z"}, "Z"}, {"%-5b|%B", {false, true}, "NO   |YES"}});
}

TEST(FeFormatText, WrongSizeWritesHashes) {
  EXPECT_EQ(FmtToString("%5r", std::int8_t{1}), "#####");
  EXPECT_EQ(FmtToString("%r", std::int16_t{1}), "#");
  EXPECT_EQ(FmtToString("%r", 7), "7.0");                 // a 4-byte integer is a 4-byte value
  ExpectFormats({{"%i", {"text"}, "#"}, {"%-4u|", {"ab"}, "####|"}, {"%3b", {1}, "###"}, {"%c", {65}, "#"},
      {"%c", {"ab"}, "#"}, {"%s", {2.5}, "#"}, {"%3h", {BitSet{1, 3}}, "###"}, {"%b", {BitSet{1, 1}}, "#"}});
}

TEST(FeFormatText, DirectiveParsing) {
  EXPECT_EQ(FmtToString("%q", 1), "q");  // any other letter writes itself
  EXPECT_EQ(FmtToString("%3q|", 1), "  q|");
  EXPECT_EQ(FmtToString("%q"), "");  // no argument left: nothing
  EXPECT_EQ(FmtToString("%i %i.", 1), "1 .");
  EXPECT_EQ(FmtToString("100%"), "100%");  // "%" as the last character
  EXPECT_EQ(FmtToString("%%"), "");         // "%%" is a directive, not an escape
  EXPECT_EQ(FmtToString("%%", 1), "%");
  EXPECT_EQ(FmtToString("%.i", 9), "9");    // an empty precision
  EXPECT_EQ(FmtToString("%5"), "");        // a directive cut off by the end
  // Width of three digits at most: the fourth digit is the letter.
  const std::string wide = FmtToString("%1234i", 7);
  ASSERT_EQ(wide.size(), 124u);
  EXPECT_EQ(wide.substr(119), "   4i");
  EXPECT_EQ(FmtToString("%i,%s,%r,%c,%b", 1, "two", 3.0, '4', true), "1,two,3.0,4,YES");
}

TEST(FeFormatText, Escapes) {
  ExpectFormats({{"a\\nb", {}, "a\r\nb"}, {"\\N", {}, "\r\n"}, {"\\t\\T", {}, "\t\t"},
      {"\\b\\B\\f\\F\\e\\E", {}, "\b\b\f\f\x1b\x1b"}, {"\\065", {}, "A"}});
  EXPECT_EQ(FmtToString("\\0651"), "A1");  // three digits at most
  ExpectFormats({{"\\65|", {}, "A|"}, {"\\999", {}, "?"}, {"\\\\ \\% \\q", {}, "\\ % q"}});
  EXPECT_EQ(FmtToString("\\%i", 5), "%i");  // an escaped "%" starts no directive
  EXPECT_EQ(FmtToString("end\\"), "end\\");
  EXPECT_EQ(FmtToString("\\000").size(), 1u);
}

TEST(FeFormatText, OutputLimit) {
  EXPECT_EQ(FmtToString(std::string(700, 'x')).size(), qmx::FE::kFormatLimit);
  const std::string big(1000, 'y');
  EXPECT_EQ(FmtToString("ab%s", big), "ab" + std::string(598, 'y'));
  EXPECT_EQ(FmtToString("%-700s", "a").size(), 600u);
  EXPECT_EQ(FmtToString("%700r", 1.0).size(), 600u);
  // A line break at the last place keeps only its first character.
  const std::string line = FmtToString(std::string(599, 'z') + "\\n");
  ASSERT_EQ(line.size(), 600u);
  EXPECT_EQ(line.back(), '\r');
  EXPECT_EQ(FmtToString(std::string(600, 'z') + "%i", 5), std::string(600, 'z'));
}

TEST(FeFormatText, ArgumentSizesAndSpanInterface) {
  EXPECT_EQ(qmx::FE::Arg('c').Size(), 1u);
  EXPECT_EQ(qmx::FE::Arg(true).Size(), 1u);
  EXPECT_EQ(qmx::FE::Arg(std::int16_t{1}).Size(), 2u);
  EXPECT_EQ(qmx::FE::Arg(1.0f).Size(), 4u);
  EXPECT_EQ(qmx::FE::Arg(std::size_t{1}).Size(), 8u);
  EXPECT_EQ(qmx::FE::Arg(1LL).Size(), 8u);
  EXPECT_EQ(qmx::FE::Arg("abc").Size(), 3u);
  EXPECT_EQ(qmx::FE::Arg(BitSet{0, 4}).Size(), 4u);
  EXPECT_EQ(FmtToString("%s", static_cast<const char*>(nullptr)), "");
  // The span form replaces the output text.
  const std::vector<qmx::FE::Arg> args = {std::int32_t{3}, "x"};
  std::string out = "old";
  qmx::FE::FormatText(args, "%i%s%i", out);
  EXPECT_EQ(out, "3x");
}

TEST(FeFormatText, RandomFormatsStayWithinTheLimit) {
  std::mt19937 rng(11);
  const std::string alphabet = "%%%-0123456789.iuhnrscbqIR\\entx";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  const std::vector<qmx::FE::Arg> args = {std::int8_t{-3}, 1e300, "text", true, BitSet{5, 2},
                                          std::nan(""), 'c', std::uint64_t{7}};
  std::string out;
  for (int k = 0; k < 20000; ++k) {
    std::string format;
    for (int n = length(rng); n > 0; --n) format.push_back(alphabet[pick(rng)]);
    qmx::FE::FormatText(args, format, out);
    ASSERT_LE(out.size(), qmx::FE::kFormatLimit) << format;
  }
}

TEST(FeFmtToTerminal, TraceSink) {
  qmx::FE::FmtToTerminal("\n Frame %s", "CREATE");  // discarded by default
  std::vector<std::string> lines;
  {
    qmx::trace::ScopedSink sink([&lines](std::string_view l) { lines.emplace_back(l); });
    qmx::FE::FmtToTerminal("\n Frame %s", "CREATE");
    qmx::FE::FmtToTerminal("\\n    RECALC %i", 2);
  }
  qmx::FE::FmtToTerminal("\n lost");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "\n Frame CREATE");
  EXPECT_EQ(lines[1], "\r\n    RECALC 2");
}

TEST(FeFmtToFile, WritesNonEmptyText) {
  std::ostringstream file;
  EXPECT_TRUE(qmx::FE::FmtToFile(file, "%s,", "Pressure"));
  EXPECT_TRUE(qmx::FE::FmtToFile(file, "%q"));
  EXPECT_TRUE(qmx::FE::FmtToFile(file, "%5.1r\\n", 2.25));
  EXPECT_EQ(file.str(), "Pressure,  2.3\r\n");
  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(qmx::FE::FmtToFile(broken, "x"));
}

}  // namespace
