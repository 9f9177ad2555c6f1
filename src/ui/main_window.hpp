#pragma once
// The frame of the desktop program: caption "Qumetrix", the tab strip "MainMenu" with the pages in
// their fixed order, the page registry of the calculation state, showing and hiding the fluid
// pages and Standards, the frame size by screen resolution, and the boxes that report a raise
// during a page event. Page behaviour stays in the pages.
#include <functional>
#include <optional>
#include <vector>

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui/page_host.hpp"

class QTabWidget;

namespace qmx::ui {

class Page;
class HelpWindow;

// The message boxes and the prompt, replaceable so that tests never block on a dialog.
struct Dialogs {
  std::function<void(QWidget* parent, const QString& title, const QString& text)> warn;
  std::function<void(QWidget* parent, const QString& title, const QString& text)> inform;
  std::function<std::optional<QString>(QWidget* parent, const QString& title, const QString& label,
                                       int maxLength)>
      password;
};
// Qt's message boxes and a hidden-entry input dialog.
Dialogs StandardDialogs();

class MainWindow : public QWidget, public PageHost {
 public:
  // The calculation state must be initialised.
  explicit MainWindow(Dialogs dialogs = StandardDialogs(), QWidget* parent = nullptr);
  ~MainWindow() override;

  // PageHost
  void RunEvent(const std::function<void()>& event) override;
  void Inform(const QString& title, const QString& text) override;
  void Warn(const QString& title, const QString& text) override;
  std::optional<QString> AskPassword(const QString& title, const QString& label,
                                     int maxLength) override;
  void ShowHelp(int context) override;
  void SyncPages() override;

  Dialogs& GetDialogs() { return dialogs_; }
  QTabWidget* Tabs() const { return tabs_; }
  // The page with that tab label, or nullptr.
  Page* PageByLabel(const QString& label) const;
  const std::vector<Page*>& Pages() const { return pages_; }
  bool IsTabShown(const QString& label) const;
  // Makes the page of that label the current tab (it must be shown).
  void Select(const QString& label);
  HelpWindow* Help() const { return help_; }

  // Closing the frame ends the event loop with this code (0: leave the loop alone).
  void SetQuitCode(int code) { quitCode_ = code; }

  // One PNG per tab, named after its tab, hidden pages included; the tabs' visibility and the
  // current tab are restored afterwards. Returns the files written; a file that cannot be written
  // is left out.
  QStringList SaveScreenshots(const QString& folder);
  // The pictures SaveScreenshots writes: one per page and the Flow page's dialogs.
  int ScreenshotCount() const;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void AddPage(Page* page);
  void ShowError(const QString& module, const QString& message, int number);
  // Sets the fluid kind and calculates (the screenshots of the hidden fluid pages).
  void UseFluid(int kind);

  Dialogs dialogs_;
  QTabWidget* tabs_ = nullptr;
  std::vector<Page*> pages_;
  HelpWindow* help_ = nullptr;  // owned; a top-level window of its own
  bool settingsChanged_ = false;  // the one changed flag of the Settings and Flow pages
  int quitCode_ = 0;
};

// The screenshot file name of a tab label: blanks become underscores ("Mole_fractions").
QString ScreenshotName(const QString& tabLabel);

}  // namespace qmx::ui
