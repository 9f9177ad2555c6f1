// qmxcli dp, run as a program: the JSON it prints and its usage errors.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "meters/dp2.hpp"
#include "meters/dpflow.hpp"

namespace {

namespace fs = std::filesystem;
using namespace qmx::DP0;

// qmxcli is built beside the tests: <build>/apps/qmxcli/qmxcli.
fs::path FindQmxcli() {
  std::error_code ec;
  fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
  for (int up = 0; up < 4 && !dir.empty(); ++up, dir = dir.parent_path()) {
    const fs::path candidate = dir / "apps" / "qmxcli" / "qmxcli";
    if (fs::exists(candidate)) return candidate;
  }
  return {};
}

struct RunOutput {
  int status = -1;
  std::string out;
};

RunOutput RunDp(const std::string& args) {
  RunOutput r;
  const fs::path exe = FindQmxcli();
  if (exe.empty()) return r;
  const std::string command = exe.string() + " dp " + args + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
  const int wait = pclose(pipe);
  r.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  return r;
}

const std::string kGas =
    "--D 0.0779272 --d 0.0389636 --dp 12000 --T 295.15 --P1 3593700 --mu 1.1e-5 --kappa 1.3 --rho 27";

class DpCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindQmxcli().empty()) GTEST_SKIP() << "qmxcli not built";
  }
};

TEST_F(DpCommand, PrintsEveryResultFieldAsMassFlowGives) {
  const RunOutput run = RunDp("--meter Orf_ISO " + kGas + " --rho-base 0.75 --hm 5e7");
  ASSERT_EQ(run.status, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  DPMeter m;
  m.type = MeterType::Orf_ISO;
  m.D = 0.0779272;
  m.d = 0.0389636;
  const DPFluid f{12000, 295.15, 3593700, 1.1e-5, 1.3, 27, 0.75, 5e7, true};
  DPFlags flags = 0;
  DPResult r;
  MassFlow(flags, r, f, m);
  CheckLimits(flags, r, f, m);
  ASSERT_EQ(j["result"].size(), 17u);
  for (const auto& [name, value] : ResultFields(r)) {
    ASSERT_TRUE(j["result"].contains(std::string(name))) << name;
    EXPECT_EQ(j["result"][std::string(name)].get<double>(), value) << name;
  }
  EXPECT_EQ(j["flags"].get<int>(), flags);
  EXPECT_EQ(j["flag_text"].get<std::string>(), FlagText(flags));
  EXPECT_GT(j["result"]["qm"].get<double>(), 0.59);
}

TEST_F(DpCommand, CodeEqualsKeyAndOptionsApply) {
  const RunOutput byKey = RunDp("--meter Orf_ISO --taps 0 " + kGas);
  const RunOutput byCode = RunDp("--meter 12 --taps 0 --pipe-material 12 --element-material StSteel " + kGas);
  ASSERT_EQ(byKey.status, 0);
  EXPECT_EQ(byKey.out, byCode.out);
  const RunOutput liquid = RunDp("--meter Orf_ISO --incompressible " + kGas);
  ASSERT_EQ(liquid.status, 0);
  EXPECT_EQ(nlohmann::json::parse(liquid.out)["result"]["epsilon"].get<double>(), 1.0);
}

TEST_F(DpCommand, AnnubarOptionSetsProbe) {
  const RunOutput run = RunDp("--meter Pit_AnnR --annubar 9 --tref-d 295.15 " + kGas);
  ASSERT_EQ(run.status, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_DOUBLE_EQ(j["result"]["dt"].get<double>(), 0.014986);
}

TEST_F(DpCommand, BadInputIsFlaggedNotFailed) {
  const RunOutput run = RunDp("--meter Orf_ISO --D 0.05 --d 0.05 --dp 1e4 --T 300 --P1 1e6 --mu 1e-5 --kappa 1.3 --rho 8");
  ASSERT_EQ(run.status, 0);
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["result"]["qm"].get<double>(), 0.0);
  EXPECT_EQ(j["flag_text"].get<std::string>().rfind("Pipe diameter smaller than throat diameter,", 0), 0u);
}

TEST_F(DpCommand, UsageErrorsExitTwo) {
  EXPECT_EQ(RunDp("--meter Orifice " + kGas).status, 2);
  EXPECT_EQ(RunDp("--meter 40 " + kGas).status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO --pipe-material Kryptonite " + kGas).status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO --element-material 25 " + kGas).status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO --D 0.1 --d 0.05 --T 300 --P1 1e6 --mu 1e-5 --kappa 1.3 --rho 8").status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO " + kGas + " --rho-base abc").status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO --taps 3 " + kGas).status, 2);
  EXPECT_EQ(RunDp("--meter Orf_ISO --convergent 1.5 " + kGas).status, 2);
  EXPECT_EQ(RunDp(kGas).status, 2);  // no --meter
}

}  // namespace
