// qmxcli calc [KEY=VALUE ...]: the calculator without a window. Starts from Reset, applies each
// pair in order as the page edit would (same setter or field entry, same dependent update),
// calculates and prints {"selections", "inputs", "results", "warning", "beep"}. A VALUE is a
// number in SI (a fraction for a dimensionless field) or a number and a unit ("12 kpa"); an
// unknown key or a refused value is a usage error and nothing is calculated.
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/qmxcalc.hpp"
#include "gas/gas1.hpp"
#include "calc_keys.hpp"
#include "command.hpp"
#include "json_out.hpp"
#include "meters/dp0.hpp"
#include "numerics/error.hpp"
#include "uncertainty_keys.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"

namespace {

using namespace qmx;
using QMXcalc::DV;
using QMXcalc::RV;
using QMXcalc::State;

const std::array<std::pair<std::string_view, DV State::*>, 22> kDvResults = {{
    {"mass_flow", &State::massFlow},
    {"std_volume_flow", &State::stdVolumeFlow},
    {"actual_volume_flow", &State::actualVolumeFlow},
    {"energy_flow", &State::energyFlow},
    {"throat_diameter_flowing", &State::throatDiameterFlowing},
    {"pipe_diameter_flowing", &State::pipeDiameterFlowing},
    {"pressure_loss", &State::pressureLoss},
    {"pipe_velocity", &State::pipeVelocity},
    {"molar_density", &State::molarDensity},
    {"molar_mass", &State::molarMass},
    {"molar_heating_value", &State::molarHeatingValue},
    {"mass_heating_value", &State::massHeatingValue},
    {"volumetric_heating_value", &State::volumetricHeatingValue},
    {"viscosity", &State::viscosity},
    {"critical_pressure", &State::criticalPressure},
    {"critical_temperature", &State::criticalTemperature},
    {"density_flowing", &State::densityFlowing},
    {"density_base", &State::densityBase},
    {"sat_liquid_density", &State::satLiquidDensity},
    {"water_density_base", &State::waterDensityBase},
    {"reference_enthalpy", &State::referenceEnthalpy},
    {"enthalpy", &State::enthalpy},
}};

const std::array<std::pair<std::string_view, RV State::*>, 12> kRvResults = {{
    {"z_flowing", &State::zFlowing},
    {"z_base", &State::zBase},
    {"isentropic_exponent", &State::isentropicExponent},
    {"relative_density", &State::relativeDensity},
    {"cd", &State::cd},
    {"reynolds", &State::reynolds},
    {"expansion_factor", &State::expansionFactor},
    {"beta_flowing", &State::betaFlowing},
    {"velocity_of_approach", &State::velocityOfApproach},
    {"mach", &State::mach},
    {"liquid_correction_factor", &State::liquidCorrectionFactor},
    {"spare", &State::spare},
}};

// A result the last run's fluid does not compute has no value: null, shown as "--".
nlohmann::json DvJson(const FUM::DVal& dv) {
  std::string text, unit;
  FUM::uDVgetValStr(text, dv);
  FUM::uDVgetUnits(unit, dv);
  if (!QMXcalc::ResultValid(dv)) return {{"si", nullptr}, {"text", "--"}, {"unit", unit}};
  return {{"si", FUM::uDVgetMKS(dv)}, {"text", text}, {"unit", unit}};
}

nlohmann::json RvJson(const FI::RVal& rv) {
  std::string text;
  FI::RVgetValStr(text, rv);
  if (!QMXcalc::ResultValid(rv)) return {{"value", nullptr}, {"text", "--"}};
  return {{"value", FI::RVgetLReal(rv)}, {"text", text}};
}

void Run(std::vector<std::string> pairs, bool withUncertainty, const std::string& units) {
  // The u.* input uncertainties go to the uncertainty budget, not to the state.
  Uncertainty::Inputs uncertaintyInputs;
  double temperaturePct = -1.0;
  if (cli::TakeUncertaintyKeys(pairs, uncertaintyInputs, temperaturePct) && !withUncertainty) {
    throw cli::UsageError("u.*: input uncertainties are given with --uncertainty");
  }
  const std::vector<std::string> unitPairs = cli::TakeUnitKeys(pairs);
  cli::CalculateWith(pairs);
  cli::ApplyDisplayUnits(units, unitPairs);

  State& s = QMXcalc::Calc();
  int nonDP = 0;
  const int meter = QMXcalc::GetMeter(nonDP);
  nlohmann::json selections = {
      {"fluid", QMXcalc::GetFluid()},
      {"meter", meter},
      {"meter_key", std::string(DP0::DeviceKey(static_cast<DP0::MeterType>(meter)))},
      {"non_dp_method", nonDP},
      {"taps", QMXcalc::GetTaps()},
      {"tube_material", QMXcalc::GetTubeMaterial()},
      {"throat_material", QMXcalc::GetThroatMaterial()},
      {"probe_model", QMXcalc::GetProbeModel()},
      {"liquid_product", QMXcalc::GetLiquidProduct()},
      {"heating_value_table", QMXcalc::GetHeatingValueTable()},
      {"energy_method", QMXcalc::GetEnergyMethod()}};
  nlohmann::json inputs = nlohmann::json::object();
  for (const cli::DvKey& k : cli::DvInputKeys()) inputs[std::string(k.key)] = DvJson(*(s.*k.field));
  for (const cli::RvKey& k : cli::RvInputKeys()) inputs[std::string(k.key)] = RvJson(*(s.*k.field));
  const auto headerKeys = cli::HeaderKeys();
  for (std::size_t i = 0; i < headerKeys.size(); ++i) {
    inputs[std::string(headerKeys[i])] = QMXcalc::GetHeaderText(static_cast<int>(i));
  }
  // The entered composition in mole percent as the Mole fractions page shows it, with its total.
  const auto components = cli::ComponentKeys();
  std::string total, fraction;
  for (std::size_t i = 0; i < components.size(); ++i) {
    QMXcalc::GetComponentText(total, fraction, static_cast<int>(i));
    FE::RemoveChars(" ", fraction);
    inputs["x." + std::string(components[i])] = {
        {"value", GAS1::MixGetX(s.detailMix, static_cast<int>(i), 0)}, {"text", fraction}};
  }
  FE::RemoveChars(" ", total);
  inputs["x.total"] = {{"value", GAS1::MixSumX(s.detailMix, 1)}, {"text", total}};
  // The composition as entered, before it is normalised to 100 %.
  const double entered = GAS1::MixSumX(s.detailMix, 0);
  std::string enteredText;
  FE::LONGREALtoStr(enteredText, 6, entered * 100.0);
  FE::RemoveChars(" ", enteredText);
  inputs["x.entered_total"] = {{"value", entered}, {"text", enteredText}};
  nlohmann::json results = nlohmann::json::object();
  for (const auto& [key, field] : kDvResults) results[std::string(key)] = DvJson(*(s.*field));
  for (const auto& [key, field] : kRvResults) results[std::string(key)] = RvJson(*(s.*field));
  nlohmann::json out = {{"selections", selections},
                        {"inputs", inputs},
                        {"results", results},
                        {"warning", QMXcalc::MeterWarning()},
                        {"beep", QMXcalc::LastRunBeeped()}};
  if (withUncertainty) {
    cli::ResolveTemperature(uncertaintyInputs, temperaturePct);
    out["uncertainty"] = cli::UncertaintyJson(Uncertainty::Evaluate(uncertaintyInputs));
  }
  cli::PrintJson(out);
}

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("calc", "Calculate from the defaults with KEY=VALUE changes");
  auto pairs = std::make_shared<std::vector<std::string>>();
  auto withUncertainty = std::make_shared<bool>(false);
  auto units = std::make_shared<std::string>();
  sub->add_option("PAIRS", *pairs, "KEY=VALUE changes, applied in order");
  sub->add_option("--units", *units, "Display units of the unit system: si, common, mks or us");
  sub->add_flag("--uncertainty", *withUncertainty, "Add the uncertainty budget of the flows (u.KEY=VALUE inputs)");
  sub->footer(cli::KeysHelp() +
              "\nResults the fluid does not compute are null with the text \"--\"; x.entered_total is the"
              "\ncomposition as entered, x.total after normalising to 100 %.\n" +
              cli::DisplayUnitsHelp() + "\n" + cli::UncertaintyHelp());
  sub->callback([pairs, withUncertainty, units] { Run(*pairs, *withUncertainty, *units); });
}

}  // namespace

QMXCLI_COMMAND(Setup)
