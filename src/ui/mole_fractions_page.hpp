#pragma once
// The "Mole fractions" tab (natural gas by composition): absolute pressure, flowing temperature,
// the preset mixtures, API gravity and the 21 component percentages with their total, beside the
// gas properties of the last calculation. A component entry is stored at once but calculated
// with the page's next calculation (its next edit or its activation).
#include "ui/gas_page.hpp"

namespace qmx::ui {

class MoleFractionsPage : public GasPage {
 public:
  explicit MoleFractionsPage(PageHost& host, QWidget* parent = nullptr);
};

}  // namespace qmx::ui
