#include "expr_value.hpp"

#include "command.hpp"
#include "json_out.hpp"
#include "numerics/expr.hpp"

namespace qmx::cli {

double EvaluateArgument(std::string text) {
  int error = 0;
  double value = 0.0;
  std::string detail;
  Expr::Evaluate(error, value, true, text, detail);
  if (error != Expr::kOk) {
    std::string message;
    Expr::ExprErrorText(message, error);
    if (!detail.empty()) message += " (" + detail + ")";
    PrintJson({{"error", error}, {"message", message}});
    throw CommandFailure(message);
  }
  return value;
}

}  // namespace qmx::cli
