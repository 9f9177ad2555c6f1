// The About page: its keys, the expert-mode prompt and the pass-phrase check.
#include "support/ui_fixture.hpp"
#include "ui/expert_password.hpp"

namespace qmx::ui::test {
namespace {

// The pass phrase named in the help.
const QString kPhrase = QStringLiteral("wet-gas-1994");

TEST(ExpertPassword, OnlyTheExactPhrasePasses) {
  const std::pair<QString, bool> cases[] = {
      {kPhrase, true},
      {QStringLiteral("Wet-gas-1994"), false},
      {QStringLiteral("wet-gas-199"), false},
      {QStringLiteral("wet-gas-19945"), false},
      {QString(), false},
      {QStringLiteral(" wet-gas-1994"), false},
      // Only the first 20 characters count: the phrase with a tail past them is still wrong,
      // since the tail starts within the 20.
      {kPhrase + QStringLiteral("xxxxxxxxxxxxxxxxxxxx"), false},
  };
  for (const auto& [entry, ok] : cases) EXPECT_EQ(CheckExpertPassword(entry), ok) << entry.toStdString();
}

TEST_F(UiTest, LowerCaseXDoesNotPromptUpperCaseXDoes) {
  Page* about = Open("About");
  QTest::keyClick(about, 'x');
  EXPECT_TRUE(prompts_.empty());
  EXPECT_NE(trace_.find("\n QMXgrafWndProc Key = x"), std::string::npos);
  QTest::keyClick(about, 'X');
  ASSERT_EQ(prompts_.size(), 1u);
  EXPECT_EQ(prompts_[0].title, QStringLiteral("Expert mode password"));
  EXPECT_EQ(prompts_[0].text, QStringLiteral("20"));  // at most 20 characters
  QTest::keyClick(about, Qt::Key_F5);
  EXPECT_NE(trace_.find("\n QMXgrafWndProc Key = special key"), std::string::npos);
}

TEST_F(UiTest, WrongOrCancelledPassPhraseLeavesStandardsHidden) {
  Page* about = Open("About");
  answers_ = {QStringLiteral("orifice"), QString()};
  QTest::keyClick(about, 'X');
  EXPECT_FALSE(window_->IsTabShown("Standards"));
  EXPECT_FALSE(QMXcalc::GetExpertMode());
  QTest::keyClick(about, 'X');
  EXPECT_FALSE(window_->IsTabShown("Standards"));
  EXPECT_EQ(prompts_.size(), 2u);
}

TEST_F(UiTest, RightPassPhraseShowsStandardsForTheRestOfTheRun) {
  Page* about = Open("About");
  answers_ = {kPhrase, QStringLiteral("wrong")};
  QTest::keyClick(about, 'X');
  EXPECT_TRUE(QMXcalc::GetExpertMode());
  EXPECT_TRUE(window_->IsTabShown("Standards"));
  // A later wrong entry turns expert mode off but leaves the tab shown.
  QTest::keyClick(about, 'X');
  EXPECT_FALSE(QMXcalc::GetExpertMode());
  EXPECT_TRUE(window_->IsTabShown("Standards"));
  // Reset and fluid changes do not hide it either.
  QTest::mouseClick(Widget<QPushButton>("Settings", "reset"), Qt::LeftButton);
  EXPECT_TRUE(window_->IsTabShown("Standards"));
  // Nor does a new main window in the same run.
  window_ = std::make_unique<MainWindow>(window_->GetDialogs());
  EXPECT_TRUE(window_->IsTabShown("Standards"));
}

}  // namespace
}  // namespace qmx::ui::test
