#include "numerics/expr.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "numerics/numerics.hpp"
#include "units/fe.hpp"

namespace qmx::Expr {

namespace {

thread_local std::array<double, 26> variables{};
thread_local SetHook setHook = &DefaultSetVariable;
thread_local GetHook getHook = &DefaultGetVariable;
thread_local std::uint64_t randState = 0x853c49e6748fea9bULL;

constexpr double kPi = 3.141592653589793;

enum class Fn { Pi, Abs, Sqrt, Sq, Sin, Cos, Tan, ArcSin, ArcCos, ArcTan, Ln, Log, Exp, Fact, Rand, Int, Frac };

struct FnEntry {
  std::string_view name;
  Fn fn;
};

// Searched in this order: a name matches when the identifier starts with it, so "SQRT" before "SQ".
constexpr std::array<FnEntry, 17> kFunctions{{
    {"PI", Fn::Pi},         {"ABS", Fn::Abs},       {"SQRT", Fn::Sqrt},     {"SQ", Fn::Sq},   {"SIN", Fn::Sin},
    {"COS", Fn::Cos},       {"TAN", Fn::Tan},       {"ARCSIN", Fn::ArcSin}, {"ARCCOS", Fn::ArcCos},
    {"ARCTAN", Fn::ArcTan}, {"LN", Fn::Ln},         {"LOG", Fn::Log},       {"EXP", Fn::Exp}, {"FACT", Fn::Fact},
    {"RAND", Fn::Rand},     {"INT", Fn::Int},       {"FRAC", Fn::Frac},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The number text of a factor as a value (with check, tidied first); false when it does not convert.
bool ReadNumber(double& x, bool check, std::string_view digits) {
  std::string t(digits);
  if (check) FE::TidyNumber(true, t);
  return FE::StrToReal(t, x);
}

// Characters that end an identifier.
bool EndsIdentifier(char c) {
  return c == '(' || c == ')' || c == '*' || c == '+' || c == ',' || c == '-' || c == '/' || c == '^';
}

// A pseudo-random number strictly between 0 and 1 (xorshift64*, 53 bits).
double NextRandom() {
  randState ^= randState >> 12;
  randState ^= randState << 25;
  randState ^= randState >> 27;
  const std::uint64_t r = randState * 0x2545F4914F6CDD1DULL;
  return (static_cast<double>(r >> 11) + 0.5) * 0x1.0p-53;
}

// x FACT(x - 1), 1 for x <= 0: the product x (x-1) (x-2) ... down to the first factor <= 0,
// multiplied from the smallest factor up as the recursion does. Above 180 the product is
// infinite (171! already exceeds the largest double), so the loop has a fixed bound.
double Factorial(double x) {
  if (!(x > 0.0)) return 1.0;
  if (x > 180.0) return HUGE_VAL;
  std::array<double, 182> factors{};
  std::size_t n = 0;
  while (x > 0.0 && n < factors.size()) {
    factors[n++] = x;
    x -= 1.0;
  }
  double result = 1.0;
  while (n > 0) result = factors[--n] * result;
  return result;
}

class Parser {
 public:
  Parser(std::string_view text, bool check) : s_(text), check_(check) {}

  int error() const { return error_; }
  // Where the first error was found: an offset into the text.
  std::size_t where() const { return where_; }
  bool AtEnd() const { return pos_ >= s_.size(); }
  std::size_t pos() const { return pos_; }

  // statement = letters "=" expression | expression
  double Statement() {
    std::size_t n = 0;
    while (n < s_.size() && IsLetter(s_[n])) ++n;
    if (n > 0 && n < s_.size() && s_[n] == '=') {
      const std::string_view name = s_.substr(0, n);
      pos_ = n + 1;
      const double v = Expression();
      // A value whose evaluation failed is discarded, so it is not stored either.
      if (error_ == kOk && (setHook == nullptr || !setHook(name, v))) Fail(kUnknownFunction, 0);
      return v;
    }
    return Expression();
  }

 private:
  char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  void Fail(int code) { Fail(code, pos_); }
  void Fail(int code, std::size_t at) {
    if (error_ != kOk) return;
    error_ = code;
    where_ = std::min(at, s_.size());
  }

  // expression = term { ("+" | "-") term }
  double Expression() {
    double v = Term();
    while (!abort_) {
      const char c = Peek();
      if (c == '+') {
        ++pos_;
        v += Term();
      } else if (c == '-') {
        ++pos_;
        v -= Term();
      } else {
        break;
      }
    }
    return v;
  }

  // term = power { ("*" | "/") power }; a divisor of exactly 0 leaves the running value unchanged
  double Term() {
    double v = Power();
    while (!abort_) {
      const char c = Peek();
      if (c == '*') {
        ++pos_;
        v *= Power();
      } else if (c == '/') {
        ++pos_;
        const double d = Power();
        if (d == 0.0) {
          Fail(kDivisionByZero);
        } else {
          v /= d;
        }
      } else {
        break;
      }
    }
    return v;
  }

  // power = unary { "^" unary }, left-associative. A base of 0 gives 0 (also for exponent 0);
  // otherwise the correctly rounded library power, so 6^3 is exactly 216.
  double PowerOp(double base, double exponent) {
    if (base < 0.0 && exponent != std::trunc(exponent)) {
      Fail(kDomain);
      exponent = std::trunc(exponent);
    }
    if (base == 0.0) return 0.0;
    if (exponent == 0.0) return 1.0;
    return std::pow(base, exponent);
  }

  double Power() {
    double v = Unary();
    while (!abort_ && Peek() == '^') {
      ++pos_;
      v = PowerOp(v, Unary());
    }
    return v;
  }

  // unary = "-" factor | factor
  double Unary() {
    if (Peek() == '-') {
      ++pos_;
      return -Factor();
    }
    return Factor();
  }

  double Factor() {
    if (abort_) return 0.0;
    if (depth_ >= kMaxDepth) {
      Fail(kSyntax);
      abort_ = true;
      return 0.0;
    }
    ++depth_;
    const double v = FactorBody();
    --depth_;
    return v;
  }

  double FactorBody() {
    const char c = Peek();
    if (IsDigit(c) || (c == '.' && pos_ + 1 < s_.size() && IsDigit(s_[pos_ + 1]))) return Number();
    if (c == '(') {
      ++pos_;
      const double v = Expression();
      if (Peek() == ')') {
        ++pos_;
      } else {
        Fail(kParentheses);
      }
      return v;
    }
    if (IsLetter(c)) return Identifier();
    // Any other character: nothing consumed, no error (the argument slot of "PI" and "RAND").
    return 0.0;
  }

  // digits [ "." digits ] [ ("E" | "e") [sign | digit] digits ]
  double Number() {
    const std::size_t start = pos_;
    while (IsDigit(Peek())) ++pos_;
    if (Peek() == '.') {
      ++pos_;
      while (IsDigit(Peek())) ++pos_;
    }
    if (Peek() == 'E' || Peek() == 'e') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-' || IsDigit(Peek())) ++pos_;
      while (IsDigit(Peek())) ++pos_;
    }
    const std::string_view digits = s_.substr(start, pos_ - start);
    double x = 0.0;
    // A longer number would be cut short and read as another value.
    if (digits.size() > static_cast<std::size_t>(kMaxNumberLength) || !ReadNumber(x, check_, digits)) {
      Fail(kSyntax, start);
      return 0.0;
    }
    return x;
  }

  double Identifier() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && !EndsIdentifier(s_[pos_])) ++pos_;
    const std::string_view id = s_.substr(start, pos_ - start);
    double v = 0.0;
    if (getHook != nullptr && getHook(id, v)) return v;
    for (const FnEntry& f : kFunctions) {
      if (id.starts_with(f.name)) {
        pos_ = start + f.name.size();
        return Apply(f.fn, Factor());
      }
    }
    Fail(kUnknownFunction, start);
    return 0.0;
  }

