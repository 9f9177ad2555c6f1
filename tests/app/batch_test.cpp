// Batch contexts against the calculation state: the same records entered into the process
// state as page entries must give the same numbers to the last bit, computed on several
// threads, in another order.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/batch.hpp"
#include "app/qmxcalc.hpp"
#include "gas/gas1.hpp"
#include "numerics/error.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"
#include "units/fi.hpp"

namespace {

using namespace qmx;
using QMXcalc::State;

struct Case {
  const char* name;
  BATCH::Configure configure;
  bool upstream;
  bool composition;
  double dpLow, dpHigh, pLow, pHigh, tLow, tHigh;
};

std::vector<Case> Cases() {
  return {
      {"AGA-3 orifice, gas preset 3",
       [] {
         bool changed = false;
         QMXcalc::SetStdGasComp(changed, 3);
       },
       false, false, 500.0, 60000.0, 2e5, 8e6, 265.0, 330.0},
      {"ISO orifice D and D/2 taps, composition per record",
       [] {
         bool changed = false;
         QMXcalc::SetMeter(changed, 0, 12);
         QMXcalc::SetTaps(changed, 2);
         QMXcalc::UpdateBore();
       },
       true, true, 1000.0, 40000.0, 1e6, 6e6, 270.0, 320.0},
      {"generic liquid, venturi",
       [] {
         bool changed = false;
         QMXcalc::SetFluid(changed, QMXcalc::kGenericLiquid);
         QMXcalc::SetMeter(changed, 0, 0);
         QMXcalc::UpdateBore();
       },
       true, false, 100.0, 90000.0, 2e5, 3e6, 280.0, 350.0},
  };
}

std::vector<BATCH::Record> RandomRecords(const Case& c, int n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::vector<BATCH::Record> records(static_cast<std::size_t>(n));
  for (BATCH::Record& r : records) {
    r.dp = c.dpLow + (c.dpHigh - c.dpLow) * u(rng);
    r.pressure = c.pLow + (c.pHigh - c.pLow) * u(rng);
    r.upstream = c.upstream;
    r.temperature = c.tLow + (c.tHigh - c.tLow) * u(rng);
    r.x.fill(BATCH::kAbsent);
    if (c.composition) {
      r.hasComposition = true;
      r.x[0] = 80.0 + 12.0 * u(rng);  // methane
      r.x[1] = 5.0 * u(rng);          // nitrogen
      r.x[2] = 3.0 * u(rng);          // carbon dioxide
      r.x[3] = 100.0 - r.x[0] - r.x[1] - r.x[2];  // ethane makes up the rest
      for (std::size_t i = 4; i < 21; ++i) r.x[i] = 0.0;
    }
  }
  return records;
}

// The record entered into the process state as page entries in SI units (limits checked, the
// display value derived), with the page's dependent updates, and calculated.
BATCH::Results Reference(const Case& c, const BATCH::Record& r) {
  QMXcalc::Reset();
  c.configure();
  State& s = QMXcalc::Calc();
  EXPECT_TRUE(FUM::uDVsetValTempUnits("pa", r.dp, *s.dp));
  QMXcalc::UpdateAbsolutePressure();
  if (r.upstream) {
    EXPECT_TRUE(FUM::uDVsetValTempUnits("pa", r.pressure, *s.upstreamPressure));
    QMXcalc::UpdateGaugePressure();
  } else {
    EXPECT_TRUE(FUM::uDVsetValTempUnits("pa", r.pressure, *s.staticPressure));
    QMXcalc::UpdateAbsolutePressure();
  }
  EXPECT_TRUE(FUM::uDVsetValTempUnits("K", r.temperature, *s.flowingTemperature));
  if (r.hasComposition) {
    for (int i = 0; i < 21; ++i) GAS1::MixSetX(s.detailMix, r.x[static_cast<std::size_t>(i)] / 100.0, i);
  }
  bool changed = true;
  QMXcalc::Calculate(changed);
  BATCH::Results out;
  auto dv = [](const QMXcalc::DV& f) { return QMXcalc::ResultValid(*f) ? FUM::uDVgetMKS(*f) : BATCH::kAbsent; };
  auto rv = [](const QMXcalc::RV& f) { return QMXcalc::ResultValid(*f) ? FI::RVgetLReal(*f) : BATCH::kAbsent; };
  out.massFlow = dv(s.massFlow);
  out.stdVolumeFlow = dv(s.stdVolumeFlow);
  out.actualVolumeFlow = dv(s.actualVolumeFlow);
  out.energyFlow = dv(s.energyFlow);
  out.cd = rv(s.cd);
  out.expansionFactor = rv(s.expansionFactor);
  out.reynolds = rv(s.reynolds);
  out.zFlowing = rv(s.zFlowing);
  out.zBase = rv(s.zBase);
  out.densityFlowing = dv(s.densityFlowing);
  out.densityBase = dv(s.densityBase);
  out.upstreamPressure = FUM::uDVgetMKS(*s.upstreamPressure);
  out.staticPressure = FUM::uDVgetMKS(*s.staticPressure);
  out.meterFlags = s.meterFlags;
  out.warning = s.meterWarning;
  return out;
}

std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }

class BatchVsState : public ::testing::TestWithParam<int> {};

