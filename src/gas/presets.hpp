// The preset natural-gas compositions offered by the fluid pages: 16 named mixtures of the 21
// AGA-8 components.
#pragma once

#include <array>
#include <string_view>

#include "gas/gas0.hpp"

namespace qmx::GAS1 {

struct StdGasComp {
  std::string_view name;
  std::array<double, 21> x;  // mole fractions in AGA-8 component order
};
inline constexpr int kStdGasCompCount = 16;
extern const std::array<StdGasComp, kStdGasCompCount> kStdGasComps;

// The 29-entry slate of preset `index` (components 21..28 zero); false for an index outside
// 0..15, leaving `slate` unchanged.
bool StdGasCompSlate(int index, std::array<double, GAS0::kComponents>& slate);

}  // namespace qmx::GAS1
