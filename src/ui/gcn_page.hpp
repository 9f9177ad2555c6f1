#pragma once
// The "GCN" tab (natural gas by gross characteristics). For now it shows the gross characteristics
// of the calculation state and the gas properties of the last calculation, read-only.
#include "ui/page.hpp"

namespace qmx::ui {

class GcnPage : public Page {
 public:
  explicit GcnPage(PageHost& host, QWidget* parent = nullptr);

};

}  // namespace qmx::ui
