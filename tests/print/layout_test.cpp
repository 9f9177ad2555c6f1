// The page model of text printing: the layout table, the text rules, the
// sheet sequence of copies, collation and duplex, and the gutter shifts.
#include "ui/print/layout.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numerics/error.hpp"

namespace {

using namespace qmx::Print;

PrintRequest Request(int paper = kLetter, int layout = 0) {
  PrintRequest r;
  r.paper = paper;
  r.layout = layout;
  r.file_path = "/tmp/print.txt";
  r.title = r.file_path;
  return r;
}

Layout Lay(const std::string& text, const PrintRequest& r) { return LayOut(text, r, LayoutInput{0, "7-Dec-26 9:05"}); }

// n lines "L1", "L2", ... each ended by a line feed.
std::string Lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "L" + std::to_string(i) + "\n";
  return text;
}

// The text of the runs on one line (same top) of an area, joined.
std::string LineText(const PageArea& area, int top) {
  std::string out;
  for (const TextRun& run : area.runs) {
    if (run.top == top) {
      out.resize(static_cast<std::size_t>(run.column), ' ');
      out += run.text;
    }
  }
  return out;
}

std::vector<int> SheetOrder(const Layout& layout) {
  std::vector<int> order;
  for (const SheetRef& ref : layout.sequence) order.push_back(ref.sheet);
  return order;
}

// The published page model, one row per paper and layout, with the characters
// per line of a fixed-pitch face (0.6 of the character height).
struct Row {
  int paper, layout;
  bool landscape;
  int pages, height, column, lines, pitch, gutter, margin;
  std::vector<Point> origins;
  int chars_per_line;
};

const std::vector<Row> kRows = {
    {kLetter, 0, false, 1, 160, 10080, 68, 200, 260, 180, {{680, -700}}, 105},
    {kLetter, 1, true, 1, 120, 13820, 68, 150, 180, 180, {{700, -680}}, 191},
    {kLetter, 2, true, 2, 120, 6480, 68, 150, 180, 180, {{700, -680}, {7960, -680}}, 90},
    {kLetter, 3, false, 2, 80, 4860, 141, 100, 260, 180, {{500, -540}, {6040, -540}}, 101},
    {kLetter, 4, false, 4, 80, 4860, 67, 100, 260, 180, {{500, -540}, {6040, -540}, {500, -7860}, {6040, -7860}}, 101},
    {kA4, 0, false, 1, 160, 9720, 75, 200, 200, 180, {{680, -700}}, 101},
    {kA4, 1, true, 1, 120, 14820, 67, 150, 180, 180, {{680, -680}}, 205},
    {kA4, 2, true, 2, 120, 7020, 67, 150, 180, 180, {{680, -680}, {8570, -680}}, 97},
    {kA4, 3, false, 2, 80, 4770, 152, 100, 200, 180, {{500, -540}, {5800, -540}}, 99},
    {kA4, 4, false, 4, 80, 4770, 74, 100, 200, 180, {{500, -540}, {5800, -540}, {500, -8410}, {5800, -8410}}, 99},
};

class LayoutRows : public ::testing::TestWithParam<Row> {};

