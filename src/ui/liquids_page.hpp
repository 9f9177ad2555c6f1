#pragma once
// The "Liquids" tab, one page for both liquid kinds: a generic liquid takes its density and
// viscosity at flowing conditions; a hydrocarbon liquid takes its product group, base density (or
// relative density), viscosity and, for special products, thermal expansion coefficient, and
// shows the flowing density and liquid correction factor of the last calculation.
#include "ui/page.hpp"

class QComboBox;
class QPushButton;

namespace qmx::ui {

class LiquidsPage : public Page {
 public:
  explicit LiquidsPage(PageHost& host, QWidget* parent = nullptr);

  // Activation also calculates with the page's flag (a no-op unless something is pending).
  void Activate() override;
  void Refresh() override;
  // Generic liquid: its density and viscosity; hydrocarbon liquid: the product's fields.
  void Enable() override;

 private:
  void ChooseProduct(int index);
  void Estimate();

  QComboBox* products_ = nullptr;
  QPushButton* estimate_ = nullptr;
};

}  // namespace qmx::ui
