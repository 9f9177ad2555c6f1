#pragma once
// The system print dialog for a print request, and the name proposed for a
// report saved as PDF.
#include <string>

#include "ui/print/layout.hpp"

class QPrinter;
class QWidget;

namespace qmx::Print {

// Prepares the dialog's printer from the request: printer name, copies,
// collation and duplex.
void PrinterFromRequest(const PrintRequest& request, QPrinter& printer);

// Takes the printer, copies, collation and duplex chosen in the dialog.
void ApplyPrinterChoice(const QPrinter& printer, PrintRequest& request);

// Shows the print dialog for the request; false when the user cancels it
// (the request is then unchanged).
bool AskPrinter(QWidget* parent, PrintRequest& request);

// "QMX_Report_" followed by the date-time stamp and ".pdf".
std::string ProposedPdfName();

}  // namespace qmx::Print
