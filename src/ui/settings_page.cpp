#include "ui/settings_page.hpp"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "numerics/error.hpp"
#include "ui/enabling_rules.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

namespace {

constexpr const char* kModule = "QMXsettings";

struct FluidChoice {
  int kind;
  const char* name;  // object name: the fluid key of the command line
  const char* text;
};
constexpr std::array<FluidChoice, 6> kFluids = {{
    {QMXcalc::kNaturalGas, "fluid_gas", "Natural gas (composition)"},
    {QMXcalc::kGcnGas, "fluid_gcn", "Natural gas (GCN)"},
    {QMXcalc::kSaturatedSteam, "fluid_steam", "Saturated steam"},
    {QMXcalc::kDrySteam, "fluid_drysteam", "Dry steam (superheated)"},
    {QMXcalc::kGenericLiquid, "fluid_liquid", "Generic liquid"},
    {QMXcalc::kHydrocarbonLiquid, "fluid_hcliquid", "Hydrocarbon liquid (API)"},
}};

constexpr std::array<const char*, 3> kTaps = {"Corner", "Flange", "D and D/2"};
constexpr std::array<const char*, 6> kMaterials = {
    "Carbon steel", "300 series stainless steel", "Monel", "Monel-400", "304 stainless steel",
    "316 stainless steel"};
constexpr std::array<const char*, 12> kProbes = {
    "Annubar Type 10", "Annubar Type 15", "Annubar Type 16", "Annubar Type 25",
    "Annubar Type 26", "Annubar Type 35", "Annubar Type 36", "Annubar Type 45",
    "Annubar Type 46", "Annubar Type 485 size 1", "Annubar Type 485 size 2",
    "Annubar Type 485 size 3"};
constexpr std::array<const char*, 11> kChartPeriods = {
    "60 min", "96 min", "12 hr", "24 hr", "2 day", "7 day", "8 day", "14 day", "16 day",
    "31 day", "32 day"};
constexpr std::array<const char*, 4> kChartScales = {
    "Linear, engineering units", "Linear percent", "0 to 10 Square Root (L10)",
    "0 to 100 Square Root (SR100)"};
constexpr std::array<const char*, 2> kInstrumentLabels = {"Gas day start", "Chart change"};

template <std::size_t N>
QComboBox* MakeList(QWidget* parent, const char* name, const std::array<const char*, N>& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  // The closed list may cut a long item; the open list shows it whole.
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list->setMinimumContentsLength(16);
  for (const char* item : items) list->addItem(QString::fromUtf8(item));
  return list;
}

// The list item of the meter code; -1 for a meter the list does not offer.
int MeterItem(int meter) {
  for (std::size_t i = 0; i < QMXcalc::kMeterChoices.size(); ++i) {
    if (QMXcalc::kMeterChoices[i].meter == meter) return static_cast<int>(i);
  }
  return -1;
}

void Select(QComboBox* list, int item) {
  const QSignalBlocker block(list);
  list->setCurrentIndex(item);
}

}  // namespace

void ShowFluidPage(int fluidKind) {
  using namespace QMXcalc;
  const bool gas = fluidKind == kNaturalGas;
  const bool gcn = fluidKind == kGcnGas;
  const bool steam = fluidKind == kSaturatedSteam || fluidKind == kDrySteam;
  const bool liquid = fluidKind == kGenericLiquid || fluidKind == kHydrocarbonLiquid;
  ShowPage(gas, kMoleFractionsPage);
  ShowPage(gcn, kGcnPage);
  ShowPage(steam, kSteamPage);
  ShowPage(liquid, kLiquidsPage);
}

int MaterialItem(int code) {
  if (code >= 0 && code <= 5) return code;
  if (code >= 6 && code <= 11) return code - 6;  // the SI entries of the same materials
  if (code >= 12 && code <= 14) return code - 12;  // carbon steel, stainless steel, Monel
  return -1;
}

