// u.KEY=VALUE input uncertainties and the JSON of the uncertainty budget.
#include "uncertainty_keys.hpp"

#include <cmath>
#include <string>
#include <string_view>

#include "app/qmxcalc.hpp"
#include "command.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"

namespace qmx::cli {
namespace {

struct UKey {
  std::string_view key;
  double Uncertainty::Inputs::*field;
};

constexpr UKey kKeys[] = {
    {"dp", &Uncertainty::Inputs::dp},
    {"static_pressure", &Uncertainty::Inputs::staticPressure},
    {"flowing_temperature", &Uncertainty::Inputs::flowingTemperature},
    {"d", &Uncertainty::Inputs::d},
    {"D", &Uncertainty::Inputs::D},
    {"density", &Uncertainty::Inputs::density},
    {"base_density", &Uncertainty::Inputs::baseDensity},
    {"heating_value", &Uncertainty::Inputs::heatingValue},
    {"C", &Uncertainty::Inputs::C},
    {"epsilon", &Uncertainty::Inputs::epsilon},
};

// "number", "number%" or "number unit"; the unit is returned without blanks.
double ParseValue(const std::string& key, const std::string& value, std::string& unit) {
  std::string number = value;
  unit.clear();
  const auto cut = value.find_first_of(" %KCFR");
  if (cut != std::string::npos) {
    number = value.substr(0, cut);
    unit = value.substr(cut);
    FE::RemoveChars(" ", unit);
  }
  double x = 0.0;
  if (!FE::HasDigit(number) || !FE::StrToReal(number, x) || !std::isfinite(x) || x < 0.0) {
    throw UsageError(key + ": not a finite number of at least 0: \"" + value + "\"");
  }
  return x;
}

nlohmann::json BudgetJson(const Uncertainty::Budget& b) {
  nlohmann::json list = nlohmann::json::array();
  for (std::size_t i = 0; i < b.count; ++i) {
    const Uncertainty::Contribution& c = b.contributions[i];
    list.push_back({{"name", std::string(c.name)},
                    {"u_pct", c.uPct},
                    {"sensitivity", c.sensitivity},
                    {"contribution_pct", c.contributionPct},
                    {"share", c.share}});
  }
  return {{"contributions", list}, {"combined_pct", b.combinedPct}, {"expanded_pct", b.expandedPct}};
}

}  // namespace

bool TakeUncertaintyKeys(std::vector<std::string>& pairs, Uncertainty::Inputs& inputs, double& temperaturePct) {
  bool any = false;
  temperaturePct = -1.0;
  std::vector<std::string> rest;
  for (const std::string& p : pairs) {
    if (p.rfind("u.", 0) != 0) {
      rest.push_back(p);
      continue;
    }
    any = true;
    const auto eq = p.find('=');
    if (eq == std::string::npos) throw UsageError("not KEY=VALUE: \"" + p + "\"");
    const std::string key = p.substr(0, eq);
    const std::string name = key.substr(2);
    const UKey* found = nullptr;
    for (const UKey& k : kKeys) {
      if (name == k.key) found = &k;
    }
    if (found == nullptr) throw UsageError("unknown key: \"" + key + "\"");
    std::string unit;
    const double x = ParseValue(key, p.substr(eq + 1), unit);
    if (found->field == &Uncertainty::Inputs::flowingTemperature) {
      if (unit == "%") {
        temperaturePct = x;
      } else if (unit.empty() || unit == "K" || unit == "C") {
        inputs.flowingTemperature = x;
        temperaturePct = -1.0;
      } else if (unit == "F" || unit == "R") {
        inputs.flowingTemperature = x / 1.8;
        temperaturePct = -1.0;
      } else {
        throw UsageError(key + ": unit \"" + unit + "\" does not fit (%, K, C, F or R)");
      }
    } else {
      if (!unit.empty() && unit != "%") throw UsageError(key + ": a percentage is expected, not \"" + unit + "\"");
      inputs.*(found->field) = x;
    }
  }
  pairs = std::move(rest);
  return any;
}

void ResolveTemperature(Uncertainty::Inputs& inputs, double temperaturePct) {
  if (temperaturePct < 0.0) return;
  inputs.flowingTemperature = temperaturePct / 100.0 * FUM::uDVgetMKS(*QMXcalc::Calc().flowingTemperature);
}

nlohmann::json UncertaintyJson(const Uncertainty::Result& r) {
  nlohmann::json out = {{"coverage_factor", r.coverageFactor},
                        {"standard_figures", {{"C_pct", r.figures.C}, {"epsilon_pct", r.figures.epsilon}}}};
  if (r.massFlow.valid) {
    const nlohmann::json mass = BudgetJson(r.massFlow);
    for (const auto& [k, v] : mass.items()) out[k] = v;
  } else {
    out["contributions"] = nlohmann::json::array();
    out["combined_pct"] = nullptr;
    out["expanded_pct"] = nullptr;
  }
  if (r.stdVolumeFlow.valid) out["std_volume_flow"] = BudgetJson(r.stdVolumeFlow);
  if (r.energyFlow.valid) out["energy_flow"] = BudgetJson(r.energyFlow);
  return out;
}

std::string UncertaintyHelp() {
  const Uncertainty::Inputs d;
  auto n = [](double x) {
    std::string t;
    FE::LONGREALtoStr(t, 6, x);
    FE::RemoveChars(" ", t);
    return t;
  };
  return "--uncertainty adds the mass-flow uncertainty budget (and standard volume and energy flow budgets)."
         "\nInput standard uncertainties (k = 1), as u.KEY=VALUE with VALUE in percent (\"0.1%\"):"
         "\n  u.dp (" + n(d.dp) + "%), u.static_pressure (of the absolute pressure, " + n(d.staticPressure) +
         "%), u.flowing_temperature (K, C, F, R or %; " + n(d.flowingTemperature) + " K),"
         "\n  u.d (" + n(d.d) + "%), u.D (" + n(d.D) + "%), u.density (" + n(d.density) + "%), u.base_density (" +
         n(d.baseDensity) + "%), u.heating_value (" + n(d.heatingValue) + "%),"
         "\n  u.C and u.epsilon replace half the standard's stated figure."
         "\nThe combined standard uncertainty is expanded with k = 2.";
}

}  // namespace qmx::cli
