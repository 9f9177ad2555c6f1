#include "ui/print/layout.hpp"

#include <algorithm>
#include <cmath>

#include "numerics/error.hpp"

namespace qmx::Print {

namespace {

constexpr std::array<LayoutRow, 10> kTable{{
    {kLetter, 0, false, 1, 160, 10080, 68, 200, 260, 180, {{{680, -700}}}},
    {kLetter, 1, true, 1, 120, 13820, 68, 150, 180, 180, {{{700, -680}}}},
    {kLetter, 2, true, 2, 120, 6480, 68, 150, 180, 180, {{{700, -680}, {7960, -680}}}},
    {kLetter, 3, false, 2, 80, 4860, 141, 100, 260, 180, {{{500, -540}, {6040, -540}}}},
    {kLetter, 4, false, 4, 80, 4860, 67, 100, 260, 180,
     {{{500, -540}, {6040, -540}, {500, -7860}, {6040, -7860}}}},
    {kA4, 0, false, 1, 160, 9720, 75, 200, 200, 180, {{{680, -700}}}},
    {kA4, 1, true, 1, 120, 14820, 67, 150, 180, 180, {{{680, -680}}}},
    {kA4, 2, true, 2, 120, 7020, 67, 150, 180, 180, {{{680, -680}, {8570, -680}}}},
    {kA4, 3, false, 2, 80, 4770, 152, 100, 200, 180, {{{500, -540}, {5800, -540}}}},
    {kA4, 4, false, 4, 80, 4770, 74, 100, 200, 180,
     {{{500, -540}, {5800, -540}, {500, -8410}, {5800, -8410}}}},
}};

constexpr std::array<int, 5> kWeights{300, 400, 600, 700, 900};

constexpr char32_t kTab = 0x09;
constexpr char32_t kLineFeed = 0x0A;
constexpr char32_t kFormFeed = 0x0C;
constexpr char32_t kReturn = 0x0D;
constexpr char32_t kControlZ = 0x1A;
constexpr char32_t kEscape = 0x1B;
constexpr char32_t kDelete = 0x7F;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// The character at pos, advancing pos. A valid UTF-8 sequence is one
// character; any other byte stands for itself (Latin-1), so text in a
// single-byte code page still prints one character per byte.
char32_t NextChar(std::string_view text, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(text[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int extra = 0;
  char32_t c = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, c = b0 & 0x07, min = 0x10000;
  }
  if (extra > 0 && pos + static_cast<std::size_t>(extra) < text.size()) {
    bool ok = true;
    for (int i = 1; ok && i <= extra; ++i) {
      const auto b = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
      ok = (b & 0xC0) == 0x80;
      c = (c << 6) | (b & 0x3F);
    }
    if (ok && c >= min && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
      pos += static_cast<std::size_t>(extra) + 1;
      return c;
    }
  }
  ++pos;
  return b0;
}

std::u32string Decode(std::string_view text) {
  std::u32string out;
  std::size_t pos = 0;
  while (pos < text.size()) out.push_back(NextChar(text, pos));
  return out;
}

std::string Encode(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

// One printed line: runs with their columns, positions still relative.
struct Line {
  std::vector<TextRun> runs;
};

// A line or a page break, in text order.
struct Item {
  bool page_break = false;
  Line line;
};

// Applies the text rules one character at a time.
class Scanner {
 public:
  Scanner(const PrintRequest& request, int chars_per_line)
      : request_(request),
        limit_(chars_per_line),
        text_start_(request.line_numbers ? kLineNumberWidth : 0) {
    // A field wider than the line leaves one text column.
    if (text_start_ >= limit_) text_start_ = std::max(0, limit_ - 1);
  }

  std::vector<Item> Scan(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
      const char32_t c = NextChar(text, pos);
      if (c == kLineFeed) {
        EndLine(true);
      } else if (c == kReturn && pos < text.size() && text[pos] == '\n') {
        // CR LF is one end of line; the LF ends it.
      } else if (c == kTab) {
        Tab();
      } else if (c == kFormFeed) {
        if (open_) EndLine(true);
        items_.push_back(Item{true, {}});
      } else if (c == kControlZ) {
        break;
      } else if (c == kEscape) {
        if (request_.colour_escape) {
          // The swap takes effect only when another character follows.
          if (pos < text.size()) {
            CloseRun();
            inverse_ = !inverse_;
          }
        } else {
          Put(U' ');
        }
      } else if (c < 0x20 || c == kDelete) {
        Put(U' ');
      } else {
        Put(c);
      }
    }
    if (open_) EndLine(true);
    return std::move(items_);
  }

 private:
  void Open() {
    if (open_) return;
    open_ = true;
    runs_.clear();
    run_.clear();
    column_ = 0;
    if (request_.line_numbers) {
      std::string field;
      if (new_source_line_) {
        ++line_number_;
        // Six characters: the number right-aligned in five, then a blank.
        std::string digits = std::to_string(line_number_ % 100000);
        field.assign(static_cast<std::size_t>(std::max(0, 5 - static_cast<int>(digits.size()))), ' ');
        field += digits;
        field += ' ';
      } else {
        field.assign(kLineNumberWidth, ' ');
      }
      field.resize(static_cast<std::size_t>(text_start_), ' ');
      if (!field.empty()) runs_.push_back(TextRun{0, 0, 0, field, false});
      column_ = text_start_;
    }
    run_column_ = column_;
    new_source_line_ = false;
  }

  void CloseRun() {
    if (!run_.empty()) {
      runs_.push_back(TextRun{0, 0, run_column_, Encode(run_), run_inverse_});
      run_.clear();
    }
    run_column_ = column_;
    run_inverse_ = inverse_;
  }

  void EndLine(bool source_end) {
    Open();
    CloseRun();
    items_.push_back(Item{false, Line{std::move(runs_)}});
    runs_.clear();
    open_ = false;
    if (source_end) new_source_line_ = true;
  }

  void Put(char32_t c) {
    Open();
    if (column_ >= limit_) {
      EndLine(false);  // the line continues on the next one
      Open();
    }
    if (run_.empty()) {
      run_column_ = column_;
      run_inverse_ = inverse_;
    } else if (run_inverse_ != inverse_) {
      CloseRun();
    }
    run_.push_back(c);
    ++column_;
  }

  // Blanks up to the next tab stop, counted from the first text column. The
  // blanks end at the end of the line: a wrapped line does not start with the
  // rest of a tab.
  void Tab() {
    Open();
    const int width = static_cast<int>(std::min<unsigned>(request_.tab_width, kMaxCharsPerLine));
    const int text_column = column_ - text_start_;
    int blanks = width == 0 ? 1 : width - text_column % width;
    if (column_ >= limit_) {
      EndLine(false);
      return;
    }
    blanks = std::min(blanks, limit_ - column_);
    for (int i = 0; i < blanks; ++i) Put(U' ');
  }

  const PrintRequest& request_;
  int limit_;
  int text_start_;
  std::vector<Item> items_;
  std::vector<TextRun> runs_;
  std::u32string run_;
  int run_column_ = 0;
  bool run_inverse_ = false;
  int column_ = 0;
  bool open_ = false;
  bool inverse_ = false;
  bool new_source_line_ = true;
  unsigned line_number_ = 0;
};

PageArea NewArea(const Layout& layout, const PrintRequest& request, const LayoutInput& input,
                 int slot, unsigned page) {
  const LayoutRow& row = layout.row;
  PageArea area;
  area.origin = row.origins[static_cast<std::size_t>(slot)];
  area.page = page;
  if (request.box) {
    area.has_frame = true;
    area.frame = Rect{area.origin.x - row.frame_margin, area.origin.y + row.frame_margin,
                      area.origin.x + row.column_width + row.frame_margin,
                      area.origin.y - row.lines_per_page * row.line_pitch - row.frame_margin};
  }
  if (request.header) {
    const int width = std::max(1, layout.chars_per_line - 3);
    area.has_header = true;
    area.header = TextRun{area.origin.x, area.origin.y, 0,
                          HeaderText(input.date_time, request.title, page, width), false};
    const int below = row.font_height + (row.line_pitch - row.font_height) / 2;
    area.header_rule = Rule{area.origin.x, area.origin.x + width * layout.char_width, area.origin.y - below};
  }
  return area;
}

}  // namespace

const LayoutRow& LayoutFor(int paper, int layout) {
  if ((paper != kLetter && paper != kA4) || layout < 0 || layout >= kLayouts) {
    Raise(kModule, "LayoutFor() paper or layout out of range", 1);
  }
  return kTable[static_cast<std::size_t>(paper * kLayouts + layout)];
}

int FontWeight(int weight_class) {
  if (weight_class < 0 || weight_class >= static_cast<int>(kWeights.size())) {
    Raise(kModule, "FontWeight() weight class out of range", 2);
  }
  return kWeights[static_cast<std::size_t>(weight_class)];
}

void CheckRequest(const PrintRequest& request) {
  LayoutFor(request.paper, request.layout);
  FontWeight(request.weight_class);
  if (request.font.size() > kMaxFaceName) Raise(kModule, "CheckRequest() font name too long", 3);
  if (request.file_path.size() > kMaxPath || request.title.size() > kMaxPath) {
    Raise(kModule, "CheckRequest() path or title too long", 4);
  }
}

int FixedPitchAverageWidth(int font_height) {
  return static_cast<int>(std::lround(0.6 * std::abs(font_height)));
}

int CharsPerLine(int column_width, int average_char_width) {
  if (average_char_width <= 0) return kMaxCharsPerLine;
  return std::clamp(column_width / average_char_width, 1, kMaxCharsPerLine);
}

Point GutterShift(const LayoutRow& row, bool duplex, std::size_t index) {
  // Portrait pages move right, landscape pages down; the back of a duplex
  // sheet moves the other way so that both sides leave room for the binding.
  Point shift = row.landscape ? Point{0, -row.gutter} : Point{row.gutter, 0};
  if (duplex && index % 2 == 1) shift = Point{-shift.x, -shift.y};
  return shift;
}

std::string HeaderText(std::string_view date_time, std::string_view title, unsigned page, int width) {
  const auto w = static_cast<std::size_t>(std::max(0, width));
  std::u32string line(w, U' ');
  const std::u32string left = Decode(date_time);
  const std::u32string right = Decode("Page " + std::to_string(page));
  std::u32string name = Decode(title);
  const std::size_t used_left = std::min(left.size(), w);
  line.replace(0, used_left, left, 0, used_left);
  if (right.size() + used_left + 1 <= w) line.replace(w - right.size(), right.size(), right);
  // The title is centred in the whole line, moved aside or cut at its start
  // (keeping the file name) where it would touch the texts at either end.
  const std::size_t lo = used_left + 1;
  const std::size_t hi = right.size() + used_left + 1 <= w ? w - right.size() - 1 : w;
  if (hi > lo && !name.empty()) {
    const std::size_t room = hi - lo;
    if (name.size() > room) name.erase(0, name.size() - room);
    std::size_t start = w > name.size() ? (w - name.size()) / 2 : 0;
    start = std::clamp(start, lo, hi - name.size());
    line.replace(start, name.size(), name);
  }
  return Encode(line);
}

Layout LayOut(std::string_view text, const PrintRequest& request, const LayoutInput& input) {
  CheckRequest(request);
  Layout layout;
  layout.row = LayoutFor(request.paper, request.layout);
  const LayoutRow& row = layout.row;
  layout.char_width =
      input.average_char_width > 0 ? input.average_char_width : FixedPitchAverageWidth(row.font_height);
  layout.chars_per_line = CharsPerLine(row.column_width, layout.char_width);

  Scanner scanner(request, layout.chars_per_line);
  const std::vector<Item> items = scanner.Scan(text);

  // The header takes its line and the blank line under it.
  const int first_line = request.header ? 2 : 0;
  const int capacity = std::max(1, row.lines_per_page - first_line);
  std::vector<PageArea> areas;
  bool area_ended = true;  // the next line needs a new page area
  auto next_area = [&] {
    const int slot = static_cast<int>(areas.size() % static_cast<std::size_t>(row.pages_per_sheet));
    areas.push_back(NewArea(layout, request, input, slot, static_cast<unsigned>(areas.size() + 1)));
    area_ended = false;
  };
  for (const Item& item : items) {
    if (item.page_break) {
      if (area_ended) next_area();
      area_ended = true;
      continue;
    }
    if (area_ended || areas.back().lines >= capacity) next_area();
    PageArea& area = areas.back();
    const int top = area.origin.y - (first_line + area.lines) * row.line_pitch;
    for (const TextRun& run : item.line.runs) {
      area.runs.push_back(TextRun{area.origin.x + run.column * layout.char_width, top, run.column,
                                  run.text, run.inverse});
    }
    ++area.lines;
  }
  if (areas.empty()) next_area();
  // The last sheet's remaining page areas are printed empty, with their frames.
  while (areas.size() % static_cast<std::size_t>(row.pages_per_sheet) != 0) next_area();

  for (std::size_t i = 0; i < areas.size(); i += static_cast<std::size_t>(row.pages_per_sheet)) {
    Sheet sheet;
    for (int k = 0; k < row.pages_per_sheet; ++k) sheet.areas.push_back(std::move(areas[i + static_cast<std::size_t>(k)]));
    layout.document.push_back(std::move(sheet));
  }

  // The sheet sequence of the copies.
  const unsigned copies = std::clamp(request.copies, 1u, kMaxCopies);
  const int n = static_cast<int>(layout.document.size());
  auto push = [&](int sheet, unsigned copy) { layout.sequence.push_back(SheetRef{sheet, copy, 0, 0}); };
  if (request.collate || copies == 1) {
    for (unsigned copy = 1; copy <= copies; ++copy) {
      for (int s = 0; s < n; ++s) push(s, copy);
      // The next copy starts on a new sheet of paper.
      if (request.duplex && copy < copies && n % 2 == 1) push(-1, copy);
    }
  } else if (request.duplex) {
    for (int s = 0; s < n; s += 2) {
      for (unsigned copy = 1; copy <= copies; ++copy) {
        push(s, copy);
        push(s + 1 < n ? s + 1 : -1, copy);
      }
    }
  } else {
    for (int s = 0; s < n; ++s) {
      for (unsigned copy = 1; copy <= copies; ++copy) push(s, copy);
    }
  }
  for (std::size_t i = 0; i < layout.sequence.size(); ++i) {
    const Point shift = GutterShift(row, request.duplex, i);
    layout.sequence[i].dx = shift.x;
    layout.sequence[i].dy = shift.y;
  }
  return layout;
}

}  // namespace qmx::Print
