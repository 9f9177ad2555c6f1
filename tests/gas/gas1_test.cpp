#include "gas/gas1.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "gas/components.hpp"
#include "gas/eos.hpp"
#include "numerics/error.hpp"
#include "steam/if97.hpp"

using namespace qmx;
using namespace qmx::GAS1;
namespace G0 = qmx::GAS0;

namespace {

class Gas1 : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRegistry();
    InstallStandardMethods();
  }
  void TearDown() override { ResetRegistry(); }
};

std::string Raised(const std::function<void()>& f) {
  try {
    f();
  } catch (const qmx::Error& e) {
    return e.message();
  }
  return "";
}

Slate PresetSlate(int i) {
  Slate s{};
  for (std::size_t k = 0; k < 21; ++k) s[k] = kPresets[static_cast<std::size_t>(i)].x[k];
  return s;
}

G0::GMix GulfCoast(int method) {
  G0::GMix m = NewMix(method, 0, "Gulf Coast");
  const Slate s = PresetSlate(0);
  MixSetSlate(m, s);
  MixUpdate(m);
  return m;
}

}  // namespace

TEST_F(Gas1, NewMixDefaults) {
  G0::GMix m = NewMix(G0::AGA8detailed, 0, "Detail mix with a name longer than 31 characters");
  EXPECT_EQ(MixGetName(m).size(), 31u);
  EXPECT_EQ(MixGetX(m, G0::C1, 0), 1.0);
  EXPECT_EQ(MixGetX(m, G0::C1, 1), 1.0);
  EXPECT_EQ(MixGetX(m, G0::C1, 2), 1.0);
  EXPECT_EQ(MixGetBase(m, G0::Tt).value, G0::kT60F);
  EXPECT_EQ(MixGetBase(m, G0::Pp).value, G0::kP1473);
  EXPECT_EQ(MixGetRefTPset(m), G0::USrefTP);
  EXPECT_EQ(MixGetSgergRefTPvalue(m, G0::pG), G0::kP1473);
  EXPECT_EQ(MixGetHMethod(m), G0::AGA5method);
  EXPECT_EQ(MixGetDataSource(m), G0::GPAcurrentUS);
  EXPECT_EQ(m->revision, '3');
  // Methane with the 2008 US table.
  EXPECT_NEAR(MixGetIdeal(m, G0::Mr).value, 16.0425, 1e-12);
  EXPECT_NEAR(MixGetIdeal(m, G0::Tc).value, 190.561, 1e-9);
  EXPECT_NEAR(MixGetIdeal(m, G0::Pc).value, 4599490.0, 1e-6);
  EXPECT_GT(MixGetBase(m, G0::Z).value, 0.997);
  EXPECT_LT(MixGetBase(m, G0::Z).value, 0.999);
  // The second form stores the H method.
  G0::GMix h = NewMix(G0::AGA509method, G0::PengR, 1, "x");
  EXPECT_EQ(MixGetHMethod(h), G0::AGA509method);
  EXPECT_EQ(MixGetBase(h, G0::Tt).value, 288.15);
  G0::GMix g = NewMix(G0::SgergGCN, 0, "GCN mix");
  EXPECT_EQ(MixGetHMethod(g), G0::GrossHmethod);
  EXPECT_EQ(MixGetKnown(g), G0::KnownBit(G0::co) | G0::KnownBit(G0::h2) | G0::KnownBit(G0::gr) |
                                G0::KnownBit(G0::co2) | G0::KnownBit(G0::n2));
}

TEST_F(Gas1, UninstalledMethodsAreRefused) {
  for (int code : {3, 5, 9, 11, 12, 13, -1}) {
    EXPECT_EQ(Raised([&] { (void)NewMix(code, 0, "x"); }), "GAS1.NewMix() method not installed") << code;
  }
  EXPECT_EQ(InstalledMethods(), (1u << 0) | (1u << 1) | (1u << 2) | (1u << 4) | (1u << 8));
  EXPECT_EQ(Raised([] { InstallThermoMethods(nullptr, nullptr, nullptr, 4); }),
            "InstallMethods() invalid thermo method");
  ResetRegistry();
  EXPECT_EQ(InstalledMethods(), 7u);
  EXPECT_EQ(Raised([] { (void)NewMix(G0::AGA8detailed, 0, "x"); }), "GAS1.NewMix() method not installed");
}

