#pragma once
// The compiled unit catalogue (generated into fum_table.cpp by tools/units_table.py).
#include <array>
#include <cstdint>
#include <string_view>

namespace qmx::FUM::detail {

struct UnitRecord {
  std::string_view symbol;
  double factor;
  std::array<std::int8_t, 8> dims;
  std::string_view longName;
};

inline constexpr int kUnitCount = 176;
extern const std::array<UnitRecord, kUnitCount + 1> kUnits;

}  // namespace qmx::FUM::detail
