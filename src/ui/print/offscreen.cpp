#include "ui/print/offscreen.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>

#include "numerics/trace.hpp"

namespace qmx::Print {

namespace {

// Qt's own diagnostics (missing runtime folder and the like) go to the trace,
// not to the program's error stream.
void ToTrace(QtMsgType /*type*/, const QMessageLogContext& /*context*/, const QString& message) {
  trace::Write("\n Qt " + message.toStdString());
}

}  // namespace

std::unique_ptr<QCoreApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  // The arguments must outlive the application.
  static int argc = 3;
  static char name[] = "qmx";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  argc = 3;
  qInstallMessageHandler(ToTrace);
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace qmx::Print
