#include "gas/components.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "gas/heating.hpp"
#include "../support/check.hpp"

using namespace qmx::GAS1;

namespace {

qmx::test::Rows ReadCsv(const std::string& name) { return qmx::test::ReadCsv("gas/" + name); }

// Atom counts of a molecular formula such as "C10H22" or "CH4O".
std::map<char, int> Atoms(const std::string& f) {
  std::map<char, int> n;
  for (std::size_t i = 0; i < f.size();) {
    char el = f[i++];
    if (i < f.size() && std::islower(static_cast<unsigned char>(f[i]))) {
      ++i;  // He, Ar: no C, H, O or S
      el = '*';
    }
    int k = 0;
    while (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i]))) k = k * 10 + (f[i++] - '0');
    n[el] += k == 0 ? 1 : k;
  }
  return n;
}

double PolyCp(int i, double T) {
  const auto& a = kCpPoly[static_cast<std::size_t>(i)];
  return 8.314 * (a[0] + a[1] * T + a[2] * T * T + a[3] * T * T * T + a[4] * T * T * T * T);
}

}  // namespace

// The compiled species records and columns are those of data/gas/species.csv, cp_poly.csv,
// cp_sets.csv and combustion.csv.
TEST(Species, RecordsAndColumnsMatchTheDataFiles) {
  const auto species = ReadCsv("species.csv");
  ASSERT_EQ(species.size(), static_cast<std::size_t>(kNComp));
  for (const auto& r : species) {
    const int i = std::stoi(r[0]);
    const std::size_t u = static_cast<std::size_t>(i);
    for (int f = 0; f < kSpeciesFields; ++f) EXPECT_EQ(GetSpecies(i, f), r[1 + f]) << i << " field " << f;
    EXPECT_EQ(kFileNames[u], r[8]) << i;
    EXPECT_EQ(kCarbon[u], std::stoi(r[9])) << i;
    EXPECT_EQ(kHydrogen[u], std::stoi(r[10])) << i;
    EXPECT_EQ(kOmega[u], std::stod(r[11])) << i;
    EXPECT_EQ(kMu[u], std::stod(r[12])) << i;
  }
  for (const auto& r : ReadCsv("cp_poly.csv")) {
    const std::size_t u = static_cast<std::size_t>(std::stoi(r[0]));
    for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ(kCpPoly[u][k], std::stod(r[2 + k])) << r[1];
    EXPECT_EQ(kCp298[u], std::stod(r[7])) << r[1];
  }
  const auto sets = ReadCsv("cp_sets.csv");
  ASSERT_EQ(sets.size(), static_cast<std::size_t>(kNComp + 1));  // and sulfur dioxide
  for (const auto& r : sets) {
    const std::size_t u = static_cast<std::size_t>(std::stoi(r[0]));
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(kCpSetA[u][k], std::stod(r[2 + k])) << r[1];
      EXPECT_EQ(kCpSetB[u][k], std::stod(r[6 + k])) << r[1];
    }
  }
  for (const auto& r : ReadCsv("combustion.csv")) {
    const Combustion& c = kCombustion[static_cast<std::size_t>(std::stoi(r[0]))];
    EXPECT_EQ(c.own, std::stod(r[2])) << r[1];
    EXPECT_EQ(c.o2, std::stod(r[3])) << r[1];
    EXPECT_EQ(c.h2o, std::stod(r[4])) << r[1];
    EXPECT_EQ(c.co2, std::stod(r[5])) << r[1];
    EXPECT_EQ(c.so2, std::stod(r[6])) << r[1];
  }
}

// The mended records: CAS numbers of n-pentane and hydrogen sulfide, the isohexane formula.
TEST(Species, MendedEntriesAndRecordLimits) {
  qmx::test::ExpectResults(GetSpecies, {{comp::nC5, 3, "109-66-0"}, {comp::H2S, 3, "7783-06-4"},
      {comp::iC6, 1, "C6H14"}, {comp::iC6, 6, "2-methylpentane"}, {-1, 0, ""}, {kNComp, 0, ""}, {0, kSpeciesFields, ""},
      {0, -1, ""}});
  for (int i = 0; i < kNComp; ++i) {
    EXPECT_EQ(GetSpecies(i, 0), kSymbols[static_cast<std::size_t>(i)]);
    int bars = 0;
    for (char c : kSpecies[static_cast<std::size_t>(i)]) bars += c == '|';
    EXPECT_EQ(bars, kSpeciesFields - 1) << i;
  }
}

