// The flow report: line conversion of both forms, the layout by fluid and
// meter, the file paths and the all-or-nothing save.
#include "reports/report.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "numerics/error.hpp"
#include "reports/userdir.hpp"
#include "units/fe.hpp"

namespace {

namespace fs = std::filesystem;
using namespace qmx::Report;

qmx::FE::DateTime FixedTime() { return {2026, 12, 7, 9, 5, 3}; }

// An orifice meter on natural gas, texts as the pages would show them.
ReportData GasOrifice() {
  ReportData d;
  d.company = "Acme Gas";
  d.location = "Field 7";
  d.well = "12-B";
  d.meter_tag = "FT-101";
  d.prepared_by = "J. Doe";
  d.fluid = Fluid::Gas;
  d.meter_family = "Orifice";
  d.tube_material = "Carbon steel";
  d.throat_material = "Stainless 316";
  d.standard = {"ISO/TC 30", "Measurement of fluid flow by means of pressure differential devices",
                "Part 2: Orifice plates", "ISO", "Geneva", "2003"};
  d.heating_value_table = "GPA 2145-08";
  d.energy_method = "Gross heating value";
  d.std_volume_flow = {"1.2345", "mmscfd"};
  d.mass_flow = {"0.56", "kg/s"};
  d.actual_volume_flow = {"0.012", "m3/s"};
  d.dp = {"12.0", "kpa"};
  d.gauge_pressure = {"3492.4", "kpa"};
  d.absolute_pressure = {"3593.7", "kpa"};
  d.flowing_temperature = {"15.0", "C"};
  d.base_pressure = {"101.325", "kpa"};
  d.base_temperature = {"15.0", "C"};
  d.atmospheric_pressure = {"101.3", "kpa"};
  d.pipe_diameter = {"102.26", "mm"};
  d.pipe_ref_temperature = {"20.0", "C"};
  d.throat_diameter = {"50.0", "mm"};
  d.throat_ref_temperature = {"20.0", "C"};
  d.beta = "0.48895";
  d.x = {"96.5", "0.3", "0.6", "1.8", "0.45", "0.1", "0.1", "0.03", "0.05", "0.07",
         "0", "0", "0", "0", "0", "0", "0", "0"};
  d.relative_density = "0.5812";
  d.density_flowing = {"27.6", "kg/m3"};
  d.z_flowing = "0.9245";
  d.density_base = {"0.7", "kg/m3"};
  d.z_base = "0.998";
  d.viscosity = {"0.0108", "cP"};
  d.isentropic_exponent = "1.31";
  d.molar_density = {"1.64", "kmol/m3"};
  d.molar_mass = {"16.8", "kg/kmol"};
  d.mass_heating_value = {"54.2", "MJ/kg"};
  d.volumetric_heating_value = {"38.1", "MJ/m3"};
  d.molar_heating_value = {"910", "MJ/kmol"};
  d.pipe_diameter_flowing = {"102.25", "mm"};
  d.throat_diameter_flowing = {"49.99", "mm"};
  d.beta_flowing = "0.48893";
  d.cd = "0.6043";
  d.reynolds = "1.2E+6";
  d.expansion_factor = "0.9978";
  d.velocity_of_approach = "1.0300";
  d.pipe_velocity = {"1.46", "m/s"};
  return d;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const auto& l : lines)
    if (l.rfind(prefix, 0) == 0) return true;
  return false;
}

TEST(ConvertLine, TextFormDropsOneBlankOfEveryRun) {
  EXPECT_EQ(ConvertLine(false, "          Differential  12.0  kpa "), "         Differential 12.0 kpa ");
  EXPECT_EQ(ConvertLine(false, "a b   c"), "a b  c");
}

TEST(ConvertLine, CsvFormSplitsAtBlankRuns) {
  EXPECT_EQ(ConvertLine(true, "          Differential  12.0  kpa "), ",Differential,12.0,kpa");
  EXPECT_EQ(ConvertLine(true, " Gross volume flowrate  1  m3/s "), " Gross volume flowrate,1,m3/s");
  EXPECT_EQ(ConvertLine(true, "Natural gas"), "Natural gas");
  EXPECT_EQ(ConvertLine(true, "a  "), "a,");
  EXPECT_EQ(ConvertLine(true, ""), "");
  // A line break inside one written line starts a new record with its own fields.
  EXPECT_EQ(ConvertLine(true, "Crude oil\r\n      Gravity  0.85"), "Crude oil\r\n,Gravity,0.85");
}

