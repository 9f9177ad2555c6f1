#pragma once
// The "Standards" tab, shown in expert mode only. For now it says what it will hold.
#include "ui/page.hpp"

namespace qmx::ui {

class StandardsPage : public Page {
 public:
  explicit StandardsPage(PageHost& host, QWidget* parent = nullptr);

};

}  // namespace qmx::ui
