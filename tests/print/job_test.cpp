// The print job on its devices: the PDF of a report read back with the poppler
// tools, paper and orientation, failures with their messages, cancel, the
// status dialog, and the removal of temporary print files.
#include "ui/print/job.hpp"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "print_support.hpp"
#include "numerics/error.hpp"
#include "ui/print/render.hpp"
#include "ui/print/print_dialog.hpp"
#include "ui/print/status_dialog.hpp"
#include "units/fe.hpp"

namespace {

using namespace qmx::Print;
using namespace qmx::print_test;

// Records what a job tells its user interface.
class RecordingHost : public JobHost {
 public:
  void Started(std::string_view title) override { started.emplace_back(title); }
  void Progress(unsigned copy, unsigned page, unsigned sheet) override {
    progress.push_back({copy, page, sheet});
  }
  bool AbortRequested() override { return cancel_after > 0 && progress.size() >= cancel_after; }
  void Finished() override { ++finished; }
  void Failed(int code, std::string_view text) override { failures.emplace_back(code, std::string(text)); }

  std::size_t cancel_after = 0;
  std::vector<std::string> started;
  std::vector<std::array<unsigned, 3>> progress;
  int finished = 0;
  std::vector<std::pair<int, std::string>> failures;
};

PrintRequest ReportRequest(const std::string& path) {
  // As the flow report prints: Courier New, layout 0, Letter, weight 400, tabs
  // of four, frame on, the file path as the title.
  PrintRequest r;
  r.file_path = path;
  r.title = path;
  return r;
}

// The lines of a text without line ends and trailing blanks, empty lines dropped.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::string line;
  auto flush = [&] {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    if (!line.empty()) out.push_back(line);
    line.clear();
  };
  for (char c : text) {
    if (c == '\n' || c == '\f') {
      flush();
    } else {
      line.push_back(c);
    }
  }
  flush();
  return out;
}

// pdftotext with the character pitch of the face: the page's text in columns,
// the common left margin removed.
std::vector<std::string> PdfLines(const std::string& pdf, double pitch_points) {
  std::vector<std::string> lines =
      Lines(RunTool("pdftotext -fixed " + std::to_string(pitch_points) + " '" + pdf + "' - 2>/dev/null"));
  std::size_t indent = std::string::npos;
  for (const std::string& l : lines) indent = std::min(indent, l.find_first_not_of(' '));
  for (std::string& l : lines) l.erase(0, indent);
  return lines;
}

class PrintJob : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(dir_.ok());
  }
  TempDir dir_;
};

// The default report, laid out on Letter and read back from the PDF, gives its
// lines back, the long ones continued on the next line at 105 characters.
TEST_F(PrintJob, PdfOfTheDefaultReportGivesBackItsLines) {
  if (!HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext not installed";
  const std::string report = ReadFile(std::string(QMX_DATA_DIR) + "/reports/defaults.txt");
  ASSERT_FALSE(report.empty());
  const std::string txt = dir_.File("print.txt");
  WriteFile(txt, report);
  const std::string pdf = dir_.File("report.pdf");
  RecordingHost host;
  const JobResult result = PrintPdf(ReportRequest(txt), pdf, host);
  ASSERT_EQ(result.outcome, Outcome::Printed);
  EXPECT_TRUE(host.failures.empty());
  EXPECT_EQ(host.finished, 1);

  std::vector<std::string> expected;
  for (const std::string& line : Lines(report)) {
    for (std::size_t at = 0; at < line.size(); at += 105) expected.push_back(line.substr(at, 105));
  }
  // The tool drops blanks at either end of a piece; compare trimmed.
  auto trim = [](std::vector<std::string> v) {
    for (std::string& s : v) {
      s.erase(0, s.find_first_not_of(' '));
      while (!s.empty() && s.back() == ' ') s.pop_back();
    }
    return v;
  };
  const std::vector<std::string> got = PdfLines(pdf, 4.8);
  const std::vector<std::string> a = trim(got), b = trim(expected);
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) ASSERT_EQ(a[i], b[i]) << "line " << i;
  EXPECT_EQ(a.size(), b.size());
  // The left margin of the text is kept within each page: the title line is indented.
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], expected[0]);
  EXPECT_EQ(static_cast<unsigned>(result.sheets), 2u);
  // The report's own print file stays where it is.
  EXPECT_TRUE(fs::exists(txt));
}

