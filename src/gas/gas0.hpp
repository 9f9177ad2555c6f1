// Natural-gas mixtures: the mix record and its handle, the enumerations of methods, data
// sources, reference sets, components and property tags with their name lists, the omens, and
// the record's life (validity mark, base conditions, reference sets, normalisation).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gas/aga8.hpp"
#include "gas/components.hpp"
#include "gas/sgerg.hpp"
#include "numerics/error.hpp"

namespace qmx::GAS0 {

inline constexpr const char* kModule = "GAS0";

inline constexpr std::uint32_t kMark = 0x1234;  // validity mark of a live mix
inline constexpr char kRevision = '3';
inline constexpr std::size_t kNameLength = 31;   // longest mix name kept
inline constexpr int kComponents = 29;
inline constexpr double kR = 8314.51;            // J/(kmol K)

// Normal conditions and the US base conditions (60 F, 14.73 psia).
inline constexpr double kTnormal = 273.15;
inline constexpr double kPnormal = 101325.0;
inline constexpr double kT60F = 288.7055555555556;
inline constexpr double kP1473 = 101559.77492836994;
inline constexpr double kP14696 = 101325.35318040224;

// ---------------------------------------------------------------------------------------------
// Z (compressibility) methods.
enum ZMethod : std::uint8_t {
  IdealGasLaw = 0,
  SKatz = 1,
  PengR = 2,
  RKwong = 3,
  SgergGCN = 4,
  SgergHCN = 5,
  SgergGHC = 6,
  SgergGHN = 7,
  AGA8detailed = 8,
  AGA8primary = 9,
  AGA8turbo = 10,
  GergDetailed = 11,
  NX19m = 12,
};
inline constexpr int kZMethodCount = 13;
inline constexpr std::string_view kZMethodNames =
    "IdealGasLaw,SKatz,PengR,RKwong,SgergGCN,SgergHCN,SgergGHC,SgergGHN,AGA8detailed,AGA8primary,"
    "AGA8turbo,GergDetailed,NX19m,";
inline constexpr std::array<std::string_view, kZMethodCount> kZMethodShort = {
    "ideal gas law", "Standing-Katz", "Peng-Robinson", "Redlich-Kwong", "Sgerg GCN",
    "Sgerg HCN",     "Sgerg GHC",     "Sgerg GHN",     "AGA-8(92)",     "AGA-8(85)",
    "AGA-8 turbo",   "GERG-2008",     "NX-19 modified"};
inline constexpr std::array<std::string_view, kZMethodCount> kZMethodLong = {
    "Ideal gas law",     "Standing-Katz",     "Peng-Robinson",     "Redlich-Kwong",
    "Standard GERG GCN", "Standard GERG HCN", "Standard GERG GHC", "Standard GERG GHN",
    "AGA-8(94) detailed", "AGA-8(85) primary", "AGA-8(85) turbo",  "GERG-2008",
    "NX-19 modified"};

// Method sets as bit masks over the method codes.
inline constexpr std::uint16_t kSgergSet = 240;         // {4, 5, 6, 7}
inline constexpr std::uint16_t kCompositionSet = 3854;  // {1, 2, 3, 8, 9, 10, 11}
inline constexpr bool InSet(std::uint16_t set, int code) {
  return code >= 0 && code < 16 && ((set >> code) & 1u) != 0;
}
inline constexpr bool IsSgergMethod(int code) { return InSet(kSgergSet, code); }
inline constexpr bool IsCompositionMethod(int code) { return InSet(kCompositionSet, code); }

// ---------------------------------------------------------------------------------------------
// Heating-value methods.
enum HMethod : std::uint8_t {
  AGA8C4method = 0,
  AGA5method = 1,
  AGA509method = 2,
  GrossHmethod = 3,
};
inline constexpr int kHMethodCount = 4;
inline constexpr std::string_view kHMethodNames = "AGA8C4method,AGA5method,AGA509method,GrossHmethod,";
inline constexpr std::array<std::string_view, kHMethodCount> kHMethodTitles = {
    "GPA-2172 & AGA-8 appendix C.4 (temperature-corrected)",
    "AGA-5 & AGA-3 part 3 eqn 3-F-7 (no temp correction)",
    "AGA-5 (2009) (temperature-corrected)",
    "Hv estimated from GCN compressibility data"};
inline constexpr std::array<std::string_view, kHMethodCount> kHMethodReport = {
    "AGA-8 appendix C4", "AGA-5 (old)", "AGA-5 (2009)", "Hmethod error"};
// Title of an H method code; any code outside 0..3 titles as method 1.
std::string_view HMethodTitle(int code);

// ---------------------------------------------------------------------------------------------
// Gas data sources.
// The codes are those of the component tables.
using DataSource = GAS1::GasDataSource;
using enum GAS1::GasDataSource;
inline constexpr int kDataSourceCount = 9;
inline constexpr std::string_view kDataSourceNames =
    "GPAcurrentUS,GPAcurrentSI,AGAcurrent,GPA_2003US,GPA_2003SI,GPA_1992,ISO_6976,ISO6976n,"
    "GasDataTest,";
inline constexpr std::size_t kDataSourceTitleLength = 45;
// The 45-character title of a source code; an unknown code gives a blank title.
std::string DataSourceTitle(int code);

// ---------------------------------------------------------------------------------------------
// Reference temperature / pressure sets: tH, tD, tG (K), pD, pG (Pa).
enum RefTPset : std::uint8_t {
  USrefTP = 0,
  GPArefTP = 1,
  CArefTP = 2,
  FRrefTP = 3,
  UKrefTP = 4,
  RUrefTP = 5,
  BRrefTP = 6,
  EUrefTP = 7,
  SPLrefTP = 8,
};
inline constexpr int kRefTPsetCount = 9;
inline constexpr std::string_view kRefTPsetNames =
    "USrefTP,GPArefTP,CArefTP,FRrefTP,UKrefTP,RUrefTP,BRrefTP,EUrefTP,SPLrefTP,";
inline constexpr std::array<std::array<double, 5>, kRefTPsetCount> kRefTP = {{
    {kT60F, kT60F, kT60F, kP1473, kP1473},
    {kT60F, kT60F, kT60F, kP14696, kP14696},
    {288.15, 288.15, 288.15, 101325.0, 101325.0},
    {273.15, 273.15, 273.15, 101325.0, 101325.0},
    {288.15, 288.15, 288.15, 101325.0, 101325.0},
    {298.15, 293.15, 293.15, 101325.0, 101325.0},
    {293.15, 293.15, 293.15, 101325.0, 101325.0},
    {298.15, 273.15, 273.15, 101325.0, 101325.0},
    {288.15, 288.15, 288.15, 101325.0, 101325.0},
}};

// ---------------------------------------------------------------------------------------------
// Components of the slate; the first 21 are in AGA-8 order.
enum Component : std::uint8_t {
  C1 = 0, N2, CO2, C2, C3, H2O, H2S, H2, CO, O2, iC4, nC4, iC5, nC5, nC6, nC7, nC8, nC9, nC10,
  He, Ar, neoC5, iC6, m3C5, neoC6, biIsP, C2H4, C3H6, CH3OH,
};
inline constexpr std::string_view kComponentSymbols =
    "C1,N2,CO2,C2,C3,H2O,H2S,H2,CO,O2,iC4,nC4,iC5,nC5,nC6,nC7,nC8,nC9,nC10,He,Ar,neoC5,iC6,m3C5,"
    "neoC6,biIsP,C2H4,C3H6,CH3OH,";
inline constexpr std::string_view kComponentFileNames =
    "Methane,Nitrogen,Carbon dioxide,Ethane,Propane,Water vapour,Hydrogen sulfide,Hydrogen,"
    "Carbon monoxide,Oxygen,Isobutane,Normal butane,Isopentane,Normal pentane,Hexane,Heptane,"
    "Octane,Nonane,Decane,Helium,Argon,Neopentane,Isohexane,3-methylpentane,Neohexane,"
    "Biisopropyl,Ethylene,Propylene,Methanol,";
// AGA-8 position (0..20) a component is folded into: 0..20 map to themselves, neopentane to
// n-pentane, the hexane isomers to n-hexane, ethylene and methanol to ethane, propylene to
// propane.
inline constexpr std::array<std::uint8_t, kComponents> kAga8Fold = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
    15, 16, 17, 18, 19, 20, nC5, nC6, nC6, nC6, nC6, C2, C3, C2};
