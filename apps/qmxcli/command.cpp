#include "command.hpp"

#include <cmath>
#include <vector>

#include "units/fe.hpp"

namespace qmx::cli {
namespace {
std::vector<SetupFn>& Registry() {
  static std::vector<SetupFn> commands;
  return commands;
}
}  // namespace

bool RegisterCommand(SetupFn setup) {
  Registry().push_back(setup);
  return true;
}

void SetupAll(CLI::App& app) {
  for (SetupFn setup : Registry()) setup(app);
}

std::string JoinFlagTexts(std::string_view texts) {
  std::string out;
  std::size_t start = 0;
  // One piece per "|"-ended text, so the loop ends within texts.size() + 1 steps.
  while (start < texts.size()) {
    std::size_t end = texts.find('|', start);
    if (end == std::string_view::npos) end = texts.size();
    std::string_view piece = texts.substr(start, end - start);
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
    if (!piece.empty()) {
      if (!out.empty()) out += "; ";
      out += piece;
    }
    start = end + 1;
  }
  return out;
}

std::optional<std::string> NumberText(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  std::string t(text);
  // ".6" as "0.6" (also after a sign); "6." is read as it stands.
  const std::size_t digits = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
  if (digits < t.size() && t[digits] == '.') t.insert(digits, "0");
  double x = 0.0;
  // StrToReal takes only decimal digits, "." and an exponent: no NaN, infinity or hexadecimal.
  if (!FE::HasDigit(t) || !FE::StrToReal(t, x) || !std::isfinite(x)) return std::nullopt;
  return t;
}

bool ReadNumber(std::string_view text, double& x) {
  const std::optional<std::string> t = NumberText(text);
  return t && FE::StrToReal(*t, x);
}

double ParseNumber(const std::string& text, const std::string& what) {
  double value = 0.0;
  if (!ReadNumber(text, value)) throw UsageError(what + ": not a finite number: \"" + text + "\"");
  return value;
}

}  // namespace qmx::cli
