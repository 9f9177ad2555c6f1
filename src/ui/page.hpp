#pragma once
// What every tab page shares: its page number, tab label and help context, its changed flag, the
// fields bound to the calculation state, and the pattern of one page event (set, dependent
// update, Calculate with the page's flag, refresh when it ran). Pages compute nothing themselves.
#include <functional>
#include <initializer_list>
#include <vector>

#include <QString>
#include <QGroupBox>
#include <QWidget>

#include "ui/field_edit.hpp"
#include "ui/page_host.hpp"


class QPushButton;

namespace qmx::ui {

// Page numbers of the page registry.
enum PageNumber : int {
  kFramePage = 0,
  kAboutPage = 1,
  kUnitsPage = 2,
  kSettingsPage = 3,
  kMoleFractionsPage = 4,
  kGcnPage = 5,
  kSteamPage = 6,
  kLiquidsPage = 7,
  kFlowPage = 8,
  kReferencePage = 10,
  kStandardsPage = -1,  // not in the registry; handed over with SetStandardsPage
};

class Page : public QWidget {
 public:
  // Pages that share one changed flag (Settings and Flow) pass it; the others use their own.
  Page(PageHost& host, int number, const QString& tabLabel, int helpContext,
       bool* sharedChanged = nullptr, QWidget* parent = nullptr);
  ~Page() override;

  int Number() const { return number_; }
  const QString& TabLabel() const { return tabLabel_; }
  int HelpContext() const { return helpContext_; }
  bool& Changed() { return *changed_; }
  PageHost& Host() { return host_; }

  // The tab became current: field texts and unit labels, enabling, results.
  virtual void Activate();
  // Rewrites every bound field from the state.
  virtual void Refresh();
  // Enables and disables controls by the state's selections.
  virtual void Enable() {}

  // Calculate with the page's flag and refresh when it ran; true when it ran.
  bool Recalculate();
  // Runs a page event through the host (errors shown, the program goes on).
  void Event(const std::function<void()>& event) { host_.RunEvent(event); }

  // The bound field of that name, or nullptr.
  FieldEdit* Field(const QString& name) const;
  // Stops the fields from committing edits: a window being destroyed loses its focus, and the
  // focused field must not start a page event then.
  void DetachFields();
  // Enables a bound field or a child widget by object name.
  void SetEnabledByName(const QString& name, bool on);

 protected:
  // Registers a field so that Refresh and SetEnabledByName find it.
  FieldEdit* Add(FieldEdit* field);
  // A "Help" button that opens the help at this page's context.
  QPushButton* MakeHelpButton();
  // Bound fields, registered with the page: inputs with their dependent update, and results.
  FieldEdit* In(const char* name, const QString& caption, QMXcalc::DV& field,
                std::function<void()> dependent = {});
  FieldEdit* In(const char* name, const QString& caption, QMXcalc::RV& field,
                const QString& unit = {}, std::function<void()> dependent = {});
  FieldEdit* Out(const char* name, const QString& caption, QMXcalc::DV& field);
  FieldEdit* Out(const char* name, const QString& caption, QMXcalc::RV& field,
                 const QString& unit = {});
  // A titled box with the fields one per row (caption, value, unit).
  QGroupBox* Group(const QString& title, std::initializer_list<FieldEdit*> fields);
  // The page's layout: two columns of boxes from the top, the Help button at the bottom right.
  void LayOutColumns(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right);

 private:
  PageHost& host_;
  int number_;
  QString tabLabel_;
  int helpContext_;
  bool ownChanged_ = false;
  bool* changed_;
  std::vector<FieldEdit*> fields_;
};

}  // namespace qmx::ui
