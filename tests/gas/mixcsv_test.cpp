#include "gas/mixcsv.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gas/components.hpp"
#include "gas/gas1.hpp"
#include "numerics/error.hpp"

using namespace qmx;
using namespace qmx::GAS1;
namespace G0 = qmx::GAS0;

namespace {

class MixCsv : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRegistry();
    InstallStandardMethods();
  }
  void TearDown() override { ResetRegistry(); }
};

std::string Raised(const std::function<void()>& f) {
  try {
    f();
  } catch (const qmx::Error& e) {
    return e.message();
  }
  return "";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::string cur;
  for (const char c : line) {
    if (c == ',') {
      f.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  f.push_back(cur);
  return f;
}

std::string Block(const G0::GMix& mix) {
  std::ostringstream out;
  EXPECT_TRUE(WriteMixCSV(mix, out));
  return out.str();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Gulf Coast gas by AGA-8 with every setting the block carries moved off its default.
G0::GMix DetailMix() {
  G0::GMix m = NewMix(G0::AGA8detailed, 0, "Gulf, Coast");
  Slate s{};
  for (std::size_t k = 0; k < 21; ++k) s[k] = kPresets[0].x[k] * 100.0;  // percent: any scale
  s[G0::neoC5] = 0.05;
  s[G0::C2H4] = 0.02;
  MixSetSlate(m, s);
  MixSetDataSource(m, G0::GPA_2003US);
  MixSetHMethod(m, G0::AGA509method);
  MixSetTbase(m, 288.15);
  MixSetPbase(m, 101325.0);
  MixSetZrounding(m, true);
  MixSetRefTPset(m, G0::EUrefTP);
  MixGetFlowing(m, G0::Z, 5.5e6, 290.37);
  return m;
}

void ExpectSameState(const G0::MixRecord& a, const G0::MixRecord& b) {
  EXPECT_EQ(a.zMethod, b.zMethod);
  EXPECT_EQ(a.hMethod, b.hMethod);
  EXPECT_EQ(a.dataSource, b.dataSource);
  EXPECT_EQ(a.refSet, b.refSet);
  EXPECT_EQ(a.zRounding, b.zRounding);
  EXPECT_EQ(a.wetBasis, b.wetBasis);
  EXPECT_EQ(a.htcOverride, b.htcOverride);
  EXPECT_EQ(a.S, b.S);
  EXPECT_EQ(a.X, b.X);
  EXPECT_EQ(a.sref, b.sref);
  EXPECT_EQ(a.gross, b.gross);
  EXPECT_EQ(a.ideal, b.ideal);
  EXPECT_EQ(a.base, b.base);
  EXPECT_EQ(a.normal, b.normal);
  EXPECT_EQ(a.air, b.air);
  EXPECT_EQ(a.heat, b.heat);
  EXPECT_EQ(a.flowing, b.flowing);
}

double StubZ(double) { return 1.0; }
ZD StubProc(double P, double T, G0::MixRecord&) { return {StubZ(P), P / (G0::kR * T)}; }

}  // namespace

TEST_F(MixCsv, DetailRoundTripRestoresInputsAndRecomputesIdentically) {
  const G0::GMix src = DetailMix();
  const std::string text = Block(src);
  G0::GMix dst = NewMix(G0::AGA8detailed, 3, "other");
  std::istringstream in(text);
  ReadMixCSV(dst, in);
  ExpectSameState(*src, *dst);
  EXPECT_EQ(MixGetName(dst), "Gulf  Coast");
  // The block written again is the same text.
  EXPECT_EQ(Block(dst), text);
}

TEST_F(MixCsv, OverriddenHeatingValueTemperatureIsRestored) {
  G0::GMix src = DetailMix();
  MixSetWetBasis(src, true);
  MixSetHTcOverride(src, 293.15);
  MixGetFlowing(src, G0::Z, 3e6, 285.0);
  const std::string text = Block(src);
  G0::GMix dst = NewMix(G0::AGA8detailed, 0, "d");
  std::istringstream in(text);
  ReadMixCSV(dst, in);
  EXPECT_EQ(MixGetHTc(dst), 293.15);
  ExpectSameState(*src, *dst);
  EXPECT_EQ(Block(dst), text);
}

TEST_F(MixCsv, GrossRoundTripIntoAMixOfAnotherMethod) {
  G0::GMix src = NewMix(G0::SgergGCN, 0, "GCN");
  MixSetGr(src, 0.581);
  MixSetCO2(src, 0.006);
  MixSetN2(src, 0.002510320817051387);
  MixSetRefTPset(src, G0::EUrefTP);
  MixOverrideSgergRefTPvalue(src, 288.15, G0::tG);
  MixGetFlowing(src, G0::Z, 6e6, 270.0);
  const std::string text = Block(src);
  G0::GMix dst = NewMix(G0::AGA8detailed, 0, "detail");
  std::istringstream in(text);
  ReadMixCSV(dst, in);
  ExpectSameState(*src, *dst);
  EXPECT_EQ(MixGetRefTPset(dst), G0::SPLrefTP);
  EXPECT_EQ(MixGetSgergRefTPvalue(dst, G0::tG), 288.15);
}

TEST_F(MixCsv, BlockLayout) {
  const G0::GMix m = DetailMix();
  const std::vector<std::string> lines = Lines(Block(m));
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "4");
  EXPECT_EQ(lines[2], "GMIX_START");
  const std::vector<std::string> settings = Fields(lines[4]);
  ASSERT_EQ(settings.size(), 10u);
  EXPECT_EQ(std::stod(settings[0]), 288.15);
  EXPECT_EQ(std::stod(settings[1]), 101325.0);
  const std::vector<std::string> named(settings.begin() + 2, settings.end());
  EXPECT_EQ(named, (std::vector<std::string>{"AGA8detailed", "AGA509method", "GPA_2003US", "YES",
                                             "NO ", "NO ", "NO ", "EUrefTP"}));
  EXPECT_EQ(lines[5], "OVRRD");
  EXPECT_EQ(lines[7], "SLATE,");
  EXPECT_EQ(lines[8], "Name,Gulf  Coast");
  EXPECT_EQ(lines[9], "Gas,Symbol,S[],X[],Xz[],NZz[]");
  for (int i = 0; i < 29; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(10 + i)];
    const std::vector<std::string> f = Fields(line);
    EXPECT_EQ(f[0], std::string(G0::ListItem(G0::kComponentFileNames, i)));
    EXPECT_EQ(f[1], std::string(G0::ListItem(G0::kComponentSymbols, i)));
    if (i < 21) {
      ASSERT_EQ(f.size(), 7u) << line;
      EXPECT_EQ(std::stod(f[4]), m->area.aga8.Xz[static_cast<std::size_t>(i)]) << line;
      EXPECT_EQ(f[5], m->area.aga8.NZz[static_cast<std::size_t>(i)] ? "YES" : "NO ") << line;
      EXPECT_EQ(f[6], "");
    } else {
      EXPECT_EQ(line.substr(line.size() - 7), ",0.0,NO") << line;
    }
  }
  // Sections in order with one line per tag, then the method's internal lines and the omens.
  std::size_t at = 39;
  for (const auto& [keyword, count] : std::vector<std::pair<std::string, std::size_t>>{
           {"GROSS", 9}, {"IDEAL", 8}, {"AIR", 7}, {"BASE", 7}, {"NORMAL", 7}, {"FLOWING", 7},
           {"SREF", 5}, {"HEAT", 20}, {"THERMO", 11}, {"EOS_INTERNAL", 3 + 18 + 46}}) {
    ASSERT_LT(at, lines.size());
    EXPECT_EQ(lines[at], keyword);
    at += count + 1;
  }
  const std::vector<std::string> ch = Fields(lines[40]);
  ASSERT_EQ(ch.size(), 6u);
  EXPECT_EQ(ch[1], "G[ch]");
  EXPECT_EQ(std::stod(ch[2]), m->gross[0]);
  EXPECT_EQ(ch[2], ch[4]);
  EXPECT_EQ(ch[3] + ch[5], "");
  // 17 significant digits in exponent form; the US value in F.
  EXPECT_EQ(lines[40 + 9 + 9 + 8 + 8 + 8 + 1], ",F[Tt],2.9037E+2,K,6.2996000000000038E+1,F");
  EXPECT_EQ(lines[40 + 9 + 9 + 8 + 8 + 8 + 2], ",F[Pp],5.5E+6,pa,7.9770755751615081E+2,psi");
  EXPECT_EQ(lines.at(at), ",Omens,0");
  EXPECT_EQ(lines.at(at + 1), "GMIX_END");
  EXPECT_EQ(lines.size(), at + 2);
}

