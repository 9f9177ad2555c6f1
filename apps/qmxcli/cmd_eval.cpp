// qmxcli eval EXPR: the calculator's arithmetic expression evaluator. An assignment "A=..."
// is accepted and gives its value, but nothing persists between runs, so reading a variable
// is an unknown name. Prints {"value": v}; an expression error prints {"error": code,
// "message": text} and exits with status 1.
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "command.hpp"
#include "expr_value.hpp"
#include "json_out.hpp"
#include "numerics/expr.hpp"

namespace {

// No variable has a value in a fresh run: reading one is an error rather than a silent 0.
bool FindNothing(std::string_view, double&) { return false; }

void Run(std::string text) {
  using namespace qmx;
  Expr::SetVariableHooks(&Expr::DefaultSetVariable, &FindNothing);
  const double value = cli::EvaluateArgument(std::move(text));
  cli::PrintJson({{"value", value}});
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("eval", "Evaluate an arithmetic expression, e.g. \"(4/3)*PI*(12/2)^3\"");
  auto text = std::make_shared<std::string>();
  sub->add_option("EXPR", *text, "Expression (put -- before one that starts with \"-\")")->required();
  sub->callback([text] { Run(*text); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