TEST(ConvertLine, CsvFieldsWithCommasAreQuoted) {
  EXPECT_EQ(ConvertLine(true, "    Acme, Inc.  x"), ",\"Acme, Inc.\",x");
  EXPECT_EQ(ConvertLine(true, "  say \"a, b\""), ",\"say \"\"a, b\"\"\"");
  EXPECT_EQ(ConvertLine(true, "  \"quoted\" start"), ",\"\"\"quoted\"\" start\"");
  // A quote anywhere in a field, or a line break, quotes the field.
  EXPECT_EQ(ConvertLine(true, "  Meter \"K\" factor  5"), ",\"Meter \"\"K\"\" factor\",5");
}

// User texts are single fields whatever they hold, and come back exactly.
TEST(ReportHeader, TextsStayWholeInBothForms) {
  qmx::FE::ScopedClock clock{FixedTime};
  ReportData d = GasOrifice();
  d.company = "A  B";
  d.location = "Field, \"North\"   7";
  d.well = " lead and trail ";
  auto text = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(text, "                        A  B")) << text[0];
  EXPECT_TRUE(Has(text, "               Location Field, \"North\"   7"));
  EXPECT_TRUE(Has(text, "                 Well #  lead and trail "));
  auto csv = Lines(ReportText(true, d));
  EXPECT_TRUE(Has(csv, ",A  B"));
  EXPECT_TRUE(Has(csv, ",\"Location Field, \"\"North\"\"   7\""));
  EXPECT_TRUE(Has(csv, ",Well #  lead and trail "));
}

class ReportLayout : public ::testing::Test {
 protected:
  qmx::FE::ScopedClock clock_{FixedTime};
};

TEST_F(ReportLayout, GoldenTextReport) {
  std::ifstream in(std::string(QMX_DATA_DIR) + "/reports/gas_orifice.txt", std::ios::binary);
  ASSERT_TRUE(in) << "golden file missing";
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(ReportText(false, GasOrifice()), golden.str());
}

TEST_F(ReportLayout, GoldenCsvReport) {
  std::ifstream in(std::string(QMX_DATA_DIR) + "/reports/gas_orifice.csv", std::ios::binary);
  ASSERT_TRUE(in) << "golden file missing";
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(ReportText(true, GasOrifice()), golden.str());
}

TEST_F(ReportLayout, HeaderShowsTheFixedDate) {
  auto lines = Lines(ReportText(false, GasOrifice()));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "                        Acme Gas");
  EXPECT_EQ(lines[4], "            Prepared by J. Doe  Date 7-Dec-26");
  EXPECT_EQ(lines[5], std::string(100, '_'));
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "Natural gas");
}

TEST_F(ReportLayout, CsvHasNoSeparatorsAndKeepsTitles) {
  auto lines = Lines(ReportText(true, GasOrifice()));
  EXPECT_TRUE(Has(lines, ",Differential,12.0,kpa"));
  EXPECT_TRUE(Has(lines, "Measurement data:"));
  EXPECT_TRUE(Has(lines, "Reference conditions:"));
  EXPECT_FALSE(HasPrefix(lines, "____"));
  EXPECT_TRUE(Has(lines, ",Inlet pressure,3593.7,kpa,absolute"));
}

