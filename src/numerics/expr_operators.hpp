#pragma once
// The operators and functions of the expression calculator with a short description each, in the
// order the Units page's reference list and `qmxcli units` show them.
#include <array>
#include <string_view>

namespace qmx::Expr {

struct OperatorRow {
  std::string_view symbol, name;
};

inline constexpr std::string_view kOperatorsHeading = "------ Expressions ---------";

inline constexpr std::array<OperatorRow, 23> kOperatorRows = {{
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

}  // namespace qmx::Expr