// A text of more lines than one sheet holds fills every page area of the first
// sheet at its origin, line by line at the pitch, and starts a second sheet.
TEST_P(LayoutRows, PageModel) {
  const Row& row = GetParam();
  const LayoutRow& t = LayoutFor(row.paper, row.layout);
  EXPECT_EQ(t.landscape, row.landscape);
  EXPECT_EQ(t.font_height, row.height);
  EXPECT_EQ(t.column_width, row.column);
  EXPECT_EQ(t.gutter, row.gutter);

  const int per_sheet = row.pages * row.lines;
  const Layout layout = Lay(Lines(per_sheet + 1), Request(row.paper, row.layout));
  EXPECT_EQ(layout.chars_per_line, row.chars_per_line);
  ASSERT_EQ(layout.document.size(), 2u);
  const Sheet& sheet = layout.document[0];
  ASSERT_EQ(sheet.areas.size(), static_cast<std::size_t>(row.pages));
  for (int k = 0; k < row.pages; ++k) {
    const PageArea& area = sheet.areas[static_cast<std::size_t>(k)];
    const Point o = row.origins[static_cast<std::size_t>(k)];
    EXPECT_EQ(area.origin.x, o.x);
    EXPECT_EQ(area.origin.y, o.y);
    EXPECT_EQ(area.page, static_cast<unsigned>(k + 1));
    EXPECT_EQ(area.lines, row.lines);
    ASSERT_EQ(area.runs.size(), static_cast<std::size_t>(row.lines));
    EXPECT_EQ(area.runs.front().x, o.x);
    EXPECT_EQ(area.runs.front().top, o.y);
    EXPECT_EQ(area.runs.front().text, "L" + std::to_string(k * row.lines + 1));
    EXPECT_EQ(area.runs.back().top, o.y - (row.lines - 1) * row.pitch);
    // The frame lies the margin outside the text on every side.
    ASSERT_TRUE(area.has_frame);
    EXPECT_EQ(area.frame.left, o.x - row.margin);
    EXPECT_EQ(area.frame.right, o.x + row.column + row.margin);
    EXPECT_EQ(area.frame.top, o.y + row.margin);
    EXPECT_EQ(area.frame.bottom, o.y - row.lines * row.pitch - row.margin);
  }
  // The line left over opens the second sheet with the next page number.
  const PageArea& next = layout.document[1].areas.front();
  EXPECT_EQ(next.page, static_cast<unsigned>(row.pages + 1));
  ASSERT_EQ(next.runs.size(), 1u);
  EXPECT_EQ(next.runs[0].text, "L" + std::to_string(per_sheet + 1));
  // The line limit holds exactly chars_per_line characters.
  const Layout wide = Lay(std::string(static_cast<std::size_t>(row.chars_per_line) + 1, 'w'), Request(row.paper, row.layout));
  const PageArea& area = wide.document[0].areas[0];
  EXPECT_EQ(LineText(area, row.origins[0].y).size(), static_cast<std::size_t>(row.chars_per_line));
  EXPECT_EQ(LineText(area, row.origins[0].y - row.pitch), "w");
}

INSTANTIATE_TEST_SUITE_P(Table, LayoutRows, ::testing::ValuesIn(kRows));

TEST(Layout, OutOfRangeRequestsRaise) {
  EXPECT_THROW(LayoutFor(2, 0), qmx::Error);
  EXPECT_THROW(LayoutFor(kLetter, 5), qmx::Error);
  EXPECT_THROW(LayoutFor(kA4, -1), qmx::Error);
  PrintRequest r = Request();
  r.weight_class = 5;
  EXPECT_THROW(Lay("x", r), qmx::Error);
  r = Request();
  r.font = std::string(33, 'F');
  EXPECT_THROW(Lay("x", r), qmx::Error);
  r = Request();
  r.file_path = std::string(261, 'p');
  EXPECT_THROW(Lay("x", r), qmx::Error);
}

TEST(Layout, FontWeights) {
  const int expected[] = {300, 400, 600, 700, 900};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(FontWeight(c), expected[c]) << c;
  EXPECT_THROW(FontWeight(-1), qmx::Error);
}

TEST(Layout, CharsPerLineIsCappedAt256) {
  EXPECT_EQ(CharsPerLine(10080, 96), 105);
  EXPECT_EQ(CharsPerLine(14820, 10), 256);
  EXPECT_EQ(CharsPerLine(100, 200), 1);
  EXPECT_EQ(CharsPerLine(100, 0), 256);
}

TEST(Layout, EmptyFileGivesOneFramedSheet) {
  const Layout layout = Lay("", Request());
  ASSERT_EQ(layout.document.size(), 1u);
  ASSERT_EQ(layout.sequence.size(), 1u);
  const PageArea& area = layout.document[0].areas[0];
  EXPECT_TRUE(area.has_frame);
  EXPECT_TRUE(area.runs.empty());
  PrintRequest r = Request();
  r.box = false;
  EXPECT_FALSE(Lay("", r).document[0].areas[0].has_frame);
}

