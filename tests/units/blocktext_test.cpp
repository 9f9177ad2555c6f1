#include "units/blocktext.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "../support/check.hpp"

namespace BR = qmx::BR;
using namespace std::string_literals;

namespace {

// A reader with a comma separator over the given file text.
struct Fixture {
  explicit Fixture(const std::string& text, char separator = ',')
      : file(text), reader(BR::BRcreate(separator)) {}
  std::istringstream file;
  std::unique_ptr<BR::BlockReader> reader;
};

// A reader already inside the block that starts at the line "X".
struct InX : Fixture {
  explicit InX(const std::string& text) : Fixture(text) { BR::ScanForXblock("X", *reader, file); }
};

// Expects the reader's exception with the given message and code 0.
void ExpectRaise(auto&& f, const std::string& message) { qmx::test::ExpectRaise(f, "BR", message, 0); }

// The line reads, each named as in its messages.
using Op = std::function<void(Fixture&)>;
const std::pair<const char*, Op> kLineOps[] = {
    {"ReadStringLine", [](Fixture& f) { std::string s; BR::ReadStringLine(s, *f.reader, f.file); }},
    {"ReadBoolLine", [](Fixture& f) { bool b; BR::ReadBoolLine(b, *f.reader, f.file); }},
    {"ReadCardLine", [](Fixture& f) { std::uint32_t c; BR::ReadCardLine(c, *f.reader, f.file); }},
    {"ReadIntLine", [](Fixture& f) { std::int32_t i; BR::ReadIntLine(i, *f.reader, f.file); }},
    {"ReadEnumLine", [](Fixture& f) { int o; BR::ReadEnumLine(o, "a,b", *f.reader, f.file); }},
};

}  // namespace

TEST(BlockReader, CreateAndDispose) {
  auto r = BR::BRcreate(';');
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->separator, ';');
  EXPECT_FALSE(r->endOfBlock);
  EXPECT_TRUE(r->line.empty());
  BR::BRdispose(r);
  EXPECT_EQ(r, nullptr);
}

TEST(BlockReader, StringLineThenEndMarker) {
  Fixture f("GMIX_START\nName,Natural gas 1\nGMIX_END\nafter,x\n");
  ASSERT_TRUE(BR::ScanForXblock("GMIX_START", *f.reader, f.file));
  std::string s = "unchanged";
  BR::ReadStringLine(s, *f.reader, f.file);
  EXPECT_EQ(s, "Natural gas 1");
  EXPECT_FALSE(f.reader->endOfBlock);
  s = "unchanged";
  BR::ReadStringLine(s, *f.reader, f.file);
  EXPECT_EQ(s, "unchanged");
  EXPECT_TRUE(f.reader->endOfBlock);
  // Every later read does nothing and the line stays on the marker.
  bool b = true;
  std::uint32_t c = 7;
  double x = 1.5;
  BR::ReadBoolLine(b, *f.reader, f.file);
  BR::ReadCardLine(c, *f.reader, f.file);
  BR::ReadLRealField(x, 1, *f.reader, f.file);
  EXPECT_TRUE(b);
  EXPECT_EQ(c, 7u);
  EXPECT_EQ(x, 1.5);
  EXPECT_EQ(f.reader->line, "GMIX_END");
}

// Every exponent form another program or a spreadsheet writes is read, none is lost.
TEST(BlockReader, RealFieldsInEveryExponentForm) {
  InX f("X\nV,1.5E+00,1E0,2.5e-0,1.5E+05,1.25E-03,3e2,-4.0E+000\nEND\n");
  const double expected[] = {1.5, 1.0, 2.5, 1.5e5, 1.25e-3, 300.0, -4.0};
  for (int n = 1; n <= 7; ++n) {
    double x = -99.0;
    BR::ReadLRealField(x, n, *f.reader, f.file);
    EXPECT_EQ(x, expected[n - 1]) << "field " << n;
  }
  EXPECT_EQ(f.reader->line, "END");
}

TEST(BlockReader, ValueKeepsFurtherSeparators) {
  Fixture f("Note,a,b, c\nEND\n");
  std::string s;
  BR::ScanForXblock("", *f.reader, f.file);  // field 0 of the empty start line matches ""
  BR::ReadStringLine(s, *f.reader, f.file);
  EXPECT_EQ(s, "a,b, c");
}

