#pragma once
// The "Size meter" dialog of the Flow page: what to solve for (the bore, the differential
// pressure, or the flow itself), the target flow in the unit its field shows, the sizing library's
// solution on the calculated state, and Apply, which enters the solved bore or differential
// pressure as the Flow page would and recalculates. Solving leaves the state as it was.
#include <array>
#include <optional>

#include <QDialog>
#include <QString>

#include "app/sizing.hpp"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qmx::ui {

class Page;

class SizingDialog : public QDialog {
 public:
  SizingDialog(Page& page, QWidget* parent = nullptr);

  // Solves with the dialog's choices and shows the solution, or the library's message when the
  // target cannot be met; either way the calculation state is put back as it was.
  void Solve();
  // Enters the solved throat diameter or differential pressure, recalculates the page and closes.
  void Apply();

  // The last solution shown, if the last Solve found one.
  const std::optional<Sizing::SizingResult>& Solution() const { return solution_; }

 private:
  // The target's unit label and the current value of the chosen flow as the proposed target.
  void ShowTarget();
  void ShowSolution();
  // The target in SI from "number" (in the unit shown) or "number unit"; false when refused.
  bool TargetSi(double& si, QString& why) const;

  Page& page_;
  QComboBox* solve_ = nullptr;
  QComboBox* quantity_ = nullptr;
  QLineEdit* target_ = nullptr;
  QLabel* targetUnit_ = nullptr;
  QLabel* message_ = nullptr;
  std::array<QLabel*, 7> values_{};
  std::array<QLabel*, 7> units_{};
  QPlainTextEdit* warning_ = nullptr;
  QPushButton* apply_ = nullptr;
  std::optional<Sizing::SizingResult> solution_;
};

}  // namespace qmx::ui