// The atom columns and the combustion table follow from each species formula.
TEST(Species, AtomsAndCombustionFollowTheFormula) {
  for (int i = 0; i < kNComp; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    auto n = Atoms(GetSpecies(i, 1));
    EXPECT_EQ(kCarbon[u], n['C']) << i;
    EXPECT_EQ(kHydrogen[u], n['H']) << i;
    const Combustion& c = kCombustion[u];
    const bool fuel = c.own != 0.0;
    if (!fuel) {
      EXPECT_EQ(c.o2 + c.h2o + c.co2 + c.so2, 0.0) << i;
      continue;
    }
    EXPECT_EQ(c.own, -1.0);
    EXPECT_DOUBLE_EQ(c.co2, n['C']) << i;
    EXPECT_DOUBLE_EQ(c.h2o, n['H'] / 2.0) << i;
    EXPECT_DOUBLE_EQ(c.so2, n['S']) << i;
    // Oxygen balance: 2 CO2 + H2O + 2 SO2 = 2 O2 + O in the fuel.
    EXPECT_DOUBLE_EQ(-c.o2, (2.0 * c.co2 + c.h2o + 2.0 * c.so2 - n['O']) / 2.0) << i;
  }
  // Inerts and water take no part in combustion (no heat-capacity term).
  for (int i : {comp::N2, comp::CO2, comp::H2O, comp::O2, comp::He, comp::Ar})
    EXPECT_EQ(kCombustion[static_cast<std::size_t>(i)].own, 0.0);
}

TEST(Tables, EveryTableIsCompleteAndTitled) {
  const char* titles[] = {"GPA 2145-08, US table",
                          "GPA 2145-08, SI table",
                          "AGA-5 2009",
                          "GPA 2145-03 Rev1, US table",
                          "GPA 2145-03 Rev1, SI table",
                          "GPA 2145-93, US table",
                          "ISO-6976:1995(E), 15 C table (& corr 1..3)",
                          "ISO-6976:1995(E), 25 C HN table (& corr 1..3)",
                          "Special testing"};
  for (int s = 0; s <= GasDataTest; ++s) {
    const std::string title = DataSourceTitle(s);
    ASSERT_EQ(title.size(), 45u) << s;
    EXPECT_EQ(title.substr(0, title.find_last_not_of(' ') + 1), titles[s]);
  }
  EXPECT_DOUBLE_EQ(Table(GPAcurrentUS)->Ttable, kT60F);
  EXPECT_EQ(Table(GasDataTest), nullptr);
  EXPECT_EQ(Table(-1), nullptr);
  EXPECT_EQ(DataSourceTitle(9), "");
  for (int s = 0; s < kNTables; ++s) {
    const SourceTable* t = Table(s);
    ASSERT_NE(t, nullptr);
    for (int i = 0; i < kNComp; ++i) {
      const std::size_t u = static_cast<std::size_t>(i);
      EXPECT_GT(t->Pc[u], 100.0) << s << " " << i;
      EXPECT_GT(t->Tc[u], 5.0) << s << " " << i;
      EXPECT_GT(t->M[u], 2.0) << s << " " << i;
      const bool inert = i == comp::N2 || i == comp::CO2 || i == comp::O2 || i == comp::He ||
                         i == comp::Ar;
      if (inert) EXPECT_EQ(t->HV[u], 0.0) << s << " " << i;
      else EXPECT_GT(t->HV[u], 0.0) << s << " " << i;
    }
  }
  // Sources 0 to 2 share their critical constants and molar masses, as do 6 and 7.
  EXPECT_EQ(Table(0)->M, Table(2)->M);
  EXPECT_EQ(Table(1)->Pc, Table(0)->Pc);
  EXPECT_EQ(Table(6)->Tc, Table(7)->Tc);
  EXPECT_EQ(Table(6)->M, Table(7)->M);
}

// The compiled tables are the ones in data/gas/source_tables.csv.
TEST(Tables, MatchTheDataFile) {
  auto rows = ReadCsv("source_tables.csv");
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kNTables * kNComp));
  for (const auto& r : rows) {
    const SourceTable* t = Table(std::stoi(r[0]));
    const std::size_t i = static_cast<std::size_t>(std::stoi(r[1]));
    EXPECT_EQ(r[2], kSymbols[i]);
    EXPECT_DOUBLE_EQ(t->Pc[i], std::stod(r[3]));
    EXPECT_DOUBLE_EQ(t->Tc[i], std::stod(r[4]));
    EXPECT_DOUBLE_EQ(t->M[i], std::stod(r[5]));
    EXPECT_NEAR(t->HV[i], std::stod(r[6]), 1e-9 * std::abs(t->HV[i]));
    EXPECT_EQ(r[7], t->molar ? "MJ/kmol" : "MJ/kg");
  }
}

// ISO 6976:1995 source 7 holds the standard's 25 C molar values; source 6 its 15 C values.
TEST(Tables, IsoSourcesHoldTheStandardsValues) {
  auto iso = ReadCsv("iso6976_1995.csv");
  ASSERT_EQ(iso.size(), static_cast<std::size_t>(kNComp));
  for (int i = 0; i < kNComp; ++i) {
    const auto& r = iso[static_cast<std::size_t>(i)];
    EXPECT_DOUBLE_EQ(GasGetIdeal(ISO6976n, 0, i), std::stod(r[6]) * 1e6) << i;
    EXPECT_NEAR(GasGetIdeal(ISO_6976, 0, i), std::stod(r[4]) * 1e6, 1e-9 * std::stod(r[4]) * 1e6) << i;
    EXPECT_DOUBLE_EQ(GasGetIdeal(ISO_6976, 5, i), std::stod(r[2])) << i;
  }
}