SettingsPage::SettingsPage(PageHost& host, bool& sharedChanged, QWidget* parent)
    : Page(host, kSettingsPage, QStringLiteral("Settings"), 100, &sharedChanged, parent) {
  // Fluid kind.
  auto* fluidBox = new QGroupBox(tr("Fluid"), this);
  fluidBox->setObjectName("fluid");
  auto* fluidLayout = new QVBoxLayout(fluidBox);
  fluids_ = new QButtonGroup(this);
  for (const FluidChoice& f : kFluids) {
    auto* radio = new QRadioButton(QString::fromUtf8(f.text), fluidBox);
    radio->setObjectName(f.name);
    fluids_->addButton(radio, f.kind);
    fluidLayout->addWidget(radio);
  }
  fluidLayout->addStretch();
  connect(fluids_, &QButtonGroup::idClicked, this, [this](int kind) { SelectFluid(kind); });

  // Meter.
  auto* meterBox = new QGroupBox(tr("Meter"), this);
  auto* meterForm = new QFormLayout(meterBox);
  meter_ = new QComboBox(meterBox);
  meter_->setObjectName("meter");
  meter_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  meter_->setMinimumContentsLength(22);
  for (const auto& choice : QMXcalc::kMeterChoices) {
    meter_->addItem(QString::fromUtf8(choice.text.data(), static_cast<int>(choice.text.size())));
  }
  taps_ = MakeList(meterBox, "taps", kTaps);
  probe_ = MakeList(meterBox, "probe_model", kProbes);
  tubeMaterial_ = MakeList(meterBox, "tube_material", kMaterials);
  throatMaterial_ = MakeList(meterBox, "throat_material", kMaterials);
  materialLabel_ = new QLabel(meterBox);
  materialLabel_->setObjectName("material_label");
  meterForm->addRow(tr("Meter"), meter_);
  meterForm->addRow(tr("Tap type"), taps_);
  meterForm->addRow(tr("Probe model"), probe_);
  meterForm->addRow(tr("Tube material"), tubeMaterial_);
  meterForm->addRow(materialLabel_, throatMaterial_);
  // What the lists show before the first refresh: carbon steel tube, stainless throat.
  tubeMaterial_->setCurrentIndex(0);
  throatMaterial_->setCurrentIndex(1);

  connect(meter_, &QComboBox::currentIndexChanged, this, [this](int i) { SelectMeter(i); });
  connect(taps_, &QComboBox::currentIndexChanged, this, [this](int i) { SelectTaps(i); });
  connect(probe_, &QComboBox::currentIndexChanged, this, [this](int i) { SelectProbeModel(i); });
  connect(tubeMaterial_, &QComboBox::currentIndexChanged, this,
          [this](int i) { SelectTubeMaterial(i); });
  connect(throatMaterial_, &QComboBox::currentIndexChanged, this,
          [this](int i) { SelectThroatMaterial(i); });

  // Chart and instrument (no calculation reads them).
  auto* chartBox = new QGroupBox(tr("Chart recorder"), this);
  auto* chartForm = new QFormLayout(chartBox);
  auto* period = MakeList(chartBox, "chart_period", kChartPeriods);
  period->setCurrentIndex(3);  // "24 hr"
  auto* scale = MakeList(chartBox, "chart_scale", kChartScales);
  scale->setCurrentIndex(2);  // "0 to 10 Square Root (L10)"
  chartForm->addRow(tr("Chart period"), period);
  chartForm->addRow(tr("Chart scale"), scale);
  auto* modeRow = new QHBoxLayout;
  auto* modes = new QButtonGroup(this);
  const std::array<QString, 2> modeTexts = {tr("Flow computer"), tr("Chart recorder")};
  for (int m = 0; m < 2; ++m) {
    instrument_[static_cast<std::size_t>(m)] = new QRadioButton(modeTexts[static_cast<std::size_t>(m)], chartBox);
    instrument_[static_cast<std::size_t>(m)]->setObjectName(QStringLiteral("instrument_mode_%1").arg(m));
    modes->addButton(instrument_[static_cast<std::size_t>(m)], m);
    modeRow->addWidget(instrument_[static_cast<std::size_t>(m)]);
  }
  instrument_[0]->setChecked(true);
  connect(modes, &QButtonGroup::idClicked, this, [this](int m) { SelectInstrumentMode(m); });
  chartForm->addRow(tr("Instrument"), modeRow);
  instrumentLabel_ = new QLabel(QString::fromUtf8(kInstrumentLabels[0]), chartBox);
  instrumentLabel_->setObjectName("instrument_label");
  auto* time = new QTimeEdit(QTime(9, 0), chartBox);
  time->setObjectName("instrument_time");
  time->setDisplayFormat(QStringLiteral("HH:mm"));
  chartForm->addRow(instrumentLabel_, time);

  // Buttons.
  auto* reset = new QPushButton(tr("Reset"), this);
  reset->setObjectName("reset");
  connect(reset, &QPushButton::clicked, this, [this] { ResetAll(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(reset);
  buttons->addStretch();
  buttons->addWidget(MakeHelpButton());

  auto* right = new QVBoxLayout;
  right->addWidget(meterBox);
  right->addWidget(chartBox);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addWidget(fluidBox);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(buttons);

  Refresh();
  Enable();
}

void SettingsPage::Refresh() {
  Page::Refresh();
  using namespace QMXcalc;
  if (QAbstractButton* b = fluids_->button(GetFluid())) {
    const QSignalBlocker block(fluids_);
    b->setChecked(true);
  }
  int nonDP = 0;
  const int meter = GetMeter(nonDP);
  const int item = MeterItem(meter);
  if (item < 0) FE::FmtToTerminal("\n ERROR - QMXFlowWndProc() illegal CMethod");
  Select(meter_, item);
  materialLabel_->setText(MaterialCaption(meter));
  Select(throatMaterial_, MaterialItem(GetThroatMaterial()));
  Select(tubeMaterial_, MaterialItem(GetTubeMaterial()));
  Select(taps_, GetTaps() <= 2 ? GetTaps() : -1);
  Select(probe_, GetProbeModel() <= 11 ? GetProbeModel() : -1);
}

void SettingsPage::Enable() { ApplyEnablingRules(*this); }

void SettingsPage::SelectFluid(int kind) {
  Event([&] {
    QMXcalc::SetFluid(Changed(), kind);
    // The fluid pages follow the fluid first, so that they match it even when the
    // calculation below raises.
    ShowFluidPage(kind);
    Host().SyncPages();
    Enable();
    Recalculate();
  });
  Refresh();
}

void SettingsPage::SelectMeter(int index) {
  Event([&] {
    FE::FmtToTerminal("\nQMXsettingsWndProc().rDdl_CMeth itm=%i ", index);
    if (index < 0 || index >= static_cast<int>(QMXcalc::kMeterChoices.size())) {
      Raise(kModule, "QMXsettingsWndProc() invalid meter", 1);
    }
    const auto& choice = QMXcalc::kMeterChoices[static_cast<std::size_t>(index)];
    QMXcalc::SetMeter(Changed(), choice.nonDPmethod, choice.meter);
    if (choice.meter == 33) QMXcalc::SetProbeModel(Changed(), 0);
    Enable();
    Refresh();
    QMXcalc::UpdateBore();
    Recalculate();
  });
  Refresh();
  Enable();
}

void SettingsPage::SelectTaps(int index) {
  Event([&] {
    if (index < 0 || index > 2) Raise(kModule, "QMXsettingsWndProc() invalid tap type", 2);
    QMXcalc::SetTaps(Changed(), index);
    Recalculate();
  });
  Refresh();
}

void SettingsPage::SelectProbeModel(int index) {
  Event([&] {
    if (index < 0 || index > 11) Raise(kModule, "QMXsettingsWndProc() invalid Annubar model", 3);
    QMXcalc::SetProbeModel(Changed(), index);
    Enable();
    Recalculate();
  });
  Refresh();
}

void SettingsPage::SelectTubeMaterial(int index) {
  Event([&] {
    const int stored = QMXcalc::GetTubeMaterial();
    FE::FmtToTerminal("\n  rDdl_PipeMtl initial %u %u", static_cast<unsigned>(index),
                      static_cast<unsigned>(stored));
    if (index >= 0 && index != stored) QMXcalc::SetTubeMaterial(Changed(), index);
    Recalculate();
    FE::FmtToTerminal("\n  rDdl_PipeMtl final %u %u", static_cast<unsigned>(index),
                      static_cast<unsigned>(QMXcalc::GetTubeMaterial()));
  });
  Refresh();
}

void SettingsPage::SelectThroatMaterial(int index) {
  Event([&] {
    const int stored = QMXcalc::GetThroatMaterial();
    FE::FmtToTerminal("\n  rDdl_ThrtMtl initial %u %u", static_cast<unsigned>(index),
                      static_cast<unsigned>(stored));
    if (index >= 0 && index != stored) QMXcalc::SetThroatMaterial(Changed(), index);
    Recalculate();
    FE::FmtToTerminal("\n  rDdl_ThrtMtl final %u %u", static_cast<unsigned>(index),
                      static_cast<unsigned>(QMXcalc::GetThroatMaterial()));
  });
  Refresh();
}

void SettingsPage::SelectInstrumentMode(int mode) {
  Event([&] {
    instrumentMode_ = mode == 1 ? 1 : 0;
    instrumentLabel_->setText(QString::fromUtf8(kInstrumentLabels[static_cast<std::size_t>(instrumentMode_)]));
    if (QAbstractButton* b = instrument_[static_cast<std::size_t>(instrumentMode_)]) b->setChecked(true);
    Changed() = true;
    if (Recalculate()) Enable();
  });
}

void SettingsPage::ResetAll() {
  Event([&] {
    QMXcalc::Reset();
    ShowFluidPage(QMXcalc::kNaturalGas);
    Host().SyncPages();
    Changed() = true;
    if (Recalculate()) Enable();
  });
  Refresh();
  Enable();
}

}  // namespace qmx::ui
