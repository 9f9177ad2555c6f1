// The flow report of the calculation state: the record carries the state's display texts and
// selection names, and the written report shows them in its fixed layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/qmxcalc.hpp"
#include "app/qmxreport.hpp"
#include "meters/dp0.hpp"
#include "reports/report.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"

namespace {

using namespace qmx;
using namespace qmx::QMXcalc;

class ReportFillTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Initialize();
    Reset();
  }
  void TearDown() override { Reset(); }
};

bool HasLine(const std::string& text, const std::string& line) {
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();  // report lines end in CR LF
    if (l == line) return true;
  }
  return false;
}

TEST_F(ReportFillTest, DefaultsCarryTheStateTexts) {
  Report::ReportData d;
  FillReport(d);
  std::string text, unit;
  FUM::uDVgetValStr(text, *Calc().massFlow);
  FUM::uDVgetUnits(unit, *Calc().massFlow);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(d.mass_flow.text, text);
  EXPECT_EQ(d.mass_flow.unit, unit);
  EXPECT_EQ(d.fluid, Report::Fluid::Gas);
  EXPECT_FALSE(d.turbine);
  EXPECT_EQ(d.company, GetHeaderText(0));
  EXPECT_EQ(d.meter_tag, GetHeaderText(4));
  EXPECT_EQ(d.meter_family, DP0::DeviceFamilyName(static_cast<DP0::MeterType>(Calc().meter)));
  EXPECT_FALSE(d.standard.committee.empty());
  EXPECT_EQ(d.heating_value_table, HeatingValueTableName(GetHeatingValueTable()));
  EXPECT_EQ(HeatingValueTableName(1), "GPA-2145-2008 SI table");
  EXPECT_EQ(d.energy_method, "GPA-2172 implemented per AGA-8 (1994) appendix C.4");
  std::string total, methane;
  GetComponentText(total, methane, 0);
  EXPECT_EQ(d.x.c1, methane);
}

TEST_F(ReportFillTest, TextAndCommaSeparatedLayouts) {
  Report::ReportData d;
  FillReport(d);
  const std::string text = Report::ReportText(false, d);
  EXPECT_TRUE(HasLine(text, "                        " + GetHeaderText(0))) << text;
  EXPECT_TRUE(HasLine(text, "Natural gas"));
  EXPECT_TRUE(HasLine(text, "          Mass flowrate " + d.mass_flow.text + " " + d.mass_flow.unit));
  EXPECT_TRUE(HasLine(text, d.heating_value_table));
  EXPECT_TRUE(HasLine(text, "          Meter type " + d.meter_family));
  const std::string csv = Report::ReportText(true, d);
  EXPECT_TRUE(HasLine(csv, ",Mass flowrate," + d.mass_flow.text + "," + d.mass_flow.unit)) << csv;
  EXPECT_TRUE(HasLine(csv, ",Differential," + d.dp.text + "," + d.dp.unit));
  EXPECT_TRUE(HasLine(csv, "Measurement data:"));
}

TEST_F(ReportFillTest, SelectionsFollowTheState) {
  SetHeaderText(0, "ACME Gas");
  bool changed = false;
  SetEnergyMethod(changed, 1);
  SetHeatingValueTable(changed, 6);
  Report::ReportData d;
  FillReport(d);
  EXPECT_EQ(d.company, "ACME Gas");
  EXPECT_FALSE(d.turbine);
  EXPECT_EQ(d.energy_method, "AGA Report No. 5, per AGA-3 part 3 (1992) appendix F");
  EXPECT_EQ(EnergyMethodName(2), "AGA Report No. 5 (2009)");
  EXPECT_EQ(d.heating_value_table, "ISO-6976 superior mass basis HV @ 15 C");
  SetMeter(changed, 1, 39);
  FillReport(d);
  EXPECT_TRUE(d.turbine);
  const std::string text = Report::ReportText(false, d);
  EXPECT_TRUE(HasLine(text, "                        ACME Gas"));
  EXPECT_EQ(text.find("Differential"), std::string::npos);
  EXPECT_EQ(HeatingValueTableName(9), "");
  EXPECT_EQ(EnergyMethodName(-1), "");
}

