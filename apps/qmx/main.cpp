// qmx: the desktop program. Starts the engines and the calculation state, checks the program's
// resources, opens the main window and runs the event loop.
//   qmx                     the window
//   qmx --screenshots DIR   one PNG per tab page and per Flow page dialog into DIR, then exit (any
//                           platform, offscreen too)
//   qmx --trace             the diagnostic trace lines on standard error
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include <QStringList>

#include "app/qmxcalc.hpp"
#include "meters/dp0.hpp"
#include "numerics/error.hpp"
#include "numerics/trace.hpp"
#include "reports/report.hpp"
#include "ui/application.hpp"
#include "ui/main_window.hpp"
#include "units/fe.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: qmx [--trace] [--screenshots DIR]\n"
    "  --screenshots DIR  write one PNG per tab page (named after the tab) and the Flow page's sizing and\n"
    "                     uncertainty dialogs (sizing.png, uncertainty.png) into DIR and exit\n"
    "  --trace            write the diagnostic trace lines to standard error\n"
    "  --version          print the version text and exit\n";

struct Options {
  bool trace = false;
  std::string screenshots;
};

// Reads the options; false (after a message) for anything else.
bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--trace") {
      o.trace = true;
    } else if (arg == "--screenshots" && i + 1 < argc && argv[i + 1][0] != '\0') {
      o.screenshots = argv[++i];
    } else {
      std::cerr << "qmx: unknown argument " << arg << "\n" << kUsage;
      return false;
    }
  }
  return true;
}

int Run(int argc, char** argv) {
  // The version and the usage need no window system.
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--version") {
      std::cout << qmx::Report::kVersion << "\n";
      return 0;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
  }
  // Without a display, pictures are taken offscreen, and the window cannot open at all: say so
  // rather than let the toolkit abort.
  bool platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  bool screenshots = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    platformChosen = platformChosen || arg == "-platform" || arg == "--platform";
    screenshots = screenshots || arg == "--screenshots";
  }
  const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  if (!display && !platformChosen) {
    if (!screenshots) {
      std::cerr << "qmx: no display (DISPLAY and WAYLAND_DISPLAY are unset). Run it in a desktop session, or on a\n"
                   "virtual one: xvfb-run -a qmx\n";
      return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Qt takes its own options (-platform and the like) out of the arguments first.
  qmx::ui::Application app(argc, argv);
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  if (options.trace) {
    qmx::trace::SetSink([](std::string_view line) { std::cerr << line; });
  }

  // Module start, in dependency order: the meter engine's self-check, then the calculation
  // state (gas methods, the two mixtures, every field, Reset and a first calculation).
  qmx::DP0::Initialize();
  qmx::QMXcalc::Initialize();
  qmx::ui::InitResources();
  qmx::ui::InstallBeep();

  if (!qmx::ui::CheckResources()) {
    qmx::trace::Write("\n Resource file not found");
    if (!options.trace) std::cerr << "\n Resource file not found\n";
    return 1;
  }

  // Pictures are taken without a user: a message goes to standard error instead of a box.
  qmx::ui::Dialogs dialogs = qmx::ui::StandardDialogs();
  if (!options.screenshots.empty()) {
    dialogs.warn = dialogs.inform = [](QWidget*, const QString& title, const QString& text) {
      std::cerr << title.toStdString() << ": " << text.toStdString() << "\n";
    };
  }
  qmx::ui::MainWindow window(dialogs);
  if (!options.screenshots.empty()) {
    const QStringList written = window.SaveScreenshots(QString::fromStdString(options.screenshots));
    for (const QString& path : written) std::cout << path.toStdString() << "\n";
    return written.size() == window.ScreenshotCount() ? 0 : 1;
  }
  window.SetQuitCode(127);
  window.show();
  const int result = app.exec();
  qmx::FE::FmtToTerminal("\n Terminate =%u", static_cast<unsigned>(result));
  // A normal close ends the loop with 127; the program itself reports success.
  return result == 127 ? 0 : result;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const int code = Run(argc, argv);
    qmx::QMXcalc::Finalize();
    return code;
  } catch (const qmx::Error& e) {
    std::cerr << "Unhandled exception: " << e.module() << ": " << e.message() << " (" << e.code() << ")\n";
  } catch (const std::exception& e) {
    std::cerr << "Unhandled exception: " << e.what() << "\n";
  }
  return 1;
}
