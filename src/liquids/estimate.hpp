#pragma once
// Liquid property estimates for the liquid pages when no value is entered.
#include <cstdint>
#include <string>

namespace qmx::LIQ {

// 16-bit set: which inputs of an estimate were clamped.
using EstimateFlags = std::uint16_t;
inline constexpr EstimateFlags kEstTemperature = 1u << 0;
inline constexpr EstimateFlags kEstDensity = 1u << 1;
inline constexpr EstimateFlags kEstGor = 1u << 2;
inline constexpr EstimateFlags kEstNoData = 1u << 3;

// "Estimate" followed by the texts of the set bits in bit order.
std::string EstimateFlagText(EstimateFlags flags);

// Dynamic viscosity (Pa s) of a crude-oil-like liquid from temperature (K) and density (kg/m3),
// raised by dissolved gas when gasOilRatio (m3 gas per m3 oil) is positive. Inputs outside
// the correlation's range are clamped and flagged; a non-finite or non-positive temperature
// or density (or a NaN ratio) gives its flag and 0.
double EstimateViscosity(EstimateFlags& flags, double gasOilRatio, double temperature, double density);

}  // namespace qmx::LIQ