TEST_F(Gas1, DegenerateSlates) {
  G0::GMix m = NewMix(G0::AGA8detailed, 0, "x");
  const Slate zero{};
  MixSetSlate(m, zero);
  MixUpdate(m);
  EXPECT_EQ(MixGetX(m, G0::C1, 0), 1.0);
  EXPECT_EQ(MixGetX(m, G0::C1, 1), 1.0);
  Slate neg{};
  neg[G0::C1] = -0.9;
  neg[G0::N2] = 0.1;
  MixSetSlate(m, neg);
  EXPECT_NEAR(MixGetIdeal(m, G0::Mr).value, 0.9 * 16.0425 + 0.1 * 28.0134, 0.01);
  EXPECT_DOUBLE_EQ(MixGetX(m, G0::C1, 1), 0.9);
  EXPECT_DOUBLE_EQ(MixSumX(m, 1), 1.0);
  EXPECT_DOUBLE_EQ(MixSumX(m, 0), -0.8);
  // Components 21..28 fold into the AGA-8 vector.
  Slate lumps{};
  lumps[G0::C1] = 0.9;
  lumps[G0::neoC5] = 0.04;
  lumps[G0::C2H4] = 0.03;
  lumps[G0::CH3OH] = 0.03;
  MixSetSlate(m, lumps);
  MixUpdate(m);
  EXPECT_DOUBLE_EQ(MixGetX(m, G0::nC5, 2), 0.04);
  EXPECT_DOUBLE_EQ(MixGetX(m, G0::C2, 2), 0.06);
  EXPECT_EQ(MixGetX(m, G0::neoC5, 2), 0.0);
  EXPECT_DOUBLE_EQ(MixSumX(m, 2), 1.0);
  EXPECT_EQ(MixGetX(m, 29, 0), 0.0);
}

TEST_F(Gas1, GetterTagRanges) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  for (auto r : {MixGetIdeal(m, 8), MixGetBase(m, 16), MixGetNormal(m, 24), MixGetHeat(m, 18),
                 MixGetGross(m, 41), MixGetGross(m, 51)}) {
    EXPECT_EQ(r.value, 0.0);
    EXPECT_EQ(r.omens, 2046);
  }
  EXPECT_GT(MixGetHeat(m, G0::Hv).value, 3.8e7);
  for (int tag : {24, 37, 41, 51, -1}) {
    EXPECT_EQ(Raised([&] { (void)MixGetFlowing(m, tag, 5e6, 288.15); }), "GAS1.MixGetFlowing()") << tag;
  }
  EXPECT_EQ(Raised([&] { (void)MixGetSgergRefTPvalue(m, 36); }), "GAS1.MixGetSgergRefTPvalue()");
  EXPECT_EQ(Raised([&] { MixOverrideSgergRefTPvalue(m, 1.0, 36); }), "GAS1.MixOverrideSgergRefTPvalue()");
  EXPECT_EQ(Raised([&] { MixOverrideSgergRefTPvalue(m, 1.0, 42); }), "GAS1.MixOverrideSgergRefTPvalue()");
  MixOverrideSgergRefTPvalue(m, 290.0, G0::tH);
  EXPECT_EQ(MixGetRefTPset(m), G0::SPLrefTP);
  EXPECT_EQ(MixGetSgergRefTPvalue(m, G0::tH), 290.0);
}

