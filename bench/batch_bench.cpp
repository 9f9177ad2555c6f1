// Batch recalculation: records per second of the engine context (AGA-3 gas orifice of the
// defaults, fixed composition, dp, pressure and temperature changing every record), of the
// record reader and of the row writer. Threads run their own contexts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/batch.hpp"
#include "app/batch_io.hpp"

namespace {

using namespace qmx;

constexpr int kRecords = 4096;

std::vector<BATCH::Record> Records() {
  std::vector<BATCH::Record> records(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    BATCH::Record& r = records[static_cast<std::size_t>(i)];
    r.dp = 5000.0 + 20.0 * (i * 37 % 1000);
    r.pressure = 2.0e6 + 1500.0 * (i * 7919 % 2000);
    r.temperature = 275.0 + 0.01 * (i * 104729 % 4000);
  }
  return records;
}

std::string CsvText() {
  std::string text = "time,dp,static_pressure,flowing_temperature\n";
  for (const BATCH::Record& r : Records()) {
    text += "2026-01-01T00:00:00Z,";
    BATCH::AppendNumber(r.dp, false, text);
    text += ',';
    BATCH::AppendNumber(r.pressure, false, text);
    text += ',';
    BATCH::AppendNumber(r.temperature, false, text);
    text += '\n';
  }
  return text;
}

void BM_BatchCompute(benchmark::State& state) {
  const std::vector<BATCH::Record> records = Records();
  BATCH::Context context(nullptr);
  BATCH::Results out;
  std::size_t i = 0;
  for (auto _ : state) {
    context.Compute(records[i], out);
    benchmark::DoNotOptimize(out.massFlow);
    i = (i + 1) % records.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BatchCompute)->Threads(1)->Threads(2)->UseRealTime();

// Reading and parsing a record (the buffer is read again from the start when it ends).
void BM_BatchRead(benchmark::State& state) {
  const std::string text = CsvText();
  std::size_t pos = text.find('\n') + 1;
  BATCH::CsvReader reader([&](char* buffer, std::size_t n) {
    if (pos >= text.size()) pos = text.find('\n') + 1;
    const std::size_t k = std::min(n, text.size() - pos);
    std::memcpy(buffer, text.data() + pos, k);
    pos += k;
    return k;
  });
  BATCH::InputLayout layout;
  BATCH::ReadHeader({"time", "dp", "static_pressure", "flowing_temperature"}, false, layout);
  BATCH::InputRow row;
  std::string error;
  for (auto _ : state) {
    reader.Next(row.fields, error);
    BATCH::ReadRow(layout, row);
    benchmark::DoNotOptimize(row.record.dp);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BatchRead);

// Writing a result row as CSV.
void BM_BatchWriteCsv(benchmark::State& state) {
  BATCH::InputLayout layout;
  BATCH::ReadHeader({"time", "dp", "static_pressure", "flowing_temperature"}, false, layout);
  const BATCH::RowWriter writer(layout, false);
  BATCH::InputRow row;
  row.fields = {"2026-01-01T00:00:00Z", "12000", "3500000", "295.15"};
  BATCH::Context context(nullptr);
  BATCH::Results out;
  context.Compute(Records()[0], out);
  std::string text;
  text.reserve(1024);
  for (auto _ : state) {
    text.clear();
    writer.Row(row, &out, text);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BatchWriteCsv);

}  // namespace
