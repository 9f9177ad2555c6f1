// Fuzzes the print layout: the first bytes choose the request (paper, layout, flags, copies,
// tab width), the rest is the text file. Every text run must stay inside its line limit and
// its page area, and the job must print at least one sheet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/print/layout.hpp"

namespace P = qmx::Print;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  P::PrintRequest r;
  r.paper = data[0] & 1;
  r.layout = (data[0] >> 1) % 5;
  r.collate = data[0] & 0x10;
  r.duplex = data[0] & 0x20;
  r.header = data[0] & 0x40;
  r.box = data[0] & 0x80;
  r.line_numbers = data[1] & 1;
  r.colour_escape = data[1] & 2;
  r.weight_class = (data[1] >> 2) % 5;
  r.copies = data[2] % 5;
  r.tab_width = data[3] % 20;
  r.title = "/tmp/print.txt";
  const std::string_view text(reinterpret_cast<const char*>(data) + 4, size - 4);
  const P::Layout layout = P::LayOut(text, r, P::LayoutInput{0, "7-Dec-26 9:05"});
  if (layout.sequence.empty() || layout.document.empty()) std::abort();
  const int right_limit = layout.chars_per_line * layout.char_width;
  for (const P::Sheet& sheet : layout.document) {
    if (sheet.areas.size() != static_cast<std::size_t>(layout.row.pages_per_sheet)) std::abort();
    for (const P::PageArea& area : sheet.areas) {
      if (area.lines > layout.row.lines_per_page) std::abort();
      for (const P::TextRun& run : area.runs) {
        if (run.x < area.origin.x || run.x - area.origin.x >= right_limit) std::abort();
        if (run.top > area.origin.y || run.top <= area.origin.y - layout.row.lines_per_page * layout.row.line_pitch) {
          std::abort();
        }
      }
    }
  }
  for (const P::SheetRef& ref : layout.sequence) {
    if (ref.sheet >= static_cast<int>(layout.document.size())) std::abort();
  }
  return 0;
}
