#pragma once
// The "GCN" tab (natural gas by gross characteristics): absolute pressure, flowing temperature,
// the preset mixtures "Gulf Coast" to "EUB 7", API gravity, the gross characteristics (heating
// value, viscosity, relative density, the CO2, N2, H2 and CO fractions in percent) and the gas
// properties of the last calculation.
#include "ui/gas_page.hpp"

namespace qmx::ui {

class GcnPage : public GasPage {
 public:
  explicit GcnPage(PageHost& host, QWidget* parent = nullptr);
};

}  // namespace qmx::ui
