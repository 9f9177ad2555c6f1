#pragma once
// The one binding of an editable number to the calculation state: a caption, a line edit and a
// unit label over a dimensioned value or a real value field. An edit sets the field from the text
// with its own unit and rules, runs the page's dependent update, calculates with the page's
// changed flag and refreshes the page; a refused entry beeps and shows the stored value again.
// Result fields use the same binding, read-only.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QObject>
#include <QString>

#include "app/qmxcalc.hpp"

class QGridLayout;
class QLabel;
class QLineEdit;

namespace qmx::ui {

class Page;

class FieldEdit : public QObject {
 public:
  enum class Role { Input, Output };

  // name is the object name of the line edit (the state field's key on the command line);
  // dependent runs after every entry, refused or not (UpdateAbsolutePressure, UpdateBore, ...).
  FieldEdit(Page& page, const QString& name, const QString& caption, QMXcalc::DV& field,
            Role role, std::function<void()> dependent = {});
  FieldEdit(Page& page, const QString& name, const QString& caption, QMXcalc::RV& field,
            Role role, const QString& unit = {}, std::function<void()> dependent = {});
  // A value the calculation state takes and gives as text through its own accessors (the
  // component percentages of the composition): set receives the page's changed flag.
  struct TextAccess {
    std::function<std::string()> get;
    std::function<void(bool& changed, std::string_view text)> set;
  };
  FieldEdit(Page& page, const QString& name, const QString& caption, TextAccess access, Role role,
            const QString& unit = {});

  // Puts caption, edit and unit label into three columns of a grid row.
  void AddTo(QGridLayout& grid, int row, int column = 0);
  // Writes the stored display text and unit.
  void Show();
  // The entry of the edit's text, as when the user finishes an edit.
  void Commit();
  // Stops reacting to the line edit (its window is going away).
  void Detach();
  void SetEnabled(bool on);
  bool IsEnabled() const;
  void SetCaption(const QString& caption);
  // Fields rewritten after an edit of this one (the beta ratio after the throat diameter).
  void AlsoShow(FieldEdit* other) { alsoShow_.push_back(other); }
  // Whether an entry calculates at once (the default) or leaves it to the page's next calculation.
  void SetCalculates(bool on) { calculates_ = on; }

  QLineEdit* Edit() const { return edit_; }
  QLabel* Caption() const { return caption_; }
  QLabel* Unit() const { return unit_; }
  const QString& Name() const { return name_; }

 private:
  void Build(const QString& caption);
  // Sets the state field from text; false when refused.
  bool SetFromText(const QString& text);

  Page& page_;
  QString name_;
  QMXcalc::DV* dv_ = nullptr;
  QMXcalc::RV* rv_ = nullptr;
  TextAccess text_;
  Role role_;
  QString fixedUnit_;
  std::function<void()> dependent_;
  std::vector<FieldEdit*> alsoShow_;
  bool calculates_ = true;
  bool busy_ = false;  // an edit being committed (a message box must not commit it twice)
  QLabel* caption_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QLabel* unit_ = nullptr;
};

}  // namespace qmx::ui