TEST_F(Gas1, KilledHandle) {
  G0::GMix m = GulfCoast(G0::PengR);
  G0::KillMix0(m);
  EXPECT_EQ(Raised([&] { MixUpdate(m); }), "GAS1.MixUpdate() invalid mix");
  EXPECT_EQ(Raised([&] { (void)MixGetBase(m, G0::Z); }), "GAS1.MixGetBase() invalid mix");
  EXPECT_EQ(Raised([&] { (void)MixGetFlowing(m, G0::Z, 1e6, 300.0); }), "GAS1.MixGetFlowing() invalid mix");
  EXPECT_EQ(Raised([&] { MixSetTbase(m, 288.0); }), "GAS0.SetTbase0() invalid mix");
  EXPECT_EQ(Raised([&] { UpdateIGHBfromSlate(m); }), "GAS1.UpdateIGHBfromSlate()");
}

TEST_F(Gas1, BaseConditionsOutsideAirLimits) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  MixSetTbase(m, 300.0);
  EXPECT_EQ(Raised([&] { MixUpdate(m); }), "GAS1.UpdateHBfromSlate() Invalid base T P");
  MixSetTbase(m, 288.15);
  MixSetPbase(m, 60000.0);
  EXPECT_EQ(Raised([&] { (void)MixGetBase(m, G0::Z); }), "GAS1.UpdateHBfromSlate() Invalid base T P");
  MixSetPbase(m, 101325.0);
  EXPECT_GT(MixGetBase(m, G0::Z).value, 0.99);
  MixSetDataSource(m, G0::GasDataTest);
  EXPECT_EQ(Raised([&] { MixUpdate(m); }), "GAS1.DoMix() invalid table");
}

// Base conditions set to the values they have keep both computed states; a change of a base
// condition or of the Z rounding recomputes them.
TEST_F(Gas1, UnchangedSettingsKeepTheComputedStates) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  const double z1 = MixGetFlowing(m, G0::Z, 5e6, 288.15).value;
  (void)TakeFlowingUpdates();
  MixSetTbase(m, m->base[G0::Tt - G0::Tt]);
  MixSetPbase(m, m->base[G0::Pp - G0::Tt]);
  MixSetZrounding(m, m->zRounding);
  MixSetWetBasis(m, m->wetBasis);
  EXPECT_EQ(MixGetFlowing(m, G0::Z, 5e6, 288.15).value, z1);
  EXPECT_EQ(TakeFlowingUpdates(), 0);
  const double zb = MixGetBase(m, G0::Z).value;
  MixSetTbase(m, 293.15);
  EXPECT_EQ(MixGetFlowing(m, G0::Z, 5e6, 288.15).value, z1);
  EXPECT_EQ(TakeFlowingUpdates(), 1);
  EXPECT_GT(MixGetBase(m, G0::Z).value, zb);
  MixSetPbase(m, 101560.0);
  (void)MixGetFlowing(m, G0::Z, 5e6, 288.15);
  EXPECT_EQ(TakeFlowingUpdates(), 1);
  MixSetZrounding(m, !m->zRounding);
  (void)MixGetFlowing(m, G0::Z, 5e6, 288.15);
  EXPECT_EQ(TakeFlowingUpdates(), 1);
}

// Flowing reads at an unchanged state are served from the cache; a new T recomputes only the
// flowing state.
TEST_F(Gas1, FlowingCache) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  (void)TakeFlowingUpdates();
  const double z1 = MixGetFlowing(m, G0::Z, 5e6, 288.15).value;
  EXPECT_EQ(TakeFlowingUpdates(), 1);
  EXPECT_EQ(MixGetFlowing(m, G0::Z, 5e6, 288.15).value, z1);
  EXPECT_EQ(MixGetFlowing(m, G0::RHO, 5e6, 288.15).value, m->flowing[G0::RHO - G0::Tt]);
  EXPECT_EQ(TakeFlowingUpdates(), 0);
  const double zb = m->base[G0::Z - G0::Tt];
  m->base[G0::Z - G0::Tt] = -1.0;  // marker: BASE must not be recomputed
  const double z2 = MixGetFlowing(m, G0::Z, 5e6, 300.0).value;
  EXPECT_EQ(TakeFlowingUpdates(), 1);
  EXPECT_GT(z2, z1);
  EXPECT_EQ(m->base[G0::Z - G0::Tt], -1.0);
  m->base[G0::Z - G0::Tt] = zb;
  // A slate change recomputes everything.
  const Slate s = PresetSlate(1);
  MixSetSlate(m, s);
  const double z3 = MixGetFlowing(m, G0::Z, 5e6, 300.0).value;
  EXPECT_NE(z3, z2);
  EXPECT_NE(m->base[G0::Z - G0::Tt], zb);
  // THERMO carries the ideal exponent and the Joule-Thomson coefficient.
  EXPECT_EQ(MixGetFlowing(m, G0::Tk, 5e6, 300.0).value, m->flowing[G0::kI - G0::Tt]);
}

