// Standards tables: axes, cells against peer and published equations, rounding,
// the screen grid and the file form.
#include "reports/tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "../support/check.hpp"
#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace {

namespace fs = std::filesystem;
using namespace qmx::Tables;
using qmx::test::ExpectRaise;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(Tables, SelectionsAndRaises) {
  EXPECT_EQ(SelectionList().substr(0, 18), "AGA-3(1991, 2012) ");
  std::string item;
  bool last = false;
  qmx::FE::GetItem(last, 14, "|", SelectionList(), item);
  EXPECT_EQ(item, "<reserved Alberta ERCB Directive 17 -- cases 1 through 7>");
  for (int n = 0; n < kSelectionCount; ++n) {
    qmx::FE::GetItem(last, n, "|", SelectionList(), item);
    EXPECT_EQ(GetSelection(n).text, item) << n;
    EXPECT_EQ(IsReserved(n), n == 7 || n == 8 || n == 9 || n == 14) << n;
  }
  ExpectRaise([] { (void)GetSelection(15); }, kModule, "FillTable() invalid selection 1", 1);
  ExpectRaise([] { (void)FillTable(-1, {}); }, kModule, "FillTable() invalid selection 1", 1);
  ExpectRaise([] { (void)IOselect(15); }, kModule, "IOselect() invalid selection 1", 1);
  ExpectRaise([] { (void)CellValue(7, 0.5, 1e6, {}); }, kModule, "FillTable() invalid selection 0", 0);
  EXPECT_EQ(IOselect(0), "table_0");
  EXPECT_EQ(IOselect(13), "table_13");
}

TEST(Tables, Axes) {
  struct Case {
    int selection;
    std::string corner;
    std::size_t rows, columns;
    double firstRow, lastRow, firstColumn, lastColumn;
  };
  const Case cases[] = {
      {0, "beta \\ Re", 38, 10, 0.02, 0.75, 4000.0, 100e6},
      {1, "beta \\ Re", 34, 13, 0.10, 0.75, 5e3, 9.9e99},
      {2, "beta \\ Re", 26, 9, 0.30, 0.80, 2e4, 1e7},
      {3, "beta \\ Re", 31, 9, 0.20, 0.80, 1e4, 1e7},
      {4, "beta \\ Cd", 48, 1, 0.316, 0.775, 1.0, 1.0},
      {5, "beta \\ p2/p1", 5, 8, 0.1, 0.75, 0.98, 0.75},
      {6, "beta \\ p2/p1", 6, 9, 0.2, 0.8, 1.0, 0.75},
      {10, "hw/Pf \\ beta", 41, 13, 0.0, 4.0, 0.1, 0.62},
      {11, "hw/Pf \\ beta", 41, 13, 0.0, 4.0, 0.63, 0.75},
      {12, "hw/Pf \\ beta", 41, 13, 0.0, 4.0, 0.1, 0.62},
      {13, "hw/Pf \\ beta", 41, 13, 0.0, 4.0, 0.63, 0.75},
  };
  for (const Case& c : cases) {
    const Axes a = GetAxes(c.selection);
    EXPECT_EQ(a.corner, c.corner) << c.selection;
    ASSERT_EQ(a.rows.size(), c.rows) << c.selection;
    ASSERT_EQ(a.columns.size(), c.columns) << c.selection;
    EXPECT_EQ(a.row_labels.size(), c.rows);
    EXPECT_EQ(a.column_labels.size(), c.columns);
    EXPECT_EQ(a.rows.front(), c.firstRow) << c.selection;
    EXPECT_EQ(a.rows.back(), c.lastRow) << c.selection;
    EXPECT_EQ(a.columns.front(), c.firstColumn) << c.selection;
    EXPECT_EQ(a.columns.back(), c.lastColumn) << c.selection;
    EXPECT_LE(a.rows.size() + 1, kGridRows);
    EXPECT_LE(a.columns.size() + 1, kGridColumns);
  }
  EXPECT_EQ(GetAxes(6).column_labels.front(), "1.00");
  EXPECT_EQ(GetAxes(4).row_labels[1], "0.320");
  for (int n : {7, 8, 9, 14}) {
    const TableData t = FillTable(n, {});
    EXPECT_TRUE(t.axes.rows.empty() && t.axes.columns.empty() && t.values.empty()) << n;
    EXPECT_FALSE(t.title.empty());
  }
}

