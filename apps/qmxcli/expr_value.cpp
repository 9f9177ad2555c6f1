#include "expr_value.hpp"

#include "command.hpp"
#include "json_out.hpp"
#include "numerics/expr.hpp"

namespace qmx::cli {

double EvaluateArgument(std::string text) {
  int error = 0;
  double value = 0.0;
  Expr::Evaluate(error, value, true, text);
  if (error != Expr::kOk) {
    std::string message;
    Expr::ExprErrorText(message, error);
    PrintJson({{"error", error}, {"message", message}});
    throw CommandFailure(message);
  }
  return value;
}

}  // namespace qmx::cli
