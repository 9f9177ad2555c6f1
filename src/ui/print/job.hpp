#pragma once
// The print job: reads the text file, lays it out, drives the output device
// sheet by sheet with the status display, reports failures and removes a
// temporary print file afterwards.
#include <string>
#include <string_view>

#include "ui/print/layout.hpp"

class QPaintDevice;

namespace qmx::Print {

// Failure numbers of a print job.
inline constexpr int kSpoolerOutOfDisk = 60000;
inline constexpr int kSpoolerOutOfMemory = 60001;
inline constexpr int kErrorPrinting = 60002;
inline constexpr int kErrorCreatingPage = 60003;
inline constexpr int kErrorStartingDocument = 60004;
inline constexpr int kErrorSelectingFont = 60006;
inline constexpr int kErrorInitializingPrinter = 60007;
inline constexpr int kCouldNotOpenFile = 60008;

// The message of a failure number; empty for an unknown number.
std::string_view FailureText(int code);

// Largest text file a job reads.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

// What a job needs from the user interface: the status display, the main
// window, the error box. The defaults do nothing, for jobs without a display.
class JobHost {
 public:
  virtual ~JobHost() = default;
  // The document has started: show the status, disable the main window.
  virtual void Started(std::string_view /*title*/) {}
  // Printing this copy, page and sheet (all from 1).
  virtual void Progress(unsigned /*copy*/, unsigned /*page*/, unsigned /*sheet*/) {}
  // Keeps the interface alive between sheets; true once the user cancelled.
  virtual bool AbortRequested() { return false; }
  // The job has ended: close the status, enable the main window.
  virtual void Finished() {}
  // A failure to show in an error box.
  virtual void Failed(int /*code*/, std::string_view /*text*/) {}
};

// The output device of a job.
class Target {
 public:
  virtual ~Target() = default;
  // Prepares the device for the row's paper and orientation; false on failure.
  virtual bool Open(const PrintRequest& request, const LayoutRow& row) = 0;
  virtual QPaintDevice* Device() = 0;
  // Starts the next sheet; false on failure.
  virtual bool NewPage() = 0;
  // State after a sheet: 0, -1 when the device was aborted, or a failure number.
  virtual int Status() { return 0; }
  // Ends the document (ok) or discards it; 0 or a failure number.
  virtual int Finish(bool ok) = 0;
};

enum class Outcome { Printed, Cancelled, Failed };

struct JobResult {
  Outcome outcome = Outcome::Printed;
  int code = 0;          // failure number when Failed
  unsigned sheets = 0;   // sheets sent to the device
};

// True when the job keeps its file: the title names the file (letter case aside).
bool KeepsFile(std::string_view title, std::string_view path);

// Prints the request's file on the target. Failures go to host.Failed and the
// result; a cancel ends the job without one. Raises when the request itself
// is out of range (CheckRequest).
JobResult PrintText(const PrintRequest& request, Target& target, JobHost& host);

// The request on its printer (the default printer when the name is empty).
JobResult PrintFile(const PrintRequest& request, JobHost& host);

// The request as a PDF file at pdf_path; an existing file there is replaced
// only when the whole document has been written.
JobResult PrintPdf(const PrintRequest& request, const std::string& pdf_path, JobHost& host);

// Prints a text as a PDF through a temporary print file: the request's file
// path is replaced by that file and its title, when empty, by the PDF's file
// name. A failure to write the temporary file is 60008.
JobResult SaveTextPdf(std::string_view text, const std::string& pdf_path, PrintRequest request, JobHost& host);

}  // namespace qmx::Print
