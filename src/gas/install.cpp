// Registry procedures of the AGA-8 detail method (code 8) and SGERG-88 (code 4): adapters between
// the mix record and the two equation modules.
#include <array>

#include "gas/aga8.hpp"
#include "gas/gas0.hpp"
#include "gas/gas1.hpp"
#include "gas/sgerg.hpp"

namespace qmx::GAS1 {

namespace {

using GAS0::MixRecord;

constexpr std::size_t St(int tag) { return static_cast<std::size_t>(tag - GAS0::Tt); }
constexpr std::size_t Gi(int tag) { return static_cast<std::size_t>(tag - GAS0::ch); }
constexpr std::size_t Ri(int tag) { return static_cast<std::size_t>(tag - GAS0::tH); }

// Characterises the mix's 21-component vector and solves the state (P Pa, T K).
ZD Aga8Base(double P, double T, MixRecord& m) {
  auto& c = m.area.aga8;
  const std::array<double, AGA892::kCount> x = c.Xz;
  const AGA892::Solution s = AGA892::Base(c, x, P, T);
  m.omens |= s.omens;
  m.baseDirty = false;
  return {s.Z, s.D};
}

// Flowing state; a base-dirty mix is recharacterised and its BASE state refreshed first.
ZD Aga8Flowing(double P, double T, MixRecord& m) {
  auto& c = m.area.aga8;
  if (m.baseDirty) {
    FoldComposition(m);
    const std::array<double, AGA892::kCount> x = c.Xz;
    const AGA892::Solution b = AGA892::Base(c, x, GAS0::BaseP(m), GAS0::BaseT(m));
    m.base[St(GAS0::mD)] = b.D;
    m.base[St(GAS0::Z)] = b.Z;
    m.omens |= b.omens;
    m.baseDirty = false;
  }
  const AGA892::Solution s = AGA892::Flowing(c, P, T);
  m.flowOmens |= s.omens;
  return {s.Z, s.D};
}

SGERG::Sref RefOfMix(const MixRecord& m) {
  SGERG::Sref r;
  r.tH = m.sref[Ri(GAS0::tH)];
  r.tD = m.sref[Ri(GAS0::tD)];
  r.tG = m.sref[Ri(GAS0::tG)];
  r.pD = m.sref[Ri(GAS0::pD)];
  r.pG = m.sref[Ri(GAS0::pG)];
  return r;
}

SGERG::Gross GrossOf(const MixRecord& m) {
  const auto& g = m.gross;
  SGERG::Gross r;
  r.ch = g[Gi(GAS0::ch)];
  r.co2 = g[Gi(GAS0::co2)];
  r.n2 = g[Gi(GAS0::n2)];
  r.co = g[Gi(GAS0::co)];
  r.h2 = g[Gi(GAS0::h2)];
  r.gr = g[Gi(GAS0::gr)];
  r.mrg = g[Gi(GAS0::mrg)];
  r.hng = g[Gi(GAS0::hng)];
  r.hs = g[Gi(GAS0::hs)];
  return r;
}

void StoreGross(const SGERG::Gross& r, MixRecord& m) {
  auto& g = m.gross;
  g[Gi(GAS0::ch)] = r.ch;
  g[Gi(GAS0::co2)] = r.co2;
  g[Gi(GAS0::n2)] = r.n2;
  g[Gi(GAS0::co)] = r.co;
  g[Gi(GAS0::h2)] = r.h2;
  g[Gi(GAS0::gr)] = r.gr;
  g[Gi(GAS0::mrg)] = r.mrg;
  g[Gi(GAS0::hng)] = r.hng;
  g[Gi(GAS0::hs)] = r.hs;
}

// Characterises the gross values at the state (P, T): the omens become the flags of this state.
ZD SgergBase(double P, double T, MixRecord& m) {
  SGERG::Gross g = GrossOf(m);
  const SGERG::Solution s = SGERG::Base(m.zMethod, P, T, RefOfMix(m), g, m.area.sgerg);
  StoreGross(g, m);
  m.omens = s.flags;
  m.baseDirty = false;
  return {s.Z, s.D};
}

// Flowing state of the GCN method; a base-dirty mix is recharacterised at base first.
ZD SgergFlowing(double P, double T, MixRecord& m) {
  if (m.baseDirty) {
    const ZD b = SgergBase(GAS0::BaseP(m), GAS0::BaseT(m), m);
    m.base[St(GAS0::mD)] = b.D;
    m.base[St(GAS0::Z)] = b.Z;
  }
  const SGERG::Solution s = SGERG::Flowing(P, T, GrossOf(m), m.area.sgerg);
  m.flowOmens |= s.flags;
  return {s.Z, s.D};
}

}  // namespace

void InstallStandardMethods() {
  InstallMethods(Aga8Base, Aga8Flowing, GAS0::AGA8detailed);
  InstallMethods(SgergBase, SgergFlowing, GAS0::SgergGCN);
}

}  // namespace qmx::GAS1
