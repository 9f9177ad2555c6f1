#include "numerics/expr.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/check.hpp"

namespace E = qmx::Expr;
using qmx::test::ExpectResults;

namespace {

struct Result {
  int error;
  double value;
  std::string text;  // the text after Evaluate edited it
};

constexpr double kEntry = -12345.0;

Result Eval(std::string text, bool check = true) {
  Result r{-1, kEntry, {}};
  E::Evaluate(r.error, r.value, check, text);
  r.text = text;
  return r;
}

std::string Message(int code) {
  std::string t;
  E::ExprErrorText(t, code);
  return t;
}

// Expects an error with the given message and the entry value kept.
void ExpectError(const std::string& text, const char* message, bool check = true) {
  const Result r = Eval(text, check);
  const std::string shown = text.substr(0, 40);
  EXPECT_NE(r.error, 0) << shown;
  EXPECT_EQ(Message(r.error), message) << shown;
  EXPECT_EQ(r.value, kEntry) << shown;
}

double Value(const std::string& text, bool check = true) {
  const Result r = Eval(text, check);
  EXPECT_EQ(r.error, 0) << text << ": " << Message(r.error);
  return r.value;
}

// The value of a checked expression.
double Checked(const std::string& text) { return Value(text); }

constexpr const char* kSyntax = "Syntax error in expression or number.";
constexpr const char* kParentheses = "Parentheses do not ballance.";
constexpr const char* kDomain = "Domain error.";
constexpr const char* kUnknown = "Unknown function.";

bool RefuseSet(std::string_view, double) { return false; }
bool FindNothing(std::string_view, double&) { return false; }

// Every test starts and ends with the default hooks and A..Z back at 0.
class ExprTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    E::SetVariableHooks(&E::DefaultSetVariable, &E::DefaultGetVariable);
    for (char c = 'A'; c <= 'Z'; ++c) E::DefaultSetVariable(std::string_view(&c, 1), 0.0);
  }
};

}  // namespace

TEST_F(ExprTest, SampleExpression) {
  EXPECT_EQ(Value("(4/3)*PI*(12/2)^3"), 904.7786842338603);
  EXPECT_EQ(Value("(4/3) * PI * (12/2) ^ 3"), 904.7786842338603);
}

TEST_F(ExprTest, ErrorTexts) {
  ExpectResults(Message, {{0, "Ok."}, {1, "Syntax error in expression or number."}, {2, "Parentheses do not ballance."},
      {3, "Null expression."}, {4, "Division by zero."}, {5, "Domain error."}, {6, "Unknown function."},
      {7, "Unknown error code."}, {-1, "Unknown error code."}});
}

TEST_F(ExprTest, Operators) {
  ExpectResults(Checked, {{"1+2*3", 7.0}, {"10-2-3", 5.0}, {"8/2/2", 2.0}, {"2*3-4/2", 4.0}, {"(1+2)*3", 9.0}});
  EXPECT_EQ(Value("2^3^2"), 64.0);  // left-associative
  EXPECT_EQ(Value("-2^2"), 4.0);    // the sign binds tighter than "^"
  ExpectResults(Checked, {{"2^-1", 0.5}, {"2*-3", -6.0}, {"-(2+3)", -5.0}});
  EXPECT_EQ(Value("0^0"), 0.0);  // a base of 0 gives 0
  ExpectResults(Checked, {{"(-2)^3", -8.0}, {"1.5E3+2.5e-1", 1500.25}, {"1E+2", 100.0}});
  ExpectError("2#3", kSyntax);  // characters after a complete expression are refused
}

TEST_F(ExprTest, TextEditing) {
  Result r = Eval(".5*2");
  EXPECT_EQ(r.error, 0);
  EXPECT_EQ(r.value, 1.0);
  EXPECT_EQ(r.text, "0.5*2");
  r = Eval("+3");
  EXPECT_EQ(r.value, 3.0);
  EXPECT_EQ(r.text, "3");
  r = Eval("2 3");
  EXPECT_EQ(r.value, 23.0);
  EXPECT_EQ(r.text, "23");
  EXPECT_EQ(Value(" 00012.500 "), 12.5);
}

TEST_F(ExprTest, PreChecksAndEvaluationErrors) {
  for (const char* text : {"(1+2", "3)"}) ExpectError(text, kParentheses);
  for (const char* text : {"2**3", "2+^3", "1..2", "1E400"}) ExpectError(text, kSyntax);  // 1E400 overflows
  for (const char* text : {"", "    ", "+"}) ExpectError(text, "Null expression.");
  for (const char* text : {"1/0", "1/(2-2)"}) ExpectError(text, "Division by zero.");
  for (const char* text : {"(-8)^(1/3)", "SQRT(-1)", "LOG(0)", "LOG(-1)", "LN(-1)"}) ExpectError(text, kDomain);
  for (const char* text : {"sqrt(4)", "FOO(1)"}) ExpectError(text, kUnknown);  // names are upper case
  ExpectError("(1", kParentheses, false);
  ExpectError("2E", kSyntax, false);  // untidied, "2E" is no number
  // The first error recorded is the one reported; evaluation goes on but the result is discarded.
  ExpectError("1/0+SQRT(-1)", "Division by zero.");
}

