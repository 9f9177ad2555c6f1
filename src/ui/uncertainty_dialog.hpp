#pragma once
// The "Uncertainty" dialog of the Flow page: the standard uncertainties of the inputs (kept for
// the session when confirmed), the budget of a chosen flow as the uncertainty library evaluates it
// on the calculated state, and a bar chart of each input's share of the combined variance.
#include <array>
#include <cstddef>

#include <QDialog>
#include <QString>

#include "app/uncertainty.hpp"

class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qmx::ui {

class UncertaintyDialog : public QDialog {
 public:
  UncertaintyDialog(const Uncertainty::Inputs& inputs, QWidget* parent = nullptr);

  // The inputs as edited; the Flow page keeps them when the dialog is confirmed.
  const Uncertainty::Inputs& Inputs() const { return inputs_; }
  // The budget shown (of the flow chosen in the list); not valid when it could not be evaluated.
  const Uncertainty::Budget& Shown() const { return shown_; }
  // Evaluates again on the calculated state and redraws the budget and the chart.
  void Evaluate();

  // The input rows: the command line's key, the caption, the unit and the member edited.
  struct Row {
    const char* key;
    const char* caption;
    const char* unit;
    double Uncertainty::Inputs::*member;
    bool blankIsStandard;  // C and epsilon: an empty entry takes the standard's figure
  };
  static const std::array<Row, 10> kRows;

 private:
  // Takes the text of row i; a refused entry beeps and shows the kept value again.
  void Take(std::size_t i);
  void ShowInputs();
  void ShowBudget();

  Uncertainty::Inputs inputs_;
  Uncertainty::Result result_;
  Uncertainty::Budget shown_;
  bool evaluated_ = false;
  QString failure_;
  std::array<QLineEdit*, 10> edits_{};
  QComboBox* flow_ = nullptr;
  QLabel* expanded_ = nullptr;
  QLabel* figures_ = nullptr;
  QChartView* chart_ = nullptr;
};

}  // namespace qmx::ui
