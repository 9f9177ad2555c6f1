#include "ui/print/offscreen.hpp"

#include <QCoreApplication>
#include <QGuiApplication>

namespace qmx::Print {

std::unique_ptr<QCoreApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  // The arguments must outlive the application.
  static int argc = 3;
  static char name[] = "qmx";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  argc = 3;
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace qmx::Print
