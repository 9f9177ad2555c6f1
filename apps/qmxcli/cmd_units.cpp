// qmxcli units [--dimension NAME]: the unit catalogue grouped by dimension, each group with its
// formulaic unit first and then the catalogue units by ascending factor (equal factors in record
// order), followed by the operators of the expression calculator.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "command.hpp"
#include "json_out.hpp"
#include "numerics/expr_operators.hpp"
#include "units/fum.hpp"
#include "units/unit_groups.hpp"

namespace {

using qmx::Expr::kOperatorRows;
using qmx::FUM::kUnitGroups;
using qmx::FUM::UnitGroup;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

nlohmann::json GroupJson(const UnitGroup& g) {
  using namespace qmx::FUM;
  nlohmann::json units = nlohmann::json::array();
  if (!g.formulaic.symbol.empty()) {
    units.push_back({{"symbol", g.formulaic.symbol},
                     {"label", g.formulaic.label},
                     {"name", g.formulaic.name},
                     {"formulaic", true}});
  }
  for (const int r : GroupRecords(g)) {
    std::string name;
    uUnitName(r, name);
    units.push_back({{"symbol", uUnitSymbol(r)},
                     {"name", name},
                     {"factor", uUnitFactor(r)},
                     {"record", r},
                     {"formulaic", false}});
  }
  return {{"dimension", g.name},
          {"heading", g.heading},
          {"exponents", g.dims},
          {"units", units}};
}

void Run(const std::string& dimension) {
  nlohmann::json groups = nlohmann::json::array();
  const std::string wanted = Lower(dimension);
  for (const auto& g : kUnitGroups) {
    if (wanted.empty() || wanted == g.name) groups.push_back(GroupJson(g));
  }
  if (groups.empty()) {
    std::string names;
    for (const auto& g : kUnitGroups) names += (names.empty() ? "" : ", ") + std::string(g.name);
    throw qmx::cli::UsageError("--dimension: unknown dimension \"" + dimension + "\" (one of " + names + ")");
  }
  nlohmann::json out = {{"groups", groups}};
  if (wanted.empty()) {
    nlohmann::json ops = nlohmann::json::array();
    for (const auto& op : kOperatorRows) ops.push_back({{"symbol", op.symbol}, {"name", op.name}});
    out["expressions"] = {{"heading", qmx::Expr::kOperatorsHeading}, {"operators", ops}};
  }
  qmx::cli::PrintJson(out);
}

void Setup(CLI::App& app) {
  auto dimension = std::make_shared<std::string>();
  auto* sub = app.add_subcommand("units", "The unit catalogue grouped by dimension");
  sub->add_option("--dimension", *dimension, "only this dimension, e.g. \"pressure\" or \"fuel economy\"");
  sub->callback([dimension] { Run(*dimension); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
