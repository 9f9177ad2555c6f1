#pragma once
// A Qt application for drawing without a display, for programs that have none.
#include <memory>

#include <QCoreApplication>

namespace qmx::Print {

// Creates an application on the offscreen platform when none exists yet and
// returns it (the caller keeps it for as long as it draws); null when one
// already exists.
std::unique_ptr<QCoreApplication> EnsureGuiApplication();

}  // namespace qmx::Print
