#pragma once
// Helpers shared by the test programs: the check of a raise, tables of expected results and the
// reader of the data/ tables.
#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "numerics/error.hpp"

namespace qmx::test {

// Expects f() to raise qmx::Error with this module, message and code; a negative code is not compared.
template <class F>
void ExpectRaise(F&& f, std::string_view module, std::string_view message, int code = -1) {
  try {
    f();
    ADD_FAILURE() << "no raise, expected " << module << ": " << message;
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.module(), module) << message;
    EXPECT_EQ(e.message(), message);
    if (code >= 0) {
      EXPECT_EQ(e.code(), code) << message;
    }
  }
}

// Each case lists the arguments of f and the result it must give (compared exactly); a failure
// names the arguments.
template <class R, class... A>
void ExpectResults(R (*f)(A...), std::initializer_list<std::tuple<std::decay_t<A>..., std::decay_t<R>>> cases) {
  for (const auto& c : cases) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      EXPECT_EQ(f(std::get<I>(c)...), std::get<sizeof...(A)>(c))
          << ::testing::PrintToString(std::make_tuple(std::get<I>(c)...));
    }(std::index_sequence_for<A...>{});
  }
}

// As ExpectResults for floating-point results, equal to within 4 units in the last place.
template <class... A>
void ExpectDoubles(double (*f)(A...), std::initializer_list<std::tuple<std::decay_t<A>..., double>> cases) {
  for (const auto& c : cases) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      EXPECT_DOUBLE_EQ(f(std::get<I>(c)...), std::get<sizeof...(A)>(c))
          << ::testing::PrintToString(std::make_tuple(std::get<I>(c)...));
    }(std::index_sequence_for<A...>{});
  }
}

using Rows = std::vector<std::vector<std::string>>;

// The rows of data/<path> split at commas outside double quotes, header line and empty lines dropped.
inline Rows ReadCsv(const std::string& path) {
  std::ifstream in(std::string(QMX_DATA_DIR) + "/" + path);
  EXPECT_TRUE(in.good()) << path;
  Rows rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char c : line) {
      if (c == '"') quoted = !quoted;
      else if (c == ',' && !quoted) cells.emplace_back();
      else cells.back() += c;
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

}  // namespace qmx::test
