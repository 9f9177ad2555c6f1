#pragma once
// The "Units" tab. For now it shows the display units of the main fields, read-only.
#include "ui/page.hpp"

namespace qmx::ui {

class UnitsPage : public Page {
 public:
  explicit UnitsPage(PageHost& host, QWidget* parent = nullptr);

};

}  // namespace qmx::ui
