#pragma once
// Standards tables: the coefficient and expansibility tables of the flow standards
// regenerated from the meter engine's own equations, cell by cell, for the screen
// grid, a comma-separated file or the command line.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "meters/dp0.hpp"

namespace qmx::Tables {

inline constexpr std::string_view kModule = "AuditTable";

// Number of table selections (numbered from 0).
inline constexpr int kSelectionCount = 15;

// What a cell of a table is.
enum class CellKind {
  Coefficient,   // discharge coefficient: row beta, column pipe Reynolds number
  IsoExpansion,  // expansibility: row beta, column p2/p1
  AgaExpansion,  // expansibility: row hw/Pf, column beta
  Reserved,      // no cells
};

// One table selection: its list text, the meter type whose equation fills it and the
// two axes as comma-separated texts. The column text begins with the corner label,
// the row text with a placeholder item; every other non-empty item is a number.
struct Selection {
  std::string_view text;
  CellKind kind = CellKind::Reserved;
  DP0::MeterType meter = DP0::MeterType::Mtr_Other;
  std::string_view rows;
  std::string_view columns;
};

// The selection; raises "FillTable() invalid selection 1" (1) outside 0..14.
const Selection& GetSelection(int selection);
bool IsReserved(int selection) noexcept;
// The 15 list texts, "|"-separated with a trailing "|".
std::string_view SelectionList() noexcept;

// ---- rounding ----------------------------------------------------------------------

enum class Rounding { None = 0, Symmetric = 1, Unbiased = 2, ApiAbsolute = 3, ApiRelative = 4, Truncate = 5 };
inline constexpr int kRoundingCount = 6;
// "None (full precision)|Symmetric|Unbiased|API absolute|API relative|Truncate|"
std::string_view RoundingList() noexcept;
std::string_view RoundingName(Rounding method) noexcept;

// The value rounded to the quantum by the method (None leaves it).
double RoundValue(Rounding method, double value, double quantum);
// Decimal places written for a quantum: the number of times it is multiplied by 10
// until the product exceeds 1 (at least 1, at most 20): 0.0001 gives 5, 0.01 gives 3,
// 0.5 and 1 give 1. A quantum that is not a positive finite number gives 1.
int Decimals(double quantum) noexcept;
// The text of one cell: full precision ("%r") for None, else the rounded value with
// Decimals(quantum) places.
std::string CellText(Rounding method, double quantum, double value);

// ---- inputs of the page --------------------------------------------------------------

// "Corner|Flange|D and D/2|" (TapType order).
std::string_view TappingList() noexcept;
std::string_view TappingName(DP0::TapType tap) noexcept;
// Inside diameters offered for the AGA-3 table (inches) and the ISO 5167-2 table
// (millimetres), "|"-separated with a trailing "|".
std::string_view AgaDiameterList() noexcept;
std::string_view IsoDiameterList() noexcept;
// The diameter list of a selection: AGA for 0, ISO for 1, empty for the others.
std::string_view DiameterList(int selection);

struct TableOptions {
  Rounding rounding = Rounding::None;
  std::string round_to = "0.0001";  // as entered
  double quantum = 0.0001;
  DP0::TapType tap = DP0::TapType::Flange;
  std::string diameter_text;  // "value unit" as entered; empty: the first of the table's list
  double diameter = 0.0;      // m; 0 with an empty text
  std::string kappa_text = "1.66";
  double kappa = 1.66;
};

// Entry setters of the page: each takes the typed text and returns false, leaving the
// options unchanged, when it is refused.
// "Round to": a positive finite number.
bool SetRoundTo(TableOptions& options, std::string_view text);
// Isentropic exponent: a positive finite number.
bool SetKappa(TableOptions& options, std::string_view text);
// Inside diameter as "value unit" ("1.939 in", "50 mm"); a positive finite length.
bool SetDiameter(TableOptions& options, std::string_view text);
// "value unit" text to SI in the dimension of `siUnit` ("m", "Pa", ...).
bool ParseValueUnit(std::string_view text, std::string_view siUnit, double& value);

// ---- cells ---------------------------------------------------------------------------

// The axes of a selection as the table shows them (labels trimmed of blanks).
struct Axes {
  std::string corner;
  std::vector<std::string> row_labels;
  std::vector<double> rows;
  std::vector<std::string> column_labels;
  std::vector<double> columns;
};
// Empty axes for a reserved selection; raises as GetSelection.
Axes GetAxes(int selection);

// Inside diameter (m) and its text used for a selection with these options.
double EffectiveDiameter(int selection, const TableOptions& options, std::string* text = nullptr);

// The unrounded value of one cell: `row` and `column` are axis values of the selection.
// Raises "FillTable() invalid selection 0" (0) for a reserved selection.
double CellValue(int selection, double row, double column, const TableOptions& options);

// A whole table: values row-major (rows.size() x columns.size()), their texts as
// rounded and the rounded numbers.
struct TableData {
  int selection = 0;
  std::string title;
  Axes axes;
  std::vector<double> values;
  std::vector<double> rounded;
  std::vector<std::string> texts;
  std::size_t Index(std::size_t row, std::size_t column) const noexcept {
    return row * axes.columns.size() + column;
  }
};
TableData FillTable(int selection, const TableOptions& options);

// The screen grid: 51 rows by 15 columns. Row 0 holds the corner and the column
// labels, each further row its label and cells; every other cell is " -- ".
inline constexpr std::size_t kGridRows = 51;
inline constexpr std::size_t kGridColumns = 15;
inline constexpr std::string_view kEmptyCell = " -- ";
using Grid = std::array<std::array<std::string, kGridColumns>, kGridRows>;
void FillGrid(Grid& grid, int selection, const TableOptions& options);

// ---- file ----------------------------------------------------------------------------

// Proposed file name of a selection, "table_N"; raises "IOselect() invalid selection 1" (1)
// outside 0..14.
std::string IOselect(int selection);
// The comma-separated file: the header lines (date, table, rounding, round to, tappings,
// inside diameter, isentropic exponent), the column text, then one line per row. Lines
// end with CR LF.
std::string TableFileText(int selection, const TableOptions& options);
// Writes TableFileText to `path`, replacing a file there whole or not at all (a failed write
// leaves the earlier file). Raises "FillTable() file not written: <reason>" (2) on failure.
void WriteTableFile(const std::string& path, int selection, const TableOptions& options);

}  // namespace qmx::Tables