// Venturi nozzle: one column, the ISO 5167-3 5.3.4.2 coefficient as the standard prints it.
TEST(Tables, VenturiNozzleColumn) {
  const TableData t = FillTable(4, {});
  ASSERT_EQ(t.values.size(), 48u);
  for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
    const double beta = t.axes.rows[i];
    EXPECT_NEAR(t.values[i], 0.9858 - 0.196 * std::pow(beta, 4.5), 1e-15) << beta;
  }
}

// The 9.9E99 column is the infinite-Reynolds limit: with corner taps in a pipe above
// 71.12 mm only 0.5961 + 0.0261 beta^2 - 0.216 beta^8 remains.
TEST(Tables, OrificeInfiniteReynoldsColumn) {
  TableOptions o;
  o.tap = qmx::DP0::TapType::Corner;
  ASSERT_TRUE(SetDiameter(o, "100 mm"));
  const TableData t = FillTable(1, o);
  const std::size_t last = t.axes.columns.size() - 1;
  for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
    const double b = t.axes.rows[i];
    EXPECT_NEAR(t.values[t.Index(i, last)], 0.5961 + 0.0261 * b * b - 0.216 * std::pow(b, 8), 1e-12) << b;
  }
}

TEST(Tables, NozzleExpansibilityUnityColumn) {
  for (const char* kappa : {"1.66", "1.3"}) {
    TableOptions o;
    ASSERT_TRUE(SetKappa(o, kappa));
    const TableData t = FillTable(6, o);
    for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
      EXPECT_EQ(t.values[t.Index(i, 0)], 1.0) << i;
      EXPECT_LT(t.values[t.Index(i, 1)], 1.0) << i;
    }
  }
}

// Every cell of tables 0, 1, 2, 3 and 5 against the reference file (python3-fluids, and the
// AGA-3 Part 1 flange-tap equation evaluated independently for table 0).
TEST(Tables, CellsAgainstReference) {
  using Key = std::tuple<int, int, double, double>;  // table, tap, D, kappa
  std::map<Key, std::vector<std::array<double, 3>>> groups;
  for (const auto& r : qmx::test::ReadCsv("reports/tables_reference.csv")) {
    ASSERT_EQ(r.size(), 7u);
    groups[{std::stoi(r[0]), std::stoi(r[1]), std::stod(r[2]), std::stod(r[5])}].push_back(
        {std::stod(r[3]), std::stod(r[4]), std::stod(r[6])});
  }
  ASSERT_GE(groups.size(), 12u);
  for (const auto& [key, refs] : groups) {
    const auto [table, tap, D, kappa] = key;
    TableOptions o;
    o.tap = static_cast<qmx::DP0::TapType>(tap);
    if (D > 0.0) {
      o.diameter_text = "reference";
      o.diameter = D;
    }
    if (kappa > 0.0) o.kappa = kappa;
    const TableData t = FillTable(table, o);
    std::size_t matched = 0;
    for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
      for (std::size_t j = 0; j < t.axes.columns.size(); ++j) {
        for (const auto& ref : refs) {
          if (std::abs(ref[0] - t.axes.rows[i]) < 1e-9 && std::abs(ref[1] - t.axes.columns[j]) <= 1e-9 * ref[1]) {
            ++matched;
            EXPECT_NEAR(t.values[t.Index(i, j)], ref[2], 1e-12)
                << "table " << table << " tap " << tap << " D " << D << " row " << ref[0] << " column " << ref[1];
          }
        }
      }
    }
    EXPECT_EQ(matched, refs.size()) << "table " << table << " tap " << tap << " D " << D;
    EXPECT_EQ(matched, t.values.size()) << "table " << table;
  }
}

