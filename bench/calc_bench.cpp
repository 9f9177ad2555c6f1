#include <benchmark/benchmark.h>

#include "app/qmxcalc.hpp"

namespace {

using namespace qmx;

// Calculate of the defaults after an edit of the differential pressure.
void BM_CalculateAfterDp(benchmark::State& state) {
  QMXcalc::Initialize();
  QMXcalc::Reset();
  auto& dp = *QMXcalc::Calc().dp;
  bool high = false;
  for (auto _ : state) {
    high = !high;
    FUM::uDVsetValTempUnits("kpa", high ? 12.5 : 12.0, dp);
    bool changed = true;
    benchmark::DoNotOptimize(QMXcalc::Calculate(changed));
  }
  QMXcalc::Finalize();
}
BENCHMARK(BM_CalculateAfterDp);

// Calculate of the defaults after an edit of the flowing temperature.
void BM_CalculateAfterTemperature(benchmark::State& state) {
  QMXcalc::Initialize();
  QMXcalc::Reset();
  auto& t = *QMXcalc::Calc().flowingTemperature;
  bool high = false;
  for (auto _ : state) {
    high = !high;
    FUM::uDVsetValTempUnits("C", high ? 22.5 : 22.0, t);
    bool changed = true;
    benchmark::DoNotOptimize(QMXcalc::Calculate(changed));
  }
  QMXcalc::Finalize();
}
BENCHMARK(BM_CalculateAfterTemperature);

}  // namespace
