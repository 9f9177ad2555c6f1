#include "reports/report.hpp"

#include <algorithm>
#include <array>
#include <filesystem>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "numerics/error.hpp"
#include "reports/filesave.hpp"
#include "reports/userdir.hpp"
#include "units/fe.hpp"

namespace qmx::Report {
namespace {

// Numbers "_2" ... of comma-separated reports saved within one second.
constexpr int kMaxReportNumber = 1000;

// Line end of every report line; the formatter's "\n" also writes CR LF.
constexpr std::string_view kEol = "\r\n";

// RFC 4180: a field holding a comma, a double quote or a line break is quoted,
// its quotes doubled.
std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

// A value text stands in a formatted line as a placeholder: the marker, its index
// digit, the marker. It holds no blank, so the line's own blank runs decide the
// fields, and the text goes in whole after the conversion.
constexpr char kMark = '\x01';

// Replaces the placeholders of s by their texts; a broken placeholder is dropped.
std::string Insert(std::string_view s, std::span<const std::string> texts) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != kMark) {
      out.push_back(s[i]);
      continue;
    }
    if (i + 2 < s.size() && s[i + 2] == kMark) {
      const std::size_t k = static_cast<std::size_t>(s[i + 1] - '0');
      if (k < texts.size()) out += texts[k];
      i += 2;
    }
  }
  return out;
}

// One line piece between line breaks in the comma-separated form.
std::string CsvSegment(std::string_view s, std::span<const std::string> texts) {
  std::vector<std::string> fields(1);
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    if (s[i] != ' ') {
      fields.back().push_back(s[i++]);
      continue;
    }
    std::size_t j = i;
    while (j < n && s[j] == ' ') ++j;
    if (j - i >= 2) {
      fields.emplace_back();
    } else if (j < n) {
      fields.back().push_back(' ');
    }
    i = j;
  }
  std::string out;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) out.push_back(',');
    out += CsvField(Insert(fields[k], texts));
  }
  return out;
}

// The conversion of ConvertLine, with value texts held as placeholders.
std::string Convert(bool csv, std::string_view line, std::span<const std::string> texts) {
  if (!csv) {
    std::string text(line);
    FE::ShrinkBlankRuns(text);
    return Insert(text, texts);
  }
  std::string out;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = line.size();
    out += CsvSegment(line.substr(start, end - start), texts);
    if (end == line.size()) break;
    out.push_back(line[end]);
    start = end + 1;
  }
  return out;
}

// A user's text (a header line) that goes into the report exactly as entered.
struct Whole {
  std::string_view text;
};

class Writer {
 public:
  explicit Writer(bool csv) : csv_(csv) {}

  // A formatted line: formatted, converted to the form, written with a line end.
  // A Whole argument stays as it is: its blanks neither split a field nor shrink.
  template <class... A>
  void Line(std::string_view format, const A&... args) {
    Texts texts, marks;
    FormatLine(format, texts, marks, std::index_sequence_for<A...>{}, args...);
  }
  // A plain line: written unchanged in both forms.
  void Plain(std::string_view text) {
    out_ += text;
    out_ += kEol;
  }
  void Separator() {
    if (!csv_) Plain(std::string(100, '_'));
  }
  std::string Take() { return std::move(out_); }

 private:
  using Texts = std::array<std::string, FE::kMaxFormatArgs>;

  template <std::size_t... I, class... A>
  void FormatLine(std::string_view format, Texts& texts, Texts& marks, std::index_sequence<I...>,
                  const A&... args) {
    const std::string line = FE::FmtToString(format, Hold<I>(texts, marks, args)...);
    out_ += Convert(csv_, line, texts);
    out_ += kEol;
  }
  // A whole text becomes placeholder I (an empty text stays empty); others pass as they are.
  template <std::size_t I, class T>
  static decltype(auto) Hold(Texts& texts, Texts& marks, const T& value) {
    if constexpr (std::is_same_v<T, Whole>) {
      if (!value.text.empty()) {
        texts[I] = std::string(value.text);
        marks[I] = {kMark, static_cast<char>('0' + I), kMark};
      }
      return static_cast<const std::string&>(marks[I]);
    } else {
      return (value);
    }
  }

