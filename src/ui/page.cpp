#include "ui/page.hpp"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx::ui {

Page::Page(PageHost& host, int number, const QString& tabLabel, int helpContext,
           bool* sharedChanged, QWidget* parent)
    : QWidget(parent),
      host_(host),
      number_(number),
      tabLabel_(tabLabel),
      helpContext_(helpContext),
      changed_(sharedChanged != nullptr ? sharedChanged : &ownChanged_) {
  setObjectName(tabLabel);
}

Page::~Page() { DetachFields(); }

void Page::DetachFields() {
  for (FieldEdit* f : fields_) f->Detach();
}

void Page::Activate() {
  Refresh();
  Enable();
}

void Page::Refresh() {
  for (FieldEdit* f : fields_) f->Show();
}

bool Page::Recalculate() {
  if (!QMXcalc::Calculate(*changed_)) return false;
  Refresh();
  return true;
}

FieldEdit* Page::Field(const QString& name) const {
  for (FieldEdit* f : fields_) {
    if (f->Name() == name) return f;
  }
  return nullptr;
}

void Page::SetEnabledByName(const QString& name, bool on) {
  if (FieldEdit* f = Field(name)) {
    f->SetEnabled(on);
  } else if (auto* w = findChild<QWidget*>(name)) {
    w->setEnabled(on);
  }
}

FieldEdit* Page::Add(FieldEdit* field) {
  fields_.push_back(field);
  return field;
}

QPushButton* Page::MakeHelpButton() {
  auto* help = new QPushButton(tr("Help"), this);
  help->setObjectName("help");
  const int context = helpContext_;
  connect(help, &QPushButton::clicked, this, [this, context] { host_.ShowHelp(context); });
  return help;
}

void Page::LayOutColumns(std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> right) {
  auto* columns = new QHBoxLayout;
  for (const auto& side : {left, right}) {
    auto* column = new QVBoxLayout;
    for (QWidget* box : side) column->addWidget(box);
    column->addStretch();
    columns->addLayout(column);
  }
  columns->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(MakeHelpButton());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addStretch();
  layout->addLayout(buttons);
}

FieldEdit* Page::In(const char* name, const QString& caption, QMXcalc::DV& field,
                    std::function<void()> dependent) {
  return Add(new FieldEdit(*this, QString::fromLatin1(name), caption, field,
                           FieldEdit::Role::Input, std::move(dependent)));
}

FieldEdit* Page::In(const char* name, const QString& caption, QMXcalc::RV& field,
                    const QString& unit, std::function<void()> dependent) {
  return Add(new FieldEdit(*this, QString::fromLatin1(name), caption, field,
                           FieldEdit::Role::Input, unit, std::move(dependent)));
}

FieldEdit* Page::Out(const char* name, const QString& caption, QMXcalc::DV& field) {
  return Add(new FieldEdit(*this, QString::fromLatin1(name), caption, field, FieldEdit::Role::Output));
}

FieldEdit* Page::Out(const char* name, const QString& caption, QMXcalc::RV& field,
                     const QString& unit) {
  return Add(new FieldEdit(*this, QString::fromLatin1(name), caption, field,
                           FieldEdit::Role::Output, unit));
}

QGroupBox* Page::Group(const QString& title, std::initializer_list<FieldEdit*> fields) {
  auto* box = new QGroupBox(title, this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  grid->setHorizontalSpacing(6);
  // Spare width goes to an empty last column, so values keep a readable width and stay aligned.
  grid->setColumnStretch(3, 1);
  int row = 0;
  for (FieldEdit* f : fields) f->AddTo(*grid, row++);
  return box;
}

}  // namespace qmx::ui
