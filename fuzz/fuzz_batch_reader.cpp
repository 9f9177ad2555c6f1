// Fuzzes the record reader of batch recalculation: the input is a record file (header row, then
// data rows) read as a stream in small pieces; each row is parsed, its time read, and written
// back as CSV and JSON Lines. Damaged rows are expected; a crash, a hang or a sanitizer report
// is not.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/batch_io.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qmx::BATCH;
  std::size_t pos = 0;
  // Pieces of 1 to 7 bytes so that records and quotes cross the reader's buffer ends.
  CsvReader reader([&](char* buffer, std::size_t n) -> std::size_t {
    const std::size_t k = std::min({n, size - pos, std::size_t{1} + pos % 7});
    std::memcpy(buffer, data + pos, k);
    pos += k;
    return k;
  });
  std::vector<std::string> header;
  std::string error;
  if (!reader.Next(header, error)) return 0;
  InputLayout layout;
  if (!ReadHeader(header, size % 2 == 0, layout).empty()) return 0;
  const RowWriter csv(layout, false);
  const RowWriter json(layout, true);
  std::string out;
  csv.Header(out);
  InputRow row;
  Results results;
  results.warning = "flag!";
  TotalsAccumulator totals(3600.0);
  std::vector<PeriodTotals> periods;
  for (int n = 0; n < 10000 && reader.Next(row.fields, error); ++n) {
    ReadRow(layout, row);
    if (!error.empty()) row.error = error;
    const Results* r = row.error.empty() ? &results : nullptr;
    if (r != nullptr) {
      results.massFlow = row.record.dp;
      results.dp = row.record.dp;
      results.temperature = row.record.temperature;
    }
    out.clear();
    csv.Row(row, r, out);
    json.Row(row, r, out);
    if (!std::isnan(row.time)) {
      totals.Add(row.time, row.duration, r, periods);
    } else {
      totals.AddUntimed(periods);
    }
  }
  totals.Finish(periods);
  out.clear();
  for (const PeriodTotals& p : periods) {
    WriteTotals(p, false, true, out);
    WriteTotals(p, true, false, out);
  }
  return 0;
}
