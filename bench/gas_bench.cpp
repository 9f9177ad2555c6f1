#include <benchmark/benchmark.h>

#include "gas/components.hpp"
#include "gas/gas0.hpp"
#include "gas/gas1.hpp"

namespace {

using namespace qmx;

GAS0::GMix GulfCoast(int method) {
  GAS1::InstallStandardMethods();
  GAS0::GMix m = GAS1::NewMix(method, 0, "Gulf Coast");
  GAS1::Slate s{};
  for (std::size_t i = 0; i < 21; ++i) s[i] = GAS1::kPresets[0].x[i];
  GAS1::MixSetSlate(m, s);
  GAS1::MixUpdate(m);
  return m;
}

void BM_MixUpdateIdealGas(benchmark::State& state) {
  GAS0::GMix m = GulfCoast(GAS0::IdealGasLaw);
  for (auto _ : state) {
    GAS1::MixUpdate(m);
    benchmark::DoNotOptimize(m->base[GAS0::Z - GAS0::Tt]);
  }
}
BENCHMARK(BM_MixUpdateIdealGas);

void BM_MixUpdatePengRobinson(benchmark::State& state) {
  GAS0::GMix m = GulfCoast(GAS0::PengR);
  for (auto _ : state) {
    GAS1::MixUpdate(m);
    benchmark::DoNotOptimize(m->base[GAS0::Z - GAS0::Tt]);
  }
}
BENCHMARK(BM_MixUpdatePengRobinson);

// A flowing read at an unchanged state: served from the mix without recomputation.
void BM_MixGetFlowingCacheHit(benchmark::State& state) {
  GAS0::GMix m = GulfCoast(GAS0::AGA8detailed);
  (void)GAS1::MixGetFlowing(m, GAS0::Z, 5e6, 288.15);
  (void)GAS1::TakeFlowingUpdates();
  for (auto _ : state) benchmark::DoNotOptimize(GAS1::MixGetFlowing(m, GAS0::Z, 5e6, 288.15));
  if (GAS1::TakeFlowingUpdates() != 0) state.SkipWithError("flowing state recomputed");
}
BENCHMARK(BM_MixGetFlowingCacheHit);

}  // namespace
