#include "gas/heating.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../support/check.hpp"

using namespace qmx::GAS1;

namespace {

constexpr double kBtuFt3 = 37258.94580781;  // J/m3 per Btu(IT)/ft3
constexpr double kP1473 = 101559.77492836994;

struct Gas {
  Slate X{};
  Present present{};
};

Gas Pure(int i) {
  Gas g;
  g.X[static_cast<std::size_t>(i)] = 1.0;
  g.present[static_cast<std::size_t>(i)] = true;
  return g;
}

Gas FromPreset(int p) {
  Gas g;
  double sum = 0.0;
  for (double x : kPresets[static_cast<std::size_t>(p)].x) sum += x;
  for (std::size_t i = 0; i < kPresets[0].x.size(); ++i) {
    g.X[i] = kPresets[static_cast<std::size_t>(p)].x[i] / sum;
    g.present[i] = g.X[i] > 0.0;
  }
  return g;
}

// Base-condition inputs with the given compressibility at base and ideal gas at normal.
HeatInputs Inputs(const Gas& g, int source, int hmethod, double T, double P, double Zb) {
  HeatInputs in;
  in.hmethod = hmethod;
  in.present = g.present;
  in.X = g.X;
  in.ideal = DoMix(source, hmethod, g.present, g.X);
  in.Tbase = T;
  in.Pbase = P;
  in.THc = T;
  in.Zb = Zb;
  in.mDb = P / (Zb * kRgas * T);
  in.Zn = 1.0;
  in.mDn = kPnormal / (kRgas * kTnormal);
  return in;
}

// Numeric columns of an ISO 6976 table (the symbol column reads as 0, text columns are dropped).
std::vector<std::vector<double>> IsoTable(const std::string& name) {
  std::vector<std::vector<double>> rows;
  for (const auto& cells : qmx::test::ReadCsv("gas/" + name)) {
    std::vector<double> r;
    for (std::size_t col = 0; col < cells.size(); ++col) {
      const std::string& c = cells[col];
      const bool number = !c.empty() && (std::isdigit(static_cast<unsigned char>(c[0])) || c[0] == '-' || c[0] == '.');
      r.push_back(col == 1 || !number ? 0.0 : std::stod(c));
    }
    rows.push_back(r);
  }
  return rows;
}

void ExpectRaise(auto&& f, const std::string& msg) { qmx::test::ExpectRaise(f, "GAS1", msg); }

}  // namespace

TEST(DoMix, PureMethaneWithTheUsTable) {
  const Gas g = Pure(comp::C1);
  const IdealMix r = DoMix(GPAcurrentUS, AGA8C4method, g.present, g.X);
  EXPECT_DOUBLE_EQ(r.ideal[tMr], 16.0425);
  EXPECT_DOUBLE_EQ(r.ideal[tTc], 190.561);
  EXPECT_DOUBLE_EQ(r.ideal[tPc], 4599490.0);
  EXPECT_NEAR(r.Hm, 55.5728e6, 1e-6);
  EXPECT_NEAR(r.HN, 55.5728 * 16.0425, 1e-9);
  EXPECT_DOUBLE_EQ(r.ideal[tHC], 4.0);
  EXPECT_DOUBLE_EQ(r.ideal[tMu], 1.078e-05);
  EXPECT_DOUBLE_EQ(r.ideal[tcW], 0.0115);
  EXPECT_NEAR(r.ideal[tkP], 35.69 / (35.69 - 8.31451), 1e-12);
  // Brought from 60 F to 25 C: ISO 6976 gives 890.63 (1995) and 890.58 (2016) kJ/mol.
  EXPECT_NEAR(r.ideal[tHN25] * 1e-6, 890.6, 0.1);
}

TEST(DoMix, NitrogenHasNoHeatingValueNorHydrocarbonRatio) {
  const Gas g = Pure(comp::N2);
  for (int s = 0; s < kNTables; ++s) {
    for (int hm : {AGA8C4method, AGA5method, AGA509method, GrossHmethod}) {
      const IdealMix r = DoMix(s, hm, g.present, g.X);
      EXPECT_EQ(r.ideal[tHN25], 0.0);
      EXPECT_EQ(r.ideal[tHC], 0.0);
      EXPECT_EQ(r.Hm, 0.0);
      // No heating value appears at the heating-value temperature either.
      HeatInputs in = Inputs(g, s, hm, 288.15, 101325.0, 1.0);
      in.THc = 273.15;
      EXPECT_EQ(HeatFromSlate(in).heat.HN, 0.0) << s << " " << hm;
    }
  }
}

