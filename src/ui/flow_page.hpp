#pragma once
// The "Flow" tab: the measured values and meter dimensions as editable fields, every flow result,
// the meter-warning text, and the report commands (comma-separated report, print, PDF).
#include <array>
#include <functional>
#include <optional>
#include <string>

#include <QString>

#include "ui/page.hpp"
#include "ui/print/layout.hpp"

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
  // Asks for the printer; when confirmed writes the print file and prints it.
  void PrintReport();
  // Asks for a PDF file name and lays the text report out into it as printed pages.
  void SavePdfReport();

  // The dialogs and the print engine the report commands use; tests replace them.
  struct PrintSeams {
    // The print dialog for the request; false when cancelled.
    std::function<bool(Print::PrintRequest&)> askPrinter;
    // Prints the request's file.
    std::function<void(const Print::PrintRequest&)> print;
    // The save dialog for a PDF, starting from the proposed path; nullopt when cancelled.
    std::function<std::optional<std::string>(const std::string& proposed)> askPdfPath;
    // Lays a report text out into a PDF at the path.
    std::function<void(const std::string& text, const std::string& pdfPath, const Print::PrintRequest&)> savePdf;
  };
  PrintSeams& Seams() { return seams_; }

  const PrintSettings& GetPrintSettings() const { return printSettings_; }
  // The request the report is printed with; the print dialog's choices (copies, collation, duplex,
  // printer) stay in it for the next print.
  const Print::PrintRequest& GetPrintRequest() const { return request_; }

  // The path of the last report written, empty before the first.
  const std::string& LastReportPath() const { return lastPath_; }

 private:
  QPlainTextEdit* warning_ = nullptr;
  PrintSettings printSettings_;
  Print::PrintRequest request_;
  PrintSeams seams_;
  std::string lastPath_;
};

}  // namespace qmx::ui
