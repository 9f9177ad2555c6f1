// Heap allocations on the hot paths: a recalculation after an edit, the flow solution, the
// equation-of-state property calls and the number writers. A counting global allocator counts
// every operator new.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <atomic>
#include <memory>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>
#include <random>
#include <string>

#include "app/qmxcalc.hpp"
#include "gas/aga8.hpp"
#include "meters/dpflow.hpp"
#include "steam/if97.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"
#include "units/fi.hpp"

namespace {

std::atomic<long> g_allocations{0};

void* Allocate(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace qmx;

// Allocations made while f runs.
template <class F>
long CountAllocations(F&& f) {
  const long before = g_allocations.load();
  f();
  return g_allocations.load() - before;
}

class HotPathAllocations : public ::testing::Test {
 protected:
  void SetUp() override {
    QMXcalc::Initialize();
    QMXcalc::Reset();
    bool changed = true;
    ASSERT_TRUE(QMXcalc::Calculate(changed));
  }
  static void TearDownTestSuite() { QMXcalc::Finalize(); }

  // Allocations of the calculation that follows each of a few edits of one field.
  static long AfterEdits(FUM::DVal& field, const char* unit, double a, double b) {
    long total = 0;
    for (double v : {a, b, a, b}) {
      EXPECT_TRUE(FUM::uDVsetValTempUnits(unit, v, field));
      bool changed = true;
      total += CountAllocations([&] { EXPECT_TRUE(QMXcalc::Calculate(changed)); });
    }
    return total;
  }
};

// The counter sees allocations: a buffer kept beyond the call is one, its release is none.
TEST(HotPathAllocationsEngines, CounterSeesAllocations) {
  static std::unique_ptr<int[]> kept;
  EXPECT_EQ(CountAllocations([] { kept.reset(new int[64]); }), 1);
  EXPECT_EQ(CountAllocations([] { kept.reset(); }), 0);
}

TEST_F(HotPathAllocations, CalculateAfterADifferentialPressureEdit) {
  EXPECT_EQ(AfterEdits(*QMXcalc::Calc().dp, "kpa", 12.5, 12.0), 0);
}

TEST_F(HotPathAllocations, CalculateAfterATemperatureEdit) {
  EXPECT_EQ(AfterEdits(*QMXcalc::Calc().flowingTemperature, "C", 22.5, 22.0), 0);
}

TEST(HotPathAllocationsEngines, MassFlowAndLimits) {
  using namespace qmx::DP0;
  for (MeterType type : {MeterType::Orf_ISO, MeterType::Orf_AGA}) {
    DPMeter meter;
    meter.type = type;
    meter.D = 3.068 * 0.0254;
    meter.d = 1.534 * 0.0254;
    meter.element.tap = 1;
    const DPFluid fluid{12e3, 295.15, 3593.7e3, 1.1e-5, 1.3, 27.0, 0.75, 0.0, true};
    DPFlags flags = 0;
    DPResult result;
    MassFlow(flags, result, fluid, meter);
    const long n = CountAllocations([&] {
      MassFlow(flags, result, fluid, meter);
      CheckLimits(flags, result, fluid, meter);
    });
    EXPECT_EQ(n, 0) << static_cast<int>(type);
    EXPECT_GT(result.qm, 0.0);
  }
}

TEST(HotPathAllocationsEngines, Aga8PropertyCalls) {
  using namespace qmx::AGA892;
  const std::array<double, 21> gulfCoast = {0.965222, 0.002595, 0.005956, 0.018186, 0.004596, 0, 0, 0, 0,
                                            0, 0.000977, 0.001007, 0.000473, 0.000324, 0.000664, 0, 0,
                                            0, 0, 0, 0};
  Cache c;
  Solution base, cached, fresh;
  const long n = CountAllocations([&] {
    base = Base(c, gulfCoast, 101325.0, 288.15);
    cached = Flowing(c, 3593.7e3, 295.15);
    cached = Flowing(c, 3600e3, 295.15);
    fresh = Flowing(c, 3593.7e3, 300.0);
  });
  EXPECT_EQ(n, 0);
  EXPECT_GT(base.D, 0.0);
  EXPECT_GT(fresh.D, 0.0);
}

TEST(HotPathAllocationsEngines, If97PropertyCalls) {
  const long n = CountAllocations([] {
    IF97::SatState s;
    (void)IF97::SatByP(1e6, s);
    for (auto [P, T] : {std::array{1e6, 300.0}, std::array{1e6, 500.0}, std::array{25e6, 650.0}})
      (void)IF97::S1phase_TP(0, P, T);
  });
  EXPECT_EQ(n, 0);
}

// Values for the number writers: ties, range ends, subnormals and random doubles of every exponent.
std::vector<double> WriterValues() {
  std::vector<double> v = {0.0, -0.0, 2.5, 0.125, 1e22, 1e-14, 101352.93, -2.5e-7, 5e-324,
                           std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                           std::nan("")};
  std::mt19937_64 rng(21);
  for (int i = 0; i < 200; ++i) {
    const double x = std::bit_cast<double>(rng());
    if (std::isfinite(x)) v.push_back(x);
  }
  return v;
}

// The number writers write into a destination that has room without allocating: the 31
// characters of a value text, or a reserved string for the longest forms.
TEST(HotPathAllocationsWriters, NumberTextsThatFitTheDestination) {
  const std::vector<double> values = WriterValues();
  std::string text;
  text.reserve(1024);
  FE::NumberBuffer buffer;
  std::size_t written = 0;
  const long n = CountAllocations([&] {
    for (const double x : values) {
      for (const int width : {0, 8, 12, 20, 40}) {
        FE::LRtoStr(text, 6, width, x, FUM::kDValTextLength);
        written += text.size();
        FE::LRtoStr(text, 21, width, x);
        written += text.size();
        written += FE::LRtoChars(buffer, 999, 999, x).size();
      }
      for (const int digits : {0, 1, 5, 15, 17, 25}) {
        FE::LONGREALtoStr(text, digits, x, FUM::kDValTextLength);
        written += text.size();
        FE::LONGREALtoStr(text, digits, x);
        written += text.size();
        written += FE::LONGREALtoChars(buffer, digits, x).size();
        FE::RealToFloat(text, digits, x);
        FE::RealToEng(text, digits, x);
        FE::RealToFixed(text, digits, x);
        written += text.size();
      }
      FE::RealToFixed(text, 400, x);  // the longest fixed form
      written += text.size();
      FE::TidyNumber(true, text);
    }
  });
  EXPECT_EQ(n, 0);
  EXPECT_GT(written, values.size() * 100);
}

// The formatter's real directive and a whole report line into a string that has room.
TEST(HotPathAllocationsWriters, FormatterIntoAStringWithRoom) {
  std::string line;
  line.reserve(FE::kFormatLimit + 1);
  const std::vector<double> values = WriterValues();
  std::size_t written = 0;
  const long n = CountAllocations([&] {
    for (const double x : values) {
      const FE::Arg args[] = {std::string_view("Differential pressure"), x, "Pa", std::int32_t{3}, true};
      FE::FormatText(args, "%-24s%12.6r %-6s%5i %b\\n", line);
      written += line.size();
      const FE::Arg wide[] = {x, x, x};
      FE::FormatText(wide, "%r %999.999r %-40.20r", line);
      written += line.size();
    }
  });
  EXPECT_EQ(n, 0);
  EXPECT_GT(written, 1000u);
}

// A value field's text, formatted when it is read, into a destination with room.
TEST(HotPathAllocationsWriters, ValueFieldTextRead) {
  std::unique_ptr<FI::RVal> rv;
  FI::RVinit(0, FI::fOUT, rv);
  FI::RVsetToPercent(*rv);
  std::string text;
  text.reserve(64);
  const long n = CountAllocations([&] {
    for (const double x : {0.0123, 0.5, 1e-9, 123456.789}) {
      FI::RVsetLReal(x, *rv);
      FI::RVgetValStr(text, *rv);
    }
  });
  EXPECT_EQ(n, 0);
  EXPECT_FALSE(text.empty());
}

// The counter sees a writer's allocation: a 21-character text into an empty string.
TEST(HotPathAllocationsWriters, CounterSeesAGrowingText) {
  std::string text;
  const long n = CountAllocations([&] { FE::LRtoStr(text, 6, 0, 0.1); });
  EXPECT_EQ(n, 1);
  EXPECT_EQ(text, "1.0000000000000001E-1");
}

}  // namespace
