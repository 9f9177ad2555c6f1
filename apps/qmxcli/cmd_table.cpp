// qmxcli table N [--rounding 0..5] [--round-to Q] [--taps corner|flange|d-d2]
// [--diameter "VALUE UNIT"] [--kappa K] [--csv] [--out PATH]: a standards table
// regenerated from the meter equations. JSON by default; --csv prints the
// comma-separated file form; --out writes that file to PATH and prints {"path": ...}.
#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <string>

#include "command.hpp"
#include "json_out.hpp"
#include "numerics/error.hpp"
#include "reports/tables.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx;

struct Options {
  std::string selection;
  int rounding = 0;
  std::string round_to = "0.0001";
  std::string taps = "flange";
  std::string diameter;
  std::string kappa = "1.66";
  bool csv = false;
  std::string out;
};

int ParseSelection(const std::string& text) {
  std::int64_t n = 0;
  if (!FE::StrToInt(text, n)) throw cli::UsageError("table: not a table number: \"" + text + "\"");
  // An out-of-range number is refused with the table module's own message.
  const int selection = n < 0 ? -1 : (n >= Tables::kSelectionCount ? Tables::kSelectionCount : static_cast<int>(n));
  try {
    (void)Tables::GetSelection(selection);
  } catch (const Error& e) {
    throw cli::UsageError(e.message());
  }
  return selection;
}

// A cell as shown: the full-precision number when unrounded, the rounded text
// (its places kept) otherwise; a value that is not finite is shown as its text.
nlohmann::json CellJson(const Tables::TableData& t, std::size_t index, Tables::Rounding rounding) {
  const double v = t.values[index];
  if (rounding == Tables::Rounding::None && std::isfinite(v)) return v;
  return t.texts[index];
}

void Run(const Options& o) {
  const int selection = ParseSelection(o.selection);
  Tables::TableOptions options;
  options.rounding = static_cast<Tables::Rounding>(o.rounding);
  if (!Tables::SetRoundTo(options, o.round_to)) {
    throw cli::UsageError("--round-to: not a positive number: \"" + o.round_to + "\"");
  }
  if (!Tables::SetKappa(options, o.kappa)) {
    throw cli::UsageError("--kappa: not a positive number: \"" + o.kappa + "\"");
  }
  options.tap = o.taps == "corner"  ? DP0::TapType::Corner
                : o.taps == "d-d2" ? DP0::TapType::DandD2
                                    : DP0::TapType::Flange;
  if (!o.diameter.empty() && !Tables::SetDiameter(options, o.diameter)) {
    throw cli::UsageError("--diameter: not a positive length as \"value unit\": \"" + o.diameter + "\"");
  }

  if (!o.out.empty()) {
    Tables::WriteTableFile(o.out, selection, options);
    cli::PrintJson({{"path", o.out}});
    return;
  }
  if (o.csv) {
    std::cout << Tables::TableFileText(selection, options);
    return;
  }
  const Tables::TableData t = Tables::FillTable(selection, options);
  std::string diameter;
  (void)Tables::EffectiveDiameter(selection, options, &diameter);
  nlohmann::json rows = nlohmann::json::array();
  for (std::size_t i = 0; i < t.axes.rows.size(); ++i) {
    nlohmann::json cells = nlohmann::json::array();
    for (std::size_t j = 0; j < t.axes.columns.size(); ++j) cells.push_back(CellJson(t, t.Index(i, j), options.rounding));
    rows.push_back({{"label", t.axes.row_labels[i]}, {"value", t.axes.rows[i]}, {"cells", std::move(cells)}});
  }
  cli::PrintJson({{"selection", selection},
                  {"title", t.title},
                  {"corner", t.axes.corner},
                  {"columns", t.axes.columns},
                  {"rows", std::move(rows)},
                  {"rounding", Tables::RoundingName(options.rounding)},
                  {"round_to", options.quantum},
                  {"tapping", Tables::TappingName(options.tap)},
                  {"inside_diameter", diameter},
                  {"isentropic_exponent", options.kappa}});
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("table", "Standards table (discharge coefficients, expansibility) by number 0..14");
  auto o = std::make_shared<Options>();
  sub->add_option("N", o->selection, "Table number 0..14 (7, 8, 9 and 14 are reserved: title, no rows)")
      ->required();
  sub->add_option("--rounding", o->rounding,
                  "0 none (full precision), 1 symmetric, 2 unbiased, 3 API absolute, 4 API relative, 5 truncate")
      ->check(CLI::Range(0, Tables::kRoundingCount - 1));
  sub->add_option("--round-to", o->round_to, "Rounding quantum (default 0.0001: 5 decimals)");
  sub->add_option("--taps", o->taps, "Orifice tappings of tables 0 and 1 (default flange)")
      ->check(CLI::IsMember({"corner", "flange", "d-d2"}));
  sub->add_option("--diameter", o->diameter,
                  "Inside diameter of tables 0 and 1 as \"VALUE UNIT\" (default 1.939 in for 0, 50 mm for 1)");
  sub->add_option("--kappa", o->kappa, "Isentropic exponent of the expansibility tables (default 1.66)");
  sub->add_flag("--csv", o->csv, "Print the comma-separated file form instead of JSON");
  auto* out = sub->add_option("--out", o->out, "Write the comma-separated file to PATH");
  sub->callback([o, out] {
    if (out->count() > 0 && o->out.empty()) throw cli::UsageError("--out: empty path");
    Run(*o);
  });
}

}  // namespace

QMXCLI_COMMAND(Setup)
