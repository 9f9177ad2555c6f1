#pragma once
// The "Flow" tab: the measured values and meter dimensions as editable fields, every flow result,
// the meter-warning text, the expanded uncertainty of the flows, the report commands
// (comma-separated report, print, PDF) and the uncertainty and sizing dialogs.
#include <array>
#include <functional>
#include <optional>
#include <string>

#include <QPointer>
#include <QString>
#include <QStringList>

#include "app/uncertainty.hpp"
#include "ui/page.hpp"
#include "ui/print/layout.hpp"
#include "ui/sizing_dialog.hpp"
#include "ui/uncertainty_dialog.hpp"

class QLabel;
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

  // Opens the uncertainty dialog over the page (not blocking); confirmed, its input uncertainties
  // are kept for the session and the shown uncertainties evaluated again.
  UncertaintyDialog* OpenUncertainty();
  // Opens the sizing dialog over the page (not blocking).
  SizingDialog* OpenSizing();
  // The dialogs last opened (closed ones are kept until the next opens), or nullptr.
  UncertaintyDialog* LastUncertaintyDialog() const { return uncertaintyDialog_; }
  SizingDialog* LastSizingDialog() const { return sizingDialog_; }
  // The input uncertainties the shown expanded uncertainties are evaluated with.
  const Uncertainty::Inputs& UncertaintyInputs() const { return uncertaintyInputs_; }
  // Pictures of the sizing and uncertainty dialogs (sizing.png, uncertainty.png) in the folder;
  // the paths written.
  QStringList SaveDialogPictures(const QString& folder);
  static constexpr int kDialogPictures = 2;

 private:
  // The expanded uncertainties beside the flows, from the uncertainty library on the state.
  void RefreshUncertainty();

  QPlainTextEdit* warning_ = nullptr;
  std::array<QLabel*, 3> uncertainty_{};  // mass, standard volume and energy flow
  Uncertainty::Inputs uncertaintyInputs_;
  QPointer<UncertaintyDialog> uncertaintyDialog_;
  QPointer<SizingDialog> sizingDialog_;
  PrintSettings printSettings_;
  Print::PrintRequest request_;
  PrintSeams seams_;
  std::string lastPath_;
};

}  // namespace qmx::ui