  double Apply(Fn fn, double x) {
    switch (fn) {
      case Fn::Pi:
        return kPi;
      case Fn::Abs:
        return std::fabs(x);
      case Fn::Sqrt:
        if (x < 0.0) {
          Fail(kDomain);
          return 0.0;
        }
        return std::sqrt(x);
      case Fn::Sq:
        return x * x;
      case Fn::Sin:
        return std::sin(x);
      case Fn::Cos:
        return std::cos(x);
      case Fn::Tan:
        return std::sin(x) / std::cos(x);
      case Fn::ArcSin:
      case Fn::ArcCos:
        // Outside [-1, 1] there is no real angle.
        if (!(std::fabs(x) <= 1.0)) {
          Fail(kDomain);
          return 0.0;
        }
        return fn == Fn::ArcSin ? std::asin(x) : std::acos(x);
      case Fn::ArcTan:
        return std::atan(x);
      case Fn::Ln:
        // The logarithm of 0 has no finite value, as for "LOG".
        if (!(x > 0.0)) {
          Fail(kDomain);
          return 0.0;
        }
        return std::log(x);
      case Fn::Log:
        if (!(x > 0.0)) {
          Fail(kDomain);
          return 0.0;
        }
        return std::log10(x);
      case Fn::Exp:
        return std::exp(x);
      case Fn::Fact:
        return Factorial(x);
      case Fn::Rand:
        return NextRandom();
      case Fn::Int:
        return Numerics::Int(x);
      case Fn::Frac:
        return Numerics::Frac(x);
    }
    return 0.0;
  }

