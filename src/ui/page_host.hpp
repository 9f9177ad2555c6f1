#pragma once
// What the main window offers its pages: running a page event with its errors shown, message
// boxes and the password prompt, help, and the tab visibility kept from the page registry.
#include <functional>
#include <optional>

#include <QString>

namespace qmx::ui {

class PageHost {
 public:
  virtual ~PageHost() = default;
  // Runs one page event. A raise inside it is shown in a warning box with its module, message and
  // number, and the program goes on.
  virtual void RunEvent(const std::function<void()>& event) = 0;
  // An information box (a report written, where it is).
  virtual void Inform(const QString& title, const QString& text) = 0;
  // A warning box (an entry put back, with what the field takes).
  virtual void Warn(const QString& title, const QString& text) = 0;
  // A hidden-entry prompt of at most maxLength characters; nullopt when cancelled.
  virtual std::optional<QString> AskPassword(const QString& title, const QString& label,
                                             int maxLength) = 0;
  // Opens the help at a page's context number.
  virtual void ShowHelp(int context) = 0;
  // Shows and hides the tabs as the page registry of the calculation state says.
  virtual void SyncPages() = 0;
};

}  // namespace qmx::ui