TEST_F(MixCsv, InternalLinesOfTheMethods) {
  struct Case {
    int method;
    std::string first;
    std::size_t lines;
  };
  for (const Case& c : {Case{G0::IdealGasLaw, ",IdealGasLaw no persistant storage", 1},
                        Case{G0::SKatz, ",Standing-Katz no persistant storage", 1},
                        Case{G0::PengR, ",Peng-Robinson no persistant storage", 1},
                        Case{G0::SgergGCN, ",HNch,", 3}, Case{G0::AGA8detailed, ",Told,", 67}}) {
    const std::vector<std::string> lines = Lines(Block(NewMix(c.method, 0, "m")));
    std::size_t at = 0;
    while (at < lines.size() && lines[at] != "EOS_INTERNAL") ++at;
    ASSERT_LT(at + 1, lines.size());
    EXPECT_EQ(lines[at + 1].substr(0, c.first.size()), c.first) << c.method;
    EXPECT_EQ(lines.size(), at + 1 + c.lines + 2) << c.method;
    // Methods other than AGA-8 write no composition vector.
    if (c.method != G0::AGA8detailed) {
      EXPECT_EQ(Fields(lines[10]).size(), 5u) << lines[10];
    }
  }
}

TEST_F(MixCsv, ZMethodNameMatching) {
  struct Case {
    const char* field;
    int code;
  };
  for (const Case& c : {Case{"GergDetailed", 11}, Case{"Gerg04detailed", 11}, Case{"gergdetailed", -1},
                        Case{" AGA8detailed ", 8}, Case{"\tSgergGCN\r\n", 4}, Case{"AGA8 detailed", 8},
                        Case{"IdealGasLaw", 0}, Case{"NX19m", 12}, Case{"", -1}, Case{"  ", -1},
                        Case{"AGA8detailed2", -1}, Case{"Gerg04Detailed", -1}}) {
    EXPECT_EQ(MatchZMethodName(c.field), c.code) << "'" << c.field << "'";
  }
}

