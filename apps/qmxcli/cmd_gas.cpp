// qmxcli gas: natural-gas mixture properties. Creates a mix with the given method, composition
// (a preset, 21 AGA-8 fractions or a 29-component slate) or gross characteristics, updates it
// and prints every section by tag name in SI units.
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command.hpp"
#include "gas/components.hpp"
#include "gas/gas0.hpp"
#include "gas/gas1.hpp"
#include "json_out.hpp"

namespace {

namespace G0 = qmx::GAS0;
namespace G1 = qmx::GAS1;

struct GasArgs {
  std::string method, source, hmethod, preset, x, tbase, pbase, t, p;
  std::string gr, hs, co2, n2, h2, co;
};

// A code given by name (in a comma-terminated list) or by number 0..count-1.
int ParseCode(const std::string& text, std::string_view list, int count, const std::string& what) {
  const int byName = G0::ListIndex(list, text, -1);
  if (byName >= 0) return byName;
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos && text.size() <= 3) {
    const int v = std::stoi(text);
    if (v < count) return v;
  }
  throw qmx::cli::UsageError(what + ": unknown name or code \"" + text + "\"");
}

std::vector<double> ParseList(const std::string& text, const std::string& what) {
  std::vector<double> v;
  std::stringstream ss(text);
  std::string item;
  while (std::getline(ss, item, ',')) {
    if (v.size() > 64) break;
    v.push_back(qmx::cli::ParseNumber(item, what));
  }
  return v;
}

nlohmann::json Section(const double* values, int first, int last) {
  nlohmann::json s = nlohmann::json::object();
  for (int tag = first; tag <= last; ++tag) s[std::string(G0::TagName(tag))] = values[tag - first];
  return s;
}