// ---- Warnings: on lines of their own, wrapped whole, never cut --------------------------
TEST(WrapWarning, PiecesFitAndLoseNothing) {
  const std::string flags =
      "Error in input data,Bogus meter coefficients,Reynolds No. out of range for this device,"
      "D or d out of range for this device,Beta out of range for this device,Sonic velocity at throat,"
      "Reynolds No. out of range at this beta,Reynolds No. out of range at this D or d,"
      "Invalid pressure tap selection,Pressure ratio (P2/P1) out of range,Low Reynolds Number,";
  struct Case {
    std::string text;
    std::size_t width;
  };
  const Case cases[] = {{flags, kWarningWidth}, {flags, 30}, {flags, 5}, {"Low Reynolds Number,", 76},
                        {std::string(200, 'x'), 76}, {"temperature_too_low! pressure_too_high! ", 20}};
  for (const Case& c : cases) {
    const auto pieces = WrapWarning(c.text, c.width);
    std::string joined, squeezed;
    for (const auto& p : pieces) {
      EXPECT_LE(p.size(), c.width) << p;
      EXPECT_FALSE(p.empty());
      joined += p;
    }
    for (char ch : c.text)
      if (ch != ' ') squeezed += ch;
    std::string joinedSqueezed;
    for (char ch : joined)
      if (ch != ' ') joinedSqueezed += ch;
    EXPECT_EQ(joinedSqueezed, squeezed) << "width " << c.width;
  }
  // At the report's width every flag text stays on one line.
  for (const auto& p : WrapWarning(flags)) EXPECT_EQ(p.back(), ',') << p;
  EXPECT_TRUE(WrapWarning("").empty());
}

TEST_F(ReportLayout, WarningsShownWholeInBothForms) {
  ReportData d = GasOrifice();
  for (const bool csv : {false, true}) {
    EXPECT_FALSE(HasPrefix(Lines(ReportText(csv, d)), csv ? ",Warnings" : "             Warnings"));
  }
  d.warnings =
      "composition normalised from 103.5 %,Reynolds No. out of range for this device,"
      "D or d out of range for this device,Beta out of range for this device,Low Reynolds Number,";
  const auto text = Lines(ReportText(false, d));
  const auto first = std::find(text.begin(), text.end(), "             Warnings composition normalised from 103.5 %,");
  ASSERT_NE(first, text.end());
  ASSERT_LT(first + 4, text.end());
  EXPECT_EQ(*(first + 1), "                       Reynolds No. out of range for this device,");
  EXPECT_EQ(*(first + 2), "                       D or d out of range for this device,Beta out of range for this device,");
  EXPECT_EQ(*(first + 3), "                       Low Reynolds Number,");
  EXPECT_EQ(*(first + 4), std::string(100, '_'));
  for (auto it = first; it != first + 4; ++it) EXPECT_LE(it->size(), 100u);
  const auto csv = Lines(ReportText(true, d));
  EXPECT_TRUE(Has(csv, ",Warnings,\"composition normalised from 103.5 %,\""));
  EXPECT_TRUE(Has(csv, ",\"Reynolds No. out of range for this device,\""));
  EXPECT_TRUE(Has(csv, ",\"D or d out of range for this device,Beta out of range for this device,\""));
  EXPECT_TRUE(Has(csv, ",\"Low Reynolds Number,\""));
}

TEST_F(ReportLayout, HydrocarbonLiquidNumbersTheMeterReferenceTwo) {
  ReportData d = GasOrifice();
  d.fluid = Fluid::HCLiquid;
  d.liquid_product = 0;
  d.liquid_relative_density = "0.85";
  d.base_density = {"850", "kg/m3"};
  auto lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "Crude oil"));
  EXPECT_TRUE(Has(lines, "                                Gravity 0.85 density 850 kg/m3"));
  EXPECT_TRUE(Has(lines, "(1) API MPMS Chapter 11.1 previously \"Table 54\""));
  EXPECT_TRUE(HasPrefix(lines, "(2) ISO/TC 30; \"Measurement of fluid flow"));
  EXPECT_TRUE(Has(lines, "Hydrocarbon liquid data:"));

  d.liquid_product = 2;
  lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "Lubricating oil"));
  EXPECT_TRUE(Has(lines, "(1) API MPMS Chapter 11.1 previously \"___\""));

  // A product outside 0 to 3 writes the error line, and the meter is (1).
  d.liquid_product = 9;
  lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "***FLUID ERROR***"));
  EXPECT_TRUE(HasPrefix(lines, "(1) ISO/TC 30;"));
}