TEST_F(ExprTest, WithoutCheck) {
  ExpectError("3)", kSyntax, false);  // the ")" is left over
  EXPECT_EQ(Value("", false), 0.0);
  EXPECT_EQ(Value("2E", true), 2.0);  // tidied to "2"
  EXPECT_EQ(Value("2E+", true), 2.0);
}

TEST_F(ExprTest, Functions) {
  EXPECT_EQ(Value("PI"), 3.141592653589793);
  EXPECT_EQ(Value("PI*2"), 2 * 3.141592653589793);
  EXPECT_EQ(Value("PI(7)"), 3.141592653589793);  // the argument is ignored
  ExpectResults(Checked, {{"ABS(-3)", 3.0}, {"SQRT(16)", 4.0}, {"SQ(3)", 9.0}});
  EXPECT_EQ(Value("SQ3"), 9.0);  // the argument is a factor, parentheses are optional
  ExpectResults(Checked, {{"SQRT16+1", 5.0}, {"SIN(0)", 0.0}, {"COS(0)", 1.0}});
  EXPECT_NEAR(Value("TAN(PI/4)"), 1.0, 1e-15);
  EXPECT_NEAR(Value("SIN(PI/6)"), 0.5, 1e-15);
  ExpectResults(Checked, {{"ARCSIN(1)", std::asin(1.0)}, {"ARCCOS(0)", std::acos(0.0)}, {"ARCTAN(1)", std::atan(1.0)}});
  EXPECT_NEAR(Value("LN(EXP(2))"), 2.0, 1e-15);
  ExpectResults(Checked, {{"LOG(1000)", 3.0}, {"EXP(0)", 1.0}, {"INT(-2.7)", -2.0}, {"INT(2.7)", 2.0}});
  EXPECT_NEAR(Value("FRAC(-2.75)"), -0.75, 1e-15);
  EXPECT_EQ(Value("-SQ(2)"), -4.0);
  EXPECT_EQ(Value("SIN(0)^2+COS(0)^2"), 1.0);
}

TEST_F(ExprTest, Factorial) {
  EXPECT_EQ(Value("FACT(5)"), 120.0);
  EXPECT_EQ(Value("FACT(2.5)"), 1.875);  // 2.5 * 1.5 * 0.5
  ExpectResults(Checked, {{"FACT(0)", 1.0}, {"FACT(-3)", 1.0}, {"FACT(1)", 1.0}});
  EXPECT_DOUBLE_EQ(Value("FACT(20)"), 2432902008176640000.0);
  EXPECT_DOUBLE_EQ(Value("FACT(170)"), 7.257415615307994e306);
  ExpectError("FACT(171)", kDomain);    // beyond every double
  ExpectError("FACT(1E300)", kDomain);  // bounded, no deep recursion
}

TEST_F(ExprTest, Random) {
  const double a = Value("RAND");
  const double b = Value("RAND(5)");
  EXPECT_GT(a, 0.0);
  EXPECT_LT(a, 1.0);
  EXPECT_GT(b, 0.0);
  EXPECT_LT(b, 1.0);
  EXPECT_NE(a, b);
  const double c = Value("RAND*0+1");
  EXPECT_EQ(c, 1.0);
}

TEST_F(ExprTest, DefaultVariables) {
  EXPECT_EQ(Value("A*3"), 0.0);  // all 0 at start
  EXPECT_EQ(Value("A=2"), 2.0);
  EXPECT_EQ(Value("A*3"), 6.0);
  EXPECT_EQ(Value("a*3"), 6.0);  // lower case names the same variable
  EXPECT_EQ(Value("z=A+1"), 3.0);
  EXPECT_EQ(Value("Z"), 3.0);
  ExpectError("AB=2", "Unknown function.");
  ExpectError("X1", "Unknown function.");
  // A failed evaluation does not store its discarded value.
  ExpectError("A=1/0", "Division by zero.");
  EXPECT_EQ(Value("A"), 2.0);
}

