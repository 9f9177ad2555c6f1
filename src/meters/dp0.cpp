// Meter catalogue, materials, diameter ratio and thermal correction.
#include "meters/dp0.hpp"

#include <array>
#include <cmath>
#include <numbers>

#include "meters/coef.hpp"
#include "numerics/error.hpp"
#include "numerics/numerics.hpp"

namespace qmx::DP0 {

const std::string_view kMeterKeys =
    "Vent_Cl|Vent_VCs|Vent_VCw|Vent_VCsC|Vent_VCwC|Vent_IVCM|Vent_Noz|Noz_ISA|Noz_LR|Orf_Stolz|Orf_Stolz2|Orf_NEL|"
    "Orf_ISO|Orf_RGc|Orf_RG|Orf_AGA|Orf_Quad|Orf_BB|Orf_Int|Orf_IFO|Orf_ASME|Orf_Cone|Orf_Ecc|Orf_Seg|Orf_14M|Orf_3M|"
    "Orf_RO|Elb_45L|Elb_22L|Elb_45S|Elb_22S|Pit_Avg|Pit_AnnM|Pit_AnnR|Pit_Vbar|Vent_AcBar|Wedge_FC|Wedge_CCd|"
    "Experimental|Mtr_Other|";

const std::string_view kMeterListNames =
    "ISO Venturi|Cone spool-fixed Cd|V-Cone wafer-fixed Cd|Cone spool lin Re-Cd|V-Cone wafer lin Re-Cd|"
    "Integral Valve Cone Meter|ISO Venturi-nozzle|ISO ISA Nozzle|ISO Long radius nozzle|Orifice-ISO5167-80,91|"
    "Orifice-new Stolz|Orifice-ISO5167-98 amd.|Orifice-ISO5167-03|Orifice-AGA3(91) [canon]|Orifice-AGA3(91)|"
    "Orifice-AGA3(11)|Orifice Quadrant-edge|DO NOT USE BB|Integral Orifice|Foxboro IFO|Orifice ASME PTC 19.5-04|"
    "Orifice Conical entrance|Orifice Eccentric|Orifice Segmental|Orifice ASME Small bore|ASME orifice|"
    "ASME orifice AGA Y|Elbow 45 deg long|Elbow 22.5 deg long|Elbow 45 deg short|Elbow 22.5 deg short|Generic APT|"
    "Annubar (Miller)|Annubar (Rosemount)|Verabar (Veris)|Accelabar (Veris)|Wedge factory calibration|"
    "Wedge calculated Cd|experimental|non-DP meter|";

const std::string_view kMaterialKeys =
    "CbSteelUS|StSteelUS|MonelUS|Monel400US|SS304US|SS316US|CbSteelSI|StSteelSI|MonelSI|Monel400SI|SS304SI|SS316SI|"
    "CbSteel|StSteel|Monel|Brass|Inconel|Nickel|HastC22|Titanium|CSlowTemp|SSduplex|Unobtainium|Othr1|Othr2|";

const std::string_view kMaterialNames =
    "Carbon steel US|Stainless steel US|Monel US|Monel 400 US|Type 304 stainless steel US|"
    "Type 316 stainless steel US|Carbon steel SI|Stainless steel SI|Monel SI|Monel 400 SI|"
    "Type 304 stainless steel SI|Type 316 stainless steel SI|Carbon steel|Stainless steel|Monel|Brass|Inconel|"
    "Nickel|Hastelloy C-22|Titanium|Low temp. carbon steel|Duplex stainless steel|Zero thermal expansion|"
    "user-defined 1|user-defined 2|";

namespace {

using Texts = std::array<std::string_view, kMeterTypeCount>;

constexpr Texts kLongNames = {
    "ISO Venturi meter", "Cone spool-fixed Cd", "V-Cone wafer-fixed Cd", "Cone spool lin Re-Cd",
    "V-Cone wafer lin Re-Cd", "Integral Valve Cone Meter (IVCM)", "ISO Venturi-nozzle", "ISO ISA Nozzle",
    "ISO Long radius nozzle", "Orifice-ISO5167-80,91", "Orifice-new Stolz", "Orifice-ISO5167-1998 amd.",
    "Orifice-ISO5167-2003", "Orifice AGA3(91) canonical", "Orifice AGA3(1991)", "Orifice AGA3(2012)",
    "Quadrant-edge orifice", "DO NOT USE Orf_BB", "Integral Orifice", "Foxboro IFO", "ASME PTC 19.5-04 orifice",
    "Conical entrance orifice", "Eccentric orifice", "Segmental orifice", "ASME Small bore orifice", "ASME orifice",
    "ASME orifice AGA Y", "Elbow 45 deg long radius", "Elbow 22.5 deg long radius", "Elbow 45 deg short radius",
    "Elbow 22.5 deg short radius", "Generic APT", "Annubar (Miller)", "Annubar (Rosemount)", "Verabar", "Accelabar",
    "Wedge factory calibration", "Wedge calculated Cd", "experimental", "non-DP meter"};

constexpr Texts kFamilyNames = {
    "Venturi tube", "Cone meter", "Wafer Cone(R)", "Cone meter", "Wafer Cone(R)", "Manifold Cone",
    "Venturi-nozzle", "ISA nozzle", "Long radius nozzle", "Sharp-edged orifice", "Sharp-edged orifice",
    "Sharp-edged orifice", "Sharp-edged orifice", "Sharp-edged orifice", "Sharp-edged orifice",
    "Sharp-edged orifice", "Quadrant-edged orifice", "Sharp-edged orifice", "Integral orifice", "Integral orifice",
    "Sharp-edged orifice", "Conical-entrance orifice", "Eccentric orifice", "Segmental orifice",
    "Small bore orifice", "Sharp-edged orifice", "Sharp-edged orifice", "45 deg long radius elbow",
    "22 deg long radius elbow", "45 deg short radius elbow", "22 deg short radius elbow", "Averaging pitot tube",
    "Annubar(R)", "Annubar(R)", "Verabar(R)", "Accelabar(R)", "Wedge meter", "Wedge meter", "experimental", ""};

constexpr std::string_view kIso = "ISO 5167";
constexpr std::string_view kAga = "A.G.A. Report No. 3";
constexpr std::string_view kMiller = "Miller 3d ed";
constexpr std::string_view kTr15377 = "ISO 15377:2007E";

constexpr Texts kStandards = {
    kIso, " ", " ", " ", " ", " ", kIso, kIso, kIso, kIso, " ", kIso, kIso, kAga, kAga, kAga, kTr15377, kAga, "",
    "", "ASME PTC 19.5", kTr15377, kTr15377, kMiller, "ASME MFC-14M", "ASME MFC-3M", "ASME PTC 19.5", kMiller,
    kMiller, kMiller, kMiller, kMiller, kMiller, "Rosemount-Emerson", "Veris Inc.", "Veris Inc.", kMiller, kMiller,
    "experimental", ""};

constexpr Texts kEditions = {
    "2003(E)", "", "", "", "", "", "2003(E)", "2003(E)", "2003(E)", "1980,1991", "", "1998", "2003(E)",
    "Sep. 1990", "Nov. 1992", "Sep. 2012", "2007", "1985", "", "", "2004", "2007", "2007", "1996", "2003", "2004",
    "", "1996", "1996", "1996", "1996", "1996", "1996", "June 2003", "", "", "1996", "1996", "experimental", ""};

constexpr std::string_view kSpecial = "special application";
constexpr std::string_view kCurrent = "current";
constexpr std::string_view kSup2012 = "superceded by 2012 revision";

constexpr Texts kStatus = {
    kCurrent, kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, kCurrent, kCurrent, kCurrent,
    "superceded by 1998 & 2003 revisions", "proposed, never adopted", "superceded by 2003 revision", kCurrent,
    kSup2012, kSup2012, kCurrent, kCurrent, "superceded by 1991 revision", kSpecial, kSpecial, kCurrent, kCurrent,
    kCurrent, kSpecial, kCurrent, kCurrent, "", kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, kSpecial,
    kSpecial, kSpecial, kSpecial, kSpecial, kSpecial, "ERROR", "ERROR"};

constexpr std::string_view kConeClauses = "qm: ___; D,d: ___; beta:____ Cd: ____; Y: ____";
constexpr std::string_view kElbowClauses = "qm: Tbl 9.37(a); D: eq 9.50; Cd: Tbl 11.15; Y: eq 11.36";
constexpr std::string_view kAptClauses = "qm: Tbl 9.37(a); D: eq 9.50 d: eq 9.51; Cd: ____; Y: ____";
constexpr std::string_view kTrClauses = "_____";

constexpr Texts kClauses = {
    "Part 4: qm: 4; Cd: 5.5.2, 5.5.3, 5.5.4; epsilon: 5.6",
    kConeClauses,
    "",
    kConeClauses,
    "",
    "",
    "Part 3: qm: 4; Cd: 5.3.4.2; epsilon: 5.1.6.3",
    "Part 3: qm: 4; Cd: 5.1.6.2; epsilon: 5.1.6.3",
    "Part 3: qm: 4; Cd: 5.2.6.2; epsilon: 5.1.6.3",
    "qm: 5.1; Cd: 8.3.2.1; epsilon: 8.3.2.2",
    "",
    "qm: ___; D,d: ___; Cd: ____; epsilon: ____",
    "Part 2: qm: 4; Cd: 5.3.2.1; epsilon: 5.3.2.2",
    "qm: eq 1-2; D,d: 1.6.3; Cd: 1.7.2; Y: eq 1-24",
    "qm: eq 4-1; D: eq 4-7, d: eq 4-8; Cd: 4.3.2.5; Y: 4.3.2.7A",
    "qm: 1.6; d: 1.6.2; D: 1.6.3; Cd: 1.7.2; Y: 1.8.1",
    kTrClauses,
    "qm: 6.2.2; D,d: E.3; Cd: 5.2.1; Y: 5.2.6.1",
    "qm: ___; D: eq 9.50 d: eq 9.51; Cd: Tbl 11.3 ",
    "qm: ___; D: ___; d: ___, Cd: ___",
    "qm: 3-1.1; D,d: 2-4.1; Cd: 1-5; Y: 4-12.2",
    kTrClauses,
    kTrClauses,
    "qm: Tbl 9.37(a); D: eq 9.50 d: eq 9.51; Cd: Tbl 9.1; Y: ____",
    "qm: eq 3-11a; D: 4-3; d: 4-4; Cd: eq 7-1, 7-2; Y: eq 7-3a",
    "qm: eq ___; D: eq ___; d: eq ___; Cd: eq ___; Y: eq ___",
    "",
    kElbowClauses,
    kElbowClauses,
    kElbowClauses,
    kElbowClauses,
    kAptClauses,
    kAptClauses,
    "qm: Tbl 9.37(a); D,d: ___; Cd: ____; Y: ____",
    "",
    "",
    "qm: Tbl 9.37(a); D: eq 9.50 d: eq 9.51; Cd: calibration; Y: 11.19",
    "qm: Tbl 9.37(a); D: eq 9.50 d: eq 9.51; Cd: eq 11.13-11.15; Y: 11.19",
    "experimental",
    ""};

constexpr std::string_view kIsoDoc =
    "Measurement of fluid flow by means of pressure differential devices inserted in circular cross section "
    "conduits running full";
constexpr std::string_view kAgaDoc = "Orifice metering of natural gas and other related hydrocarbon fluids";
// The title of ISO/TR 15377 exactly as that report prints it.
constexpr std::string_view kTrDoc =
    "Guidelines for the specification of orifice plates, nozzles, and Venturi tubes beyond the scope of ISO 5167";
constexpr std::string_view kHandbook = "\"Flow Measurement Engineering Handbook, Third Edition\"";

constexpr Texts PartTitles() {
  Texts t{};
  t[0] = "Part 4 : Venturi tubes";
  t[6] = t[7] = t[8] = "Part 3 : Nozzles and Venturi nozzles";
  t[9] = "Orifice plates, nozzles, and Venturi tubes inserted in circular cross-section conduits running full";
  t[11] =
      "Part 1: Orifice plate, nozzles, and Venturi tubes inserted in circular cross-section conduits running full  "
      "AMENDMENT 1";
  t[12] = "Part 2 : Orifice plates";
  t[13] = t[15] = "Part 1 - General equations and uncertainty guidelines";
  t[14] = "Part 4 - Background, Development, Implementation [...] Equation";
  t[25] = "Part 2 - Orifice Plates";
  t[38] = "experimental";
  return t;
}
constexpr Texts kPartTitles = PartTitles();

constexpr std::array<int, 11> kHandbookRows = {18, 19, 23, 27, 28, 29, 30, 31, 32, 36, 37};

constexpr Texts DocTitles() {
  Texts t{};
  for (int i : {0, 6, 7, 8, 11, 12}) t[i] = kIsoDoc;
  t[9] = "Measurement of fluid flow by means of pressure differential devices";
  for (int i : {13, 14, 15, 17}) t[i] = kAgaDoc;
  for (int i : {16, 21, 22}) t[i] = kTrDoc;
  t[20] = "Flow Measurement Performance Test Codes";
  t[24] = "Measurement of Fluid Flow Using Small Bore Precision Orifice Meters";
  t[25] = "Measurement of Fluid Flow in Pipes Using Orifice, Nozzle, and Venturi";
  for (int i : {23, 27, 28, 29, 30, 31, 32, 36, 37}) t[i] = kHandbook;
  t[33] = "Annubar(R) Primary Element Flow Calculations";
  t[38] = "experimental";
  return t;
}
constexpr Texts kDocTitles = DocTitles();

constexpr Texts Committees() {
  Texts t{};
  for (int i : {0, 6, 7, 8, 9, 11, 12, 16, 21, 22}) t[i] = "I.S.O. Geneva";
  for (int i : {13, 14, 15, 17}) t[i] = "Transmission Measurement Committee";
  t[20] = "ASME Committe 19.5";
  t[24] = t[25] = "ASME MFC Committee";
  t[33] = "Rosemount-Emerson";
  t[34] = t[35] = "Veris, Inc.";
  t[38] = "experimental";
  for (int i : kHandbookRows) t[i] = "R. W. Miller";
  return t;
}
constexpr Texts kCommittees = Committees();

constexpr std::string_view kIsoAddress = "ISO Central Secretariat, Chemin de Blandonnet 8, CH-1214 Vernier, Geneva";
constexpr std::string_view kAgaAddress = "400 North Capitol Street, NW, Washington, DC 20001, USA";
constexpr std::string_view kAsmeAddress = "Two Park Avenue, New York, NY 10016-5990, USA";
constexpr std::string_view kMcGrawAddress = "1221 Avenue of the Americas, New York, NY 10020, USA";

constexpr Texts Publishers() {
  Texts t{};
  for (int i : {0, 6, 7, 8, 9, 11, 12}) t[i] = "International Association for Standardization";
  for (int i : {13, 14, 15, 17}) t[i] = "American Gas Association";
  t[18] = t[19] = "Invensys-Foxboro";
  for (int i : {20, 24, 25}) t[i] = "American Society of Mechanical Engineers";
  for (int i : {23, 27, 28, 29, 30, 31, 32, 36, 37}) t[i] = "McGraw-Hill; ISBN 0-07-042366-0";
  t[33] = "Rosemount-Emerson";
  t[34] = t[35] = "Veris, Inc.";
  t[38] = "experimental";
  return t;
}
constexpr Texts kPublishers = Publishers();

constexpr Texts Addresses() {
  Texts t{};
  for (int i : {0, 6, 7, 8, 9, 11, 12, 16, 21, 22}) t[i] = kIsoAddress;
  for (int i : {13, 14, 15, 17}) t[i] = kAgaAddress;
  for (int i : {20, 24, 25}) t[i] = kAsmeAddress;
  for (int i : {23, 27, 28, 29, 30, 31, 32, 36, 37}) t[i] = kMcGrawAddress;
  t[33] = "___";
  t[38] = "Experimental";
  t[39] = "ERROR: Non-dP meter";
  return t;
}
constexpr Texts kAddresses = Addresses();

constexpr Texts ApiRefs() {
  Texts t{};
  t[13] = t[14] = "API MPMS 14.3.1, GPA 8185-90 part 1";
  t[17] = "ANSI/API 2530, API 2530, GPA 8185-85";
  return t;
}
constexpr Texts kApiRefs = ApiRefs();

// The n-th (0-based) item of a '|'-terminated list; empty when absent.
constexpr std::string_view ListItem(std::string_view list, int n) {
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const std::size_t bar = list.find('|', start);
    if (bar == std::string_view::npos) return {};
    start = bar + 1;
  }
  const std::size_t bar = list.find('|', start);
  if (bar == std::string_view::npos) return {};
  return list.substr(start, bar - start);
}

// Position (0-based) of an item in a '|'-terminated list, or -1.
int ListFind(std::string_view list, std::string_view item) {
  std::size_t start = 0;
  for (int i = 0;; ++i) {
    const std::size_t bar = list.find('|', start);
    if (bar == std::string_view::npos) return -1;
    if (list.substr(start, bar - start) == item) return i;
    start = bar + 1;
  }
}

int ListCount(std::string_view list) {
  int n = 0;
  for (char c : list) n += c == '|' ? 1 : 0;
  return n;
}

std::string_view TextOf(const Texts& texts, MeterType type) {
  const auto i = static_cast<std::size_t>(type);
  return i < texts.size() ? texts[i] : std::string_view{};
}

// Expansion coefficient tables, 1e-6/K, at -200..800 degC; 1-indexed for Linterp.
constexpr std::array<double, 13> kTableT = {0, -200, -100, 0, 20, 100, 200, 300, 400, 500, 600, 700, 800};
constexpr std::array<double, 13> kCS = {0, 9.04, 9.9, 10.73, 10.89, 11.53, 12.28, 12.97, 13.6, 14.14, 14.58, 14.92, 15.14};
constexpr std::array<double, 13> kSS = {0, 14.7, 15.53, 16.22, 16.35, 16.8, 17.28, 17.68, 18.02, 18.34, 18.64, 18.96, 19.31};
constexpr std::array<double, 13> kMO = {0, 10.24, 11.89, 13.17, 13.39, 14.15, 14.9, 15.49, 16, 16.49, 17.05, 17.73, 18.62};
constexpr std::array<double, 13> kBR = {0, 14.57, 15.62, 16.59, 16.77, 17.5, 18.35, 19.16, 19.93, 20.66, 21.38, 22.08, 22.08};
constexpr std::array<double, 13> kIN = {0, 10.59, 10.59, 12.34, 12.64, 13.69, 14.73, 15.55, 16.23, 16.87, 17.56, 18.38, 19.43};
constexpr std::array<double, 13> kHC = {0, 7.62, 7.62, 9.12, 9.42, 10.61, 12.06, 13.42, 14.65, 15.71, 16.58, 17.2, 17.53};
constexpr std::array<double, 13> kTI = {0, 7.91, 8.12, 8.36, 8.41, 8.62, 8.9, 9.18, 9.44, 9.68, 9.88, 10.02, 10.1};

struct MaterialData {
  double constant;                      // 1e-6/K, used when table is null
  const std::array<double, 13>* table;  // temperature table, or null
  double factor;                        // multiplier of the table
};

constexpr std::array<MaterialData, kMaterialCount> kMaterials = {{
    {11.16, nullptr, 1.0},  {16.65, nullptr, 1.0},  {14.31, nullptr, 1.0}, {13.896, nullptr, 1.0},
    {17.298, nullptr, 1.0}, {16.002, nullptr, 1.0}, {11.2, nullptr, 1.0},  {16.7, nullptr, 1.0},
    {14.3, nullptr, 1.0},   {13.9, nullptr, 1.0},   {17.3, nullptr, 1.0},  {16.0, nullptr, 1.0},
    {0.0, &kCS, 1.0},       {0.0, &kSS, 1.0},       {0.0, &kMO, 1.0},      {0.0, &kBR, 1.0},
    {0.0, &kIN, 1.0},       {0.0, &kMO, 1.04},      {0.0, &kHC, 1.0},      {0.0, &kTI, 1.0},
    {0.0, &kCS, 1.0},       {0.0, &kSS, 0.85},      {0.0, nullptr, 1.0},   {0.0, nullptr, 1.0},
    {0.0, nullptr, 1.0},
}};

thread_local std::array<double, 2> userAlpha = {0.0, 0.0};
thread_local int segmentEvaluations = 0;

void DefaultCoef(double& C, const CoefParams&) { C = 1.0; }
void DefaultExpansion(double& e, int, MeterType, double, double, double, double, double) { e = 1.0; }
void DefaultBeta(double& b, MeterType, double, double) { b = 1.0; }
void DefaultInverseBeta(double& d, MeterType, double, double) { d = 1.0; }
void DefaultLoss(double& l, double, double, double, MeterType) { l = 0.0; }

constexpr ExperimentalHooks kDefaultHooks = {DefaultCoef, DefaultExpansion, DefaultBeta, DefaultInverseBeta,
                                             DefaultLoss};
thread_local ExperimentalHooks hooks = kDefaultHooks;

// Square root of the open fraction of the pipe area left by a segment of height r*D.
double SegmentBeta(double r) {
  if (!(r > 0.0)) return 1.0;
  if (r >= 1.0) return 0.0;
  const double a = 1.0 - 2.0 * r;
  const double open = (std::acos(a) - 2.0 * a * std::sqrt(r - r * r)) / std::numbers::pi;
  return std::sqrt(std::max(open, 0.0));
}

struct StartUp {
  StartUp() { QCtest(); }
};
const StartUp startUp;

}  // namespace