struct PaperCase {
  int paper;
  int layout;
  const char* size;         // pdfinfo's page size
  unsigned pages;
};

class PdfPaper : public PrintJob, public ::testing::WithParamInterface<PaperCase> {};

TEST_P(PdfPaper, SizeAndOrientation) {
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo not installed";
  const PaperCase& c = GetParam();
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "page one\fpage two\f");
  const std::string pdf = dir_.File("t.pdf");
  PrintRequest r = ReportRequest(txt);
  r.paper = c.paper;
  r.layout = c.layout;
  RecordingHost host;
  ASSERT_EQ(PrintPdf(r, pdf, host).outcome, Outcome::Printed);
  const std::string info = RunTool("pdfinfo '" + pdf + "'");
  EXPECT_NE(info.find(std::string("Page size:       ") + c.size), std::string::npos) << info;
  EXPECT_NE(info.find("Pages:           " + std::to_string(c.pages) + "\n"), std::string::npos) << info;
}

INSTANTIATE_TEST_SUITE_P(Papers, PdfPaper,
                         ::testing::Values(PaperCase{kLetter, 0, "612 x 792 pts (letter)", 2},
                                           PaperCase{kLetter, 1, "792 x 612 pts (letter)", 2},
                                           PaperCase{kLetter, 2, "792 x 612 pts (letter)", 1},
                                           PaperCase{kA4, 0, "595 x 842 pts (A4)", 2},
                                           PaperCase{kA4, 1, "842 x 595 pts (A4)", 2},
                                           PaperCase{kA4, 4, "595 x 842 pts (A4)", 1}));

TEST_F(PrintJob, CopiesAreSheetsOfThePdf) {
  if (!HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext not installed";
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "alpha\fbravo\n");
  PrintRequest r = ReportRequest(txt);
  r.copies = 3;
  const std::string pdf = dir_.File("t.pdf");
  RecordingHost host;
  ASSERT_EQ(PrintPdf(r, pdf, host).outcome, Outcome::Printed);
  EXPECT_EQ(Lines(RunTool("pdftotext '" + pdf + "' -")),
            (std::vector<std::string>{"alpha", "alpha", "alpha", "bravo", "bravo", "bravo"}));
  ASSERT_EQ(host.progress.size(), 6u);
  EXPECT_EQ(host.progress[4], (std::array<unsigned, 3>{2, 2, 5}));  // copy, page, sheet
}

TEST_F(PrintJob, FileIsDeletedUnlessTheTitleNamesIt) {
  const std::string txt = dir_.File("Print.txt");
  const std::string pdf = dir_.File("out.pdf");
  std::string upper = txt;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const std::vector<std::pair<std::string, bool>> cases = {
      {txt, true}, {upper, true}, {"Flow report", false}, {txt + " ", false}, {"", false}};
  for (const auto& [title, kept] : cases) {
    WriteFile(txt, "text\n");
    PrintRequest r = ReportRequest(txt);
    r.title = title;
    RecordingHost host;
    EXPECT_EQ(PrintPdf(r, pdf, host).outcome, Outcome::Printed) << title;
    EXPECT_EQ(fs::exists(txt), kept) << title;
  }
  EXPECT_TRUE(KeepsFile("C:\\QMX\\PRINT.TXT", "c:\\qmx\\print.txt"));
  EXPECT_FALSE(KeepsFile("print.txt", "print.txt2"));
}

