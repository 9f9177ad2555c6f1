#pragma once
// The common part of the two natural gas pages (Mole fractions and GCN): the gas conditions box
// with the preset mixtures, the gas properties box, the preset choice and the activation.

#include "ui/page.hpp"

class QComboBox;
class QGroupBox;

namespace qmx::ui {

class GasPage : public Page {
 public:
  // The preset list offers the first `presetCount` mixtures.
  GasPage(PageHost& host, int number, const QString& tabLabel, int helpContext, int presetCount,
          QWidget* parent = nullptr);
  // Activation also calculates with the page's flag, taking in what is pending.
  void Activate() override;

 protected:
  // Absolute pressure, flowing temperature, the preset list and API gravity.
  QGroupBox* ConditionsBox();
  // The properties of the last calculation; short captions where the page is narrow, and
  // `relativeDensity` names the real-gas relative density.
  QGroupBox* PropertiesBox(bool shortCaptions, const QString& relativeDensity);

 private:
  void ChoosePreset(int index);
  int presetCount_;
  QComboBox* presets_ = nullptr;
};

}  // namespace qmx::ui
