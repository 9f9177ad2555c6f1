#pragma once
// The "Mole fractions" tab (natural gas by composition). For now it shows the composition of the
// calculation state and the gas properties of the last calculation, read-only.
#include <array>

#include "ui/page.hpp"

class QLineEdit;

namespace qmx::ui {

class MoleFractionsPage : public Page {
 public:
  explicit MoleFractionsPage(PageHost& host, QWidget* parent = nullptr);

  void Refresh() override;

 private:
  QLineEdit* total_ = nullptr;
  std::array<QLineEdit*, 21> components_{};
};

}  // namespace qmx::ui
