#pragma once
// The "Units" tab: the unit system and the 17 quantity lists that choose the display units of
// the whole calculation, a two-way unit converter whose value fields take expressions, and the
// reference list of every unit by dimension followed by the expression operators.
#include <array>

#include <QString>

#include "app/qmxcalc.hpp"
#include "ui/page.hpp"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace qmx::ui {

class UnitsPage : public Page {
 public:
  explicit UnitsPage(PageHost& host, QWidget* parent = nullptr);

  // The lists show the units in use.
  void Refresh() override;

 private:
  QWidget* BuildLists();
  QWidget* BuildCalculator();
  QTreeWidget* BuildReference();
  // A unit string picked or typed in a quantity list.
  void ListEdited(int list);
  void SystemChosen(int system);
  // A value field's expression, evaluated into the calculator's value; false when it fails.
  bool ValueEdited(int field);
  // The unit field's text, kept to the characters a unit string has.
  void UnitEdited(int field);
  // Converts the value of field `from` into the unit of the other field.
  void Convert(int from);

  QComboBox* system_ = nullptr;
  std::array<QComboBox*, QMXcalc::kUnitListCount> lists_{};
  std::array<QLineEdit*, 2> valueEdits_{};
  std::array<QLineEdit*, 2> unitEdits_{};
  std::array<double, 2> values_{};
  std::array<QString, 2> units_{};
  bool refreshing_ = false;  // lists being written by the page, not by the user
};

}  // namespace qmx::ui
