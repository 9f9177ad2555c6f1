#pragma once
// The "Steam" tab (saturated and dry steam): absolute pressure, flowing temperature and the
// reference temperature of the water equivalent, with the steam properties of the last calculation.
#include "ui/page.hpp"

namespace qmx::ui {

class SteamPage : public Page {
 public:
  explicit SteamPage(PageHost& host, QWidget* parent = nullptr);

  // Activation also calculates with the page's flag (a no-op unless something is pending).
  void Activate() override;
  void Enable() override;
};

}  // namespace qmx::ui