  bool csv_;
  std::string out_;
};

const char* ProductName(int product) {
  switch (product) {
    case 0: return "Crude oil";
    case 1: return "Refined product";
    case 2: return "Lubricating oil";
    case 3: return "Special products";
    default: return "";
  }
}

bool IsGas(Fluid f) { return f == Fluid::Gas || f == Fluid::GCN; }

void FlowResults(Writer& w, const ReportData& d) {
  const Quantity& sv = d.std_volume_flow;
  const Quantity& m = d.mass_flow;
  const Quantity& av = d.actual_volume_flow;
  switch (d.fluid) {
    case Fluid::Gas:
    case Fluid::Liquid:
      w.Plain(d.fluid == Fluid::Gas ? "Natural gas" : "Generic liquid");
      w.Line("    Std. volume flowrate  %s  %s", sv.text, sv.unit);
      w.Line("           Mass flowrate  %s  %s", m.text, m.unit);
      w.Line("  Actual volume flowrate  %s  %s ", av.text, av.unit);
      break;
    case Fluid::GCN:
      w.Line(R"(                        Natural gas  gravity  %s  CO2\%  %s  N2\%  %s)",
             d.gcn_relative_density, d.gcn_co2, d.gcn_n2);
      w.Line("  Std. volume flowrate  %s  %s  Mass flowrate  %s  %s", sv.text, sv.unit, m.text, m.unit);
      w.Line("Actual volume flowrate  %s  %s ", av.text, av.unit);
      break;
    case Fluid::HCLiquid:
      w.Line(R"(%s\n                                 Gravity  %s  density  %s  %s)",
             ProductName(d.liquid_product), d.liquid_relative_density, d.base_density.text,
             d.base_density.unit);
      w.Plain("");
      w.Line("  Std. volume flowrate  %s  %s  Mass flowrate  %s  %s", sv.text, sv.unit, m.text, m.unit);
      w.Line(" Gross volume flowrate  %s  %s ", av.text, av.unit);
      break;
    case Fluid::Steam:
      w.Plain("Saturated steam");
      w.Line("          CWE flowrate  %s  %s", sv.text, sv.unit);
      w.Line("        Mass flowrate   %s   %s", m.text, m.unit);
      w.Line("Actual volume flowrate  %s  %s ", av.text, av.unit);
      break;
    case Fluid::DrySteam:
      w.Plain("Dry steam");
      w.Line("          CWE flowrate  %s  %s", sv.text, sv.unit);
      w.Line("        Mass flowrate   %s  %s", m.text, m.unit);
      w.Line("Actual volume flowrate  %s  %s ", av.text, av.unit);
      break;
    case Fluid::TestFluid:
      break;
  }
}

