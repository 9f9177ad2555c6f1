// Standards tables: selections, axes, cell equations, rounding and the file form.
#include "reports/tables.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "meters/coef.hpp"
#include "numerics/error.hpp"
#include "reports/filesave.hpp"
#include "numerics/numerics.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"

namespace qmx::Tables {

namespace {

using DP0::MeterType;

// Inches of water per psi: hw/Pf of the AGA tables becomes dP/P1.
constexpr double kInH2OPerPsi = 27.70727139;
// Upstream pressure of the expansibility cells; only ratios matter.
constexpr double kP1 = 100.0;

constexpr std::string_view kBetaRows002 =
    "0.0,0.02,0.04,0.06,0.08,0.10,0.12,0.14,0.16,0.18,0.20,0.22,0.24,0.26,0.28,0.30,0.32,0.34,0.36,0.38,"
    "0.40,0.42,0.44,0.46,0.48,0.50,0.52,0.54,0.56,0.58,0.60,0.62,0.64,0.66,0.68,0.70,0.72,0.74,0.75";
constexpr std::string_view kBetaRows010 =
    "0.0,0.10,0.12,0.14,0.16,0.18,0.20,0.22,0.24,0.26,0.28,0.30,0.32,0.34,0.36,0.38,0.40,0.42,0.44,0.46,"
    "0.48,0.50,0.52,0.54,0.56,0.58,0.60,0.62,0.64,0.66,0.68,0.70,0.72,0.74,0.75";
constexpr std::string_view kBetaRows030 =
    "0.0,0.30,0.32,0.34,0.36,0.38,0.40,0.42,0.44,0.46,0.48,0.50,0.52,0.54,0.56,0.58,0.60,0.62,0.64,0.66,"
    "0.68,0.70,0.72,0.74,0.76,0.78,0.80";
constexpr std::string_view kBetaRows020 =
    "0.0,0.20,0.22,0.24,0.26,0.28,0.30,0.32,0.34,0.36,0.38,0.40,0.42,0.44,0.46,0.48,0.50,0.52,0.54,0.56,"
    "0.58,0.60,0.62,0.64,0.66,0.68,0.70,0.72,0.74,0.76,0.78,0.80";
constexpr std::string_view kBetaRowsVenturiNozzle =
    "0.0,0.316,0.320,0.330,0.340,0.350,0.360,0.370,0.380,0.390,0.400,0.410,0.420,0.430,0.440,0.450,0.460,"
    "0.470,0.480,0.490,0.500,0.510,0.520,0.530,0.540,0.550,0.560,0.570,0.580,0.590,0.600,0.610,0.620,0.630,"
    "0.640,0.650,0.660,0.670,0.680,0.690,0.700,0.710,0.720,0.730,0.740,0.750,0.760,0.770,0.775";
constexpr std::string_view kHwPfRows =
    ",0.0,0.1,0.2,0.3,0.4,0.5,0.6,0.7,0.8,0.9,1.0,1.1,1.2,1.3,1.4,1.5,1.6,1.7,1.8,1.9,2.0,2.1,2.2,2.3,2.4,"
    "2.5,2.6,2.7,2.8,2.9,3.0,3.1,3.2,3.3,3.4,3.5,3.6,3.7,3.8,3.9,4.0";
constexpr std::string_view kAgaBetaLow = "hw/Pf \\ beta, 0.1,0.20,0.30,0.40,0.45,0.50,0.52,0.54,0.56,0.58,0.60,0.61,0.62";
constexpr std::string_view kAgaBetaHigh = "hw/Pf \\ beta, 0.63,0.64,0.65,0.66,0.67,0.68,0.69,0.70,0.71,0.72,0.73,0.74,0.75";

const std::array<Selection, kSelectionCount> kSelections = {{
    {"AGA-3(1991, 2012) part 1 Discharge Coefficients (table 1-B-1..1-B-11)", CellKind::Coefficient,
     MeterType::Orf_RGc, kBetaRows002,
     "beta \\ Re,4000.0,10000.0,50000.0,100000.0,500000.0,1.0E6,5.0E6,10.0E6,50.0E6,100.0E6"},
    {"ISO 5167-2:2003 Orifice Discharge Coefficients (Annex A p 29..39)", CellKind::Coefficient,
     MeterType::Orf_ISO, kBetaRows010,
     "beta \\ Re,5.0E3,1.0E4,2.0E4,3.0E4,4.0E4,5.0E4,7.0E4,1.0E5,3.0E5,1.0E6,1.0E7,1.0E8,9.9E99,"},
    {"ISO 5167-3:2003 ISA 1932 Nozzle Discharge Coefficients (Annex A p 26)", CellKind::Coefficient,
     MeterType::Noz_ISA, kBetaRows030, "beta \\ Re,2.0E4,3.0E4,5.0E4,7.0E4,1.0E5,3.0E5,1.0E6,2.0E6,1.0E7,"},
    {"ISO 5167-3:2003 Long Radius Nozzle Discharge Coefficients (Annex A p 27)", CellKind::Coefficient,
     MeterType::Noz_LR, kBetaRows020, "beta \\ Re,1.0E4,2.0E4,5.0E4,1.0E5,2.0E5,5.0E5,1.0E6,5.0E6,1.0E7,"},
    {"ISO 5167-3:2003 Venturi Nozzle Discharge Coefficients (Annex A p 28)", CellKind::Coefficient,
     MeterType::Vent_Noz, kBetaRowsVenturiNozzle, "beta \\ Cd,1.0"},
    {"ISO 5167-2:2003 Orifice Expansibility Factors (Annex A p 40)", CellKind::IsoExpansion, MeterType::Orf_ISO,
     "0.0,0.1000,0.5263,0.6887,0.7401,0.750", "beta \\ p2/p1,0.98,0.96,0.94,0.92,0.90,0.85,0.80,0.75"},
    {"ISO 5167-3:2003 Nozzle Expansibility Factors (Annex A p 29)", CellKind::IsoExpansion, MeterType::Noz_ISA,
     "0.0,0.200,0.5623,0.6887,0.7401,0.7953,0.800", "beta \\ p2/p1, 1.00,0.98,0.96,0.94,0.92,0.90,0.85,0.80,0.75"},
    {"<reserved A.G.A. Report No. 8 -- Detail method>", CellKind::Reserved, MeterType::Mtr_Other, "", ""},
    {"<reserved A.G.A. Report No. 8 -- Gross method 1 (GHC) table B.6-3>", CellKind::Reserved,
     MeterType::Mtr_Other, "", ""},
    {"<reserved A.G.A. Report No. 8 -- Gross method 2 (GCN) table B.6-4>", CellKind::Reserved,
     MeterType::Mtr_Other, "", ""},
    {"AGA-3(1991) Expansion Factor table 3-B-6 -- beta 0.1 to 0.62", CellKind::AgaExpansion, MeterType::Orf_RG,
     kHwPfRows, kAgaBetaLow},
    {"AGA-3(1991) Expansion Factor table 3-B-6 -- beta 0.63 to 0.75", CellKind::AgaExpansion, MeterType::Orf_RG,
     kHwPfRows, kAgaBetaHigh},
    {"AGA-3(2012) Expansion Factor -- beta 0.1 to 0.62", CellKind::AgaExpansion, MeterType::Orf_AGA, kHwPfRows,
     kAgaBetaLow},
    {"AGA-3(2012) Expansion Factor -- beta 0.63 to 0.75", CellKind::AgaExpansion, MeterType::Orf_AGA, kHwPfRows,
     kAgaBetaHigh},
    {"<reserved Alberta ERCB Directive 17 -- cases 1 through 7>", CellKind::Reserved, MeterType::Mtr_Other, "",
     ""},
}};

constexpr std::string_view kSelectionList =
    "AGA-3(1991, 2012) part 1 Discharge Coefficients (table 1-B-1..1-B-11)|"
    "ISO 5167-2:2003 Orifice Discharge Coefficients (Annex A p 29..39)|"
    "ISO 5167-3:2003 ISA 1932 Nozzle Discharge Coefficients (Annex A p 26)|"
    "ISO 5167-3:2003 Long Radius Nozzle Discharge Coefficients (Annex A p 27)|"
    "ISO 5167-3:2003 Venturi Nozzle Discharge Coefficients (Annex A p 28)|"
    "ISO 5167-2:2003 Orifice Expansibility Factors (Annex A p 40)|"
    "ISO 5167-3:2003 Nozzle Expansibility Factors (Annex A p 29)|"
    "<reserved A.G.A. Report No. 8 -- Detail method>|"
    "<reserved A.G.A. Report No. 8 -- Gross method 1 (GHC) table B.6-3>|"
    "<reserved A.G.A. Report No. 8 -- Gross method 2 (GCN) table B.6-4>|"
    "AGA-3(1991) Expansion Factor table 3-B-6 -- beta 0.1 to 0.62|"
    "AGA-3(1991) Expansion Factor table 3-B-6 -- beta 0.63 to 0.75|"
    "AGA-3(2012) Expansion Factor -- beta 0.1 to 0.62|"
    "AGA-3(2012) Expansion Factor -- beta 0.63 to 0.75|"
    "<reserved Alberta ERCB Directive 17 -- cases 1 through 7>|";

constexpr std::string_view kRoundingList =
    "None (full precision)|Symmetric|Unbiased|API absolute|API relative|Truncate|";
constexpr std::string_view kTappingList = "Corner|Flange|D and D/2|";
constexpr std::string_view kAgaDiameters =
    "1.939 in|2.9 in|3.826 in|5.761 in|7.625 in|9.562 in|11.374 in|14.688 in|19.000 in|23.000 in|29.000 in|";
constexpr std::string_view kIsoDiameters = "50 mm|75 mm|100 mm|150 mm|200 mm|250 mm|375 mm|760 mm|1000 mm|";

// Longest axis text item; the stored axes are far shorter.
constexpr int kMaxAxisItems = 200;

[[noreturn]] void InternalSelectionError() { Raise(kModule, "FillTable() invalid selection 0", 0); }

std::string Item(std::string_view list, int index) {
  bool last = false;
  std::string item;
  FE::GetItem(last, index, "|", list, item);
  return item;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto end = text.find_last_not_of(' ');
  return std::string(text.substr(first, end - first + 1));
}

// The items of an axis text after its first (corner or placeholder) item; empty
// items (a trailing comma) are skipped. An item that is not a number is an
// internal error of the stored table.
void ParseAxis(std::string_view text, std::vector<std::string>& labels, std::vector<double>& values,
               std::string* first) {
  labels.clear();
  values.clear();
  if (text.empty()) return;
  for (int i = 0; i < kMaxAxisItems; ++i) {
    bool last = false;
    std::string item;
    FE::GetItem(last, i, ",", text, item);
    if (i == 0) {
      if (first != nullptr) *first = item;
    } else {
      std::string label = Trimmed(item);
      if (!label.empty()) {
        double x = 0.0;
        if (!FE::StrToReal(label, x)) InternalSelectionError();
        labels.push_back(std::move(label));
        values.push_back(x);
      }
    }
    if (last) return;
  }
  InternalSelectionError();
}

}  // namespace

const Selection& GetSelection(int selection) {
  if (selection < 0 || selection >= kSelectionCount) Raise(kModule, "FillTable() invalid selection 1", 1);
  return kSelections[static_cast<std::size_t>(selection)];
}

bool IsReserved(int selection) noexcept {
  return selection >= 0 && selection < kSelectionCount &&
         kSelections[static_cast<std::size_t>(selection)].kind == CellKind::Reserved;
}

std::string_view SelectionList() noexcept { return kSelectionList; }

// ---- rounding ----------------------------------------------------------------------

std::string_view RoundingList() noexcept { return kRoundingList; }

std::string_view RoundingName(Rounding method) noexcept {
  static const std::array<std::string_view, kRoundingCount> names = {
      "None (full precision)", "Symmetric", "Unbiased", "API absolute", "API relative", "Truncate"};
  const auto i = static_cast<std::size_t>(method);
  return i < names.size() ? names[i] : names[0];
}

double RoundValue(Rounding method, double value, double quantum) {
  switch (method) {
    case Rounding::None:
      return value;
    case Rounding::Symmetric:
      return Numerics::RoundSymmetric(value, quantum);
    case Rounding::Unbiased:
      return Numerics::RoundUnbiased(value, quantum);
    case Rounding::ApiAbsolute: {
      double v = value;
      Numerics::RoundInPlace(v, quantum);
      return v;
    }
    case Rounding::ApiRelative:
      return Numerics::RoundRelative(value, quantum);
    case Rounding::Truncate:
      return Numerics::RoundTruncate(value, quantum);
  }
  return value;
}

int Decimals(double quantum) noexcept {
  if (!(quantum > 0.0) || !std::isfinite(quantum)) return 1;
  // A product within a rounding error of 1 counts as 1 (a decimal quantum such as
  // 1e-9 is not exact in binary); the count stops at 20 places.
  int places = 0;
  double q = quantum;
  do {
    q *= 10.0;
    ++places;
  } while (!(q > 1.0 + 1e-12) && places < 20);
  return places;
}

std::string CellText(Rounding method, double quantum, double value) {
  if (method == Rounding::None) return FE::FmtToString("%r", value);
  std::string text;
  FE::RealToFixed(text, Decimals(quantum), RoundValue(method, value, quantum));
  return text;
}

// ---- inputs --------------------------------------------------------------------------

std::string_view TappingList() noexcept { return kTappingList; }

std::string_view TappingName(DP0::TapType tap) noexcept {
  switch (tap) {
    case DP0::TapType::Corner:
      return "Corner";
    case DP0::TapType::Flange:
      return "Flange";
    case DP0::TapType::DandD2:
      return "D and D/2";
  }
  return "Corner";
}

std::string_view AgaDiameterList() noexcept { return kAgaDiameters; }
std::string_view IsoDiameterList() noexcept { return kIsoDiameters; }

std::string_view DiameterList(int selection) {
  (void)GetSelection(selection);
  if (selection == 0) return kAgaDiameters;
  if (selection == 1) return kIsoDiameters;
  return {};
}

bool ParseValueUnit(std::string_view text, std::string_view siUnit, double& value) {
  const std::string t = Trimmed(text);
  const auto blank = t.find(' ');
  if (blank == std::string::npos) return false;
  const std::string number = t.substr(0, blank);
  const std::string unit = Trimmed(std::string_view(t).substr(blank));
  double x = 0.0;
  if (unit.empty() || !FE::StrToReal(number, x) || !std::isfinite(x)) return false;
  FUM::UnitErrors errors = 0;
  double si = 0.0;
  try {
    FUM::uConvertBetween(errors, siUnit, si, unit, x);
  } catch (const Error&) {
    return false;
  }
  if (errors != 0 || !std::isfinite(si)) return false;
  value = si;
  return true;
}

bool SetRoundTo(TableOptions& options, std::string_view text) {
  double q = 0.0;
  if (!FE::StrToReal(Trimmed(text), q) || !(q > 0.0) || !std::isfinite(q)) return false;
  options.round_to = Trimmed(text);
  options.quantum = q;
  return true;
}

bool SetKappa(TableOptions& options, std::string_view text) {
  double k = 0.0;
  if (!FE::StrToReal(Trimmed(text), k) || !(k > 0.0) || !std::isfinite(k)) return false;
  options.kappa_text = Trimmed(text);
  options.kappa = k;
  return true;
}

bool SetDiameter(TableOptions& options, std::string_view text) {
  double d = 0.0;
  if (!ParseValueUnit(text, "m", d) || !(d > 0.0)) return false;
  options.diameter_text = Trimmed(text);
  options.diameter = d;
  return true;
}

// ---- cells ---------------------------------------------------------------------------

Axes GetAxes(int selection) {
  const Selection& s = GetSelection(selection);
  Axes axes;
  ParseAxis(s.columns, axes.column_labels, axes.columns, &axes.corner);
  ParseAxis(s.rows, axes.row_labels, axes.rows, nullptr);
  return axes;
}

double EffectiveDiameter(int selection, const TableOptions& options, std::string* text) {
  const std::string_view list = DiameterList(selection);
  if (!options.diameter_text.empty() && options.diameter > 0.0) {
    if (text != nullptr) *text = options.diameter_text;
    return options.diameter;
  }
  if (list.empty()) {
    if (text != nullptr) text->clear();
    return 0.0;
  }
  const std::string first = Item(list, 0);
  double d = 0.0;
  if (!ParseValueUnit(first, "m", d)) InternalSelectionError();
  if (text != nullptr) *text = first;
  return d;
}

namespace {

double Cell(const Selection& s, double row, double column, double diameter, const TableOptions& options) {
  switch (s.kind) {
    case CellKind::Coefficient: {
      // Tabulated for a unit pipe unless the equation takes the diameter; the
      // flow-dependent inputs of the AGA procedure are not used by these types.
      const double D = diameter > 0.0 ? diameter : 1.0;
      DP0::CoefParams p;
      p.type = s.meter;
      p.beta = row;
      p.ReD = column;
      p.Red = row > 0.0 ? column / row : column;
      p.Dt = p.Dref = D;
      p.dt = p.dref = row * D;
      p.tap = static_cast<std::uint8_t>(options.tap);
      DP0::CoefFlags flags = 0;
      return DP0::DischargeCoefficient(p, flags);
    }
    case CellKind::IsoExpansion:
      return DP0::GasExpansion(0, s.meter, kP1, kP1 - kP1 * column, options.kappa, 1.0, row);
    case CellKind::AgaExpansion:
      return DP0::GasExpansion(0, s.meter, kP1, kP1 * row / kInH2OPerPsi, options.kappa, 1.0, column);
    case CellKind::Reserved:
      break;
  }
  InternalSelectionError();
}

}  // namespace

double CellValue(int selection, double row, double column, const TableOptions& options) {
  const Selection& s = GetSelection(selection);
  return Cell(s, row, column, EffectiveDiameter(selection, options), options);
}

TableData FillTable(int selection, const TableOptions& options) {
  const Selection& s = GetSelection(selection);
  TableData t;
  t.selection = selection;
  t.title = std::string(s.text);
  t.axes = GetAxes(selection);
  if (s.kind == CellKind::Reserved) return t;
  const double D = EffectiveDiameter(selection, options);
  const std::size_t n = t.axes.rows.size() * t.axes.columns.size();
  t.values.reserve(n);
  t.rounded.reserve(n);
  t.texts.reserve(n);
  for (double row : t.axes.rows) {
    for (double column : t.axes.columns) {
      const double v = Cell(s, row, column, D, options);
      t.values.push_back(v);
      t.rounded.push_back(RoundValue(options.rounding, v, options.quantum));
      t.texts.push_back(CellText(options.rounding, options.quantum, v));
    }
  }
  FE::FmtToTerminal("\n FillTable %i rows %u", selection, static_cast<unsigned>(t.axes.rows.size()));
  return t;
}

void FillGrid(Grid& grid, int selection, const TableOptions& options) {
  for (auto& line : grid) line.fill(std::string(kEmptyCell));
  const TableData t = FillTable(selection, options);
  if (t.axes.columns.empty()) return;
  // Whatever does not fit the grid is left out (every stored table fits).
  const std::size_t columns = std::min(t.axes.columns.size(), kGridColumns - 1);
  const std::size_t rows = std::min(t.axes.rows.size(), kGridRows - 1);
  grid[0][0] = t.axes.corner;
  for (std::size_t j = 0; j < columns; ++j) grid[0][j + 1] = t.axes.column_labels[j];
  for (std::size_t i = 0; i < rows; ++i) {
    grid[i + 1][0] = t.axes.row_labels[i];
    for (std::size_t j = 0; j < columns; ++j) grid[i + 1][j + 1] = t.texts[t.Index(i, j)];
  }
}

// ---- file ----------------------------------------------------------------------------

std::string IOselect(int selection) {
  if (selection < 0 || selection >= kSelectionCount) Raise(kModule, "IOselect() invalid selection 1", 1);
  return FE::FmtToString("table_%u", static_cast<unsigned>(selection));
}

std::string TableFileText(int selection, const TableOptions& options) {
  const Selection& s = GetSelection(selection);
  const TableData t = FillTable(selection, options);
  std::string date;
  FE::DateStr(date);
  std::string diameter;
  (void)EffectiveDiameter(selection, options, &diameter);
  std::string text;
  text += FE::FmtToString("Date,%s", date);
  text += FE::FmtToString("\\nTable,%s", s.text);
  text += FE::FmtToString("\\nRounding,%s", RoundingName(options.rounding));
  text += FE::FmtToString("\\nRound to,%s", options.round_to);
  text += FE::FmtToString("\\nTappings,%s", TappingName(options.tap));
  text += FE::FmtToString("\\nInside diameter,%s", diameter);
  text += FE::FmtToString("\\nIsentropic exponent,%s", options.kappa_text);
  // The column line ends its own line so that the first row starts on the next.
  text += FE::FmtToString("\\n%s\\n", s.columns);
  for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
    text += t.axes.row_labels[i];
    text += ',';
    for (std::size_t j = 0; j < t.axes.columns.size(); ++j) {
      text += t.texts[t.Index(i, j)];
      text += ',';
    }
    text += "\r\n";
  }
  return text;
}

void WriteTableFile(const std::string& path, int selection, const TableOptions& options) {
  const std::string text = TableFileText(selection, options);
  if (path.empty()) Raise(kModule, "FillTable() file not written", 2);
  // The shared writer replaces a file whole or not at all and names the system's reason.
  const std::string why = FileSave::Replace(path, text);
  if (!why.empty()) Raise(kModule, "FillTable() file not written: " + why, 2);
}

}  // namespace qmx::Tables
