// Writing numbers at 17 significant digits: FormatG17 against std::to_chars (general, 17) on the
// magnitudes a batch row holds (flows, pressures, temperatures, densities, viscosities, ratios), on
// integers and on values spread over the whole double range.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

#include "numerics/format_g17.hpp"

namespace {

constexpr int kValues = 4096;

std::vector<double> BatchLike() {
  std::mt19937_64 random(15);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> v;
  v.reserve(kValues);
  while (v.size() < static_cast<std::size_t>(kValues)) {
    v.push_back(2.0e6 + 1.2e7 * unit(random));    // pressure, Pa
    v.push_back(250.0 + 100.0 * unit(random));    // temperature, K
    v.push_back(10.0 + 60000.0 * unit(random));   // differential pressure, Pa
    v.push_back(0.5 + 150.0 * unit(random));      // mass flow, kg/s; density, kg/m3
    v.push_back(1.0e-5 + 1.0e-5 * unit(random));  // viscosity, Pa s
    v.push_back(0.6 + 0.01 * unit(random));       // discharge coefficient
    v.push_back(1.0e5 + 1.0e7 * unit(random));    // Reynolds number
    v.push_back(0.99 + 0.01 * unit(random));      // expansibility
  }
  v.resize(static_cast<std::size_t>(kValues));
  return v;
}

std::vector<double> Integers() {
  std::vector<double> v;
  for (int i = 0; i < kValues; ++i) v.push_back(1000.0 * (i % 97) + i);
  return v;
}

std::vector<double> Wide() {
  std::mt19937_64 random(308);
  std::uniform_real_distribution<double> exponent(-300.0, 300.0);
  std::vector<double> v;
  for (int i = 0; i < kValues; ++i) v.push_back(std::pow(10.0, exponent(random)));
  return v;
}

template <std::vector<double> (*Values)()>
void BM_FormatG17(benchmark::State& state) {
  const std::vector<double> values = Values();
  char buffer[qmx::Numerics::kFormatG17Max];
  std::size_t i = 0;
  for (auto _ : state) {
    char* end = qmx::Numerics::FormatG17(values[i], buffer);
    benchmark::DoNotOptimize(end);
    benchmark::ClobberMemory();
    i = (i + 1) % values.size();
  }
  state.SetItemsProcessed(state.iterations());
}

template <std::vector<double> (*Values)()>
void BM_ToCharsG17(benchmark::State& state) {
  const std::vector<double> values = Values();
  char buffer[qmx::Numerics::kFormatG17Max];
  std::size_t i = 0;
  for (auto _ : state) {
    char* end = std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::general, 17).ptr;
    benchmark::DoNotOptimize(end);
    benchmark::ClobberMemory();
    i = (i + 1) % values.size();
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FormatG17<BatchLike>)->Name("BM_FormatG17/batch");
BENCHMARK(BM_ToCharsG17<BatchLike>)->Name("BM_ToCharsG17/batch");
BENCHMARK(BM_FormatG17<Integers>)->Name("BM_FormatG17/integers");
BENCHMARK(BM_ToCharsG17<Integers>)->Name("BM_ToCharsG17/integers");
BENCHMARK(BM_FormatG17<Wide>)->Name("BM_FormatG17/wide");
BENCHMARK(BM_ToCharsG17<Wide>)->Name("BM_ToCharsG17/wide");

}  // namespace
