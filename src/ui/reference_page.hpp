#pragma once
// The "Reference" tab: atmospheric pressure, base conditions and the reference temperatures
// of the pipe and throat diameters.
#include "ui/page.hpp"

namespace qmx::ui {

class ReferencePage : public Page {
 public:
  explicit ReferencePage(PageHost& host, QWidget* parent = nullptr);

  void Activate() override;
};

}  // namespace qmx::ui
