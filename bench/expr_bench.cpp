// Expression evaluator and block reader throughput.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "numerics/expr.hpp"
#include "units/blocktext.hpp"

namespace {

void BM_EvaluateSample(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = "(4/3)*PI*(12/2)^3";
    int error = 0;
    double value = 0.0;
    qmx::Expr::Evaluate(error, value, true, text);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_EvaluateSample);

void BM_EvaluateFunctions(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = "SQRT(SIN(0.5)^2+COS(0.5)^2)*LOG(1000)+FACT(10)/EXP(2)";
    int error = 0;
    double value = 0.0;
    qmx::Expr::Evaluate(error, value, true, text);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_EvaluateFunctions);

void BM_BlockReaderFields(benchmark::State& state) {
  std::string file = "GMIX_START\n";
  for (int i = 0; i < 21; ++i) file += "C" + std::to_string(i) + ",0.0" + std::to_string(i) + ",x,12.5\n";
  file += "GMIX_END\n";
  for (auto _ : state) {
    std::istringstream in(file);
    auto reader = qmx::BR::BRcreate(',');
    qmx::BR::ScanForXblock("GMIX_START", *reader, in);
    double x = 0.0;
    while (!reader->endOfBlock) qmx::BR::ReadLRealField(x, 3, *reader, in);
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_BlockReaderFields);

}  // namespace
