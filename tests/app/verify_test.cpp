#include "app/verify.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <string>

using namespace qmx::VERIFY;
namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A copy of the repository's data folder in a scratch folder of its own.
fs::path CopyData(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("qmx_verify_" + name + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::copy(QMX_DATA_DIR, dir, fs::copy_options::recursive);
  return dir;
}

void Edit(const fs::path& file, const std::string& from, const std::string& to) {
  std::string text = Slurp(file);
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  std::ofstream(file, std::ios::trunc) << text;
}

const SourceResult* Find(const std::vector<SourceResult>& all, const std::string& prefix) {
  for (const auto& r : all) {
    if (r.name.rfind(prefix, 0) == 0) return &r;
  }
  return nullptr;
}

}  // namespace

TEST(Verify, LastDigitUnitOfPrintedNumbers) {
  struct Case {
    const char* text;
    int maxDigits;
    double unit;
  };
  for (const Case& c : {Case{"0.100215168e-2", 99, 1e-11}, Case{"0.84084", 99, 1e-5}, Case{"1163.46509372", 99, 1e-8},
                        Case{"-27.712499233089", 99, 1e-12}, Case{"1.03301", 99, 1e-5}, Case{"12", 99, 1.0},
                        Case{"2.5E+3", 99, 100.0}, Case{"0.6065817192413611", 10, 1e-10},
                        Case{"1.173801364147326", 12, 1e-11}, Case{"0.000380407044", 5, 1e-8},
                        Case{"", 99, 0.0}, Case{"abc", 99, 0.0}, Case{"1.2.3", 99, 0.0}, Case{"1e", 99, 0.0},
                        Case{"5 kg", 99, 0.0}}) {
    const double u = LastDigitUnit(c.text, c.maxDigits);
    if (c.unit == 0.0) {
      EXPECT_EQ(u, 0.0) << c.text;
    } else {
      EXPECT_NEAR(u / c.unit, 1.0, 1e-12) << c.text;
    }
  }
}

TEST(Verify, ShippedDataPassesEverySource) {
  const auto all = RunAll(QMX_DATA_DIR);
  ASSERT_EQ(all.size(), 6u);
  struct Expect {
    const char* name;
    int cases;
  };
  for (const Expect& e : {Expect{"IAPWS-IF97", 26}, Expect{"AGA-8", 83}, Expect{"ISO 12213-3", 61},
                          Expect{"API MPMS 11.1", 42}, Expect{"ISO 5167", 562}, Expect{"AGA-3", 237}}) {
    const SourceResult* r = Find(all, e.name);
    ASSERT_NE(r, nullptr) << e.name;
    EXPECT_EQ(r->cases, e.cases) << e.name;
    EXPECT_TRUE(r->pass) << e.name << " worst " << r->worst;
    EXPECT_LE(r->worst, r->tolerance * (1 + 1e-6)) << e.name;
    EXPECT_EQ(r->error, "") << e.name;
  }
}

// One printed value moved by a unit of its last digit fails its source and only that one; a
// missing table fails its source with the reason.
TEST(Verify, AlteredOrMissingTablesFail) {
  const fs::path dir = CopyData("altered");
  Edit(dir / "sgerg88" / "annex_c.csv", ",0.84084\n", ",0.84086\n");
  Edit(dir / "steam" / "verification.csv", "0.115331273e3", "0.115331274e3");
  fs::remove(dir / "liquids" / "api_11_1_examples.csv");
  const auto all = RunAll(dir);
  for (const auto& r : all) {
    const bool broken = r.name.rfind("ISO 12213-3", 0) == 0 || r.name.rfind("IAPWS", 0) == 0 ||
                        r.name.rfind("API", 0) == 0;
    EXPECT_EQ(r.pass, !broken) << r.name << " worst " << r.worst;
  }
  EXPECT_NEAR(Find(all, "ISO 12213-3")->worst, 2.0, 0.6);
  EXPECT_NEAR(Find(all, "IAPWS")->worst, 1.0, 0.5);
  EXPECT_NE(Find(all, "API")->error.find("api_11_1_examples.csv"), std::string::npos);
  fs::remove_all(dir);
}

TEST(Verify, DataCandidatesPreferTheInstalledFolder) {
  const auto c = DataCandidates("/opt/qmx/bin");
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0], fs::path("/opt/qmx/bin/../share/qmx/data"));
  EXPECT_EQ(c[1], fs::path(QMX_DATA_DIR));
}