TEST_F(ReportLayout, GasTurbineLeavesOutDifferentialBetaAndCoefficient) {
  ReportData d = GasOrifice();
  d.turbine = true;
  d.frequency = "1000";
  d.k_factor = {"1000", "pulse/ft3"};
  const std::string text = ReportText(false, d);
  auto lines = Lines(text);
  EXPECT_EQ(text.find("Differential"), std::string::npos);
  EXPECT_EQ(text.find("Beta ratio"), std::string::npos);
  EXPECT_EQ(text.find("Discharge coefficient"), std::string::npos);
  EXPECT_TRUE(Has(lines, "            Frequency 1000 Hz "));
  EXPECT_TRUE(Has(lines, "          Meter type Gas turbine"));
  EXPECT_TRUE(Has(lines, "                Meter \"K\" factor 1000 pulse/ft3 "));
  EXPECT_TRUE(HasPrefix(lines, "(4) A.G.A. Transmission Measurement Committee; \"Measurement of Natural Gas by "));
  EXPECT_TRUE(Has(lines, "                   Pipe velocity 1.46 m/s "));
}

TEST_F(ReportLayout, FluidSectionsByKind) {
  ReportData d = GasOrifice();
  d.fluid = Fluid::Steam;
  auto lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "Saturated steam"));
  EXPECT_TRUE(Has(lines, "       Mass flowrate  0.56  kg/s"));
  EXPECT_TRUE(Has(lines, "Steam conditions:"));
  EXPECT_TRUE(HasPrefix(lines, "(1) W. Wagner, A. Kruse;"));
  EXPECT_TRUE(HasPrefix(lines, "(2) ISO/TC 30;"));

  d.fluid = Fluid::DrySteam;
  lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "Dry steam"));
  EXPECT_TRUE(Has(lines, "       Mass flowrate  0.56 kg/s"));

  d.fluid = Fluid::GCN;
  d.gcn_relative_density = "0.6";
  d.gcn_co2 = "1.0";
  d.gcn_n2 = "0.5";
  lines = Lines(ReportText(true, d));
  EXPECT_TRUE(Has(lines, ",Natural gas,gravity,0.6,CO2%,1.0,N2%,0.5"));
  EXPECT_TRUE(Has(lines, "Natural gas GCN data:"));
  EXPECT_FALSE(Has(lines, "Gas composition:"));

  d.fluid = Fluid::Liquid;
  lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "Generic liquid"));
  EXPECT_TRUE(Has(lines, "Liquid data:"));
  EXPECT_TRUE(Has(lines, "(1) User-entered density, viscosity, vapour pressure"));

  d.fluid = Fluid::TestFluid;
  lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "FLUID ERROR"));
  EXPECT_TRUE(Has(lines, "***FLUID ERROR***"));
  EXPECT_FALSE(HasPrefix(lines, "    Std. volume"));
}

TEST_F(ReportLayout, EmptyPartTitleWritesNoLine) {
  ReportData d = GasOrifice();
  d.standard.part_title.clear();
  auto lines = Lines(ReportText(false, d));
  EXPECT_TRUE(Has(lines, "   ISO, Geneva 2003"));
  EXPECT_FALSE(Has(lines, "   "));
}

// Report files under a temporary HOME.
class ReportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "qmx_report_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    vars_["HOME"] = root_;
    env_.emplace([this](std::string_view name) -> std::optional<std::string> {
      auto it = vars_.find(std::string(name));
      if (it == vars_.end()) return std::nullopt;
      return it->second;
    });
  }
  void TearDown() override {
    env_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::size_t FilesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
  }
  std::string root_;
  std::map<std::string, std::string> vars_;
  std::optional<qmx::UserDir::ScopedEnvironment> env_;
  qmx::FE::ScopedClock clock_{FixedTime};
};

TEST_F(ReportFiles, PathsInTheUserFolders) {
  std::string path;
  GetPrintPath(path);
  EXPECT_EQ(path, root_ + "/.local/share/qmx/print.txt");
  GetCSVpath(path);
  EXPECT_EQ(path, root_ + "/Documents/QMX_Report_7Dec26_953.csv");
}

TEST_F(ReportFiles, CsvPathNeverReusesAnExistingReport) {
  std::string first, second;
  GetCSVpath(first);
  SaveReport(true, first, GasOrifice());
  GetCSVpath(second);
  EXPECT_EQ(second, root_ + "/Documents/QMX_Report_7Dec26_953_2.csv");
}