TEST_F(PrintJob, UnopenableFileFailsWith60008) {
  const std::vector<std::string> paths = {dir_.File("missing.txt"), dir_.File(""), ""};
  for (const std::string& path : paths) {
    RecordingHost host;
    PrintRequest r = ReportRequest(path);
    r.title = "other";
    const std::string pdf = dir_.File("never.pdf");
    const JobResult result = PrintPdf(r, pdf, host);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.code, kCouldNotOpenFile);
    ASSERT_EQ(host.failures.size(), 1u) << path;
    EXPECT_EQ(host.failures[0].second, "Could not open file to print");
    EXPECT_TRUE(host.started.empty());
    EXPECT_FALSE(fs::exists(pdf));
  }
  // A folder is not a file to print, and is not removed.
  RecordingHost host;
  PrintRequest r = ReportRequest(dir_.File(""));
  EXPECT_EQ(PrintPdf(r, dir_.File("x.pdf"), host).code, kCouldNotOpenFile);
  EXPECT_TRUE(fs::is_directory(dir_.File("")));
}

TEST_F(PrintJob, UnwritablePdfFailsBeforeTheDocumentStarts) {
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "text\n");
  RecordingHost host;
  const JobResult result = PrintPdf(ReportRequest(txt), dir_.File("no/such/folder/x.pdf"), host);
  EXPECT_EQ(result.code, kErrorInitializingPrinter);
  ASSERT_EQ(host.failures.size(), 1u);
  EXPECT_EQ(host.failures[0].second, "Error initializing printer");
  EXPECT_TRUE(host.started.empty());
}

TEST_F(PrintJob, UnknownPrinterFailsWith60007) {
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "text\n");
  PrintRequest r = ReportRequest(txt);
  r.printer = "qmx-no-such-printer";
  RecordingHost host;
  const JobResult result = PrintFile(r, host);
  EXPECT_EQ(result.code, kErrorInitializingPrinter);
  ASSERT_EQ(host.failures.size(), 1u);
  EXPECT_TRUE(host.started.empty());
  EXPECT_TRUE(fs::exists(txt));
}

TEST_F(PrintJob, CancelEndsQuietlyAndKeepsAnEarlierPdf) {
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "a\fb\fc\fd\n");
  const std::string pdf = dir_.File("t.pdf");
  WriteFile(pdf, "earlier");
  RecordingHost host;
  host.cancel_after = 2;
  PrintRequest r = ReportRequest(txt);
  r.title = "temporary";
  const JobResult result = PrintPdf(r, pdf, host);
  EXPECT_EQ(result.outcome, Outcome::Cancelled);
  EXPECT_EQ(result.sheets, 2u);
  EXPECT_TRUE(host.failures.empty());
  EXPECT_EQ(host.finished, 1);
  EXPECT_EQ(ReadFile(pdf), "earlier");
  EXPECT_FALSE(fs::exists(txt));  // a temporary file goes whatever the outcome
  std::error_code ec;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.File(""), ec), fs::directory_iterator()), 1);
}

TEST_F(PrintJob, SaveTextPdfRemovesItsTemporaryFile) {
  if (!HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext not installed";
  const std::string pdf = dir_.File("r.pdf");
  const auto temporaries = [] {
    int n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(fs::temp_directory_path(), ec)) {
      n += e.path().filename().string().rfind("qmx_print_", 0) == 0 &&
           e.path().filename().string().rfind("qmx_print_test", 0) != 0;
    }
    return n;
  };
  const int before = temporaries();
  RecordingHost host;
  PrintRequest r;
  r.paper = kA4;
  const JobResult result = SaveTextPdf("first line\n\tsecond\n", pdf, r, host);
  ASSERT_EQ(result.outcome, Outcome::Printed);
  EXPECT_EQ(PdfLines(pdf, 4.8),
            (std::vector<std::string>{"first line", "    second"}));
  EXPECT_EQ(temporaries(), before);
  // A refused request raises and still leaves nothing behind.
  r.layout = 7;
  EXPECT_THROW(SaveTextPdf("x", dir_.File("bad.pdf"), r, host), qmx::Error);
  EXPECT_EQ(temporaries(), before);
  EXPECT_FALSE(fs::exists(dir_.File("bad.pdf")));
}

