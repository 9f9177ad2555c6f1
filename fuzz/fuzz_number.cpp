// Fuzzes the number tidy and the text-to-number conversion that follows it: the tidy never
// gives an empty text and grows it by at most the "0" put before a point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "units/fe.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  double x = 0.0;
  qmx::FE::StrToReal(input, x);
  std::int64_t n = 0;
  qmx::FE::StrToInt(input, n);
  for (const bool strip : {true, false}) {
    std::string text = input;
    qmx::FE::TidyNumber(strip, text);
    if (text.empty() || text.size() > input.size() + 2) std::abort();
    double y = 0.0;
    qmx::FE::StrToReal(text, y);
  }
  return 0;
}