TEST(DoMix, InvalidTableRaises) {
  const Gas g = Pure(comp::C1);
  for (int s : {int{GasDataTest}, 9, -1, 255})
    ExpectRaise([&] { DoMix(s, AGA5method, g.present, g.X); }, "GAS1.DoMix() invalid table");
}

TEST(DoMix, EmptySlateGivesZerosNotNaN) {
  const Gas g;
  const IdealMix r = DoMix(GPAcurrentUS, AGA5method, g.present, g.X);
  for (double v : r.ideal) EXPECT_EQ(v, 0.0);
  EXPECT_EQ(r.Hm, 0.0);
}

// Mended component data: isohexane C6H14, real heat capacities, neohexane viscosity.
TEST(DoMix, MendedComponentData) {
  const IdealMix iso = DoMix(GPAcurrentUS, AGA5method, Pure(comp::iC6).present, Pure(comp::iC6).X);
  EXPECT_DOUBLE_EQ(iso.ideal[tHC], 14.0 / 6.0);
  for (int i = comp::neoC5; i < kNComp; ++i) {
    const Gas g = Pure(i);
    const IdealMix r = DoMix(GPAcurrentUS, AGA5method, g.present, g.X);
    EXPECT_GT(r.ideal[tkP], 1.0) << i;
    EXPECT_LT(r.ideal[tkP], 1.3) << i;
  }
  Gas mix = Pure(comp::C1);
  mix.X = {};
  mix.X[comp::C1] = 0.5;
  mix.X[comp::neoC6] = 0.5;
  mix.present[comp::neoC6] = true;
  const IdealMix r = DoMix(GPAcurrentUS, AGA5method, mix.present, mix.X);
  // Herning-Zipperer mean of 0.01078 and 0.00683 cP.
  const double s1 = std::sqrt(16.0425), s2 = std::sqrt(86.1754);
  EXPECT_NEAR(r.ideal[tMu], (0.01078 * s1 + 0.00683 * s2) / (s1 + s2) * 1e-3, 1e-12);
  EXPECT_GT(r.ideal[tMu], 7.5e-6);
}

// AGA Report No. 5 (2009) worked example, imperial units: Amarillo gas, 60 F, 14.73 psia,
// Z = 0.997776 at base, combustion at 60 F.
TEST(HeatFromSlate, AgaReport5Example) {
  const Gas g = FromPreset(1);
  // The published figures are rounded to 0.1 Btu/ft3 and 0.0001; the Wobbe number inherits both.
  for (int s : {AGAcurrent, GPAcurrentSI, GPAcurrentUS}) {
    const BaseResult b = HeatFromSlate(Inputs(g, s, AGA509method, kT60F, kP1473, 0.997776));
    EXPECT_NEAR(b.heat.Hv / kBtuFt3, 1034.8, s == AGAcurrent ? 0.05 : 0.06) << s;
    EXPECT_NEAR(b.heat.WI / kBtuFt3, 1326.5, 0.1) << s;
    EXPECT_NEAR(b.gr, 0.6086, 0.00005) << s;
    EXPECT_NEAR(b.mrg / kMair, 0.6075, 0.00005) << s;
    EXPECT_NEAR(b.heat.Mon2, 127.4, 0.05);
    EXPECT_NEAR(b.heat.Meth2, 87.8, 0.05);
    EXPECT_NEAR(b.heat.vH2O, 44.41, 0.005);
    EXPECT_NEAR(b.heat.dH2O * 1000.0, -711.1, 0.05);
    EXPECT_EQ(b.hng, b.heat.HN);
  }
}

