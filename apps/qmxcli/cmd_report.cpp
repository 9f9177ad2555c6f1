// qmxcli report [--csv] [--save | --out PATH] [KEY=VALUE ...]: the flow report of the
// calculated state. The KEY=VALUE changes are those of calc. Without --save or --out the
// report goes to stdout; --save writes it as the Flow page does (the comma-separated report
// in the documents folder, or the print file for the text form); --out writes it to PATH.
// After writing a file, {"path": ...} is printed.
// --pdf PATH [--paper letter|a4] [--layout 0..4] lays the text report out as printed pages
// into a PDF (no display needed) and prints {"path": ..., "sheets": n}.
// --uncertainty [u.KEY=VALUE ...] adds the uncertainty block to the text report.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/qmxreport.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "json_out.hpp"
#include "numerics/error.hpp"
#include "reports/filesave.hpp"
#include "reports/report.hpp"
#include "ui/print/job.hpp"
#include "ui/print/offscreen.hpp"
#include "uncertainty_keys.hpp"

namespace {

using namespace qmx;

struct Options {
  bool csv = false;
  bool save = false;
  std::string out;
  std::vector<std::string> pairs;
  std::string pdf;
  std::string paper = "letter";
  int layout = 0;
  bool uncertainty = false;
  std::string units;
};

// The text report through the print engine into a PDF, as the Flow page prints it.
unsigned WritePdf(const std::string& text, const Options& o) {
  const auto app = Print::EnsureGuiApplication();
  Print::PrintRequest request;
  request.paper = (o.paper == "a4" || o.paper == "A4") ? Print::kA4 : Print::kLetter;
  request.layout = o.layout;
  Print::JobHost host;
  const Print::JobResult result = Print::SaveTextPdf(text, o.pdf, request, host);
  if (result.outcome != Print::Outcome::Printed) {
    Raise(Print::kModule, Print::FailureText(result.code), result.code);
  }
  return result.sheets;
}

std::string CurrentReport(bool csv) {
  Report::ReportData data;
  QMXcalc::FillReport(data);
  return Report::ReportText(csv, data);
}

void Run(Options o) {
  // The u.* input uncertainties go to the uncertainty block, not to the state.
  Uncertainty::Inputs uncertaintyInputs;
  double temperaturePct = -1.0;
  if (cli::TakeUncertaintyKeys(o.pairs, uncertaintyInputs, temperaturePct) && !o.uncertainty) {
    throw cli::UsageError("u.*: input uncertainties are given with --uncertainty");
  }
  if (o.uncertainty && o.csv) throw cli::UsageError("--uncertainty: the uncertainty block is in the text report only");
  const std::vector<std::string> unitPairs = cli::TakeUnitKeys(o.pairs);
  cli::CalculateWith(o.pairs);
  cli::ApplyDisplayUnits(o.units, unitPairs);
  std::string block;
  if (o.uncertainty) {
    cli::ResolveTemperature(uncertaintyInputs, temperaturePct);
    block = Uncertainty::ReportBlock(Uncertainty::Evaluate(uncertaintyInputs));
  }
  if (!o.pdf.empty()) {
    const unsigned sheets = WritePdf(CurrentReport(false) + block, o);
    cli::PrintJson({{"path", o.pdf}, {"sheets", sheets}});
    return;
  }
  if (!o.save && o.out.empty()) {
    std::cout << CurrentReport(o.csv) << block;
    return;
  }
  std::string path = o.out;
  if (o.save && o.csv) {
    // A new report for every save: the name is claimed when the file is written.
    Report::GetCSVpath(path);
    QMXcalc::SaveNewReport(o.csv, path);
    cli::PrintJson({{"path", path}});
    return;
  }
  if (o.save) Report::GetPrintPath(path);
  if (block.empty()) {
    QMXcalc::SaveReport(o.csv, path);
  } else {
    // The report with its uncertainty block is written whole, as one file, or not at all.
    const std::string why = FileSave::Replace(path, CurrentReport(false) + block);
    if (!why.empty()) throw cli::CommandFailure("SaveReport() error: " + why);
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
  auto* pdf = sub->add_option("--pdf", o->pdf, "Write the text report as printed pages into this PDF file");
  sub->add_option("--paper", o->paper, "Paper of the PDF: letter (default) or a4")
      ->check(CLI::IsMember({"letter", "a4"}, CLI::ignore_case))
      ->needs(pdf);
  sub->add_option("--layout", o->layout, "Page layout of the PDF, 0 (default) to 4")
      ->check(CLI::Range(0, 4))
      ->needs(pdf);
  pdf->excludes(save)->excludes(out);
  auto* csv = sub->get_option("--csv");
  pdf->excludes(csv);
  sub->add_flag("--uncertainty", o->uncertainty, "Add the uncertainty block (text form; u.KEY=VALUE inputs)");
  sub->add_option("--units", o->units, "Display units of the unit system: si, common, mks or us");
  sub->add_option("PAIRS", o->pairs, "KEY=VALUE changes, applied in order");
  sub->footer(cli::KeysHelp() + "\n" + cli::DisplayUnitsHelp() + "\n" + cli::UncertaintyHelp());
  sub->callback([o, out, pdf] {
    if (out->count() > 0 && o->out.empty()) throw cli::UsageError("--out: empty path");
    if (pdf->count() > 0 && o->pdf.empty()) throw cli::UsageError("--pdf: empty path");
    Run(*o);
  });
}

}  // namespace

QMXCLI_COMMAND(Setup)
