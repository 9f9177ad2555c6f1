#pragma once
// Arithmetic expression evaluator of the calculator: a recursive-descent parser
// over the text with a small table of named functions. Single-letter variables
// are resolved through two replaceable hooks.
#include <string>
#include <string_view>

namespace qmx::Expr {

// Error codes reported by Evaluate; ExprErrorText gives their messages.
inline constexpr int kOk = 0;
inline constexpr int kSyntax = 1;
inline constexpr int kParentheses = 2;
inline constexpr int kNullExpression = 3;
inline constexpr int kDivisionByZero = 4;
inline constexpr int kDomain = 5;
inline constexpr int kUnknownFunction = 6;

// Nesting depth (parentheses and function arguments) beyond which the text is a syntax error,
// so deeply nested input cannot exhaust the stack.
inline constexpr int kMaxDepth = 200;
// A number text of more characters than this is a syntax error.
inline constexpr int kMaxNumberLength = 20;

// Set hook: stores value under name; false when the name is not a variable.
using SetHook = bool (*)(std::string_view name, double value);
// Get hook: the value of the variable name; false when there is no such variable.
using GetHook = bool (*)(std::string_view name, double& value);

// Evaluates text, which it edits in place (blanks removed; with check, a leading "." becomes
// "0." and a leading "+" is removed). On success value receives the result and error is 0;
// on any error value keeps the value it had on entry.
void Evaluate(int& error, double& value, bool check, std::string& text);
// As Evaluate; detail receives what the error points at in the edited text (text left after
// a complete expression, an unknown name, an overflowing result), empty when there is nothing
// to add. Text after a complete expression is a syntax error; a result that is not finite is
// a domain error.
void Evaluate(int& error, double& value, bool check, std::string& text, std::string& detail);

// The message of an error code ("Ok.", "Division by zero.", ...; "Unknown error code." otherwise).
void ExprErrorText(std::string& text, int error);

// Installs the variable hooks of this thread; a null hook accepts and finds nothing.
void SetVariableHooks(SetHook set, GetHook get);

// The default hooks, installed at start: 26 variables "A" to "Z" (a lower-case letter names the
// same variable as its capital), all 0 at start.
bool DefaultSetVariable(std::string_view name, double value);
bool DefaultGetVariable(std::string_view name, double& value);

}  // namespace qmx::Expr
