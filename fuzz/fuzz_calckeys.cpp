// Fuzzes the KEY=VALUE parser of the calculator commands: the input is a list of lines, each
// one pair, applied in order from the defaults and calculated. A refused pair (a usage error)
// or a raised message is expected; a crash, a hang or a sanitizer report is not.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/qmxcalc.hpp"
#include "app/qmxreport.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "numerics/error.hpp"
#include "reports/report.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> pairs(1);
  for (std::size_t i = 0; i < size && pairs.size() <= 64; ++i) {
    if (data[i] == '\n') {
      pairs.emplace_back();
    } else {
      pairs.back().push_back(static_cast<char>(data[i]));
    }
  }
  try {
    qmx::cli::CalculateWith(pairs);
  } catch (const qmx::cli::UsageError&) {
    return 0;
  } catch (const qmx::Error&) {
    return 0;
  }
  qmx::Report::ReportData report;
  qmx::QMXcalc::FillReport(report);
  for (const bool csv : {false, true}) qmx::Report::ReportText(csv, report);
  return 0;
}
