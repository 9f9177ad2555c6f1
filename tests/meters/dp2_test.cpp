// Pipe tables, size and schedule texts, dimension warnings and Annubar probe data.
#include "meters/dp2.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/check.hpp"

namespace {

using namespace qmx;
using DP0::Material;
using DP2::NominalPipeSize;
using DP2::PipeSchedule;
using enum DP0::Material;
using enum DP2::PipeSchedule;
using enum DP2::NominalPipeSize;

constexpr double kIn = 0.0254;

NominalPipeSize Size(int code) { return static_cast<NominalPipeSize>(code); }

// Published inside diameters (inch) of ASME B36.10M / B36.19M pipe.
struct IdCase {
  Material material;
  PipeSchedule schedule;
  NominalPipeSize size;
  double id_in;
};

class PublishedInsideDiameter : public ::testing::TestWithParam<IdCase> {};

TEST_P(PublishedInsideDiameter, MatchesStandard) {
  const IdCase& c = GetParam();
  bool found = false;
  const double id = DP2::InsideDiameter(c.material, c.schedule, c.size, found);
  EXPECT_TRUE(found);
  EXPECT_NEAR(id / kIn, c.id_in, 5e-7);
}

std::vector<IdCase> InsideDiameters() {
  std::vector<IdCase> out;
  for (const auto& c : qmx::test::ReadCsv("pipes/inside_diameters.csv")) {
    IdCase k{};
    bool found = false;
    EXPECT_TRUE(DP0::MaterialFromName(c[0], false, k.material)) << c[0];
    k.schedule = DP2::ScheduleFromKey(c[1], found);
    EXPECT_TRUE(found) << c[1];
    k.size = Size(std::stoi(c[2]));
    k.id_in = std::stod(c[4]);
    out.push_back(k);
  }
  EXPECT_EQ(out.size(), 25u);
  return out;
}

// Sch40 and Sch80 of 2..12 inch (the elbow pipe tables quote the same bores) and other schedules.
INSTANTIATE_TEST_SUITE_P(B36, PublishedInsideDiameter, ::testing::ValuesIn(InsideDiameters()));

// Look-ups that fall back: expected wall (m) and found = false.
struct FallbackCase {
  Material material;
  PipeSchedule schedule;
  NominalPipeSize size;
  double wall_m;
};

class WallFallback : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(WallFallback, GivesRuleWallNotFound) {
  const FallbackCase& c = GetParam();
  bool found = true;
  EXPECT_NEAR(DP2::WallThickness(c.material, c.schedule, c.size, found), c.wall_m, 1e-12);
  EXPECT_FALSE(found);
}

const FallbackCase kFallbacks[] = {
    {CbSteel, Sch5, Nps1_8, 0.049 * kIn}, {CbSteel, Sch20, Nps2, 0.154 * kIn}, {CbSteel, Sch60, Nps4, 0.337 * kIn},
    {CbSteel, Sch100, Nps4, 0.337 * kIn * 1.244736842}, {CbSteel, Sch120, Nps2, 0.218 * kIn * 1.489473684},
    {CbSteel, Sch140, Nps6, 0.432 * kIn * 1.734210526}, {CbSteel, Sch160, Nps3_1_2, 0.318 * kIn * 1.978947368},
    {CbSteel, SchXXS, Nps14, 0.500 * kIn * 3.094736842},
    // Neither the schedule nor its fall-back column lists the size: nearest listed size.
    {CbSteel, Sch40, Nps22, 0.594 * kIn}, {CbSteel, Sch30, Nps5, 0.188 * kIn}, {CbSteel, Sch5, Nps40, 0.312 * kIn},
    {CbSteel, SchXS, Nps52, 0.500 * kIn}, {CbSteel, SchSTD, Nps80, 0.375 * kIn},
    // Stainless substituted columns and column constants.
    {StSteel, Sch20, Nps2, 0.109 * kIn}, {StSteel, SchSTD, Nps4, 0.237 * kIn}, {StSteel, Sch30, Nps6, 0.280 * kIn},
    {StSteel, Sch60, Nps8, 0.500 * kIn}, {StSteel, Sch5, Nps1_4, 0.001651}, {StSteel, Sch5, Nps26, 0.00635},
    {StSteel, Sch10, Nps40, 0.0079248}, {StSteel, Sch40, Nps22, 0.009525}, {StSteel, Sch80, Nps22, 0.0127},
    {StSteel, SchXS, Nps4, 0.0}, {Monel, Sch40, Nps4, 0.0}, {Brass, Sch40, Nps4, 0.0},
    {CbSteel, SchInvalid, Nps4, 0.0}, {CbSteel, SchOthr, Nps4, 0.0}, {CbSteel, Sch40, Invalid, 0.0},
    {CbSteel, Sch40, Other, 0.0}};

INSTANTIATE_TEST_SUITE_P(Rules, WallFallback, ::testing::ValuesIn(kFallbacks));

TEST(Dp2, MonelPipeHasNoTableAndOutsideDiameterEdges) {
  bool found = true;
  const double id = DP2::InsideDiameter(Material::Monel, PipeSchedule::Sch40, NominalPipeSize::Nps4, found);
  EXPECT_FALSE(found);
  EXPECT_DOUBLE_EQ(id, 4.5 * kIn);
  qmx::test::ExpectResults(DP2::OutsideDiameter, {{NominalPipeSize::Invalid, 0.0}, {NominalPipeSize::Other, 0.0},
      {Size(200), 0.0}});
  qmx::test::ExpectDoubles(DP2::OutsideDiameter, {{NominalPipeSize::Nps1_8, 0.405 * kIn},
      {NominalPipeSize::Nps5, 5.563 * kIn}, {NominalPipeSize::Nps80, 80.0 * kIn}});
}

// ---- The compiled tables against the committed data files -----------------
qmx::test::Rows ReadCsv(const std::string& name) { return qmx::test::ReadCsv("pipes/" + name); }

TEST(Dp2Data, CarbonWallsEqualB3610File) {
  const auto in_rows = ReadCsv("b36_10m_carbon_steel_wall_in.csv");
  const auto mm_rows = ReadCsv("b36_10m_carbon_steel_wall_mm.csv");
  ASSERT_EQ(in_rows.size(), 44u);
  ASSERT_EQ(mm_rows.size(), 44u);
  int listed = 0;
  for (int r = 0; r < 44; ++r) {
    for (int s = 1; s <= 14; ++s) {
      const std::string& cell = in_rows[r][static_cast<std::size_t>(s + 1)];
      bool found = false;
      const double wall = DP2::WallThickness(Material::CbSteel, static_cast<PipeSchedule>(s), Size(r + 1), found);
      EXPECT_EQ(found, !cell.empty()) << "row " << r << " schedule " << s;
      if (cell.empty()) continue;
      ++listed;
      EXPECT_NEAR(wall, std::stod(cell) * kIn, 1e-12) << "row " << r << " schedule " << s;
      // The SI column is the inch wall to 0.01 mm (one entry, 0.400 in = 10.15 mm, rounds down).
      EXPECT_NEAR(wall * 1000.0, std::stod(mm_rows[r][static_cast<std::size_t>(s + 1)]), 0.0101);
    }
  }
  EXPECT_EQ(listed, 289);
}

TEST(Dp2Data, StainlessWallsEqualB3619File) {
  const auto in_rows = ReadCsv("b36_19m_stainless_wall_in.csv");
  const auto mm_rows = ReadCsv("b36_19m_stainless_wall_mm.csv");
  ASSERT_EQ(in_rows.size(), 44u);
  const PipeSchedule cols[] = {PipeSchedule::Sch5, PipeSchedule::Sch10, PipeSchedule::Sch40, PipeSchedule::Sch80};
  for (int r = 0; r < 44; ++r) {
    for (int c = 0; c < 4; ++c) {
      const std::string& cell = in_rows[r][static_cast<std::size_t>(c + 2)];
      bool found = false;
      const double wall = DP2::WallThickness(Material::SS304US, cols[c], Size(r + 1), found);
      EXPECT_EQ(found, !cell.empty()) << "row " << r << " column " << c;
      if (cell.empty()) continue;
      EXPECT_NEAR(wall, std::stod(cell) * kIn, 1e-12);
      EXPECT_NEAR(wall * 1000.0, std::stod(mm_rows[r][static_cast<std::size_t>(c + 2)]), 0.0051);
    }
  }
}

TEST(Dp2Data, OutsideDiametersEqualFile) {
  const auto rows = ReadCsv("nominal_sizes.csv");
  ASSERT_EQ(rows.size(), 44u);
  for (const auto& row : rows) {
    const int code = std::stoi(row[0]);
    EXPECT_NEAR(DP2::OutsideDiameter(Size(code)), std::stod(row[4]) * kIn, 1e-12);
    if (!row[6].empty()) {
      // SI outside diameters are stated to 0.1 mm below 14 inch and to 1 mm from there on.
      EXPECT_NEAR(DP2::OutsideDiameter(Size(code)) * 1000.0, std::stod(row[6]), code < 19 ? 0.051 : 0.51);
    }
    const std::string longName = DP2::PipeSizeName(Size(code), true);
    EXPECT_EQ(longName, row[1] + "\" (" + row[3] + " mm)");
  }
}

// ---- Texts -------------------------------------------------------------------
TEST(Dp2Text, PipeSizeNames) {
  EXPECT_EQ(DP2::PipeSizeName(NominalPipeSize::Invalid, false), "invalid");
  EXPECT_EQ(DP2::PipeSizeName(NominalPipeSize::Nps1_2, false), "1/2\"");
  EXPECT_EQ(DP2::PipeSizeName(NominalPipeSize::Nps1_2, true), "1/2\" (15 mm)");
  EXPECT_EQ(DP2::PipeSizeName(NominalPipeSize::Nps1_1_4, false), "1-1/4\"");
  qmx::test::ExpectResults(DP2::PipeSizeName, {{NominalPipeSize::Nps48, true, "48\" (1200 mm)"},
      {NominalPipeSize::Nps80, true, "80\" (2000 mm)"}, {NominalPipeSize::Other, false, "other"},
      {NominalPipeSize::Other, true, "other"}, {Size(46), false, ""}, {Size(255), true, ""}});
}

TEST(Dp2Text, SchedulesAndFlanges) {
  qmx::test::ExpectResults(DP2::ScheduleKey, {{PipeSchedule::SchInvalid, "SchInvalid"}, {PipeSchedule::Sch40, "Sch40"},
      {PipeSchedule::SchOthr, "SchOthr"}, {static_cast<PipeSchedule>(16), ""}});
  bool found = false;
  EXPECT_EQ(DP2::ScheduleFromKey("SchXXS", found), PipeSchedule::SchXXS);
  EXPECT_TRUE(found);
  EXPECT_EQ(DP2::ScheduleFromKey("Sch45", found), PipeSchedule::SchInvalid);
  EXPECT_FALSE(found);
  EXPECT_EQ(DP2::FlangeClassText(DP2::FlangeClass::Ansi150), "ANSI 150  ");
  EXPECT_EQ(DP2::FlangeClassText(DP2::FlangeClass::Ansi2500), "ANSI 2500 ");
  EXPECT_EQ(DP2::FlangeClassText(DP2::FlangeClass::Other), "other ");
  for (int f = 0; f < 7; ++f) EXPECT_EQ(DP2::FlangeClassText(static_cast<DP2::FlangeClass>(f)).size(), 10u);
  EXPECT_EQ(DP2::FlangeClassText(static_cast<DP2::FlangeClass>(8)), "");
}

TEST(Dp2Text, DimWarningText) {
  EXPECT_EQ(DP2::DimWarningText(0), "");
  EXPECT_EQ(DP2::DimWarningText(DP2::DimBit(7) | DP2::DimBit(14)),
            "Pipe size-schedule is not listed in ASME B36.10M |AGA & ISO minimum pipe diameter is 2 inch |");
  EXPECT_EQ(DP2::DimWarningText(DP2::DimBit(0) | DP2::DimBit(15)), "");
  EXPECT_EQ(DP2::DimWarningText(DP2::DimBit(5) | DP2::DimBit(1)),
            "Pipe size-schedule is not listed in Miller Table 10.1 |"
            "Pipe schedule is is not listed in AGA-3 part 2 table 2-3|");
}

// ---- Annubar ------------------------------------------------------------------
struct AnnubarCase {
  int code;
  double width_in;
  double c1;
  double c2;
};

class AnnubarData : public ::testing::TestWithParam<AnnubarCase> {};

TEST_P(AnnubarData, SetOnRosemountAnnubar) {
  const AnnubarCase& c = GetParam();
  DP0::DPMeter meter;
  meter.type = DP0::MeterType::Pit_AnnR;
  DP2::SetAnnubarType(meter, static_cast<DP2::AnnubarType>(c.code));
  EXPECT_EQ(meter.element.annubar, c.code);
  EXPECT_NEAR(meter.d, c.width_in * kIn, 2e-6);  // widths are quoted to 0.01 in or better
  EXPECT_EQ(meter.element.c1, c.c1);
  EXPECT_EQ(meter.element.c2, c.c2);
}

const AnnubarCase kAnnubars[] = {
    {0, 0.183, 1.20107, 1.38155}, {1, 0.3576, 1.34966, 0.8468}, {4, 0.846, 1.34966, 0.8468},
    {6, 1.23, 1.34966, 0.8468}, {8, 1.98, 1.34966, 0.8468}, {9, 0.59, -1.515, 1.4229}, {10, 1.06, -1.492, 1.4179},
    {11, 1.92, -1.5856, 1.3318}};
INSTANTIATE_TEST_SUITE_P(Codes, AnnubarData, ::testing::ValuesIn(kAnnubars));

// Code 9 on the Rosemount probe gives its width exactly; other meter types are unchanged.
TEST(Dp2Annubar, Code9WidthExactOtherMeterTypesUnchanged) {
  DP0::DPMeter meter;
  meter.type = DP0::MeterType::Pit_AnnR;
  DP2::SetAnnubarType(meter, 9);
  EXPECT_EQ(meter.d, 0.014986);
  meter = DP0::DPMeter{};
  meter.type = DP0::MeterType::Orf_ISO;
  meter.d = 0.05;
  meter.element.c1 = 0.25;
  DP2::SetAnnubarType(meter, 9);
  EXPECT_EQ(meter.d, 0.05);
  EXPECT_EQ(meter.element.c1, 0.25);
  EXPECT_EQ(meter.element.annubar, 0);
  meter.type = DP0::MeterType::Pit_Vbar;
  DP2::SetAnnubarType(meter, 3);
  EXPECT_EQ(meter.d, 0.05);
}

TEST(Dp2Annubar, CodeOutsideTableKeepsWidthUsesCode0Coefficients) {
  DP0::DPMeter meter;
  meter.type = DP0::MeterType::Pit_AnnM;
  meter.d = 0.02;
  DP2::SetAnnubarType(meter, 12);
  EXPECT_EQ(meter.d, 0.02);
  EXPECT_EQ(meter.element.c1, 1.20107);
  EXPECT_EQ(meter.element.c2, 1.38155);
  double width = 1.0;
  EXPECT_FALSE(DP2::AnnubarProbeWidth(12, width));
  EXPECT_EQ(width, 0.0);
  EXPECT_EQ(DP2::AnnubarName(9), "Annubar Type 485 size 1");
  EXPECT_EQ(DP2::AnnubarName(0), "Annubar Type 10");
  EXPECT_EQ(DP2::AnnubarName(12), "");
}

}  // namespace
