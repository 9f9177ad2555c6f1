#pragma once
// The unit catalogue grouped by dimension, as the Units page's reference list and `qmxcli units`
// show it: 21 groups, each with its heading, its formulaic unit (if any) and its catalogue units.
#include <array>
#include <string_view>
#include <vector>

#include "units/fum.hpp"

namespace qmx::FUM {

struct FormulaicRow {
  std::string_view symbol, label, name;  // empty symbol: the group has none
};

struct UnitGroup {
  std::string_view name;  // lower-case dimension name ("pressure", "fuel economy")
  std::string_view heading;
  Dims dims;
  FormulaicRow formulaic;
};

inline constexpr std::array<UnitGroup, 21> kUnitGroups = {{
    {"mass", "------Mass -----------------", {0, 1, 0, 0, 0, 0, 0, 0}, {}},
    {"length", "------Length ---------------", {1, 0, 0, 0, 0, 0, 0, 0},
     {"awg", "awg   [formulaic: length]", "American Wire Gauge"}},
    {"time", "------Time -----------------", {0, 0, 1, 0, 0, 0, 0, 0}, {}},
    {"volume", "------Volume ---------------", {3, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"temperature", "------Temperature ----------", {0, 0, 0, 1, 0, 0, 0, 0}, {}},
    {"pressure", "------Pressure -------------", {-1, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"volume flowrate", "------Volume flowrate ------", {3, 0, -1, 0, 0, 0, 0, 0}, {}},
    {"quantity of matter", "------Quantity of matter ---", {0, 0, 0, 0, 1, 0, 0, 0}, {}},
    {"mass density", "------Mass density ---------", {-3, 1, 0, 0, 0, 0, 0, 0},
     {"api", "api   [formulaic: mass / volume]", "API gravity"}},
    {"angle", "------Angle ----------------", {0, 0, 0, 0, 0, 1, 0, 0}, {}},
    {"force", "------Force ----------------", {1, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"energy", "------Energy ---------------", {2, 1, -2, 0, 0, 0, 0, 0}, {}},
    {"power", "------Power ----------------", {2, 1, -3, 0, 0, 0, 0, 0}, {}},
    {"area", "------Area -----------------", {2, 0, 0, 0, 0, 0, 0, 0}, {}},
    {"velocity", "------Velocity -------------", {1, 0, -1, 0, 0, 0, 0, 0}, {}},
    {"angular velocity", "------Angular velocity -----", {0, 0, -1, 0, 0, 1, 0, 0}, {}},
    {"acceleration", "------Acceleration ---------", {1, 0, -2, 0, 0, 0, 0, 0}, {}},
    {"absolute viscosity", "------Absolute viscosity ---", {-1, 1, -1, 0, 0, 0, 0, 0}, {}},
    {"kinematic viscosity", "------Kinematic viscosity --", {2, 0, -1, 0, 0, 0, 0, 0},
     {"ssu", "ssu   [formulaic: area / time]", "Seybolt Seconds Universal"}},
    {"fuel economy", "------ Fuel economy --------", {-2, 0, 0, 0, 0, 0, 0, 0},
     {"lphk", "lphk   [formulaic: volume / length]", "Liters per hundred kilometers"}},
    {"dimensionless", "------Dimensionless --------", {0, 0, 0, 0, 0, 0, 0, 0}, {}},
}};

// The catalogue records with the group's dimension, by ascending factor (equal factors in record
// order).
std::vector<int> GroupRecords(const UnitGroup& group);

}  // namespace qmx::FUM