// AGA-3 expansion factors: 1991 (Part 3) Y = 1 - (0.41 + 0.35 beta^4) x1 / k and 2012
// Y = 1 - (0.3625 + 0.1027 beta^4 + 1.132 beta^8)(1 - (1 - x1)^(1/k)), x1 = hw / (27.707 Pf).
TEST(Tables, AgaExpansionTables) {
  for (double k : {1.3, 1.66}) {
    TableOptions o;
    o.kappa = k;
    for (int n : {10, 11, 12, 13}) {
      const TableData t = FillTable(n, o);
      for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
        const double x1 = t.axes.rows[i] / 27.70727139;
        for (std::size_t j = 0; j < t.axes.columns.size(); ++j) {
          const double b4 = std::pow(t.axes.columns[j], 4);
          const double y = n < 12 ? 1.0 - (0.41 + 0.35 * b4) * x1 / k
                                  : 1.0 - (0.3625 + 0.1027 * b4 + 1.132 * b4 * b4) * (1.0 - std::pow(1.0 - x1, 1.0 / k));
          EXPECT_NEAR(t.values[t.Index(i, j)], y, 1e-14) << n << " " << t.axes.rows[i] << " " << t.axes.columns[j];
        }
      }
      EXPECT_EQ(t.values[t.Index(0, 0)], 1.0);
    }
  }
}

TEST(Tables, DiameterDefaultsAndSensitivity) {
  TableOptions o;
  std::string text;
  EXPECT_NEAR(EffectiveDiameter(0, o, &text), 1.939 * 0.0254, 1e-15);
  EXPECT_EQ(text, "1.939 in");
  EXPECT_NEAR(EffectiveDiameter(1, o, &text), 0.05, 1e-15);
  EXPECT_EQ(text, "50 mm");
  EXPECT_EQ(EffectiveDiameter(2, o, &text), 0.0);
  EXPECT_EQ(text, "");
  // The small-pipe term of AGA-3 makes a 1.939 in table differ from a 7.625 in one.
  TableOptions big;
  ASSERT_TRUE(SetDiameter(big, "7.625 in"));
  EXPECT_GT(CellValue(0, 0.5, 1e6, o) - CellValue(0, 0.5, 1e6, big), 4e-4);
  // ...and the tapping moves an ISO cell.
  TableOptions corner;
  corner.tap = qmx::DP0::TapType::Corner;
  EXPECT_NE(CellValue(1, 0.6, 1e5, o), CellValue(1, 0.6, 1e5, corner));
}

TEST(Tables, EntrySetters) {
  TableOptions o;
  EXPECT_FALSE(SetRoundTo(o, "0"));
  EXPECT_FALSE(SetRoundTo(o, "-0.01"));
  EXPECT_FALSE(SetRoundTo(o, "abc"));
  EXPECT_FALSE(SetRoundTo(o, "1e999"));
  EXPECT_EQ(o.round_to, "0.0001");
  EXPECT_TRUE(SetRoundTo(o, " 0.01"));
  EXPECT_EQ(o.round_to, "0.01");
  EXPECT_EQ(o.quantum, 0.01);
  EXPECT_FALSE(SetKappa(o, "0"));
  EXPECT_FALSE(SetKappa(o, "nan"));
  EXPECT_TRUE(SetKappa(o, "1.3"));
  EXPECT_EQ(o.kappa, 1.3);
  EXPECT_EQ(o.kappa_text, "1.3");
  for (const char* bad : {"50", "50 kg", "x mm", "-2 in", "0 mm", "", "2 in in", "5 C"}) {
    EXPECT_FALSE(SetDiameter(o, bad)) << bad;
  }
  EXPECT_TRUE(o.diameter_text.empty());
  EXPECT_TRUE(SetDiameter(o, "2 in"));
  EXPECT_NEAR(o.diameter, 0.0508, 1e-15);
  EXPECT_TRUE(SetDiameter(o, "375 mm"));
  EXPECT_NEAR(o.diameter, 0.375, 1e-15);
}

TEST(Tables, DecimalsRule) {
  for (const auto& [q, d] : std::initializer_list<std::pair<double, int>>{
           {0.0001, 5}, {0.001, 4}, {0.01, 3}, {0.1, 2}, {0.5, 1}, {1.0, 1}, {10.0, 1}, {0.05, 2}, {0.00005, 5},
           {1e-15, 16}, {1e-30, 20}, {0.0, 1}, {-1.0, 1}}) {
    EXPECT_EQ(Decimals(q), d) << q;
  }
}

