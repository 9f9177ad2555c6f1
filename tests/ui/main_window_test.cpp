// The frame: caption, tab order and visibility, page registry, error boxes around page events,
// resources, help and screenshots.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "support/ui_fixture.hpp"
#include "ui/application.hpp"
#include "ui/help_window.hpp"
#include "ui/settings_page.hpp"

namespace qmx::ui::test {
namespace {

const char* const kTabOrder[] = {"About", "Units",  "Settings", "Mole fractions", "Flow",
                                 "Reference", "GCN", "Steam",   "Liquids",        "Standards"};

TEST_F(UiTest, CaptionTabOrderAndVisibilityAtStart) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Qumetrix"));
  QTabWidget* tabs = window_->Tabs();
  EXPECT_EQ(tabs->objectName(), QStringLiteral("MainMenu"));
  ASSERT_EQ(tabs->count(), 10);
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_EQ(tabs->tabText(i), QString::fromLatin1(kTabOrder[i])) << i;
    const bool hidden = i >= 6;  // GCN, Steam, Liquids, Standards
    EXPECT_EQ(tabs->isTabVisible(i), !hidden) << kTabOrder[i];
  }
}

TEST_F(UiTest, PagesAreRegisteredByNumber) {
  const std::pair<int, const char*> registry[] = {{1, "About"}, {2, "Units"},  {3, "Settings"},
                                                  {4, "Mole fractions"},      {5, "GCN"},
                                                  {6, "Steam"}, {7, "Liquids"}, {8, "Flow"},
                                                  {10, "Reference"}};
  EXPECT_EQ(QMXcalc::GetPage(0), reinterpret_cast<QMXcalc::PageHandle>(window_.get()));
  for (const auto& [number, label] : registry) {
    EXPECT_EQ(QMXcalc::GetPage(number), reinterpret_cast<QMXcalc::PageHandle>(PageOf(label))) << label;
  }
  EXPECT_EQ(QMXcalc::GetPage(9), 0u);
  EXPECT_EQ(QMXcalc::Calc().standardsPage, reinterpret_cast<QMXcalc::PageHandle>(PageOf("Standards")));
}

TEST_F(UiTest, FrameTraceLines) {
  // The fixture's window was created inside the sink.
  EXPECT_NE(trace_.find("\n Frame CREATE"), std::string::npos);
  EXPECT_LT(trace_.find("\n Frame CREATE"), trace_.find("\n Frame EndCreate"));
  trace_.clear();
  window_->resize(700, 520);
  EXPECT_NE(trace_.find("\n Frame Size changed width=700 height=520"), std::string::npos) << trace_;
  window_->close();
  EXPECT_NE(trace_.find("\n Frame CM_REQUEST"), std::string::npos);
  EXPECT_NE(trace_.find("\n Frame CM_DICTATE"), std::string::npos);
}

TEST_F(UiTest, RaiseDuringAPageEventShowsAWarningAndTheProgramGoesOn) {
  auto* settings = static_cast<SettingsPage*>(PageOf("Settings"));
  settings->SelectMeter(11);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(warnings_[0].text.contains(QStringLiteral("QMXsettingsWndProc() invalid meter")));
  EXPECT_TRUE(warnings_[0].text.contains(QStringLiteral("QMXsettings")));
  EXPECT_TRUE(warnings_[0].text.contains(QStringLiteral("number 1")));
  int nonDP = 0;
  EXPECT_EQ(QMXcalc::GetMeter(nonDP), 15);
  // The next event works as usual.
  Choose(List("Settings", "meter"), QStringLiteral("Orifice meter, ISO 5167(2003)"));
  EXPECT_EQ(QMXcalc::GetMeter(nonDP), 12);
  EXPECT_EQ(warnings_.size(), 1u);
}

TEST_F(UiTest, ResourcesAreCompiledIn) {
  EXPECT_TRUE(CheckResources());
  EXPECT_FALSE(CheckResources({":/qmx/artwork/logo.png", ":/qmx/artwork/missing.png"}));
}

TEST_F(UiTest, HelpOpensAtThePagesContext) {
  const std::pair<const char*, int> contexts[] = {{"Settings", 100}, {"Flow", 101}, {"Reference", 300},
                                                  {"Mole fractions", 400}, {"GCN", 500},
                                                  {"Steam", 600}, {"Liquids", 700}, {"Units", 1000}};
  for (const auto& [label, context] : contexts) {
    Page* page = PageOf(label);
    EXPECT_EQ(page->HelpContext(), context) << label;
    auto* help = page->findChild<QPushButton*>("help");
    ASSERT_NE(help, nullptr) << label;
    QTest::mouseClick(help, Qt::LeftButton);
    ASSERT_NE(window_->Help(), nullptr);
    QTextBrowser* browser = window_->Help()->Browser();
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("c%1").arg(context)) << label;
    // The section exists in the help text and has content of its own.
    EXPECT_TRUE(browser->document()->toHtml().contains(QStringLiteral("c%1").arg(context))) << label;
  }
}

TEST_F(UiTest, ScreenshotsOfEveryTabHiddenOnesIncluded) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList written = window_->SaveScreenshots(dir.path());
  // Ten tabs and the Flow page's two dialogs.
  ASSERT_EQ(written.size(), 12);
  EXPECT_EQ(window_->ScreenshotCount(), 12);
  for (const char* dialog : {"sizing.png", "uncertainty.png"}) {
    EXPECT_FALSE(QImage(QDir(dir.path()).filePath(QString::fromLatin1(dialog))).isNull()) << dialog;
  }
  for (const char* label : kTabOrder) {
    const QString path = QDir(dir.path()).filePath(ScreenshotName(QString::fromLatin1(label)) + ".png");
    QImage image(path);
    EXPECT_FALSE(image.isNull()) << label;
    EXPECT_EQ(image.size(), window_->size()) << label;
  }
  EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("Mole_fractions.png")));
  // Visibility as before.
  EXPECT_FALSE(window_->IsTabShown("Steam"));
  EXPECT_FALSE(window_->IsTabShown("Standards"));
  EXPECT_TRUE(window_->IsTabShown("Mole fractions"));
}

TEST_F(UiTest, ScreenshotsIntoAnUnwritableFolderWriteNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = QDir(dir.path()).filePath("plain_file");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_TRUE(window_->SaveScreenshots(QDir(file).filePath("sub")).isEmpty());
}

}  // namespace
}  // namespace qmx::ui::test

namespace qmx::ui::test {
namespace {

// A widget whose event handler fails in a way no page event catches.
class Failing : public QWidget {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("handler failed");
    return QWidget::event(e);
  }
};

TEST(Application, AnythingNoPageEventCatchesIsReportedAsUnhandled) {
  QStringList boxes;
  Application::SetUnhandledBox([&](const QString& text) { boxes << text; });
  Failing w;
  QEvent e(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&w, &e));
  ASSERT_EQ(boxes.size(), 1);
  EXPECT_EQ(boxes[0], QStringLiteral("handler failed"));
  Application::SetUnhandledBox({});
}

}  // namespace
}  // namespace qmx::ui::test