// Joule-Thomson coefficient of a methane-rich gas: about 0.45 K/bar near ambient temperature
// (4.5e-6 K/Pa); zero outside the correlation's range.
TEST_F(Gas1, JouleThomson) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  const double jt = MixGetFlowing(m, G0::TUjt, 5e6, 288.15).value;
  EXPECT_GT(jt, 3.5e-6);
  EXPECT_LT(jt, 6e-6);
  EXPECT_EQ(MixGetFlowing(m, G0::TUjt, 5e6, 400.0).value, 0.0);
  G0::GMix air = NewMix(G0::PengR, 0, "air");
  const Slate a = PresetSlate(14);
  MixSetSlate(air, a);
  EXPECT_EQ(MixGetFlowing(air, G0::TUjt, 5e6, 288.15).value, 0.0);
}

// The Peng-Robinson and Standing-Katz mixes use the IDEAL pseudocriticals; an ideal-gas mix has
// Z = 1 everywhere.
TEST_F(Gas1, BuiltInMethodsOnTheMix) {
  G0::GMix pr = GulfCoast(G0::PengR);
  const double Tc = MixGetIdeal(pr, G0::Tc).value, Pc = MixGetIdeal(pr, G0::Pc).value;
  const double w = MixGetIdeal(pr, G0::cW).value;
  EXPECT_DOUBLE_EQ(MixGetFlowing(pr, G0::Z, 5e6, 288.15).value, PengRobinson(5e6, 288.15, Tc, Pc, w).Z);
  EXPECT_DOUBLE_EQ(MixGetBase(pr, G0::Z).value, PengRobinson(G0::kP1473, G0::kT60F, Tc, Pc, w).Z);
  G0::GMix aga = GulfCoast(G0::AGA8detailed);
  // Peng-Robinson on Kay pseudocriticals is within 2.5 % of AGA-8 for this gas at 5 MPa.
  EXPECT_NEAR(MixGetFlowing(pr, G0::Z, 5e6, 288.15).value, MixGetFlowing(aga, G0::Z, 5e6, 288.15).value, 0.025);
  G0::GMix sk = GulfCoast(G0::SKatz);
  EXPECT_NEAR(MixGetFlowing(sk, G0::Z, 5e6, 288.15).value, MixGetFlowing(aga, G0::Z, 5e6, 288.15).value, 0.015);
  // Below Tpr 1.05 Standing-Katz flags the temperature and falls back on Z = 1.
  const auto cold = MixGetFlowing(sk, G0::Z, 5e6, 1.0 * Tc);
  EXPECT_EQ(cold.value, 1.0);
  EXPECT_NE(cold.omens & 2u, 0u);
  EXPECT_EQ(MixOmensText(cold.omens & 2u), "temperature out of range,");
  G0::GMix ig = GulfCoast(G0::IdealGasLaw);
  EXPECT_EQ(MixGetFlowing(ig, G0::Z, 5e6, 288.15).value, 1.0);
  EXPECT_EQ(MixGetFlowing(ig, G0::kI, 5e6, 288.15).value, 1.3);
}

