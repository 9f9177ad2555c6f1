#pragma once
// The flow solution's bridge to the coefficient equations: the parameter record
// of a meter and its working values at the flowing temperature.
#include "meters/coef.hpp"
#include "meters/dpflow.hpp"

namespace qmx::DP0::flow {

bool IsElbow(MeterType type) noexcept;
// True for the types with a coefficient equation (Mtr_Other and codes past the catalogue have none).
bool HasEquation(MeterType type) noexcept;
// Selector of GasExpansion: the Vent_IVCM size class, the Accelabar model, else 0.
int ExpansionSelector(const DPMeter& m, double beta) noexcept;
// The coefficient parameters at the current working values.
CoefParams MakeCoefParams(const DPMeter& m, const DPFluid& f, double Dt, double dt, double beta, double epsilon,
                          double ReD, double Red) noexcept;

}  // namespace qmx::DP0::flow
