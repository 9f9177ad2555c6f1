// Per-component constants of the gas engine: the 29 components in their fixed order, their species
// records, the eight published data tables selected by the gas data source, the source-independent
// columns (atoms, heat capacities, acentric factors, dilute viscosities) and the preset
// compositions. Everything here is constant; the mixing rules live in heating.hpp.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qmx::GAS1 {

inline constexpr int kNComp = 29;   // components of a slate
inline constexpr int kNAga = 21;    // the first 21 are in AGA-8 order
inline constexpr int kNSpecies = 30;  // heat-capacity species: the 29 components and sulfur dioxide
inline constexpr int kSO2 = 29;       // index of sulfur dioxide in the heat-capacity sets

using Slate = std::array<double, kNComp>;
using Present = std::array<bool, kNComp>;

// Component indices (slate positions).
namespace comp {
enum : int {
  C1, N2, CO2, C2, C3, H2O, H2S, H2, CO, O2,
  iC4, nC4, iC5, nC5, nC6, nC7, nC8, nC9, nC10, He, Ar,
  neoC5, iC6, m3C5, neoC6, biIsP, C2H4, C3H6, CH3OH
};
}  // namespace comp

// Gas data source codes (the mix's data source byte).
enum GasDataSource : int {
  GPAcurrentUS = 0,
  GPAcurrentSI = 1,
  AGAcurrent = 2,
  GPA_2003US = 3,
  GPA_2003SI = 4,
  GPA_1992 = 5,
  ISO_6976 = 6,
  ISO6976n = 7,
  GasDataTest = 8,
};
inline constexpr int kNTables = 8;  // sources 0..7 have a table

// Heating-value method codes (the mix's H method byte).
enum HMethod : int {
  AGA8C4method = 0,
  AGA5method = 1,
  AGA509method = 2,
  GrossHmethod = 3,
};

// One published component table, columns in component order.
struct SourceTable {
  std::string_view title;      // 45-character title, blank padded
  std::array<double, kNComp> Pc;  // kPa
  std::array<double, kNComp> Tc;  // K
  std::array<double, kNComp> M;   // kg/kmol
  std::array<double, kNComp> HV;  // gross heating value: MJ/kg, or MJ/kmol when molar
  bool molar;                  // HV is a molar table
  double Ttable;               // K, temperature of the HV column
};

// Table of data source 0..7; nullptr for any other code.
const SourceTable* Table(int source);

// The 45-character title of a data source (blank padded); empty for codes without a table other
// than GasDataTest.
std::string DataSourceTitle(int source);

// Source-independent columns (component order).
extern const std::array<int, kNComp> kCarbon;     // carbon atoms per molecule
extern const std::array<int, kNComp> kHydrogen;   // hydrogen atoms per molecule
extern const std::array<double, kNComp> kCp298;   // J/(mol K), ideal gas at 298.15 K (kP)
extern const std::array<double, kNComp> kOmega;   // acentric factor
extern const std::array<double, kNComp> kMu;      // cP, dilute gas at 60 F
// Ideal-gas Cp/R = a0 + a1 T + a2 T^2 + a3 T^3 + a4 T^4, T in K.
extern const std::array<std::array<double, 5>, kNComp> kCpPoly;

// Heating-value temperature correction data: Cp = R (a + b t + c t^2), t in C, for the 29
// components and sulfur dioxide; set A with R = 8.31451, set B with R = 8.314472.
extern const std::array<std::array<double, 3>, kNSpecies> kCpSetA;
extern const std::array<std::array<double, 3>, kNSpecies> kCpSetB;
inline constexpr double kRsetA = 8.31451;
inline constexpr double kRsetB = 8.314472;
inline constexpr double kCpLiquidWater = 75.29;  // J/(mol K)

// Combustion table: own coefficient, O2 consumed (negative), liquid H2O, CO2 and SO2 formed.
struct Combustion {
  double own, o2, h2o, co2, so2;
};
extern const std::array<Combustion, kNComp> kCombustion;

// Species records, "|"-separated fields: symbol, formula, structural formula, CAS number,
// row number, name, synonyms.
inline constexpr int kSpeciesFields = 7;
extern const std::array<std::string_view, kNComp> kSpecies;
// Field `field` (0..6) of component `component`'s species record; empty when either is out of range.
std::string GetSpecies(int component, int field);

// Component symbols and the names the mixture file writes ("Methane", ...), component order.
extern const std::array<std::string_view, kNComp> kSymbols;
extern const std::array<std::string_view, kNComp> kFileNames;

// Preset compositions: name and 21 mole fractions in AGA-8 order.
struct Preset {
  std::string_view name;
  std::array<double, kNAga> x;
};
inline constexpr int kNPresets = 16;
extern const std::array<Preset, kNPresets> kPresets;

}  // namespace qmx::GAS1