std::string_view DeviceKey(MeterType type) noexcept { return ListItem(kMeterKeys, static_cast<int>(type)); }

bool DeviceFromKey(std::string_view key, MeterType& type) noexcept {
  const int i = ListFind(kMeterKeys, key);
  type = i < 0 ? MeterType::Mtr_Other : static_cast<MeterType>(i);
  return i >= 0;
}

std::string_view DeviceListName(MeterType type) noexcept {
  return ListItem(kMeterListNames, static_cast<int>(type));
}
std::string_view DeviceLongName(MeterType type) noexcept { return TextOf(kLongNames, type); }
std::string_view DeviceFamilyName(MeterType type) noexcept { return TextOf(kFamilyNames, type); }
std::string_view StandardName(MeterType type) noexcept { return TextOf(kStandards, type); }
std::string_view StandardEdition(MeterType type) noexcept { return TextOf(kEditions, type); }
std::string_view StandardStatus(MeterType type) noexcept { return TextOf(kStatus, type); }
std::string_view ClauseReferences(MeterType type) noexcept { return TextOf(kClauses, type); }
std::string_view StandardPartTitle(MeterType type) noexcept { return TextOf(kPartTitles, type); }
std::string_view StandardTitle(MeterType type) noexcept { return TextOf(kDocTitles, type); }
std::string_view StandardCommittee(MeterType type) noexcept { return TextOf(kCommittees, type); }
std::string_view StandardPublisher(MeterType type) noexcept { return TextOf(kPublishers, type); }
std::string_view StandardAddress(MeterType type) noexcept { return TextOf(kAddresses, type); }
std::string_view ApiCrossReference(MeterType type) noexcept { return TextOf(kApiRefs, type); }

