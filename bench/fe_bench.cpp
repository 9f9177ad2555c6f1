// Number texts and the text formatter: the width/precision and significant-digit
// formats, the number tidy and a typical report line.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "units/fe.hpp"
#include "units/fi.hpp"

namespace {

void BM_LRtoStr(benchmark::State& state, double x, int width) {
  std::string text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    qmx::FE::LRtoStr(text, 6, width, x);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK_CAPTURE(BM_LRtoStr, fixed_w12, 101352.93, 12);
BENCHMARK_CAPTURE(BM_LRtoStr, small_w12, 2.5e-7, 12);
BENCHMARK_CAPTURE(BM_LRtoStr, exponent_w0, 1234.5678, 0);
BENCHMARK_CAPTURE(BM_LRtoStr, tie_w12, 2.5, 12);

void BM_LONGREALtoStr(benchmark::State& state, double x) {
  std::string text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    qmx::FE::LONGREALtoStr(text, 5, x);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK_CAPTURE(BM_LONGREALtoStr, d5_101, 101.352930);
BENCHMARK_CAPTURE(BM_LONGREALtoStr, d5_0_0123, 0.0123);
BENCHMARK_CAPTURE(BM_LONGREALtoStr, d5_large, 123456789.0);

void BM_TidyNumber(benchmark::State& state) {
  const std::string typed = "  -007.500000E+003 psi";
  std::string text;
  for (auto _ : state) {
    text = typed;
    qmx::FE::TidyNumber(true, text);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_TidyNumber);

void BM_FormatText(benchmark::State& state) {
  const std::string label = "Differential pressure";
  for (auto _ : state) {
    std::string line = qmx::FE::FmtToString("%-24s%12.6r %-6s%5i %b\\n", label, 12000.5, "Pa",
                                             std::int32_t{3}, true);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_FormatText);

// A page entry into a real value field: tidy, convert, limit check, refresh of the text.
void BM_RVsetValStrDelta(benchmark::State& state) {
  std::unique_ptr<qmx::FI::RVal> rv;
  qmx::FI::RVinit(0.5, qmx::FI::fINOUT, rv);
  qmx::FI::RVsetMinLimit(0.01, *rv);
  qmx::FI::RVsetMaxLimit(1, *rv);
  const char* texts[2] = {"0.6125", "0.4375"};
  int i = 0;
  for (auto _ : state) {
    bool changed = false;
    benchmark::DoNotOptimize(qmx::FI::RVsetValStrDelta(changed, texts[i ^= 1], *rv));
    benchmark::DoNotOptimize(changed);
  }
}
BENCHMARK(BM_RVsetValStrDelta);

// A result stored into a percent field and its text refreshed.
void BM_RVsetLRealPercent(benchmark::State& state) {
  std::unique_ptr<qmx::FI::RVal> rv;
  qmx::FI::RVinit(0, qmx::FI::fOUT, rv);
  qmx::FI::RVsetToPercent(*rv);
  double x = 0.0123;
  std::string text;
  for (auto _ : state) {
    benchmark::DoNotOptimize(x);
    qmx::FI::RVsetLReal(x, *rv);
    qmx::FI::RVgetValStr(text, *rv);  // the text is formatted when read
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_RVsetLRealPercent);

}  // namespace
