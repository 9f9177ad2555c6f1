#pragma once
// The "Settings" tab: fluid kind, meter, taps, tube and throat material, probe model, the chart
// and instrument choices, Reset and Help. Every choice goes through the calculation state.
#include <array>

#include "ui/page.hpp"

class QButtonGroup;
class QComboBox;
class QLabel;
class QRadioButton;

namespace qmx::ui {

class SettingsPage : public Page {
 public:
  SettingsPage(PageHost& host, bool& sharedChanged, QWidget* parent = nullptr);

  void Refresh() override;
  void Enable() override;

  // The page's events, as the controls raise them (public for the tests' out-of-range cases).
  void SelectFluid(int kind);
  void SelectMeter(int index);
  void SelectTaps(int index);
  void SelectProbeModel(int index);
  void SelectTubeMaterial(int index);
  void SelectThroatMaterial(int index);
  void SelectInstrumentMode(int mode);
  void ResetAll();

  int InstrumentMode() const { return instrumentMode_; }

 private:
  QButtonGroup* fluids_ = nullptr;
  QComboBox* meter_ = nullptr;
  QComboBox* taps_ = nullptr;
  QComboBox* probe_ = nullptr;
  QComboBox* tubeMaterial_ = nullptr;
  QComboBox* throatMaterial_ = nullptr;
  QLabel* materialLabel_ = nullptr;
  QLabel* instrumentLabel_ = nullptr;
  std::array<QRadioButton*, 2> instrument_{};
  int instrumentMode_ = 0;
};

// Shows the fluid page of a fluid kind in the page registry and hides the other three.
void ShowFluidPage(int fluidKind);

// The list item of a material code: the item itself for codes 0..5, the same material of the
// other catalogue entries for 6..14 (carbon steel, stainless steel, Monel), -1 otherwise.
int MaterialItem(int code);

}  // namespace qmx::ui
