// qmxcli size [KEY=VALUE ...] --solve bore|dp|flow --target QUANTITY=VALUE: meter sizing. The
// KEY=VALUE changes are those of calc; --solve bore finds the throat diameter, --solve dp the
// differential pressure that gives the target flow, --solve flow calculates as calc does.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/qmxcalc.hpp"
#include "app/sizing.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "json_out.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"

namespace {

using namespace qmx;

struct Options {
  std::string solve;
  std::string target;
  std::vector<std::string> pairs;
};

// "QUANTITY=VALUE" with VALUE in SI or as "number unit".
Sizing::SizingInput ParseTarget(const std::string& text, Sizing::Solve solve) {
  Sizing::SizingInput in;
  in.solve = solve;
  const auto eq = text.find('=');
  if (eq == std::string::npos) throw cli::UsageError("--target: not QUANTITY=VALUE: \"" + text + "\"");
  const std::string name = text.substr(0, eq);
  const std::string value = text.substr(eq + 1);
  std::string_view siUnit;
  if (name == "mass_flow") {
    in.quantity = Sizing::Quantity::MassFlow;
    siUnit = "kg/s";
  } else if (name == "std_volume_flow") {
    in.quantity = Sizing::Quantity::StdVolumeFlow;
    siUnit = "m3/s";
  } else if (name == "actual_volume_flow") {
    in.quantity = Sizing::Quantity::ActualVolumeFlow;
    siUnit = "m3/s";
  } else {
    throw cli::UsageError("--target: not mass_flow, std_volume_flow or actual_volume_flow: \"" + name + "\"");
  }
  std::string number = value, unit;
  if (const auto blank = value.find(' '); blank != std::string::npos) {
    number = value.substr(0, blank);
    const auto start = value.find_first_not_of(' ', blank);
    unit = start == std::string::npos ? "" : value.substr(start);
  }
  double x = 0.0;
  if (!FE::HasDigit(number) || !FE::StrToReal(number, x) || !std::isfinite(x) || !(x > 0.0)) {
    throw cli::UsageError("--target: not a positive finite number: \"" + value + "\"");
  }
  if (!unit.empty()) {
    FUM::Dims want{}, have{};
    FUM::uStrDims(want, siUnit);
    FUM::uStrDims(have, unit);
    FUM::UnitErrors errors = 0;
    bool formulaic = false;
    FUM::Dims dims{};
    double si = 0.0;
    FUM::uConvert(errors, formulaic, dims, unit, si, true, x);
    if (errors != 0 || formulaic || have != want) {
      throw cli::UsageError("--target: unit \"" + unit + "\" does not fit " + name);
    }
    x = si;
  }
  in.target = x;
  return in;
}

void Run(const Options& o) {
  Sizing::Solve solve = Sizing::Solve::Flow;
  if (o.solve == "bore") {
    solve = Sizing::Solve::Bore;
  } else if (o.solve == "dp") {
    solve = Sizing::Solve::Dp;
  } else if (o.solve != "flow") {
    throw cli::UsageError("--solve: not bore, dp or flow: \"" + o.solve + "\"");
  }
  Sizing::SizingInput in;
  if (solve == Sizing::Solve::Flow) {
    if (!o.target.empty()) throw cli::UsageError("--target: --solve flow calculates the flow and takes no target");
  } else {
    if (o.target.empty()) throw cli::UsageError("--target QUANTITY=VALUE is needed with --solve " + o.solve);
    in = ParseTarget(o.target, solve);
  }
  cli::CalculateWith(o.pairs);
  const Sizing::SizingResult r = Sizing::Size(in);
  cli::PrintJson({{"solve", std::string(Sizing::SolveName(r.solve))},
                  {"throat_diameter", {{"si", r.throatDiameter}}},
                  {"beta", r.beta},
                  {"dp", {{"si", r.dp}}},
                  {"mass_flow", {{"si", r.massFlow}}},
                  {"std_volume_flow", {{"si", r.stdVolumeFlow}}},
                  {"actual_volume_flow", {{"si", r.actualVolumeFlow}}},
                  {"pressure_loss", {{"si", r.pressureLoss}}},
                  {"flags", r.flags},
                  {"warning", r.warning}});
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("size", "Meter sizing: the bore or dp that gives a target flow");
  auto o = std::make_shared<Options>();
  sub->add_option("--solve", o->solve, "bore, dp or flow")->required();
  sub->add_option("--target", o->target,
                  "QUANTITY=VALUE: mass_flow, std_volume_flow or actual_volume_flow, SI or \"number unit\"");
  sub->add_option("PAIRS", o->pairs, "KEY=VALUE changes of calc, applied in order");
  sub->footer("--solve bore searches the throat diameter over the standard's beta range, --solve dp the\n"
              "differential pressure up to the standard's lowest pressure ratio (the upstream pressure for a\n"
              "liquid); a target out of that reach is an error naming the reachable range (exit 1).\n"
              "The throat diameter is given at its reference temperature, as calc takes it.\n" +
              cli::KeysHelp());
  sub->callback([o] { Run(*o); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