  std::string_view s_;
  bool check_;
  std::size_t pos_ = 0;
  int error_ = kOk;
  std::size_t where_ = 0;
  int depth_ = 0;
  bool abort_ = false;
};

// The offset of two adjacent characters that cannot follow each other, or npos.
std::size_t AdjacentOperators(std::string_view s) {
  auto isOp = [](char c) { return c == '*' || c == '+' || c == '/' || c == '^'; };
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (isOp(s[i - 1]) && isOp(s[i])) return i - 1;
    if (s[i - 1] == '.' && s[i] == '.') return i - 1;
  }
  return std::string_view::npos;
}

}  // namespace

void Evaluate(int& error, double& value, bool check, std::string& text) {
  std::string detail;
  Evaluate(error, value, check, text, detail);
}

void Evaluate(int& error, double& value, bool check, std::string& text, std::string& detail) {
  std::erase(text, ' ');
  error = kOk;
  detail.clear();
  auto quoted = [](std::string_view t) { return "\"" + std::string(t) + "\""; };
  if (check) {
    if (!text.empty() && text.front() == '.') text.insert(text.begin(), '0');
    if (!text.empty() && text.front() == '+') text.erase(text.begin());
    if (text.empty()) {
      error = kNullExpression;
      return;
    }
    std::size_t open = 0;
    std::size_t close = 0;
    for (const char c : text) {
      if (c == '(') ++open;
      if (c == ')') ++close;
    }
    if (open != close) {
      error = kParentheses;
      return;
    }
    if (const std::size_t at = AdjacentOperators(text); at != std::string::npos) {
      error = kSyntax;
      detail = "at " + quoted(std::string_view(text).substr(at));
      return;
    }
  }
  Parser p(text, check);
  const double v = p.Statement();
  error = p.error();
  const std::string_view s(text);
  if (error == kUnknownFunction && p.where() < s.size()) {
    std::size_t end = p.where();
    while (end < s.size() && !EndsIdentifier(s[end]) && s[end] != '=') ++end;
    detail = "unknown name " + quoted(s.substr(p.where(), end - p.where()));
  } else if (error != kOk && p.where() < s.size()) {
    detail = "at " + quoted(s.substr(p.where()));
  } else if (error == kOk && !p.AtEnd()) {
    // Text after a complete expression is not silently dropped ("1,5" is not 1).
    error = kSyntax;
    detail = "unexpected " + quoted(s.substr(p.pos())) + " after " + quoted(s.substr(0, p.pos()));
    if (s[p.pos()] == ',') detail += "; the decimal mark is \".\"";
  } else if (error == kOk && std::isnan(v)) {
    // A result that is not a number (inf - inf, 0 * inf) has no meaningful value.
    error = kDomain;
    detail = "the result is not a number";
  } else if (error == kOk && std::isinf(v)) {
    error = kDomain;
    detail = "the result overflows";
  }
  if (error == kOk) value = v;
}

void ExprErrorText(std::string& text, int error) {
  switch (error) {
    case kOk:
      text = "Ok.";
      break;
    case kSyntax:
      text = "Syntax error in expression or number.";
      break;
    case kParentheses:
      text = "Parentheses do not ballance.";
      break;
    case kNullExpression:
      text = "Null expression.";
      break;
    case kDivisionByZero:
      text = "Division by zero.";
      break;
    case kDomain:
      text = "Domain error.";
      break;
    case kUnknownFunction:
      text = "Unknown function.";
      break;
    default:
      text = "Unknown error code.";
      break;
  }
}

void SetVariableHooks(SetHook set, GetHook get) {
  setHook = set;
  getHook = get;
}

namespace {
// Index 0..25 of a single-letter variable name, -1 for any other name.
int VariableIndex(std::string_view name) {
  if (name.size() != 1) return -1;
  const char c = name[0];
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a';
  return -1;
}
}  // namespace

bool DefaultSetVariable(std::string_view name, double value) {
  const int i = VariableIndex(name);
  if (i < 0) return false;
  variables[static_cast<std::size_t>(i)] = value;
  return true;
}

bool DefaultGetVariable(std::string_view name, double& value) {
  const int i = VariableIndex(name);
  if (i < 0) return false;
  value = variables[static_cast<std::size_t>(i)];
  return true;
}

}  // namespace qmx::Expr
