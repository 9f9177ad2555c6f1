// uConvert of a compound unit string, the "ssu" root search, and a DVal entry from a page's text.
#include <benchmark/benchmark.h>

#include <memory>

#include "units/dval.hpp"
#include "units/fum.hpp"

namespace {

using namespace qmx::FUM;

void BM_ConvertCompound(benchmark::State& state) {
  double value = 2.5;
  for (auto _ : state) {
    UnitErrors errors = 0;
    bool formulaic = false;
    Dims dims{};
    double result = 0.0;
    benchmark::DoNotOptimize(value);
    uConvert(errors, formulaic, dims, "lbm/ft*sec", result, true, value);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(errors);
  }
}
BENCHMARK(BM_ConvertCompound);

void BM_ConvertSsuToSI(benchmark::State& state) {
  double value = 100.0;
  for (auto _ : state) {
    UnitErrors errors = 0;
    bool formulaic = false;
    Dims dims{};
    double result = 0.0;
    benchmark::DoNotOptimize(value);
    uConvert(errors, formulaic, dims, "ssu", result, true, value);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ConvertSsuToSI);

// Alternating texts so that every entry is a real change.
void BM_DValSetValStrDelta(benchmark::State& state) {
  std::unique_ptr<DVal> dv;
  uDVinit("psi", 14.7, fINOUT, dv);
  uDVsetMinLimit("pa", 0.0, *dv);
  const char* texts[2] = {"12.5", "101.325"};
  int i = 0;
  for (auto _ : state) {
    bool changed = false;
    const bool ok = uDVsetValStrDelta(changed, texts[i], *dv);
    i ^= 1;
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(changed);
  }
  uDVkill(dv);
}
BENCHMARK(BM_DValSetValStrDelta);

}  // namespace
