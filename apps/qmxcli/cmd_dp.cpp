// qmxcli dp: one differential-pressure flow calculation (MassFlow, then
// CheckLimits) from the meter, pipe and fluid given on the command line.
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "command.hpp"
#include "json_out.hpp"
#include "meters/dp2.hpp"
#include "meters/dpflow.hpp"

namespace {

using qmx::cli::ParseNumber;
using qmx::cli::UsageError;
namespace DP0 = qmx::DP0;

struct DpArgs {
  std::string meter, pipeMaterial = "CbSteel", elementMaterial = "StSteel";
  std::map<std::string, std::string> numbers;  // option name -> text, parsed later
  bool incompressible = false;
};

// A small unsigned integer option within [0, max]; its text must be a whole number.
int ParseSmallInt(const std::string& text, const std::string& what, int max) {
  const double v = ParseNumber(text, what);
  if (!(v >= 0 && v <= max) || v != std::floor(v)) {
    throw UsageError(what + ": expected a whole number from 0 to " + std::to_string(max) + ", got \"" + text + "\"");
  }
  return static_cast<int>(v);
}

bool IsCode(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() <= 3;
}

DP0::MeterType MeterFrom(const std::string& text) {
  if (IsCode(text)) {
    const int code = std::stoi(text);
    if (code < 0 || code >= 40) throw UsageError("--meter: no meter type with code " + text);
    return static_cast<DP0::MeterType>(code);
  }
  DP0::MeterType type = DP0::MeterType::Mtr_Other;
  if (!DP0::DeviceFromKey(text, type)) throw UsageError("--meter: unknown meter key \"" + text + "\"");
  return type;
}

DP0::Material MaterialFrom(const std::string& text, const std::string& what) {
  if (IsCode(text)) {
    const int code = std::stoi(text);
    if (code < 0 || code >= 25) throw UsageError(what + ": no material with code " + text);
    return static_cast<DP0::Material>(code);
  }
  DP0::Material material = DP0::Material::Unobtainium;
  if (!DP0::MaterialFromName(text, false, material)) throw UsageError(what + ": unknown material key \"" + text + "\"");
  return material;
}

void Run(const DpArgs& a) {
  auto number = [&](const std::string& name) -> std::optional<double> {
    const auto it = a.numbers.find(name);
    if (it == a.numbers.end()) return std::nullopt;
    return ParseNumber(it->second, "--" + name);
  };
  auto required = [&](const std::string& name) {
    const auto v = number(name);
    if (!v) throw UsageError("--" + name + " is required");
    return *v;
  };

  DP0::DPMeter meter;
  DP0::DPFluid fluid;
  meter.type = MeterFrom(a.meter);
  meter.D = required("D");
  meter.d = required("d");
  fluid.dp = required("dp");
  fluid.Tf = required("T");
  fluid.P1 = required("P1");
  fluid.mu = required("mu");
  fluid.kappa = required("kappa");
  fluid.rho = required("rho");
  fluid.rho_b = number("rho-base").value_or(fluid.rho);
  fluid.Hm = number("hm").value_or(0.0);
  fluid.compressible = !a.incompressible;
  meter.Tref_D = number("tref-D").value_or(293.15);
  meter.Tref_d = number("tref-d").value_or(293.15);
  meter.pipeMaterial = MaterialFrom(a.pipeMaterial, "--pipe-material");
  meter.elementMaterial = MaterialFrom(a.elementMaterial, "--element-material");
  meter.element.c1 = number("c1").value_or(0.0);
  meter.element.c2 = number("c2").value_or(0.0);
  meter.element.ivcm = meter.element.c1;  // Vent_IVCM takes its fixed coefficient from --c1
  auto small = [&](const std::string& name, int max, int fallback) {
    const auto it = a.numbers.find(name);
    return it == a.numbers.end() ? fallback : ParseSmallInt(it->second, "--" + name, max);
  };
  meter.element.tap = static_cast<std::uint8_t>(small("taps", 2, 1));
  meter.element.convergent = static_cast<std::uint8_t>(small("convergent", 3, 0));
  meter.element.elbowSize = static_cast<std::uint8_t>(small("elbow-size", 6, 0));
  meter.element.elbowSchedule = static_cast<std::uint8_t>(small("schedule", 255, 0));
  if (a.numbers.count("annubar")) {
    qmx::DP2::SetAnnubarType(meter, static_cast<qmx::DP2::AnnubarType>(small("annubar", 255, 0)));
  }

  DP0::DPFlags flags = 0;
  DP0::DPResult r;
  DP0::MassFlow(flags, r, fluid, meter);
  DP0::CheckLimits(flags, r, fluid, meter);

  nlohmann::json result = nlohmann::json::object();
  for (const auto& [name, value] : DP0::ResultFields(r)) result[std::string(name)] = value;
  nlohmann::json out = nlohmann::json::object();
  out["result"] = result;
  out["flags"] = flags;
  out["flag_text"] = DP0::FlagText(flags);
  qmx::cli::PrintJson(out);
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("dp", "Differential-pressure flow: MassFlow and CheckLimits");
  auto args = std::make_shared<DpArgs>();
  sub->add_option("--meter", args->meter, "Meter type key (Orf_ISO) or code (12)")->required();
  const char* numeric[] = {"D",  "d",        "dp", "T",      "P1",     "mu",   "kappa",      "rho",
                           "rho-base", "hm", "taps", "tref-D", "tref-d", "c1", "c2", "convergent",
                           "annubar", "elbow-size", "schedule"};
  for (const char* name : numeric) {
    std::string key = name;
    sub->add_option_function<std::string>("--" + key, [args, key](const std::string& v) { args->numbers[key] = v; });
  }
  sub->add_option("--pipe-material", args->pipeMaterial, "Pipe material key or code (default CbSteel)");
  sub->add_option("--element-material", args->elementMaterial, "Element material key or code (default StSteel)");
  sub->add_flag("--incompressible", args->incompressible, "Liquid: no expansibility, no sonic check");
  sub->callback([args] { Run(*args); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