TEST(Columns, HeatCapacitiesAreReal) {
  for (int i = 0; i < kNComp; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    // No placeholder: every ideal-gas Cp is at least the monatomic 5/2 R.
    EXPECT_GE(kCp298[u], 20.78) << i;
    // Each polynomial reproduces its tabulated Cp at 298.15 K within 1 %.
    EXPECT_NEAR(PolyCp(i, 298.15), kCp298[u], 0.01 * kCp298[u]) << i;
  }
  EXPECT_NEAR(PolyCp(comp::m3C5, 298.15), 140.1, 0.1);
}

TEST(Columns, DiluteViscositiesArePositive) {
  for (int i = 0; i < kNComp; ++i) EXPECT_GT(kMu[static_cast<std::size_t>(i)], 0.004) << i;
  // Neohexane lies among the other C6 isomers.
  EXPECT_NEAR(kMu[comp::neoC6], 0.00683, 1e-5);
  EXPECT_GT(kMu[comp::neoC6], kMu[comp::nC6]);
}

// Every heat-capacity set reproduces the polynomial over 0..60 C.
TEST(Columns, HeatCapacitySets) {
  for (const auto* set : {&kCpSetA, &kCpSetB}) {
    for (int i = 0; i < kNComp; ++i) {
      if (set == &kCpSetA && i == comp::H2O) continue;  // quoted as zero
      const auto& c = (*set)[static_cast<std::size_t>(i)];
      for (double t = 0.0; t <= 60.0; t += 10.0) {
        const double cp = 8.314 * (c[0] + c[1] * t + c[2] * t * t);
        EXPECT_NEAR(cp, PolyCp(i, t + 273.15), 0.01 * cp) << i << " at " << t;
      }
    }
  }
}

TEST(Presets, SixteenNormalisedCompositions) {
  EXPECT_EQ(kPresets[0].name, "Gulf Coast");
  EXPECT_EQ(kPresets[14].name, "Dry air");
  EXPECT_EQ(kPresets[15].name, "ISO6976 D1");
  EXPECT_DOUBLE_EQ(kPresets[0].x[comp::C1], 0.965222);
  EXPECT_DOUBLE_EQ(kPresets[14].x[comp::Ar], 0.00936226);
  EXPECT_DOUBLE_EQ(kPresets[6].x[comp::H2O], 0.0001);
  auto rows = ReadCsv("presets.csv");
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kNPresets));
  for (std::size_t p = 0; p < kPresets.size(); ++p) {
    double sum = 0.0;
    for (std::size_t i = 0; i < kPresets[p].x.size(); ++i) {
      sum += kPresets[p].x[i];
      EXPECT_DOUBLE_EQ(kPresets[p].x[i], std::stod(rows[p][i + 2]));
    }
    EXPECT_NEAR(sum, 1.0, 1e-6) << kPresets[p].name;
  }
}

TEST(GasGetIdeal, ComponentValues) {
  qmx::test::ExpectDoubles(GasGetIdeal, {{GPAcurrentUS, 0, comp::C1, 55.5728 * 16.0425 * 1e6},
      {GPAcurrentUS, 1, comp::C1, 4599490.0}, {GPAcurrentUS, 2, comp::C1, 190.561}, {GPAcurrentUS, 3, comp::C1, 0.0115},
      {GPAcurrentUS, 4, comp::C1, 1.078e-05}, {GPAcurrentUS, 5, comp::C1, 16.0425}, {GPAcurrentUS, 6, comp::C1, 4.0}});
  EXPECT_DOUBLE_EQ(GasGetIdeal(GPAcurrentUS, 6, comp::iC6), 14.0 / 6.0);
  EXPECT_DOUBLE_EQ(GasGetIdeal(GPAcurrentUS, 6, comp::N2), 0.0);
  EXPECT_NEAR(GasGetIdeal(GPAcurrentUS, 7, comp::C1), 35.69 / (35.69 - 8.31451), 1e-12);
  EXPECT_DOUBLE_EQ(GasGetIdeal(GPAcurrentUS, 0, comp::N2), 0.0);
  EXPECT_DOUBLE_EQ(GasGetIdeal(AGAcurrent, 0, comp::C1), 890.58e6);
  EXPECT_EQ(GasGetIdeal(GPAcurrentUS, 0, -1), 0.0);
  EXPECT_EQ(GasGetIdeal(GPAcurrentUS, 0, kNComp), 0.0);
  for (auto [s, tag] : {std::pair{8, 0}, std::pair{-1, 0}, std::pair{0, 8}, std::pair{0, -1}}) {
    SCOPED_TRACE(testing::Message() << s << " " << tag);
    qmx::test::ExpectRaise([&] { GasGetIdeal(s, tag, 0); }, "GAS1", "GAS1.GasGetIdeal() invalid table");
  }
}
