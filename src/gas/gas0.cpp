// Life of a mix record: validity mark, base conditions, reference sets, normalisation; and the
// name lists and unit rule of the property tags.
#include "gas/gas0.hpp"

#include <cmath>

#include "numerics/error.hpp"

namespace qmx::GAS0 {

std::string_view HMethodTitle(int code) {
  if (code < 0 || code >= kHMethodCount) code = AGA5method;
  return kHMethodTitles[static_cast<std::size_t>(code)];
}

// The titles are those of the component tables; an unknown code gets a blank title.
std::string DataSourceTitle(int code) {
  std::string title = GAS1::DataSourceTitle(code);
  if (title.size() < kDataSourceTitleLength) title.resize(kDataSourceTitleLength, ' ');
  return title;
}

std::string_view ListItem(std::string_view list, int index) {
  if (index < 0) return {};
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  const std::size_t end = list.find(',', start);
  if (end == std::string_view::npos) return {};
  return list.substr(start, end - start);
}

int ListIndex(std::string_view list, std::string_view name, int fallback) {
  std::size_t start = 0;
  for (int i = 0;; ++i) {
    const std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) return fallback;
    if (list.substr(start, end - start) == name) return i;
    start = end + 1;
  }
}

std::string_view TagName(int tag) { return ListItem(kTagNames, tag); }
std::string_view TagMksUnit(int tag) { return ListItem(kTagMksUnits, tag); }
std::string_view TagUsUnit(int tag) { return ListItem(kTagUsUnits, tag); }

namespace {

// Factor from the MKS unit of a tag to its US unit (temperatures are handled apart).
double UsFactor(std::string_view mks) {
  if (mks == "pa") return 0.00014503773773020924;
  if (mks == "j/kmole" || mks == "j/kg") return 0.0004299226139294927;
  if (mks == "j/m3") return 2.6839191993183404e-05;
  if (mks == "j/kg*K") return 0.00023884589662749592;
  if (mks == "pa*s") return 1000.0;
  if (mks == "kg/m3" || mks == "kmole/m3") return 0.06242796057614;
  if (mks == "K/pa") return 12410.563127702999;
  if (mks == "m/s") return 3.28083989501312;
  if (mks == "j") return 0.000947817120313317;
  return 1.0;
}

}  // namespace

double ToUS(int tag, double mks) {
  if (tag < 0 || tag >= kTagCount) return mks;
  const std::string_view unit = TagMksUnit(tag);
  if (unit == "K") return mks * 1.8 - 459.67;
  return mks * UsFactor(unit);
}

double FromUS(int tag, double us) {
  if (tag < 0 || tag >= kTagCount) return us;
  const std::string_view unit = TagMksUnit(tag);
  if (unit == "K") return (us + 459.67) / 1.8;
  return us / UsFactor(unit);
}

BaseTP BaseForUnitSet(int unitSet) {
  switch (unitSet) {
    case 1: return {101325.0, 288.15};
    case 2: return {101325.0, 293.15};
    case 3: return {101325.0, 273.15};
    default: return {kP1473, kT60F};
  }
}

void KillMix0(GMix& mix) {
  MixRecord& m = Checked(mix, "GAS0.KillMix0() invalid mix");
  m = MixRecord{};  // clears every field, the mark included
  mix.reset();
}

void SetRefTP0(const GMix& mix, int code) {
  MixRecord& m = Checked(mix, "GAS0.SetRefTP0() invalid mix");
  if (code < 0 || code >= kRefTPsetCount) code = SPLrefTP;
  m.sref = kRefTP[static_cast<std::size_t>(code)];
}

void SetTbase0(const GMix& mix, double T) {
  MixRecord& m = Checked(mix, "GAS0.SetTbase0() invalid mix");
  m.base[Tt - 17] = T;
  if (!m.htcOverride) m.heat[THc - 17] = T;
}

void SetPbase0(const GMix& mix, double P) {
  MixRecord& m = Checked(mix, "GAS0.SetPbase0() invalid mix");
  m.base[Pp - 17] = P;
}

void SetBase0(const GMix& mix, double P, double T) {
  MixRecord& m = Checked(mix, "GAS0.SetBase0 invalid mix");
  m.base[Tt - 17] = T;
  m.base[Pp - 17] = P;
  m.flowing[Tt - 17] = T;
  m.flowing[Pp - 17] = P;
  if (!m.htcOverride) m.heat[THc - 17] = T;
}

void Normalize0(const GMix& mix) { NormalizeSlate(Checked(mix, "GAS0.Normalize0()")); }

void NormalizeSlate(MixRecord& m) {
  double sum = 0.0;
  for (double s : m.S) {
    if (std::isfinite(s)) sum += std::fabs(s);
  }
  for (std::size_t i = 0; i < m.S.size(); ++i) {
    const double a = std::isfinite(m.S[i]) ? std::fabs(m.S[i]) : 0.0;
    m.present[i] = a > 0.0 && sum > 0.0 && std::isfinite(sum);
    m.X[i] = m.present[i] ? a / sum : 0.0;
  }
  m.baseDirty = true;
}

void NormalizeWet0(const GMix& mix, double Pvw, double P) {
  NormalizeWetSlate(Checked(mix, "GAS0.Normalize0()"), Pvw, P);
}

void NormalizeWetSlate(MixRecord& m, double Pvw, double P) {
  double xw = (P > 0.0 && std::isfinite(P) && Pvw > 0.0) ? Pvw / P : 0.0;
  if (!(xw <= 1.0)) xw = 1.0;
  double dry = 0.0;
  for (std::size_t i = 0; i < m.S.size(); ++i) {
    if (i != H2O && m.S[i] > 0.0 && std::isfinite(m.S[i])) dry += m.S[i];
  }
  for (std::size_t i = 0; i < m.S.size(); ++i) {
    if (i == H2O) continue;
    m.present[i] = m.S[i] > 0.0 && std::isfinite(m.S[i]) && dry > 0.0 && std::isfinite(dry);
    // The dry components share 1 - xw in proportion to their raw values.
    m.X[i] = m.present[i] ? m.S[i] * (1.0 - xw) / dry : 0.0;
  }
  // Without any dry component the gas is all water.
  if (!(dry > 0.0 && std::isfinite(dry))) xw = 1.0;
  m.X[H2O] = xw;
  m.present[H2O] = xw > 0.0;
  m.baseDirty = true;
}

}  // namespace qmx::GAS0
