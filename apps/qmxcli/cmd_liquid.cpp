// qmxcli liquid: API MPMS 11.1 correction of a hydrocarbon liquid from its base state to the
// flowing state. qmxcli liquid-viscosity: the estimated viscosity of a crude-oil-like liquid.
#include <memory>
#include <string>

#include "command.hpp"
#include "json_out.hpp"
#include "liquids/estimate.hpp"
#include "liquids/mpms1.hpp"

namespace {

struct LiquidArgs {
  std::string product, rhoBase, tBase, t, p, alpha60 = "0";
};

struct ViscosityArgs {
  std::string t, rho, gor = "0";
};

qmx::MPMS1::ApiProduct ParseProduct(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '5') {
    throw qmx::cli::UsageError("--product: expected 0 to 5, got \"" + text + "\"");
  }
  return static_cast<qmx::MPMS1::ApiProduct>(text[0] - '0');
}

void RunLiquid(const LiquidArgs& a) {
  using namespace qmx::MPMS1;
  const ApiProduct product = ParseProduct(a.product);
  const double rhoBase = qmx::cli::ParseNumber(a.rhoBase, "--rho-base");
  const double tBase = qmx::cli::ParseNumber(a.tBase, "--T-base");
  const double t = qmx::cli::ParseNumber(a.t, "--T");
  const double p = qmx::cli::ParseNumber(a.p, "--P");
  double alpha60 = qmx::cli::ParseNumber(a.alpha60, "--alpha60");
  ApiFlags flags = 0;
  double ctpl = 0, cpl = 0, ctl = 0, density = 0;
  ApiLiquidFactors(flags, ctpl, cpl, ctl, density, alpha60, p, t, tBase, rhoBase, product);
  qmx::cli::PrintJson({{"ctpl", ctpl},
                       {"cpl", cpl},
                       {"ctl", ctl},
                       {"density", density},
                       {"alpha60", alpha60},
                       {"flags", flags},
                       {"flag_text", ApiFlagText(flags)}});
}

void RunViscosity(const ViscosityArgs& a) {
  const double t = qmx::cli::ParseNumber(a.t, "--T");
  const double rho = qmx::cli::ParseNumber(a.rho, "--rho");
  const double gor = qmx::cli::ParseNumber(a.gor, "--gor");
  qmx::LIQ::EstimateFlags flags = 0;
  const double mu = qmx::LIQ::EstimateViscosity(flags, gor, t, rho);
  qmx::cli::PrintJson({{"viscosity", mu}, {"flags", flags}, {"flag_text", qmx::LIQ::EstimateFlagText(flags)}});
}

void Setup(CLI::App& app) {
  auto liquid = std::make_shared<LiquidArgs>();
  auto* sub = app.add_subcommand("liquid", "API MPMS 11.1-2004 correction of a hydrocarbon liquid");
  sub->add_option("--product", liquid->product, "commodity group 0..5")->required();
  sub->add_option("--rho-base", liquid->rhoBase, "base density, kg/m3")->required();
  sub->add_option("--T-base", liquid->tBase, "base temperature, K")->required();
  sub->add_option("--T", liquid->t, "flowing temperature, K")->required();
  sub->add_option("--P", liquid->p, "flowing pressure, Pa gauge")->required();
  sub->add_option("--alpha60", liquid->alpha60, "thermal expansion coefficient at 60 F, 1/K (product 3)");
  sub->callback([liquid] { RunLiquid(*liquid); });

  auto visc = std::make_shared<ViscosityArgs>();
  auto* vsub = app.add_subcommand("liquid-viscosity", "Estimated viscosity of a crude-oil-like liquid");
  vsub->add_option("--T", visc->t, "temperature, K")->required();
  vsub->add_option("--rho", visc->rho, "density, kg/m3")->required();
  vsub->add_option("--gor", visc->gor, "solution gas-oil ratio, m3/m3");
  vsub->callback([visc] { RunViscosity(*visc); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
