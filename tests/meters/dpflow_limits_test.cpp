// CheckLimits: the validity ranges of each standard, table-driven on crafted results.
#include <gtest/gtest.h>

#include <ostream>

#include "meters/dp2.hpp"
#include "meters/dpflow.hpp"

namespace {

using namespace qmx::DP0;
using enum MeterType;

struct LimitCase {
  const char* what;
  MeterType type;
  int tap;
  double D, d, Re;  // Dt, dt at flowing temperature (also used as reference dimensions)
  double dp, P1;
  bool compressible;
  DPFlags expected;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.what; }

constexpr DPFlags B(int bit) { return FlagBit(bit); }

class Limits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(Limits, Flags) {
  const LimitCase& c = GetParam();
  DPMeter m;
  m.type = c.type;
  m.D = c.D;
  m.d = c.d;
  m.element.tap = static_cast<std::uint8_t>(c.tap);
  DPResult r;
  r.Dt = c.D;
  r.dt = c.d;
  r.beta = c.d / c.D;
  r.Re_D = c.Re;
  const DPFluid f{c.dp, 300.0, c.P1, 1e-5, 1.3, 10.0, 1.0, 0.0, c.compressible};
  DPFlags flags = 0;
  CheckLimits(flags, r, f, m);
  EXPECT_EQ(flags, c.expected) << c.what << ": " << FlagText(flags);
}

// dp/P1 = 0.01 unless stated: no pressure-ratio or sonic flag.
const LimitCase kLimits[] = {
    {"ISO corner beta 0.6 Re 5000 (< 16000 beta^2)", Orf_ISO, 0, 0.1, 0.06, 5000, 1e3, 1e5, true, B(11) | B(15)},
    {"ISO corner beta 0.6 Re 6000", Orf_ISO, 0, 0.1, 0.06, 6000, 1e3, 1e5, true, B(15)},
    {"ISO D-D/2 beta 0.5 Re 4999", Orf_ISO, 2, 0.1, 0.05, 4999, 1e3, 1e5, true, B(11) | B(15)},
    {"ISO flange Re 4000", Orf_ISO, 1, 0.1, 0.05, 4000, 1e3, 1e5, true, B(11) | B(12) | B(15)},
    {"ISO flange Re 5000 >= 170 beta^2 D", Orf_ISO, 1, 0.1, 0.05, 5000, 1e3, 1e5, true, B(15)},
    {"ISO flange D 0.5 Re 20000 < 21250", Orf_ISO, 1, 0.5, 0.25, 20000, 1e3, 1e5, true, B(11) | B(12)},
    {"ISO bore below 12.5 mm", Orf_ISO, 1, 0.06, 0.012, 1e5, 1e3, 1e5, true, B(8)},
    {"ISO beta 0.8", Orf_NEL, 1, 0.1, 0.08, 1e6, 1e3, 1e5, true, B(9)},
    {"ISO pipe 1.2 m", Orf_3M, 1, 1.2, 0.6, 1e7, 1e3, 1e5, true, B(8)},
    {"ISO P2/P1 0.7", Orf_ISO, 1, 0.1, 0.05, 1e6, 3e4, 1e5, true, B(14)},
    {"ISO sonic at kappa 1.3", Orf_ISO, 1, 0.1, 0.05, 1e6, 5e4, 1e5, true, B(10) | B(14)},
    {"ISO water: no sonic, no ratio", Orf_ISO, 1, 0.1, 0.05, 1e6, 5e4, 1e5, false, 0},
    {"Stolz corner beta 0.5 Re 9000", Orf_Stolz, 0, 0.1, 0.05, 9000, 1e3, 1e5, true, B(11) | B(15)},
    {"Stolz flange Re 12000 < 1260 beta^2 D", Orf_Stolz2, 1, 0.2, 0.1, 12000, 1e3, 1e5, true, B(11) | B(12)},
    {"AGA corner taps", Orf_AGA, 0, 0.1, 0.05, 1e6, 1e3, 1e5, true, B(13)},
    {"AGA Re 3000", Orf_AGA, 1, 0.1, 0.05, 3000, 1e3, 1e5, true, B(11) | B(12) | B(15)},
    {"AGA P2/P1 0.75", Orf_AGA, 1, 0.1, 0.05, 1e6, 2.5e4, 1e5, true, B(14)},
    {"AGA91 P2/P1 0.8", Orf_RG, 1, 0.1, 0.05, 1e6, 2e4, 1e5, true, B(14)},
    {"AGA small pipe", Orf_RGc, 1, 0.04, 0.02, 1e6, 1e3, 1e5, true, B(8)},
    {"Quadrant: no low-Re flag", Orf_Quad, 1, 0.1, 0.04, 5000, 1e3, 1e5, true, 0},
    {"Quadrant Re above 1e5 beta", Orf_Quad, 1, 0.1, 0.04, 5e4, 1e3, 1e5, true, B(11)},
    {"Conical entrance Re 100", Orf_Cone, 1, 0.05, 0.01, 100, 1e3, 1e5, true, 0},
    {"Conical entrance bore 6 mm", Orf_Cone, 1, 0.03, 0.006, 100, 1e3, 1e5, true, B(8)},
    {"ISA nozzle beta 0.35 Re 5e4", Noz_ISA, 1, 0.2, 0.07, 5e4, 1e3, 1e5, true, B(11)},
    {"ISA nozzle beta 0.5 Re 5e4", Noz_ISA, 1, 0.2, 0.1, 5e4, 1e3, 1e5, true, 0},
    {"Long radius Re 2e7", Noz_LR, 1, 0.2, 0.1, 2e7, 1e3, 1e5, true, B(7)},
    {"Venturi nozzle throat 40 mm", Vent_Noz, 1, 0.1, 0.04, 1e6, 1e3, 1e5, true, B(8)},
    {"Venturi rough-welded D 0.1", Vent_Cl, 1, 0.1, 0.05, 1e6, 1e3, 1e5, true, B(8)},
    {"Cone Re 6000", Vent_VCs, 1, 0.1, 0.05, 6000, 1e3, 1e5, true, B(7) | B(15)},
    {"IVCM: only low Re", Vent_IVCM, 1, 0.02, 0.01, 500, 1e3, 1e5, true, B(15)},
    {"IFO 1 inch body, 10 mm bore", Orf_IFO, 1, 0.0266, 0.01, 1e5, 1e3, 1e5, true, 0},
    {"IFO 1-1/2 inch body, 15 mm bore", Orf_IFO, 1, 0.0409, 0.015, 1e5, 1e3, 1e5, true, 0},
    {"IFO bore 30 mm", Orf_IFO, 1, 0.04, 0.03, 1e5, 1e3, 1e5, true, B(8)},
    {"IFO 3 inch pipe", Orf_IFO, 1, 0.078, 0.01, 1e5, 1e3, 1e5, true, B(8)},
    {"Integral orifice dp/P1 0.06", Orf_Int, 1, 0.02, 0.003, 1e5, 6e3, 1e5, true, B(14)},
    {"Integral orifice pipe 60 mm", Orf_Int, 1, 0.06, 0.003, 1e5, 1e3, 1e5, true, B(8)},
    {"Small bore D and D/2 taps", Orf_14M, 2, 0.03, 0.015, 1e5, 1e3, 1e5, true, B(13)},
    {"Small bore flange beta 0.75", Orf_14M, 1, 0.03, 0.0225, 1e5, 1e3, 1e5, true, B(9)},
    {"Small bore 2 inch", Orf_14M, 0, 0.05, 0.02, 1e5, 1e3, 1e5, true, B(8)},
    {"Eccentric beta 0.4", Orf_Ecc, 1, 0.2, 0.08, 1e6, 1e3, 1e5, true, B(9)},
    {"Segmental h/D 0.75", Orf_Seg, 1, 0.2, 0.15, 1e6, 1e3, 1e5, true, B(8)},
    {"Wedge h/D 0.6", Wedge_CCd, 1, 0.1, 0.06, 1e6, 1e3, 1e5, true, B(8)},
    {"Elbow: no specific check", Elb_45S, 1, 0.1, 0.05, 1e6, 1e3, 1e5, true, 0}};

INSTANTIATE_TEST_SUITE_P(Standards, Limits, ::testing::ValuesIn(kLimits));

TEST(LimitsProbe, AveragingPitotCoefficientsAndWidth) {
  DPMeter m;
  m.type = MeterType::Pit_Avg;
  m.element.c1 = 0.95;
  DPResult r;
  r.Re_D = 1e6;
  r.dt = 0.003;
  r.Dt = 0.1;
  const DPFluid f{1e3, 300, 1e5, 1e-5, 1.3, 10, 1, 0, true};
  DPFlags flags = 0;
  CheckLimits(flags, r, f, m);
  EXPECT_EQ(flags, B(kFlagBogusCoef) | B(kFlagDimRange));
}

// Annubar type 485 size 1 (code 9): the probe Reynolds number dt v rho / mu must reach 6500.
TEST(LimitsProbe, Annubar485NeedsProbeReynolds6500) {
  DPMeter m;
  m.type = MeterType::Pit_AnnR;
  m.D = 0.2;
  qmx::DP2::SetAnnubarType(m, 9);
  DPResult r;
  r.Re_D = 1e6;
  r.Dt = 0.2;
  r.dt = m.d;
  const DPFluid f{1e3, 300, 1e5, 1e-3, 1.0, 1000.0, 1000.0, 0, false};
  DPFlags flags = 0;
  r.velocity = 6400.0 * 1e-3 / (1000.0 * m.d);
  CheckLimits(flags, r, f, m);
  EXPECT_EQ(flags, B(kFlagReRange));
  flags = 0;
  r.velocity = 6600.0 * 1e-3 / (1000.0 * m.d);
  CheckLimits(flags, r, f, m);
  EXPECT_EQ(flags, 0);
  // Code 11 needs 25000.
  qmx::DP2::SetAnnubarType(m, 11);
  r.dt = m.d;
  r.velocity = 20000.0 * 1e-3 / (1000.0 * m.d);
  flags = 0;
  CheckLimits(flags, r, f, m);
  EXPECT_EQ(flags, B(kFlagReRange));
}

// The whole chain for an Annubar: SetAnnubarType, MassFlow, CheckLimits.
TEST(LimitsProbe, AnnubarThroughMassFlow) {
  DPMeter m;
  m.type = MeterType::Pit_AnnR;
  m.D = 0.2;
  qmx::DP2::SetAnnubarType(m, 9);
  DPFluid f{25.0, 293.15, 2e5, 1e-3, 1.0, 998.0, 998.0, 0, false};
  DPFlags flags = 0;
  DPResult r;
  MassFlow(flags, r, f, m);
  CheckLimits(flags, r, f, m);
  ASSERT_GT(r.qm, 0.0);
  const double probeRe = r.dt * r.velocity * f.rho / f.mu;
  EXPECT_EQ(HasFlag(flags, kFlagReRange), probeRe < 6500.0) << probeRe;
  EXPECT_FALSE(HasFlag(flags, kFlagBogusCoef));
  f.dp = 2.5e4;
  MassFlow(flags, r, f, m);
  CheckLimits(flags, r, f, m);
  EXPECT_GT(r.dt * r.velocity * f.rho / f.mu, 6500.0);
  EXPECT_FALSE(HasFlag(flags, kFlagReRange));
}

}  // namespace
