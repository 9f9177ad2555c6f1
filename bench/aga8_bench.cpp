#include <benchmark/benchmark.h>

#include "gas/aga8.hpp"
#include "gas/sgerg.hpp"

namespace {

using namespace qmx::AGA892;

const std::array<double, 21> kGulfCoast = {0.965222, 0.002595, 0.005956, 0.018186, 0.004596, 0, 0, 0, 0,
                                           0, 0.000977, 0.001007, 0.000473, 0.000324, 0.000664, 0, 0,
                                           0, 0, 0, 0};

// Flowing call at an unchanged temperature: the density solution only.
void BM_FlowingCachedT(benchmark::State& state) {
  Cache c;
  Characterise(c, kGulfCoast);
  Flowing(c, 3593.7e3, 295.15);
  double P = 3593.7e3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Flowing(c, P, 295.15));
    P = P == 3593.7e3 ? 3600e3 : 3593.7e3;
  }
}
BENCHMARK(BM_FlowingCachedT);

// Flowing call at a new temperature: the temperature terms are rebuilt each time.
void BM_FlowingNewT(benchmark::State& state) {
  Cache c;
  Characterise(c, kGulfCoast);
  double T = 295.15;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Flowing(c, 3593.7e3, T));
    T = T == 295.15 ? 295.25 : 295.15;
  }
}
BENCHMARK(BM_FlowingNewT);

// Full base update: characterisation, terms and the density at base conditions.
void BM_BaseUpdate(benchmark::State& state) {
  Cache c;
  for (auto _ : state) benchmark::DoNotOptimize(Base(c, kGulfCoast, 101325.0, 288.15));
}
BENCHMARK(BM_BaseUpdate);

// SGERG-88 flowing call on a characterised gas at a new state each time.
void BM_SgergFlowing(benchmark::State& state) {
  using qmx::SGERG::Gross, qmx::SGERG::GHC, qmx::SGERG::Sref;
  Gross g;
  g.hs = 40.66e6, g.gr = 0.581, g.co2 = 0.006;
  qmx::SGERG::Cache cache;
  qmx::SGERG::Base(GHC, 101325.0, 288.15, Sref{}, g, cache);
  double T = 295.15;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qmx::SGERG::Flowing(3593.7e3, T, g, cache));
    T = T == 295.15 ? 295.25 : 295.15;
  }
}
BENCHMARK(BM_SgergFlowing);

}  // namespace