// GERG-2008 position (0..20) of each component with the same lumping (order: methane, nitrogen,
// carbon dioxide, ethane, propane, n-butane, isobutane, n-pentane, isopentane, hexane, heptane,
// octane, nonane, decane, hydrogen, oxygen, carbon monoxide, water, hydrogen sulfide, helium,
// argon).
inline constexpr std::array<std::uint8_t, kComponents> kGergFold = {
    0, 1, 2, 3, 4, 17, 18, 14, 16, 15, 6, 5, 8, 7, 9, 10, 11, 12, 13, 19, 20,
    7, 9, 9, 9, 9, 3, 4, 3};

// ---------------------------------------------------------------------------------------------
// Property tags (code = position).
enum Tag : std::uint8_t {
  HN25 = 0, Pc, Tc, cW, Mu, Mr, HC, kP, Tk, TUjt, TW, TH, TS, TCp0, TCf, TCv, TCp, Tt, Pp, RHO,
  Mut, mD, kI, Z, THc, HN, Hm, Hv, Pvw, Hvn, WI, Mon1, Mon2, Meth1, Meth2, vH2O, dH2O, tH, tD, tG,
  pD, pG, ch, co2, n2, co, h2, gr, mrg, hng, hs,
};
inline constexpr int kTagCount = 51;
inline constexpr std::string_view kTagNames =
    "HN25,Pc,Tc,cW,Mu,Mr,HC,kP,Tk,TUjt,TW,TH,TS,TCp0,TCf,TCv,TCp,Tt,Pp,RHO,Mut,mD,kI,Z,THc,HN,Hm,"
    "Hv,Pvw,Hvn,WI,Mon1,Mon2,Meth1,Meth2,vH2O,dH2O,tH,tD,tG,pD,pG,ch,co2,n2,co,h2,gr,mrg,hng,hs,";