// The correction carries the ISO 6976 columns of molar heating values at 25 C into those at 0, 15
// and 20 C (the 2016 edition for 0 C: the 1995 n-butane value at 0 C is out of line with its own
// 15, 20 and 25 C values). Water is no fuel here: its tabulated value is the condensation term.
TEST(CorrectHV, ReproducesIsoTemperatureColumns) {
  const auto iso95 = IsoTable("iso6976_1995.csv");
  const auto iso16 = IsoTable("iso6976_2016.csv");
  ASSERT_EQ(iso95.size(), static_cast<std::size_t>(kNComp));
  ASSERT_EQ(iso16.size(), static_cast<std::size_t>(kNComp));
  int checked = 0;
  for (int i = 0; i < kNComp; ++i) {
    const auto& a = iso95[static_cast<std::size_t>(i)];
    const auto& b = iso16[static_cast<std::size_t>(i)];
    if (a[6] == 0.0 || i == comp::H2O) continue;
    const Slate X = Pure(i).X;
    for (int hm : {AGA8C4method, AGA509method}) {
      EXPECT_NEAR(CorrectHV(a[6] * 1e6, 288.15, kT25C, hm, X) * 1e-6, a[4], 0.04) << i;
      EXPECT_NEAR(CorrectHV(a[6] * 1e6, 293.15, kT25C, hm, X) * 1e-6, a[5], 0.04) << i;
      EXPECT_NEAR(CorrectHV(a[4] * 1e6, kT25C, 288.15, hm, X) * 1e-6, a[6], 0.04) << i;
      EXPECT_NEAR(CorrectHV(b[7] * 1e6, 273.15, kT25C, hm, X) * 1e-6, b[3], 0.12) << i;
      EXPECT_NEAR(CorrectHV(b[7] * 1e6, 288.15, kT25C, hm, X) * 1e-6, b[4], 0.04) << i;
      EXPECT_NEAR(CorrectHV(b[7] * 1e6, 288.7055555555556, kT25C, hm, X) * 1e-6, b[5], 0.04) << i;
      EXPECT_NEAR(CorrectHV(b[7] * 1e6, 293.15, kT25C, hm, X) * 1e-6, b[6], 0.04) << i;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2 * 23);
}

TEST(CorrectHV, MethodsAndIdentity) {
  const Slate X = FromPreset(0).X;
  EXPECT_EQ(CorrectHV(9e8, 288.15, kT25C, GrossHmethod, X), 9e8);
  EXPECT_DOUBLE_EQ(CorrectHV(9e8, kT25C, kT25C, AGA8C4method, X), 9e8);
  // Sets A and B differ, and a round trip returns the start value.
  const double a = CorrectHV(9e8, 273.15, kT25C, AGA8C4method, X);
  const double b = CorrectHV(9e8, 273.15, kT25C, AGA509method, X);
  EXPECT_NE(a, b);
  EXPECT_NEAR(CorrectHV(a, kT25C, 273.15, AGA8C4method, X), 9e8, 1e-3);
  EXPECT_EQ(CorrectHV(9e8, 273.15, kT25C, 7, X), a);  // any other code uses set A
}

// The ISO 6976 15 C source is brought from 15 C to 25 C like the other 15 C tables, so its
// HN25 agrees with the standard's own 25 C table.
TEST(DoMix, IsoFifteenDegreeSourceIsCorrectedToTwentyFive) {
  for (int p : {15, 0, 6, 8}) {
    const Gas g = FromPreset(p);
    const IdealMix a = DoMix(ISO_6976, AGA8C4method, g.present, g.X);
    const IdealMix b = DoMix(ISO6976n, AGA8C4method, g.present, g.X);
    EXPECT_NEAR(a.ideal[tHN25], b.ideal[tHN25], 2e-5 * b.ideal[tHN25]) << p;
    EXPECT_GT(std::abs(a.HNdry * 1e6 - b.ideal[tHN25]), 5e-4 * b.ideal[tHN25]) << p;
  }
}

TEST(DoMix, TwentyFiveDegreeTablesAndGrossMethodTakeTheTable) {
  const Gas g = FromPreset(15);
  const IdealMix r = DoMix(ISO6976n, AGA5method, g.present, g.X);
  EXPECT_DOUBLE_EQ(r.ideal[tHN25], r.HNdry * 1e6);
  const IdealMix q = DoMix(GPAcurrentUS, GrossHmethod, g.present, g.X);
  EXPECT_DOUBLE_EQ(q.ideal[tHN25], q.HNdry * 1e6);
  // Water is left out of HN25.
  const Gas w = FromPreset(6);
  const IdealMix rw = DoMix(ISO6976n, AGA5method, w.present, w.X);
  EXPECT_NEAR(rw.HN - rw.HNdry, 0.0001 / 1.0 * 44.016, 1e-6);
}

TEST(HeatFromSlate, HeatingValueMethods) {
  const Gas g = FromPreset(0);
  HeatInputs in = Inputs(g, GPAcurrentSI, AGA5method, 288.15, 101325.0, 0.998);
  const BaseResult b5 = HeatFromSlate(in);
  EXPECT_DOUBLE_EQ(b5.heat.Hm, in.ideal.Hm);
  in.THc = 293.15;
  EXPECT_DOUBLE_EQ(HeatFromSlate(in).heat.Hm, in.ideal.Hm);

  in = Inputs(g, GPAcurrentSI, AGA8C4method, 288.15, 101325.0, 0.998);
  const double h15 = HeatFromSlate(in).heat.Hm;
  in.THc = 293.15;
  const double h20 = HeatFromSlate(in).heat.Hm;
  EXPECT_LT(h20, h15);
  EXPECT_NEAR(h15, in.ideal.Hm, 2e-6 * h15);  // 15 C table corrected to 25 C and back
  // ISO 6976 methane: 891.56 kJ/mol at 15 C, 891.09 at 20 C.
  EXPECT_NEAR((h15 - h20) / h15, (891.56 - 891.09) / 891.56, 0.3e-4);
}

TEST(HeatFromSlate, SectionsAtBaseAndNormal) {
  const Gas g = FromPreset(0);
  const HeatInputs in = Inputs(g, GPAcurrentUS, AGA8C4method, kT60F, kP1473, 0.9981);
  const BaseResult b = HeatFromSlate(in);
  const double M = in.ideal.ideal[tMr];
  EXPECT_EQ(b.base.Tt, kT60F);
  EXPECT_EQ(b.base.Pp, kP1473);
  EXPECT_EQ(b.base.Z, 0.9981);
  EXPECT_DOUBLE_EQ(b.base.RHO, in.mDb * M);
  EXPECT_DOUBLE_EQ(b.base.Mut, in.ideal.ideal[tMu]);  // the dilute values are at 60 F
  EXPECT_EQ(b.normal.Tt, 273.15);
  EXPECT_EQ(b.normal.Pp, 101325.0);
  EXPECT_LT(b.normal.Mut, b.base.Mut);
  EXPECT_GT(b.normal.kI, b.base.kI);
  EXPECT_EQ(b.heat.st.RHO, b.base.RHO);
  EXPECT_EQ(b.heat.THc, kT60F);
  EXPECT_EQ(b.heat.Hvn, 0.0);
  EXPECT_DOUBLE_EQ(b.gr, M * in.mDb / b.air.RHO);
  EXPECT_DOUBLE_EQ(b.hs, in.ideal.ideal[tHN25] * in.mDb);
  EXPECT_DOUBLE_EQ(b.heat.WI, b.heat.Hv / std::sqrt(b.gr));
  EXPECT_NEAR(b.heat.Pvw, qmx::GAS1::WaterVapourPressure(kT60F), 0.0);
  EXPECT_NEAR(b.heat.Pvw, 1767.7, 0.5);  // IAPWS-IF97 at 60 F
}

TEST(HeatFromSlate, InvalidBaseRaises) {
  const Gas g = Pure(comp::C1);
  for (auto [T, P] : {std::pair{299.0, 101325.0}, std::pair{300.0, 101325.0},
                      std::pair{272.0, 101325.0}, std::pair{288.15, 71000.0},
                      std::pair{288.15, 111000.0},
                      std::pair{std::numeric_limits<double>::quiet_NaN(), 101325.0}}) {
    const HeatInputs in = Inputs(g, GPAcurrentUS, AGA5method, T, P, 1.0);
    ExpectRaise([&] { HeatFromSlate(in); }, "GAS1.UpdateHBfromSlate() Invalid base T P");
  }
}

// Dry air against ISO 6976:1995: Z = 0.99958 at 15 C and 1.292923 kg/m3 at 0 C, 101.325 kPa.
TEST(AirAt, IsoDryAir) {
  State air;
  ASSERT_TRUE(AirAt(288.15, 101325.0, air));
  EXPECT_NEAR(air.Z, 0.99958, 0.000005);
  EXPECT_EQ(air.kI, 1.37);
  ASSERT_TRUE(AirAt(273.15, 101325.0, air));
  EXPECT_NEAR(air.RHO, 1.292923, 1.3e-5);
  EXPECT_NEAR(air.mD, 101325.0 / (air.Z * kRgas * 273.15), 1e-15);
  ASSERT_TRUE(AirAt(kT60F, 101325.0, air));
  EXPECT_NEAR(air.Mut, 1.762075e-05, 1e-15);
  EXPECT_TRUE(AirAt(298.15, 110316.11669, air));
  EXPECT_TRUE(AirAt(273.15, 71705.475849, air));
  EXPECT_FALSE(AirAt(298.16, 101325.0, air));
  EXPECT_FALSE(AirAt(288.15, std::numeric_limits<double>::infinity(), air));
}

TEST(Properties, IdealExponentAndViscosity) {
  const Gas g = Pure(comp::C1);
  // The polynomial meets the tabulated 35.69 J/(mol K) within 0.3 %.
  EXPECT_NEAR(IdealExponent(g.present, g.X, 298.15), 35.69 / (35.69 - 8.314), 1.5e-3);
  EXPECT_EQ(IdealExponent(Gas{}.present, Gas{}.X, 298.15), 0.0);
  EXPECT_NEAR(IdealExponent(Pure(comp::He).present, Pure(comp::He).X, 300.0), 5.0 / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(ViscosityAt(kT60F, 190.0, 1.1e-5), 1.1e-5);
  EXPECT_GT(ViscosityAt(320.0, 190.0, 1.1e-5), 1.1e-5);
  EXPECT_EQ(ViscosityAt(0.0, 190.0, 1.1e-5), 0.0);
  EXPECT_EQ(ViscosityAt(std::numeric_limits<double>::quiet_NaN(), 190.0, 1.1e-5), 0.0);
}

// Water terms: the enthalpy of vaporisation follows the ISO 6976:1995 water row (0, 15, 20 C).
TEST(HeatFromSlate, WaterTermsAndMethaneNumbers) {
  const Gas g = Pure(comp::C1);
  HeatInputs in = Inputs(g, GPAcurrentUS, AGA8C4method, 288.15, 101325.0, 1.0);
  for (auto [T, v] : {std::pair{273.15, 45.074}, std::pair{288.15, 44.433},
                      std::pair{293.15, 44.224}}) {
    in.THc = T;
    EXPECT_NEAR(HeatFromSlate(in).heat.vH2O, v, 0.002) << T;
  }
  in.THc = kT25C;
  const BaseResult b = HeatFromSlate(in);
  EXPECT_EQ(b.heat.dH2O, 0.0);
  EXPECT_NEAR(b.heat.Mon1, 140.1, 0.05);  // methane, H/C = 4
  EXPECT_NEAR(b.heat.Meth1, 1.624 * b.heat.Mon1 - 119.1, 1e-12);
  EXPECT_NEAR(b.heat.Mon2, 137.78, 1e-12);
  EXPECT_EQ(WaterVapourPressure(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_NEAR(WaterVapourPressure(373.124), 101325.0, 30.0);
}

TEST(Rounding, ZAndMolarDensity) {
  EXPECT_DOUBLE_EQ(RoundZ(0.99766499), 0.99766);
  EXPECT_DOUBLE_EQ(RoundZ(0.99766501), 0.99767);
  EXPECT_DOUBLE_EQ(RoundMD(0.04231249), 0.042312);
  EXPECT_DOUBLE_EQ(RoundMD(-0.04231251), -0.042313);
}