TEST(Layout, LongLineContinuesInTheSameArea) {
  const std::string line(250, 'x');
  const Layout layout = Lay(line + "\nnext\n", Request());
  ASSERT_EQ(layout.document.size(), 1u);
  const PageArea& area = layout.document[0].areas[0];
  EXPECT_EQ(area.lines, 4);
  EXPECT_EQ(LineText(area, -700), std::string(105, 'x'));
  EXPECT_EQ(LineText(area, -900), std::string(105, 'x'));
  EXPECT_EQ(LineText(area, -1100), std::string(40, 'x'));
  EXPECT_EQ(LineText(area, -1300), "next");
}

TEST(Layout, LineOfExactlyTheLimitTakesOneLine) {
  const Layout layout = Lay(std::string(105, 'x') + "\ny", Request());
  const PageArea& area = layout.document[0].areas[0];
  EXPECT_EQ(area.lines, 2);
  EXPECT_EQ(LineText(area, -900), "y");
}

TEST(Layout, FormFeedStartsTheNextPageArea) {
  // Two page areas per sheet: the form feed moves the text to the second one.
  const Layout two_up = Lay("first\fsecond\n", Request(kLetter, 2));
  ASSERT_EQ(two_up.document.size(), 1u);
  const Sheet& sheet = two_up.document[0];
  EXPECT_EQ(sheet.areas[0].lines, 1);
  EXPECT_EQ(LineText(sheet.areas[0], -680), "first");
  EXPECT_EQ(LineText(sheet.areas[1], -680), "second");
  EXPECT_EQ(sheet.areas[1].runs[0].x, 7960);

  // One area per sheet: each form feed starts a sheet; a final one does not.
  EXPECT_EQ(Lay("a\fb\f", Request()).document.size(), 2u);
  EXPECT_EQ(Lay("\f\fc", Request()).document.size(), 3u);
  EXPECT_EQ(Lay("a\n\f", Request()).document.size(), 1u);
}

TEST(Layout, ControlZEndsTheDocument) {
  const Layout layout = Lay("kept\x1A" + Lines(200), Request());
  ASSERT_EQ(layout.document.size(), 1u);
  EXPECT_EQ(layout.document[0].areas[0].lines, 1);
  EXPECT_EQ(LineText(layout.document[0].areas[0], -700), "kept");
}

TEST(Layout, ControlCharactersPrintAsBlanks) {
  const Layout layout = Lay(std::string("a\x01" "b\x1b" "c\x7f" "d\r\ne\rf"), Request());
  const PageArea& area = layout.document[0].areas[0];
  EXPECT_EQ(area.lines, 2);
  EXPECT_EQ(LineText(area, -700), "a b c d");
  EXPECT_EQ(LineText(area, -900), "e f");
}

TEST(Layout, EscapeSwapsColoursWhenAllowed) {
  PrintRequest r = Request();
  r.colour_escape = true;
  const Layout layout = Lay("ab\x1b" "cd\x1b" "ef\x1b", r);
  const std::vector<TextRun>& runs = layout.document[0].areas[0].runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, "ab");
  EXPECT_FALSE(runs[0].inverse);
  EXPECT_EQ(runs[1].text, "cd");
  EXPECT_TRUE(runs[1].inverse);
  EXPECT_EQ(runs[1].column, 2);
  EXPECT_EQ(runs[1].x, 680 + 2 * 96);
  EXPECT_EQ(runs[2].text, "ef");
  EXPECT_FALSE(runs[2].inverse);
}

