#include "ui/application.hpp"

#include <exception>

#include <QFile>
#include <QMessageBox>

#include "numerics/error.hpp"
#include "ui/about_page.hpp"
#include "units/fe.hpp"

// Resources of a static library are registered by name, outside any namespace.
static void InitQmxResources() { Q_INIT_RESOURCE(qmx); }

namespace qmx::ui {

namespace {

Application::UnhandledBox& Box() {
  static Application::UnhandledBox box = [](const QString& text) {
    QMessageBox::critical(nullptr, QStringLiteral("Unhandled exception"), text);
  };
  return box;
}

}  // namespace

void InitResources() { InitQmxResources(); }

std::initializer_list<const char*> RequiredResources() {
  static constexpr std::initializer_list<const char*> kRequired = {
      kLogoResource, kNameResource, kNoticeResource, ":/qmx/help/qmx_help.html",
      ":/qmx/artwork/qmx.png"};
  return kRequired;
}

bool CheckResources(std::initializer_list<const char*> paths) {
  for (const char* path : paths) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
  }
  return true;
}

void InstallBeep() {
  FE::SetBeep([] { QApplication::beep(); });
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("qmx"));
  setApplicationDisplayName(QStringLiteral("Qumetrix"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const Error& e) {
    ReportUnhandled(QStringLiteral("%1\n\nModule %2, number %3")
                        .arg(QString::fromStdString(e.message()), QString::fromStdString(e.module()))
                        .arg(e.code()));
  } catch (const std::exception& e) {
    ReportUnhandled(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ReportUnhandled(QStringLiteral("unknown exception"));
  }
  exit(1);
  return false;
}

void Application::SetUnhandledBox(UnhandledBox box) { Box() = std::move(box); }

void Application::ReportUnhandled(const QString& text) {
  if (Box()) Box()(text);
}

}  // namespace qmx::ui
