// KEY=VALUE handling shared by the calculator commands.
#include "calc_keys.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "app/display_units.hpp"
#include "command.hpp"
#include "gas/gas1.hpp"
#include "gas/heating.hpp"
#include "meters/dp0.hpp"
#include "meters/dp2.hpp"
#include "numerics/error.hpp"
#include "units/fe.hpp"
#include "units/fum.hpp"
#include "units/utf8.hpp"

namespace qmx::cli {
namespace {

using QMXcalc::State;

const std::array<DvKey, 19> kDvInputs = {{
    {"dp", &State::dp, After::Absolute},
    {"static_pressure", &State::staticPressure, After::Absolute},
    {"atmospheric_pressure", &State::atmosphericPressure, After::Absolute},
    {"upstream_pressure", &State::upstreamPressure, After::Gauge},
    {"flowing_temperature", &State::flowingTemperature, After::None},
    {"base_temperature", &State::baseTemperature, After::None},
    {"base_pressure", &State::basePressure, After::None},
    {"pipe_diameter", &State::pipeDiameter, After::Bore},
    {"throat_diameter", &State::throatDiameter, After::Beta},
    {"pipe_ref_temperature", &State::pipeRefTemperature, After::None},
    {"throat_ref_temperature", &State::throatRefTemperature, After::None},
    {"k_factor", &State::kFactor, After::None},
    {"gcn_heating_value", &State::gcnHeatingValue, After::None},
    {"gcn_viscosity", &State::gcnViscosity, After::None},
    {"api_gravity", &State::apiGravity, After::None},
    {"base_density", &State::baseDensity, After::RelativeDensity},
    {"thermal_expansion", &State::thermalExpansion, After::None},
    {"liquid_density", &State::liquidDensity, After::None},
    {"liquid_viscosity", &State::liquidViscosity, After::None},
}};

const std::array<RvKey, 9> kRvInputs = {{
    {"frequency", &State::frequency, After::None},
    {"beta", &State::beta, After::Bore},
    {"fixed_cd", &State::fixedCd, After::None},
    {"gcn_relative_density", &State::gcnRelativeDensity, After::None},
    {"gcn_co2", &State::gcnCO2, After::None},
    {"gcn_n2", &State::gcnN2, After::None},
    {"gcn_h2", &State::gcnH2, After::None},
    {"gcn_co", &State::gcnCO, After::None},
    {"liquid_relative_density", &State::liquidRelativeDensity, After::BaseDensity},
}};

constexpr std::string_view kFluidNames[] = {"gas",    "steam",    "gcn",      "liquid",
                                            "hcliquid", "drysteam", "testfluid"};
constexpr std::string_view kHeaderKeys[] = {"company", "prepared_by", "location", "well", "meter_tag"};
constexpr std::string_view kComponentKeys[] = {"C1",  "N2",  "CO2", "C2",  "C3",  "H2O", "H2S",
                                               "H2",  "CO",  "O2",  "iC4", "nC4", "iC5", "nC5",
                                               "nC6", "nC7", "nC8", "nC9", "nC10", "He", "Ar"};

[[noreturn]] void Refuse(std::string_view key, std::string_view reason) {
  throw UsageError(std::string(key) + ": " + std::string(reason));
}

// The SI unit string of a dimension vector (metre, kilogram, second, kelvin, kilogram-mole).
std::string SiUnit(const FUM::Dims& dims) {
  static constexpr std::string_view kBase[] = {"m", "kg", "s", "K", "kmole"};
  std::string num, den;
  for (int i = 0; i < 5; ++i) {
    const int e = dims[static_cast<std::size_t>(i)];
    if (e == 0) continue;
    std::string& part = e > 0 ? num : den;
    if (!part.empty()) part += '*';
    part += kBase[i];
    if (std::abs(e) != 1) part += std::to_string(std::abs(e));
  }
  if (num.empty()) num = "null";
  return den.empty() ? num : num + "/" + den;
}

// A whole number within [lo, hi].
int ParseIndex(std::string_view key, const std::string& text, int lo, int hi) {
  std::int64_t v = 0;
  if (!FE::StrToInt(text, v) || v < lo || v > hi) {
    Refuse(key, "not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ": \"" +
                    text + "\"");
  }
  return static_cast<int>(v);
}

// Averaging pitot tubes (their probe width is the throat) and the gas turbine.
bool ProbeMeter(int meter) { return (meter >= 31 && meter <= 34) || meter == 39; }

// The throat and beta of these meters are not inputs; an entry would be lost when the saved
// bore is restored on leaving the meter.
void RefuseFixedThroat(std::string_view key, int meter) {
  if (ProbeMeter(meter)) {
    Refuse(key, "not an input for meter " + std::to_string(meter) + " (\"" +
                    std::string(QMXcalc::MeterChoiceText(meter)) + "\")");
  }
}

void Update(After after) {
  switch (after) {
    case After::Absolute: QMXcalc::UpdateAbsolutePressure(); break;
    case After::Gauge: QMXcalc::UpdateGaugePressure(); break;
    case After::Beta: QMXcalc::UpdateBeta(); break;
    case After::Bore: QMXcalc::UpdateBore(); break;
    case After::RelativeDensity: QMXcalc::UpdateRelativeDensity(); break;
    case After::BaseDensity: QMXcalc::UpdateBaseDensity(); break;
    case After::None: break;
  }
}

// The limits in force, as " (limits: at least a, at most b UNIT)", or nothing; SI limits are
// shown in `unit` when one is given.
std::string LimitsText(bool minSet, double minimum, bool maxSet, double maximum, std::string_view unit) {
  if (!minSet && !maxSet) return {};
  auto number = [unit](double x) {
    if (!unit.empty()) {
      FUM::UnitErrors errors = 0;
      bool formulaic = false;
      FUM::Dims dims{};
      double shown = x;
      FUM::uConvert(errors, formulaic, dims, unit, shown, false, x);
      if (errors == 0) x = shown;
    }
    std::string t;
    FE::LONGREALtoStr(t, 6, x);
    return t;
  };
  std::string low = minSet ? number(minimum) : "";
  std::string high = maxSet ? number(maximum) : "";
  // A decreasing unit (API gravity of a density) turns the lower limit into the upper one.
  if (minSet && maxSet) {
    double a = 0.0, b = 0.0;
    if (FE::StrToReal(low, a) && FE::StrToReal(high, b) && a > b) std::swap(low, high);
  }
  std::string text = " (limits:";
  if (minSet) text += " at least " + low;
  if (minSet && maxSet) text += ",";
  if (maxSet) text += " at most " + high;
  if (!unit.empty()) text += " " + std::string(unit);
  return text + ")";
}

// The meters the meter list offers, as "0 (Classical venturi, ISO 5167(2003)), 3 (Cone meter, spool), ...".
std::string MeterList() {
  std::string text;
  for (const QMXcalc::MeterChoice& c : QMXcalc::kMeterChoices) {
    if (!text.empty()) text += ", ";
    text += std::to_string(c.meter) + " (" + std::string(c.text) + ")";
  }
  return text;
}

constexpr std::string_view kTapNames[] = {"corner", "flange", "D and D/2"};

// "12kpa" as "12 kpa": the longest number at the start followed by a letter, or "".
std::string SplitSuggestion(const std::string& value) {
  std::string suggestion;
  for (std::size_t i = 1; i < value.size(); ++i) {
    const char c = value[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$';
    if (letter && NumberText(value.substr(0, i))) suggestion = value.substr(0, i) + " " + value.substr(i);
  }
  return suggestion;
}

// The largest SI value a field can show: its display unit (and the entry unit) must still
// give a finite number.
double LargestValue(const FUM::DVal& dv, std::string_view unit) {
  double largest = std::numeric_limits<double>::max();
  for (std::string_view u : {std::string_view(dv.units), unit}) {
    FUM::UnitErrors errors = 0;
    bool formulaic = false;
    FUM::Dims dims{};
    double si = 1.0;
    FUM::uConvert(errors, formulaic, dims, u, si, true, 1.0);
    if (errors == 0 && !formulaic && si > 0.0 && si < 1.0) largest = std::min(largest, si * std::numeric_limits<double>::max());
  }
  return largest;
}

void EnterDv(std::string_view key, const std::string& value, FUM::DVal& dv) {
  // "number" or "number unit", blanks around either ignored.
  std::string_view text(value);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  std::string number(text), unit;
  if (const auto blank = text.find_first_of(" \t"); blank != std::string_view::npos) {
    number = std::string(text.substr(0, blank));
    unit = std::string(text.substr(text.find_first_not_of(" \t", blank)));
  }
  const std::optional<std::string> parsed = NumberText(number);
  if (!parsed) {
    const std::string split = unit.empty() ? SplitSuggestion(number) : std::string();
    Refuse(key, "not a finite number: \"" + value + "\"" +
                    (split.empty() ? "" : " (write the number and the unit apart, as \"" + split + "\")"));
  }
  if (unit.empty()) unit = SiUnit(FUM::uDVgetDims(dv));
  if (!FUM::uDVcheckUnits(unit, dv)) Refuse(key, "unit \"" + unit + "\" does not fit");
  if (!FUM::uDVsetValStrTempUnits(unit, *parsed, dv)) {
    // A field without an upper limit still holds only what its units can show.
    const bool maxSet = dv.maxSet || !dv.formulaic;
    const double maximum = dv.maxSet ? dv.maximum : LargestValue(dv, unit);
    Refuse(key, "value refused: \"" + value + "\"" +
                    LimitsText(dv.minSet, dv.minimum, maxSet, maximum, unit));
  }
}

// Natural gas is calculated with its volume reference at the base conditions, which the air
// reference admits only within a range: refused here as an entry outside its limits.
void CheckGasBase() {
  State& s = QMXcalc::Calc();
  if (s.fluid != 0 && s.fluid != 2) return;
  struct Base {
    std::string_view key;
    FUM::DVal& dv;
    double low, high;
  };
  for (const Base& b : {Base{"base_temperature", *s.baseTemperature, GAS1::kAirTmin, GAS1::kAirTmax},
                        Base{"base_pressure", *s.basePressure, GAS1::kAirPmin, GAS1::kAirPmax}}) {
    const double v = FUM::uDVgetMKS(b.dv);
    if (v >= b.low && v <= b.high) continue;
    std::string shown, unit;
    FUM::uDVgetValStr(shown, b.dv);
    FUM::uDVgetUnits(unit, b.dv);
    const double low = b.dv.minSet ? std::max(b.low, b.dv.minimum) : b.low;
    const double high = b.dv.maxSet ? std::min(b.high, b.dv.maximum) : b.high;
    Refuse(b.key, "value refused for natural gas: \"" + shown + " " + unit + "\"" +
                      LimitsText(true, low, true, high, unit));
  }
}

}  // namespace

void ApplyCalcKey(const std::string& pair, bool& changed) {
  const auto eq = pair.find('=');
  if (eq == std::string::npos || eq == 0) throw UsageError("not KEY=VALUE: \"" + pair + "\"");
  const std::string key = pair.substr(0, eq);
  const std::string value = pair.substr(eq + 1);
  State& s = QMXcalc::Calc();
  for (const DvKey& k : kDvInputs) {
    if (key == k.key) {
      if (k.field == &State::throatDiameter) RefuseFixedThroat(key, s.meter);
      EnterDv(key, value, *(s.*k.field));
      Update(k.after);
      changed = true;
      return;
    }
  }
  for (const RvKey& k : kRvInputs) {
    if (key == k.key) {
      if (k.field == &State::beta) RefuseFixedThroat(key, s.meter);
      // RVal entries are in the field's display mode; a fraction is given here.
      double v = 0.0;
      if (!ReadNumber(value, v)) Refuse(key, "not a finite number: \"" + value + "\"");
      FI::RVal& rv = *(s.*k.field);
      // The shortest text that reads back to the same double: the field's own writer keeps only
      // 15 significant digits in its fixed form, which would round a 16- or 17-digit entry.
      std::array<char, 32> digits{};
      const double shown = rv.mode == FI::DisplayMode::Percent ? v * 100.0 : v;
      const auto written = std::to_chars(digits.data(), digits.data() + digits.size(), shown);
      const std::string text(digits.data(), written.ptr);
      if (!FI::RVsetValStr(text, rv)) {
        Refuse(key, "value refused: \"" + value + "\"" +
                        LimitsText(rv.minimumSet, rv.minimum, rv.maximumSet, rv.maximum, ""));
      }
      Update(k.after);
      changed = true;
      return;
    }
  }
  for (std::size_t i = 0; i < std::size(kHeaderKeys); ++i) {
    if (key == kHeaderKeys[i]) {
      const std::optional<std::size_t> length = UTF8::Length(value);
      if (!length) Refuse(key, "not valid UTF-8 text (bytes of another encoding?)");
      if (*length > QMXcalc::kHeaderLength) {
        Refuse(key, "longer than 100 characters (" + std::to_string(*length) + ")");
      }
      QMXcalc::SetHeaderText(static_cast<int>(i), value);
      return;
    }
  }
  if (key.rfind("x.", 0) == 0) {
    for (std::size_t i = 0; i < std::size(kComponentKeys); ++i) {
      if (key.substr(2) == kComponentKeys[i]) {
        double v = 0.0;
        if (!ReadNumber(value, v) || !(v >= 0.0 && v <= 100.0)) {
          Refuse(key, "not a percentage from 0 to 100: \"" + value + "\"");
        }
        QMXcalc::SetComponentText(changed, value, static_cast<int>(i));
        return;
      }
    }
  }
  if (key == "fluid") {
    for (std::size_t i = 0; i < std::size(kFluidNames); ++i) {
      if (value == kFluidNames[i]) return QMXcalc::SetFluid(changed, static_cast<int>(i));
    }
    return QMXcalc::SetFluid(changed, ParseIndex(key, value, 0, 6));
  }
  if (key == "meter") {
    int code = 0;
    DP0::MeterType type{};
    std::int64_t n = 0;
    if (FE::StrToInt(value, n)) {
      code = n >= 0 && n < DP0::kMeterTypeCount ? static_cast<int>(n) : -1;
    } else if (DP0::DeviceFromKey(value, type)) {
      code = static_cast<int>(type);
    } else {
      Refuse(key, "no such meter: \"" + value + "\"; the meters are " + MeterList());
    }
    try {
      QMXcalc::SetMeter(changed, code == 39 ? 1 : 0, code);
    } catch (const Error& e) {
      Refuse(key, e.message() + " \"" + value + "\"; the meters are " + MeterList());
    }
    if (code == 33) QMXcalc::SetProbeModel(changed, 0);
    // As the Settings page does next: the AGA-3 orifices take flange taps, and the throat
    // follows the beta ratio under the new meter's definition of beta.
    if (code == 14 || code == 15) QMXcalc::SetTaps(changed, 1);
    QMXcalc::UpdateBore();
    return;
  }
  if (key == "taps") {
    // The ISO orifice offers the choice; the small-bore orifices calculate with the stored tap
    // type, so it is taken there too. The AGA-3 orifices take flange taps, and other meters
    // have none.
    const int tap = ParseIndex(key, value, 0, 2);
    const bool choice = s.meter == 12 || s.meter == 24 || s.meter == 25;
    if (tap != s.taps && !choice) {
      Refuse(key, "the tap type is chosen only for meter 12 (\"Orifice meter, ISO 5167(2003)\") and meter 24 (\"Small bore orifice, ASME MFC-14M\"); select the meter first");
    }
    return QMXcalc::SetTaps(changed, tap);
  }
  if (key == "tube_material" || key == "throat_material") {
    DP0::Material m{};
    std::int64_t n = 0;
    int code = 0;
    if (FE::StrToInt(value, n) && n >= 0 && n < DP0::kMaterialCount) {
      code = static_cast<int>(n);
    } else if (DP0::MaterialFromName(value, false, m) || DP0::MaterialFromName(value, true, m)) {
      code = static_cast<int>(m);
    } else {
      Refuse(key, "no such material: \"" + value + "\"");
    }
    return key == "tube_material" ? QMXcalc::SetTubeMaterial(changed, code)
                                  : QMXcalc::SetThroatMaterial(changed, code);
  }
  if (key == "probe_model") {
    // The probe width becomes the throat, so another meter's bore would be overwritten.
    const int model = ParseIndex(key, value, 0, 11);
    if (s.meter < 31 || s.meter > 34) {
      Refuse(key, "the probe model is chosen only for the averaging pitot tube (meter 33); select the meter first");
    }
    return QMXcalc::SetProbeModel(changed, model);
  }
  if (key == "liquid_product") {
    // A new product brings its base density and viscosity, as the liquid page does.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kPresets = {
        {{"54.0", "6.0"}, {"44.9", "0.4"}, {"49.9", "0.4"}, {"55.642", "25.0"}}};
    const int product = ParseIndex(key, value, 0, 3);
    bool productChanged = false;
    QMXcalc::SetLiquidProduct(productChanged, product);
    if (productChanged) {
      const auto& [density, viscosity] = kPresets[static_cast<std::size_t>(product)];
      FUM::uDVsetValStrTempUnits("lbm/ft3", density, *s.baseDensity);
      FUM::uDVsetValStrTempUnits("cp", viscosity, *s.liquidViscosity);
      QMXcalc::UpdateRelativeDensity();
      changed = true;
    }
    return;
  }
  // Table 8 is a testing slot with no data.
  if (key == "heating_value_table") return QMXcalc::SetHeatingValueTable(changed, ParseIndex(key, value, 0, 7));
  if (key == "energy_method") return QMXcalc::SetEnergyMethod(changed, ParseIndex(key, value, 0, 2));
  if (key == "gas_preset") return QMXcalc::SetStdGasComp(changed, ParseIndex(key, value, 0, 15));
  throw UsageError("unknown key: \"" + key + "\"");
}


std::string KeysHelp() {
  std::string text = "Keys, applied in order from the defaults:";
  std::size_t column = 0;
  // Starts a group line, then adds its words wrapped at 100 columns.
  auto group = [&](std::string_view title) {
    text += "\n  " + std::string(title) + ":";
    column = title.size() + 3;
  };
  auto word = [&](std::string_view w) {
    if (column + 1 + w.size() > 100) {
      text += "\n   ";
      column = 3;
    }
    text += " " + std::string(w);
    column += 1 + w.size();
  };
  group("selections");
  for (std::string_view w : {"fluid (0..6 or gas, steam, gcn, liquid, hcliquid, drysteam, testfluid),",
                             "meter (code or key),", "taps,", "tube_material,", "throat_material,",
                             "probe_model,", "liquid_product,", "heating_value_table,", "energy_method,",
                             "gas_preset"}) {
    word(w);
  }
  group("dimensioned values (SI, or \"number unit\")");
  for (const DvKey& k : kDvInputs) word(k.key);
  group("fractions");
  for (const RvKey& k : kRvInputs) word(k.key);
  group("mole percent");
  for (std::string_view c : kComponentKeys) word("x." + std::string(c));
  group("header texts");
  for (std::string_view h : kHeaderKeys) word(h);
  word("(UTF-8, at most 100 characters each)");
  // The choices, one per line.
  auto list = [&](std::string_view title) { text += "\n  " + std::string(title) + ":"; };
  auto item = [&](const std::string& line) { text += "\n    " + line; };
  list("fluid");
  for (std::size_t i = 0; i < std::size(kFluidNames); ++i) item(std::to_string(i) + "  " + std::string(kFluidNames[i]));
  list("meter (code, or the key of that code)");
  for (const QMXcalc::MeterChoice& c : QMXcalc::kMeterChoices) {
    item(std::to_string(c.meter) + "  " + std::string(DP0::DeviceKey(static_cast<DP0::MeterType>(c.meter))) +
         "  " + std::string(c.text));
  }
  list("taps (meters 12 and 24)");
  for (std::size_t i = 0; i < std::size(kTapNames); ++i) item(std::to_string(i) + "  " + std::string(kTapNames[i]));
  list("tube_material, throat_material (code, key or name)");
  for (int m = 0; m < DP0::kMaterialCount; ++m) {
    const auto material = static_cast<DP0::Material>(m);
    item(std::to_string(m) + "  " + std::string(DP0::MaterialName(material, false)) + "  " +
         std::string(DP0::MaterialName(material, true)));
  }
  list("probe_model (meter 33)");
  for (int p = 0; p < DP2::kAnnubarTypeCount; ++p) {
    item(std::to_string(p) + "  " + std::string(DP2::AnnubarName(static_cast<DP2::AnnubarType>(p))));
  }
  return text;
}

namespace {
constexpr std::string_view kUnitSystemKeys[] = {"si", "common", "mks", "us"};
constexpr std::string_view kUnitPrefix = "unit.";
}  // namespace

std::span<const std::string_view> UnitSystemKeys() { return kUnitSystemKeys; }

std::vector<std::string> TakeUnitKeys(std::vector<std::string>& pairs) {
  std::vector<std::string> taken;
  std::vector<std::string> kept;
  for (std::string& p : pairs) {
    (p.rfind(kUnitPrefix, 0) == 0 ? taken : kept).push_back(std::move(p));
  }
  pairs = std::move(kept);
  return taken;
}

void ApplyDisplayUnits(std::string_view system, const std::vector<std::string>& unitPairs) {
  // Everything is checked before anything changes.
  int systemIndex = -1;
  if (!system.empty()) {
    for (std::size_t i = 0; i < std::size(kUnitSystemKeys); ++i) {
      if (system == kUnitSystemKeys[i]) systemIndex = static_cast<int>(i);
    }
    if (systemIndex < 0) {
      throw UsageError("--units: no such unit system: \"" + std::string(system) + "\" (si, common, mks or us)");
    }
  }
  std::vector<std::pair<int, std::string>> lists;
  for (const std::string& pair : unitPairs) {
    const auto eq = pair.find('=');
    const std::string key = pair.substr(0, eq);
    if (eq == std::string::npos || key.rfind(kUnitPrefix, 0) != 0) {
      throw UsageError("not unit.LIST=UNIT: \"" + pair + "\"");
    }
    const int list = QMXcalc::UnitListByKey(std::string_view(key).substr(kUnitPrefix.size()));
    if (list < 0) {
      std::string names;
      for (int i = 0; i < QMXcalc::kUnitListCount; ++i) {
        names += (i == 0 ? "" : ", ") + std::string(QMXcalc::UnitListOf(i).key);
      }
      throw UsageError("unknown key: \"" + key + "\" (the unit lists are " + names + ")");
    }
    lists.emplace_back(list, pair.substr(eq + 1));
  }
  if (systemIndex >= 0) QMXcalc::MasterUnitSelect(systemIndex);
  // A refusal changes nothing, so the lists are tried in order and the first misfit is reported.
  for (const auto& [list, unit] : lists) {
    if (!QMXcalc::SetListUnits(list, unit)) {
      const QMXcalc::UnitListInfo& info = QMXcalc::UnitListOf(list);
      throw UsageError("unit." + std::string(info.key) + ": unit \"" + unit + "\" does not fit: " +
                       std::string(info.hint));
    }
  }
}

std::string DisplayUnitsHelp() {
  std::string text =
      "Display units (the JSON text and unit members and the report; SI values do not change):\n"
      "  --units si|common|mks|us   SI preferred metric, Common metric, MKS base metric, US inch-pound\n"
      "  unit.LIST=UNIT             one list's unit, applied after --units and the other keys:";
  for (int i = 0; i < QMXcalc::kUnitListCount; ++i) {
    const QMXcalc::UnitListInfo& info = QMXcalc::UnitListOf(i);
    std::string line = "\n    unit." + std::string(info.key);
    line.resize(std::max<std::size_t>(line.size(), 30), ' ');
    std::string offered;
    for (std::string_view u : info.offered) offered += (offered.empty() ? "" : " ") + std::string(u);
    text += line + std::string(info.label) + ": " + offered;
  }
  text += "\n  The actual volume flow takes unit.liquid_volume_flow while the fluid is a liquid and"
          "\n  unit.gas_volume_flow otherwise; the four total lists choose the units of the totals of"
          "\n  qmxcli batch --totals (calc and report show no totals).";
  return text;
}

std::span<const DvKey> DvInputKeys() { return kDvInputs; }
std::span<const RvKey> RvInputKeys() { return kRvInputs; }
std::span<const std::string_view> HeaderKeys() { return kHeaderKeys; }
std::span<const std::string_view> ComponentKeys() { return kComponentKeys; }

void CalculateWith(const std::vector<std::string>& pairs) {
  // Module start ends with Reset; a state that was already started is reset here.
  if (QMXcalc::IsInitialized()) {
    QMXcalc::Reset();
  } else {
    QMXcalc::Initialize();
  }
  ApplyCalcKeys(pairs);
  bool changed = true;
  QMXcalc::Calculate(changed);
}

void ApplyCalcKeys(const std::vector<std::string>& pairs) {
  bool changed = false;
  for (const std::string& p : pairs) ApplyCalcKey(p, changed);
  // Entries that sum to nothing are no mixture; it is refused rather than computed as methane.
  if (!(GAS1::MixSumX(QMXcalc::Calc().detailMix, 0) > 0.0)) {
    throw UsageError("x.*: the mole percentages sum to 0; enter at least one component");
  }
  CheckGasBase();
}

}  // namespace qmx::cli