TEST(Layout, TabsExpandFromTheFirstTextColumn) {
  PrintRequest r = Request();
  r.tab_width = 4;
  EXPECT_EQ(LineText(Lay("a\tb\tc", r).document[0].areas[0], -700), "a   b   c");
  EXPECT_EQ(LineText(Lay("abcd\te", r).document[0].areas[0], -700), "abcd    e");
  r.line_numbers = true;
  const Layout numbered = Lay("a\tb\n\tc\n", r);
  const PageArea& area = numbered.document[0].areas[0];
  EXPECT_EQ(LineText(area, -700), "    1 a   b");
  EXPECT_EQ(LineText(area, -900), "    2     c");
  r.tab_width = 0;
  EXPECT_EQ(LineText(Lay("a\tb", r).document[0].areas[0], -700), "    1 a b");
}

TEST(Layout, LineNumbersMarkSourceLines) {
  PrintRequest r = Request();
  r.line_numbers = true;
  // The field takes six of the 105 columns; a continued line has a blank field.
  const Layout layout = Lay(std::string(100, 'x') + "\n\nz", r);
  const PageArea& area = layout.document[0].areas[0];
  EXPECT_EQ(area.lines, 4);
  EXPECT_EQ(LineText(area, -700), "    1 " + std::string(99, 'x'));
  EXPECT_EQ(LineText(area, -900), "      x");
  EXPECT_EQ(LineText(area, -1100), "    2 ");
  EXPECT_EQ(LineText(area, -1300), "    3 z");
}

TEST(Layout, Utf8CharacterTakesOneColumn) {
  const Layout layout = Lay("71.6 \xC2\xB0" "F\xFF", Request());
  const std::vector<TextRun>& runs = layout.document[0].areas[0].runs;
  ASSERT_EQ(runs.size(), 1u);
  // A byte that is not UTF-8 prints as its Latin-1 character.
  EXPECT_EQ(runs[0].text, "71.6 \xC2\xB0" "F\xC3\xBF");
  EXPECT_EQ(Lay(std::string(104, 'x') + "\xC2\xB0" "y", Request()).document[0].areas[0].lines, 2);
}

TEST(Layout, HeaderTakesTwoLinesAndShowsThePage) {
  PrintRequest r = Request();
  r.header = true;
  r.title = "/tmp/print.txt";
  const Layout layout = Lay(Lines(67), r);
  ASSERT_EQ(layout.document.size(), 2u);
  const PageArea& first = layout.document[0].areas[0];
  EXPECT_EQ(first.lines, 66);
  EXPECT_EQ(first.runs.front().top, -700 - 2 * 200);
  ASSERT_TRUE(first.has_header);
  const std::string& h = first.header.text;
  EXPECT_EQ(h.size(), 102u);  // three characters short of the line
  EXPECT_EQ(h.substr(0, 13), "7-Dec-26 9:05");
  EXPECT_EQ(h.substr(h.size() - 6), "Page 1");
  EXPECT_EQ(h.find("/tmp/print.txt"), (102u - 14u) / 2);
  EXPECT_LT(first.header_rule.y, -700 - 160);
  EXPECT_GT(first.header_rule.y, -700 - 2 * 200);
  EXPECT_EQ(layout.document[1].areas[0].header.text.substr(96), "Page 2");
}

TEST(Layout, HeaderKeepsTheEndOfALongTitle) {
  const std::string h = HeaderText("1-Jan-26 0:00", std::string(60, 'a') + "print.txt", 12, 40);
  EXPECT_EQ(h.size(), 40u);
  EXPECT_EQ(h.substr(0, 14), "1-Jan-26 0:00 ");
  EXPECT_EQ(h.substr(32), " Page 12");
  EXPECT_EQ(h.substr(14, 18), std::string(9, 'a') + "print.txt");
  EXPECT_EQ(HeaderText("d", "t", 1, 2).size(), 2u);
  EXPECT_EQ(HeaderText("date", "t", 1, 0), "");
}

TEST(Layout, LastSheetKeepsItsEmptyFramedAreas) {
  const Layout layout = Lay("one line", Request(kA4, 4));
  ASSERT_EQ(layout.document.size(), 1u);
  ASSERT_EQ(layout.document[0].areas.size(), 4u);
  for (const PageArea& area : layout.document[0].areas) EXPECT_TRUE(area.has_frame);
  EXPECT_TRUE(layout.document[0].areas[3].runs.empty());
}