// AGA-8 density failures surface on the mix.
TEST_F(Gas1, Aga8OmensOnTheMix) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  EXPECT_EQ(MixGetFlowing(m, G0::Z, 5e6, 288.15).omens, 0);
  const auto bad = MixGetFlowing(m, G0::Z, 5e6, -10.0);
  EXPECT_NE(bad.omens & G0::kOmenNoBracket, 0);
  EXPECT_NE(MixOmensText(bad.omens).find("failed to bracket root,"), std::string::npos);
  // A good state afterwards clears the flowing bits.
  EXPECT_EQ(MixGetFlowing(m, G0::Z, 5e6, 288.15).omens, 0);
}

// A slate change before a direct flowing call recharacterises and refreshes BASE first.
TEST_F(Gas1, Aga8FlowingRecharacterises) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  G0::GMix ref = GulfCoast(G0::AGA8detailed);
  const Slate s = PresetSlate(3);
  MixSetSlate(ref, s);
  MixUpdate(ref);
  MixSetSlate(m, s);
  const ZD z = MdZflowing(6e6, 290.0, m);
  EXPECT_FALSE(m->baseDirty);
  EXPECT_NEAR(m->base[G0::Z - G0::Tt], ref->base[G0::Z - G0::Tt], 1e-12);
  EXPECT_NEAR(z.Z, MixGetFlowing(ref, G0::Z, 6e6, 290.0).value, 1e-12);
}

TEST_F(Gas1, UninstalledFlowingMethod) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  (void)MixGetFlowing(m, G0::Z, 5e6, 288.15);
  ResetRegistry();
  EXPECT_EQ(Raised([&] { (void)MixGetFlowing(m, G0::Z, 5e6, 290.0); }), "GAS1.MdZflowing() invalid method");
  EXPECT_EQ(Raised([&] { MixUpdate(m); }), "GAS1.UpdateIGHBfromSlate()");
}

// Gulf Coast gross characteristics from AGA-8 fed into SGERG GCN: the two methods agree within
// about 0.1 % in their normal ranges.
TEST_F(Gas1, GulfCoastRoundTripIntoSgergGcn) {
  G0::GMix aga = GulfCoast(G0::AGA8detailed);
  G0::GMix gcn = NewMix(G0::SgergGCN, 0, "GCN mix");
  MixSetGr(gcn, MixGetGross(aga, G0::gr).value);
  MixSetHs(gcn, MixGetHeat(aga, G0::Hv).value);
  MixSetCO2(gcn, MixGetX(aga, G0::CO2, 0));
  MixSetN2(gcn, MixGetX(aga, G0::N2, 0));
  MixSetCO(gcn, 0.0);
  MixSetH2(gcn, 0.0);
  MixSetMu(gcn, MixGetIdeal(aga, G0::Mu).value);
  MixUpdate(gcn);
  EXPECT_EQ(MixGetBase(gcn, G0::Z).omens, 0);
  EXPECT_NEAR(MixGetBase(gcn, G0::Z).value, MixGetBase(aga, G0::Z).value, 1e-4);
  for (double P : {1e6, 3e6, 6e6, 10e6}) {
    for (double T : {275.0, 288.15, 310.0}) {
      const double za = MixGetFlowing(aga, G0::Z, P, T).value;
      const auto zs = MixGetFlowing(gcn, G0::Z, P, T);
      EXPECT_EQ(zs.omens, 0) << P << " " << T;
      EXPECT_NEAR(zs.value / za, 1.0, 1e-3) << P << " " << T;
    }
  }
  // The entered viscosity is kept and carried to the flowing temperature.
  EXPECT_EQ(MixGetIdeal(gcn, G0::Mu).value, MixGetIdeal(aga, G0::Mu).value);
  // Outside the pressure range the flag is set and Z still returned.
  const auto high = MixGetFlowing(gcn, G0::Z, 13e6, 288.15);
  EXPECT_NE(high.omens & G0::kOmenPressure, 0);
  EXPECT_GT(high.value, 0.7);
}

