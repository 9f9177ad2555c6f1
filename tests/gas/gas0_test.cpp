#include "gas/gas0.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "../support/check.hpp"
#include "units/fum.hpp"

using namespace qmx::GAS0;

namespace {

int Count(std::string_view list) {
  int n = 0;
  for (char c : list) n += c == ',';
  return n;
}

GMix Live() {
  GMix m = std::make_unique<MixRecord>();
  m->mark = kMark;
  return m;
}

std::string RaisedMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const qmx::Error& e) {
    return e.message();
  }
  return "";
}

}  // namespace

TEST(Gas0, NameListsAndCounts) {
  qmx::test::ExpectResults(Count, {{kZMethodNames, kZMethodCount}, {kHMethodNames, kHMethodCount},
      {kDataSourceNames, kDataSourceCount}, {kRefTPsetNames, kRefTPsetCount}, {kComponentSymbols, kComponents},
      {kComponentFileNames, kComponents}, {kTagNames, kTagCount}, {kTagMksUnits, kTagCount}, {kTagUsUnits, kTagCount}});
  EXPECT_EQ(ListIndex(kZMethodNames, "AGA8detailed", -1), AGA8detailed);
  EXPECT_EQ(ListIndex(kZMethodNames, "AGA8", -1), -1);
  EXPECT_EQ(ListItem(kTagNames, hs), "hs");
  EXPECT_EQ(ListItem(kTagNames, 51), "");
  EXPECT_EQ(TagName(Pvw), "Pvw");
  EXPECT_EQ(TagMksUnit(cW), "");
  EXPECT_EQ(TagUsUnit(TUjt), "F/psi");
  EXPECT_EQ(TagName(-1), "");
  // Method sets.
  EXPECT_TRUE(IsSgergMethod(SgergGHN));
  EXPECT_FALSE(IsSgergMethod(AGA8detailed));
  EXPECT_TRUE(IsCompositionMethod(GergDetailed));
  EXPECT_FALSE(IsCompositionMethod(IdealGasLaw));
  EXPECT_FALSE(IsCompositionMethod(NX19m));
  // Titles.
  EXPECT_EQ(HMethodTitle(7), kHMethodTitles[AGA5method]);
  EXPECT_EQ(qmx::GAS0::DataSourceTitle(GPAcurrentUS).size(), 45u);
  EXPECT_EQ(qmx::GAS0::DataSourceTitle(GPAcurrentUS).substr(0, 21), "GPA 2145-08, US table");
  // Lumping of components 21..28 into the AGA-8 vector.
  EXPECT_EQ(kAga8Fold[neoC5], nC5);
  EXPECT_EQ(kAga8Fold[biIsP], nC6);
  EXPECT_EQ(kAga8Fold[CH3OH], C2);
  EXPECT_EQ(kAga8Fold[C3H6], C3);
  EXPECT_EQ(kGergFold[H2O], 17);
}

// The unit factors of the tags: 14.696 psia, 60 F, a heating value in Btu/ft3.
TEST(Gas0, UsUnits) {
  EXPECT_NEAR(ToUS(Pp, kP14696), 14.696, 1e-12);
  EXPECT_NEAR(ToUS(Pp, kP1473), 14.73, 1e-12);
  EXPECT_NEAR(ToUS(Tt, kT60F), 60.0, 1e-12);
  EXPECT_NEAR(ToUS(tD, 273.15), 32.0, 1e-12);
  EXPECT_NEAR(ToUS(Hv, 37258.945808), 1.0, 1e-6);
  EXPECT_NEAR(ToUS(RHO, 1.0), 0.06242796057614, 1e-15);
  EXPECT_EQ(ToUS(Z, 0.9), 0.9);
  EXPECT_EQ(ToUS(99, 5.0), 5.0);
  for (int tag = 0; tag < kTagCount; ++tag) EXPECT_NEAR(FromUS(tag, ToUS(tag, 300.0)), 300.0, 1e-9) << tag;
}

// Every tag's unit pair converts through the unit catalogue as ToUS does.
TEST(Gas0, UsUnitsAgreeWithTheCatalogue) {
  int checked = 0;
  for (int tag = 0; tag < kTagCount; ++tag) {
    const std::string_view mks = TagMksUnit(tag), us = TagUsUnit(tag);
    if (mks.empty()) {
      EXPECT_TRUE(us.empty()) << tag;
      continue;
    }
    qmx::FUM::UnitErrors errors = 0;
    double viaCatalogue = 0.0;
    qmx::FUM::uConvertBetween(errors, us, viaCatalogue, mks, 300.0);
    ASSERT_EQ(errors, 0) << TagName(tag);
    EXPECT_NEAR(ToUS(tag, 300.0), viaCatalogue, 1e-9 * std::fabs(viaCatalogue)) << TagName(tag);
    ++checked;
  }
  EXPECT_EQ(checked, 33);
}

