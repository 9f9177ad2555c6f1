// IF97 property evaluation: a saturated state by pressure and single-phase states in
// regions 1, 2 and 3 (the last with its density search).
#include <benchmark/benchmark.h>

#include "steam/if97.hpp"

namespace {

void BM_SatByP_1MPa(benchmark::State& state) {
  qmx::IF97::SatState s;
  double P = 1e6;
  for (auto _ : state) {
    benchmark::DoNotOptimize(P);
    benchmark::DoNotOptimize(qmx::IF97::SatByP(P, s));
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_SatByP_1MPa);

void BM_S1phase(benchmark::State& state, double P, double T) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(P);
    benchmark::DoNotOptimize(T);
    benchmark::DoNotOptimize(qmx::IF97::S1phase_TP(0, P, T));
  }
}
BENCHMARK_CAPTURE(BM_S1phase, region1_1MPa_300K, 1e6, 300.0);
BENCHMARK_CAPTURE(BM_S1phase, region2_1MPa_500K, 1e6, 500.0);
BENCHMARK_CAPTURE(BM_S1phase, region3_25MPa_650K, 25e6, 650.0);
BENCHMARK_CAPTURE(BM_S1phase, region3_20MPa_640K_vapour, 20e6, 640.0);

}  // namespace
