#include "ui/field_edit.hpp"

#include <string>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/page.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"
#include "units/fi.hpp"

namespace qmx::ui {

namespace {
// Longest text a field takes; the value parsers refuse anything longer anyway.
constexpr int kMaxEntry = 64;
}  // namespace

FieldEdit::FieldEdit(Page& page, const QString& name, const QString& caption, QMXcalc::DV& field,
                     Role role, std::function<void()> dependent)
    : QObject(&page), page_(page), name_(name), dv_(&field), role_(role),
      dependent_(std::move(dependent)) {
  Build(caption);
}

FieldEdit::FieldEdit(Page& page, const QString& name, const QString& caption, QMXcalc::RV& field,
                     Role role, const QString& unit, std::function<void()> dependent)
    : QObject(&page), page_(page), name_(name), rv_(&field), role_(role), fixedUnit_(unit),
      dependent_(std::move(dependent)) {
  Build(caption);
}

FieldEdit::FieldEdit(Page& page, const QString& name, const QString& caption, TextAccess access,
                     Role role, const QString& unit)
    : QObject(&page), page_(page), name_(name), text_(std::move(access)), role_(role),
      fixedUnit_(unit) {
  Build(caption);
}

void FieldEdit::Build(const QString& caption) {
  setObjectName(name_ + "_binding");
  caption_ = new QLabel(caption, &page_);
  caption_->setObjectName(name_ + "_label");
  edit_ = new QLineEdit(&page_);
  edit_->setObjectName(name_);
  edit_->setMaxLength(kMaxEntry);
  edit_->setAlignment(Qt::AlignRight);
  // Wide enough for the 5-digit display texts.
  const int width = edit_->fontMetrics().horizontalAdvance(QStringLiteral("1.2345e+10")) + 8;
  edit_->setMinimumWidth(width);
  edit_->setMaximumWidth(width * 3 / 2);
  edit_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  caption_->setBuddy(edit_);
  unit_ = new QLabel(fixedUnit_, &page_);
  unit_->setObjectName(name_ + "_unit");
  if (role_ == Role::Output) {
    edit_->setReadOnly(true);
    edit_->setFocusPolicy(Qt::ClickFocus);
  } else {
    connect(edit_, &QLineEdit::editingFinished, this, [this] { Commit(); });
  }
  Show();
}

void FieldEdit::AddTo(QGridLayout& grid, int row, int column) {
  grid.addWidget(caption_, row, column);
  grid.addWidget(edit_, row, column + 1);
  grid.addWidget(unit_, row, column + 2);
}

void FieldEdit::Show() {
  std::string text;
  if (dv_ != nullptr && *dv_) {
    FUM::uDVgetValStr(text, **dv_);
    std::string unit;
    FUM::uDVgetUnits(unit, **dv_);
    unit_->setText(QString::fromStdString(unit).trimmed());
  } else if (rv_ != nullptr && *rv_) {
    FI::RVgetValStr(text, **rv_);
    QString unit = fixedUnit_;
    if (unit.isEmpty() && (*rv_)->mode == FI::DisplayMode::Percent) unit = QStringLiteral("%");
    if (unit.isEmpty() && (*rv_)->mode == FI::DisplayMode::PartsPerMillion) unit = QStringLiteral("ppm");
    unit_->setText(unit);
  } else if (text_.get) {
    text = text_.get();
    unit_->setText(fixedUnit_);
  }
  edit_->setText(QString::fromStdString(text).trimmed());
  edit_->setCursorPosition(0);
}

bool FieldEdit::SetFromText(const QString& text) {
  const std::string entry = text.toStdString();
  // The setters report whether this entry changed the value; the page's flag only gathers that,
  // so an unchanged entry never drops a change still waiting for the page's calculation.
  bool edited = false;
  if (dv_ != nullptr && *dv_) {
    const bool ok = FUM::uDVsetValStrDelta(edited, entry, **dv_);
    if (edited) page_.Changed() = true;
    if (!ok && !(*dv_)->beep) FE::Beep();
    return ok;
  }
  if (rv_ != nullptr && *rv_) {
    const bool ok = FI::RVsetValStrDelta(edited, entry, **rv_);
    if (edited) page_.Changed() = true;
    if (!ok && !(*rv_)->beep) FE::Beep();
    return ok;
  }
  if (text_.set) {
    text_.set(page_.Changed(), entry);
    return true;
  }
  return false;
}

void FieldEdit::Commit() {
  if (role_ != Role::Input || busy_) return;
  busy_ = true;
  const QString text = edit_->text();
  page_.Event([&] {
    SetFromText(text);
    if (dependent_) dependent_();
    if (calculates_) page_.Recalculate();
  });
  // The edited field (and its companions) show the stored value even when the event raised.
  page_.Event([&] {
    Show();
    for (FieldEdit* other : alsoShow_) other->Show();
  });
  busy_ = false;
}

void FieldEdit::Detach() {
  disconnect(edit_, nullptr, this, nullptr);
  role_ = Role::Output;
}

void FieldEdit::SetEnabled(bool on) {
  caption_->setEnabled(on);
  edit_->setEnabled(on);
  unit_->setEnabled(on);
}

bool FieldEdit::IsEnabled() const { return edit_->isEnabled(); }

void FieldEdit::SetCaption(const QString& caption) { caption_->setText(caption); }

}  // namespace qmx::ui