inline constexpr std::string_view kTagMksUnits =
    "j/kmole,pa,K,,pa*s,kmole/kg,,,,K/pa,m/s,j/kg,j/kg*K,j/kg*K,,j/kg*K,j/kg*K,K,pa,kg/m3,pa*s,"
    "kmole/m3,,,K,j/kmole,j/kg,j/m3,pa,j/m3,,,,,,j,j,K,K,K,pa,pa,,,,,,,kmole/kg,j/kmole,j/m3,";
inline constexpr std::string_view kTagUsUnits =
    "btu/lbmole,psi,F,,cp,lbmole/lbm,,,,F/psi,ft/sec,btu/lbm,btu/lbm*F,btu/lbm*F,,btu/lbm*F,"
    "btu/lbm*F,F,psi,lbm/ft3,cp,lbmole/ft3,,,F,btu/lbmole,btu/lbm,btu/ft3,psi,btu/ft3,,,,,,btu,"
    "btu,F,F,F,psi,psi,,,,,,,lbmole/lbm,btu/lbmole,btu/ft3,";

// Field `index` (0-based) of a comma-terminated name list; empty when out of range.
std::string_view ListItem(std::string_view list, int index);
// Position of `name` in a comma-terminated list (exact match), or `fallback` when missing.
int ListIndex(std::string_view list, std::string_view name, int fallback);

std::string_view TagName(int tag);      // "" outside 0..50
std::string_view TagMksUnit(int tag);
std::string_view TagUsUnit(int tag);
// Converts an SI (MKS) value of a tag to its US unit: temperatures K to F, every other tag by
// the factor of its unit pair. A tag outside 0..50 returns the value unchanged.
double ToUS(int tag, double mks);
// The inverse of ToUS.
double FromUS(int tag, double us);

// ---------------------------------------------------------------------------------------------
// Property sections: the tags each holds, the file keyword and the name prefix.
enum Section : std::uint8_t { IDEAL = 0, AIR, BASE, NORMAL, FLOWING, SREF, HEAT, GROSS, THERMO };
inline constexpr int kSectionCount = 9;
struct SectionInfo {
  std::string_view keyword;
  std::string_view prefix;
  int first, last;  // tag range, inclusive
};
inline constexpr std::array<SectionInfo, kSectionCount> kSections = {{
    {"IDEAL", "I", 0, 7},
    {"AIR", "Air", 17, 23},
    {"BASE", "B", 17, 23},
    {"NORMAL", "N", 17, 23},
    {"FLOWING", "F", 17, 23},
    {"SREF", "Sref", 37, 41},
    {"HEAT", "H", 17, 36},
    {"GROSS", "G", 42, 50},
    {"THERMO", "Th", 8, 18},
}};

// ---------------------------------------------------------------------------------------------
// Omens: the 16-bit warning set of the last update, one text per bit.
using Omens = std::uint16_t;
inline constexpr std::array<std::string_view, 16> kOmenTexts = {
    "pressure out of range,",
    "temperature out of range,",
    "relative density out of range,",
    "heating value out of range,",
    "mole fractions do not sum correctly,",
    "xN2 out of range,",
    "xCO2 out of range,",
    "xH2 out of range,",
    "xCO out of range,",
    "rel dens conflicts with composition,",
    "failed to bracket root,",
    "root finder failed to converge,",
    "invalid virial coefficient B,",
    "invalid virial coefficient C,",
    "hit iteration limit (base properties),",
    "internal error that can never occur,"};
inline constexpr Omens kOmenPressure = 1u << 0;
inline constexpr Omens kOmenTemperature = 1u << 1;
inline constexpr Omens kOmenNoBracket = 1u << 10;
inline constexpr Omens kOmenNoConverge = 1u << 11;
// Omens word returned by a getter asked for a tag outside its section.
inline constexpr Omens kOmenBadTag = 2046;
inline constexpr std::size_t kOmensTextLimit = 600;