// Values where the six methods give different results.
TEST(Tables, RoundingMethods) {
  using R = Rounding;
  struct Case {
    double value, quantum;
    double symmetric, unbiased, apiAbsolute, apiRelative, truncate;
  };
  const Case cases[] = {
      {2.5, 1.0, 3.0, 2.0, 3.0, 2.0, 2.0},
      {-2.5, 1.0, -3.0, -2.0, -3.0, -2.0, -2.0},
      {3.5, 1.0, 4.0, 4.0, 4.0, 4.0, 3.0},
      {0.61234, 0.001, 0.612, 0.612, 0.612, 0.6125, 0.612},
      {0.60385, 0.0001, 0.6039, 0.6038, 0.6039, 0.60385, 0.6038},
      {0.60377, 0.0001, 0.6038, 0.6038, 0.6038, 0.60375, 0.6037},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundValue(R::None, c.value, c.quantum), c.value);
    EXPECT_NEAR(RoundValue(R::Symmetric, c.value, c.quantum), c.symmetric, 1e-12) << c.value;
    EXPECT_NEAR(RoundValue(R::Unbiased, c.value, c.quantum), c.unbiased, 1e-12) << c.value;
    EXPECT_NEAR(RoundValue(R::ApiAbsolute, c.value, c.quantum), c.apiAbsolute, 1e-12) << c.value;
    EXPECT_NEAR(RoundValue(R::ApiRelative, c.value, c.quantum), c.apiRelative, 1e-12) << c.value;
    EXPECT_NEAR(RoundValue(R::Truncate, c.value, c.quantum), c.truncate, 1e-12) << c.value;
  }
  EXPECT_EQ(CellText(R::Symmetric, 0.0001, 0.60385), "0.60390");
  EXPECT_EQ(CellText(R::Unbiased, 0.0001, 0.60385), "0.60380");
  EXPECT_EQ(CellText(R::ApiRelative, 0.001, 0.61234), "0.6125");
  EXPECT_EQ(CellText(R::Truncate, 0.01, 0.999), "0.990");
  EXPECT_EQ(CellText(R::Symmetric, 0.5, 2.26), "2.5");
  EXPECT_EQ(CellText(R::Symmetric, 1.0, 2.5), "3.0");
  EXPECT_EQ(RoundingName(R::ApiAbsolute), "API absolute");
  EXPECT_EQ(RoundingList(), "None (full precision)|Symmetric|Unbiased|API absolute|API relative|Truncate|");
}

// "None (full precision)" writes every digit: the text reads back as the exact value.
TEST(Tables, FullPrecisionCells) {
  const TableData t = FillTable(1, {});
  ASSERT_FALSE(t.values.empty());
  for (std::size_t k = 0; k < t.values.size(); k += 7) {
    double back = 0.0;
    ASSERT_TRUE(qmx::FE::StrToReal(t.texts[k], back)) << t.texts[k];
    EXPECT_EQ(back, t.values[k]) << t.texts[k];
    EXPECT_EQ(t.rounded[k], t.values[k]);
  }
  TableOptions o;
  o.rounding = Rounding::Symmetric;
  const TableData r = FillTable(1, o);
  for (std::size_t k = 0; k < r.values.size(); ++k) {
    EXPECT_EQ(r.texts[k].size(), 7u) << r.texts[k];  // "0.60390": five places
    EXPECT_NEAR(r.rounded[k], r.values[k], 0.00005 + 1e-12);
  }
}

TEST(Tables, ScreenGrid) {
  Grid g;
  FillGrid(g, 1, {});
  EXPECT_EQ(g[0][0], "beta \\ Re");
  EXPECT_EQ(g[0][13], "9.9E99");
  EXPECT_EQ(g[0][14], std::string(kEmptyCell));
  EXPECT_EQ(g[1][0], "0.10");
  EXPECT_EQ(g[34][0], "0.75");
  EXPECT_EQ(g[35][0], std::string(kEmptyCell));
  // A smaller table leaves nothing of the one before.
  FillGrid(g, 5, {});
  EXPECT_EQ(g[0][0], "beta \\ p2/p1");
  EXPECT_EQ(g[5][0], "0.750");
  EXPECT_EQ(g[6][0], std::string(kEmptyCell));
  EXPECT_EQ(g[1][9], std::string(kEmptyCell));
  FillGrid(g, 7, {});
  for (const auto& line : g) {
    for (const auto& cell : line) EXPECT_EQ(cell, std::string(kEmptyCell));
  }
  EXPECT_THROW(FillGrid(g, 20, {}), qmx::Error);
  EXPECT_EQ(g[0][0], std::string(kEmptyCell));
}

