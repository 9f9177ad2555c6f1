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
#include "units/fum.hpp"

namespace {

using qmx::FUM::Dims;

struct Formulaic {
  std::string_view symbol, label, name;
};

struct Group {
  std::string_view name;  // what --dimension matches
  std::string_view heading;
  Dims dims;
  Formulaic formulaic;  // empty symbol: none
};

constexpr std::array<Group, 21> kGroups = {{
    {"mass", "------Mass -----------------", {0, 1, 0, 0, 0, 0, 0, 0}, {}},
    {"length", "------Length ---------------", {1, 0, 0, 0, 0, 0, 0, 0},
     {"awg", "awg   [formulaic: length]", "American Wire Gauge"}},
    {"time", "------Time -----------------", {0, 0, 1, 0, 0, 0, 0, 0}, {}},
    {"volume", "------Volume ---------------", {3, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"temperature", "------Temperature ----------", {0, 0, 0, 1, 0, 0, 0, 0}, {}},
    {"pressure", "------Pressure -------------", {-1, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"volume flowrate", "------Volume flowrate ------", {3, 0, -1, 0, 0, 0, 0, 0}, {}},
    {"quantity of matter", "------Quantity of matter ---", {0, 0, 0, 0, 1, 0, 0, 0}, {}},
    {"mass density", "------Mass density ---------", {-3, 1, 0, 0, 0, 0, 0, 0},
     {"api", "api   [formulaic: mass / volume]", "API gravity"}},
    {"angle", "------Angle ----------------", {0, 0, 0, 0, 0, 1, 0, 0}, {}},
    {"force", "------Force ----------------", {1, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"energy", "------Energy ---------------", {2, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"power", "------Power ----------------", {2, 1, -3, 0, 0, 0, 0, 0}, {}},
    {"area", "------Area -----------------", {2, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"velocity", "------Velocity -------------", {1, 0, -1, 0, 0, 0, 0, 0}, {}},
    {"angular velocity", "------Angular velocity -----", {0, 0, -1, 0, 0, 1, 0, 0}, {}},
    {"acceleration", "------Acceleration ---------", {1, 0, -2, 0, 0, 0, 0, 0}, {}},
    {"absolute viscosity", "------Absolute viscosity ---", {-1, 1, -1, 0, 0, 0, 0, 0}, {}},
    {"kinematic viscosity", "------Kinematic viscosity --", {2, 0, -1, 0, 0, 0, 0, 0},
     {"ssu", "ssu   [formulaic: area / time]", "Seybolt Seconds Universal"}},
    {"fuel economy", "------ Fuel economy --------", {-2, 0, 0, 0, 0, 0, 0, 0},
     {"lphk", "lphk   [formulaic: volume / length]", "Liters per hundred kilometers"}},
    {"dimensionless", "------Dimensionless --------", {0, 0, 0, 0, 0, 0, 0, 0}, {}},
}};

struct Operator {
  std::string_view symbol, name;
};

constexpr std::array<Operator, 23> kOperators = {{
    {"+", "Addition"},
    {"-", "Subtraction, unary sign"},
    {"*", "Multiplication"},
    {"/", "Division"},
    {"^", "Raise to power"},
    {"()", "Parentheses"},
    {"ABS()", "Absolute value"},
    {"SQ()", "Square"},
    {"SQRT()", "Square root"},
    {"LOG()", "Base 10 logarithm"},
    {"LN()", "Natural logarithm"},
    {"EXP()", "e to power"},
    {"FACT()", "Factorial"},
    {"RAND()", "Random 0 < x < 1"},
    {"INT()", "Integer part"},
    {"FRAC()", "Fraction part"},
    {"SIN()", "Sine (radians)"},
    {"COS()", "Cosine (radians)"},
    {"TAN()", "Tangent (radians)"},
    {"ARCSIN()", "Arc sine (radians)"},
    {"ARCCOS()", "Arc cosine (radians)"},
    {"ARCTAN()", "Arc tangent (radians)"},
    {"PI()", ""},
}};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

nlohmann::json GroupJson(const Group& g) {
  using namespace qmx::FUM;
  nlohmann::json units = nlohmann::json::array();
  if (!g.formulaic.symbol.empty()) {
    units.push_back({{"symbol", g.formulaic.symbol},
                     {"label", g.formulaic.label},
                     {"name", g.formulaic.name},
                     {"formulaic", true}});
  }
  std::vector<int> records;
  int index = 0;
  while (uNextUnitSameDims(index, g.dims)) records.push_back(index);
  std::stable_sort(records.begin(), records.end(),
                   [](int a, int b) { return uUnitFactor(a) < uUnitFactor(b); });
  for (const int r : records) {
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
  for (const auto& g : kGroups) {
    if (wanted.empty() || wanted == g.name) groups.push_back(GroupJson(g));
  }
  if (groups.empty()) {
    std::string names;
    for (const auto& g : kGroups) names += (names.empty() ? "" : ", ") + std::string(g.name);
    throw qmx::cli::UsageError("--dimension: unknown dimension \"" + dimension + "\" (one of " + names + ")");
  }
  nlohmann::json out = {{"groups", groups}};
  if (wanted.empty()) {
    nlohmann::json ops = nlohmann::json::array();
    for (const auto& op : kOperators) ops.push_back({{"symbol", op.symbol}, {"name", op.name}});
    out["expressions"] = {{"heading", "------ Expressions ---------"}, {"operators", ops}};
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