std::string_view MaterialName(Material material, bool display) noexcept {
  return ListItem(display ? kMaterialNames : kMaterialKeys, static_cast<int>(material));
}

bool MaterialFromName(std::string_view text, bool display, Material& material) noexcept {
  const int i = ListFind(display ? kMaterialNames : kMaterialKeys, text);
  material = i < 0 ? Material::Unobtainium : static_cast<Material>(i);
  return i >= 0;
}

BetaFamily FamilyOf(MeterType type) noexcept {
  const int i = static_cast<int>(type);
  if (i >= 1 && i <= 5) return BetaFamily::Cone;
  if (type == MeterType::Orf_Seg || type == MeterType::Wedge_FC || type == MeterType::Wedge_CCd) {
    return BetaFamily::Segment;
  }
  if (type == MeterType::Pit_AnnM) return BetaFamily::ProbeSqrt;
  if (type == MeterType::Pit_Avg || type == MeterType::Pit_AnnR || type == MeterType::Pit_Vbar ||
      type == MeterType::Vent_AcBar) {
    return BetaFamily::ProbeLinear;
  }
  if ((i >= 27 && i <= 30) || type == MeterType::Mtr_Other || i >= kMeterTypeCount) return BetaFamily::Unity;
  if (type == MeterType::Experimental) return BetaFamily::Hook;
  return BetaFamily::Plain;
}

