#include "ui/print/print_dialog.hpp"

#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

#include "units/fe.hpp"

namespace qmx::Print {

void PrinterFromRequest(const PrintRequest& request, QPrinter& printer) {
  if (!request.printer.empty()) printer.setPrinterName(QString::fromStdString(request.printer));
  printer.setCopyCount(static_cast<int>(std::clamp(request.copies, 1u, kMaxCopies)));
  printer.setCollateCopies(request.collate);
  printer.setDuplex(request.duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
}

void ApplyPrinterChoice(const QPrinter& printer, PrintRequest& request) {
  request.printer = printer.printerName().toStdString();
  request.copies = static_cast<unsigned>(std::clamp(printer.copyCount(), 1, static_cast<int>(kMaxCopies)));
  request.collate = printer.collateCopies();
  request.duplex = printer.duplex() != QPrinter::DuplexNone;
}

bool AskPrinter(QWidget* parent, PrintRequest& request) {
  QPrinter printer(QPrinter::HighResolution);
  PrinterFromRequest(request, printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (dialog.exec() != QDialog::Accepted) return false;
  ApplyPrinterChoice(printer, request);
  return true;
}

std::string ProposedPdfName() {
  std::string stamp;
  FE::DateStamp(stamp);
  return "QMX_Report_" + stamp + ".pdf";
}

}  // namespace qmx::Print