void FluidData(Writer& w, const ReportData& d) {
  switch (d.fluid) {
    case Fluid::Gas: {
      const Composition& x = d.x;
      w.Plain("Gas composition:");
      w.Line("                      Methane (C1)  %s                Hexane (nC6)  %s", x.c1, x.nc6);
      w.Line("                     Nitrogen (N2)  %s               Heptane (nC7)  %s", x.n2, x.nc7);
      w.Line("               Carbon dioxide(CO2)  %s                Octane (nC8)  %s", x.co2, x.nc8);
      w.Line("                       Ethane (C2)  %s               Hydrogen (H2)  %s", x.c2, x.h2);
      w.Line("                      Propane (C3)  %s                 Oxygen (O2)  %s", x.c3, x.o2);
      w.Line("               Normal butane (nC4)  %s        Carbon monoxide (C))  %s", x.nc4, x.co);
      w.Line("                   Isobutane (iC4)  %s                 Water (H2O)  %s", x.ic4, x.h2o);
      w.Line("             Normal pentane (nC5)  %s                  Helium (He) %s", x.nc5, x.he);
      w.Line("                  Isopentane (iC5)  %s                  Argon (Ar)  %s", x.ic5, x.ar);
      w.Line(R"(\n        Real gas relative density  %s)", d.relative_density);
      // Two blanks after the unit (the text form shows one) so that the comma-separated form
      // keeps the unit and the next label in separate fields.
      w.Line("                 Density, flowing  %s  %s  Compressibility, flowing  %s",
             d.density_flowing.text, d.density_flowing.unit, d.z_flowing);
      w.Line("                    Density, base  %s  %s    Compressibility, base  %s",
             d.density_base.text, d.density_base.unit, d.z_base);
      w.Line("               Absolute viscosity  %s  %s      Isentropic exponent  %s", d.viscosity.text,
             d.viscosity.unit, d.isentropic_exponent);
      w.Line("           Molar density, flowing  %s  %s               Molar mass  %s  %s",
             d.molar_density.text, d.molar_density.unit, d.molar_mass.text, d.molar_mass.unit);
      w.Line("         Mass-basis heating value  %s  %s", d.mass_heating_value.text,
             d.mass_heating_value.unit);
      w.Line("         Volumetric heating value  %s  %s", d.volumetric_heating_value.text,
             d.volumetric_heating_value.unit);
      w.Line("              Molar heating value  %s  %s", d.molar_heating_value.text,
             d.molar_heating_value.unit);
      break;
    }
    case Fluid::Steam:
    case Fluid::DrySteam: w.Plain("Steam conditions:"); break;
    case Fluid::GCN: w.Plain("Natural gas GCN data:"); break;
    case Fluid::Liquid: w.Plain("Liquid data:"); break;
    case Fluid::HCLiquid: w.Plain("Hydrocarbon liquid data:"); break;
    case Fluid::TestFluid: w.Line("FLUID ERROR"); break;
  }
}

// The fluid's references, numbered from 1; returns the number of the next one.
unsigned FluidReferences(Writer& w, const ReportData& d) {
  if (IsGas(d.fluid)) {
    w.Line(R"((1) GPA-2145-08 "Table of Physical Properties for Hydrocarbons and OtherCompounds of Interest \n     to the Natural Gas Industry"; Gas Processors Association, Tulsa OK)");
    w.Line(R"((2) B. E. Poling, J. M. Prausnitz, J. P. O'Connell; "The Properties of Gases and Liquids", fifth edition; McGraw-Hill, New York 2001)");
    w.Line(R"((3) A.G.A. Transmission Measurement Committee; "Compressibility Factors of Natural Gas and Other Related Hydrocarbon Gases"; A.G.A. Report No 8, second printing; American Gas Association, 1994)");
    return 4;
  }
  switch (d.fluid) {
    case Fluid::HCLiquid:
      if (d.liquid_product == 0) {
        w.Line(R"((1) API MPMS Chapter 11.1 previously "Table 54")");
        return 2;
      }
      if (d.liquid_product >= 1 && d.liquid_product <= 3) {
        w.Line(R"((1) API MPMS Chapter 11.1 previously "___")");
        return 2;
      }
      break;
    case Fluid::Steam:
    case Fluid::DrySteam:
      w.Line(R"((1) W. Wagner, A. Kruse; "Properties of Water and Steam: The Industrial Standard IAPWS-IF97 for the Thermodynamic Properties"; Springer-Verlag, Berlin 1998)");
      return 2;
    case Fluid::Liquid:
      w.Line("(1) User-entered density, viscosity, vapour pressure");
      return 2;
    default: break;
  }
  w.Line(R"(\n***FLUID ERROR***\n)");
  return 1;
}

}  // namespace

std::vector<std::string> WrapWarning(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  if (width == 0) width = 1;
  // Each pass takes at least one character, so the loop ends within text.size() passes.
  while (!text.empty()) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) break;
    std::size_t take = text.size();
    if (take > width) {
      // The last comma within the width ends a flag text; failing that the last blank; a word
      // longer than the width is split.
      std::size_t cut = text.substr(0, width).find_last_of(',');
      if (cut == std::string_view::npos) cut = text.substr(0, width + 1).find_last_of(' ');
      take = (cut == std::string_view::npos || cut == 0) ? width : cut + 1;
    }
    std::string line(text.substr(0, take));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(std::move(line));
    text.remove_prefix(take);
  }
  return lines;
}

