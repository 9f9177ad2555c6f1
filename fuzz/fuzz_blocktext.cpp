// Fuzzes the block reader: the input is a file; every read operation runs in turn over its
// blocks. Raises of the reader (bad markers, a file ending inside a block) are expected; a
// crash, a hang or a line over the length limit is not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "numerics/error.hpp"
#include "units/blocktext.hpp"

namespace BR = qmx::BR;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char separators[] = {',', ';', '\t', '|'};
  const char separator = separators[data[0] % 4];
  std::istringstream file(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  auto reader = BR::BRcreate(separator);
  std::string s;
  bool b = false;
  std::uint32_t c = 0;
  std::int32_t i = 0;
  double x = 0.0;
  int ord = 0;
  const std::string names = std::string("GPA") + separator + "AGA" + separator + "ISO" + separator;
  for (int block = 0; block < 8; ++block) {
    if (!BR::ScanForXblock("GMIX_START", *reader, file)) break;
    try {
      for (int step = 0; step < 64 && !reader->endOfBlock; ++step) {
        const int n = step % 5;
        switch (step % 12) {
          case 0: BR::ReadStringLine(s, *reader, file); break;
          case 1: BR::ReadBoolLine(b, *reader, file); break;
          case 2: BR::ReadCardLine(c, *reader, file); break;
          case 3: BR::ReadIntLine(i, *reader, file); break;
          case 4: BR::ReadEnumLine(ord, names, *reader, file); break;
          case 5: BR::ReadStringField(s, n, *reader, file); break;
          case 6: BR::ReadBoolField(b, n, *reader, file); break;
          case 7: BR::ReadCardField(c, n, *reader, file); break;
          case 8: BR::ReadIntField(i, n, *reader, file); break;
          case 9: BR::ReadLRealField(x, n, *reader, file); break;
          case 10: BR::ReadEnumField(ord, names, n, *reader, file); break;
          default: BR::NextLine(*reader, file); break;
        }
        if (reader->line.size() > BR::kLineLength) std::abort();
      }
    } catch (const qmx::Error&) {
      // The reader's own messages end the load, as they do for the mixture file.
    }
  }
  BR::BRdispose(reader);
  return 0;
}