// Known-set bit of a tag.
inline constexpr std::uint64_t KnownBit(int tag) { return std::uint64_t{1} << tag; }

// ---------------------------------------------------------------------------------------------
// Storage owned by the installed method: AGA-8 keeps its composition vector and caches, SGERG
// its pseudo-component heating value and virial coefficients, GERG-2008 reserves its values.
struct GergArea {
  std::array<double, 21> Xz{};
  std::array<bool, 21> NZz{};
  double gTau = 0, gDelta = 0, gW = 0, pPc = 0, pDc = 0, pTc = 0;
};
struct MethodArea {
  AGA892::Cache aga8;    // Xz, NZz and the coefficient cache
  SGERG::Cache sgerg;    // HNch, virB, virC
  GergArea gerg;
};

// The mix record. Sections hold one value per tag of their range, in tag order.
struct MixRecord {
  std::uint32_t mark = 0;
  char revision = 0;
  std::string name;                       // at most kNameLength characters
  std::array<double, kComponents> S{};    // raw slate as entered
  std::array<double, kComponents> X{};    // normalised mole fractions
  std::array<bool, kComponents> present{};
  bool baseDirty = false;
  bool flowDirty = false;
  bool wetBasis = false;
  bool zRounding = false;
  bool htcOverride = false;
  std::uint64_t known = 0;                // gross and ideal inputs the update keeps
  std::uint8_t dataSource = GPAcurrentUS;
  std::uint8_t hMethod = AGA5method;
  std::array<double, 8> ideal{};
  std::array<double, 7> air{};
  std::array<double, 7> base{};
  std::array<double, 7> normal{};
  std::array<double, 7> flowing{};
  std::uint8_t refSet = USrefTP;
  std::array<double, 5> sref{};
  std::array<double, 20> heat{};
  std::array<double, 9> gross{};
  bool thermoEnable = false;
  std::array<double, 11> thermo{};
  Omens omens = 0;                        // flags of the last update
  Omens flowOmens = 0;                    // flags of the last flowing state
  std::uint8_t zMethod = IdealGasLaw;
  MethodArea area;
};

// The handle of one mix. A killed (or never created) handle is empty; every operation refuses it.
using GMix = std::unique_ptr<MixRecord>;

// Value of a tag in a section array (tag must lie in the section's range).
template <std::size_t N>
inline double& At(std::array<double, N>& section, int firstTag, int tag) {
  return section[static_cast<std::size_t>(tag - firstTag)];
}

// Unit-set codes of the base conditions of a new mix: 1: 101325 Pa, 288.15 K; 2: 101325 Pa,
// 293.15 K; 3: 101325 Pa, 273.15 K; any other: 14.73 psia, 60 F.
struct BaseTP {
  double P, T;
};
BaseTP BaseForUnitSet(int unitSet);

// Base and flowing state accessors.
inline double BaseT(const MixRecord& m) { return m.base[Tt - 17]; }
inline double BaseP(const MixRecord& m) { return m.base[Pp - 17]; }

// ---------------------------------------------------------------------------------------------
// Life of the record.

// True when the handle holds a live mix.
inline bool IsMix(const GMix& mix) { return mix != nullptr && mix->mark == kMark; }
// The live record behind a handle; raises `message` (module GAS0 unless given) when the handle
// is empty or the mark is gone. Inline: every getter and setter of a mix passes through it.
inline MixRecord& Checked(const GMix& mix, std::string_view message, std::string_view module = kModule) {
  if (!IsMix(mix)) [[unlikely]] Raise(module, message, 1);
  return *mix;
}
// Clears the record (the mark is gone) and frees it; the handle becomes empty. Raises
// "GAS0.KillMix0() invalid mix" for an empty handle.
void KillMix0(GMix& mix);

// Copies reference set `code` into SREF ("GAS0.SetRefTP0() invalid mix"); a code outside 0..8
// loads set 8.
void SetRefTP0(const GMix& mix, int code);
// Base temperature (and THc unless the HTc override is on).
void SetTbase0(const GMix& mix, double T);
void SetPbase0(const GMix& mix, double P);
// Base and flowing P and T, and THc unless the override is on.
void SetBase0(const GMix& mix, double P, double T);
// Normalises the raw slate by absolute values into X and present; marks the base dirty. Raises
// "GAS0.Normalize0()" for an invalid mix.
void Normalize0(const GMix& mix);
// The same on a record already checked.
void NormalizeSlate(MixRecord& m);
// Normalisation on a wet basis: water takes the fraction xw = Pvw / P (0 when P is not
// positive, at most 1) and the other present components share 1 - xw in proportion to their
// raw values, so the fractions sum to one.
void NormalizeWet0(const GMix& mix, double Pvw, double P);
void NormalizeWetSlate(MixRecord& m, double Pvw, double P);

}  // namespace qmx::GAS0
