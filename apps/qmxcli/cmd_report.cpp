// qmxcli report [--csv] [--save | --out PATH] [KEY=VALUE ...]: the flow report of the
// calculated state. The KEY=VALUE changes are those of calc. Without --save or --out the
// report goes to stdout; --save writes it as the Flow page does (the comma-separated report
// in the documents folder, or the print file for the text form); --out writes it to PATH.
// After writing a file, {"path": ...} is printed.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/qmxreport.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "json_out.hpp"
#include "reports/report.hpp"
#include "uncertainty_keys.hpp"

namespace {

using namespace qmx;

struct Options {
  bool csv = false;
  bool save = false;
  std::string out;
  std::vector<std::string> pairs;
  bool uncertainty = false;
};

void Run(Options o) {
  // The u.* input uncertainties go to the uncertainty block, not to the state.
  Uncertainty::Inputs uncertaintyInputs;
  double temperaturePct = -1.0;
  if (cli::TakeUncertaintyKeys(o.pairs, uncertaintyInputs, temperaturePct) && !o.uncertainty) {
    throw cli::UsageError("u.*: input uncertainties are given with --uncertainty");
  }
  if (o.uncertainty && o.csv) throw cli::UsageError("--uncertainty: the uncertainty block is in the text report only");
  cli::CalculateWith(o.pairs);
  std::string block;
  if (o.uncertainty) {
    cli::ResolveTemperature(uncertaintyInputs, temperaturePct);
    block = Uncertainty::ReportBlock(Uncertainty::Evaluate(uncertaintyInputs));
  }
  if (!o.save && o.out.empty()) {
    Report::ReportData data;
    QMXcalc::FillReport(data);
    std::cout << Report::ReportText(o.csv, data) << block;
    return;
  }
  std::string path = o.out;
  if (o.save) {
    if (o.csv) {
      Report::GetCSVpath(path);
    } else {
      Report::GetPrintPath(path);
    }
  }
  QMXcalc::SaveReport(o.csv, path);
  if (!block.empty()) {
    std::ofstream file(path, std::ios::app);
    file << block;
    if (!file) throw cli::CommandFailure("cannot append the uncertainty block to " + path);
  }
  cli::PrintJson({{"path", path}});
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("report", "Flow report of the calculated state");
  auto o = std::make_shared<Options>();
  sub->add_flag("--csv", o->csv, "Comma-separated form instead of text");
  auto* save = sub->add_flag("--save", o->save, "Write to the documents folder (csv) or the print file (text)");
  auto* out = sub->add_option("--out", o->out, "Write the report to this file");
  save->excludes(out);
  sub->add_flag("--uncertainty", o->uncertainty, "Add the uncertainty block (text form; u.KEY=VALUE inputs)");
  sub->add_option("PAIRS", o->pairs, "KEY=VALUE changes, applied in order");
  sub->footer(cli::KeysHelp() + "\n" + cli::UncertaintyHelp());
  sub->callback([o, out] {
    if (out->count() > 0 && o->out.empty()) throw cli::UsageError("--out: empty path");
    Run(*o);
  });
}

}  // namespace

QMXCLI_COMMAND(Setup)