// A name proposed by GetCSVpath and taken before the save: the save moves on to the next
// number of the same stamp, and nothing is overwritten.
TEST_F(ReportFiles, NewReportMovesOnWhenItsNameIsTaken) {
  std::string first, proposed;
  GetCSVpath(first);
  SaveNewReport(true, first, GasOrifice());
  EXPECT_EQ(first, root_ + "/Documents/QMX_Report_7Dec26_953.csv");
  GetCSVpath(proposed);
  EXPECT_EQ(proposed, root_ + "/Documents/QMX_Report_7Dec26_953_2.csv");
  { std::ofstream(proposed) << "another save"; }
  ReportData d = GasOrifice();
  d.company = "Third";
  SaveNewReport(true, proposed, d);
  EXPECT_EQ(proposed, root_ + "/Documents/QMX_Report_7Dec26_953_3.csv");
  EXPECT_EQ(Read(root_ + "/Documents/QMX_Report_7Dec26_953_2.csv"), "another save");
  EXPECT_EQ(Read(proposed), ReportText(true, d));
  EXPECT_EQ(FilesIn(root_ + "/Documents"), 3u);
}

TEST_F(ReportFiles, FolderFailuresRaiseTheirMessages) {
  { std::ofstream f(root_ + "/file"); }
  vars_["XDG_DATA_HOME"] = root_ + "/file";
  vars_["XDG_DOCUMENTS_DIR"] = root_ + "/file/docs";
  std::string path = "stale";
  try {
    GetPrintPath(path);
    FAIL() << "no raise";
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.module(), "QMXreport");
    EXPECT_EQ(e.message().rfind("GetPrintPath() error: cannot create \"" + root_ + "/file/qmx/\": ", 0), 0u)
        << e.message();
    EXPECT_EQ(e.code(), 1);
  }
  EXPECT_EQ(path, "");
  try {
    GetCSVpath(path);
    FAIL() << "no raise";
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.message().rfind("GetCSVpath() error: cannot create \"" + root_ + "/file/docs/\": ", 0), 0u)
        << e.message();
    EXPECT_EQ(e.code(), 1);
  }
}

TEST_F(ReportFiles, SaveReplacesWholeAndRaisesOnAMissingFolder) {
  std::string path;
  GetPrintPath(path);
  SaveReport(false, path, GasOrifice());
  EXPECT_EQ(Read(path), ReportText(false, GasOrifice()));
  ReportData d = GasOrifice();
  d.company = "Second";
  SaveReport(false, path, d);
  EXPECT_EQ(Read(path), ReportText(false, d));
  EXPECT_EQ(FilesIn(fs::path(path).parent_path().string()), 1u);

  try {
    SaveReport(false, root_ + "/missing/print.txt", d);
    FAIL() << "no raise";
  } catch (const qmx::Error& e) {
    EXPECT_EQ(e.module(), "QMXreport");
    EXPECT_EQ(e.message(), "SaveReport() error: cannot create a file beside \"" + root_ +
                               "/missing/print.txt\": No such file or directory");
    EXPECT_EQ(e.code(), 0);
  }
}

TEST_F(ReportFiles, FailedWriteLeavesTheEarlierReport) {
  std::string path;
  GetPrintPath(path);
  SaveReport(false, path, GasOrifice());
  const std::string before = Read(path);

  // A file-size limit below the report's size makes the write fail midway.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 512;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  ReportData d = GasOrifice();
  d.company = "Never written";
  bool raised = false;
  try {
    SaveReport(false, path, d);
  } catch (const qmx::Error& e) {
    raised = e.message() == "SaveReport() error: cannot write \"" + path + "\": File too large";
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_TRUE(raised);
  EXPECT_EQ(Read(path), before);
  EXPECT_EQ(FilesIn(fs::path(path).parent_path().string()), 1u);
}

TEST_F(ReportFiles, UnwritableFolderRaisesAndKeepsTheEarlierReport) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  std::string path;
  GetCSVpath(path);
  SaveReport(true, path, GasOrifice());
  const std::string before = Read(path);
  const std::string folder = fs::path(path).parent_path().string();
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(SaveReport(true, path, ReportData{}), qmx::Error);
  std::string other;
  EXPECT_THROW(GetCSVpath(other), qmx::Error);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(Read(path), before);
}

}  // namespace
