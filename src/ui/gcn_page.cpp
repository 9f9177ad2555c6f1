#include "ui/gcn_page.hpp"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "gas/components.hpp"

namespace qmx::ui {

namespace {
// The mixtures offered here: "Gulf Coast" to "EUB 7" (air and the ISO 6976 example are no
// natural gases for the gross-characteristics method).
constexpr int kGcnPresets = 14;
}  // namespace

GcnPage::GcnPage(PageHost& host, QWidget* parent)
    : Page(host, kGcnPage, QStringLiteral("GCN"), 500, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();

  FieldEdit* pressure = In("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure,
                           QMXcalc::UpdateGaugePressure);
  FieldEdit* temperature = In("flowing_temperature", tr("Flowing temperature"), s.flowingTemperature);
  FieldEdit* api = In("api_gravity", tr("API gravity"), s.apiGravity);
  pressure->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  temperature->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  presets_ = new QComboBox(this);
  presets_->setObjectName("gas_preset");
  for (int i = 0; i < kGcnPresets; ++i) {
    const std::string_view name = GAS1::kPresets[static_cast<std::size_t>(i)].name;
    presets_->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
  }
  presets_->setCurrentIndex(0);
  connect(presets_, &QComboBox::activated, this, [this](int index) { ChoosePreset(index); });
  auto* presetLabel = new QLabel(tr("Preset mixture"), this);
  presetLabel->setBuddy(presets_);

  auto* conditions = new QGroupBox(tr("Gas conditions"), this);
  auto* cgrid = new QGridLayout(conditions);
  cgrid->setContentsMargins(6, 2, 6, 4);
  cgrid->setVerticalSpacing(2);
  cgrid->setColumnStretch(3, 1);
  pressure->AddTo(*cgrid, 0);
  temperature->AddTo(*cgrid, 1);
  cgrid->addWidget(presetLabel, 2, 0);
  cgrid->addWidget(presets_, 2, 1, 1, 3);
  api->AddTo(*cgrid, 3);

  auto* gross = Group(tr("Gross characteristics"),
                      {In("gcn_heating_value", tr("Vol. heating value"), s.gcnHeatingValue),
                       In("gcn_viscosity", tr("Viscosity"), s.gcnViscosity),
                       In("gcn_relative_density", tr("Relative density"), s.gcnRelativeDensity),
                       In("gcn_n2", tr("Nitrogen"), s.gcnN2),
                       In("gcn_co2", tr("CO2"), s.gcnCO2),
                       In("gcn_h2", tr("Hydrogen"), s.gcnH2),
                       In("gcn_co", tr("CO"), s.gcnCO)});
  auto* results = Group(tr("Gas properties"),
                        {Out("density_flowing", tr("Density, flowing"), s.densityFlowing),
                         Out("density_base", tr("Density, base"), s.densityBase),
                         Out("molar_density", tr("Molar density"), s.molarDensity),
                         Out("molar_mass", tr("Molar mass"), s.molarMass),
                         Out("molar_heating_value", tr("Molar heating value"), s.molarHeatingValue),
                         Out("z_flowing", tr("Z, flowing"), s.zFlowing),
                         Out("z_base", tr("Z, base"), s.zBase),
                         Out("viscosity", tr("Viscosity"), s.viscosity),
                         Out("critical_pressure", tr("Pseudo-crit. pressure"), s.criticalPressure),
                         Out("critical_temperature", tr("Pseudo-crit. temp."), s.criticalTemperature),
                         Out("mass_heating_value", tr("Mass heating value"), s.massHeatingValue),
                         Out("volumetric_heating_value", tr("Vol. heating value"), s.volumetricHeatingValue),
                         Out("relative_density", tr("Real-gas relative density"), s.relativeDensity)});

  LayOutColumns({conditions, gross}, {results});
  Refresh();
}

void GcnPage::Activate() {
  Refresh();
  Recalculate();
}

void GcnPage::ChoosePreset(int index) {
  if (index < 0 || index >= kGcnPresets) return;
  Event([this, index] {
    QMXcalc::SetStdGasComp(Changed(), index);
    Refresh();
    Recalculate();
  });
}

}  // namespace qmx::ui