double Beta(MeterType type, double D, double d) {
  constexpr double pi = std::numbers::pi;
  switch (FamilyOf(type)) {
    case BetaFamily::Plain:
      return d / D;
    case BetaFamily::Cone:
      return std::sqrt(D * D - d * d) / D;
    case BetaFamily::Segment:
      return SegmentBeta(d / D);
    case BetaFamily::ProbeSqrt:
      return std::sqrt(4.0 * d / (pi * D));
    case BetaFamily::ProbeLinear:
      return 4.0 * d / (pi * D);
    case BetaFamily::Unity:
      return 1.0;
    case BetaFamily::Hook: {
      double beta = 1.0;
      hooks.beta(beta, type, D, d);
      return beta;
    }
  }
  return 1.0;
}

double C_dR(MeterType type, double D, double beta) {
  constexpr double pi = std::numbers::pi;
  switch (FamilyOf(type)) {
    case BetaFamily::Plain:
      return beta * D;
    case BetaFamily::Cone:
      return D * std::sqrt(1.0 - beta * beta);
    case BetaFamily::ProbeSqrt:
      return pi / 4.0 * beta * beta * D;
    case BetaFamily::ProbeLinear:
      return pi * D * beta / 4.0;
    case BetaFamily::Unity:
      return D;
    case BetaFamily::Hook: {
      double d = 1.0;
      hooks.inverseBeta(d, type, D, beta);
      return d;
    }
    case BetaFamily::Segment:
      break;
  }
  segmentEvaluations = 0;
  if (!std::isfinite(D) || !std::isfinite(beta) || D <= 0.0) Raise(kModule, "DP0.C_dR() bracket failure", 1);
  auto f = [&](double h) {
    ++segmentEvaluations;
    return SegmentBeta(h / D) - beta;
  };
  double h1 = 0.99 * D;
  double h2 = 0.01;
  if (!Numerics::Bracket(h1, h2, f)) Raise(kModule, "DP0.C_dR() bracket failure", 1);
  return Numerics::Broot(1e-7, h1, h2, f);
}

