#pragma once
// The desktop program's application object and start-up services: the compiled-in resources and
// their check, the beep, and the last handler of anything no page event caught.
#include <functional>
#include <initializer_list>

#include <QApplication>
#include <QString>

namespace qmx::ui {

// Registers the compiled-in resources (artwork and help) of the library.
void InitResources();

// The resources the program cannot run without.
std::initializer_list<const char*> RequiredResources();
// True when every one of the resources can be opened.
bool CheckResources(std::initializer_list<const char*> paths = RequiredResources());

// Sends the exclamation beep of refused entries and meter warnings to the desktop's bell.
void InstallBeep();

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  // Anything that escapes every page event's handler ends up here: it is shown in a box titled
  // "Unhandled exception" and the event loop ends with exit code 1.
  bool notify(QObject* receiver, QEvent* event) override;

  // The box of an unhandled exception; replaceable (tests).
  using UnhandledBox = std::function<void(const QString& text)>;
  static void SetUnhandledBox(UnhandledBox box);
  static void ReportUnhandled(const QString& text);
};

}  // namespace qmx::ui