TEST_F(MixCsv, GergNamesReadAsCodeEleven) {
  InstallMethods(StubProc, StubProc, G0::GergDetailed);
  G0::GMix src = NewMix(G0::GergDetailed, 0, "gerg");
  Slate s{};
  s[G0::C1] = 0.9;
  s[G0::nC4] = 0.04;
  s[G0::H2] = 0.06;
  MixSetSlate(src, s);
  const std::string text = Block(src);
  const std::vector<std::string> lines = Lines(text);
  // Components in their GERG-2008 places, then the species list.
  EXPECT_EQ(Fields(lines[10 + G0::nC4])[4], Fields(lines.at(40 + 5))[2]);
  EXPECT_EQ(lines.at(39), "Gerg08 Species gX[]");
  EXPECT_EQ(Fields(lines.at(40 + 14))[1], "xH2");
  for (const char* name : {"GergDetailed", "Gerg04detailed", " Gerg04detailed "}) {
    G0::GMix dst = NewMix(G0::AGA8detailed, 0, "d");
    std::istringstream in(Replace(text, ",GergDetailed,", std::string(",") + name + ","));
    ReadMixCSV(dst, in);
    EXPECT_EQ(MixGetZMethod(dst), G0::GergDetailed) << name;
    EXPECT_EQ(MixGetSlate(dst), s);
  }
  G0::GMix dst = NewMix(G0::AGA8detailed, 0, "d");
  std::istringstream in(Replace(text, ",GergDetailed,", ",gergdetailed,"));
  EXPECT_EQ(Raised([&] { ReadMixCSV(dst, in); }), "GAS1.ReadMixCSV() invalid ZMethod");
  EXPECT_EQ(MixGetZMethod(dst), G0::AGA8detailed);
}

