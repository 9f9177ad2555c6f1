#include "ui/frame_size.hpp"

#include <cmath>

namespace qmx::ui {

namespace {

constexpr double kBaseDpi = 96.0;
constexpr double kBaseWidth = 640.0;
constexpr double kBaseHeight = 500.0;

// A usable resolution: NaN, infinite or non-positive becomes 96; absurd values are limited so
// that the frame stays a sensible size.
double Usable(double dpi) {
  if (!std::isfinite(dpi) || dpi <= 0.0) return kBaseDpi;
  if (dpi < 24.0) return 24.0;
  if (dpi > 960.0) return 960.0;
  return dpi;
}

// The band factors (width factor, height factor) of a resolution.
std::pair<double, double> Band(double dpi) {
  const long d = std::lround(dpi);
  if (d <= 85) return {1.1, 0.95};
  if (d <= 105) return {1.03, 1.0};
  return {1.065, 1.0};
}

}  // namespace

std::pair<int, int> FrameSize(double dpiX, double dpiY) {
  const double x = Usable(dpiX);
  const double y = Usable(dpiY);
  // Each axis at exactly 96 dpi keeps its base size; any other resolution scales with its band.
  const double f = x == kBaseDpi ? 1.0 : Band(x).first;
  const double g = y == kBaseDpi ? 1.0 : Band(y).second;
  return {static_cast<int>(std::lround(x / kBaseDpi * f * kBaseWidth)),
          static_cast<int>(std::lround(y / kBaseDpi * g * kBaseHeight))};
}

}  // namespace qmx::ui
