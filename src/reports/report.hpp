#pragma once
// The flow report: a fixed-layout document of the calculation written as a text
// file (for printing) or a comma-separated file (for spreadsheets). The content
// comes from a plain record of display texts so that any caller can fill it.
#include <string>
#include <string_view>
#include <vector>

namespace qmx::Report {

inline constexpr std::string_view kModule = "QMXreport";
inline constexpr std::string_view kVersion = "b 0.1.2.2";

// Fluid codes of the calculation state.
enum class Fluid { Gas = 0, Steam = 1, GCN = 2, Liquid = 3, HCLiquid = 4, DrySteam = 5, TestFluid = 6 };

// A dimensioned value as shown: its display text and display unit.
struct Quantity {
  std::string text;
  std::string unit;
};

// Entered mole percentages, as displayed.
struct Composition {
  std::string c1, n2, co2, c2, c3, nc4, ic4, nc5, ic5, nc6, nc7, nc8, h2, o2, co, h2o, he, ar;
};

// The meter's standard as the meter catalogue names it.
struct Standard {
  std::string committee, title, part_title, publisher, address, edition;
};

// Everything the report prints. Values are display texts; nothing is computed here.
struct ReportData {
  // header
  std::string company, location, well, meter_tag, prepared_by;
  // selections
  Fluid fluid = Fluid::Gas;
  bool turbine = false;       // gas turbine read by its K factor
  int liquid_product = 0;     // 0 crude oil, 1 refined products, 2 lubricating oil, 3 special products
  std::string meter_family;   // DeviceFamilyName of the meter
  std::string tube_material, throat_material;
  Standard standard;
  std::string heating_value_table, energy_method;
  // flow results
  Quantity std_volume_flow, mass_flow, actual_volume_flow;
  std::string gcn_relative_density, gcn_co2, gcn_n2;
  std::string liquid_relative_density;
  Quantity base_density;
  // measurement data
  std::string frequency;
  Quantity dp, gauge_pressure, absolute_pressure, flowing_temperature;
  // reference conditions
  Quantity base_pressure, base_temperature, atmospheric_pressure;
  // flow meter
  Quantity pipe_diameter, pipe_ref_temperature, throat_diameter, throat_ref_temperature;
  std::string beta;
  // gas by composition
  Composition x;
  std::string relative_density, z_flowing, z_base, isentropic_exponent;
  Quantity density_flowing, density_base, viscosity, molar_density, molar_mass;
  Quantity mass_heating_value, volumetric_heating_value, molar_heating_value;
  // flow audit
  Quantity k_factor, pipe_diameter_flowing, throat_diameter_flowing, pipe_velocity;
  std::string beta_flowing, cd, reynolds, expansion_factor, velocity_of_approach;
  // the meter-warning text of the calculation (empty when it left none)
  std::string warnings;
};

// Width of the warning text on one report line; a longer text continues on further lines.
inline constexpr std::size_t kWarningWidth = 76;

// The warning text in pieces of at most `width` characters, each ending at a comma or blank
// where one is near, so that no flag text is cut; nothing of the text is lost.
std::vector<std::string> WrapWarning(std::string_view text, std::size_t width = kWarningWidth);

// One formatted line in the report's form, without its line end. Text form: every
// run of two or more blanks loses one blank. Comma-separated form: runs of two or
// more blanks separate fields, a single trailing blank is dropped, and a field
// holding a comma or starting with a double quote is quoted (quotes doubled).
std::string ConvertLine(bool csv, std::string_view line);

// The whole report in the chosen form; the header date comes from FE's clock.
std::string ReportText(bool csv, const ReportData& data);

// Path of the print file "print.txt" in the application-data folder; raises
// "GetPrintPath() error: <reason>" (1) when the folder cannot be found, created or written.
void GetPrintPath(std::string& path);
// Path of a new comma-separated report "QMX_Report_<stamp>.csv" in the documents
// folder: the first of that name, "_2", "_3", ... that does not exist yet. Raises
// "GetCSVpath() error: <reason>" (1) when the folder cannot be found, created or written.
void GetCSVpath(std::string& path);

// Writes the report to path. A regular file (also one reached through symbolic
// links) is replaced whole or not at all through a temporary file in its folder
// and keeps its permissions; a new file gets 0666 less the umask; a device or
// FIFO is written directly; a folder is refused. Raises "SaveReport() error:
// <reason>" (0), naming the path and the system's cause, when the file cannot be
// written; the earlier file then stays as it was and nothing is left behind.
void SaveReport(bool csv, const std::string& path, const ReportData& data);

// Writes the report as a new file: under path, or the next free name "_2", "_3", ...
// when another save took it first (the name is claimed atomically; a numbered name of
// GetCSVpath is numbered on from its base name); path receives the name used. Raises
// as SaveReport.
void SaveNewReport(bool csv, std::string& path, const ReportData& data);

}  // namespace qmx::Report
