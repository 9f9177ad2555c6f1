#pragma once
// The status dialog of a running print job and the job host that shows it:
// "Print status" with the copy, page and sheet numbers and a Cancel button;
// the main window (when there is one) is disabled while the job runs, and
// failures are shown in error boxes.
#include <QDialog>
#include <QPointer>
#include <QString>

#include "ui/print/job.hpp"

class QLabel;
class QPushButton;
class QWidget;

namespace qmx::Print {

class StatusDialog : public QDialog {
 public:
  explicit StatusDialog(QWidget* parent = nullptr);
  void SetDocument(const QString& title);
  void SetProgress(unsigned copy, unsigned page, unsigned sheet);
  // Set by Cancel; the job reads it between sheets.
  bool aborted() const { return aborted_; }
  QPushButton* cancelButton() const { return cancel_; }
  QString progressText() const;

 private:
  QLabel* document_ = nullptr;
  QLabel* copy_ = nullptr;
  QLabel* page_ = nullptr;
  QLabel* sheet_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool aborted_ = false;
};

class DialogJobHost : public JobHost {
 public:
  // main_window may be null (a job without the main window).
  explicit DialogJobHost(QWidget* main_window = nullptr);
  ~DialogJobHost() override;

  void Started(std::string_view title) override;
  void Progress(unsigned copy, unsigned page, unsigned sheet) override;
  bool AbortRequested() override;
  void Finished() override;
  void Failed(int code, std::string_view text) override;

  // The dialog while the job runs; null before and after.
  StatusDialog* dialog() const { return dialog_; }

 protected:
  // Shows the error box; replaceable where no one can close a box.
  virtual void ShowError(int code, const QString& text);

 private:
  QPointer<QWidget> main_window_;
  QPointer<StatusDialog> dialog_;
  bool aborted_ = false;
};

}  // namespace qmx::Print
