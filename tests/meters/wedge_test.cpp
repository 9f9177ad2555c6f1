// Wedge meters: the wedge height h is the element dimension; beta is the segment-area ratio
// from h/D, and the coefficient, expansibility, limit check and flow all see it that way.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "../support/check.hpp"
#include "meters/coef.hpp"
#include "meters/dpflow.hpp"

namespace {

using namespace qmx::DP0;

constexpr double kInch = 0.0254;

struct WedgeRow {
  double D, hD, beta, C, dP, rho, qm;
};

std::vector<WedgeRow> LoadRows() {
  std::vector<WedgeRow> rows;
  for (const auto& c : qmx::test::ReadCsv("meters/wedge_reference.csv")) {
    WedgeRow r{};
    double* v[] = {&r.D, &r.hD, &r.beta, &r.C, &r.dP, &r.rho, &r.qm};
    for (std::size_t k = 0; k < 7; ++k) *v[k] = std::stod(c[k]);
    rows.push_back(r);
  }
  return rows;
}

DPMeter Wedge(MeterType type, double D, double h) {
  DPMeter m;
  m.type = type;
  m.D = D;
  m.d = h;
  m.Tref_D = m.Tref_d = 293.15;
  return m;
}

DPFluid Water(double dP, double rho = 998.2) { return DPFluid{dP, 293.15, 5e5, 1e-3, 1.0, rho, rho, 0.0, false}; }

DPResult Flow(const DPFluid& f, const DPMeter& m) {
  DPFlags flags = 0;
  DPResult r;
  MassFlow(flags, r, f, m);
  return r;
}

// ---- Peer values: python3-fluids 1.0.22 (tools/wedge_reference.py) -----------------
TEST(WedgePeer, BetaCoefficientAndLiquidFlow) {
  const auto rows = LoadRows();
  ASSERT_EQ(rows.size(), 90u);
  for (const auto& w : rows) {
    const double h = w.hD * w.D;
    const double beta = Beta(MeterType::Wedge_CCd, w.D, h);
    EXPECT_NEAR(beta, w.beta, 1e-12) << w.D << " " << w.hD;
    EXPECT_NEAR(C_WedgeCalculated(beta, w.D), w.C, 1e-12) << w.D << " " << w.hD;
    const DPResult r = Flow(Water(w.dP, w.rho), Wedge(MeterType::Wedge_CCd, w.D, h));
    EXPECT_NEAR(r.qm / w.qm, 1.0, 1e-12) << w.D << " " << w.hD << " " << w.dP;
    EXPECT_NEAR(r.C, w.C, 1e-12);
    EXPECT_DOUBLE_EQ(r.dt, h);  // the wedge height, not the equivalent bore
    EXPECT_NEAR(r.Re_d, 4.0 * r.qm / (M_PI * beta * w.D * 1e-3), 1e-9 * r.Re_d);
  }
}

TEST(WedgePeer, PublishedExamples) {
  // The peer's documented examples: beta of a 0.2027 m line with h = 0.0608 m, and the
  // handbook coefficient of a 6-inch line at h/D = 0.3.
  EXPECT_NEAR(Beta(MeterType::Wedge_FC, 0.2027, 0.0608), 0.5022531424646643, 1e-13);
  const double beta = Beta(MeterType::Wedge_CCd, 0.1524, 0.3 * 0.1524);
  EXPECT_NEAR(C_WedgeCalculated(beta, 0.1524), 0.7267069372687651, 1e-13);
}

TEST(WedgeCoefficient, HandbookBandsByLineSize) {
  // Half-inch and 3/4-inch lines (ID up to 0.99 in), 1 to 1.5-inch lines (up to 1.7 in), larger.
  // The peer puts its limits at 0.7 and 1.4 inch, which sends a 3/4-inch line (0.824 in) to the
  // 1-inch equation and a 1.5-inch Sch40 line (1.610 in) to the large-line one.
  const double beta = 0.6;
  const double u = 1.0 - beta * beta;
  EXPECT_NEAR(C_WedgeCalculated(beta, 0.824 * kInch), 0.7883 + 0.107 * u, 1e-15);
  EXPECT_NEAR(C_WedgeCalculated(beta, 1.049 * kInch), 0.6143 + 0.718 * u, 1e-15);
  EXPECT_NEAR(C_WedgeCalculated(beta, 1.610 * kInch), 0.6143 + 0.718 * u, 1e-15);
  EXPECT_NEAR(C_WedgeCalculated(beta, 2.067 * kInch), 0.5433 + 0.2453 * u, 1e-15);
  // The band follows the line, not the wedge: a 2-inch line with a one-inch wedge (h/D 0.48)
  // uses the large-line equation.
  const DPResult r = Flow(Water(2.5e4), Wedge(MeterType::Wedge_CCd, 2.067 * kInch, 1.0 * kInch));
  EXPECT_NEAR(r.C, 0.5433 + 0.2453 * (1.0 - r.beta * r.beta), 1e-15);
}

// ---- Factory calibration -------------------------------------------------------------
TEST(WedgeFactoryCalibration, KD2IsTheFlowConstantTimesLineSizeSquared) {
  // KD2 = S D^2 (D in inches) with S = C beta^2 / sqrt(1 - beta^4): the liquid flow is
  // Q = 5.667 KD2 sqrt(hw / G) US gpm (hw inches of water at 60 F, G relative to water).
  const double D = 4.026 * kInch;
  const double h = 0.3 * D;
  const double beta = Beta(MeterType::Wedge_FC, D, h);
  const double C0 = 0.73;
  const double Din = D / kInch;
  const double KD2 = C0 * beta * beta / std::sqrt(1.0 - std::pow(beta, 4)) * Din * Din;
  DPMeter m = Wedge(MeterType::Wedge_FC, D, h);
  m.element.c1 = KD2;
  const double hw = 100.0;          // inches of water
  const double dP = hw * 248.84;    // Pa
  const double rhoWater = 999.01;   // kg/m3 at 60 F
  const double G = 0.85;
  const DPResult r = Flow(Water(dP, G * rhoWater), m);
  EXPECT_NEAR(r.C, C0, 1e-13);
  const double gpm = r.qv_actual / 3.785411784e-3 * 60.0;
  EXPECT_NEAR(gpm / (5.667 * KD2 * std::sqrt(hw / G)), 1.0, 5e-4);
}

// ---- Expansibility and limits ----------------------------------------------------------
TEST(WedgeExpansibility, UsesTheSegmentBetaOfTheWedgeHeight) {
  const double D = 0.1023;
  const double h = 0.35 * D;
  const double beta = Beta(MeterType::Wedge_CCd, D, h);  // 0.5585
  const double P1 = 2e6, dP = 5e4, kappa = 1.3;
  const double expected = 1.0 - (0.41 + 0.35 * std::pow(beta, 4)) * dP / (kappa * P1);
  EXPECT_NEAR(GasExpansion(0, MeterType::Wedge_CCd, P1, dP, kappa, D, h), expected, 1e-15);
  EXPECT_NEAR(GasExpansion(0, MeterType::Wedge_FC, P1, dP, kappa, D, h), expected, 1e-15);

  DPMeter m = Wedge(MeterType::Wedge_CCd, D, h);
  const DPFluid gas{dP, 293.15, P1, 1.1e-5, kappa, 20.0, 0.8, 0.0, true};
  const DPResult r = Flow(gas, m);
  EXPECT_NEAR(r.beta, beta, 1e-15);
  EXPECT_NEAR(r.epsilon, expected, 1e-15);
  const double qm = M_PI / 4 * std::sqrt(2.0) * r.C * r.epsilon * r.E * (beta * D) * (beta * D) *
                    std::sqrt(20.0 * dP);
  EXPECT_NEAR(r.qm / qm, 1.0, 1e-14);
}

TEST(WedgeLimits, HeightRatioOfTheWedge) {
  struct L {
    double hD;
    bool flagged;
  };
  // h/D 0.5 (beta 0.71) is inside 0.2..0.55; h/D 0.15 (beta 0.28) is outside.
  for (const L& l : {L{0.2, false}, L{0.35, false}, L{0.5, false}, L{0.55, false}, L{0.15, true}, L{0.6, true}}) {
    for (MeterType type : {MeterType::Wedge_CCd, MeterType::Wedge_FC}) {
      DPMeter m = Wedge(type, 0.1023, l.hD * 0.1023);
      m.element.c1 = 20.0;
      DPFlags flags = 0;
      DPResult r;
      MassFlow(flags, r, Water(2.5e4), m);
      CheckLimits(flags, r, Water(2.5e4), m);
      EXPECT_EQ((flags & FlagBit(8)) != 0, l.flagged) << l.hD << ": " << FlagText(flags);
    }
  }
}

}  // namespace
