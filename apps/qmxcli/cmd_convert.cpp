// qmxcli convert VALUE FROM TO: the units page's converter. VALUE may be an expression (the
// calculator's evaluator, no variables); prints {"value", "from", "to", "result"}. An expression
// error prints {"error", "message"}; a conversion error writes the unit flag texts on standard
// error. Both exit with status 1.
#include <memory>
#include <string>
#include <string_view>

#include "command.hpp"
#include "expr_value.hpp"
#include "json_out.hpp"
#include "numerics/expr.hpp"
#include "units/fum.hpp"

namespace {

struct ConvertArgs {
  std::string value;
  std::string from;
  std::string to;
};

// The calculator's hooks: no name is a variable.
bool AcceptNothing(std::string_view, double) { return false; }
bool FindNothing(std::string_view, double&) { return false; }

void Run(const ConvertArgs& a) {
  using namespace qmx;
  Expr::SetVariableHooks(&AcceptNothing, &FindNothing);
  const double value = cli::EvaluateArgument(a.value);
  FUM::UnitErrors errors = 0;
  double result = 0.0;
  FUM::uConvertBetween(errors, a.to, result, a.from, value);
  if (errors != 0) {
    std::string flags;
    FUM::uErrorText(errors, flags);
    std::string message = "convert " + a.from + " to " + a.to + ": " + cli::JoinFlagTexts(flags);
    // Point at a character no unit string holds ("psi%", "m^").
    for (const std::string* unit : {&a.from, &a.to}) {
      const std::size_t at = FUM::uRefusedCharacter(*unit);
      if ((errors & FUM::uSyntaxError) != 0 && at != std::string::npos) {
        message += " (unexpected \"" + unit->substr(at) + "\" in \"" + *unit + "\")";
        break;
      }
    }
    throw cli::CommandFailure(message);
  }
  cli::PrintJson({{"value", value}, {"from", a.from}, {"to", a.to}, {"result", result}});
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("convert", "Convert a value (or expression) between two unit strings");
  auto args = std::make_shared<ConvertArgs>();
  sub->add_option("VALUE", args->value, "Value or expression in FROM (put -- before one that starts with \"-\")")
      ->required();
  sub->add_option("FROM", args->from, "Unit string of the value, e.g. psi, lbm/ft*sec, F")->required();
  sub->add_option("TO", args->to, "Unit string of the result")->required();
  sub->callback([args] { Run(*args); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
