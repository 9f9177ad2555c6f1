// The per-thread engine context of batch recalculation: a record's values are entered into the
// thread's own calculation state as the page entries would be (limits and dependent pressures
// included) and the state's Calculate pipeline runs on them.
#include "app/batch.hpp"

#include <cmath>
#include <string>

#include "gas/components.hpp"
#include "gas/gas1.hpp"
#include "meters/dpflow.hpp"
#include "numerics/error.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"
#include "units/fi.hpp"

namespace qmx::BATCH {
namespace {

using QMXcalc::State;

std::string Number(double x) {
  std::string text;
  FE::LONGREALtoStr(text, 17, x);
  FE::RemoveChars(" ", text);
  return text;
}

// An SI value entered into an input field under its limits.
void Enter(const char* column, const char* unit, double value, FUM::DVal& dv) {
  if (std::isnan(value)) Raise(kModule, std::string(column) + ": no value", 1);
  if (!FUM::uDVenterMKS(value, dv)) {
    std::string limits;
    if (dv.minSet) limits += " at least " + Number(dv.minimum);
    if (dv.minSet && dv.maxSet) limits += ",";
    if (dv.maxSet) limits += " at most " + Number(dv.maximum);
    Raise(kModule,
          std::string(column) + ": value refused: " + Number(value) + " " + unit +
              (limits.empty() ? std::string() : " (limits:" + limits + " " + unit + ")"),
          2);
  }
}

constexpr DP0::DPFlags kNotComputed = DP0::FlagBit(DP0::kFlagPipeSmall) | DP0::FlagBit(DP0::kFlagMethod) |
                                      DP0::FlagBit(DP0::kFlagCalc) | DP0::FlagBit(DP0::kFlagInput);

double Dv(const QMXcalc::DV& dv) {
  return QMXcalc::ResultValid(*dv) ? FUM::uDVgetMKS(*dv) : kAbsent;
}
double Rv(const QMXcalc::RV& rv) {
  return QMXcalc::ResultValid(*rv) ? FI::RVgetLReal(*rv) : kAbsent;
}

}  // namespace

Context::Context(const Configure& configure) {
  if (configure) configure();
  const State& s = state_.state();
  for (int i = 0; i < kComponents; ++i) configured_[static_cast<std::size_t>(i)] = GAS1::MixGetX(s.detailMix, i, 0);
  configuredFrequency_ = FI::RVgetLReal(*s.frequency);
}

void Context::Compute(const Record& record, Results& out) {
  State& s = state_.state();
  Enter("dp", "pa", record.dp, *s.dp);
  QMXcalc::UpdateAbsolutePressure();
  if (record.upstream) {
    Enter("upstream_pressure", "pa", record.pressure, *s.upstreamPressure);
    QMXcalc::UpdateGaugePressure();
  } else {
    Enter("static_pressure", "pa", record.pressure, *s.staticPressure);
    QMXcalc::UpdateAbsolutePressure();
  }
  Enter("flowing_temperature", "K", record.temperature, *s.flowingTemperature);
  if (!std::isnan(record.frequency)) {
    const FI::RVal& rv = *s.frequency;
    const double f = record.frequency;
    if (!std::isfinite(f) || (rv.minimumSet && f < rv.minimum) || (rv.maximumSet && f > rv.maximum)) {
      Raise(kModule, "frequency: value refused: " + Number(f) + " 1/s", 2);
    }
    FI::RVsetLReal(f, *s.frequency);
  } else {
    FI::RVsetLReal(configuredFrequency_, *s.frequency);
  }
  if (record.hasComposition) {
    for (int i = 0; i < kComponents; ++i) {
      const double pct = record.x[static_cast<std::size_t>(i)];
      double x = configured_[static_cast<std::size_t>(i)];
      if (!std::isnan(pct)) {
        if (!(pct >= 0.0 && pct <= 100.0)) {
          Raise(kModule, "x." + std::string(GAS1::kSymbols[static_cast<std::size_t>(i)]) +
                             ": not a percentage from 0 to 100: " + Number(pct), 3);
        }
        x = pct / 100.0;
      }
      // An unchanged fraction keeps the mixture's cached states.
      if (x != GAS1::MixGetX(s.detailMix, i, 0)) GAS1::MixSetX(s.detailMix, x, i);
    }
  }
  bool changed = true;
  QMXcalc::Calculate(changed);

  out.dp = FUM::uDVgetMKS(*s.dp);
  out.staticPressure = FUM::uDVgetMKS(*s.staticPressure);
  out.upstreamPressure = FUM::uDVgetMKS(*s.upstreamPressure);
  out.temperature = FUM::uDVgetMKS(*s.flowingTemperature);
  out.frequency = FI::RVgetLReal(*s.frequency);
  out.massFlow = Dv(s.massFlow);
  out.stdVolumeFlow = Dv(s.stdVolumeFlow);
  out.actualVolumeFlow = Dv(s.actualVolumeFlow);
  out.energyFlow = Dv(s.energyFlow);
  out.cd = Rv(s.cd);
  out.expansionFactor = Rv(s.expansionFactor);
  out.reynolds = Rv(s.reynolds);
  out.zFlowing = Rv(s.zFlowing);
  out.zBase = Rv(s.zBase);
  out.densityFlowing = Dv(s.densityFlowing);
  out.densityBase = Dv(s.densityBase);
  out.meterFlags = s.meterFlags;
  out.warning = s.meterWarning;
  // The meter step refused the record (inputs it cannot use, no equation, no solution): its zero
  // flow is no measurement and must not enter totals as one.
  if ((s.meterFlags & kNotComputed) != 0) {
    std::string why = s.meterWarning;
    while (!why.empty() && (why.back() == ',' || why.back() == ' ')) why.pop_back();
    Raise(kModule, "not computed: " + why, 4);
  }
}

}  // namespace qmx::BATCH
