// MassFlow plus CheckLimits for a natural-gas orifice run: 3.068 in pipe,
// 1.534 in bore, 12 kPa on 3593.7 kPa at 295.15 K.
#include <benchmark/benchmark.h>

#include "meters/dpflow.hpp"

namespace {

using namespace qmx::DP0;

void RunCase(benchmark::State& state, MeterType type) {
  DPMeter meter;
  meter.type = type;
  meter.D = 3.068 * 0.0254;
  meter.d = 1.534 * 0.0254;
  meter.element.tap = 1;  // flange taps
  const DPFluid fluid{12e3, 295.15, 3593.7e3, 1.1e-5, 1.3, 27.0, 0.75, 0.0, true};
  DPFlags flags = 0;
  DPResult result;
  for (auto _ : state) {
    MassFlow(flags, result, fluid, meter);
    CheckLimits(flags, result, fluid, meter);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(flags);
  }
  state.counters["qm"] = result.qm;
}

void BM_MassFlow_Orf_ISO(benchmark::State& state) { RunCase(state, MeterType::Orf_ISO); }
void BM_MassFlow_Orf_AGA(benchmark::State& state) { RunCase(state, MeterType::Orf_AGA); }

BENCHMARK(BM_MassFlow_Orf_ISO);
BENCHMARK(BM_MassFlow_Orf_AGA);

}  // namespace