void Run(const GasArgs& a) {
  G1::InstallStandardMethods();
  if (a.method.empty()) throw qmx::cli::UsageError("gas: --method is required");
  const int method = ParseCode(a.method, G0::kZMethodNames, G0::kZMethodCount, "--method");
  if ((a.t.empty()) != (a.p.empty())) throw qmx::cli::UsageError("gas: --T and --P go together");
  if (!a.preset.empty() && !a.x.empty()) throw qmx::cli::UsageError("gas: give --preset or --x, not both");

  std::array<double, G0::kComponents> slate{};
  bool haveSlate = false;
  if (!a.preset.empty()) {
    const double v = qmx::cli::ParseNumber(a.preset, "--preset");
    if (!(v >= 0 && v < G1::kNPresets) || v != std::floor(v)) {
      throw qmx::cli::UsageError("--preset: expected 0 to 15, got \"" + a.preset + "\"");
    }
    const auto& x = G1::kPresets[static_cast<std::size_t>(v)].x;
    for (std::size_t i = 0; i < x.size(); ++i) slate[i] = x[i];
    haveSlate = true;
  } else if (!a.x.empty()) {
    const std::vector<double> v = ParseList(a.x, "--x");
    if (v.size() != 21 && v.size() != 29) {
      throw qmx::cli::UsageError("--x: expected 21 or 29 values, got " + std::to_string(v.size()));
    }
    // A mixture needs amounts: no negative or non-finite entry, and a positive, finite sum.
    double sum = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (!(v[i] >= 0.0) || !std::isfinite(v[i])) {
        throw qmx::cli::UsageError("--x: entry " + std::to_string(i + 1) + " is negative or not a finite number");
      }
      sum += v[i];
      slate[i] = v[i];
    }
    if (!(sum > 0.0) || !std::isfinite(sum)) {
      throw qmx::cli::UsageError("--x: the fractions must have a positive, finite sum");
    }
    haveSlate = true;
  }

  G0::GMix mix = G1::NewMix(method, 0, "qmxcli");
  if (!a.source.empty()) {
    G1::MixSetDataSource(mix, ParseCode(a.source, G0::kDataSourceNames, G0::kDataSourceCount, "--source"));
  }
  if (!a.hmethod.empty()) {
    G1::MixSetHMethod(mix, ParseCode(a.hmethod, G0::kHMethodNames, G0::kHMethodCount, "--hmethod"));
  }
  if (!a.tbase.empty()) G1::MixSetTbase(mix, qmx::cli::ParseNumber(a.tbase, "--tbase"));
  if (!a.pbase.empty()) G1::MixSetPbase(mix, qmx::cli::ParseNumber(a.pbase, "--pbase"));
  if (haveSlate) G1::MixSetSlate(mix, slate);
  if (!a.gr.empty()) G1::MixSetGr(mix, qmx::cli::ParseNumber(a.gr, "--gr"));
  if (!a.hs.empty()) G1::MixSetHs(mix, qmx::cli::ParseNumber(a.hs, "--hs"));
  if (!a.co2.empty()) G1::MixSetCO2(mix, qmx::cli::ParseNumber(a.co2, "--co2"));
  if (!a.n2.empty()) G1::MixSetN2(mix, qmx::cli::ParseNumber(a.n2, "--n2"));
  if (!a.h2.empty()) G1::MixSetH2(mix, qmx::cli::ParseNumber(a.h2, "--h2"));
  if (!a.co.empty()) G1::MixSetCO(mix, qmx::cli::ParseNumber(a.co, "--co"));
  G1::MixUpdate(mix);

  G0::Omens omens = 0;
  const bool flowing = !a.t.empty();
  if (flowing) {
    const double T = qmx::cli::ParseNumber(a.t, "--T");
    const double P = qmx::cli::ParseNumber(a.p, "--P");
    omens = G1::MixGetFlowing(mix, G0::Z, P, T).omens;
  } else {
    omens = G1::MixGetBase(mix, G0::Z).omens;
  }
  const G0::MixRecord& m = G0::Checked(mix, "qmxcli gas");
  nlohmann::json out;
  out["method"] = std::string(G0::ListItem(G0::kZMethodNames, m.zMethod));
  out["source"] = std::string(G0::ListItem(G0::kDataSourceNames, m.dataSource));
  out["hmethod"] = std::string(G0::ListItem(G0::kHMethodNames, m.hMethod));
  out["IDEAL"] = Section(m.ideal.data(), 0, 7);
  out["AIR"] = Section(m.air.data(), 17, 23);
  out["BASE"] = Section(m.base.data(), 17, 23);
  out["NORMAL"] = Section(m.normal.data(), 17, 23);
  out["SREF"] = Section(m.sref.data(), 37, 41);
  out["HEAT"] = Section(m.heat.data(), 17, 36);
  out["GROSS"] = Section(m.gross.data(), 42, 50);
  if (flowing) out["FLOWING"] = Section(m.flowing.data(), 17, 23);
  out["THERMO"] = Section(m.thermo.data(), 8, 18);
  out["omens"] = omens;
  out["omens_text"] = G1::MixOmensText(omens);
  qmx::cli::PrintJson(out);
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("gas", "Natural gas mixture properties");
  auto a = std::make_shared<GasArgs>();
  sub->add_option("--method", a->method, "Z method, name or code");
  sub->add_option("--source", a->source, "Gas data source, name or code");
  sub->add_option("--hmethod", a->hmethod, "Heating-value method, name or code");
  sub->add_option("--preset", a->preset, "Preset composition 0..15");
  sub->add_option("--x", a->x,
                  "Mole fractions: 21 (AGA-8 order) or 29 (component order), comma-separated; none negative, "
                  "positive sum");
  sub->add_option("--tbase", a->tbase, "Base temperature, K");
  sub->add_option("--pbase", a->pbase, "Base pressure, Pa");
  sub->add_option("--T", a->t, "Flowing temperature, K");
  sub->add_option("--P", a->p, "Flowing pressure, Pa");
  sub->add_option("--gr", a->gr, "Relative density (SGERG methods)");
  sub->add_option("--hs", a->hs, "Superior heating value, J/m3 (SGERG methods)");
  sub->add_option("--co2", a->co2, "Carbon dioxide fraction (SGERG methods)");
  sub->add_option("--n2", a->n2, "Nitrogen fraction (SGERG methods)");
  sub->add_option("--h2", a->h2, "Hydrogen fraction (SGERG methods)");
  sub->add_option("--co", a->co, "Carbon monoxide fraction (SGERG methods)");
  sub->callback([a] { Run(*a); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
