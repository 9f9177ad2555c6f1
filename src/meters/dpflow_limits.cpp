// DP0 CheckLimits: the validity ranges of each meter type's standard, as flags.
#include <cmath>

#include "meters/dpflow.hpp"

namespace qmx::DP0 {

namespace {

bool Outside(double x, double lo, double hi) { return x < lo || x > hi; }

int Code(MeterType t) { return static_cast<int>(t); }

void ProbeWidthCheck(DPFlags& flags, double dt) {
  if (!(dt > 0.004 && dt < 0.06)) SetFlag(flags, kFlagDimRange);
}

// Minimum probe Reynolds number of the Annubar type 485 sensor sizes (codes 9, 10, 11).
double AnnubarMinProbeRe(std::uint8_t code) {
  switch (code) {
    case 9: return 6500.0;
    case 10: return 12500.0;
    case 11: return 25000.0;
    default: return 0.0;
  }
}

}  // namespace

void CheckLimits(DPFlags& flags, const DPResult& r, const DPFluid& f, const DPMeter& m) {
  const double Re = r.Re_D;
  const double D = r.Dt;
  const double d = r.dt;
  const double beta = r.beta;
  const double Dmm = D * 1000.0;
  const int tap = m.element.tap;

  if (Re < 10000.0) SetFlag(flags, kFlagLowRe);

  switch (m.type) {
    case MeterType::Vent_Cl:
      switch (m.element.convergent) {
        case 1:  // as-cast
          if (Outside(Re, 2e5, 2e6)) SetFlag(flags, kFlagReRange);
          if (Outside(D, 0.1, 0.8)) SetFlag(flags, kFlagDimRange);
          if (Outside(beta, 0.3, 0.75)) SetFlag(flags, kFlagBetaRange);
          break;
        case 2:  // machined
          if (Outside(Re, 2e5, 1e6)) SetFlag(flags, kFlagReRange);
          if (Outside(D, 0.05, 0.25)) SetFlag(flags, kFlagDimRange);
          if (Outside(beta, 0.4, 0.75)) SetFlag(flags, kFlagBetaRange);
          break;
        case 3:  // user-supplied coefficient
          break;
        default:  // rough-welded sheet-iron
          if (Outside(Re, 2e5, 2e6)) SetFlag(flags, kFlagReRange);
          if (Outside(D, 0.2, 1.2)) SetFlag(flags, kFlagDimRange);
          if (Outside(beta, 0.4, 0.7)) SetFlag(flags, kFlagBetaRange);
          break;
      }
      break;

    case MeterType::Vent_VCs:
    case MeterType::Vent_VCw:
    case MeterType::Vent_VCsC:
    case MeterType::Vent_VCwC:
      if (Re < 7000.0) SetFlag(flags, kFlagReRange);
      break;

    case MeterType::Vent_Noz:
      if (Outside(Re, 1.5e5, 2e6)) SetFlag(flags, kFlagReRange);
      if (Outside(beta, 0.316, 0.775)) SetFlag(flags, kFlagBetaRange);
      if (Outside(D, 0.065, 0.5) || d < 0.05) SetFlag(flags, kFlagDimRange);
      break;

    case MeterType::Noz_ISA: {
      if (Outside(D, 0.05, 0.5)) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.3, 0.8)) SetFlag(flags, kFlagBetaRange);
      const bool low = Re >= 7e4 && Re <= 1e7 && beta >= 0.3 && beta <= 0.44;
      const bool high = Re >= 2e4 && Re <= 1e7 && beta >= 0.44 && beta <= 0.8;
      if (!(low || high)) SetFlag(flags, kFlagReAtBeta);
      break;
    }

