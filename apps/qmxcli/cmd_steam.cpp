// qmxcli steam: water and steam properties by IAPWS-IF97.
//   steam --P Pa --T K [--band n]   single-phase state (region, density, enthalpy, ...)
//   steam --sat-P Pa | --sat-T K     saturated liquid and vapour
#include <cmath>
#include <string>

#include "command.hpp"
#include "json_out.hpp"
#include "steam/if97.hpp"

namespace {

struct SteamArgs {
  std::string p;
  std::string t;
  std::string band;
  std::string satP;
  std::string satT;
};

int ParseBand(const std::string& text) {
  const double v = qmx::cli::ParseNumber(text, "--band");
  if (!(std::fabs(v) <= 1e6) || v != std::floor(v)) {
    throw qmx::cli::UsageError("--band: not a whole number of at most 1000000: \"" + text + "\"");
  }
  return static_cast<int>(v);
}

nlohmann::json Phase(double rho, double h, double mu) {
  return {{"density", rho}, {"enthalpy", h}, {"viscosity", mu}};
}

void Run(const SteamArgs& a) {
  using namespace qmx;
  const bool single = !a.p.empty() || !a.t.empty() || !a.band.empty();
  const int modes = (single ? 1 : 0) + (a.satP.empty() ? 0 : 1) + (a.satT.empty() ? 0 : 1);
  if (modes != 1) throw cli::UsageError("steam: give --P and --T, or --sat-P, or --sat-T");
  if (single) {
    if (a.p.empty() || a.t.empty()) throw cli::UsageError("steam: --P and --T are both needed");
    const double P = cli::ParseNumber(a.p, "--P");
    const double T = cli::ParseNumber(a.t, "--T");
    const int band = a.band.empty() ? 0 : ParseBand(a.band);
    const IF97::Phase1 s = IF97::S1phase_TP(band, P, T);
    nlohmann::json out = {{"region", s.region}};
    if (s.region != IF97::kRegionNone) {
      out["density"] = s.density;
      out["enthalpy"] = s.enthalpy;
      out["isentropic_exponent"] = s.exponent;
      out["viscosity"] = s.viscosity;
    }
    cli::PrintJson(out);
    return;
  }
  IF97::SatState s;
  nlohmann::json out;
  if (!a.satP.empty()) {
    out["ok"] = IF97::SatByP(cli::ParseNumber(a.satP, "--sat-P"), s);
    out["Tsat"] = s.T;
  } else {
    out["ok"] = IF97::SatByT(cli::ParseNumber(a.satT, "--sat-T"), s);
    out["Psat"] = s.P;
  }
  out["liquid"] = Phase(s.rhoL, s.hL, s.muL);
  out["vapour"] = Phase(s.rhoV, s.hV, s.muV);
  out["isentropic_exponent"] = s.exponent;
  cli::PrintJson(out);
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("steam", "Water and steam properties (IAPWS-IF97)");
  auto args = std::make_shared<SteamArgs>();
  sub->add_option("--P", args->p, "Pressure, Pa");
  sub->add_option("--T", args->t, "Temperature, K");
  sub->add_option("--band", args->band, "Two-phase band around saturation, in steps of 34 Pa");
  sub->add_option("--sat-P", args->satP, "Saturation at this pressure, Pa");
  sub->add_option("--sat-T", args->satT, "Saturation at this temperature, K");
  sub->callback([args] { Run(*args); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
