#include "ui/print/job.hpp"

#include <QBuffer>
#include <QFileDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "numerics/trace.hpp"
#include "ui/print/render.hpp"
#include "units/fe.hpp"

namespace qmx::Print {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::pair<int, std::string_view>, 8> kFailures{{
    {kSpoolerOutOfDisk, "Print spooler ran out of disk space"},
    {kSpoolerOutOfMemory, "Print spooler ran out of memory"},
    {kErrorPrinting, "Error printing"},
    {kErrorCreatingPage, "Error creating print page"},
    {kErrorStartingDocument, "Error starting print document"},
    {kErrorSelectingFont, "Error selecting printer font"},
    {kErrorInitializingPrinter, "Error initializing printer"},
    {kCouldNotOpenFile, "Could not open file to print"},
}};

// Reads the whole file through a small buffer; nullopt when it is not a
// readable regular file (a folder or a pipe would never end) or too large.
std::optional<std::string> ReadFile(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  std::array<char, 2048> buffer{};
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (text.size() + got > kMaxFileBytes) return std::nullopt;
    text.append(buffer.data(), got);
  }
  if (in.bad()) return std::nullopt;
  return text;
}

QPageLayout PageLayoutFor(const LayoutRow& row) {
  const QPageSize size(row.paper == kA4 ? QPageSize::A4 : QPageSize::Letter);
  return QPageLayout(size, row.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

std::string HeaderDate() {
  std::string time, date;
  FE::DateTimeStrings(time, date, FE::Now());
  return date + " " + time;
}

// The system printer.
class PrinterTarget : public Target {
 public:
  bool Open(const PrintRequest& request, const LayoutRow& row) override {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!request.printer.empty()) {
      const QString name = QString::fromStdString(request.printer);
      if (QPrinterInfo::printerInfo(name).isNull()) return false;
      printer_->setPrinterName(name);
    }
    // Without a system printer Qt falls back to a PDF file that has no name.
    if (!printer_->isValid() || printer_->outputFormat() != QPrinter::NativeFormat) return false;
    printer_->setDocName(QString::fromStdString(request.title));
    printer_->setFullPage(false);
    printer_->setCopyCount(1);  // the job makes its own copies
    printer_->setDuplex(request.duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
    const QPageLayout layout = PageLayoutFor(row);
    return printer_->setPageSize(layout.pageSize()) && printer_->setPageOrientation(layout.orientation());
  }
  QPaintDevice* Device() override { return printer_.get(); }
  bool NewPage() override { return printer_->newPage(); }
  int Status() override {
    switch (printer_->printerState()) {
      case QPrinter::Aborted:
        return -1;
      case QPrinter::Error:
        return kErrorPrinting;
      default:
        return 0;
    }
  }
  int Finish(bool ok) override {
    if (!ok) printer_->abort();
    return ok && printer_->printerState() == QPrinter::Error ? kErrorPrinting : 0;
  }

 private:
  std::unique_ptr<QPrinter> printer_;
};

// A PDF file: the document is built in memory and saved whole through a
// temporary file, so an earlier file at the path survives a failed job.
class PdfTarget : public Target {
 public:
  explicit PdfTarget(std::string path) : path_(std::move(path)) {}
  bool Open(const PrintRequest& request, const LayoutRow& row) override {
    file_ = std::make_unique<QSaveFile>(QString::fromStdString(path_));
    if (path_.empty() || !file_->open(QIODevice::WriteOnly)) return false;
    if (!buffer_.open(QIODevice::WriteOnly)) return false;
    writer_ = std::make_unique<QPdfWriter>(&buffer_);
    writer_->setResolution(1440);  // one device unit is one twip
    writer_->setTitle(QString::fromStdString(request.title));
    writer_->setCreator(QStringLiteral("QMX"));
    return writer_->setPageLayout(PageLayoutFor(row));
  }
  QPaintDevice* Device() override { return writer_.get(); }
  bool NewPage() override { return writer_->newPage(); }
  int Finish(bool ok) override {
    writer_.reset();
    buffer_.close();
    if (!ok) {
      file_->cancelWriting();
      file_->commit();  // removes the temporary file
      return 0;
    }
    const QByteArray& data = buffer_.data();
    if (file_->write(data) != data.size() || !file_->commit()) {
      return file_->error() == QFileDevice::ResourceError ? kSpoolerOutOfDisk : kErrorPrinting;
    }
    return 0;
  }

 private:
  std::string path_;
  std::unique_ptr<QSaveFile> file_;
  QBuffer buffer_;
  std::unique_ptr<QPdfWriter> writer_;
};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string_view FailureText(int code) {
  for (const auto& [number, text] : kFailures) {
    if (number == code) return text;
  }
  return {};
}

bool KeepsFile(std::string_view title, std::string_view path) {
  if (title.size() != path.size()) return false;
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (Lower(title[i]) != Lower(path[i])) return false;
  }
  return true;
}

JobResult PrintText(const PrintRequest& request, Target& target, JobHost& host) {
  CheckRequest(request);
  JobResult result;
  auto fail = [&](int code) {
    result.outcome = Outcome::Failed;
    result.code = code;
    host.Failed(code, FailureText(code));
    return result;
  };

  const std::optional<std::string> text = ReadFile(request.file_path);
  if (!text) return fail(kCouldNotOpenFile);

  // From here on the job ends by removing a temporary print file.
  struct Cleanup {
    const PrintRequest& request;
    ~Cleanup() {
      if (!KeepsFile(request.title, request.file_path)) {
        std::error_code ec;
        fs::remove(request.file_path, ec);
      }
    }
  } cleanup{request};

  const LayoutRow& row = LayoutFor(request.paper, request.layout);
  if (!target.Open(request, row)) return fail(kErrorInitializingPrinter);
  const QFont font = RequestFont(request, row);
  if (font.family().isEmpty()) {
    target.Finish(false);
    return fail(kErrorSelectingFont);
  }
  LayoutInput input;
  input.average_char_width = AverageCharWidth(font, target.Device());
  input.date_time = request.header ? HeaderDate() : std::string();
  const Layout layout = LayOut(*text, request, input);
  trace::Write("\n print " + request.file_path + " sheets " + std::to_string(layout.sequence.size()));

  QPainter painter;
  if (!painter.begin(target.Device())) {
    target.Finish(false);
    return fail(kErrorStartingDocument);
  }
  host.Started(request.title);
  int failure = 0;
  bool aborted = false;
  for (std::size_t i = 0; i < layout.sequence.size(); ++i) {
    const SheetRef& ref = layout.sequence[i];
    if (host.AbortRequested()) {
      aborted = true;
      break;
    }
    if (i > 0 && !target.NewPage()) {
      const int status = target.Status();
      aborted = status < 0;
      failure = aborted ? 0 : kErrorCreatingPage;
      break;
    }
    unsigned page = 0;
    if (ref.sheet >= 0) page = layout.document[static_cast<std::size_t>(ref.sheet)].areas.front().page;
    host.Progress(ref.copy, page, static_cast<unsigned>(i + 1));
    DrawSheet(painter, layout, ref, font);
    ++result.sheets;
    const int status = target.Status();
    if (status != 0) {
      aborted = status < 0;
      failure = aborted ? 0 : status;
      break;
    }
  }
  if (!aborted && failure == 0 && host.AbortRequested()) aborted = true;
  const bool ended = painter.end();
  const bool ok = !aborted && failure == 0;
  if (ok && !ended) failure = kErrorPrinting;
  const int finish = target.Finish(ok && ended);
  if (ok && ended && finish != 0) failure = finish;
  host.Finished();
  if (failure != 0) return fail(failure);
  if (aborted) result.outcome = Outcome::Cancelled;
  return result;
}

JobResult PrintFile(const PrintRequest& request, JobHost& host) {
  PrinterTarget target;
  return PrintText(request, target, host);
}

JobResult PrintPdf(const PrintRequest& request, const std::string& pdf_path, JobHost& host) {
  PdfTarget target(pdf_path);
  return PrintText(request, target, host);
}

JobResult SaveTextPdf(std::string_view text, const std::string& pdf_path, PrintRequest request, JobHost& host) {
  if (request.title.empty()) request.title = fs::path(pdf_path).filename().string();
  std::error_code ec;
  std::string temp = (fs::temp_directory_path(ec) / "qmx_print_XXXXXX").string();
  const int fd = ec ? -1 : ::mkstemp(temp.data());
  bool written = fd >= 0;
  for (std::size_t done = 0; written && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) done += static_cast<std::size_t>(n);
  }
  if (fd >= 0 && ::close(fd) != 0) written = false;
  if (!written) {
    if (fd >= 0) fs::remove(temp, ec);
    JobResult result{Outcome::Failed, kCouldNotOpenFile, 0};
    host.Failed(kCouldNotOpenFile, FailureText(kCouldNotOpenFile));
    return result;
  }
  request.file_path = temp;
  // The title differs from the temporary path, so the job removes the file.
  if (KeepsFile(request.title, request.file_path)) request.title += " ";
  try {
    return PrintPdf(request, pdf_path, host);
  } catch (...) {
    fs::remove(temp, ec);  // a refused request leaves no temporary file behind
    throw;
  }
}

}  // namespace qmx::Print
