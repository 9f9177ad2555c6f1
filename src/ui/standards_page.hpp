#pragma once
// The "Standards" tab, shown in expert mode only: regenerates the coefficient and
// expansibility tables of the flow standards into a 51 x 15 grid, a comma-separated file
// and a plot of the curves, from the table engine of the reports library.
#include <functional>

#include <QString>

#include "reports/tables.hpp"
#include "ui/page.hpp"

class QChartView;
class QComboBox;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace qmx::ui {

class StandardsPage : public Page {
 public:
  // A save-file dialog: (parent, caption, proposed path, filter) -> chosen path, empty when
  // cancelled. Tests replace it so that nothing blocks.
  using SaveDialog =
      std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

  explicit StandardsPage(PageHost& host, QWidget* parent = nullptr);

  void SetCsvDialog(SaveDialog dialog) { csvDialog_ = std::move(dialog); }
  void SetPlotDialog(SaveDialog dialog) { plotDialog_ = std::move(dialog); }

  int Selection() const { return selection_; }
  const Tables::TableOptions& Options() const { return options_; }
  // The table last put on screen (empty values before the first fill).
  const Tables::TableData& Shown() const { return shown_; }

  // The three output buttons.
  void ScreenTable();
  void CsvFile();
  void SavePlot();

 private:
  void SelectTable(int selection);
  void CommitRoundTo();
  void CommitKappa();
  void CommitDiameter();
  void ClearGrid();
  void FillPlotChoices();
  void Replot();
  // The proposed path of a file in the per-user application-data folder.
  static QString Proposed(const QString& name);

  int selection_ = 0;
  Tables::TableOptions options_;
  Tables::TableData shown_;
  Tables::Grid grid_;
  SaveDialog csvDialog_;
  SaveDialog plotDialog_;

  QComboBox* selectionList_ = nullptr;
  QComboBox* roundingList_ = nullptr;
  QLineEdit* roundTo_ = nullptr;
  QComboBox* tappingList_ = nullptr;
  QComboBox* diameterList_ = nullptr;
  QLineEdit* kappa_ = nullptr;
  QTableWidget* table_ = nullptr;
  QListWidget* curves_ = nullptr;
  QChartView* plot_ = nullptr;
};

}  // namespace qmx::ui
