// Bridge from the flow solution's records to the coefficient parameter record.
#include "meters/dpflow_coef.hpp"

namespace qmx::DP0::flow {

bool IsElbow(MeterType type) noexcept {
  return type == MeterType::Elb_45L || type == MeterType::Elb_22L || type == MeterType::Elb_45S ||
         type == MeterType::Elb_22S;
}

bool HasEquation(MeterType type) noexcept { return static_cast<int>(type) < static_cast<int>(MeterType::Mtr_Other); }

int ExpansionSelector(const DPMeter& m, double beta) noexcept {
  if (m.type == MeterType::Vent_IVCM) return IVCMSizeClass(m.D, beta);
  if (m.type == MeterType::Vent_AcBar) return m.element.model;
  return 0;
}

CoefParams MakeCoefParams(const DPMeter& m, const DPFluid& f, double Dt, double dt, double beta, double epsilon,
                          double ReD, double Red) noexcept {
  CoefParams p;
  p.type = m.type;
  p.beta = beta;
  p.Dt = Dt;
  p.dt = dt;
  p.Dref = m.D;
  p.dref = m.d;
  p.ReD = ReD;
  p.Red = Red;
  p.tap = m.element.tap;
  p.selector = m.type == MeterType::Vent_AcBar ? m.element.model : m.element.convergent;
  p.elbowSize = m.element.elbowSize;
  p.elbowSchedule = m.element.elbowSchedule;
  p.coef1 = m.element.c1;
  p.coef2 = m.element.c2;
  p.ivcm = m.element.ivcm;
  p.pipeMaterial = m.pipeMaterial;
  p.dP = f.dp;
  p.rho = f.rho;
  p.mu = f.mu;
  p.epsilon = epsilon;
  p.block = &m.element;
  return p;
}

}  // namespace qmx::DP0::flow
