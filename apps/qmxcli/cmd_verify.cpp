// qmxcli verify: runs the published verification data installed with the program through its
// engines and reports, per source, the cases, the worst deviation and pass or fail (exit 1 on a
// failure), so that an installation can be checked before it is trusted.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "app/verify.hpp"
#include "command.hpp"
#include "json_out.hpp"

namespace {

namespace fs = std::filesystem;

struct VerifyArgs {
  std::string data;
  bool json = false;
};

// The folder of the running program ("" when the system does not tell).
fs::path ExeDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

fs::path DataDir(const VerifyArgs& a) {
  std::error_code ec;
  if (!a.data.empty()) {
    if (!fs::is_directory(a.data, ec)) throw qmx::cli::UsageError("--data: no folder \"" + a.data + "\"");
    return a.data;
  }
  for (const fs::path& dir : qmx::VERIFY::DataCandidates(ExeDir())) {
    if (fs::is_directory(dir, ec)) return dir.lexically_normal();
  }
  throw qmx::cli::CommandFailure("verify: no data folder found beside the program; give --data DIR");
}

// A deviation as text: "inf" when a case gave no result.
std::string Deviation(double v) {
  if (!std::isfinite(v)) return "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", v);
  return text;
}

void Run(const VerifyArgs& a) {
  const fs::path dir = DataDir(a);
  const auto results = qmx::VERIFY::RunAll(dir);
  bool pass = true;
  for (const auto& r : results) pass = pass && r.pass;
  if (a.json) {
    nlohmann::json out;
    out["pass"] = pass;
    out["sources"] = nlohmann::json::array();
    for (const auto& r : results) {
      nlohmann::json s;
      s["name"] = r.name;
      s["cases"] = r.cases;
      s["worst"] = r.worst;  // null when a case gave no result
      s["tolerance"] = r.tolerance;
      s["pass"] = r.pass;
      if (!r.error.empty()) s["error"] = r.error;
      out["sources"].push_back(s);
    }
    qmx::cli::PrintJson(out);
  } else {
    std::cout << "data: " << dir.string() << "\n"
              << "deviations in units of the last digit compared\n";
    for (const auto& r : results) {
      char line[160];
      std::snprintf(line, sizeof line, "%-40s %5d cases  worst %-8s tolerance %-4s %s", r.name.c_str(), r.cases,
                    Deviation(r.worst).c_str(), Deviation(r.tolerance).c_str(), r.pass ? "pass" : "FAIL");
      std::cout << line;
      if (!r.error.empty()) std::cout << "  (" << r.error << ")";
      std::cout << '\n';
    }
    std::cout << (pass ? "pass" : "FAIL") << '\n';
  }
  std::cout.flush();
  if (!pass) throw qmx::cli::CommandFailure("verify: a source failed");
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand(
      "verify", "Check the installed program against the published verification data it ships with");
  auto a = std::make_shared<VerifyArgs>();
  sub->add_option("--data", a->data,
                  "Data folder (default: ../share/qmx/data beside the program, then the build tree's data)");
  sub->add_flag("--json", a->json, "JSON output: {\"pass\", \"sources\": [{name, cases, worst, tolerance, pass}]}");
  sub->callback([a] { Run(*a); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
