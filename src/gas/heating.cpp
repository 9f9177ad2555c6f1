// Ideal mixing rules, heating-value temperature correction and the base-condition results of a
// gas composition.
#include "gas/heating.hpp"

#include <cmath>

#include "numerics/error.hpp"
#include "steam/if97.hpp"

namespace qmx::GAS1 {

namespace {

constexpr const char* kModule = "GAS1";
constexpr double kRkP = 8.31451;        // J/(mol K), gas constant of the kP and kI sums
constexpr double kTsuth0 = kT60F;       // K, reference temperature of the dilute viscosities
constexpr double kTairMin = kAirTmin, kTairMax = kAirTmax;
constexpr double kPairMin = kAirPmin, kPairMax = kAirPmax;

std::size_t U(int i) { return static_cast<std::size_t>(i); }

// Table temperature from which a source's molar heating value is brought to 25 C.
double FromTemperature(int source) {
  switch (source) {
    case GPAcurrentUS:
    case GPA_2003US:
    case GPA_1992:
      return kT60F;
    default:
      return 288.15;  // the 15 C tables, ISO 6976 included
  }
}

}  // namespace

IdealMix DoMix(int source, int hmethod, const Present& present, const Slate& X) {
  const SourceTable* t = Table(source);
  if (t == nullptr) Raise(kModule, "GAS1.DoMix() invalid table", 1);
  double Pc = 0, Tc = 0, M = 0, HN = 0, HNdry = 0, Hs = 0, Cs = 0;
  double muNum = 0, muDen = 0, cW = 0, Cp = 0;
  for (int i = 0; i < kNComp; ++i) {
    if (!present[U(i)]) continue;
    const double x = X[U(i)];
    const double Mi = t->M[U(i)];
    Pc += x * t->Pc[U(i)];
    Tc += x * t->Tc[U(i)];
    M += x * Mi;
    const double hn = x * (t->molar ? t->HV[U(i)] : t->HV[U(i)] * Mi);
    HN += hn;
    if (i != comp::H2O) HNdry += hn;
    Hs += x * kHydrogen[U(i)];
    Cs += x * kCarbon[U(i)];
    const double sq = std::sqrt(Mi);
    muNum += x * kMu[U(i)] * sq;
    muDen += x * sq;
    cW += x * kOmega[U(i)];
    Cp += x * kCp298[U(i)];
  }
  IdealMix r;
  r.HN = HN;
  r.HNdry = HNdry;
  r.ideal[tPc] = Pc * 1000.0;
  r.ideal[tTc] = Tc;
  r.ideal[tMr] = M;
  r.ideal[tHC] = Cs > 0.0 ? Hs / Cs : 0.0;
  r.ideal[tMu] = muDen > 0.0 ? muNum / muDen * 0.001 : 0.0;
  r.ideal[tcW] = cW;
  r.ideal[tkP] = Cp > kRkP ? Cp / (Cp - kRkP) : 0.0;
  r.Hm = M > 0.0 ? HN / M * 1e6 : 0.0;
  if (HNdry != 0.0) {
    r.ideal[tHN25] = t->molar ? HNdry * 1e6
                              : CorrectHV(HNdry * 1e6, kT25C, FromTemperature(source), hmethod, X);
  }
  return r;
}

double GasGetIdeal(int source, int tag, int component) {
  const SourceTable* t = Table(source);
  if (t == nullptr || tag < 0 || tag > 7) Raise(kModule, "GAS1.GasGetIdeal() invalid table", 2);
  if (component < 0 || component >= kNComp) return 0.0;
  const std::size_t i = U(component);
  switch (tag) {
    case tHN25:
      return (t->molar ? t->HV[i] : t->HV[i] * t->M[i]) * 1e6;
    case tPc:
      return t->Pc[i] * 1000.0;
    case tTc:
      return t->Tc[i];
    case tcW:
      return kOmega[i];
    case tMu:
      return kMu[i] * 0.001;
    case tMr:
      return t->M[i];
    case tHC:
      return kCarbon[i] > 0 ? static_cast<double>(kHydrogen[i]) / kCarbon[i] : 0.0;
    default:
      return kCp298[i] / (kCp298[i] - kRkP);
  }
}

double CorrectHV(double HV, double T1, double T2, int hmethod, const Slate& X) {
  if (hmethod == GrossHmethod) return HV;
  const bool setB = hmethod == AGA509method;
  const auto& set = setB ? kCpSetB : kCpSetA;
  const double R = setB ? kRsetB : kRsetA;
  const double dT = T1 - T2;
  const double t1 = T2 - 273.15, t2 = T1 - 273.15;
  const double alpha = R * dT;
  const double beta = R * (t2 * t2 - t1 * t1) / 2.0;
  const double gamma = R * (t2 * t2 * t2 - t1 * t1 * t1) / 3.0;
  std::array<double, kNSpecies> dH{};
  for (std::size_t k = 0; k < dH.size(); ++k)
    dH[k] = (set[k][0] * alpha + set[k][1] * beta + set[k][2] * gamma) * 0.001;
  const double dHw = kCpLiquidWater * dT * 0.001;
  double sum = 0.0;
  for (std::size_t i = 0; i < U(kNComp); ++i) {
    const Combustion& c = kCombustion[i];
    sum += X[i] * (c.own * dH[i] + c.o2 * dH[U(comp::O2)] + c.h2o * dHw +
                   c.co2 * dH[U(comp::CO2)] + c.so2 * dH[U(kSO2)]);
  }
  return (HV * 1e-6 - sum) * 1e6;
}

double IdealExponent(const Present& present, const Slate& X, double T) {
  double s = 0.0;  // Cp/R of the mixture
  for (std::size_t i = 0; i < U(kNComp); ++i) {
    if (!present[i]) continue;
    const auto& a = kCpPoly[i];
    s += X[i] * (a[0] + T * (a[1] + T * (a[2] + T * (a[3] + T * a[4]))));
  }
  return std::isfinite(s) && s > 1.0 ? s / (s - 1.0) : 0.0;
}

double ViscosityAt(double T, double Tc, double Mu) {
  const double S = 0.9 * Tc;
  if (!(T > 0.0) || !(T + S > 0.0)) return 0.0;
  return Mu * std::pow(T / kTsuth0, 1.5) * (kTsuth0 + S) / (T + S);
}

double WaterVapourPressure(double T) {
  if (!std::isfinite(T)) return 0.0;
  return IF97::Psat(T);
}

double RoundZ(double Z) { return std::round(Z * 1e5) / 1e5; }
double RoundMD(double mD) { return std::round(mD * 1e6) / 1e6; }

bool AirAt(double T, double P, State& air) {
  if (!(T >= kTairMin && T <= kTairMax && P >= kPairMin && P <= kPairMax)) return false;
  const double B = 0.000591 * T - 0.12527 - 6.62e-07 * T * T;  // m3/kmol
  air.Tt = T;
  air.Pp = P;
  air.Z = 1.0 + B * P / (kRgas * T);
  air.RHO = kMair / (kRgas * T / P + B);
  air.mD = P / (air.Z * kRgas * T);
  air.Mut = 1.762075e-05 * std::pow(T / kTsuth0, 1.5) * (kTsuth0 + 0.9 * 136.340297) /
            (T + 0.9 * 136.340297);
  air.kI = 1.37;
  return true;
}

double MethaneNumberHC(double HC) {
  return -406.14 + 508.04 * HC - 173.55 * HC * HC + 20.17 * HC * HC * HC;
}

double MethaneNumberX(const Slate& X) {
  return 137.78 * X[comp::C1] + 29.948 * X[comp::C2] - 18.193 * X[comp::C3] -
         167.062 * (X[comp::nC4] + X[comp::iC4]) + 181.233 * X[comp::CO2] + 26.994 * X[comp::N2];
}

BaseResult HeatFromSlate(const HeatInputs& in) {
  BaseResult r;
  if (!AirAt(in.Tbase, in.Pbase, r.air))
    Raise(kModule, "GAS1.UpdateHBfromSlate() Invalid base T P", 3);
  const double M = in.ideal.ideal[tMr];
  const double Tc = in.ideal.ideal[tTc];
  const double Mu = in.ideal.ideal[tMu];
  const double HN25 = in.ideal.ideal[tHN25];

  r.hs = HN25 * in.mDb;
  r.mrg = M;
  r.gr = M * in.mDb / r.air.RHO;

  r.base = {in.Tbase, in.Pbase, in.mDb * M, ViscosityAt(in.Tbase, Tc, Mu), in.mDb,
            IdealExponent(in.present, in.X, in.Tbase), in.Zb};
  r.normal = {kTnormal, kPnormal, in.mDn * M, ViscosityAt(kTnormal, Tc, Mu), in.mDn,
              IdealExponent(in.present, in.X, kTnormal), in.Zn};

  Heat& h = r.heat;
  h.st = r.base;
  h.THc = in.THc;
  if (in.hmethod == AGA5method) {
    h.Hm = in.ideal.Hm;
    h.HN = M * h.Hm;
    h.Hv = M * in.mDb * h.Hm;
  } else {
    h.HN = CorrectHV(HN25, in.THc, kT25C, in.hmethod, in.X);
    h.Hm = M > 0.0 ? h.HN / M : 0.0;
    h.Hv = h.HN * in.mDb;
  }
  r.hng = h.HN;
  h.Pvw = WaterVapourPressure(in.THc);
  h.Hvn = 0.0;
  // Wobbe index: volumetric heating value over the square root of the relative density.
  h.WI = r.gr > 0.0 ? h.Hv / std::sqrt(r.gr) : 0.0;
  h.Mon1 = MethaneNumberHC(in.ideal.ideal[tHC]);
  h.Mon2 = MethaneNumberX(in.X);
  h.Meth1 = 1.624 * h.Mon1 - 119.1;
  h.Meth2 = 1.624 * h.Mon2 - 119.1;
  // Enthalpy of vaporisation of water (MJ/kmol) at THc, and the enthalpy of liquid water from
  // 25 C to THc.
  h.vH2O = in.THc >= 288.15 ? 44.433 - 0.0417 * (in.THc - 288.15)
                            : 45.074 - 0.0427333 * (in.THc - 273.15);
  h.dH2O = (in.THc - (25.0 + 273.15)) * kCpLiquidWater * 0.001;
  return r;
}

}  // namespace qmx::GAS1