TEST(Gas0, BaseAndReferenceSets) {
  EXPECT_EQ(BaseForUnitSet(0).P, kP1473);
  EXPECT_EQ(BaseForUnitSet(2).T, 293.15);
  EXPECT_EQ(BaseForUnitSet(77).T, kT60F);
  GMix m = Live();
  SetRefTP0(m, RUrefTP);
  EXPECT_EQ(m->sref[0], 298.15);
  EXPECT_EQ(m->sref[1], 293.15);
  SetRefTP0(m, 42);
  EXPECT_EQ(m->sref, kRefTP[SPLrefTP]);
  SetBase0(m, 101325.0, 288.15);
  EXPECT_EQ(BaseT(*m), 288.15);
  EXPECT_EQ(m->flowing[Pp - Tt], 101325.0);
  EXPECT_EQ(m->heat[THc - Tt], 288.15);
  m->htcOverride = true;
  SetTbase0(m, 290.0);
  EXPECT_EQ(m->heat[THc - Tt], 288.15);
  EXPECT_EQ(BaseT(*m), 290.0);
}

TEST(Gas0, NormalisationByAbsoluteValues) {
  GMix m = Live();
  m->S[C1] = 3.0;
  m->S[N2] = -1.0;
  m->S[CO2] = std::nan("");
  Normalize0(m);
  EXPECT_DOUBLE_EQ(m->X[C1], 0.75);
  EXPECT_DOUBLE_EQ(m->X[N2], 0.25);
  EXPECT_EQ(m->X[CO2], 0.0);
  EXPECT_FALSE(m->present[CO2]);
  EXPECT_TRUE(m->baseDirty);
  m->S.fill(0.0);
  Normalize0(m);
  for (double x : m->X) EXPECT_EQ(x, 0.0);
}

// The wet basis: water takes Pvw/P and the dry components share the rest, summing to one.
TEST(Gas0, WetBasisSumsToOne) {
  GMix m = Live();
  m->S[C1] = 0.9;
  m->S[C2] = 0.1;
  m->S[H2O] = 0.5;  // replaced by the saturation fraction
  NormalizeWet0(m, 2000.0, 100000.0);
  double sum = 0.0;
  for (double x : m->X) sum += x;
  EXPECT_NEAR(sum, 1.0, 1e-15);
  EXPECT_DOUBLE_EQ(m->X[H2O], 0.02);
  EXPECT_DOUBLE_EQ(m->X[C1], 0.9 * 0.98);
  NormalizeWet0(m, 2000.0, 0.0);  // no pressure: dry
  EXPECT_EQ(m->X[H2O], 0.0);
  EXPECT_DOUBLE_EQ(m->X[C1], 0.9);
  NormalizeWet0(m, 2e5, 1e5);  // water fraction held at one
  EXPECT_EQ(m->X[H2O], 1.0);
  EXPECT_EQ(m->X[C1], 0.0);
}

TEST(Gas0, KilledHandleIsRefused) {
  GMix m = Live();
  EXPECT_TRUE(IsMix(m));
  KillMix0(m);
  EXPECT_FALSE(IsMix(m));
  EXPECT_EQ(m, nullptr);
  EXPECT_EQ(RaisedMessage([&] { KillMix0(m); }), "GAS0.KillMix0() invalid mix");
  EXPECT_EQ(RaisedMessage([&] { SetTbase0(m, 288.0); }), "GAS0.SetTbase0() invalid mix");
  EXPECT_EQ(RaisedMessage([&] { SetPbase0(m, 1e5); }), "GAS0.SetPbase0() invalid mix");
  EXPECT_EQ(RaisedMessage([&] { SetBase0(m, 1e5, 288.0); }), "GAS0.SetBase0 invalid mix");
  EXPECT_EQ(RaisedMessage([&] { SetRefTP0(m, 0); }), "GAS0.SetRefTP0() invalid mix");
  EXPECT_EQ(RaisedMessage([&] { Normalize0(m); }), "GAS0.Normalize0()");
  // A record whose mark was cleared is refused as well.
  GMix cleared = std::make_unique<MixRecord>();
  EXPECT_FALSE(IsMix(cleared));
  EXPECT_EQ(RaisedMessage([&] { Normalize0(cleared); }), "GAS0.Normalize0()");
}
