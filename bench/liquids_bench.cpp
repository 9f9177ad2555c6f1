// ApiLiquidFactors for a crude oil at 30 C and 1 MPa gauge (base 15 C).
#include <benchmark/benchmark.h>

#include "liquids/mpms1.hpp"

namespace {

void BM_ApiLiquidFactorsCrude(benchmark::State& state) {
  using namespace qmx::MPMS1;
  double rhoBase = 870.0;
  for (auto _ : state) {
    ApiFlags flags = 0;
    double ctpl = 0, cpl = 0, ctl = 0, density = 0, alpha60 = 0;
    benchmark::DoNotOptimize(rhoBase);
    ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, 1.0e6, 303.15, 288.15, rhoBase,
                     ApiProduct::CrudeOil);
    benchmark::DoNotOptimize(density);
    benchmark::DoNotOptimize(flags);
  }
}
BENCHMARK(BM_ApiLiquidFactorsCrude);

}  // namespace
