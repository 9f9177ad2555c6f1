// Method registry, mix operations and the update pipeline of the gas engine.
#include "gas/gas1.hpp"

#include <cmath>

#include "gas/eos.hpp"
#include "gas/heating.hpp"
#include "numerics/error.hpp"

namespace qmx::GAS1 {

using GAS0::GMix;
using GAS0::MixRecord;
using GAS0::Omens;

namespace {

constexpr double kR = GAS0::kR;
constexpr int kSt = GAS0::Tt;  // first tag of a state section
constexpr int kMethods = GAS0::kZMethodCount;

// Index of a tag inside the state sections (17..23), HEAT (17..36), SREF, GROSS.
constexpr std::size_t S(int tag) { return static_cast<std::size_t>(tag - kSt); }
constexpr std::size_t G(int tag) { return static_cast<std::size_t>(tag - GAS0::ch); }
constexpr std::size_t R(int tag) { return static_cast<std::size_t>(tag - GAS0::tH); }
constexpr std::size_t Th(int tag) { return static_cast<std::size_t>(tag - GAS0::Tk); }

ZD IdealStub(double P, double T, MixRecord&) {
  ZD z;
  z.Z = 1.0;
  z.D = P / (kR * T);
  return z;
}

void ThermoStub(double, double, MixRecord& m) { m.thermo.fill(0.0); }

struct Registry {
  std::array<BaseProc, kMethods> base{};
  std::array<FlowProc, kMethods> flow{};
  BaseProc sgergBase = IdealStub;
  ThermoProc thermo8 = ThermoStub;
  ThermoProc thermo11 = ThermoStub;
  std::uint16_t installed = 0x7;
  Registry() {
    base.fill(IdealStub);
    flow.fill(IdealStub);
  }
};

thread_local Registry tRegistry;
thread_local int tFlowingUpdates = 0;

bool ValidCode(int code) { return code >= 0 && code < kMethods; }

MixRecord& Live(const GMix& mix, std::string_view message) {
  return GAS0::Checked(mix, message, kModule);
}

void MarkDirty(MixRecord& m) {
  m.baseDirty = true;
  m.flowDirty = true;
}

// Rounding of Z to 1e-5 and molar density to 1e-6, halves away from zero.
double RoundHalfAway(double v, double q) {
  if (!std::isfinite(v)) return v;
  return std::copysign(std::floor(std::fabs(v) / q + 0.5) * q, v);
}

// Z and density of one state by a composition method's base procedure (or the built-ins).
ZD BaseState(MixRecord& m, double P, double T) {
  const int code = m.zMethod;
  switch (code) {
    case GAS0::IdealGasLaw: {
      const ZState s = IdealGas(P, T);
      return {s.Z, s.D};
    }
    case GAS0::SKatz: {
      const ZState s = StandingKatz(P, T, m.ideal[GAS0::Tc], m.ideal[GAS0::Pc], m.X[GAS0::H2S],
                                    m.X[GAS0::CO2]);
      m.omens |= s.omens;
      return {s.Z, s.D};
    }
    case GAS0::PengR: {
      const ZState s = PengRobinson(P, T, m.ideal[GAS0::Tc], m.ideal[GAS0::Pc], m.ideal[GAS0::cW]);
      if (!s.ok) m.omens |= GAS0::kOmenNoConverge;
      return {s.Z, s.D};
    }
    default:
      break;
  }
  if (!ValidCode(code) || !GAS0::InSet(tRegistry.installed, code)) {
    Raise(kModule, "GAS1.UpdateHBfromSlate()", 20);
  }
  const BaseProc proc = GAS0::IsSgergMethod(code) ? tRegistry.sgergBase
                                                  : tRegistry.base[static_cast<std::size_t>(code)];
  return proc(P, T, m);
}

// Z and density at a flowing state by the mix's method; the omens of the state go to flowOmens.
ZD FlowingZ(MixRecord& m, double P, double T) {
  const int code = m.zMethod;
  if (!ValidCode(code) || !GAS0::InSet(tRegistry.installed, code)) {
    Raise(kModule, "GAS1.MdZflowing() invalid method", 10);
  }
  switch (code) {
    case GAS0::IdealGasLaw:
      return {1.0, P / (kR * T)};
    case GAS0::SKatz: {
      const ZState s = StandingKatz(P, T, m.ideal[GAS0::Tc], m.ideal[GAS0::Pc], m.X[GAS0::H2S],
                                    m.X[GAS0::CO2]);
      m.flowOmens |= s.omens;
      return {s.Z, s.D};
    }
    case GAS0::PengR: {
      const ZState s = PengRobinson(P, T, m.ideal[GAS0::Tc], m.ideal[GAS0::Pc], m.ideal[GAS0::cW]);
      if (!s.ok) m.flowOmens |= GAS0::kOmenNoConverge;
      return {s.Z, s.D};
    }
    default:
      break;
  }
  const ZD z = tRegistry.flow[static_cast<std::size_t>(code)](P, T, m);
  if (code == GAS0::AGA8detailed) tRegistry.thermo8(P, T, m);
  if (code == GAS0::GergDetailed) tRegistry.thermo11(P, T, m);
  return z;
}

// Joule-Thomson coefficient (K/Pa) of a methane-rich gas; 0 outside its range.
double JouleThomson(double xMethane, double T, double P) {
  if (!(xMethane >= 0.8 && T >= 273.149 && T <= 373.151 && P >= 100000.0 && P <= 20000000.0)) {
    return 0.0;
  }
  const double t = T - 273.15;
  const double p = P * 1e-5;
  // The correlation gives K/bar; 1e-5 brings it to K/Pa.
  const double kbar = (0.231 - 0.00294 * t + 1.36e-05 * t * t) *
                          (0.00041 * p + 0.998 - 0.000115 * p * p + 3e-07 * p * p * p) +
                      (0.35 - 0.00142 * t);
  return kbar * 1e-05;
}

// The flowing state at (P, T): FLOWING and THERMO.
void FlowingUpdate(MixRecord& m, double P, double T) {
  ++tFlowingUpdates;
  m.flowOmens = 0;
  ZD z = FlowingZ(m, P, T);
  if (m.zRounding) {
    z.Z = RoundHalfAway(z.Z, 1e-5);
    z.D = RoundHalfAway(z.D, 1e-6);
  }
  double kI = 1.3;
  double jt = 0.0;
  if (GAS0::IsCompositionMethod(m.zMethod)) {
    kI = IdealExponent(m.present, m.X, T);
    jt = JouleThomson(m.X[GAS0::C1], T, P);
  }
  auto& f = m.flowing;
  f[S(GAS0::Tt)] = T;
  f[S(GAS0::Pp)] = P;
  f[S(GAS0::mD)] = z.D;
  f[S(GAS0::Z)] = z.Z;
  f[S(GAS0::RHO)] = m.ideal[GAS0::Mr] * z.D;
  f[S(GAS0::kI)] = kI;
  f[S(GAS0::Mut)] = ViscosityAt(T, m.ideal[GAS0::Tc], m.ideal[GAS0::Mu]);
  if (!m.thermoEnable) {
    m.thermo.fill(0.0);
    m.thermo[Th(GAS0::Tk)] = kI;
    m.thermo[Th(GAS0::TUjt)] = jt;
  }
  m.thermo[Th(GAS0::Tt)] = T;
  m.thermo[Th(GAS0::Pp)] = P;
  m.flowDirty = false;
}

// Folds the normalised slate into the method's own 21-component vector.
void FoldSlate(MixRecord& m) {
  const int code = m.zMethod;
  if (code == GAS0::AGA8detailed || code == GAS0::AGA8primary || code == GAS0::AGA8turbo) {
    auto& a = m.area.aga8;
    a.Xz.fill(0.0);
    for (std::size_t i = 0; i < m.X.size(); ++i) a.Xz[GAS0::kAga8Fold[i]] += m.X[i];
    for (std::size_t i = 0; i < a.Xz.size(); ++i) a.NZz[i] = a.Xz[i] > 0.0;
  } else if (code == GAS0::GergDetailed) {
    auto& g = m.area.gerg;
    g.Xz.fill(0.0);
    for (std::size_t i = 0; i < m.X.size(); ++i) g.Xz[GAS0::kGergFold[i]] += m.X[i];
    for (std::size_t i = 0; i < g.Xz.size(); ++i) g.NZz[i] = g.Xz[i] > 0.0;
  }
}

bool Known(const MixRecord& m, int tag) { return (m.known & GAS0::KnownBit(tag)) != 0; }

// Stores an IDEAL value unless the user gave it.
void SetIdeal(MixRecord& m, int tag, double v) {
  if (!Known(m, tag)) m.ideal[static_cast<std::size_t>(tag)] = v;
}
void SetGross(MixRecord& m, int tag, double v) {
  if (!Known(m, tag)) m.gross[G(tag)] = v;
}

// Ideal mixing rules of the normalised slate into IDEAL; returns the result for the heating
// values.
IdealMix MixIdeal(MixRecord& m) {
  IdealMix im = DoMix(m.dataSource, m.hMethod, m.present, m.X);
  for (int t = 0; t < 8; ++t) SetIdeal(m, t, im.ideal[static_cast<std::size_t>(t)]);
  im.ideal = m.ideal;
  return im;
}

void Rounded(const MixRecord& m, ZD& z) {
  if (!m.zRounding) return;
  z.Z = RoundHalfAway(z.Z, 1e-5);
  z.D = RoundHalfAway(z.D, 1e-6);
}

void CopyState(const State& s, std::array<double, 7>& out) {
  out[S(GAS0::Tt)] = s.Tt;
  out[S(GAS0::Pp)] = s.Pp;
  out[S(GAS0::RHO)] = s.RHO;
  out[S(GAS0::Mut)] = s.Mut;
  out[S(GAS0::mD)] = s.mD;
  out[S(GAS0::kI)] = s.kI;
  out[S(GAS0::Z)] = s.Z;
}

// Ensures the base conditions admit the air state; raises otherwise.
void CheckAirBase(const MixRecord& m) {
  State air;
  if (!AirAt(GAS0::BaseT(m), GAS0::BaseP(m), air)) {
    Raise(kModule, "GAS1.UpdateHBfromSlate() Invalid base T P", 21);
  }
}

// Base, normal and heating-value states of a composition method from IDEAL.
void HeatSections(MixRecord& m, const IdealMix& im) {
  CheckAirBase(m);
  const double Tb = GAS0::BaseT(m);
  const double Pb = GAS0::BaseP(m);
  ZD zb = BaseState(m, Pb, Tb);
  ZD zn = BaseState(m, GAS0::kPnormal, GAS0::kTnormal);
  Rounded(m, zb);
  Rounded(m, zn);
  HeatInputs in;
  in.hmethod = m.hMethod;
  in.present = m.present;
  in.X = m.X;
  in.ideal = im;
  in.Tbase = Tb;
  in.Pbase = Pb;
  if (!m.htcOverride) m.heat[S(GAS0::THc)] = Tb;
  in.THc = m.heat[S(GAS0::THc)];
  in.Zb = zb.Z;
  in.mDb = zb.D;
  in.Zn = zn.Z;
  in.mDn = zn.D;
  const BaseResult r = HeatFromSlate(in);
  CopyState(r.air, m.air);
  CopyState(r.base, m.base);
  CopyState(r.normal, m.normal);
  auto& h = m.heat;
  std::array<double, 7> st{};
  CopyState(r.heat.st, st);
  for (std::size_t i = 0; i < st.size(); ++i) h[i] = st[i];
  h[S(GAS0::THc)] = r.heat.THc;
  h[S(GAS0::HN)] = r.heat.HN;
  h[S(GAS0::Hm)] = r.heat.Hm;
  h[S(GAS0::Hv)] = r.heat.Hv;
  h[S(GAS0::Pvw)] = r.heat.Pvw;
  h[S(GAS0::Hvn)] = r.heat.Hvn;
  h[S(GAS0::WI)] = r.heat.WI;
  h[S(GAS0::Mon1)] = r.heat.Mon1;
  h[S(GAS0::Mon2)] = r.heat.Mon2;
  h[S(GAS0::Meth1)] = r.heat.Meth1;
  h[S(GAS0::Meth2)] = r.heat.Meth2;
  h[S(GAS0::vH2O)] = r.heat.vH2O;
  h[S(GAS0::dH2O)] = r.heat.dH2O;
  SetGross(m, GAS0::gr, r.gr);
  SetGross(m, GAS0::mrg, r.mrg);
  SetGross(m, GAS0::hng, r.hng);
  SetGross(m, GAS0::hs, r.hs);
}

void UpdateComposition(MixRecord& m) {
  if (m.mark != GAS0::kMark || !ValidCode(m.zMethod) || GAS0::IsSgergMethod(m.zMethod) ||
      !GAS0::InSet(tRegistry.installed, m.zMethod)) {
    Raise(kModule, "GAS1.UpdateIGHBfromSlate()", 22);
  }
  double sum = 0.0;
  for (double s : m.S) {
    if (std::isfinite(s)) sum += std::fabs(s);
  }
  if (!(sum > 0.0) || !std::isfinite(sum)) {
    // An empty (or unusable) slate is taken as pure methane.
    m.S.fill(0.0);
    m.S[GAS0::C1] = 1.0;
  }
  if (m.wetBasis) {
    const double Pvw = WaterVapourPressure(m.heat[S(GAS0::THc)]);
    GAS0::NormalizeWetSlate(m, Pvw, m.flowing[S(GAS0::Pp)]);
  } else {
    GAS0::NormalizeSlate(m);
  }
  FoldSlate(m);
  const IdealMix im = MixIdeal(m);
  const double co2 = m.X[GAS0::CO2], n2 = m.X[GAS0::N2], co = m.X[GAS0::CO], h2 = m.X[GAS0::H2];
  SetGross(m, GAS0::co2, co2);
  SetGross(m, GAS0::n2, n2);
  SetGross(m, GAS0::co, co);
  SetGross(m, GAS0::h2, h2);
  SetGross(m, GAS0::ch, 1.0 - co2 - n2 - co - h2);
  const double M = m.ideal[GAS0::Mr];
  SetGross(m, GAS0::gr, M / GAS1::kMair);
  const double THc = m.heat[S(GAS0::THc)];
  SetGross(m, GAS0::hs, THc > 0.0 ? im.Hm * M * GAS0::BaseP(m) / (THc * kR) : 0.0);
  HeatSections(m, im);
}

// Estimate coefficient rows: GCN (1, gr, co2, n2), HCN (1, hs, co2, n2), GHC/GHN
// (1, gr, hs, co2, n2); row 0 is nitrogen (GHC only).
constexpr std::array<std::array<double, 4>, 8> kEstGCN = {{
    {0, 0, 0, 0},
    {1.63289, -1.1458, 0.13596, -0.59633},
    {-0.31521, 0.5816, -0.60593, -0.24416},
    {-0.18262, 0.3236, -0.3051, -0.09545},
    {-0.05417, 0.0954, -0.0892, -0.02983},
    {-0.03223, 0.0579, -0.05581, -0.02846},
    {-0.02925, 0.052, -0.04805, -0.02169},
    {-0.01503, 0.0284, -0.02561, -0.02192},
}};
constexpr std::array<std::array<double, 4>, 8> kEstHCN = {{
    {0, 0, 0, 0},
    {1.73734, -0.00073023, -1.7181, -1.8295},
    {-0.35947, 0.00036249, 0.3307, 0.3782},
    {-0.2203, 0.00021399, 0.226, 0.2552},
    {-0.06702, 6.469e-05, 0.0686, 0.0742},
    {-0.03521, 3.471e-05, 0.0353, 0.0331},
    {-0.0347, 3.377e-05, 0.0361, 0.0345},
    {-0.01644, 1.694e-05, 0.0175, 0.0078},
}};
constexpr std::array<std::array<double, 5>, 8> kEstGH = {{
    {0.0078, -0.00175, 1.35e-06, 0.0017, 0.0498},
    {1.64569, -1.0159, -8.368e-05, -0.07449, -0.73631},
    {-0.3275, 0.4569, 8.03e-05, -0.40397, -0.10982},
    {-0.18843, 0.2648, 3.79e-05, -0.20981, -0.03213},
    {-0.05619, 0.075, 1.313e-05, -0.05618, -0.00789},
    {-0.03245, 0.0557, 1.42e-06, -0.05224, -0.02609},
    {-0.02958, 0.0486, 2.2e-06, -0.04252, -0.01802},
    {-0.0169, 0.0094, 1.22e-05, 0.00506, -0.00152},
}};

constexpr double kJm3PerBtuFt3 = 37258.945808;

void UpdateGross(MixRecord& m) {
  const int code = m.zMethod;
  if (!GAS0::IsSgergMethod(code)) Raise(kModule, "GAS1.UpdateViaGross() invalid method", 30);
  using namespace GAS0;
  std::uint64_t need = KnownBit(co2) | KnownBit(n2);
  switch (code) {
    case SgergGCN: need = KnownBit(gr) | KnownBit(co2) | KnownBit(n2); break;
    case SgergHCN: need = KnownBit(hs) | KnownBit(co2) | KnownBit(n2); break;
    case SgergGHC: need = KnownBit(gr) | KnownBit(hs) | KnownBit(co2); break;
    default: need = KnownBit(gr) | KnownBit(hs) | KnownBit(n2); break;
  }
  if ((m.known & need) != need) Raise(kModule, "GAS1.UpdateViaGross() missing data", 31);
  auto& g = m.gross;
  // Ideal properties of a slate estimated from the gross values.
  m.S = Estimate(g[G(n2)], g[G(co2)], g[G(gr)], g[G(hs)], code);
  NormalizeSlate(m);
  const IdealMix im = MixIdeal(m);
  // Air at the gas volume reference.
  State air;
  if (!AirAt(m.sref[R(tG)], m.sref[R(pG)], air)) {
    Raise(kModule, "GAS1.UpdateHBfromSlate() Invalid base T P", 21);
  }
  CopyState(air, m.air);
  const double Tb = BaseT(m), Pb = BaseP(m);
  if (!m.htcOverride) m.heat[S(THc)] = Tb;
  // Four SGERG states: combustion reference, normal, density reference, base.
  m.baseDirty = true;
  ZD z25 = tRegistry.sgergBase(101325.0, 298.15, m);
  m.baseDirty = true;
  ZD zn = tRegistry.sgergBase(kPnormal, kTnormal, m);
  m.baseDirty = true;
  ZD zd = tRegistry.sgergBase(m.sref[R(pD)], m.sref[R(tD)], m);
  m.baseDirty = true;
  ZD zb = tRegistry.sgergBase(Pb, Tb, m);
  (void)z25;
  double M = m.ideal[Mr];
  double hnGas = 0.0;
  if (m.hMethod == GrossHmethod) {
    // The molar heating value of the characterised gas (at the combustion reference of the
    // standard, 25 C) and its molar mass.
    SetIdeal(m, HN25, g[G(hng)]);
    hnGas = g[G(hng)];
    SetIdeal(m, Mr, g[G(mrg)]);
    M = m.ideal[Mr];
  } else {
    hnGas = M * im.Hm;
  }
  Rounded(m, zb);
  Rounded(m, zn);
  Rounded(m, zd);
  auto& h = m.heat;
  h[S(Tt)] = Tb;
  h[S(Pp)] = Pb;
  h[S(mD)] = zb.D;
  h[S(RHO)] = M * zb.D;
  h[S(Z)] = zb.Z;
  const double THcv = h[S(THc)];
  h[S(HN)] = hnGas;
  h[S(Hv)] = hnGas * zb.D;
  h[S(Hm)] = h[S(RHO)] > 0.0 ? h[S(Hv)] / h[S(RHO)] : 0.0;
  h[S(Pvw)] = WaterVapourPressure(THcv);
  h[S(kI)] = IdealExponent(m.present, m.X, Tb);
  h[S(Mut)] = ViscosityAt(Tb, m.ideal[Tc], m.ideal[Mu]);
  h[S(Hvn)] = 0.0;
  const double grv = g[G(gr)];
  h[S(WI)] = grv > 0.0 ? h[S(Hv)] / std::sqrt(grv) : 0.0;
  h[S(Mon1)] = MethaneNumberHC(m.ideal[HC]);
  h[S(Mon2)] = MethaneNumberX(m.X);
  h[S(Meth1)] = 1.624 * h[S(Mon1)] - 119.1;
  h[S(Meth2)] = 1.624 * h[S(Mon2)] - 119.1;
  // Water terms as for the composition methods: enthalpy of vaporisation at THc (MJ/kmol) and
  // the enthalpy of liquid water from 25 C to THc.
  h[S(vH2O)] = THcv >= 288.15 ? 44.433 - 0.0417 * (THcv - 288.15) : 45.074 - 0.0427333 * (THcv - 273.15);
  h[S(dH2O)] = (THcv - 298.15) * kCpLiquidWater * 0.001;
  auto& n = m.normal;
  n[S(Tt)] = kTnormal;
  n[S(Pp)] = kPnormal;
  n[S(Z)] = zn.Z;
  n[S(mD)] = zn.D;
  n[S(RHO)] = M * zn.D;
  n[S(Mut)] = m.ideal[Mu];
  n[S(kI)] = m.ideal[kP];
  auto& b = m.base;
  b[S(Z)] = zb.Z;
  b[S(mD)] = zb.D;
  b[S(RHO)] = M * zb.D;
  b[S(Mut)] = m.ideal[Mu];
  b[S(kI)] = m.ideal[kP];
}

void FullUpdate(MixRecord& m) {
  m.omens = 0;
  if (GAS0::IsSgergMethod(m.zMethod)) {
    UpdateGross(m);
  } else {
    UpdateComposition(m);
  }
  m.baseDirty = false;
  m.flowDirty = true;  // the flowing state derives from what was just recomputed
}

Result SectionValue(const GMix& mix, std::string_view message, int tag, int first, int last,
                    const double* values) {
  MixRecord& m = Live(mix, message);
  if (m.baseDirty) FullUpdate(m);
  Result r;
  if (tag < first || tag > last) {
    r.omens = GAS0::kOmenBadTag;
    return r;
  }
  r.value = values[tag - first];
  r.omens = m.omens;
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Registry.

void InstallMethods(BaseProc base, FlowProc flowing, int code) {
  if (!ValidCode(code)) return;
  Registry& r = tRegistry;
  const auto c = static_cast<std::size_t>(code);
  if (code == 3 || code >= 8) {
    if (base) r.base[c] = base;
    if (flowing) r.flow[c] = flowing;
  } else if (code >= 4) {
    if (base) r.sgergBase = base;
    if (flowing) r.flow[c] = flowing;
  }
  r.installed = static_cast<std::uint16_t>(r.installed | (1u << code));
}

void InstallThermoMethods(BaseProc base, FlowProc flowing, ThermoProc thermo, int code) {
  if (code != GAS0::AGA8detailed && code != GAS0::GergDetailed) {
    Raise(kModule, "InstallMethods() invalid thermo method", 11);
  }
  InstallMethods(base, flowing, code);
  ThermoProc t = thermo ? thermo : ThermoStub;
  if (code == GAS0::AGA8detailed) {
    tRegistry.thermo8 = t;
  } else {
    tRegistry.thermo11 = t;
  }
}

std::uint16_t InstalledMethods() { return tRegistry.installed; }
bool IsInstalled(int code) { return ValidCode(code) && GAS0::InSet(tRegistry.installed, code); }
void ResetRegistry() { tRegistry = Registry{}; }

BaseProc BaseSlot(int code) {
  if (!ValidCode(code)) return IdealStub;
  if (GAS0::IsSgergMethod(code)) return tRegistry.sgergBase;
  return tRegistry.base[static_cast<std::size_t>(code)];
}

FlowProc FlowSlot(int code) {
  if (!ValidCode(code)) return IdealStub;
  return tRegistry.flow[static_cast<std::size_t>(code)];
}

ZD MdZflowing(double P, double T, const GMix& mix) {
  MixRecord& m = Live(mix, "GAS1.MdZflowing() invalid mix");
  return FlowingZ(m, P, T);
}

// ---------------------------------------------------------------------------------------------
// Life and identity.

GMix NewMix(int zMethod, int unitSet, std::string_view name) {
  return NewMix(GAS0::AGA5method, zMethod, unitSet, name);
}

GMix NewMix(int hMethod, int zMethod, int unitSet, std::string_view name) {
  const GAS0::BaseTP b = GAS0::BaseForUnitSet(unitSet);
  if (!IsInstalled(zMethod)) Raise(kModule, "GAS1.NewMix() method not installed", 1);
  GMix mix = std::make_unique<MixRecord>();
  MixRecord& m = *mix;
  m.mark = GAS0::kMark;
  m.revision = GAS0::kRevision;
  m.name = std::string(name.substr(0, GAS0::kNameLength));
  GAS0::SetRefTP0(mix, GAS0::USrefTP);
  m.refSet = GAS0::USrefTP;
  m.S.fill(0.0);
  m.S[GAS0::C1] = 1.0;
  GAS0::NormalizeSlate(m);
  m.thermoEnable = false;
  m.zMethod = static_cast<std::uint8_t>(zMethod);
  m.dataSource = GAS0::GPAcurrentUS;
  m.hMethod = static_cast<std::uint8_t>(hMethod < 0 || hMethod > 255 ? GAS0::AGA5method : hMethod);
  GAS0::SetBase0(mix, b.P, b.T);
  MarkDirty(m);
  if (GAS0::IsSgergMethod(zMethod)) {
    using namespace GAS0;
    m.hMethod = GrossHmethod;
    m.gross.fill(0.0);
    m.gross[G(ch)] = 1.0;
    m.gross[G(gr)] = 0.55;
    m.gross[G(hs)] = 37706053.1575252;
    m.known = KnownBit(co) | KnownBit(h2);
    switch (zMethod) {
      case SgergGCN: m.known |= KnownBit(gr) | KnownBit(co2) | KnownBit(n2); break;
      case SgergHCN: m.known |= KnownBit(hs) | KnownBit(co2) | KnownBit(n2); break;
      case SgergGHC: m.known |= KnownBit(gr) | KnownBit(hs) | KnownBit(co2); break;
      default: m.known |= KnownBit(gr) | KnownBit(hs) | KnownBit(n2); break;
    }
  }
  FullUpdate(m);
  return mix;
}

void MixSetName(const GMix& mix, std::string_view name) {
  Live(mix, "GAS1.MixSetName() invalid mix").name = std::string(name.substr(0, GAS0::kNameLength));
}

std::string MixGetName(const GMix& mix) { return Live(mix, "GAS1.MixGetName() invalid mix").name; }

// ---------------------------------------------------------------------------------------------
// Composition.

void MixSetSlate(const GMix& mix, std::span<const double, GAS0::kComponents> S) {
  MixRecord& m = Live(mix, "GAS1.MixSetSlate() invalid mix");
  for (std::size_t i = 0; i < m.S.size(); ++i) m.S[i] = S[i];
  MarkDirty(m);
}

Slate MixGetSlate(const GMix& mix) { return Live(mix, "GAS1.MixGetSlate() invalid mix").S; }

void MixSetX(const GMix& mix, double value, int component) {
  MixRecord& m = Live(mix, "GAS1.MixSetX() invalid mix");
  if (component < 0 || component >= GAS0::kComponents) return;
  m.S[static_cast<std::size_t>(component)] = value;
  MarkDirty(m);
}

double MixGetX(const GMix& mix, int component, int kind) {
  const MixRecord& m = Live(mix, "GAS1.MixGetX() invalid mix");
  if (component < 0 || component >= GAS0::kComponents) return 0.0;
  const auto c = static_cast<std::size_t>(component);
  switch (kind) {
    case 0: return m.S[c];
    case 1: return m.X[c];
    case 2:
      switch (m.zMethod) {
        case GAS0::AGA8detailed:
        case GAS0::AGA8primary:
        case GAS0::AGA8turbo:
          return c < 21 ? m.area.aga8.Xz[c] : 0.0;
        case GAS0::GergDetailed:
          return c < 21 ? m.area.gerg.Xz[GAS0::kGergFold[c]] : 0.0;
        default:
          return m.X[c];
      }
    default: return 0.0;
  }
}

double MixSumX(const GMix& mix, int kind) {
  const MixRecord& m = Live(mix, "GAS1.MixSumX() invalid mix");
  double s = 0.0;
  switch (kind) {
    case 0:
      for (double v : m.S) s += v;
      return s;
    case 1:
      for (double v : m.X) s += v;
      return s;
    case 2:
      if (m.zMethod == GAS0::AGA8detailed) {
        for (double v : m.area.aga8.Xz) s += v;
      } else if (m.zMethod == GAS0::GergDetailed) {
        for (double v : m.area.gerg.Xz) s += v;
      }
      return s;
    default: return 0.0;
  }
}

// ---------------------------------------------------------------------------------------------
// Gross inputs.

namespace {
void SetKnownGross(const GMix& mix, int tag, double v) {
  MixRecord& m = Live(mix, "GAS1.MixSetGross() invalid mix");
  m.gross[G(tag)] = v;
  m.known |= GAS0::KnownBit(tag);
  MarkDirty(m);
}
}  // namespace

void MixSetGr(const GMix& mix, double gr) { SetKnownGross(mix, GAS0::gr, gr); }
void MixSetHs(const GMix& mix, double hs) { SetKnownGross(mix, GAS0::hs, hs); }
void MixSetCO2(const GMix& mix, double x) { SetKnownGross(mix, GAS0::co2, x); }
void MixSetN2(const GMix& mix, double x) { SetKnownGross(mix, GAS0::n2, x); }
void MixSetCO(const GMix& mix, double x) { SetKnownGross(mix, GAS0::co, x); }
void MixSetH2(const GMix& mix, double x) { SetKnownGross(mix, GAS0::h2, x); }

void MixSetMu(const GMix& mix, double mu) {
  MixRecord& m = Live(mix, "GAS1.MixSetMu() invalid mix");
  m.ideal[GAS0::Mu] = mu;
  m.known |= GAS0::KnownBit(GAS0::Mu);
  MarkDirty(m);
}

std::uint64_t MixGetKnown(const GMix& mix) { return Live(mix, "GAS1.MixGetKnown() invalid mix").known; }

void MixClearKnown(const GMix& mix, std::uint64_t tags) {
  MixRecord& m = Live(mix, "GAS1.MixClearKnown() invalid mix");
  m.known &= ~tags;
  m.baseDirty = true;
}

// ---------------------------------------------------------------------------------------------
// Conditions and choices.

// A base condition set to the value it already has leaves the computed states standing.
void MixSetTbase(const GMix& mix, double T) {
  MixRecord& m = GAS0::Checked(mix, "GAS0.SetTbase0() invalid mix");
  const bool same = m.base[S(GAS0::Tt)] == T && (m.htcOverride || m.heat[S(GAS0::THc)] == T);
  GAS0::SetTbase0(mix, T);
  if (!same) MarkDirty(m);
}

void MixSetPbase(const GMix& mix, double P) {
  MixRecord& m = GAS0::Checked(mix, "GAS0.SetPbase0() invalid mix");
  const bool same = m.base[S(GAS0::Pp)] == P;
  GAS0::SetPbase0(mix, P);
  if (!same) MarkDirty(m);
}

void MixSetHTcOverride(const GMix& mix, double T) {
  MixRecord& m = Live(mix, "GAS1.MixSetHTcOverride() invalid mix");
  m.heat[S(GAS0::THc)] = T;
  m.htcOverride = true;
  MarkDirty(m);
}

void MixClearHTcOverride(const GMix& mix) {
  MixRecord& m = Live(mix, "GAS1.MixClearHTcOverride() invalid mix");
  m.heat[S(GAS0::THc)] = GAS0::BaseT(m);
  m.htcOverride = false;
  MarkDirty(m);
}

double MixGetHTc(const GMix& mix) { return Live(mix, "GAS1.MixGetHTc() invalid mix").heat[S(GAS0::THc)]; }

void MixSetDataSource(const GMix& mix, int code) {
  MixRecord& m = Live(mix, "GAS1.MixSetDataSource() invalid mix");
  m.dataSource = static_cast<std::uint8_t>(code < 0 || code > 255 ? GAS0::GasDataTest : code);
  MarkDirty(m);
}

int MixGetDataSource(const GMix& mix) { return Live(mix, "GAS1.MixGetDataSource() invalid mix").dataSource; }

std::string MixGetDataSourceName(const GMix& mix) {
  return GAS0::DataSourceTitle(Live(mix, "GAS1.MixGetDataSourceName() invalid mix").dataSource);
}

// Both switches change the computed states, so a change marks them for recomputation.
void MixSetWetBasis(const GMix& mix, bool on) {
  MixRecord& m = Live(mix, "GAS1.MixSetWetBasis() invalid mix");
  if (m.wetBasis != on) MarkDirty(m);
  m.wetBasis = on;
}
void MixSetZrounding(const GMix& mix, bool on) {
  MixRecord& m = Live(mix, "GAS1.MixSetZrounding() invalid mix");
  if (m.zRounding != on) MarkDirty(m);
  m.zRounding = on;
}

void MixSetHMethod(const GMix& mix, int code) {
  MixRecord& m = Live(mix, "GAS1.MixSetHMethod() invalid mix");
  m.hMethod = static_cast<std::uint8_t>(code < 0 || code > 255 ? GAS0::AGA5method : code);
  m.baseDirty = true;
}

int MixGetHMethod(const GMix& mix) { return Live(mix, "GAS1.MixGetHMethod() invalid mix").hMethod; }

std::string_view MixGetHMethodName(const GMix& mix) {
  return GAS0::HMethodTitle(Live(mix, "GAS1.MixGetHMethodName() invalid mix").hMethod);
}

int MixGetZMethod(const GMix& mix) { return Live(mix, "GAS1.MixGetZMethod() invalid mix").zMethod; }

void MixSetZMethod(const GMix& mix, int code) {
  MixRecord& m = Live(mix, "GAS1.MixSetZMethod() invalid mix");
  // A method that cannot update is refused before anything changes.
  if (!ValidCode(code) || (!GAS0::IsSgergMethod(code) && !IsInstalled(code))) {
    Raise(kModule, "GAS1.UpdateIGHBfromSlate()", 22);
  }
  const int cur = m.zMethod;
  using namespace GAS0;
  if (IsCompositionMethod(code) && IsSgergMethod(cur)) {
    m.S = Estimate(m.gross[G(n2)], m.gross[G(co2)], m.gross[G(gr)], m.gross[G(hs)], cur);
    m.hMethod = AGA509method;
  } else if (IsSgergMethod(code) && IsCompositionMethod(cur)) {
    m.hMethod = GrossHmethod;
    // The gross values derived from the composition become the inputs of the gross method.
    m.known |= KnownBit(co) | KnownBit(h2) | KnownBit(gr) | KnownBit(hs) | KnownBit(co2) | KnownBit(n2);
  }
  m.zMethod = static_cast<std::uint8_t>(code);
  MarkDirty(m);
  FullUpdate(m);
}

void MixSetRefTPset(const GMix& mix, int code) {
  MixRecord& m = Live(mix, "GAS1.MixSetRefTPset() invalid mix");
  if (code < 0 || code >= GAS0::kRefTPsetCount) code = GAS0::SPLrefTP;
  m.refSet = static_cast<std::uint8_t>(code);
  GAS0::SetRefTP0(mix, code);
  MarkDirty(m);
}

int MixGetRefTPset(const GMix& mix) { return Live(mix, "GAS1.MixGetRefTPset() invalid mix").refSet; }

double MixGetSgergRefTPvalue(const GMix& mix, int tag) {
  const MixRecord& m = Live(mix, "GAS1.MixGetSgergRefTPvalue()");
  if (tag < GAS0::tH || tag > GAS0::pG) Raise(kModule, "GAS1.MixGetSgergRefTPvalue()", 40);
  return m.sref[R(tag)];
}

void MixOverrideSgergRefTPvalue(const GMix& mix, double value, int tag) {
  MixRecord& m = Live(mix, "GAS1.MixOverrideSgergRefTPvalue()");
  if (tag < GAS0::tH || tag > GAS0::pG) Raise(kModule, "GAS1.MixOverrideSgergRefTPvalue()", 41);
  m.sref[R(tag)] = value;
  m.refSet = GAS0::SPLrefTP;
  MarkDirty(m);
}

// ---------------------------------------------------------------------------------------------
// Results.

void MixUpdate(const GMix& mix) { FullUpdate(Live(mix, "GAS1.MixUpdate() invalid mix")); }

Result MixGetIdeal(const GMix& mix, int tag) {
  const MixRecord* m = mix.get();
  return SectionValue(mix, "GAS1.MixGetIdeal() invalid mix", tag, 0, 7, m ? m->ideal.data() : nullptr);
}

Result MixGetBase(const GMix& mix, int tag) {
  const MixRecord* m = mix.get();
  return SectionValue(mix, "GAS1.MixGetBase() invalid mix", tag, 17, 23, m ? m->base.data() : nullptr);
}

Result MixGetNormal(const GMix& mix, int tag) {
  const MixRecord* m = mix.get();
  return SectionValue(mix, "GAS1.MixGetNormal() invalid mix", tag, 17, 23, m ? m->normal.data() : nullptr);
}

Result MixGetHeat(const GMix& mix, int tag) {
  const MixRecord* m = mix.get();
  return SectionValue(mix, "GAS1.MixGetHeat() invalid mix", tag, 19, 36,
                      m ? m->heat.data() + S(19) : nullptr);
}

Result MixGetGross(const GMix& mix, int tag) {
  const MixRecord* m = mix.get();
  return SectionValue(mix, "GAS1.MixGetGross() invalid mix", tag, 42, 50, m ? m->gross.data() : nullptr);
}

Result MixGetFlowing(const GMix& mix, int tag, double P, double T) {
  MixRecord& m = Live(mix, "GAS1.MixGetFlowing() invalid mix");
  const bool valid = (tag >= 0 && tag <= 23) || (tag >= 25 && tag <= 36) || (tag >= 42 && tag <= 50);
  if (!valid) Raise(kModule, "GAS1.MixGetFlowing()", 50);
  if (m.baseDirty || m.wetBasis) {
    // The wet-basis water fraction belongs to the pressure being asked for.
    if (m.wetBasis) m.flowing[S(GAS0::Pp)] = P;
    FullUpdate(m);
    FlowingUpdate(m, P, T);
  } else if (T != m.flowing[S(GAS0::Tt)] || P != m.flowing[S(GAS0::Pp)] || m.flowDirty) {
    FlowingUpdate(m, P, T);
  }
  Result r;
  r.omens = static_cast<Omens>(m.omens | m.flowOmens);
  if (tag <= 7) {
    r.value = m.ideal[static_cast<std::size_t>(tag)];
  } else if (tag <= 16) {
    r.value = m.thermo[Th(tag)];
  } else if (tag <= 23) {
    r.value = m.flowing[S(tag)];
  } else if (tag <= 36) {
    r.value = m.heat[S(tag)];
  } else {
    r.value = m.gross[G(tag)];
  }
  return r;
}

std::string MixOmensText(Omens omens) {
  std::string text;
  for (std::size_t bit = 0; bit < GAS0::kOmenTexts.size(); ++bit) {
    if ((omens >> bit) & 1u) text += GAS0::kOmenTexts[bit];
  }
  if (text.size() > GAS0::kOmensTextLimit) text.resize(GAS0::kOmensTextLimit);
  return text;
}

int TakeFlowingUpdates() {
  const int n = tFlowingUpdates;
  tFlowingUpdates = 0;
  return n;
}

// ---------------------------------------------------------------------------------------------
// Update pipeline.

Slate Estimate(double n2, double co2, double gr, double hs, int variant) {
  if (!GAS0::IsSgergMethod(variant)) Raise(kModule, "GAS1.Estimate() invalid method", 32);
  const double hsBtu = hs / kJm3PerBtuFt3;
  std::array<double, 8> y{};
  for (std::size_t row = 1; row < 8; ++row) {
    switch (variant) {
      case GAS0::SgergGCN: {
        const auto& c = kEstGCN[row];
        y[row] = c[0] + c[1] * gr + c[2] * co2 + c[3] * n2;
        break;
      }
      case GAS0::SgergHCN: {
        const auto& c = kEstHCN[row];
        y[row] = c[0] + c[1] * hsBtu + c[2] * co2 + c[3] * n2;
        break;
      }
      case GAS0::SgergGHC: {
        const auto& c = kEstGH[row];
        y[row] = c[0] + c[1] * gr + c[2] * hsBtu + c[3] * co2;
        break;
      }
      default: {
        const auto& c = kEstGH[row];
        y[row] = c[0] + c[1] * gr + c[2] * hsBtu + c[3] * co2 + c[4] * n2;
        break;
      }
    }
  }
  Slate s{};
  s[GAS0::CO2] = co2;
  s[GAS0::N2] = n2;
  if (variant == GAS0::SgergGHC) {
    const auto& c = kEstGH[0];
    s[GAS0::N2] = c[0] + c[1] * gr + c[2] * hsBtu + c[3] * co2;
  }
  s[GAS0::C1] = y[1];
  s[GAS0::C2] = y[2];
  s[GAS0::C3] = y[3];
  s[GAS0::nC4] = y[4];
  s[GAS0::iC4] = y[5];
  s[GAS0::iC5] = 0.5 * y[6];
  s[GAS0::nC5] = 0.5 * y[6];
  s[GAS0::nC6] = 0.85 * y[7];
  s[GAS0::nC7] = 0.12 * y[7];
  s[GAS0::nC8] = 0.03 * y[7];
  // A linear form can fall below zero outside its fitted range: such a component is absent.
  double sum = 0.0;
  for (double& v : s) {
    if (!(v > 0.0) || !std::isfinite(v)) v = 0.0;
    sum += v;
  }
  if (!(sum > 0.0)) {
    s.fill(0.0);
    s[GAS0::C1] = 1.0;
    return s;
  }
  for (double& v : s) v /= sum;
  return s;
}

void FoldComposition(MixRecord& m) {
  GAS0::NormalizeSlate(m);
  FoldSlate(m);
}

void UpdateIGHBfromSlate(const GMix& mix) {
  if (!GAS0::IsMix(mix)) Raise(kModule, "GAS1.UpdateIGHBfromSlate()", 22);
  UpdateComposition(*mix);
}

void UpdateHBfromSlate(const GMix& mix) {
  if (!GAS0::IsMix(mix)) Raise(kModule, "GAS1.UpdateHBfromSlate()", 20);
  MixRecord& m = *mix;
  HeatSections(m, MixIdeal(m));
}

void UpdateViaGross(const GMix& mix) {
  if (!GAS0::IsMix(mix)) Raise(kModule, "GAS1.UpdateViaGross() invalid method", 30);
  UpdateGross(*mix);
}

}  // namespace qmx::GAS1
