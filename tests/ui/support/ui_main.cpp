// The main of the widget tests: a QApplication on the offscreen platform (no display needed),
// the engines and the calculation state started as the program starts them.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/qmxcalc.hpp"
#include "meters/dp0.hpp"
#include "ui/application.hpp"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (ctest's discovery after the build) needs no window system.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  qmx::ui::Application app(argc, argv);
  qmx::DP0::Initialize();
  qmx::QMXcalc::Initialize();
  qmx::ui::InitResources();
  const int result = RUN_ALL_TESTS();
  qmx::QMXcalc::Finalize();
  return result;
}