TEST(Tables, FileForm) {
  qmx::FE::ScopedClock clock([] { return qmx::FE::DateTime{2026, 12, 7, 9, 5, 3}; });
  TableOptions o;
  o.rounding = Rounding::Symmetric;
  const std::vector<std::string> lines = Lines(TableFileText(4, o));
  ASSERT_EQ(lines.size(), 8u + 48u);
  EXPECT_EQ(lines[0], "Date,7-Dec-26");
  EXPECT_EQ(lines[1], "Table,ISO 5167-3:2003 Venturi Nozzle Discharge Coefficients (Annex A p 28)");
  EXPECT_EQ(lines[2], "Rounding,Symmetric");
  EXPECT_EQ(lines[3], "Round to,0.0001");
  EXPECT_EQ(lines[4], "Tappings,Flange");
  EXPECT_EQ(lines[5], "Inside diameter,");
  EXPECT_EQ(lines[6], "Isentropic exponent,1.66");
  EXPECT_EQ(lines[7], "beta \\ Cd,1.0");
  // 0.9858 - 0.196 * 0.316^4.5 = 0.984700...
  EXPECT_EQ(lines[8], "0.316,0.98470,");
  EXPECT_EQ(lines.back().substr(0, 6), "0.775,");

  TableOptions iso;
  iso.tap = qmx::DP0::TapType::Corner;
  const std::vector<std::string> l1 = Lines(TableFileText(1, iso));
  EXPECT_EQ(l1[2], "Rounding,None (full precision)");
  EXPECT_EQ(l1[4], "Tappings,Corner");
  EXPECT_EQ(l1[5], "Inside diameter,50 mm");
  EXPECT_EQ(l1[7], "beta \\ Re,5.0E3,1.0E4,2.0E4,3.0E4,4.0E4,5.0E4,7.0E4,1.0E5,3.0E5,1.0E6,1.0E7,1.0E8,9.9E99,");
  ASSERT_EQ(l1.size(), 8u + 34u);
  std::size_t commas = 0;
  for (char c : l1[8]) commas += c == ',' ? 1 : 0;
  EXPECT_EQ(commas, 14u);

  const std::vector<std::string> reserved = Lines(TableFileText(9, {}));
  ASSERT_EQ(reserved.size(), 8u);
  EXPECT_EQ(reserved[1], "Table,<reserved A.G.A. Report No. 8 -- Gross method 2 (GCN) table B.6-4>");
  EXPECT_EQ(reserved[7], "");
}

TEST(Tables, WriteFile) {
  const fs::path dir = fs::temp_directory_path() / ("qmx_tables_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  qmx::FE::ScopedClock clock([] { return qmx::FE::DateTime{2026, 12, 7, 9, 5, 3}; });
  const fs::path path = dir / IOselect(2);
  WriteTableFile(path.string(), 2, {});
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), TableFileText(2, {}));
  EXPECT_FALSE(fs::exists(dir / "table_2.part"));

  const fs::path missing = dir / "no_such_folder" / "table_3";
  // A folder that is not there: the message names the path and the system's reason.
  try {
    WriteTableFile(missing.string(), 3, {});
    ADD_FAILURE() << "no raise";
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.code(), 2);
    EXPECT_EQ(std::string(e.message()).rfind("FillTable() file not written: ", 0), 0u) << e.message();
    EXPECT_NE(std::string(e.message()).find(missing.string()), std::string::npos) << e.message();
  }
  EXPECT_FALSE(fs::exists(missing));
  ExpectRaise([&] { WriteTableFile("", 3, {}); }, kModule, "FillTable() file not written", 2);
  fs::remove_all(dir);
}

}  // namespace
