#pragma once
// The "GCN" tab (natural gas by gross characteristics): absolute pressure, flowing temperature,
// the preset mixtures "Gulf Coast" to "EUB 7", API gravity, the gross characteristics (heating
// value, viscosity, relative density, the CO2, N2, H2 and CO fractions in percent) and the gas
// properties of the last calculation.
#include "ui/page.hpp"

class QComboBox;

namespace qmx::ui {

class GcnPage : public Page {
 public:
  explicit GcnPage(PageHost& host, QWidget* parent = nullptr);

  // Activation also calculates with the page's flag (a no-op unless something is pending).
  void Activate() override;

 private:
  void ChoosePreset(int index);

  QComboBox* presets_ = nullptr;
};

}  // namespace qmx::ui
