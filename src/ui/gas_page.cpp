#include "ui/gas_page.hpp"

#include <cstddef>
#include <string_view>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "app/qmxcalc.hpp"
#include "gas/components.hpp"

namespace qmx::ui {

GasPage::GasPage(PageHost& host, int number, const QString& tabLabel, int helpContext, int presetCount,
                 QWidget* parent)
    : Page(host, number, tabLabel, helpContext, nullptr, parent), presetCount_(presetCount) {}

QGroupBox* GasPage::ConditionsBox() {
  QMXcalc::State& s = QMXcalc::Calc();
  FieldEdit* pressure = In("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure,
                           QMXcalc::UpdateGaugePressure);
  FieldEdit* temperature = In("flowing_temperature", tr("Flowing temperature"), s.flowingTemperature);
  FieldEdit* api = In("api_gravity", tr("API gravity"), s.apiGravity);
  pressure->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  temperature->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  presets_ = new QComboBox(this);
  presets_->setObjectName("gas_preset");
  for (int i = 0; i < presetCount_; ++i) {
    const std::string_view name = GAS1::kPresets[static_cast<std::size_t>(i)].name;
    presets_->addItem(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
  }
  presets_->setCurrentIndex(0);
  // Choosing a mixture again reloads it over typed values.
  connect(presets_, &QComboBox::activated, this, [this](int index) { ChoosePreset(index); });
  auto* presetLabel = new QLabel(tr("Preset mixture"), this);
  presetLabel->setBuddy(presets_);

  auto* conditions = new QGroupBox(tr("Gas conditions"), this);
  auto* grid = new QGridLayout(conditions);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  grid->setColumnStretch(3, 1);
  pressure->AddTo(*grid, 0);
  temperature->AddTo(*grid, 1);
  grid->addWidget(presetLabel, 2, 0);
  grid->addWidget(presets_, 2, 1, 1, 3);
  api->AddTo(*grid, 3);
  return conditions;
}

QGroupBox* GasPage::PropertiesBox(bool shortCaptions, const QString& relativeDensity) {
  QMXcalc::State& s = QMXcalc::Calc();
  return Group(tr("Gas properties"),
               {Out("density_flowing", tr("Density, flowing"), s.densityFlowing),
                Out("density_base", tr("Density, base"), s.densityBase),
                Out("molar_density", tr("Molar density"), s.molarDensity),
                Out("molar_mass", tr("Molar mass"), s.molarMass),
                Out("molar_heating_value", tr("Molar heating value"), s.molarHeatingValue),
                Out("z_flowing", tr("Z, flowing"), s.zFlowing),
                Out("z_base", tr("Z, base"), s.zBase),
                Out("viscosity", tr("Viscosity"), s.viscosity),
                Out("critical_pressure", shortCaptions ? tr("Pseudo-crit. P") : tr("Pseudo-crit. pressure"),
                    s.criticalPressure),
                Out("critical_temperature", shortCaptions ? tr("Pseudo-crit. T") : tr("Pseudo-crit. temp."),
                    s.criticalTemperature),
                Out("mass_heating_value", tr("Mass heating value"), s.massHeatingValue),
                Out("volumetric_heating_value", tr("Vol. heating value"), s.volumetricHeatingValue),
                Out("relative_density", relativeDensity, s.relativeDensity)});
}

void GasPage::Activate() {
  Refresh();
  Recalculate();
}

void GasPage::ChoosePreset(int index) {
  if (index < 0 || index >= presetCount_) return;  // a cleared list chooses nothing
  Event([this, index] {
    QMXcalc::SetStdGasComp(Changed(), index);
    Refresh();
    Recalculate();
  });
}

}  // namespace qmx::ui