std::string ConvertLine(bool csv, std::string_view line) { return Convert(csv, line, {}); }

std::string ReportText(bool csv, const ReportData& d) {
  Writer w(csv);
  std::string date;
  FE::DateStr(date);

  w.Line("                         %s", Whole{d.company});
  w.Line("                Location %s", Whole{d.location});
  w.Line("                  Well # %s", Whole{d.well});
  w.Line("              Meter tag# %s", Whole{d.meter_tag});
  w.Line("             Prepared by %s   Date %s", Whole{d.prepared_by}, date);
  w.Separator();
  w.Plain("");

  FlowResults(w, d);
  // A calculation outside the standard's limits must not look clean on paper: its warnings
  // follow the results, whole.
  const std::vector<std::string> warnings = WrapWarning(d.warnings);
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    w.Line(i == 0 ? "              Warnings  %s" : "                        %s", warnings[i]);
  }
  w.Separator();

  w.Plain("");
  w.Plain("Measurement data:");
  if (d.turbine) {
    w.Line("             Frequency  %s  Hz ", d.frequency);
  } else {
    w.Line("          Differential  %s  %s ", d.dp.text, d.dp.unit);
  }
  w.Line("        Inlet pressure  %s  %s  gauge", d.gauge_pressure.text, d.gauge_pressure.unit);
  w.Line("        Inlet pressure  %s  %s  absolute", d.absolute_pressure.text, d.absolute_pressure.unit);
  w.Line("     Inlet temperature  %s  %s", d.flowing_temperature.text, d.flowing_temperature.unit);
  w.Separator();

  w.Plain("Reference conditions:");
  w.Line("         Base pressure  %s  %s      Base temperature  %s  %s", d.base_pressure.text,
         d.base_pressure.unit, d.base_temperature.text, d.base_temperature.unit);
  w.Line("  Atmospheric pressure  %s  %s", d.atmospheric_pressure.text, d.atmospheric_pressure.unit);
  w.Separator();

  w.Plain("Flow meter:");
  if (d.turbine) {
    w.Line("           Meter type  %s", "Gas turbine");
    w.Line("       Pipe diameter  %s  %s  at  %s  %s", d.pipe_diameter.text, d.pipe_diameter.unit,
           d.pipe_ref_temperature.text, d.pipe_ref_temperature.unit);
  } else {
    w.Line("           Meter type  %s", d.meter_family);
    w.Line("        Tube material  %s", d.tube_material);
    w.Line("      Throat material  %s", d.throat_material);
    w.Line("  Meter tube diameter  %s  %s  at  %s  %s", d.pipe_diameter.text, d.pipe_diameter.unit,
           d.pipe_ref_temperature.text, d.pipe_ref_temperature.unit);
    w.Line("      Throat diameter  %s  %s  at  %s  %s", d.throat_diameter.text, d.throat_diameter.unit,
           d.throat_ref_temperature.text, d.throat_ref_temperature.unit);
    w.Line("           Beta ratio  %s", d.beta);
  }
  w.Separator();

  FluidData(w, d);
  w.Separator();

  w.Line(R"(\nFlow audit:)");
  if (d.turbine) {
    w.Line(R"(                 Meter "K" factor  %s  %s )", d.k_factor.text, d.k_factor.unit);
    w.Line("                 Actual flow rate  %s  %s ", d.actual_volume_flow.text,
           d.actual_volume_flow.unit);
  } else {
    const Quantity& t = d.flowing_temperature;
    w.Line("           Meter tube diameter  %s  %s  at  %s  %s", d.pipe_diameter_flowing.text,
           d.pipe_diameter_flowing.unit, t.text, t.unit);
    w.Line("               Throat diameter  %s  %s  at  %s  %s", d.throat_diameter_flowing.text,
           d.throat_diameter_flowing.unit, t.text, t.unit);
    w.Line("                    Beta ratio  %s", d.beta_flowing);
    w.Line("         Discharge coefficient  %s", d.cd);
    w.Line("          Pipe Reynolds Number  %s", d.reynolds);
    w.Line("              Expansion factor  %s", d.expansion_factor);
    w.Line("   Velocity of Approach factor  %s", d.velocity_of_approach);
  }
  w.Line("                    Pipe velocity  %s  %s ", d.pipe_velocity.text, d.pipe_velocity.unit);
  w.Separator();

  w.Line(R"(\nReferences :)");
  unsigned n = FluidReferences(w, d);
  if (d.turbine) {
    w.Line(R"((%u) A.G.A. Transmission Measurement Committee; "Measurement of Natural Gas by \n Turbine Meters"; A.G.A. Report No 7; American Gas Association, 2006)",
           n);
  } else {
    const Standard& s = d.standard;
    w.Line(R"((%u) %s; "%s")", n, s.committee, s.title);
    if (!s.part_title.empty()) w.Line("    %s", s.part_title);
    w.Line("    %s, %s %s", s.publisher, s.address, s.edition);
  }
  w.Line("%s", d.heating_value_table);
  w.Line("%s", d.energy_method);

  w.Separator();
  w.Line(R"(\n  The above information is for advisement purposes only.\n  QMX  %s)", kVersion);
  return w.Take();
}