TEST_F(ReportFillTest, SaveReportWritesTheStateReport) {
  const auto dir = std::filesystem::temp_directory_path() / "qmx_report_fill_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "r.txt").string();
  SaveReport(false, path);
  std::ifstream in(path);
  std::stringstream buf;
  buf << in.rdbuf();
  Report::ReportData d;
  FillReport(d);
  EXPECT_NE(buf.str().find("Mass flowrate " + d.mass_flow.text), std::string::npos);
  std::filesystem::remove_all(dir);
}

// A calculation outside the standard's limits carries its whole warning text into both report
// forms; a clean one shows no Warnings line.
TEST_F(ReportFillTest, WarningsOfTheCalculationAreShownWhole) {
  Report::ReportData d;
  FillReport(d);
  EXPECT_TRUE(d.warnings.empty());
  EXPECT_EQ(Report::ReportText(false, d).find("Warnings"), std::string::npos);
  State& s = Calc();
  ASSERT_TRUE(FI::RVsetValStr("0.05", *s.beta));
  UpdateBore();
  bool changed = true;
  ASSERT_TRUE(Calculate(changed));
  ASSERT_GT(MeterWarning().size(), Report::kWarningWidth);
  FillReport(d);
  EXPECT_EQ(d.warnings, MeterWarning());
  for (const bool csv : {false, true}) {
    // The warning lines, read back and joined, give the whole text.
    std::istringstream in(Report::ReportText(csv, d));
    std::string joined;
    bool inside = false;
    for (std::string l; std::getline(in, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      const std::string label = csv ? ",Warnings," : "             Warnings ";
      if (l.rfind(label, 0) == 0) {
        inside = true;
        l = l.substr(label.size());
      } else if (inside && (l.empty() || l[0] == '_')) {
        break;
      } else if (inside) {
        l = l.substr(l.find_first_not_of(csv ? "," : " "));
      } else {
        continue;
      }
      if (csv && l.size() >= 2 && l.front() == '"') l = l.substr(1, l.size() - 2);
      joined += l;
    }
    EXPECT_EQ(joined, MeterWarning()) << (csv ? "csv" : "text");
  }
}

// A result the calculated fluid does not compute is printed as "--", never as a placeholder.
TEST_F(ReportFillTest, ResultsTheFluidDoesNotComputeShowDashes) {
  bool changed = false;
  SetFluid(changed, kTestFluid);
  ASSERT_TRUE(Calculate(changed));
  Report::ReportData d;
  FillReport(d);
  EXPECT_EQ(d.density_flowing.text, "--");
  EXPECT_EQ(d.molar_mass.text, "--");
  EXPECT_EQ(d.z_flowing, "--");
  EXPECT_NE(d.mass_flow.text, "--");
  SetFluid(changed, kNaturalGas);
  ASSERT_TRUE(Calculate(changed));
  FillReport(d);
  EXPECT_NE(d.density_flowing.text, "--");
  EXPECT_NE(d.z_flowing, "--");
}

// The whole report of the defaults in both forms, clock fixed at 7 Dec 2026 09:05:03. Setting
// QMX_UPDATE_GOLDEN=1 rewrites the two files instead (review the difference before committing).
TEST_F(ReportFillTest, GoldenReportsOfTheDefaults) {
  const FE::ScopedClock clock([] { return FE::DateTime{2026, 12, 7, 9, 5, 3}; });
  Report::ReportData d;
  FillReport(d);
  const bool update = std::getenv("QMX_UPDATE_GOLDEN") != nullptr;
  for (const bool csv : {false, true}) {
    const std::string path = std::string(QMX_DATA_DIR) + "/reports/defaults" + (csv ? ".csv" : ".txt");
    SCOPED_TRACE(path);
    const std::string report = Report::ReportText(csv, d);
    if (update) {
      std::ofstream(path, std::ios::binary) << report;
      continue;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "golden file missing";
    std::stringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(report, golden.str());
  }
}

}  // namespace
