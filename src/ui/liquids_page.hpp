#pragma once
// The "Liquids" tab (generic and hydrocarbon liquids). For now it shows the liquid fields of the
// calculation state, read-only.
#include "ui/page.hpp"

namespace qmx::ui {

class LiquidsPage : public Page {
 public:
  explicit LiquidsPage(PageHost& host, QWidget* parent = nullptr);

};

}  // namespace qmx::ui
