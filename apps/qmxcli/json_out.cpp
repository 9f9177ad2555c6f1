#include "json_out.hpp"

#include <cmath>
#include <cstdio>
#include <iostream>

namespace qmx::cli {
namespace {

constexpr auto kReplaceBadBytes = nlohmann::json::error_handler_t::replace;

void Write(std::string& out, const nlohmann::json& v, int indent, int level) {
  const auto newline = [&](int lvl) {
    if (indent < 0) return;
    out += '\n';
    out.append(static_cast<std::size_t>(indent * lvl), ' ');
  };
  switch (v.type()) {
    case nlohmann::json::value_t::object: {
      if (v.empty()) {
        out += "{}";
        return;
      }
      out += '{';
      bool first = true;
      for (auto it = v.begin(); it != v.end(); ++it) {
        if (!first) out += ',';
        first = false;
        newline(level + 1);
        out += nlohmann::json(it.key()).dump(-1, ' ', false, kReplaceBadBytes);
        out += indent < 0 ? ":" : ": ";
        Write(out, it.value(), indent, level + 1);
      }
      newline(level);
      out += '}';
      return;
    }
    case nlohmann::json::value_t::array: {
      if (v.empty()) {
        out += "[]";
        return;
      }
      out += '[';
      bool first = true;
      for (const auto& item : v) {
        if (!first) out += ',';
        first = false;
        newline(level + 1);
        Write(out, item, indent, level + 1);
      }
      newline(level);
      out += ']';
      return;
    }
    case nlohmann::json::value_t::number_float: {
      const double d = v.get<double>();
      if (!std::isfinite(d)) {
        out += "null";
        return;
      }
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.17g", d);
      out += buf;
      return;
    }
    default:
      // A text echoing the user's bytes (an expression, a unit) may hold bytes that are not
      // UTF-8: they are shown as U+FFFD instead of failing the whole output.
      out += v.dump(-1, ' ', false, kReplaceBadBytes);
  }
}

}  // namespace

std::string JsonText(const nlohmann::json& value, int indent) {
  std::string out;
  Write(out, value, indent, 0);
  return out;
}

void PrintJson(const nlohmann::json& value) { std::cout << JsonText(value) << '\n'; }

}  // namespace qmx::cli
