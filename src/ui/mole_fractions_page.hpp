#pragma once
// The "Mole fractions" tab (natural gas by composition): absolute pressure, flowing temperature,
// the preset mixtures, API gravity and the 21 component percentages with their total, beside the
// gas properties of the last calculation. A component entry is stored at once but calculated
// with the page's next calculation (its next edit or its activation).
#include "ui/page.hpp"

class QComboBox;

namespace qmx::ui {

class MoleFractionsPage : public Page {
 public:
  explicit MoleFractionsPage(PageHost& host, QWidget* parent = nullptr);

  // Activation also calculates with the page's flag, taking in typed components.
  void Activate() override;

 private:
  void ChoosePreset(int index);

  QComboBox* presets_ = nullptr;
};

}  // namespace qmx::ui
