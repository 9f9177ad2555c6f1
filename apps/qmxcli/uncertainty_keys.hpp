#pragma once
// The u.KEY=VALUE input uncertainties of calc --uncertainty and report --uncertainty, and the
// JSON of an uncertainty budget.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/uncertainty.hpp"

namespace qmx::cli {

// Takes every "u.KEY=VALUE" pair out of `pairs` into `inputs` (standard uncertainties: a
// percentage as "0.1%" or "0.1 %", the flowing temperature also in "K", "C", "F" or "R"
// differences). Returns whether there was one; a bad key or value throws UsageError.
// `temperaturePct` is set when the temperature was given in percent (of the absolute
// temperature, applied by ResolveTemperature after the calculation).
bool TakeUncertaintyKeys(std::vector<std::string>& pairs, Uncertainty::Inputs& inputs, double& temperaturePct);
// Converts a temperature uncertainty given in percent into kelvin at the calculated temperature.
void ResolveTemperature(Uncertainty::Inputs& inputs, double temperaturePct);

nlohmann::json UncertaintyJson(const Uncertainty::Result& result);
// The help lines of the u.* keys and their defaults.
std::string UncertaintyHelp();

}  // namespace qmx::cli
