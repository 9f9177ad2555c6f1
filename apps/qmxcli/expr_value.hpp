#pragma once
// The value of an expression argument for the commands that take one (eval, convert).
#include <string>

namespace qmx::cli {

// Evaluates `text` with the variable hooks in place; on an expression error prints
// {"error": code, "message": text} and throws CommandFailure with that message, which adds
// what the error points at ("unexpected \"PI\" after \"2\"", "unknown name \"e\"").
double EvaluateArgument(std::string text);

}  // namespace qmx::cli