TEST(BlockReader, ScanForBlock) {
  Fixture f("header\nOTHER_START\nName,wrong\nGMIX_START,2024\n\nName,right\nGMIX_END\n");
  EXPECT_TRUE(BR::ScanForXblock("GMIX_START", *f.reader, f.file));
  EXPECT_EQ(f.reader->line, "");  // the first line inside the block, empty here
  std::string s;
  BR::NextLine(*f.reader, f.file);
  BR::ReadStringLine(s, *f.reader, f.file);
  EXPECT_EQ(s, "right");

  // The comparison is exact; without the marker the scan ends at the last line.
  Fixture g("gmix_start\nName,a\nGMIX_END");
  EXPECT_FALSE(BR::ScanForXblock("GMIX_START", *g.reader, g.file));
  EXPECT_EQ(g.reader->line, "GMIX_END");
  EXPECT_FALSE(g.reader->endOfBlock);

  // A new scan clears end-of-block.
  Fixture h("A_START\nx,1\nA_END\nB_START\ny,2\nB_END\n");
  std::string v;
  BR::ScanForXblock("A_START", *h.reader, h.file);
  BR::ReadStringLine(v, *h.reader, h.file);
  BR::ReadStringLine(v, *h.reader, h.file);
  EXPECT_TRUE(h.reader->endOfBlock);
  EXPECT_TRUE(BR::ScanForXblock("B_START", *h.reader, h.file));
  EXPECT_FALSE(h.reader->endOfBlock);
  BR::ReadStringLine(v, *h.reader, h.file);
  EXPECT_EQ(v, "2");
}

TEST(BlockReader, NextLineSkipsEmptyLines) {
  Fixture f("\n\n\nfirst,1\n\n\nsecond,2\nEND");
  BR::NextLine(*f.reader, f.file);
  EXPECT_EQ(f.reader->line, "first,1");
  EXPECT_FALSE(f.reader->endOfBlock);
  BR::NextLine(*f.reader, f.file);
  EXPECT_EQ(f.reader->line, "second,2");
  BR::NextLine(*f.reader, f.file);
  EXPECT_EQ(f.reader->line, "END");
  EXPECT_TRUE(f.reader->endOfBlock);  // the file is at its end
  Fixture g("\n\n\n");
  BR::NextLine(*g.reader, g.file);
  EXPECT_TRUE(g.reader->endOfBlock);
  EXPECT_EQ(g.reader->line, "");
}

TEST(BlockReader, UnexpectedEndOfFile) {
  std::vector<std::pair<const char*, Op>> ops(std::begin(kLineOps), std::end(kLineOps));
  ops.insert(ops.end(), {
      {"ReadStringField", [](Fixture& f) { std::string s; BR::ReadStringField(s, 1, *f.reader, f.file); }},
      {"ReadBoolField", [](Fixture& f) { bool b; BR::ReadBoolField(b, 1, *f.reader, f.file); }},
      {"ReadCardField", [](Fixture& f) { std::uint32_t c; BR::ReadCardField(c, 1, *f.reader, f.file); }},
      {"ReadIntField", [](Fixture& f) { std::int32_t i; BR::ReadIntField(i, 1, *f.reader, f.file); }},
      {"ReadLRealField", [](Fixture& f) { double x; BR::ReadLRealField(x, 1, *f.reader, f.file); }},
      {"ReadEnumField", [](Fixture& f) { int o; BR::ReadEnumField(o, "a,b", 1, *f.reader, f.file); }},
  });
  for (const auto& [name, op] : ops) {
    for (const char* text : {"X\nlabel,1", "X\nlabel,1\n"}) {
      InX f(text);
      ExpectRaise([&] { op(f); }, std::string(name) + "() unexpected EOF");
    }
  }
  // The value is stored before the end of the file is noticed.
  InX f("X\nC1,0.95");
  double x = 0.0;
  ExpectRaise([&] { BR::ReadLRealField(x, 1, *f.reader, f.file); }, "ReadLRealField() unexpected EOF");
  EXPECT_EQ(x, 0.95);
}

TEST(BlockReader, InvalidBlockMarker) {
  for (const auto& [name, op] : kLineOps) {
    for (const char* line : {"GMIX end", "gmix_end", "END!"}) {
      InX f(std::string("X\n") + line + "\nEND\n");
      ExpectRaise([&] { op(f); }, std::string(name) + "() invalid block marker " + line);
    }
  }
  // Field operations take any line without separator as the end of the block.
  InX f("X\nno separator here\n");
  double x = 3.0;
  BR::ReadLRealField(x, 1, *f.reader, f.file);
  EXPECT_EQ(x, 3.0);
  EXPECT_TRUE(f.reader->endOfBlock);
}

TEST(BlockReader, Booleans) {
  const std::pair<const char*, bool> cases[] = {
      {" yes", true}, {"Y", true},  {"\tTrue\r", true}, {"t", true}, {"No", false},
      {"1", false},   {"", false},  {"false", false},   {" n o", false},
  };
  for (const auto& [value, expected] : cases) {
    InX f(std::string("X\nflag,") + value + "\nEND\n");
    bool b = !expected;
    BR::ReadBoolLine(b, *f.reader, f.file);
    EXPECT_EQ(b, expected) << '"' << value << '"';
    InX g(std::string("X\nflag,") + value + ",x\nEND\n");
    b = !expected;
    BR::ReadBoolField(b, 1, *g.reader, g.file);
    EXPECT_EQ(b, expected) << '"' << value << '"';
  }
}