void GetPrintPath(std::string& path) {
  std::string folder, why;
  if (!UserDir::GetUserFolder(UserDir::kAppData, folder, &why)) {
    path.clear();
    Raise(kModule, "GetPrintPath() error: " + why, 1);
  }
  path = folder + "print.txt";
}

void GetCSVpath(std::string& path) {
  std::string folder, why;
  if (!UserDir::GetUserFolder(UserDir::kDocuments, folder, &why)) {
    path.clear();
    Raise(kModule, "GetCSVpath() error: " + why, 1);
  }
  std::string stamp;
  FE::DateStamp(stamp);
  const std::string base = folder + "QMX_Report_" + stamp;
  std::error_code ec;
  path = base + ".csv";
  // The stamp has a one-second grain and no leading zeros, so two saves can meet
  // on one name; the first free name is proposed (SaveNewReport claims it, and moves
  // on when another save takes it first).
  for (int k = 2; std::filesystem::exists(path, ec); ++k) {
    if (k > kMaxReportNumber) {
      path.clear();
      Raise(kModule, "GetCSVpath() error: every name up to \"" + base + "_" +
                         std::to_string(kMaxReportNumber) + ".csv\" is taken", 1);
    }
    path = base + "_" + std::to_string(k) + ".csv";
  }
}

void SaveReport(bool csv, const std::string& path, const ReportData& data) {
  const std::string why = FileSave::Replace(path, ReportText(csv, data));
  if (!why.empty()) Raise(kModule, "SaveReport() error: " + why, 0);
}

void SaveNewReport(bool csv, std::string& path, const ReportData& data) {
  // A numbered name from GetCSVpath ("QMX_Report_<day>_<time>_3.csv") is numbered on from its
  // base name, so a name taken meanwhile gives "_4" and not "_3_2".
  const std::size_t slash = path.rfind('/');
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  constexpr std::string_view kPrefix = "QMX_Report_";
  if (path.compare(name, kPrefix.size(), kPrefix) == 0 && path.ends_with(".csv") &&
      std::count(path.begin() + static_cast<std::ptrdiff_t>(name), path.end(), '_') == 4) {
    const std::size_t number = path.rfind('_');
    path = path.substr(0, number) + ".csv";
  }
  const std::string why = FileSave::CreateNew(path, ReportText(csv, data), kMaxReportNumber);
  if (!why.empty()) Raise(kModule, "SaveReport() error: " + why, 0);
}

}  // namespace qmx::Report
