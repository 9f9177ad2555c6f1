// Dead-oil viscosity by the Beggs and Robinson correlation (oilfield units), with the
// live-oil correction for the solution gas-oil ratio.
#include "liquids/estimate.hpp"

#include <cmath>

namespace qmx::LIQ {
namespace {

constexpr double kApiNumerator = 141360.198;  // 141.5 * 999.012 kg/m3
constexpr double kScfPerBblPerM3PerM3 = 5.614583333;

const char* BitText(unsigned bit) {
  switch (bit) {
    case 0: return "Temperature out of range! ";
    case 1: return "Density out of range ! ";
    case 2: return "GOR out of range ! ";
    case 3: return "No data for this fluid ! ";
    default: return bit <= 9 ? "___ out of range ! " : "___ ! ";
  }
}

}  // namespace

std::string EstimateFlagText(EstimateFlags flags) {
  std::string text = "Estimate";
  for (unsigned bit = 0; bit < 16; ++bit) {
    if (flags & (1u << bit)) text += BitText(bit);
  }
  return text;
}

double EstimateViscosity(EstimateFlags& flags, double gasOilRatio, double temperature, double density) {
  flags = 0;
  if (!std::isfinite(temperature) || !(temperature > 0.0)) flags |= kEstTemperature;
  if (!std::isfinite(density) || !(density > 0.0)) flags |= kEstDensity;
  if (std::isnan(gasOilRatio)) flags |= kEstGor;
  if (flags) return 0.0;

  double tF = 1.8 * temperature - 459.67;
  double api = kApiNumerator / density - 131.5;
  if (tF < 70.0) {
    tF = 70.0;
    flags |= kEstTemperature;
  } else if (tF >= 295.0) {
    tF = 295.0;
    flags |= kEstTemperature;
  }
  if (api < 16.0) {
    api = 16.0;
    flags |= kEstDensity;
  } else if (api >= 58.0) {
    api = 58.0;
    flags |= kEstDensity;
  }
  const double x = std::pow(10.0, 3.0324 - 0.02023 * api) * std::pow(tF, -1.163);
  const double muDead = std::pow(10.0, x) - 1.0;  // cP
  double mu = muDead;
  if (gasOilRatio > 0.0) {
    double rs = gasOilRatio * kScfPerBblPerM3PerM3;
    if (rs < 20.0) {
      rs = 20.0;
      flags |= kEstGor;
    } else if (rs >= 2070.0) {
      rs = 2070.0;
      flags |= kEstGor;
    }
    mu = 10.75 * std::pow(rs + 100.0, -0.515) * std::pow(muDead, 5.44 * std::pow(rs + 150.0, -0.338));
  }
  return mu * 0.001;
}

}  // namespace qmx::LIQ