TEST(BlockReader, WholeNumbers) {
  auto card = [](const std::string& value) {
    InX f("X\nn," + value + "\nEND\n");
    std::uint32_t c = 77;
    BR::ReadCardLine(c, *f.reader, f.file);
    return c;
  };
  auto integer = [](const std::string& value) {
    InX f("X\nn," + value + "\nEND\n");
    std::int32_t i = 77;
    BR::ReadIntLine(i, *f.reader, f.file);
    return i;
  };
  EXPECT_EQ(card("12"), 12u);
  EXPECT_EQ(card(" 1 234 units"), 1234u);  // everything but the digits is removed
  EXPECT_EQ(card("4294967295"), 4294967295u);
  EXPECT_EQ(card("4294967296"), 77u);  // overflow: unchanged
  EXPECT_EQ(card("abc"), 77u);         // no digits: unchanged
  EXPECT_EQ(card("-5"), 5u);
  EXPECT_EQ(integer("12"), 12);
  EXPECT_EQ(integer(" -5"), -5);  // a leading minus is kept
  EXPECT_EQ(integer("-2147483648"), INT32_MIN);
  EXPECT_EQ(integer("2147483648"), 77);
  EXPECT_EQ(integer("x"), 77);

  InX f("X\nrow,12,-3,abc\nEND\n");
  std::uint32_t c = 0;
  std::int32_t i = 0;
  std::int32_t k = 99;
  BR::ReadCardField(c, 1, *f.reader, f.file);
  BR::ReadIntField(i, 2, *f.reader, f.file);
  BR::ReadIntField(k, 3, *f.reader, f.file);
  EXPECT_EQ(c, 12u);
  EXPECT_EQ(i, -3);
  EXPECT_EQ(k, 99);
  EXPECT_EQ(f.reader->line, "END");
}

TEST(BlockReader, RealFields) {
  InX f("X\nC1,0.95,x,12.5\n\n\nC2,1,234.5 psi,-007.50,1.5000E+003\nEND\n");
  double a = 0.0;
  double b = -1.0;
  double c = 0.0;
  std::string label;
  BR::ReadStringField(label, 0, *f.reader, f.file);
  BR::ReadLRealField(b, 2, *f.reader, f.file);  // the letter x: no digit, refused
  BR::ReadLRealField(a, 1, *f.reader, f.file);
  EXPECT_EQ(label, "C1");
  EXPECT_EQ(a, 0.95);
  EXPECT_EQ(b, -1.0);
  EXPECT_EQ(f.reader->line, "C1,0.95,x,12.5");  // no advance before the last field
  BR::ReadLRealField(c, 3, *f.reader, f.file);
  EXPECT_EQ(c, 12.5);
  EXPECT_EQ(f.reader->line, "C2,1,234.5 psi,-007.50,1.5000E+003");  // empty lines skipped
  double d = 0.0;
  double e = 0.0;
  double g = 0.0;
  double h = 0.0;
  BR::ReadLRealField(d, 1, *f.reader, f.file);
  BR::ReadLRealField(e, 2, *f.reader, f.file);
  BR::ReadLRealField(g, 3, *f.reader, f.file);
  BR::ReadLRealField(h, 4, *f.reader, f.file);
  EXPECT_EQ(d, 1.0);
  EXPECT_EQ(e, 234.5);
  EXPECT_EQ(g, -7.5);
  EXPECT_EQ(h, 1500.0);
  EXPECT_EQ(f.reader->line, "END");
  // A field beyond the end of the line is empty and counts as the last one.
  double z = 5.0;
  InX k("X\nC1,0.5\nC2,0.25\nEND\n");
  BR::ReadLRealField(z, 9, *k.reader, k.file);
  EXPECT_EQ(z, 5.0);
  EXPECT_EQ(k.reader->line, "C2,0.25");
}