TEST_F(Gas1, SgergInputsAndMethodSwitch) {
  G0::GMix g = NewMix(G0::SgergGCN, 0, "GCN mix");
  MixClearKnown(g, G0::KnownBit(G0::gr));
  EXPECT_EQ(Raised([&] { MixUpdate(g); }), "GAS1.UpdateViaGross() missing data");
  MixSetGr(g, 0.6);
  MixSetN2(g, 0.3);
  MixSetCO2(g, 0.25);
  const auto r = MixGetBase(g, G0::Z);
  EXPECT_NE(r.omens & (1u << 5), 0u);
  EXPECT_NE(r.omens & (1u << 6), 0u);
  EXPECT_NE(r.omens & (1u << 9), 0u);
  // Composition to gross and back.
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  const double zAga = MixGetBase(m, G0::Z).value;
  MixSetZMethod(m, G0::SgergGCN);
  EXPECT_EQ(MixGetHMethod(m), G0::GrossHmethod);
  EXPECT_NEAR(MixGetBase(m, G0::Z).value, zAga, 1e-4);
  MixSetZMethod(m, G0::AGA8detailed);
  EXPECT_EQ(MixGetHMethod(m), G0::AGA509method);
  EXPECT_NE(MixGetX(m, G0::C2, 0), kPresets[0].x[G0::C2]);  // an estimated slate
  EXPECT_NEAR(MixSumX(m, 0), 1.0, 1e-12);
  EXPECT_NEAR(MixGetBase(m, G0::Z).value, zAga, 3e-4);
  EXPECT_EQ(Raised([&] { MixSetZMethod(m, G0::NX19m); }), "GAS1.UpdateIGHBfromSlate()");
  EXPECT_EQ(MixGetZMethod(m), G0::AGA8detailed);
}

TEST_F(Gas1, EstimateFromGrossCharacteristics) {
  EXPECT_EQ(Raised([] { (void)Estimate(0, 0, 0.6, 3.8e7, G0::AGA8detailed); }), "GAS1.Estimate() invalid method");
  for (int v : {4, 5, 6, 7}) {
    const Slate s = Estimate(0.01, 0.01, 0.6, 38e6, v);
    double sum = 0.0;
    for (double x : s) {
      EXPECT_GE(x, 0.0);
      sum += x;
    }
    EXPECT_NEAR(sum, 1.0, 1e-12) << v;
    EXPECT_GT(s[G0::C1], 0.85) << v;
    EXPECT_NEAR(s[G0::iC5], s[G0::nC5], 1e-15);
  }
  // Far outside the fitted range a negative estimate is an absent component.
  const Slate s = Estimate(0.0, 0.0, 0.3, 38e6, G0::SgergGCN);
  for (double x : s) EXPECT_GE(x, 0.0);
}

TEST_F(Gas1, WetBasisAndRounding) {
  G0::GMix m = GulfCoast(G0::AGA8detailed);
  MixSetWetBasis(m, true);
  (void)MixGetFlowing(m, G0::Z, 5e6, 288.15);
  EXPECT_NEAR(MixSumX(m, 1), 1.0, 1e-14);
  EXPECT_NEAR(MixGetX(m, G0::H2O, 1), IF97::Psat(G0::kT60F) / 5e6, 1e-12);
  G0::GMix r = GulfCoast(G0::AGA8detailed);
  MixSetZrounding(r, true);
  MixUpdate(r);
  const double z = MixGetBase(r, G0::Z).value;
  EXPECT_NEAR(z * 1e5, std::round(z * 1e5), 1e-6);
  const double zf = MixGetFlowing(r, G0::Z, 5e6, 288.15).value;
  EXPECT_NEAR(zf * 1e5, std::round(zf * 1e5), 1e-6);
}

TEST_F(Gas1, OmensText) {
  EXPECT_EQ(MixOmensText(0), "");
  EXPECT_EQ(MixOmensText(3), "pressure out of range,temperature out of range,");
  EXPECT_EQ(MixOmensText(1u << 15), "internal error that can never occur,");
  EXPECT_LE(MixOmensText(0xFFFF).size(), 600u);
}
