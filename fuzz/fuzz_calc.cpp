// Fuzzes the calculation state: a run of edits (selections, field entries as text in SI, raw
// values including NaN and infinity, dependent updates, presets, component texts), then
// Calculate and the report of the result. Raised messages are expected; a crash, a hang or a
// sanitizer report is not.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/qmxcalc.hpp"
#include "app/qmxreport.hpp"
#include "numerics/error.hpp"
#include "reports/report.hpp"
#include "units/fe.hpp"

namespace QC = qmx::QMXcalc;
using QC::State;

namespace {

constexpr std::array<QC::DV State::*, 19> kDvFields = {
    &State::dp,           &State::staticPressure,     &State::atmosphericPressure,
    &State::upstreamPressure, &State::flowingTemperature, &State::baseTemperature,
    &State::basePressure, &State::pipeDiameter,       &State::throatDiameter,
    &State::pipeRefTemperature, &State::throatRefTemperature, &State::kFactor,
    &State::gcnHeatingValue, &State::gcnViscosity,    &State::apiGravity,
    &State::baseDensity,  &State::thermalExpansion,   &State::liquidDensity,
    &State::liquidViscosity};

constexpr std::array<QC::RV State::*, 9> kRvFields = {
    &State::frequency, &State::beta,   &State::fixedCd, &State::gcnRelativeDensity, &State::gcnCO2,
    &State::gcnN2,     &State::gcnH2,  &State::gcnCO,   &State::liquidRelativeDensity};

// Reads the input a byte or a double at a time; past the end it gives zeros.
struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;
  bool More() const { return pos < size; }
  std::uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  double Real() {
    double v = 0.0;
    const std::size_t n = std::min(sizeof v, size - std::min(pos, size));
    std::memcpy(&v, data + pos, n);
    pos += n;
    return v;
  }
};

void Edit(Reader& in, bool& changed) {
  State& s = QC::Calc();
  const std::uint8_t op = in.Byte();
  const std::uint8_t arg = in.Byte();
  switch (op % 16) {
    case 0: QC::SetFluid(changed, arg % 8); break;
    case 1: QC::SetMeter(changed, arg & 1, arg % 41); break;
    case 2: QC::SetTaps(changed, arg % 4); break;
    case 3: QC::SetProbeModel(changed, arg % 13); break;
    case 4: QC::SetTubeMaterial(changed, arg % 26); break;
    case 5: QC::SetThroatMaterial(changed, arg % 26); break;
    case 6: QC::SetLiquidProduct(changed, arg % 5); break;
    case 7: QC::SetStdGasComp(changed, arg % 17); break;
    case 8: QC::SetHeatingValueTable(changed, arg % 10); break;
    case 9: QC::SetEnergyMethod(changed, arg % 3); break;
    case 10: {  // an entry as the pages take it: a text in SI units
      std::string text;
      qmx::FE::LONGREALtoStr(text, 17, in.Real());
      if (arg & 0x80) {
        qmx::FI::RVsetValStr(text, *(s.*kRvFields[arg % kRvFields.size()]));
      } else {
        qmx::FUM::DVal& dv = *(s.*kDvFields[arg % kDvFields.size()]);
        std::string unit;
        qmx::FUM::uDVgetUnits(unit, dv);
        qmx::FUM::uDVsetValStrTempUnits(unit, text, dv);
      }
      changed = true;
      break;
    }
    case 11: {  // a raw value, beyond what the entry limits let through
      const double v = in.Real();
      if (arg & 0x80) {
        qmx::FI::RVsetLReal(v, *(s.*kRvFields[arg % kRvFields.size()]));
      } else {
        qmx::FUM::uDVsetMKS(v, *(s.*kDvFields[arg % kDvFields.size()]));
      }
      changed = true;
      break;
    }
    case 12: {
      std::string text(reinterpret_cast<const char*>(in.data + in.pos),
                       std::min<std::size_t>(arg % 24, in.size - std::min(in.pos, in.size)));
      in.pos += text.size();
      QC::SetComponentText(changed, text, arg % 22);
      break;
    }
    case 13:
      switch (arg % 6) {
        case 0: QC::UpdateAbsolutePressure(); break;
        case 1: QC::UpdateGaugePressure(); break;
        case 2: QC::UpdateBeta(); break;
        case 3: QC::UpdateBore(); break;
        case 4: QC::UpdateRelativeDensity(); break;
        default: QC::UpdateBaseDensity(); break;
      }
      changed = true;
      break;
    case 14: QC::EstimateLiquidViscosity(); break;
    default: QC::Calculate(changed); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A fresh state for every input, so that a failing input reproduces on its own.
  QC::Finalize();
  QC::Initialize();
  Reader in{data, size};
  bool changed = false;
  for (int step = 0; step < 64 && in.More(); ++step) {
    try {
      Edit(in, changed);
    } catch (const qmx::Error&) {
    }
  }
  changed = true;
  try {
    QC::Calculate(changed);
  } catch (const qmx::Error&) {
  }
  qmx::Report::ReportData report;
  QC::FillReport(report);
  for (const bool csv : {false, true}) qmx::Report::ReportText(csv, report);
  return 0;
}
