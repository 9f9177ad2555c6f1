#pragma once
// Unit catalogue and unit strings: a unit string such as "lbm/ft*sec" becomes a factor to SI and
// a dimension vector; a few whole-string units ("C", "F", "K", "R", "api", "ssu", "awg", "lphk")
// convert by formula. No state beyond the constant tables.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qmx::FUM {

inline constexpr const char* kModule = "FUM";

// Exponents of length, mass, time, temperature, quantity of matter (kmole), angle, electric
// current and light intensity over m, kg, s, K, kmole, rad, A, cd.
using Dims = std::array<std::int8_t, 8>;

// Conversion error flags; the text of each is in uErrorText.
using UnitErrors = std::uint16_t;
inline constexpr UnitErrors uSyntaxError = 2;
inline constexpr UnitErrors uUndefinedUnit = 4;
inline constexpr UnitErrors uDimensionError = 8;
inline constexpr UnitErrors uOverflow = 16;
inline constexpr UnitErrors uOutOfRange = 32;
inline constexpr UnitErrors uConvergence = 64;

inline constexpr int kUnitCount = 176;
// Characters a token may hold; a longer token is an undefined unit.
inline constexpr std::size_t kMaxTokenLength = 7;

// Converts value in unitString to SI (toSI) or an SI value into unitString. errors is cleared on
// entry; dims accumulates the unit's exponents (added to SI, subtracted from SI); formulaic
// reports a whole-string formulaic unit. After a flag the result is not meaningful. A NUL ends
// the string. Raises "FUM.INVALID TEMP SCALE" (1) for a bad temperature scale.
void uConvert(UnitErrors& errors, bool& formulaic, Dims& dims, std::string_view unitString, double& result,
              bool toSI, double value);
// value in fromUnit expressed in toUnit; result is untouched when errors are reported.
void uConvertBetween(UnitErrors& errors, std::string_view toUnit, double& result, std::string_view fromUnit,
                     double value);
// Offset in unitString of the first character that makes it a syntax error ("%" in "psi%",
// a "^" without an exponent digit after it), npos when there is none.
std::size_t uRefusedCharacter(std::string_view unitString);
// Dimension vector of a unit string, all zero when it does not convert.
void uStrDims(Dims& dims, std::string_view unitString);
// The concatenated flag texts of a set, empty for none.
void uErrorText(UnitErrors errors, std::string& text);
// Name of the dimension (first seven exponents compared), "not recognized" for any other.
void uDimensionName(const Dims& dims, std::string& text);

// Catalogue records 1..176. Outside that range: empty symbol, factor 1, zero dims, long name ""
// for record 0 and "ERROR" otherwise.
std::string_view uUnitSymbol(int index);
void uUnitName(int index, std::string& text);
double uUnitFactor(int index);
void uUnitDims(int index, Dims& dims);
// Advances index to the next record after it (up to 176) whose eight exponents equal dims;
// false (index unchanged) when there is none.
bool uNextUnitSameDims(int& index, const Dims& dims);

// Whether the whole string is one of the formulaic units.
bool uIsFormulaic(std::string_view unitString);

}  // namespace qmx::FUM
