#pragma once
// Raw pipe tables behind DP2's lookups, in inches, indexed by size code - 1.
#include <array>

namespace qmx::DP2::tables {

inline constexpr int kTableSizes = 44;
inline constexpr int kCarbonColumns = 14;
inline constexpr int kStainlessColumns = 4;

extern const std::array<double, kTableSizes> kOutsideIn;
extern const std::array<std::array<double, kCarbonColumns>, kTableSizes> kCarbonWallIn;
extern const std::array<std::array<double, kStainlessColumns>, kTableSizes> kStainlessWallIn;

}  // namespace qmx::DP2::tables
