#pragma once
// A main window over a freshly reset calculation state, with message boxes and the password
// prompt replaced by recorders (nothing blocks), the beeps counted and the trace lines kept.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/qmxcalc.hpp"
#include "numerics/trace.hpp"
#include "ui/main_window.hpp"
#include "ui/page.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"

namespace qmx::ui::test {

struct Box {
  QString title;
  QString text;
};

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QMXcalc::Reset();
    QMXcalc::Calc().expertMode = false;
    QMXcalc::Calc().standardsShown = false;
    sink_ = std::make_unique<trace::ScopedSink>([this](std::string_view line) { trace_ += line; });
    beeps_ = std::make_unique<FE::ScopedBeepCount>();
    Dialogs d;
    d.warn = [this](QWidget*, const QString& title, const QString& text) { warnings_.push_back({title, text}); };
    d.inform = [this](QWidget*, const QString& title, const QString& text) { infos_.push_back({title, text}); };
    d.password = [this](QWidget*, const QString& title, const QString&, int maxLength) -> std::optional<QString> {
      prompts_.push_back({title, QString::number(maxLength)});
      if (answers_.empty()) return std::nullopt;
      const QString a = answers_.front();
      answers_.pop_front();
      if (a.isNull()) return std::nullopt;
      return std::make_optional(a);
    };
    window_ = std::make_unique<MainWindow>(d);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  void TearDown() override {
    window_.reset();
    beeps_.reset();
    sink_.reset();
  }

  Page* PageOf(const char* label) {
    Page* p = window_->PageByLabel(QString::fromLatin1(label));
    EXPECT_NE(p, nullptr) << label;
    return p;
  }

  // The page made current, as a click on its tab does.
  Page* Open(const char* label) {
    window_->Select(QString::fromLatin1(label));
    return PageOf(label);
  }

  template <class W>
  W* Widget(const char* page, const char* name) {
    Page* p = PageOf(page);
    W* w = p != nullptr ? p->findChild<W*>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(w, nullptr) << page << " / " << name;
    return w;
  }

  QLineEdit* Edit(const char* page, const char* name) { return Widget<QLineEdit>(page, name); }
  QComboBox* List(const char* page, const char* name) { return Widget<QComboBox>(page, name); }

  // Types a text over the field's content and presses Return, as a user does.
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  // Chooses the list item with that text.
  static void Choose(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    list->setCurrentIndex(i);
  }

  static double Number(const QLineEdit* edit) { return edit->text().toDouble(); }
  static double InUnit(const QMXcalc::DV& dv, const char* unit) { return FUM::uDVgetValTempUnits(unit, *dv); }

  std::string trace_;
  std::vector<Box> warnings_, infos_, prompts_;
  std::deque<QString> answers_;  // the prompt's answers in turn; a null text cancels it
  std::unique_ptr<trace::ScopedSink> sink_;
  std::unique_ptr<FE::ScopedBeepCount> beeps_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace qmx::ui::test
