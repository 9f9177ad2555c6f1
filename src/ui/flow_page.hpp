#pragma once
// The "Flow" tab: the measured values and meter dimensions as editable fields, every flow result,
// the meter-warning text, and the report commands (comma-separated report, print file).
#include <array>
#include <functional>
#include <string>

#include <QString>

#include "ui/page.hpp"

class QPlainTextEdit;

namespace qmx::ui {

// What the print engine is given with the print file: the font and its size value, and the five
// print options (copies and the like), each 1.
struct PrintSettings {
  QString font = QStringLiteral("Courier New");
  int size = 100;
  std::array<int, 5> options{1, 1, 1, 1, 1};
};

class FlowPage : public Page {
 public:
  FlowPage(PageHost& host, bool& sharedChanged, QWidget* parent = nullptr);

  void Refresh() override;
  void Enable() override;

  // Writes the comma-separated report into the documents folder and says where.
  void SaveCsvReport();
  // Writes the print file and hands it to the print handler, or says where it is when none is set.
  void PrintReport();

  // Takes the written print file (its path) to the printer.
  using PrintHandler = std::function<void(const std::string& path)>;
  void SetPrintHandler(PrintHandler handler) { printHandler_ = std::move(handler); }

  const PrintSettings& GetPrintSettings() const { return printSettings_; }

  // The path of the last report written, empty before the first.
  const std::string& LastReportPath() const { return lastPath_; }

 private:
  QPlainTextEdit* warning_ = nullptr;
  PrintSettings printSettings_;
  PrintHandler printHandler_;
  std::string lastPath_;
};

}  // namespace qmx::ui