TEST_F(MixCsv, SettingsMatchedLeniently) {
  const G0::GMix src = DetailMix();
  const std::string text = Block(src);
  G0::GMix dst = NewMix(G0::IdealGasLaw, 0, "d");
  MixSetDataSource(dst, G0::ISO_6976);
  std::string edited = Replace(text, ",AGA8detailed,", ", AGA8detailed ,");
  edited = Replace(edited, ",GPA_2003US,", ",NoSuchSource,");
  edited = Replace(edited, ",AGA509method,", ",\tAGA509method ,");
  std::istringstream in(edited);
  ReadMixCSV(dst, in);
  EXPECT_EQ(MixGetZMethod(dst), G0::AGA8detailed);
  EXPECT_EQ(MixGetHMethod(dst), G0::AGA509method);
  EXPECT_EQ(MixGetDataSource(dst), G0::ISO_6976);
}

TEST_F(MixCsv, Messages) {
  const std::string text = Block(DetailMix());
  struct Case {
    std::string from, to, message;
  };
  const std::string missing = "GAS1.ReadMixCSV.ScanFor() file error -- missing ";
  for (const Case& c : {
           Case{",AGA8detailed,", ",AGA8-detailed,", "GAS1.ReadMixCSV() invalid ZMethod"},
           Case{",AGA8detailed,", ",RKwong,", "GAS1.ReadMixCSV() method not installed"},
           Case{",AGA8detailed,", ",SgergHCN,", "GAS1.ReadMixCSV() method not installed"},
           Case{"GMIX_START", "GMIX_BEGIN", missing + "GMIX_START"},
           Case{"OVRRD", "OVERRIDE", missing + "OVRRD"},
           Case{"SLATE,", "SLATES,", missing + "SLATE"},
           Case{"GROSS", "GROS", missing + "GROSS"},
           Case{"FLOWING", "FLOW", missing + "FLOWING"},
           Case{"SREF", "SREF_", missing + "SREF"},
           Case{"GMIX_END", "GMIX_STOP", missing + "GMIX_END"},
       }) {
    G0::GMix dst = NewMix(G0::IdealGasLaw, 0, "unchanged");
    const std::string before = Block(dst);
    std::istringstream in(Replace(text, c.from, c.to));
    EXPECT_EQ(Raised([&] { ReadMixCSV(dst, in); }), c.message) << c.from;
    EXPECT_EQ(Block(dst), before) << c.from;
  }
  G0::GMix none;
  std::istringstream in(text);
  EXPECT_EQ(Raised([&] { ReadMixCSV(none, in); }), "GAS1.ReadMixCSV() invalid mix");
  std::ostringstream out;
  EXPECT_FALSE(WriteMixCSV(none, out));
  EXPECT_FALSE(GasPropertiesCSV(none, true, "", out));
  EXPECT_EQ(out.str(), "");
}

TEST_F(MixCsv, TruncatedBlockLeavesTheMixUnchanged) {
  const std::string text = Block(DetailMix());
  // Every cut before the end marker is complete.
  const std::size_t end = text.rfind("GMIX_END") + 7;
  for (std::size_t cut = 0; cut < end; cut += end / 41 + 1) {
    G0::GMix dst = NewMix(G0::SgergGCN, 0, "unchanged");
    const std::string before = Block(dst);
    std::istringstream in(text.substr(0, cut));
    EXPECT_THROW(ReadMixCSV(dst, in), qmx::Error) << cut;
    EXPECT_EQ(Block(dst), before) << cut;
  }
  // Only the line end after the end marker missing: the block is complete.
  G0::GMix dst = NewMix(G0::SgergGCN, 0, "d");
  std::istringstream in(text.substr(0, text.size() - 2));
  ReadMixCSV(dst, in);
  EXPECT_EQ(MixGetZMethod(dst), G0::AGA8detailed);
}

