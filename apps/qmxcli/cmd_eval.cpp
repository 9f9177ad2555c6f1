// qmxcli eval EXPR: the calculator's arithmetic expression evaluator with the default
// variables A..Z. Prints {"value": v}; an expression error prints {"error": code,
// "message": text} and exits with status 1.
#include <memory>
#include <string>
#include <utility>

#include "command.hpp"
#include "expr_value.hpp"
#include "json_out.hpp"

namespace {

void Run(std::string text) {
  using namespace qmx;
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
