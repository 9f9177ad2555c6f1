// Fuzzes the expression evaluator with and without the pre-checks, with the default and
// the calculator's variable hooks: no input may crash, hang or leave an out-of-range code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "numerics/expr.hpp"

namespace {
bool RefuseSet(std::string_view, double) { return false; }
bool FindNothing(std::string_view, double&) { return false; }

void Check(const std::string& input, bool check) {
  std::string text = input;
  int error = -1;
  double value = 42.0;
  qmx::Expr::Evaluate(error, value, check, text);
  if (error < 0 || error > 6) std::abort();
  if (error != 0 && value != 42.0) std::abort();  // an error keeps the entry value
  std::string message;
  qmx::Expr::ExprErrorText(message, error);
  if (message.empty()) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  qmx::Expr::SetVariableHooks(&qmx::Expr::DefaultSetVariable, &qmx::Expr::DefaultGetVariable);
  Check(input, true);
  Check(input, false);
  qmx::Expr::SetVariableHooks(&RefuseSet, &FindNothing);
  Check(input, true);
  return 0;
}