TEST(BlockReader, Enumerations) {
  InX f("X\nMethod, AGA \n\n\nTable,ISO,extra\nKind,XYZ\nNone,\nEND\n");
  int ord = -1;
  EXPECT_TRUE(BR::ReadEnumLine(ord, "GPA,AGA,ISO,", *f.reader, f.file));
  EXPECT_EQ(ord, 1);
  EXPECT_EQ(f.reader->line, "Table,ISO,extra");  // empty lines skipped
  EXPECT_TRUE(BR::ReadEnumLine(ord, "GPA,AGA,ISO,", *f.reader, f.file));  // field 1 only
  EXPECT_EQ(ord, 2);
  EXPECT_FALSE(BR::ReadEnumLine(ord, "GPA,AGA,ISO,", *f.reader, f.file));
  EXPECT_EQ(ord, 2);
  // An empty value does not match the empty item after a trailing separator.
  EXPECT_FALSE(BR::ReadEnumLine(ord, "GPA,AGA,ISO,", *f.reader, f.file));
  EXPECT_EQ(ord, 2);
  EXPECT_FALSE(BR::ReadEnumLine(ord, "GPA,AGA,ISO,", *f.reader, f.file));
  EXPECT_TRUE(f.reader->endOfBlock);

  InX g("X\nrow,AGA,gpa,ISO\nEND\n");
  int a = -1;
  int b = -1;
  int c = -1;
  EXPECT_TRUE(BR::ReadEnumField(a, "GPA,AGA,ISO", 1, *g.reader, g.file));
  EXPECT_FALSE(BR::ReadEnumField(b, "GPA,AGA,ISO", 2, *g.reader, g.file));  // exact comparison
  EXPECT_TRUE(BR::ReadEnumField(c, "GPA,AGA,ISO", 3, *g.reader, g.file));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, -1);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(g.reader->line, "END");
}

TEST(BlockReader, LineEndingsAndLimits) {
  // Carriage return with line feed, carriage return alone, and a NUL that ends the text.
  InX f("X\r\nName,a\r\nNext,b\rNul,c\0d\nEND\r\n"s);
  std::string a;
  std::string b;
  std::string c;
  BR::ReadStringLine(a, *f.reader, f.file);
  BR::ReadStringLine(b, *f.reader, f.file);
  BR::ReadStringLine(c, *f.reader, f.file);
  EXPECT_EQ(a, "a");
  EXPECT_EQ(b, "b");
  EXPECT_EQ(c, "c");
  EXPECT_EQ(f.reader->line, "END");

  // A line keeps 1023 characters; the rest of it is skipped, not read as another line.
  const std::string longValue(3000, 'v');
  InX g("X\nName," + longValue + "\nEND\n");
  std::string s;
  BR::ReadStringLine(s, *g.reader, g.file);
  EXPECT_EQ(s.size(), BR::kLineLength - 5);
  EXPECT_EQ(g.reader->line, "END");

  // The marker message carries the whole line up to the formatter's 600 characters.
  InX h("X\n" + std::string(2000, 'x') + "\n");
  std::string v;
  ExpectRaise([&] { BR::ReadStringLine(v, *h.reader, h.file); },
              "ReadStringLine() invalid block marker " + std::string(600 - 38, 'x'));
}

TEST(BlockReader, OtherSeparator) {
  Fixture f("X;1\nName;a,b\nC1;0,5;2\nEND\n", ';');
  EXPECT_TRUE(BR::ScanForXblock("X", *f.reader, f.file));
  std::string s;
  double x = 0.0;
  BR::ReadStringLine(s, *f.reader, f.file);
  BR::ReadLRealField(x, 2, *f.reader, f.file);
  EXPECT_EQ(s, "a,b");
  EXPECT_EQ(x, 2.0);
}

TEST(BlockReader, RecordLines) {
  std::unique_ptr<qmx::FUM::DVal> p;
  qmx::FUM::uDVinit("kpa", 101.325, qmx::FUM::fIN, p);
  std::string dline;
  qmx::FUM::uDVtoCDTstr("P", *p, dline);
  std::unique_ptr<qmx::FI::RVal> r;
  qmx::FI::RVinit(0.95, qmx::FI::fIN, r);
  const std::string rline = qmx::FI::RVtoCDTstr("C1", *r);

  std::unique_ptr<qmx::FUM::DVal> p2;
  qmx::FUM::uDVinit("psi", 1.0, qmx::FUM::fIN, p2);
  std::unique_ptr<qmx::FI::RVal> r2;
  qmx::FI::RVinit(0.0, qmx::FI::fIN, r2);
  InX f("X\n" + dline + "\n" + rline + "\nEND\n");
  BR::ReadDvalLine(*p2, *f.reader, f.file);
  BR::ReadRvalLine(*r2, *f.reader, f.file);
  EXPECT_EQ(p2->mks, 101325.0);
  EXPECT_EQ(p2->units, "kpa");
  EXPECT_EQ(r2->value, 0.95);
  EXPECT_EQ(f.reader->line, "END");
  BR::ReadDvalLine(*p2, *f.reader, f.file);  // the marker ends the block
  EXPECT_TRUE(f.reader->endOfBlock);

  InX g("X\n" + dline);
  ExpectRaise([&] { BR::ReadDvalLine(*p2, *g.reader, g.file); }, "ReadDvalLine() unexpected EOF");
  InX h("X\nbad line\n");
  ExpectRaise([&] { BR::ReadRvalLine(*r2, *h.reader, h.file); }, "ReadRvalLine() invalid block marker bad line");
}