TEST_F(MixCsv, BlocksAreReadInTurn) {
  G0::GMix a = NewMix(G0::PengR, 0, "first");
  G0::GMix b = NewMix(G0::SgergGCN, 0, "second");
  std::istringstream in(Block(a) + Block(b));
  G0::GMix dst = NewMix(G0::IdealGasLaw, 0, "d");
  EXPECT_EQ(ReadMixCSVZMethod(in), G0::PengR);
  in.seekg(0);
  ReadMixCSV(dst, in);
  EXPECT_EQ(MixGetName(dst), "first");
  EXPECT_EQ(MixGetZMethod(dst), G0::PengR);
  ReadMixCSV(dst, in);
  EXPECT_EQ(MixGetName(dst), "second");
  EXPECT_EQ(MixGetZMethod(dst), G0::SgergGCN);
  EXPECT_EQ(Raised([&] { ReadMixCSV(dst, in); }), "GAS1.ReadMixCSV.ScanFor() file error -- missing GMIX_START");
}

TEST_F(MixCsv, PropertiesSheetInBothUnitSets) {
  const G0::GMix m = DetailMix();
  struct Case {
    bool us;
    std::string tb, pb, hvUnit;
    double hvFactor;
  };
  for (const Case& c : {Case{true, "Contract base Temperature,Tb,2.8814999999999998E+2,K,59.0,F",
                             "Contract base Pressure,Pb,1.01325E+5,pa,14.6959488,psi", "btu/ft3",
                             2.6839191993183404e-05},
                        Case{false, "Contract base Temperature,Tb,2.8814999999999998E+2,K,15.0,C",
                             "Contract base Pressure,Pb,1.01325E+5,pa,101.325,kpa", "mj/m3", 1e-6}}) {
    std::ostringstream out;
    ASSERT_TRUE(GasPropertiesCSV(m, c.us, "Lab 7", out));
    const std::vector<std::string> lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 72u);
    EXPECT_EQ(lines[0], "Gas data source,Z factor,Hm calculation,Z rounding,---,Wet basis heating value,Analysis ID");
    EXPECT_EQ(lines[1], "GPA 2145 (US) 2003 rev 1,AGA-8(94) detailed,AGA-5 (2009),YES,,NO ,Lab 7");
    EXPECT_EQ(lines[2], " ");
    EXPECT_EQ(lines[5], "Gas properties,Tag,MKS Value,MKS units,Value,Units");
    EXPECT_EQ(lines[7].substr(0, 13), "Nitrogen,N2, ");
    EXPECT_EQ(lines[6 + 28].substr(0, 21), "Methyl alcohol,CH3OH,");
    EXPECT_EQ(lines[35], "spare,spare,0.0,frac,0.0");
    EXPECT_EQ(lines[36 + 7], c.tb);
    EXPECT_EQ(lines[36 + 8], c.pb);
    const std::vector<std::string> n2 = Fields(lines[36 + 16]);
    ASSERT_EQ(n2.size(), 6u);
    EXPECT_EQ(n2[0], "Gross Mole fraction nitrogen");
    EXPECT_NEAR(std::stod(n2[4]), 100.0 * m->X[G0::N2], 1e-6);
    EXPECT_EQ(n2[5], "%");
    EXPECT_EQ(lines[63], "spare,--,");
    const std::vector<std::string> hv = Fields(lines[70]);
    ASSERT_EQ(hv.size(), 6u);
    EXPECT_EQ(hv[0], "Volumetric heating Value @ref conditions");
    EXPECT_EQ(std::stod(hv[2]), m->heat[G0::Hv - G0::Tt]);
    EXPECT_NEAR(std::stod(hv[4]) / (std::stod(hv[2]) * c.hvFactor), 1.0, 1e-7);
    EXPECT_EQ(hv[5], c.hvUnit);
    // Dimensionless rows carry no display unit.
    EXPECT_EQ(Fields(lines[36 + 13]).size(), 5u) << lines[36 + 13];
    EXPECT_EQ(Fields(lines[36 + 13])[0], "Compressibility at contract base");
  }
}
