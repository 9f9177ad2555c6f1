#pragma once
// DP2: pipe and element dimensions. Nominal pipe sizes, schedules and flange
// classes with their texts, the ASME B36.10M / B36.19M pipe tables, the
// dimension-check warning set and the Annubar averaging pitot probe data.
#include <cstdint>
#include <string>
#include <string_view>

#include "meters/dp0.hpp"
#include "meters/dpflow.hpp"

namespace qmx::DP2 {

inline constexpr const char* kModule = "DP2";

// 46 nominal sizes: invalid, 1/8 .. 80 inch (codes 1..44), other.
enum class NominalPipeSize : std::uint8_t {
  Invalid = 0,
  Nps1_8, Nps1_4, Nps3_8, Nps1_2, Nps3_4, Nps1, Nps1_1_4, Nps1_1_2, Nps2, Nps2_1_2, Nps3, Nps3_1_2, Nps4,
  Nps5, Nps6, Nps8, Nps10, Nps12, Nps14, Nps16, Nps18, Nps20, Nps22, Nps24, Nps26, Nps28, Nps30, Nps32,
  Nps34, Nps36, Nps38, Nps40, Nps42, Nps44, Nps46, Nps48, Nps52, Nps56, Nps60, Nps64, Nps68, Nps72, Nps76,
  Nps80,
  Other  // 45
};
inline constexpr int kNominalSizeCount = 46;

enum class PipeSchedule : std::uint8_t {
  SchInvalid = 0, Sch5, Sch10, Sch20, Sch30, Sch40, SchSTD, Sch60, Sch80, SchXS, Sch100, Sch120, Sch140,
  Sch160, SchXXS, SchOthr
};
inline constexpr int kScheduleCount = 16;
inline constexpr std::string_view kScheduleKeys =
    "SchInvalid|Sch5|Sch10|Sch20|Sch30|Sch40|SchSTD|Sch60|Sch80|SchXS|Sch100|Sch120|Sch140|Sch160|SchXXS|SchOthr|";

enum class FlangeClass : std::uint8_t { Ansi150 = 0, Ansi300, Ansi400, Ansi600, Ansi900, Ansi1500, Ansi2500, Other };
inline constexpr int kFlangeClassCount = 8;

// The two comma-separated size lists: inch designations, and inch with metric DN.
extern const std::string_view kPipeSizeShortList;
extern const std::string_view kPipeSizeLongList;

// Item of the short list (1/2") or, with the metric flag, of the long list (1/2" (15 mm)).
// A size outside 0..45 gives an empty text.
std::string PipeSizeName(NominalPipeSize size, bool withMetric);
// The schedule's key ("Sch40"); empty outside the enumeration.
std::string_view ScheduleKey(PipeSchedule schedule);
// The schedule for a key; SchInvalid and found = false when the key is not listed.
PipeSchedule ScheduleFromKey(std::string_view key, bool& found);
// "ANSI 150  " .. "ANSI 2500 " (10 characters) and "other " (6); empty outside the enumeration.
std::string_view FlangeClassText(FlangeClass flange);

// Outside diameter in m by nominal size; 0 for invalid, other and out-of-range sizes.
double OutsideDiameter(NominalPipeSize size);
// Wall thickness in m. Carbon steels read ASME B36.10M, stainless steels ASME B36.19M; found is
// true only for a wall the standard lists for that exact size and schedule. Materials without a
// table, and invalid sizes or schedules, give found = false with a wall of 0.
//
// Carbon steel without an entry: Sch5 reads Sch10, Sch20 reads Sch40, Sch60 reads Sch80, and
// Sch100/120/140/160/XXS take the XS wall times a fixed factor. When that column has no entry
// either (or the schedule has no fall-back column), the wall of the nearest listed smaller size
// in that column is used, else the nearest listed larger size.
// Stainless: Sch5/10/40/80 read 5S/10S/40S/80S; Sch20 reads 10S, Sch30 and STD 40S, Sch60 80S
// (found = false); an empty entry takes the column constant; other schedules have no wall.
double WallThickness(DP0::Material material, PipeSchedule schedule, NominalPipeSize size, bool& found);
// OD - 2 wall, with the found flag of WallThickness.
double InsideDiameter(DP0::Material material, PipeSchedule schedule, NominalPipeSize size, bool& found);

// Dimension-check warnings (bits 1..14 carry texts).
using DimWarnings = std::uint16_t;
enum DimWarning : int {
  kDimNotMiller = 1,
  kDimDpOutside = 2,
  kDimMaterial = 3,
  kDimNotInTables = 4,
  kDimScheduleAga = 5,
  kDimConvergence = 6,
  kDimNotB3610 = 7,
  kDimNotB3619 = 8,
  kDimNotAgaTable = 9,
  kDimNotPtcSize = 10,
  kDimPtcDp = 11,
  kDimPtcMaterial = 12,
  kDimMfc14Size = 13,
  kDimMinPipe = 14,
};
constexpr DimWarnings DimBit(int bit) { return static_cast<DimWarnings>(1u << bit); }
// The texts of the set bits in bit order, concatenated.
std::string DimWarningText(DimWarnings warnings);

// Plate-thickness and deflection rules: the reference texts of their sources.
namespace PlateRefs {
inline constexpr std::string_view kAga3 = "AGA-3, Part 2 (2000)";
inline constexpr std::string_view kAga3Thickness = "para 2.4.5 and table 2-3";
inline constexpr std::string_view kAga3Deflection = "para 2.4.4 and fig 2-2b";
inline constexpr std::string_view kIsoTr9464 = "ISO/TR 9464";
inline constexpr std::string_view kIsoTr9464Table = "para 5.2.5.1.2.3 & Table 3";
inline constexpr std::string_view kIsoTr9464Eqn = "para 5.2.5.1.2.3 & eqn [6]";
inline constexpr std::string_view kIso5167 = "ISO 5167(2003) para 5.1.5, 5.1.2.3";
inline constexpr std::string_view kIsoTr15377 = "ISO/TR 15377:2007(E)";
inline constexpr std::string_view kIsoTr15377Quad3 = "para 6.1.3.4.3";
inline constexpr std::string_view kIsoTr15377Quad6 = "para 6.1.3.6.2";
inline constexpr std::string_view kIsoTr15377Cone2 = "para 6.2.3.4.2";
inline constexpr std::string_view kIsoTr15377Cone1 = "para 6.2.3.4.1";
inline constexpr std::string_view kIsoTr15377Ecc3 = "para 6.3.3.4.3";
inline constexpr std::string_view kIsoTr15377Ecc1 = "para 6.3.3.4.1";
inline constexpr std::string_view kMillerTable = "Table 10.1";
inline constexpr std::string_view kMillerPage = "page 10.4";
inline constexpr std::string_view kMillerEqn = "page 10.4, eqn [10.1]";
inline constexpr std::string_view kMfc14 = "ASME MFC-14M-2003";
inline constexpr std::string_view kMfc14Thickness = "para 6.3.6";
inline constexpr std::string_view kMfc14Deflection = "para 6.3.8";
inline constexpr std::string_view kPtc195 = "ASME PTC-19.5-2004";
inline constexpr std::string_view kPtc195Table = "para 4-5.1 and table 4-5.1";
inline constexpr std::string_view kPtc195Deflection = "para 4-5.4";
inline constexpr std::string_view kMfc3 = "ASME MFC-3M-2004 para 2-4.1.4";
inline constexpr std::string_view kIsoTr9464Title = "ISO/TR 9464 \"Guidelines for the use of ISO 5167\"";
inline constexpr std::string_view kIsoTr9464TitleEqn = "para 5.2.5.1.2.3, eqn [6]";
inline constexpr std::string_view kQuadDeflectionError = "DP2.PlateDimensionsISOquad() plate deflection";
inline constexpr std::string_view kEccDeflectionError = "DP2.PlateDimensionsISOecc() plate deflection";
}  // namespace PlateRefs

// Cone-meter size designations and variable-area sizing: their fixed texts.
inline constexpr std::string_view kConeSizeFormat = "%s in %s mm";
inline constexpr std::string_view kConeSizeError = "DP2.GetNextConeSizeStr() ConeType not implemented";
inline constexpr std::string_view kConeCodeError = "DP2.GetSAPcode() ConeType not implemented";
inline constexpr std::string_view kVaDpAboveMax = "| dP input above maximum";
inline constexpr std::string_view kVaIllegalSize = "| illegal ILVA meter size";

// Annubar probe codes 0..11 (9, 10 and 11 are the three sizes of the type 485 range).
using AnnubarType = std::uint8_t;
inline constexpr int kAnnubarTypeCount = 12;
// Settings-page entry ("Annubar Type 10" ..); empty outside 0..11.
std::string_view AnnubarName(AnnubarType code);
// Probe width in m; false (and width 0) outside 0..11.
bool AnnubarProbeWidth(AnnubarType code, double& width);
// Flow-coefficient constants C1, C2; codes outside 0..11 give those of code 0.
void AnnubarCoefficients(AnnubarType code, double& c1, double& c2);
// For Pit_AnnM and Pit_AnnR: stores the code, the probe width as d and C1, C2 as the first and
// second coefficients. Any other meter type, or a code without a width, leaves d as it is
// (the coefficients still follow the code for Annubar types).
void SetAnnubarType(DP0::DPMeter& meter, AnnubarType code);

}  // namespace qmx::DP2