// A two-sheet document at layout 0 (68 lines per sheet).
const std::string kTwoSheets = Lines(100);
const std::string kThreeSheets = Lines(150);

TEST(Sequence, UncollatedCopiesRepeatEachSheet) {
  PrintRequest r = Request();
  r.copies = 3;
  const Layout layout = Lay(kTwoSheets, r);
  EXPECT_EQ(SheetOrder(layout), (std::vector<int>{0, 0, 0, 1, 1, 1}));
  EXPECT_EQ(layout.sequence[1].copy, 2u);
  EXPECT_EQ(layout.sequence[5].copy, 3u);
}

TEST(Sequence, CollatedCopiesRepeatTheDocument) {
  PrintRequest r = Request();
  r.copies = 3;
  r.collate = true;
  const Layout layout = Lay(kTwoSheets, r);
  EXPECT_EQ(SheetOrder(layout), (std::vector<int>{0, 1, 0, 1, 0, 1}));
  EXPECT_EQ(layout.sequence[2].copy, 2u);
}

TEST(Sequence, DuplexAddsBlankBacks) {
  PrintRequest r = Request();
  r.duplex = true;
  r.copies = 2;
  // Uncollated: front and back repeat as a pair; the last front has an empty back.
  EXPECT_EQ(SheetOrder(Lay(kThreeSheets, r)), (std::vector<int>{0, 1, 0, 1, 2, -1, 2, -1}));
  // Collated: an odd copy gets an empty sheet so the next copy starts on new paper.
  r.collate = true;
  EXPECT_EQ(SheetOrder(Lay(kThreeSheets, r)), (std::vector<int>{0, 1, 2, -1, 0, 1, 2}));
  EXPECT_EQ(SheetOrder(Lay(kTwoSheets, r)), (std::vector<int>{0, 1, 0, 1}));
  // One copy needs no padding.
  r.copies = 1;
  EXPECT_EQ(SheetOrder(Lay(kThreeSheets, r)), (std::vector<int>{0, 1, 2}));
}

TEST(Sequence, CopiesAreBounded) {
  PrintRequest r = Request();
  r.copies = 0;
  EXPECT_EQ(Lay("x", r).sequence.size(), 1u);
  r.copies = 4000000000u;
  EXPECT_EQ(Lay("x", r).sequence.size(), kMaxCopies);
}

TEST(Gutter, PortraitShiftsRightLandscapeDown) {
  PrintRequest r = Request(kLetter, 0);
  r.copies = 2;
  for (const SheetRef& ref : Lay(kTwoSheets, r).sequence) {
    EXPECT_EQ(ref.dx, 260);
    EXPECT_EQ(ref.dy, 0);
  }
  r = Request(kA4, 2);
  r.copies = 2;
  for (const SheetRef& ref : Lay(kTwoSheets, r).sequence) {
    EXPECT_EQ(ref.dx, 0);
    EXPECT_EQ(ref.dy, -180);
  }
}

TEST(Gutter, DuplexAlternatesWithTheSheetCount) {
  PrintRequest r = Request(kA4, 3);
  r.duplex = true;
  r.copies = 2;
  r.collate = true;
  const Layout layout = Lay(Lines(400), r);  // two sheets of 2 x 152 lines
  ASSERT_EQ(layout.sequence.size(), 4u);
  const int expected[] = {200, -200, 200, -200};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(layout.sequence[i].dx, expected[i]) << i;
    EXPECT_EQ(layout.sequence[i].dy, 0);
  }
  const Point back = GutterShift(LayoutFor(kLetter, 1), true, 3);
  EXPECT_EQ(back.x, 0);
  EXPECT_EQ(back.y, 180);
  const Point front = GutterShift(LayoutFor(kLetter, 1), true, 4);
  EXPECT_EQ(front.y, -180);
}

}  // namespace
