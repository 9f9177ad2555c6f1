// The calculation state read into the report record: every value as its display text and
// display unit, the selections as the names the report prints.
#include "app/qmxreport.hpp"

#include <array>
#include <string_view>

#include "app/qmxcalc.hpp"
#include "meters/dp0.hpp"
#include "numerics/error.hpp"
#include "units/fum.hpp"

namespace qmx::QMXcalc {
namespace {

constexpr std::array<std::string_view, 9> kHeatingValueTables = {
    "GPA-2145-2008 US table", "GPA-2145-2008 SI table", "AGA-5 2009",
    "GPA-2145-2003 US table", "GPA-2145-2003 SI table", "GPA-2145-1992 US table",
    "ISO-6976 superior mass basis HV @ 15 C", "ISO-6976 superior molar basis HV @ 25 C",
    "testing only"};
constexpr std::array<std::string_view, 3> kEnergyMethods = {
    "GPA-2172 implemented per AGA-8 (1994) appendix C.4",
    "AGA Report No. 5, per AGA-3 part 3 (1992) appendix F", "AGA Report No. 5 (2009)"};

// A result the last calculation's fluid does not compute is shown as "--".
Report::Quantity Q(const DV& dv) {
  Report::Quantity q;
  FUM::uDVgetValStr(q.text, *dv);
  FUM::uDVgetUnits(q.unit, *dv);
  if (!ResultValid(*dv)) q.text = "--";
  return q;
}

std::string T(const RV& rv) {
  std::string text;
  FI::RVgetValStr(text, *rv);
  if (!ResultValid(*rv)) text = "--";
  return text;
}

// Entered mole percentage of a component (21-component order).
std::string X(int component) {
  std::string total, fraction;
  GetComponentText(total, fraction, component);
  return fraction;
}

}  // namespace

std::string_view HeatingValueTableName(int code) {
  return code >= 0 && code < static_cast<int>(kHeatingValueTables.size())
             ? kHeatingValueTables[static_cast<std::size_t>(code)]
             : std::string_view{};
}

std::string_view EnergyMethodName(int code) {
  return code >= 0 && code < static_cast<int>(kEnergyMethods.size())
             ? kEnergyMethods[static_cast<std::size_t>(code)]
             : std::string_view{};
}

void FillReport(Report::ReportData& d) {
  State& s = Calc();
  d = Report::ReportData{};
  d.company = GetHeaderText(0);
  d.prepared_by = GetHeaderText(1);
  d.location = GetHeaderText(2);
  d.well = GetHeaderText(3);
  d.meter_tag = GetHeaderText(4);

  d.fluid = static_cast<Report::Fluid>(s.fluid <= kTestFluid ? int{s.fluid} : int{kTestFluid});
  const auto meter = static_cast<DP0::MeterType>(s.meter);
  d.turbine = meter == DP0::MeterType::Mtr_Other && s.nonDPmethod == 1;
  d.liquid_product = s.liquidProduct;
  d.meter_family = std::string(DP0::DeviceFamilyName(meter));
  d.tube_material = std::string(DP0::MaterialName(static_cast<DP0::Material>(s.tubeMaterial), true));
  d.throat_material = std::string(DP0::MaterialName(static_cast<DP0::Material>(s.throatMaterial), true));
  d.standard = {std::string(DP0::StandardCommittee(meter)), std::string(DP0::StandardTitle(meter)),
                std::string(DP0::StandardPartTitle(meter)), std::string(DP0::StandardPublisher(meter)),
                std::string(DP0::StandardAddress(meter)),   std::string(DP0::StandardEdition(meter))};
  d.heating_value_table = std::string(HeatingValueTableName(GetHeatingValueTable()));
  d.energy_method = std::string(EnergyMethodName(GetEnergyMethod()));

  d.std_volume_flow = Q(s.stdVolumeFlow);
  d.mass_flow = Q(s.massFlow);
  d.actual_volume_flow = Q(s.actualVolumeFlow);
  d.gcn_relative_density = T(s.gcnRelativeDensity);
  d.gcn_co2 = T(s.gcnCO2);
  d.gcn_n2 = T(s.gcnN2);
  d.liquid_relative_density = T(s.liquidRelativeDensity);
  d.base_density = Q(s.baseDensity);

  d.frequency = T(s.frequency);
  d.dp = Q(s.dp);
  d.gauge_pressure = Q(s.staticPressure);
  d.absolute_pressure = Q(s.upstreamPressure);
  d.flowing_temperature = Q(s.flowingTemperature);
  d.base_pressure = Q(s.basePressure);
  d.base_temperature = Q(s.baseTemperature);
  d.atmospheric_pressure = Q(s.atmosphericPressure);

  d.pipe_diameter = Q(s.pipeDiameter);
  d.pipe_ref_temperature = Q(s.pipeRefTemperature);
  d.throat_diameter = Q(s.throatDiameter);
  d.throat_ref_temperature = Q(s.throatRefTemperature);
  d.beta = T(s.beta);

  d.x = {X(0),  X(1),  X(2),  X(3),  X(4),  X(11), X(10), X(13), X(12),
         X(14), X(15), X(16), X(7),  X(9),  X(8),  X(5),  X(19), X(20)};
  d.relative_density = T(s.relativeDensity);
  d.z_flowing = T(s.zFlowing);
  d.z_base = T(s.zBase);
  d.isentropic_exponent = T(s.isentropicExponent);
  d.density_flowing = Q(s.densityFlowing);
  d.density_base = Q(s.densityBase);
  d.viscosity = Q(s.viscosity);
  d.molar_density = Q(s.molarDensity);
  d.molar_mass = Q(s.molarMass);
  d.mass_heating_value = Q(s.massHeatingValue);
  d.volumetric_heating_value = Q(s.volumetricHeatingValue);
  d.molar_heating_value = Q(s.molarHeatingValue);

  d.k_factor = Q(s.kFactor);
  d.pipe_diameter_flowing = Q(s.pipeDiameterFlowing);
  d.throat_diameter_flowing = Q(s.throatDiameterFlowing);
  d.pipe_velocity = Q(s.pipeVelocity);
  d.beta_flowing = T(s.betaFlowing);
  d.cd = T(s.cd);
  d.reynolds = T(s.reynolds);
  d.expansion_factor = T(s.expansionFactor);
  d.velocity_of_approach = T(s.velocityOfApproach);
  d.warnings = MeterWarning();
}

void SaveReport(bool csv, const std::string& path) {
  Report::ReportData data;
  FillReport(data);
  Report::SaveReport(csv, path, data);
}

void SaveNewReport(bool csv, std::string& path) {
  Report::ReportData data;
  FillReport(data);
  Report::SaveNewReport(csv, path, data);
}

}  // namespace qmx::QMXcalc