int C_dR_Evaluations() noexcept { return segmentEvaluations; }

double ExpansionCoefficient(double T, Material material) noexcept {
  const auto i = static_cast<std::size_t>(material);
  if (material == Material::Othr1) return userAlpha[0];
  if (material == Material::Othr2) return userAlpha[1];
  if (i >= kMaterials.size()) return 0.0;
  const MaterialData& m = kMaterials[i];
  if (m.table == nullptr) return m.constant * 1e-6;
  double a = 0.0;
  // Linterp clamps outside the table; a NaN temperature yields the last entry.
  Numerics::Linterp(a, T - 273.15, 12, *m.table, kTableT);
  return a * m.factor * 1e-6;
}

double DiameterAtTemperature(Material material, double Tref, double T, double Lref) noexcept {
  return Lref * (1.0 + ExpansionCoefficient(T, material) * (T - Tref));
}

double DiameterAtReference(Material material, double Tref, double T, double L) noexcept {
  return L / (1.0 + ExpansionCoefficient(T, material) * (T - Tref));
}

void SetUserExpansion(Material which, double alpha) noexcept {
  if (which == Material::Othr1) userAlpha[0] = alpha;
  if (which == Material::Othr2) userAlpha[1] = alpha;
}

double UserExpansion(Material which) noexcept {
  if (which == Material::Othr1) return userAlpha[0];
  if (which == Material::Othr2) return userAlpha[1];
  return 0.0;
}

void QCtest() {
  if (ListCount(kMaterialKeys) != kMaterialCount || ListCount(kMaterialNames) != kMaterialCount ||
      ListCount(kMeterKeys) != kMeterTypeCount) {
    Raise(kModule, "DP0.QCtest() failure", 1);
  }
}

const ExperimentalHooks& GetExperimentalHooks() noexcept { return hooks; }

void SetExperimentalHooks(const ExperimentalHooks& h) noexcept {
  hooks.coefficient = h.coefficient ? h.coefficient : kDefaultHooks.coefficient;
  hooks.expansion = h.expansion ? h.expansion : kDefaultHooks.expansion;
  hooks.beta = h.beta ? h.beta : kDefaultHooks.beta;
  hooks.inverseBeta = h.inverseBeta ? h.inverseBeta : kDefaultHooks.inverseBeta;
  hooks.pressureLoss = h.pressureLoss ? h.pressureLoss : kDefaultHooks.pressureLoss;
}

void ResetExperimentalHooks() noexcept { hooks = kDefaultHooks; }

void Initialize() {
  QCtest();
  ResetExperimentalHooks();
  userAlpha = {0.0, 0.0};
}

}  // namespace qmx::DP0
