// Fuzzes unit strings (uConvert both ways, uConvertBetween, uStrDims, uErrorText) and the
// record line reader of dimensioned values. Raises of uCDTstrToDV for a malformed line are
// expected; a crash, a hang or a sanitizer report is not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "numerics/error.hpp"
#include "units/dval.hpp"
#include "units/fum.hpp"

namespace FUM = qmx::FUM;

namespace {
void Units(std::string_view unit) {
  for (const double value : {1.0, -40.0, 0.0, 31.92, 1e300, -1e-300}) {
    for (const bool toSI : {true, false}) {
      FUM::UnitErrors errors = 0;
      bool formulaic = false;
      FUM::Dims dims{};
      double result = 0.0;
      try {
        FUM::uConvert(errors, formulaic, dims, unit, result, toSI, value);
      } catch (const qmx::Error&) {
      }
      std::string text;
      FUM::uErrorText(errors, text);
    }
  }
  FUM::Dims dims{};
  FUM::uStrDims(dims, unit);
  std::string name;
  FUM::uDimensionName(dims, name);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\n');
  if (cut == std::string::npos) {
    Units(input);
    return 0;
  }
  const std::string_view first(input.data(), cut);
  const std::string_view second(input.data() + cut + 1, input.size() - cut - 1);
  FUM::UnitErrors errors = 0;
  double result = 0.0;
  try {
    FUM::uConvertBetween(errors, second, result, first, 12.5);
  } catch (const qmx::Error&) {
  }
  // The whole input as a record line of a pressure value.
  std::unique_ptr<FUM::DVal> dv;
  FUM::uDVinit("kpa", 101.325, FUM::fIN, dv);
  std::string label;
  try {
    FUM::uCDTstrToDV(dv.get(), label, input);
  } catch (const qmx::Error&) {
  }
  std::string line;
  FUM::uDVtoCDTstr("P", *dv, line);
  FUM::uDVkill(dv);
  return 0;
}
