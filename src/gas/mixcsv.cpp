// The gas mixture block file (writer and reader) and the gas properties sheet.
#include "gas/mixcsv.hpp"

#include <array>
#include <cmath>
#include <istream>
#include <ostream>
#include <string>

#include "gas/gas1.hpp"
#include "numerics/error.hpp"
#include "units/blocktext.hpp"
#include "units/fe.hpp"

namespace qmx::GAS1 {

using GAS0::GMix;
using GAS0::MixRecord;

namespace {

constexpr std::string_view kSep = ",";
constexpr std::string_view kLineEnds = " \t\r\n";
// The Z method list with the older name of the GERG-2008 method in its place.
constexpr std::string_view kZMethodNamesOld =
    "IdealGasLaw,SKatz,PengR,RKwong,SgergGCN,SgergHCN,SgergGHC,SgergGHN,AGA8detailed,AGA8primary,"
    "AGA8turbo,Gerg04detailed,NX19m,";
constexpr std::string_view kGergSpecies =
    "xC1,xN2,xCO2,xC2,xC3,xnC4,xiC4,xnC5,xiC5,xC6,xC7,xC8,xC9,xC10,xH2,xO2,xCO,xH2O,xH2S,xHe,xAr,";

// ---------------------------------------------------------------------------------------------
// Writer helpers.

std::string Item(std::string_view list, int index) { return std::string(GAS0::ListItem(list, index)); }

// Values of a section in tag order, with the first tag of its range.
const double* SectionData(const MixRecord& m, int section) {
  switch (section) {
    case GAS0::IDEAL: return m.ideal.data();
    case GAS0::AIR: return m.air.data();
    case GAS0::BASE: return m.base.data();
    case GAS0::NORMAL: return m.normal.data();
    case GAS0::FLOWING: return m.flowing.data();
    case GAS0::SREF: return m.sref.data();
    case GAS0::HEAT: return m.heat.data();
    case GAS0::GROSS: return m.gross.data();
    default: return m.thermo.data();
  }
}

void WriteSection(const MixRecord& m, int section, std::ostream& file) {
  const GAS0::SectionInfo& s = GAS0::kSections[static_cast<std::size_t>(section)];
  const double* values = SectionData(m, section);
  FE::FmtToFile(file, "%s\\n", s.keyword);
  for (int tag = s.first; tag <= s.last; ++tag) {
    const double v = values[tag - s.first];
    const std::string label = FE::FmtToString("%s[%s]", s.prefix, GAS0::TagName(tag));
    FE::FmtToFile(file, ",%s,%r,%s,", label, v, GAS0::TagMksUnit(tag));
    FE::FmtToFile(file, "%r,%s\\n", GAS0::ToUS(tag, v), GAS0::TagUsUnit(tag));
  }
}

void WriteInternal(const MixRecord& m, std::ostream& file) {
  FE::FmtToFile(file, "EOS_INTERNAL\\n");
  switch (m.zMethod) {
    case GAS0::IdealGasLaw: FE::FmtToFile(file, ",IdealGasLaw no persistant storage\\n"); break;
    case GAS0::SKatz: FE::FmtToFile(file, ",Standing-Katz no persistant storage\\n"); break;
    case GAS0::PengR: FE::FmtToFile(file, ",Peng-Robinson no persistant storage\\n"); break;
    case GAS0::RKwong: FE::FmtToFile(file, ",Redlich-Kwong no persistant storage\\n"); break;
    case GAS0::SgergGCN:
    case GAS0::SgergHCN:
    case GAS0::SgergGHC:
    case GAS0::SgergGHN: {
      const auto& c = m.area.sgerg;
      FE::FmtToFile(file, ",HNch,%r\\n,virB,%r\\n,virC,%r\\n", c.HNch, c.virB, c.virC);
      break;
    }
    case GAS0::AGA8detailed: {
      const auto& c = m.area.aga8;
      FE::FmtToFile(file, ",Told,%r\\n,K3,%r\\n,vB,%r\\n", c.Told, c.K3, c.vB);
      for (unsigned n = 1; n <= 18; ++n) FE::FmtToFile(file, ",Bstar[%u],%r\\n", n, c.Bstar[n]);
      for (unsigned n = 13; n <= 58; ++n) {
        FE::FmtToFile(file, ",Cstar[%u],%r,CT[%u],%r\\n", n, c.Cstar[n], n, c.CT[n]);
      }
      break;
    }
    case GAS0::AGA8primary: FE::FmtToFile(file, ",AGA8primary no persistant storage\\n"); break;
    case GAS0::AGA8turbo: FE::FmtToFile(file, ",AGA8turbo no persistant storage\\n"); break;
    case GAS0::GergDetailed: {
      const auto& g = m.area.gerg;
      FE::FmtToFile(file, ",gTau,%r\\n,gDelta,%r\\n,gW,%r\\n", g.gTau, g.gDelta, g.gW);
      FE::FmtToFile(file, ",pPc,%r,_pa?_\\n,pDc,%r,_kmole/m3?_\\n,pTc,%r,K\\n", g.pPc, g.pDc, g.pTc);
      break;
    }
    default: FE::FmtToFile(file, ",NX-19 no persistant storage\\n"); break;
  }
}

// The mix name as one field: separators and line ends would split the line.
std::string NameField(std::string name) {
  name = name.substr(0, name.find('\0'));
  for (char& c : name) {
    if (c == ',' || c == '\r' || c == '\n') c = ' ';
  }
  return name;
}

// Brings the sections up to date before they are written.
void Refresh(const GMix& mix) {
  MixRecord& m = *mix;
  if (m.baseDirty) MixUpdate(mix);
  const double T = m.flowing[GAS0::Tt - GAS0::Tt];
  const double P = m.flowing[GAS0::Pp - GAS0::Tt];
  if (m.flowDirty && T > 0.0 && P > 0.0) MixGetFlowing(mix, GAS0::Z, P, T);
}

// ---------------------------------------------------------------------------------------------
// Reader helpers.

[[noreturn]] void Missing(std::string_view keyword) {
  Raise(kModule, FE::FmtToString("GAS1.ReadMixCSV.ScanFor() file error -- missing %s", keyword), 63);
}

// Moves past the line whose first field is `keyword`; raises when the file has none.
void ScanFor(std::string_view keyword, BR::BlockReader& r, std::istream& file) {
  if (BR::ScanForXblock(keyword, r, file)) return;
  // The scan stops at the end of the file with the last line read but not yet compared: the
  // end marker of the last block of a file is that line.
  std::string field;
  bool last = false;
  FE::GetItem(last, 0, kSep, r.line, field);
  if (field != keyword) Missing(keyword);
  r.line.clear();
  r.endOfBlock = true;
}

// Position of a settings name in a comma-terminated list after blanks, tabs and line ends are
// removed (exact match); -1 when none matches.
int MatchName(std::string field, std::string_view list) {
  FE::RemoveChars(kLineEnds, field);
  if (field.empty()) return -1;
  int index = -1;
  if (!FE::FindItem(index, kSep, field, list)) return -1;
  return index;
}

// Whether field n is the last field of the current line (reading it advances the line).
bool IsLastField(const BR::BlockReader& r, int n) {
  bool last = false;
  std::string field;
  FE::GetItem(last, n, kSep, r.line, field);
  return last;
}

// Reads field n of the current line and moves to the next line whichever field it was.
void RealThenNext(double& x, int n, BR::BlockReader& r, std::istream& file) {
  if (r.endOfBlock) return;
  const bool last = IsLastField(r, n);
  BR::ReadLRealField(x, n, r, file);
  if (!last && !r.endOfBlock) BR::NextLine(r, file);
}

void StringThenNext(std::string& s, int n, BR::BlockReader& r, std::istream& file) {
  if (r.endOfBlock) return;
  const bool last = IsLastField(r, n);
  BR::ReadStringField(s, n, r, file);
  if (!last && !r.endOfBlock) BR::NextLine(r, file);
}

// The Z method of the settings line, refused when unknown or not installed.
int CheckedZMethod(const std::string& name) {
  const int z = MatchZMethodName(name);
  if (z < 0) Raise(kModule, "GAS1.ReadMixCSV() invalid ZMethod", 61);
  if (!IsInstalled(z)) Raise(kModule, "GAS1.ReadMixCSV() method not installed", 62);
  return z;
}

// Gross inputs an SGERG variant needs (as a new mix of that method has them).
std::uint64_t SgergKnown(int code) {
  using namespace GAS0;
  std::uint64_t k = KnownBit(co) | KnownBit(h2);
  switch (code) {
    case SgergGCN: return k | KnownBit(gr) | KnownBit(co2) | KnownBit(n2);
    case SgergHCN: return k | KnownBit(hs) | KnownBit(co2) | KnownBit(n2);
    case SgergGHC: return k | KnownBit(gr) | KnownBit(hs) | KnownBit(co2);
    default: return k | KnownBit(gr) | KnownBit(hs) | KnownBit(n2);
  }
}

// ---------------------------------------------------------------------------------------------
// Sheet helpers.

enum class Kind { None, Percent, Pressure, Temperature, MolarHeat, Viscosity, MolarMass, Density,
                  MolarDensity, VolumeHeat, MassHeat };

struct KindInfo {
  std::string_view mks;    // unit of the MKS column
  int usTag;               // a tag whose US conversion the kind shares
  std::string_view us, metric;
  double metricFactor;     // MKS to metric display (temperatures are offset instead)
};

KindInfo Info(Kind k) {
  switch (k) {
    case Kind::Pressure: return {"pa", GAS0::Pp, "psi", "kpa", 1e-3};
    case Kind::Temperature: return {"K", GAS0::Tt, "F", "C", 1.0};
    case Kind::MolarHeat: return {"j/kmole", GAS0::HN, "btu/lbmole", "mj/kmole", 1e-6};
    case Kind::Viscosity: return {"pa*s", GAS0::Mu, "cp", "cp", 1e3};
    case Kind::MolarMass: return {"kmole/kg", GAS0::Mr, "lbmole/lbm", "kmole/kg", 1.0};
    case Kind::Density: return {"kg/m3", GAS0::RHO, "lbm/ft3", "kg/m3", 1.0};
    case Kind::MolarDensity: return {"kmole/m3", GAS0::mD, "lbmole/ft3", "kmole/m3", 1.0};
    case Kind::VolumeHeat: return {"j/m3", GAS0::Hv, "btu/ft3", "mj/m3", 1e-6};
    case Kind::MassHeat: return {"j/kg", GAS0::Hm, "btu/lbm", "mj/kg", 1e-6};
    case Kind::Percent: return {"", GAS0::cW, "%", "%", 100.0};
    default: return {"", GAS0::cW, "", "", 1.0};
  }
}

double Display(Kind k, bool us, double mks) {
  const KindInfo info = Info(k);
  if (k == Kind::Percent) return mks * 100.0;
  if (us) return GAS0::ToUS(info.usTag, mks);
  if (k == Kind::Temperature) return mks - 273.15;
  return mks * info.metricFactor;
}

// Display values are for reading: the significant-digit form with 8 digits.
std::string DisplayText(double v) {
  if (!std::isfinite(v)) return "Infinite";
  std::string text;
  FE::LONGREALtoStr(text, 8, v);
  return text;
}

struct SheetRow {
  std::string_view label, tag;
  Kind kind;
  double value;
};

// Report titles of the data sources, by source code.
constexpr std::array<std::string_view, GAS0::kDataSourceCount> kSourceReportTitles = {
    "GPA 2145 (US) current",    "GPA 2145 (SI) current",  "AGA-5 2009 current",
    "GPA 2145 (US) 2003 rev 1", "GPA 2145 (SI) 2003 rev 1", "GPA 2145 (US) 1993",
    "ISO-6976:1995(E) Hm*Mr",   "ISO-6976:1995(E) HN25",  "TESTING"};

constexpr std::string_view kSheetNames =
    "Methane,Nitrogen,Carbon dioxide,Ethane,Propane,Water vapour,Hydrogen sulphide,Hydrogen,"
    "Carbon monoxide,Oxygen,Iso butane,Normal butane,Iso pentane,Normal pentane,Hexane,Heptane,"
    "Octane,Nonane,Decane,Helium,Argon,Neopentane,Isohexane,3-methylpentane,Neohexane,Biisopropyl,"
    "Ethylene,Propylene,Methyl alcohol,";

}  // namespace

// ---------------------------------------------------------------------------------------------

int MatchZMethodName(std::string_view field) {
  const std::string f(field);
  const int z = MatchName(f, GAS0::kZMethodNames);
  return z >= 0 ? z : MatchName(f, kZMethodNamesOld);
}

bool WriteMixCSV(const GMix& mix, std::ostream& file) {
  if (!GAS0::IsMix(mix)) return false;
  Refresh(mix);
  const MixRecord& m = *mix;
  FE::FmtToFile(file, "\\n4\\nGMIX_START\\n");
  FE::FmtToFile(file, "Tbase,Pbase,Z method,H method,Gas data source,Z rounding,"
                      "Wet basis heating value,HTcOverride,ThermoEnable,SgergRtp\\n");
  FE::FmtToFile(file, "%r,%r,%s,%s,%s,", GAS0::BaseT(m), GAS0::BaseP(m),
                Item(GAS0::kZMethodNames, m.zMethod), Item(GAS0::kHMethodNames, m.hMethod),
                Item(GAS0::kDataSourceNames, m.dataSource));
  FE::FmtToFile(file, "%b,%b,%b,%b,%s\\n", m.zRounding, m.wetBasis, m.htcOverride, m.thermoEnable,
                Item(GAS0::kRefTPsetNames, m.refSet));
  FE::FmtToFile(file, "OVRRD\\n\\nSLATE,\\nName,%s\\n", NameField(m.name));
  FE::FmtToFile(file, "Gas,Symbol,S[],X[],Xz[],NZz[]\\n");
  for (int i = 0; i < GAS0::kComponents; ++i) {
    const auto c = static_cast<std::size_t>(i);
    FE::FmtToFile(file, "%s,%s,%r,%r,", Item(GAS0::kComponentFileNames, i),
                  Item(GAS0::kComponentSymbols, i), m.S[c], m.X[c]);
    if (m.zMethod == GAS0::AGA8detailed || m.zMethod == GAS0::GergDetailed) {
      if (i < 21) {
        const bool aga = m.zMethod == GAS0::AGA8detailed;
        const std::size_t k = aga ? c : GAS0::kGergFold[c];
        const double xz = aga ? m.area.aga8.Xz[k] : m.area.gerg.Xz[k];
        const bool nz = aga ? m.area.aga8.NZz[k] : m.area.gerg.NZz[k];
        FE::FmtToFile(file, "%r,%b,", xz, nz);
      } else {
        FE::FmtToFile(file, "0.0,NO");
      }
    }
    FE::FmtToFile(file, "\\n");
  }
  if (m.zMethod == GAS0::GergDetailed) {
    FE::FmtToFile(file, "Gerg08 Species gX[]\\n");
    for (int k = 0; k < 21; ++k) {
      const auto c = static_cast<std::size_t>(k);
      FE::FmtToFile(file, ",%s,%r,%b\\n", Item(kGergSpecies, k), m.area.gerg.Xz[c], m.area.gerg.NZz[c]);
    }
  }
  for (const int section : {GAS0::GROSS, GAS0::IDEAL, GAS0::AIR, GAS0::BASE, GAS0::NORMAL,
                            GAS0::FLOWING, GAS0::SREF, GAS0::HEAT, GAS0::THERMO}) {
    WriteSection(m, section, file);
  }
  WriteInternal(m, file);
  const FE::BitSet omens{static_cast<std::uint64_t>(m.omens | m.flowOmens), 2};
  FE::FmtToFile(file, ",Omens,%n\\nGMIX_END\\n", omens);
  return !file.fail();
}

int ReadMixCSVZMethod(std::istream& file) {
  auto r = BR::BRcreate(',');
  ScanFor("GMIX_START", *r, file);
  BR::NextLine(*r, file);  // the header line
  std::string name;
  bool last = false;
  if (!r->endOfBlock) FE::GetItem(last, 2, kSep, r->line, name);
  return CheckedZMethod(name);
}

void ReadMixCSV(GMix& mix, std::istream& file) {
  if (!GAS0::IsMix(mix)) Raise(kModule, "GAS1.ReadMixCSV() invalid mix", 60);
  // Everything is read into a copy, taken over once the block is complete and recomputed.
  GMix copy = std::make_unique<MixRecord>(*mix);
  MixRecord& m = *copy;
  auto reader = BR::BRcreate(',');
  BR::BlockReader& r = *reader;

  ScanFor("GMIX_START", r, file);
  BR::NextLine(r, file);  // the header line
  double Tb = GAS0::BaseT(m);
  double Pb = GAS0::BaseP(m);
  std::string zName, hName, sourceName, refName;
  bool zRounding = m.zRounding, wetBasis = m.wetBasis, htcOverride = m.htcOverride;
  bool thermoEnable = m.thermoEnable;
  BR::ReadLRealField(Tb, 0, r, file);
  BR::ReadLRealField(Pb, 1, r, file);
  BR::ReadStringField(zName, 2, r, file);
  BR::ReadStringField(hName, 3, r, file);
  BR::ReadStringField(sourceName, 4, r, file);
  BR::ReadBoolField(zRounding, 5, r, file);
  BR::ReadBoolField(wetBasis, 6, r, file);
  BR::ReadBoolField(htcOverride, 7, r, file);
  BR::ReadBoolField(thermoEnable, 8, r, file);
  StringThenNext(refName, 9, r, file);

  const int z = CheckedZMethod(zName);
  m.zMethod = static_cast<std::uint8_t>(z);
  if (GAS0::IsSgergMethod(z)) m.known |= SgergKnown(z);
  const int h = MatchName(hName, GAS0::kHMethodNames);
  if (h >= 0) MixSetHMethod(copy, h);
  const int source = MatchName(sourceName, GAS0::kDataSourceNames);
  if (source >= 0) MixSetDataSource(copy, source);
  const int ref = MatchName(refName, GAS0::kRefTPsetNames);
  if (ref >= 0) MixSetRefTPset(copy, ref);
  MixSetZrounding(copy, zRounding);
  MixSetWetBasis(copy, wetBasis);
  if (htcOverride) {
    MixSetHTcOverride(copy, MixGetHTc(copy));  // the file does not carry the value itself
  } else {
    m.htcOverride = false;
  }
  m.thermoEnable = thermoEnable;
  MixSetTbase(copy, Tb);
  MixSetPbase(copy, Pb);

  ScanFor("OVRRD", r, file);
  ScanFor("SLATE", r, file);
  std::string name = m.name;
  StringThenNext(name, 1, r, file);
  MixSetName(copy, name);
  if (!r.endOfBlock) BR::NextLine(r, file);  // the header line
  Slate S = m.S;
  for (double& s : S) RealThenNext(s, 2, r, file);
  MixSetSlate(copy, S);
  GAS0::Normalize0(copy);

  ScanFor("GROSS", r, file);
  for (double& g : m.gross) RealThenNext(g, 2, r, file);
  ScanFor("FLOWING", r, file);
  double Tf = m.flowing[GAS0::Tt - GAS0::Tt];
  double Pf = m.flowing[GAS0::Pp - GAS0::Tt];
  RealThenNext(Tf, 2, r, file);
  RealThenNext(Pf, 2, r, file);
  ScanFor("SREF", r, file);
  for (double& s : m.sref) RealThenNext(s, 2, r, file);
  if (htcOverride) {
    // An overridden heating-value temperature is kept only in the HEAT section: without it the
    // heating values read back would belong to another temperature.
    ScanFor("HEAT", r, file);
    std::array<double, 20> heat{};
    heat[GAS0::THc - GAS0::Tt] = MixGetHTc(copy);
    for (double& h : heat) RealThenNext(h, 2, r, file);
    MixSetHTcOverride(copy, heat[GAS0::THc - GAS0::Tt]);
  }
  ScanFor("GMIX_END", r, file);

  m.baseDirty = true;
  m.flowDirty = true;
  MixUpdate(copy);
  MixGetFlowing(copy, GAS0::Z, Pf, Tf);
  *mix = std::move(m);
}

bool GasPropertiesCSV(const GMix& mix, bool us, std::string_view analysisId, std::ostream& file) {
  if (!GAS0::IsMix(mix)) return false;
  Refresh(mix);
  const MixRecord& m = *mix;
  const std::string_view source =
      static_cast<std::size_t>(m.dataSource) < kSourceReportTitles.size() ? kSourceReportTitles[m.dataSource] : "";
  const std::string_view zTitle =
      m.zMethod < GAS0::kZMethodCount ? GAS0::kZMethodLong[m.zMethod] : "";
  const std::string_view hTitle =
      m.hMethod < GAS0::kHMethodCount ? GAS0::kHMethodReport[m.hMethod] : "Hmethod error";
  FE::FmtToFile(file, "Gas data source,Z factor,Hm calculation,Z rounding,---,"
                      "Wet basis heating value,Analysis ID\\n");
  FE::FmtToFile(file, "%s,%s,%s,", source, zTitle, hTitle);
  FE::FmtToFile(file, "%b,,%b,%s\\n \\n \\n \\n", m.zRounding, m.wetBasis, NameField(std::string(analysisId)));
  FE::FmtToFile(file, "Gas properties,Tag,MKS Value,MKS units,Value,Units\\n");
  for (int i = 0; i < GAS0::kComponents; ++i) {
    const double x = m.X[static_cast<std::size_t>(i)];
    FE::FmtToFile(file, i == GAS0::N2 ? "%s,%s, %r,frac,%s\\n" : "%s,%s,%r,frac,%s\\n",
                  Item(kSheetNames, i), Item(GAS0::kComponentSymbols, i), x, DisplayText(x));
  }
  FE::FmtToFile(file, "spare,spare,0.0,frac,0.0\\n");

  using K = Kind;
  auto st = [](const std::array<double, 7>& a, int tag) { return a[static_cast<std::size_t>(tag - GAS0::Tt)]; };
  auto gr = [&m](int tag) { return m.gross[static_cast<std::size_t>(tag - GAS0::ch)]; };
  auto ht = [&m](int tag) { return m.heat[static_cast<std::size_t>(tag - GAS0::Tt)]; };
  const std::array<SheetRow, 19> before = {{
      {"Ideal Molar heating value at 25C", "HN25", K::MolarHeat, m.ideal[GAS0::HN25]},
      {"Ideal Pseudocritical pressure", "Pc", K::Pressure, m.ideal[GAS0::Pc]},
      {"Ideal Pseudocritical temperature", "Tc", K::Temperature, m.ideal[GAS0::Tc]},
      {"Accentric Factor", "Cw", K::None, m.ideal[GAS0::cW]},
      {"Ideal Viscosity", "Mu", K::Viscosity, m.ideal[GAS0::Mu]},
      {"Ideal Molar mass", "Mr", K::MolarMass, m.ideal[GAS0::Mr]},
      {"Perfect Gas Isentropic exponent", "kP", K::None, m.ideal[GAS0::kP]},
      {"Contract base Temperature", "Tb", K::Temperature, st(m.base, GAS0::Tt)},
      {"Contract base Pressure", "Pb", K::Pressure, st(m.base, GAS0::Pp)},
      {"Mass density at contract base", "RHOb", K::Density, st(m.base, GAS0::RHO)},
      {"Mass density of air at contract base", "RHObair", K::Density, st(m.air, GAS0::RHO)},
      {"Molar density at contract base", "mDb", K::MolarDensity, st(m.base, GAS0::mD)},
      {"Ideal gas isentropic exponent at contract base T", "kI", K::None, st(m.base, GAS0::kI)},
      {"Compressibility at contract base", "Zb", K::None, st(m.base, GAS0::Z)},
      {"Gross Hydrocarbon pseudocomponent", "ch", K::Percent, gr(GAS0::ch)},
      {"Gross Mole fraction carbon dioxide", "co2", K::Percent, gr(GAS0::co2)},
      {"Gross Mole fraction nitrogen", "n2", K::Percent, gr(GAS0::n2)},
      {"Gross Mole fraction carbon monoxide", "co", K::Percent, gr(GAS0::co)},
      {"Gross Mole fraction hydrogen", "h2", K::Percent, gr(GAS0::h2)},
  }};
  const std::array<SheetRow, 8> flowing = {{
      {"Gross Real gas relative density", "gr", K::None, gr(GAS0::gr)},
      {"Gross Volumetric heating value", "hs", K::VolumeHeat, gr(GAS0::hs)},
      {"Flowing temperature", "Tf", K::Temperature, st(m.flowing, GAS0::Tt)},
      {"Flowing pressure (absolute)", "Pf", K::Pressure, st(m.flowing, GAS0::Pp)},
      {"Flowing mass density", "RHOf", K::Density, st(m.flowing, GAS0::RHO)},
      {"Flowing molar density", "mDf", K::MolarDensity, st(m.flowing, GAS0::mD)},
      {"Ideal gas isentropic exponent at flowing T", "kI", K::None, st(m.flowing, GAS0::kI)},
      {"Flowing compressibility", "Zf", K::None, st(m.flowing, GAS0::Z)},
  }};
  const std::array<SheetRow, 8> reference = {{
      {"Mass density @ref conditions", "RHOs", K::Density, ht(GAS0::RHO)},
      {"Mass density air @ref conditions", "RHOsair", K::Density, st(m.air, GAS0::RHO)},
      {"Molar density @ref conditions", "mDs", K::MolarDensity, ht(GAS0::mD)},
      {"Compressibility @ref conditions", "Zs", K::None, ht(GAS0::Z)},
      {"Molar heating value @ref conditions", "HN", K::MolarHeat, ht(GAS0::HN)},
      {"Mass heating Value @ref conditions", "Hm", K::MassHeat, ht(GAS0::Hm)},
      {"Volumetric heating Value @ref conditions", "Hv", K::VolumeHeat, ht(GAS0::Hv)},
      {"Vapour pressure of water @ref conditions", "VPw", K::Pressure, ht(GAS0::Pvw)},
  }};
  auto row = [&file, us](const SheetRow& r) {
    const KindInfo info = Info(r.kind);
    FE::FmtToFile(file, "%s,%s,%r,%s,", r.label, r.tag, r.value, info.mks);
    const std::string shown = DisplayText(Display(r.kind, us, r.value));
    if (r.kind == Kind::None) {
      FE::FmtToFile(file, "%s\\n", shown);
    } else {
      FE::FmtToFile(file, "%s,%s\\n", shown, us ? info.us : info.metric);
    }
  };
  for (const SheetRow& r : before) row(r);
  for (const SheetRow& r : flowing) row(r);
  FE::FmtToFile(file, "spare,--,\\n");
  for (const SheetRow& r : reference) row(r);
  return !file.fail();
}

}  // namespace qmx::GAS1