TEST_F(ExprTest, CalculatorHooks) {
  E::SetVariableHooks(&RefuseSet, &FindNothing);
  ExpectError("A=2", "Unknown function.");
  ExpectError("A*3", "Unknown function.");
  EXPECT_EQ(Value("PI"), 3.141592653589793);
  E::SetVariableHooks(nullptr, nullptr);  // null hooks accept and find nothing
  ExpectError("A=2", "Unknown function.");
  ExpectError("B", "Unknown function.");
}

TEST_F(ExprTest, NestingIsBounded) {
  // 100000 "(" alone: the pre-check sees unbalanced parentheses.
  ExpectError(std::string(100000, '('), "Parentheses do not ballance.");
  // Without the pre-check the nesting bound ends it.
  ExpectError(std::string(100000, '('), "Syntax error in expression or number.", false);
  // Balanced but nested far deeper than any calculator entry: an error, not a stack overflow.
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  ExpectError(deep, "Syntax error in expression or number.");
  ExpectError(deep, "Syntax error in expression or number.", false);
  std::string chain;
  for (int i = 0; i < 50000; ++i) chain += "SQ";
  ExpectError(chain + "2", "Syntax error in expression or number.");
  // Moderate nesting evaluates normally.
  const int n = E::kMaxDepth - 2;
  EXPECT_EQ(Value(std::string(n, '(') + "7" + std::string(n, ')')), 7.0);
}

TEST_F(ExprTest, NumberLength) {
  EXPECT_EQ(Value("12345678901234567890"), 12345678901234567890.0);  // 20 characters
  // A longer number would be cut short: refused instead of read as another value.
  ExpectError("123456789012345678901", "Syntax error in expression or number.");
  ExpectError("0.0000000000000000000001", "Syntax error in expression or number.");
}

TEST_F(ExprTest, DomainMends) {
  // A point starts a number also after an operator.
  EXPECT_EQ(Value("2*.5"), 1.0);
  // Arguments outside the domain of the function give the domain error, not a silent NaN or infinity.
  ExpectError("ARCSIN(2)", "Domain error.");
  ExpectError("ARCCOS(-1.5)", "Domain error.");
  ExpectError("LN(0)", "Domain error.");
  ExpectError("FRAC(EXP(1000))", "Domain error.");  // inf - inf
  ExpectError("EXP(1000)", "Domain error.");       // an infinite result is no value
}

// Text after a complete expression is an error that points at it; the documented forms
// ("PI" alone, an ignored argument, blanks removed first) still evaluate.
TEST_F(ExprTest, LeftoverTextIsRefused) {
  struct Case {
    const char* text;
    const char* detail;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"1,5", "unexpected \",5\" after \"1\"; the decimal mark is \".\""},
           {"2PI", "unexpected \"PI\" after \"2\""},
           {"(2)3", "unexpected \"3\" after \"(2)\""},
           {"1e5e5", "unexpected \"e5\" after \"1e5\""},
           {"2*3!", "unexpected \"!\" after \"2*3\""},
           {"A=2;", "unexpected \";\" after \"A=2\""}}) {
    std::string text = c.text;
    int error = -1;
    double value = kEntry;
    std::string detail;
    E::Evaluate(error, value, true, text, detail);
    EXPECT_EQ(error, E::kSyntax) << c.text;
    EXPECT_EQ(value, kEntry) << c.text;
    EXPECT_EQ(detail, c.detail);
  }
  ExpectResults(Checked, {{"PI", 3.141592653589793}, {"2*PI", 2 * 3.141592653589793},
                          {"PI(7)", 3.141592653589793}, {"2 3", 23.0}, {"SQRT16", 4.0}});
}

TEST_F(ExprTest, OverflowAndUnknownNamesAreNamed) {
  struct Case {
    const char* text;
    int error;
    const char* detail;
  };
  E::SetVariableHooks(&E::DefaultSetVariable, &FindNothing);
  for (const Case& c : std::initializer_list<Case>{{"EXP(710)", E::kDomain, "the result overflows"},
                                                   {"2^1024", E::kDomain, "the result overflows"},
                                                   {"1E308*10", E::kDomain, "the result overflows"},
                                                   {"-1E308*10", E::kDomain, "the result overflows"},
                                                   {"2*e", E::kUnknownFunction, "unknown name \"e\""},
                                                   {"1+FOO(2)", E::kUnknownFunction, "unknown name \"FOO\""},
                                                   {"2**3", E::kSyntax, "at \"**3\""},
                                                   {"1/0", E::kDivisionByZero, ""}}) {
    std::string text = c.text;
    int error = -1;
    double value = kEntry;
    std::string detail;
    E::Evaluate(error, value, true, text, detail);
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(detail, c.detail) << c.text;
    EXPECT_EQ(value, kEntry) << c.text;
  }
  // A large but finite result stays a value.
  EXPECT_EQ(Value("1E308*1"), 1e308);
}