TEST_P(BatchVsState, ThousandRandomRecordsAgreeToTheLastBit) {
  const Case c = Cases()[static_cast<std::size_t>(GetParam())];
  SCOPED_TRACE(c.name);
  constexpr int kRecords = 1000;
  constexpr int kThreads = 3;
  const std::vector<BATCH::Record> records = RandomRecords(c, kRecords, 20261207u + static_cast<std::uint32_t>(GetParam()));

  // Threads take interleaved records, each in its own context.
  std::vector<BATCH::Results> batch(records.size());
  std::vector<std::string> errors(records.size());
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      BATCH::Context context(c.configure);
      for (std::size_t i = static_cast<std::size_t>(t); i < records.size(); i += kThreads) {
        try {
          context.Compute(records[i], batch[i]);
        } catch (const Error& e) {
          errors[i] = e.message();
        }
      }
    });
  }
  for (std::thread& t : threads) t.join();

  // The process state, in reverse order, from Reset for every record.
  QMXcalc::Initialize();
  int computed = 0;
  for (std::size_t k = records.size(); k-- > 0;) {
    BATCH::Results ref;
    std::string refError;
    try {
      ref = Reference(c, records[k]);
    } catch (const Error& e) {
      refError = e.message();
    }
    // A record the meter step refuses (its flags say the flow is no result) is an error of the
    // batch, which the state shows as a zero flow with its warning.
    constexpr std::uint16_t kRefused = (1u << 0) | (1u << 2) | (1u << 3) | (1u << 4);
    if (refError.empty() && (ref.meterFlags & kRefused) != 0) {
      EXPECT_EQ(errors[k], "not computed: " + ref.warning.substr(0, ref.warning.find_last_not_of(", ") + 1))
          << "record " << k;
      continue;
    }
    ASSERT_EQ(errors[k], refError) << "record " << k;
    if (!refError.empty()) continue;
    ++computed;
    const BATCH::Results& b = batch[k];
    const std::pair<double, double> pairs[] = {
        {b.massFlow, ref.massFlow},           {b.stdVolumeFlow, ref.stdVolumeFlow},
        {b.actualVolumeFlow, ref.actualVolumeFlow}, {b.energyFlow, ref.energyFlow},
        {b.cd, ref.cd},                       {b.expansionFactor, ref.expansionFactor},
        {b.reynolds, ref.reynolds},           {b.zFlowing, ref.zFlowing},
        {b.zBase, ref.zBase},                 {b.densityFlowing, ref.densityFlowing},
        {b.densityBase, ref.densityBase},     {b.upstreamPressure, ref.upstreamPressure},
        {b.staticPressure, ref.staticPressure}};
    for (std::size_t j = 0; j < std::size(pairs); ++j) {
      ASSERT_EQ(Bits(pairs[j].first), Bits(pairs[j].second))
          << "record " << k << " value " << j << ": " << pairs[j].first << " vs " << pairs[j].second;
    }
    ASSERT_EQ(b.meterFlags, ref.meterFlags) << "record " << k;
    ASSERT_EQ(b.warning, ref.warning) << "record " << k;
  }
  // Nearly every record is inside the engines' range; the comparison is not vacuous.
  EXPECT_GT(computed, kRecords * 9 / 10);
  EXPECT_GT(batch[0].massFlow, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Configurations, BatchVsState, ::testing::Values(0, 1, 2));

// A refused value raises with the column named and leaves the context usable.
TEST(BatchContext, RefusedValueRaisesAndTheNextRecordIsComputed) {
  BATCH::Context context(nullptr);
  BATCH::Record r;
  r.dp = -5.0;  // below the field's lower limit of 0
  r.pressure = 3.5e6;
  r.temperature = 295.0;
  BATCH::Results out;
  try {
    context.Compute(r, out);
    FAIL() << "a negative dp was accepted";
  } catch (const Error& e) {
    EXPECT_NE(e.message().find("dp: value refused"), std::string::npos) << e.message();
  }
  r.dp = 12000.0;
  ASSERT_NO_THROW(context.Compute(r, out));
  EXPECT_GT(out.massFlow, 0.0);
  r.temperature = BATCH::kAbsent;
  EXPECT_THROW(context.Compute(r, out), Error);
  // A differential above the upstream pressure: the meter step flags its inputs and gives no
  // flow, which is an error of the record, not a zero to total.
  r.temperature = 295.0;
  r.dp = 5e6;
  try {
    context.Compute(r, out);
    FAIL() << "a dp above the upstream pressure gave a result";
  } catch (const Error& e) {
    EXPECT_EQ(e.message().rfind("not computed: Error in input data,", 0), 0u) << e.message();
  }
  r.dp = 12000.0;
  ASSERT_NO_THROW(context.Compute(r, out));
  EXPECT_GT(out.massFlow, 0.0);
}

// A context binds its own state: the process state is untouched by a batch on the same thread.
TEST(BatchContext, ProcessStateIsRestoredAfterAContext) {
  QMXcalc::Initialize();
  QMXcalc::Reset();
  const double before = FUM::uDVgetMKS(*QMXcalc::Calc().massFlow);
  const State* process = &QMXcalc::Calc();
  {
    BATCH::Context context(nullptr);
    EXPECT_NE(&QMXcalc::Calc(), process);
    BATCH::Record r;
    r.dp = 30000.0;
    r.pressure = 2e6;
    r.temperature = 300.0;
    BATCH::Results out;
    context.Compute(r, out);
    EXPECT_NE(out.massFlow, before);
  }
  EXPECT_EQ(&QMXcalc::Calc(), process);
  EXPECT_EQ(FUM::uDVgetMKS(*QMXcalc::Calc().massFlow), before);
}

}  // namespace