    case MeterType::Noz_LR:
      if (Outside(D, 0.05, 0.63)) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.2, 0.8)) SetFlag(flags, kFlagBetaRange);
      if (Outside(Re, 1e4, 1e7)) SetFlag(flags, kFlagReRange);
      break;

    case MeterType::Orf_Stolz:
    case MeterType::Orf_Stolz2:
      if (d < 0.0125 || Outside(D, 0.05, 1.0)) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.2, 0.75)) SetFlag(flags, kFlagBetaRange);
      if (tap == 0) {
        const bool ok = (Re >= 5000.0 && beta >= 0.2 && beta <= 0.45) || (Re >= 10000.0 && beta > 0.45);
        if (!ok) SetFlag(flags, kFlagReAtBeta);
      } else if (!(Re > 1260.0 * beta * beta * Dmm)) {
        SetFlag(flags, kFlagReAtBeta);
        SetFlag(flags, kFlagReAtDim);
      }
      break;

    case MeterType::Orf_NEL:
    case MeterType::Orf_ISO:
    case MeterType::Orf_3M:
      if (d < 0.0125 || Outside(D, 0.05, 1.0)) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.1, 0.75)) SetFlag(flags, kFlagBetaRange);
      if (tap == 0 || tap == 2) {
        const bool ok = (Re >= 5000.0 && beta <= 0.56) || (Re >= 16000.0 * beta * beta && beta > 0.56);
        if (!ok) SetFlag(flags, kFlagReAtBeta);
      } else if (!(Re >= 5000.0 && Re >= 170.0 * beta * beta * Dmm)) {
        SetFlag(flags, kFlagReAtBeta);
        SetFlag(flags, kFlagReAtDim);
      }
      break;

    case MeterType::Orf_RGc:
    case MeterType::Orf_RG:
    case MeterType::Orf_AGA:
    case MeterType::Orf_BB:
    case MeterType::Orf_ASME:
    case MeterType::Orf_RO:
      if (!(d >= 0.0114 && D >= 0.0428498)) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.1, 0.75)) SetFlag(flags, kFlagBetaRange);
      if (tap != 1) SetFlag(flags, kFlagTaps);
      if (Re < 4000.0) {
        SetFlag(flags, kFlagReAtBeta);
        SetFlag(flags, kFlagReAtDim);
      }
      break;

    case MeterType::Orf_Quad:
      ClearFlag(flags, kFlagLowRe);
      if (d < 0.015 || D > 0.5) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.245, 0.6)) SetFlag(flags, kFlagBetaRange);
      if (!(1000.0 * beta + 9.4e6 * std::pow(beta - 0.24, 8) <= Re && Re <= 1e5 * beta)) {
        SetFlag(flags, kFlagReAtBeta);
      }
      break;

    case MeterType::Orf_Int:
      if (!(m.d > 5e-5 && m.d < 0.05 && m.D > 0.012 && m.D < 0.0558)) SetFlag(flags, kFlagDimRange);
      if (f.P1 > 0 && f.dp / f.P1 >= 0.054) SetFlag(flags, kFlagPressureRatio);
      break;

    case MeterType::Orf_IFO:
      // Pipe bore 0.2..2.5 in (the 1/2, 1 and 1-1/2 inch bodies), orifice bore 0.236..0.67 in.
      if (!(m.D > 0.00508 && m.D < 0.0635 && m.d > 0.006 && m.d < 0.017)) SetFlag(flags, kFlagDimRange);
      break;

    case MeterType::Orf_Cone:
      ClearFlag(flags, kFlagLowRe);
      if (d <= 0.006 || D > 0.5) SetFlag(flags, kFlagDimRange);
      if (!(beta > 0.1 && beta < 0.316)) SetFlag(flags, kFlagBetaRange);
      if (!(Re > 80.0 && Re < 2e5 * beta)) SetFlag(flags, kFlagReAtBeta);
      break;

    case MeterType::Orf_Ecc:
      if (Outside(D, 0.1, 1.0) || d < 0.05) SetFlag(flags, kFlagDimRange);
      if (Outside(beta, 0.46, 0.84)) SetFlag(flags, kFlagBetaRange);
      break;

    case MeterType::Orf_Seg:
      if (!(D > 0) || Outside(d / D, 0.05, 0.7)) SetFlag(flags, kFlagDimRange);
      break;

    case MeterType::Orf_14M:
      if (Outside(D, 0.01368, 0.044958)) SetFlag(flags, kFlagDimRange);
      if (Re < 1000.0) SetFlag(flags, kFlagReAtBeta);
      if (tap == 0) {
        if (Outside(beta, 0.1, 0.8)) SetFlag(flags, kFlagBetaRange);
      } else if (tap == 2) {
        SetFlag(flags, kFlagTaps);
      } else if (Outside(beta, 0.15, 0.7)) {
        SetFlag(flags, kFlagBetaRange);
      }
      break;

    case MeterType::Pit_Avg:
      if (!(m.element.c1 > 0.5 && m.element.c1 < 0.9)) SetFlag(flags, kFlagBogusCoef);
      ProbeWidthCheck(flags, d);
      break;

    case MeterType::Pit_AnnM:
    case MeterType::Pit_AnnR: {
      const double c1 = m.element.c1;
      const double c2 = m.element.c2;
      if (!(c1 > -1.7 && c1 < 1.5) || !(c2 > 0.7 && c2 < 1.5)) SetFlag(flags, kFlagBogusCoef);
      ProbeWidthCheck(flags, d);
      const double probeRe = f.mu > 0 ? d * r.velocity * f.rho / f.mu : 0.0;
      if (probeRe < AnnubarMinProbeRe(m.element.annubar)) SetFlag(flags, kFlagReRange);
      break;
    }

    case MeterType::Wedge_FC:
    case MeterType::Wedge_CCd:
      if (!(D > 0) || Outside(d / D, 0.2, 0.55) || Outside(D, 0.012, 0.61)) SetFlag(flags, kFlagDimRange);
      break;

    default:  // Vent_IVCM, elbows, Pit_Vbar, Vent_AcBar, Experimental, Mtr_Other
      break;
  }

  // Pressure ratio.
  const double P2 = f.P1 - f.dp;
  const double tau = f.P1 > 0 ? P2 / f.P1 : 0.0;
  const int c = Code(m.type);
  if (c == 0 || c == 6 || c == 7 || c == 8 || c == 9 || c == 11 || c == 12) {
    if (tau < 0.75) SetFlag(flags, kFlagPressureRatio);
  } else if (c == 13 || c == 14 || c == 17) {
    if (tau <= 0.8 || tau >= 1.0) SetFlag(flags, kFlagPressureRatio);
  } else if (c == 15) {
    if (tau <= 0.75 || tau >= 1.0) SetFlag(flags, kFlagPressureRatio);
  }

  if (f.compressible) {
    const double k = f.kappa;
    if (k > 0.0) {
      // Critical pressure ratio; its limit at kappa = 1 is exp(-1/2).
      const double rstar = k == 1.0 ? std::exp(-0.5) : std::pow(2.0 / (k + 1.0), k / (k - 1.0));
      if (P2 < rstar * f.P1) SetFlag(flags, kFlagSonic);
    }
  } else {
    ClearFlag(flags, kFlagSonic);
    ClearFlag(flags, kFlagPressureRatio);
  }
}

}  // namespace qmx::DP0
