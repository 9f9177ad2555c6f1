// Meter catalogue, materials, diameter ratio and thermal correction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "meters/dp0.hpp"
#include "../support/check.hpp"

namespace {

using namespace qmx::DP0;

TEST(Catalogue, SelfCheckPassesAtStartUp) { EXPECT_NO_THROW(QCtest()); }

TEST(Catalogue, KeysRoundTrip) {
  for (int i = 0; i < kMeterTypeCount; ++i) {
    const auto t = static_cast<MeterType>(i);
    MeterType back = MeterType::Vent_Cl;
    ASSERT_TRUE(DeviceFromKey(DeviceKey(t), back)) << i;
    EXPECT_EQ(back, t);
    EXPECT_FALSE(DeviceLongName(t).empty()) << i;
    EXPECT_FALSE(DeviceListName(t).empty()) << i;
    if (t != MeterType::Orf_RO) {
      EXPECT_FALSE(StandardStatus(t).empty()) << i;
    }
  }
}

TEST(Catalogue, KeyLookupAndOutOfRange) {
  MeterType t = MeterType::Vent_Cl;
  EXPECT_TRUE(DeviceFromKey("Orf_ISO", t));
  EXPECT_EQ(static_cast<int>(t), 12);
  EXPECT_FALSE(DeviceFromKey("orifice", t));
  EXPECT_EQ(t, MeterType::Mtr_Other);
  EXPECT_FALSE(DeviceFromKey("", t));
  EXPECT_FALSE(DeviceFromKey("orf_iso", t));  // keys are matched exactly
  // Out of range: empty texts.
  const auto bad = static_cast<MeterType>(40);
  EXPECT_TRUE(DeviceKey(bad).empty());
  EXPECT_TRUE(DeviceLongName(bad).empty());
  EXPECT_TRUE(StandardTitle(bad).empty());
  EXPECT_TRUE(ApiCrossReference(static_cast<MeterType>(255)).empty());
  EXPECT_TRUE(MaterialName(static_cast<Material>(25), true).empty());
}

struct Row {
  MeterType type;
  const char* list;
  const char* longName;
  const char* family;
  const char* standard;
  const char* edition;
  const char* status;
};

const Row kRows[] = {
    {MeterType::Vent_Cl, "ISO Venturi", "ISO Venturi meter", "Venturi tube", "ISO 5167", "2003(E)", "current"},
    {MeterType::Vent_IVCM, "Integral Valve Cone Meter", "Integral Valve Cone Meter (IVCM)", "Manifold Cone", " ", "",
     "special application"},
    {MeterType::Orf_Stolz, "Orifice-ISO5167-80,91", "Orifice-ISO5167-80,91", "Sharp-edged orifice", "ISO 5167",
     "1980,1991", "superceded by 1998 & 2003 revisions"},
    {MeterType::Orf_NEL, "Orifice-ISO5167-98 amd.", "Orifice-ISO5167-1998 amd.", "Sharp-edged orifice", "ISO 5167",
     "1998", "superceded by 2003 revision"},
    {MeterType::Orf_RGc, "Orifice-AGA3(91) [canon]", "Orifice AGA3(91) canonical", "Sharp-edged orifice",
     "A.G.A. Report No. 3", "Sep. 1990", "superceded by 2012 revision"},
    {MeterType::Orf_AGA, "Orifice-AGA3(11)", "Orifice AGA3(2012)", "Sharp-edged orifice", "A.G.A. Report No. 3",
     "Sep. 2012", "current"},
    {MeterType::Orf_Quad, "Orifice Quadrant-edge", "Quadrant-edge orifice", "Quadrant-edged orifice",
     "ISO 15377:2007E", "2007", "current"},
    {MeterType::Orf_Int, "Integral Orifice", "Integral Orifice", "Integral orifice", "", "", "special application"},
    {MeterType::Orf_RO, "ASME orifice AGA Y", "ASME orifice AGA Y", "Sharp-edged orifice", "ASME PTC 19.5", "", ""},
    {MeterType::Elb_22L, "Elbow 22.5 deg long", "Elbow 22.5 deg long radius", "22 deg long radius elbow",
     "Miller 3d ed", "1996", "special application"},
    {MeterType::Pit_AnnR, "Annubar (Rosemount)", "Annubar (Rosemount)", "Annubar(R)", "Rosemount-Emerson",
     "June 2003", "special application"},
    {MeterType::Pit_Vbar, "Verabar (Veris)", "Verabar", "Verabar(R)", "Veris Inc.", "", "special application"},
    {MeterType::Experimental, "experimental", "experimental", "experimental", "experimental", "experimental",
     "ERROR"},
    {MeterType::Mtr_Other, "non-DP meter", "non-DP meter", "", "", "", "ERROR"},
};

class CatalogueRow : public ::testing::TestWithParam<Row> {};

TEST_P(CatalogueRow, Texts) {
  const Row& r = GetParam();
  EXPECT_EQ(DeviceListName(r.type), r.list);
  EXPECT_EQ(DeviceLongName(r.type), r.longName);
  EXPECT_EQ(DeviceFamilyName(r.type), r.family);
  EXPECT_EQ(StandardName(r.type), r.standard);
  EXPECT_EQ(StandardEdition(r.type), r.edition);
  EXPECT_EQ(StandardStatus(r.type), r.status);
}

INSTANTIATE_TEST_SUITE_P(Rows, CatalogueRow, ::testing::ValuesIn(kRows));

TEST(Catalogue, ReferenceTexts) {
  qmx::test::ExpectResults(ClauseReferences, {{MeterType::Orf_ISO, "Part 2: qm: 4; Cd: 5.3.2.1; epsilon: 5.3.2.2"},
      {MeterType::Orf_Int, "qm: ___; D: eq 9.50 d: eq 9.51; Cd: Tbl 11.3 "},
      {MeterType::Vent_VCsC, "qm: ___; D,d: ___; beta:____ Cd: ____; Y: ____"}, {MeterType::Vent_VCw, ""}});
  EXPECT_EQ(StandardPartTitle(MeterType::Noz_LR), "Part 3 : Nozzles and Venturi nozzles");
  EXPECT_NE(StandardPartTitle(MeterType::Orf_NEL).find("full  AMENDMENT 1"), std::string::npos);
  EXPECT_EQ(StandardPartTitle(MeterType::Orf_Seg), "");
  EXPECT_EQ(StandardTitle(MeterType::Wedge_CCd), "\"Flow Measurement Engineering Handbook, Third Edition\"");
  EXPECT_EQ(StandardTitle(MeterType::Orf_BB), "Orifice metering of natural gas and other related hydrocarbon fluids");
  EXPECT_EQ(StandardCommittee(MeterType::Orf_Ecc), "I.S.O. Geneva");
  EXPECT_EQ(StandardCommittee(MeterType::Orf_ASME), "ASME Committe 19.5");
  EXPECT_EQ(StandardPublisher(MeterType::Orf_IFO), "Invensys-Foxboro");
  EXPECT_EQ(StandardPublisher(MeterType::Orf_Quad), "");
  EXPECT_EQ(StandardPublisher(MeterType::Elb_45S), "McGraw-Hill; ISBN 0-07-042366-0");
  EXPECT_EQ(StandardAddress(MeterType::Pit_AnnR), "___");
  EXPECT_EQ(StandardAddress(MeterType::Mtr_Other), "ERROR: Non-dP meter");
  EXPECT_EQ(StandardAddress(MeterType::Pit_Vbar), "");
  EXPECT_FALSE(StandardAddress(MeterType::Orf_ISO).empty());
  EXPECT_EQ(ApiCrossReference(MeterType::Orf_RG), "API MPMS 14.3.1, GPA 8185-90 part 1");
  EXPECT_EQ(ApiCrossReference(MeterType::Orf_BB), "ANSI/API 2530, API 2530, GPA 8185-85");
  EXPECT_EQ(ApiCrossReference(MeterType::Orf_AGA), "");
}

// ---- materials ----

TEST(Materials, Names) {
  Material m = Material::CbSteel;
  EXPECT_TRUE(MaterialFromName("Hastelloy C-22", true, m));
  EXPECT_EQ(static_cast<int>(m), 18);
  EXPECT_FALSE(MaterialFromName("Hastelloy C-22", false, m));  // not a key
  EXPECT_EQ(m, Material::Unobtainium);
  EXPECT_TRUE(MaterialFromName("SSduplex", false, m));
  EXPECT_EQ(m, Material::SSduplex);
  EXPECT_FALSE(MaterialFromName("Copper", true, m));
  EXPECT_EQ(static_cast<int>(m), 22);
  EXPECT_EQ(MaterialName(Material::CSlowTemp, true), "Low temp. carbon steel");
  EXPECT_EQ(MaterialName(Material::CSlowTemp, false), "CSlowTemp");
  for (int i = 0; i < kMaterialCount; ++i) {
    const auto mat = static_cast<Material>(i);
    for (bool display : {false, true}) {
      Material back = Material::CbSteel;
      EXPECT_TRUE(MaterialFromName(MaterialName(mat, display), display, back));
      EXPECT_EQ(back, mat);
    }
  }
}

struct AlphaCase {
  Material m;
  double tC;
  double alpha;  // 1e-6/K
};

const AlphaCase kAlpha[] = {
    {Material::CbSteelUS, 20, 11.16},  {Material::SS316US, 500, 16.002}, {Material::SS304SI, -50, 17.3},
    {Material::CbSteel, 20, 10.89},    {Material::CbSteel, 60, 11.21},   {Material::StSteel, 800, 19.31},
    {Material::StSteel, 1200, 19.31},  {Material::StSteel, -300, 14.7},  {Material::Monel, 450, 16.245},
    {Material::Brass, 750, 22.08},     {Material::Inconel, -150, 10.59}, {Material::Nickel, 20, 1.04 * 13.39},
    {Material::HastC22, 100, 10.61},   {Material::Titanium, 0, 8.36},    {Material::CSlowTemp, -100, 9.9},
    {Material::SSduplex, 20, 0.85 * 16.35}, {Material::Unobtainium, 300, 0.0}, {Material::Othr1, 20, 0.0},
};

class Alpha : public ::testing::TestWithParam<AlphaCase> {};

TEST_P(Alpha, Value) {
  const auto& c = GetParam();
  EXPECT_NEAR(ExpansionCoefficient(c.tC + 273.15, c.m), c.alpha * 1e-6, 1e-15);
}

INSTANTIATE_TEST_SUITE_P(Tables, Alpha, ::testing::ValuesIn(kAlpha));

TEST(Materials, ThermalCorrection) {
  EXPECT_DOUBLE_EQ(DiameterAtTemperature(Material::CbSteel, 293.15, 293.15, 0.1), 0.1);
  EXPECT_DOUBLE_EQ(DiameterAtTemperature(Material::Unobtainium, 293.15, 600.0, 0.1), 0.1);
  // alpha at the flowing temperature, not a mean: 100 degC uses 11.53e-6.
  EXPECT_NEAR(DiameterAtTemperature(Material::CbSteel, 293.15, 373.15, 0.1), 0.1 * (1 + 11.53e-6 * 80), 1e-16);
  const double L = DiameterAtTemperature(Material::SS316SI, 288.15, 450.0, 0.254);
  EXPECT_NEAR(DiameterAtReference(Material::SS316SI, 288.15, 450.0, L), 0.254, 1e-16);
}

TEST(Materials, UserValues) {
  SetUserExpansion(Material::Othr2, 5e-6);
  EXPECT_EQ(ExpansionCoefficient(500, Material::Othr2), 5e-6);
  EXPECT_EQ(ExpansionCoefficient(500, Material::Othr1), 0.0);
  SetUserExpansion(Material::CbSteel, 1.0);  // not a user slot: ignored
  EXPECT_NEAR(ExpansionCoefficient(293.15, Material::CbSteel), 10.89e-6, 1e-18);
  Initialize();
  EXPECT_EQ(UserExpansion(Material::Othr2), 0.0);
  // A non-finite temperature gives a finite coefficient.
  EXPECT_TRUE(std::isfinite(ExpansionCoefficient(std::nan(""), Material::CbSteel)));
  EXPECT_TRUE(std::isfinite(ExpansionCoefficient(std::numeric_limits<double>::infinity(), Material::Brass)));
}

// ---- diameter ratio ----

TEST(BetaRatio, Families) {
  EXPECT_DOUBLE_EQ(Beta(MeterType::Orf_ISO, 0.2, 0.1), 0.5);
  EXPECT_DOUBLE_EQ(Beta(MeterType::Vent_VCs, 0.2, 0.1), std::sqrt(0.75));
  EXPECT_NEAR(Beta(MeterType::Wedge_FC, 0.2, 0.1), std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(Beta(MeterType::Pit_AnnM, 0.1, 0.01), std::sqrt(0.4 / std::numbers::pi), 1e-15);
  EXPECT_NEAR(Beta(MeterType::Vent_AcBar, 0.1, 0.01), 0.4 / std::numbers::pi, 1e-15);
  EXPECT_EQ(Beta(MeterType::Elb_45S, 0.1, 0.05), 1.0);
  EXPECT_EQ(Beta(MeterType::Mtr_Other, 0.1, 0.05), 1.0);
  EXPECT_EQ(FamilyOf(MeterType::Orf_Seg), BetaFamily::Segment);
  EXPECT_EQ(FamilyOf(MeterType::Orf_RO), BetaFamily::Plain);
}

TEST(BetaRatio, InverseOfEveryClosedForm) {
  const MeterType types[] = {MeterType::Orf_ISO, MeterType::Vent_VCwC, MeterType::Pit_AnnM, MeterType::Pit_Avg,
                             MeterType::Pit_Vbar, MeterType::Noz_LR};
  for (MeterType t : types) {
    const double d = C_dR(t, 0.3, 0.55);
    EXPECT_NEAR(Beta(t, 0.3, d), 0.55, 1e-14) << static_cast<int>(t);
  }
  EXPECT_EQ(C_dR(MeterType::Elb_22S, 0.3, 0.5), 0.3);
}

TEST(BetaRatio, SegmentHeightByRootFinding) {
  EXPECT_NEAR(C_dR(MeterType::Wedge_CCd, 0.1, std::sqrt(0.5)), 0.05, 1e-7);
  EXPECT_GT(C_dR_Evaluations(), 2);
  EXPECT_LT(C_dR_Evaluations(), 200);
  for (double beta : {0.2, 0.4, 0.6, 0.8, 0.95}) {
    const double h = C_dR(MeterType::Orf_Seg, 0.25, beta);
    EXPECT_NEAR(Beta(MeterType::Orf_Seg, 0.25, h), beta, 1e-6) << beta;
  }
}

TEST(BetaRatio, SegmentBadInputRaisesBracketFailure) {
  for (double beta : {-0.5, 1.5, std::nan("")}) {
    SCOPED_TRACE(beta);
    qmx::test::ExpectRaise([&] { (void)C_dR(MeterType::Wedge_FC, 0.1, beta); }, "DP0", "DP0.C_dR() bracket failure");
  }
  EXPECT_THROW((void)C_dR(MeterType::Wedge_FC, -0.1, 0.5), qmx::Error);
  EXPECT_THROW((void)C_dR(MeterType::Wedge_FC, std::numeric_limits<double>::infinity(), 0.5), qmx::Error);
}

}  // namespace