TEST(PrintFailures, Texts) {
  const std::vector<std::pair<int, std::string>> table = {
      {60000, "Print spooler ran out of disk space"}, {60001, "Print spooler ran out of memory"},
      {60002, "Error printing"},                      {60003, "Error creating print page"},
      {60004, "Error starting print document"},       {60006, "Error selecting printer font"},
      {60007, "Error initializing printer"},          {60008, "Could not open file to print"}};
  for (const auto& [code, text] : table) EXPECT_EQ(FailureText(code), text) << code;
  EXPECT_EQ(FailureText(60005), "");
}

// A target whose pages fail, to check the mapping of device failures.
class FailingTarget : public Target {
 public:
  explicit FailingTarget(int status) : status_(status), image_(850, 1100, QImage::Format_RGB32) {}
  bool Open(const PrintRequest&, const LayoutRow&) override { return true; }
  QPaintDevice* Device() override { return &image_; }
  bool NewPage() override { return false; }
  int Status() override { return status_; }
  int Finish(bool ok) override {
    finished_ok = ok;
    return 0;
  }
  bool finished_ok = true;

 private:
  int status_;
  QImage image_;
};

TEST_F(PrintJob, DeviceFailuresEndTheJob) {
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "a\fb\n");
  const std::vector<std::pair<int, int>> cases = {{kSpoolerOutOfDisk, kSpoolerOutOfDisk},
                                                  {kSpoolerOutOfMemory, kSpoolerOutOfMemory},
                                                  {kErrorPrinting, kErrorPrinting},
                                                  {-1, 0}};
  for (const auto& [status, expected] : cases) {
    FailingTarget target(status);
    RecordingHost host;
    const JobResult result = PrintText(ReportRequest(txt), target, host);
    EXPECT_FALSE(target.finished_ok);
    EXPECT_EQ(result.code, expected);
    EXPECT_EQ(host.failures.size(), expected == 0 ? 0u : 1u);
    EXPECT_EQ(result.outcome, expected == 0 ? Outcome::Cancelled : Outcome::Failed);
    EXPECT_EQ(result.sheets, 1u);
  }
  // A new page refused by a working device is 60003.
  FailingTarget target(0);
  RecordingHost host;
  EXPECT_EQ(PrintText(ReportRequest(txt), target, host).code, kErrorCreatingPage);
  ASSERT_EQ(host.failures.size(), 1u);
  EXPECT_EQ(host.failures[0].second, "Error creating print page");
}

// The dialog host: the main window is disabled while the dialog shows the
// numbers; Cancel ends the job without an error box.
class TestDialogHost : public DialogJobHost {
 public:
  using DialogJobHost::DialogJobHost;
  void Progress(unsigned copy, unsigned page, unsigned sheet) override {
    DialogJobHost::Progress(copy, page, sheet);
    ASSERT_NE(dialog(), nullptr);
    titles.push_back(dialog()->windowTitle().toStdString());
    texts.push_back(dialog()->progressText().toStdString());
    main_enabled.push_back(main_ && main_->isEnabled());
    if (sheet == 2) dialog()->cancelButton()->click();
  }
  QWidget* main_ = nullptr;
  std::vector<std::string> titles, texts;
  std::vector<bool> main_enabled;
  std::vector<int> errors;

 protected:
  void ShowError(int code, const QString&) override { errors.push_back(code); }
};

TEST_F(PrintJob, StatusDialogCancels) {
  QWidget main;
  main.show();
  const std::string txt = dir_.File("t.txt");
  WriteFile(txt, "a\fb\fc\fd\n");
  TestDialogHost host(&main);
  host.main_ = &main;
  const JobResult result = PrintPdf(ReportRequest(txt), dir_.File("t.pdf"), host);
  EXPECT_EQ(result.outcome, Outcome::Cancelled);
  EXPECT_EQ(result.sheets, 2u);
  EXPECT_TRUE(host.errors.empty());
  ASSERT_EQ(host.texts.size(), 2u);
  EXPECT_EQ(host.titles[0], "Print status");
  EXPECT_EQ(host.texts[1], "Copy 1 Page 2 Sheet 2");
  EXPECT_FALSE(host.main_enabled[0]);
  EXPECT_TRUE(main.isEnabled());
  EXPECT_EQ(host.dialog(), nullptr);
  EXPECT_FALSE(fs::exists(dir_.File("t.pdf")));
}

