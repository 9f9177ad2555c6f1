#pragma once
// The program's help: HTML pages compiled in as resources, shown in a browser window at the
// section of a page's context number.
#include <QWidget>

class QTextBrowser;

namespace qmx::ui {

class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the help at the section of the context number (the contents for an unknown one).
  void ShowContext(int context);
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

// The resource URL of the help section of a context number.
QString HelpUrl(int context);

}  // namespace qmx::ui
