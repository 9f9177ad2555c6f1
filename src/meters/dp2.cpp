// DP2: pipe and element dimensions (nominal sizes, schedules, pipe tables,
// dimension warnings, Annubar probe data).
#include "meters/dp2.hpp"

#include <array>

#include "meters/dp2_tables.hpp"

namespace qmx::DP2 {

namespace {

constexpr double kInch = 0.0254;

// Items of a comma-separated list, 0-based; empty when index is past the end.
std::string_view ListItem(std::string_view list, int index) {
  if (index < 0) return {};
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  const std::size_t end = list.find(',', start);
  return list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string_view PipeListItem(std::string_view list, int index) {
  if (index < 0 || index >= kNominalSizeCount) return {};
  return ListItem(list, index);
}

enum class TableKind { None, Carbon, Stainless };

TableKind KindOf(DP0::Material material) {
  switch (material) {
    case DP0::Material::CbSteelUS:
    case DP0::Material::CbSteelSI:
    case DP0::Material::CbSteel:
    case DP0::Material::CSlowTemp:
      return TableKind::Carbon;
    case DP0::Material::StSteelUS:
    case DP0::Material::SS304US:
    case DP0::Material::SS316US:
    case DP0::Material::StSteelSI:
    case DP0::Material::SS304SI:
    case DP0::Material::SS316SI:
    case DP0::Material::StSteel:
    case DP0::Material::SSduplex:
      return TableKind::Stainless;
    default:
      return TableKind::None;
  }
}

// Size code 1..44 to a table row, -1 for anything else.
int RowOf(NominalPipeSize size) {
  const int code = static_cast<int>(size);
  return (code >= 1 && code <= tables::kTableSizes) ? code - 1 : -1;
}

// Carbon-steel column of a schedule (Sch5 -> 0 .. XXS -> 13), -1 for invalid and other.
int CarbonColumn(PipeSchedule schedule) {
  const int s = static_cast<int>(schedule);
  return (s >= 1 && s <= tables::kCarbonColumns) ? s - 1 : -1;
}

// The wall in a carbon-steel column at the nearest listed size: this row, then smaller, then larger.
double CarbonEntry(int row, int column) {
  return tables::kCarbonWallIn[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

double NearestCarbonWall(int column, int row) {
  for (int r = row; r >= 0; --r) {
    if (CarbonEntry(r, column) > 0) return CarbonEntry(r, column);
  }
  for (int r = row + 1; r < tables::kTableSizes; ++r) {
    if (CarbonEntry(r, column) > 0) return CarbonEntry(r, column);
  }
  return 0.0;
}

double CarbonWallIn(PipeSchedule schedule, int row, bool& found) {
  const int column = CarbonColumn(schedule);
  if (column < 0) {
    found = false;
    return 0.0;
  }
  const double listed = CarbonEntry(row, column);
  if (listed > 0) {
    found = true;
    return listed;
  }
  found = false;
  const int xs = CarbonColumn(PipeSchedule::SchXS);
  switch (schedule) {
    case PipeSchedule::Sch5: return NearestCarbonWall(CarbonColumn(PipeSchedule::Sch10), row);
    case PipeSchedule::Sch20: return NearestCarbonWall(CarbonColumn(PipeSchedule::Sch40), row);
    case PipeSchedule::Sch60: return NearestCarbonWall(CarbonColumn(PipeSchedule::Sch80), row);
    case PipeSchedule::Sch100: return NearestCarbonWall(xs, row) * 1.244736842;
    case PipeSchedule::Sch120: return NearestCarbonWall(xs, row) * 1.489473684;
    case PipeSchedule::Sch140: return NearestCarbonWall(xs, row) * 1.734210526;
    case PipeSchedule::Sch160: return NearestCarbonWall(xs, row) * 1.978947368;
    case PipeSchedule::SchXXS: return NearestCarbonWall(xs, row) * 3.094736842;
    default: return NearestCarbonWall(column, row);
  }
}

// Stainless wall in m (column constants are stated in m).
double StainlessWall(PipeSchedule schedule, int row, bool& found) {
  int column = -1;
  bool substituted = false;
  switch (schedule) {
    case PipeSchedule::Sch5: column = 0; break;
    case PipeSchedule::Sch10: column = 1; break;
    case PipeSchedule::Sch40: column = 2; break;
    case PipeSchedule::Sch80: column = 3; break;
    case PipeSchedule::Sch20: column = 1; substituted = true; break;
    case PipeSchedule::Sch30:
    case PipeSchedule::SchSTD: column = 2; substituted = true; break;
    case PipeSchedule::Sch60: column = 3; substituted = true; break;
    default: break;
  }
  found = false;
  if (column < 0) return 0.0;
  const double listed = tables::kStainlessWallIn[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  if (listed > 0) {
    found = !substituted;
    return listed * kInch;
  }
  switch (column) {
    case 0: return row < RowOf(NominalPipeSize::Nps1_2) ? 0.001651 : 0.00635;
    case 1: return 0.0079248;
    case 2: return 0.009525;
    default: return 0.0127;
  }
}

constexpr std::array<std::string_view, kFlangeClassCount> kFlangeTexts = {
    "ANSI 150  ", "ANSI 300  ", "ANSI 400  ", "ANSI 600  ", "ANSI 900  ", "ANSI 1500 ", "ANSI 2500 ", "other "};

constexpr std::array<std::string_view, 16> kDimTexts = {
    "",
    "Pipe size-schedule is not listed in Miller Table 10.1 |",
    "dP is outside standard limits |",
    "Material differs from standard |",
    "Pipe size-schedule is not in standard tables |",
    "Pipe schedule is is not listed in AGA-3 part 2 table 2-3|",
    "Convergance failure |",
    "Pipe size-schedule is not listed in ASME B36.10M |",
    "Pipe size-schedule is not listed in ASME B36.19M |",
    "Pipe size-schedule is not listed in AGA-3 part 2 table 2-3 |",
    "Pipe size is not listed in ASME PTC-19.5 table 4-5.1 |",
    "DP is outside bounds of ASME PTC-19.5 table 4-5.1 |",
    "Material differs from ASME PTC-19.5 table 4-5.1 |",
    "ASME MFC-14M maximum pipe size is 1-1/2 inch |",
    "AGA & ISO minimum pipe diameter is 2 inch |",
    "",
};

constexpr std::array<std::string_view, kAnnubarTypeCount> kAnnubarNames = {
    "Annubar Type 10", "Annubar Type 15", "Annubar Type 16", "Annubar Type 25",
    "Annubar Type 26", "Annubar Type 35", "Annubar Type 36", "Annubar Type 45",
    "Annubar Type 46", "Annubar Type 485 size 1", "Annubar Type 485 size 2", "Annubar Type 485 size 3"};

// Probe widths: 0.183, 0.3576, 0.846, 1.23, 1.98, 0.59, 1.06 and 1.92 inch.
constexpr std::array<double, kAnnubarTypeCount> kAnnubarWidth = {
    0.0046482, 0.009083, 0.009083, 0.0214884, 0.0214884, 0.031242,
    0.031242, 0.050292, 0.050292, 0.014986, 0.026924, 0.048768};

struct AnnubarC {
  double c1;
  double c2;
};
constexpr std::array<AnnubarC, kAnnubarTypeCount> kAnnubarC = {{
    {1.20107, 1.38155}, {1.34966, 0.8468}, {1.34966, 0.8468}, {1.34966, 0.8468},
    {1.34966, 0.8468}, {1.34966, 0.8468}, {1.34966, 0.8468}, {1.34966, 0.8468},
    {1.34966, 0.8468}, {-1.515, 1.4229}, {-1.492, 1.4179}, {-1.5856, 1.3318}}};

}  // namespace

const std::string_view kPipeSizeShortList =
    "invalid,1/8\",1/4\",3/8\",1/2\",3/4\",1\",1-1/4\",1-1/2\",2\",2-1/2\",3\",3-1/2\",4\",5\","
    "6\",8\",10\",12\",14\",16\",18\",20\",22\",24\",26\",28\",30\",32\",34\",36\",38\",40\",42"
    "\",44\",46\",48\",52\",56\",60\",64\",68\",72\",76\",80\",other";

const std::string_view kPipeSizeLongList =
    "invalid,1/8\" (6 mm),1/4\" (8 mm),3/8\" (10 mm),1/2\" (15 mm),3/4\" (20 mm),1\" (25 mm),1-"
    "1/4\" (32 mm),1-1/2\" (40 mm),2\" (50 mm),2-1/2\" (65 mm),3\" (80 mm),3-1/2\" (90 mm),4\" "
    "(100 mm),5\" (125 mm),6\" (150 mm),8\" (200 mm),10\" (250 mm),12\" (300 mm),14\" (350 mm),"
    "16\" (400 mm),18\" (450 mm),20\" (500 mm),22\" (550 mm),24\" (600 mm),26\" (650 mm),28\" ("
    "700 mm),30\" (750 mm),32\" (800 mm),34\" (850 mm),36\" (900 mm),38\" (950 mm),40\" (1000 m"
    "m),42\" (1050 mm),44\" (1100 mm),46\" (1150 mm),48\" (1200 mm),52\" (1300 mm),56\" (1400 m"
    "m),60\" (1500 mm),64\" (1600 mm),68\" (1700 mm),72\" (1800 mm),76\" (1900 mm),80\" (2000 m"
    "m),other";

std::string PipeSizeName(NominalPipeSize size, bool withMetric) {
  return std::string(PipeListItem(withMetric ? kPipeSizeLongList : kPipeSizeShortList, static_cast<int>(size)));
}

std::string_view ScheduleKey(PipeSchedule schedule) {
  const int s = static_cast<int>(schedule);
  if (s < 0 || s >= kScheduleCount) return {};
  std::size_t start = 0;
  for (int i = 0; i < s; ++i) start = kScheduleKeys.find('|', start) + 1;
  return kScheduleKeys.substr(start, kScheduleKeys.find('|', start) - start);
}

PipeSchedule ScheduleFromKey(std::string_view key, bool& found) {
  for (int s = 0; s < kScheduleCount; ++s) {
    if (ScheduleKey(static_cast<PipeSchedule>(s)) == key) {
      found = true;
      return static_cast<PipeSchedule>(s);
    }
  }
  found = false;
  return PipeSchedule::SchInvalid;
}

std::string_view FlangeClassText(FlangeClass flange) {
  const auto f = static_cast<std::size_t>(flange);
  return f < kFlangeTexts.size() ? kFlangeTexts[f] : std::string_view{};
}

double OutsideDiameter(NominalPipeSize size) {
  const int row = RowOf(size);
  return row < 0 ? 0.0 : tables::kOutsideIn[static_cast<std::size_t>(row)] * kInch;
}

double WallThickness(DP0::Material material, PipeSchedule schedule, NominalPipeSize size, bool& found) {
  found = false;
  const int row = RowOf(size);
  if (row < 0) return 0.0;
  switch (KindOf(material)) {
    case TableKind::Carbon: return CarbonWallIn(schedule, row, found) * kInch;
    case TableKind::Stainless: return StainlessWall(schedule, row, found);
    case TableKind::None: break;
  }
  return 0.0;
}

double InsideDiameter(DP0::Material material, PipeSchedule schedule, NominalPipeSize size, bool& found) {
  const double wall = WallThickness(material, schedule, size, found);
  return OutsideDiameter(size) - 2.0 * wall;
}

std::string DimWarningText(DimWarnings warnings) {
  std::string text;
  for (int bit = 0; bit < 16; ++bit) {
    if (warnings & DimBit(bit)) text += kDimTexts[static_cast<std::size_t>(bit)];
  }
  return text;
}

std::string_view AnnubarName(AnnubarType code) {
  return code < kAnnubarTypeCount ? kAnnubarNames[code] : std::string_view{};
}

bool AnnubarProbeWidth(AnnubarType code, double& width) {
  if (code >= kAnnubarTypeCount) {
    width = 0.0;
    return false;
  }
  width = kAnnubarWidth[code];
  return true;
}

void AnnubarCoefficients(AnnubarType code, double& c1, double& c2) {
  const AnnubarC& c = kAnnubarC[code < kAnnubarTypeCount ? code : 0];
  c1 = c.c1;
  c2 = c.c2;
}

void SetAnnubarType(DP0::DPMeter& meter, AnnubarType code) {
  if (meter.type != DP0::MeterType::Pit_AnnM && meter.type != DP0::MeterType::Pit_AnnR) return;
  meter.element.annubar = code;
  double width = 0.0;
  if (AnnubarProbeWidth(code, width)) meter.d = width;
  AnnubarCoefficients(code, meter.element.c1, meter.element.c2);
}

}  // namespace qmx::DP2
