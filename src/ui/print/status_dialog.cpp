#include "ui/print/status_dialog.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx::Print {

StatusDialog::StatusDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AbortPrint"));
  setWindowTitle(QStringLiteral("Print status"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Currently Printing"), this));
  document_ = new QLabel(this);
  copy_ = new QLabel(this);
  page_ = new QLabel(this);
  sheet_ = new QLabel(this);
  for (QLabel* label : {document_, copy_, page_, sheet_}) layout->addWidget(label);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  layout->addWidget(cancel_);
  QObject::connect(cancel_, &QPushButton::clicked, this, [this] {
    aborted_ = true;
    cancel_->setEnabled(false);
  });
  SetProgress(1, 1, 1);
}

void StatusDialog::SetDocument(const QString& title) { document_->setText(title); }

void StatusDialog::SetProgress(unsigned copy, unsigned page, unsigned sheet) {
  copy_->setText(QStringLiteral("Copy %1").arg(copy));
  page_->setText(QStringLiteral("Page %1").arg(page));
  sheet_->setText(QStringLiteral("Sheet %1").arg(sheet));
}

QString StatusDialog::progressText() const {
  return copy_->text() + QLatin1Char(' ') + page_->text() + QLatin1Char(' ') + sheet_->text();
}

DialogJobHost::DialogJobHost(QWidget* main_window) : main_window_(main_window) {}

DialogJobHost::~DialogJobHost() { Finished(); }

void DialogJobHost::Started(std::string_view title) {
  aborted_ = false;
  dialog_ = new StatusDialog(main_window_);
  dialog_->setAttribute(Qt::WA_DeleteOnClose);
  dialog_->SetDocument(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  if (main_window_) main_window_->setEnabled(false);
  // The dialog is a window of its own, so it stays usable.
  dialog_->setEnabled(true);
  dialog_->show();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void DialogJobHost::Progress(unsigned copy, unsigned page, unsigned sheet) {
  if (dialog_) dialog_->SetProgress(copy, page, sheet);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool DialogJobHost::AbortRequested() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (dialog_ && dialog_->aborted()) aborted_ = true;
  return aborted_;
}

void DialogJobHost::Finished() {
  if (dialog_) {
    if (dialog_->aborted()) aborted_ = true;
    dialog_->close();
    dialog_ = nullptr;
  }
  if (main_window_) main_window_->setEnabled(true);
}

void DialogJobHost::Failed(int code, std::string_view text) {
  ShowError(code, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void DialogJobHost::ShowError(int /*code*/, const QString& text) {
  QMessageBox::critical(main_window_, QStringLiteral("Print"), text);
}

}  // namespace qmx::Print
