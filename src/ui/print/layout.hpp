#pragma once
// Print layout: turns a text file and a print request into the sequence of
// sheets to print, each with its page areas, frames, headers and positioned
// text runs. Pure computation in twips (1/1440 inch); no window system.
//
// Coordinates follow the printer's twips mapping: x grows to the right from
// the left edge of the printable area, y grows upward from its top edge, so
// every point on the page has a negative y.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::Print {

inline constexpr std::string_view kModule = "Print";

inline constexpr int kLetter = 0;
inline constexpr int kA4 = 1;
inline constexpr int kLayouts = 5;
// Longest printed line, in characters.
inline constexpr int kMaxCharsPerLine = 256;
// Width of the line-number field, in characters.
inline constexpr int kLineNumberWidth = 6;
// Largest number of copies one job prints.
inline constexpr unsigned kMaxCopies = 9999;
// Longest face name, file path and title of a request.
inline constexpr std::size_t kMaxFaceName = 32;
inline constexpr std::size_t kMaxPath = 260;

struct Point {
  int x = 0;
  int y = 0;
};

// One row of the layout table: one paper and page layout.
struct LayoutRow {
  int paper = kLetter;
  int layout = 0;
  bool landscape = false;
  int pages_per_sheet = 1;
  int font_height = 160;   // character height
  int column_width = 0;    // width of a page area's text
  int lines_per_page = 0;  // lines in one page area
  int line_pitch = 0;
  int gutter = 0;          // duplex binding shift
  int frame_margin = 0;    // frame distance outside the text
  std::array<Point, 4> origins{};  // top-left of each page area's text
};

// The row of a paper (kLetter, kA4) and layout (0..4); raises for anything else.
const LayoutRow& LayoutFor(int paper, int layout);

// Font weights of the five weight classes (300, 400, 600, 700, 900).
int FontWeight(int weight_class);

// What to print and how; filled by the caller.
struct PrintRequest {
  std::string printer;      // printer name; empty for the default printer
  unsigned copies = 1;
  unsigned tab_width = 4;
  int weight_class = 1;     // 0..4
  int layout = 0;           // 0..4
  int paper = kLetter;      // kLetter or kA4
  bool collate = false;
  bool duplex = false;
  bool header = false;
  bool box = true;
  bool line_numbers = false;
  bool colour_escape = false;
  std::string font = "Courier New";
  bool italic = false;
  std::string file_path;    // the text file to print
  std::string title;        // job name, shown in the header
};

// Raises (kModule) when a field of the request is out of its range: paper,
// layout, weight class, or a face name, path or title that is too long.
void CheckRequest(const PrintRequest& request);

// The average character width of a fixed-pitch face of this character height,
// in twips (Courier New and its metric twins: 0.6 of the height, rounded).
int FixedPitchAverageWidth(int font_height);

// Characters per line: column width over the average character width, at most
// kMaxCharsPerLine and at least 1.
int CharsPerLine(int column_width, int average_char_width);

// A piece of one text line drawn in one colour state. `top` is the top of the
// character cell; `inverse` means text and background colours are swapped.
struct TextRun {
  int x = 0;
  int top = 0;
  int column = 0;  // first character column of the run in its line
  std::string text;  // UTF-8
  bool inverse = false;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// A horizontal rule (the underline of the header).
struct Rule {
  int x1 = 0;
  int x2 = 0;
  int y = 0;
};

// One area of text at one origin of the table.
struct PageArea {
  Point origin;          // from the table, before the gutter shift
  unsigned page = 0;     // page number within the document, from 1
  bool has_frame = false;
  Rect frame;
  bool has_header = false;
  TextRun header;        // date and time, centred title, page number
  Rule header_rule;
  std::vector<TextRun> runs;
  int lines = 0;         // text lines used in the area
};

// One printed side of the document: its page areas in table order.
struct Sheet {
  std::vector<PageArea> areas;
};

// One sheet of the job: which document sheet (or a blank), the copy it
// belongs to and the gutter shift of its position in the job.
struct SheetRef {
  int sheet = -1;       // index into Layout::document, -1 for an empty sheet
  unsigned copy = 1;    // 1-based
  int dx = 0;           // gutter shift, twips
  int dy = 0;
};

struct Layout {
  LayoutRow row;
  int char_width = 0;        // average character width, twips
  int chars_per_line = 0;
  std::vector<Sheet> document;   // the document's sheets, at least one
  std::vector<SheetRef> sequence;  // what the job prints, in order
};

// Measurements the layout needs from the font and the clock.
struct LayoutInput {
  int average_char_width = 0;  // twips; 0 for the fixed-pitch rule
  std::string date_time;       // header text at the left ("7-Dec-26 10:42")
};

// Lays out the text for the request. The header date and the character
// width come from `input`; the file path of the request is not read.
Layout LayOut(std::string_view text, const PrintRequest& request, const LayoutInput& input);

// The gutter shift of the job's sheet number `index` (0-based).
Point GutterShift(const LayoutRow& row, bool duplex, std::size_t index);

// The header text of one page area: the date and time at the left, the title
// centred, "Page n" at the right; `width` characters long.
std::string HeaderText(std::string_view date_time, std::string_view title, unsigned page, int width);

}  // namespace qmx::Print