TEST_F(PrintJob, DialogHostShowsFailures) {
  TestDialogHost host(nullptr);
  PrintRequest r = ReportRequest(dir_.File("missing.txt"));
  EXPECT_EQ(PrintPdf(r, dir_.File("t.pdf"), host).code, kCouldNotOpenFile);
  EXPECT_EQ(host.errors, (std::vector<int>{kCouldNotOpenFile}));
}

TEST_F(PrintJob, CourierNewPrintsInAFixedPitchFace) {
  const QString family = ResolveFamily(QStringLiteral("Courier New"));
  ASSERT_FALSE(family.isEmpty());
  const QFont font = RequestFont(ReportRequest("x"), LayoutFor(kLetter, 0));
  EXPECT_EQ(font.pixelSize(), 160);
  EXPECT_EQ(font.weight(), QFont::Normal);
  QImage image(100, 100, QImage::Format_RGB32);
  // Courier New and its metric twins advance 0.6 of the height per character.
  EXPECT_NEAR(AverageCharWidth(font, &image), 96, 1);
  EXPECT_TRUE(QFontDatabase::isFixedPitch(family));
}

// The text is drawn where the layout puts it: dark pixels inside the first
// line's cell, none above the frame.
TEST_F(PrintJob, TextLandsAtItsTwipsPosition) {
  const PrintRequest r = ReportRequest("x");
  const Layout layout = LayOut("MMMM", r, LayoutInput{});
  QImage image(850, 1100, QImage::Format_RGB32);  // Letter at 100 dpi
  image.setDotsPerMeterX(3937);
  image.setDotsPerMeterY(3937);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawSheet(painter, layout, layout.sequence[0], RequestFont(r, layout.row));
  painter.end();
  auto dark = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
  };
  // Text origin (680 + 260 gutter, 700) twips = (65.3, 48.6) pixels; four cells 96 twips wide.
  EXPECT_GT(dark(66, 49, 92, 60), 20);
  EXPECT_EQ(dark(93, 49, 120, 60), 0);
  // The frame's left edge at 680 + 260 - 180 twips = 52.8 pixels.
  EXPECT_GT(dark(52, 100, 54, 200), 50);
  EXPECT_EQ(dark(0, 0, 50, 1100), 0);
}

}  // namespace

namespace {

using namespace qmx::Print;

TEST(PrintDialog, ChoicesGoIntoTheRequest) {
  qmx::print_test::App();
  PrintRequest request;
  request.copies = 3;
  request.collate = true;
  request.duplex = true;
  QPrinter printer(QPrinter::HighResolution);
  PrinterFromRequest(request, printer);
  PrintRequest back;
  ApplyPrinterChoice(printer, back);
  EXPECT_EQ(back.copies, 3u);
  EXPECT_TRUE(back.collate);
  // Duplex is kept only by printers that have it (not by this machine's PDF fallback).
  request.copies = 0;
  request.collate = false;
  request.duplex = false;
  PrinterFromRequest(request, printer);
  ApplyPrinterChoice(printer, back);
  EXPECT_EQ(back.copies, 1u);
  EXPECT_FALSE(back.collate);
  EXPECT_FALSE(back.duplex);
}

TEST(PrintDialog, ProposedPdfNameCarriesTheStamp) {
  qmx::FE::ScopedClock clock([] { return qmx::FE::DateTime{2014, 12, 5, 9, 30, 15}; });
  EXPECT_EQ(ProposedPdfName(), "QMX_Report_5Dec14_93015.pdf");
}

}  // namespace
