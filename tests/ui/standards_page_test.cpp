// The Standards page driven through its widgets: a table chosen and put on the screen grid,
// the comma-separated file written through the (replaced) save dialog, the plot's curves.
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "reports/tables.hpp"
#include "reports/userdir.hpp"
#include "support/ui_fixture.hpp"
#include "ui/standards_page.hpp"

namespace qmx::ui::test {
namespace {

class StandardsPageTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // The per-user folders inside a temporary home.
    ASSERT_TRUE(home_.isValid());
    env_ = std::make_unique<UserDir::ScopedEnvironment>(
        [home = home_.path().toStdString()](std::string_view name) -> std::optional<std::string> {
          if (name == "HOME") return home;
          return std::nullopt;
        });
    QMXcalc::SetExpertMode(true);
    window_->SyncPages();
    page_ = dynamic_cast<StandardsPage*>(Open("Standards"));
    ASSERT_NE(page_, nullptr);
    grid_ = Widget<QTableWidget>("Standards", "grid");
    ASSERT_NE(grid_, nullptr);
  }

  QString Cell(int r, int c) const { return grid_->item(r, c)->text(); }

  void Click(const char* name) {
    auto* b = Widget<QPushButton>("Standards", name);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
  }

  int SeriesCount() {
    auto* view = Widget<QChartView>("Standards", "plot");
    return view != nullptr ? static_cast<int>(view->chart()->series().size()) : -1;
  }

  void TearDown() override {
    UiTest::TearDown();
    env_.reset();
  }

  QTemporaryDir home_;
  std::unique_ptr<UserDir::ScopedEnvironment> env_;
  StandardsPage* page_ = nullptr;
  QTableWidget* grid_ = nullptr;
};

// Each non-reserved table with a rounding on the screen grid holds exactly the engine's texts.
TEST_F(StandardsPageTest, ScreenGridShowsTheEngineCells) {
  struct Case {
    int selection;
    const char* rounding;
    const char* roundTo;
  };
  const Case cases[] = {{0, "Symmetric", "0.0001"}, {1, "None (full precision)", "0.0001"},
                        {4, "Truncate", "0.001"},   {6, "Unbiased", "0.0001"},
                        {11, "API absolute", "0.01"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.selection);
    List("Standards", "selection")->setCurrentIndex(k.selection);
    Choose(List("Standards", "rounding"), QString::fromLatin1(k.rounding));
    Type(Edit("Standards", "round_to"), QString::fromLatin1(k.roundTo));
    Click("screen_table");
    ASSERT_TRUE(warnings_.empty()) << warnings_.front().text.toStdString();
    const Tables::TableData d = Tables::FillTable(k.selection, page_->Options());
    ASSERT_EQ(page_->Options().round_to, k.roundTo);
    EXPECT_EQ(Cell(0, 0).toStdString(), d.axes.corner);
    const std::size_t nr = std::min<std::size_t>(d.axes.rows.size(), Tables::kGridRows - 1);
    const std::size_t nc = std::min<std::size_t>(d.axes.columns.size(), Tables::kGridColumns - 1);
    for (std::size_t c = 0; c < nc; ++c)
      EXPECT_EQ(Cell(0, static_cast<int>(c + 1)).toStdString(), d.axes.column_labels[c]);
    for (std::size_t r = 0; r < nr; ++r) {
      EXPECT_EQ(Cell(static_cast<int>(r + 1), 0).toStdString(), d.axes.row_labels[r]);
      for (std::size_t c = 0; c < nc; ++c)
        EXPECT_EQ(Cell(static_cast<int>(r + 1), static_cast<int>(c + 1)).toStdString(), d.texts[d.Index(r, c)])
            << r << "," << c;
    }
    // Beyond the table every cell is the empty mark.
    EXPECT_EQ(Cell(static_cast<int>(Tables::kGridRows) - 1, static_cast<int>(Tables::kGridColumns) - 1),
              QString::fromLatin1(Tables::kEmptyCell.data(), 4));
  }
}

// Table 4 has one column: its cells are 0.9858 - 0.196 beta^4.5 to the rounding.
TEST_F(StandardsPageTest, VenturiNozzleColumnOnScreen) {
  List("Standards", "selection")->setCurrentIndex(4);
  Choose(List("Standards", "rounding"), "Symmetric");
  Click("screen_table");
  for (int r = 1; r < 10; ++r) {
    const double beta = Cell(r, 0).toDouble();
    EXPECT_NEAR(Cell(r, 1).toDouble(), 0.9858 - 0.196 * std::pow(beta, 4.5), 0.6e-4) << beta;
    EXPECT_EQ(Cell(r, 2), " -- ");
  }
}

// A reserved table leaves every cell empty, even after another table was shown.
TEST_F(StandardsPageTest, ReservedTableClearsTheGrid) {
  Click("screen_table");
  ASSERT_NE(Cell(1, 1), " -- ");
  List("Standards", "selection")->setCurrentIndex(7);
  Click("screen_table");
  for (int r = 0; r < grid_->rowCount(); ++r)
    for (int c = 0; c < grid_->columnCount(); ++c) ASSERT_EQ(Cell(r, c), " -- ") << r << "," << c;
  EXPECT_TRUE(warnings_.empty());
  EXPECT_EQ(SeriesCount(), 0);
}

// Refused entries beep and keep the previous value; accepted ones reach the table options.
TEST_F(StandardsPageTest, EntriesRefusedOrTaken) {
  Type(Edit("Standards", "round_to"), "-1");
  EXPECT_EQ(Edit("Standards", "round_to")->text(), "0.0001");
  // The isentropic exponent is open on the expansibility tables only.
  EXPECT_FALSE(Edit("Standards", "kappa")->isEnabled());
  List("Standards", "selection")->setCurrentIndex(5);
  EXPECT_TRUE(Edit("Standards", "kappa")->isEnabled());
  EXPECT_FALSE(List("Standards", "diameter")->isEnabled());
  Type(Edit("Standards", "kappa"), "abc");
  EXPECT_EQ(Edit("Standards", "kappa")->text(), "1.66");
  EXPECT_EQ(beeps_->count(), 2);
  Type(Edit("Standards", "kappa"), "1.3");
  EXPECT_DOUBLE_EQ(page_->Options().kappa, 1.3);
  // The ISO orifice table offers millimetres; a typed diameter is taken in its unit.
  List("Standards", "selection")->setCurrentIndex(1);
  QComboBox* d = List("Standards", "diameter");
  EXPECT_EQ(d->itemText(0), "50 mm");
  Type(d->lineEdit(), "4 in");
  EXPECT_NEAR(page_->Options().diameter, 0.1016, 1e-12);
  Choose(List("Standards", "tapping"), "Corner");
  EXPECT_EQ(page_->Options().tap, DP0::TapType::Corner);
}

// The CSV file goes to the path the dialog gives, proposed as table_N with the text filter.
TEST_F(StandardsPageTest, CsvFileThroughTheDialog) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("out.csv");

  QString proposed, filter;
  page_->SetCsvDialog([&](QWidget*, const QString&, const QString& p, const QString& f) {
    proposed = p;
    filter = f;
    return path;
  });
  List("Standards", "selection")->setCurrentIndex(5);
  Choose(List("Standards", "rounding"), "Symmetric");
  Click("csv_file");
  EXPECT_TRUE(proposed.startsWith(home_.path() + "/")) << proposed.toStdString();
  EXPECT_TRUE(proposed.endsWith("/qmx/table_5")) << proposed.toStdString();
  EXPECT_TRUE(filter.startsWith("Comma-separated text file")) << filter.toStdString();
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const std::string text = f.readAll().toStdString();
  const std::string want = Tables::TableFileText(5, page_->Options());
  // The first line holds the date, which may have moved on.
  ASSERT_NE(text.find("\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.find("\r\n")), want.substr(want.find("\r\n")));
  EXPECT_NE(text.find("Table,ISO 5167-2:2003 Orifice Expansibility Factors"), std::string::npos);
  EXPECT_EQ(infos_.size(), 1u);

  // A cancelled dialog writes nothing; an unwritable path is a warning, not a crash.
  page_->SetCsvDialog([](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
  Click("csv_file");
  EXPECT_EQ(infos_.size(), 1u);
  EXPECT_TRUE(warnings_.empty());
  const QString bad = dir.filePath("missing/dir/out.csv");
  page_->SetCsvDialog([&](QWidget*, const QString&, const QString&, const QString&) { return bad; });
  Click("csv_file");
  EXPECT_EQ(warnings_.size(), 1u);
  EXPECT_FALSE(QFile::exists(bad));
}

// The plot draws one curve per ticked beta, and the plot is saved as a PNG picture.
TEST_F(StandardsPageTest, PlotCurvesAndSave) {
  EXPECT_EQ(SeriesCount(), 0);  // nothing before a fill
  List("Standards", "selection")->setCurrentIndex(2);
  Click("screen_table");
  auto* rows = Widget<QListWidget>("Standards", "plot_rows");
  int ticked = 0;
  for (int i = 0; i < rows->count(); ++i) ticked += rows->item(i)->checkState() == Qt::Checked;
  ASSERT_GT(ticked, 0);
  EXPECT_EQ(SeriesCount(), ticked);
  rows->item(1)->setCheckState(rows->item(1)->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  const int now = ticked + (rows->item(1)->checkState() == Qt::Checked ? 1 : -1);
  EXPECT_EQ(SeriesCount(), now);
  // A curve of the first ticked beta holds the unrounded cells against the Reynolds numbers.
  auto* view = Widget<QChartView>("Standards", "plot");
  auto* s = qobject_cast<QLineSeries*>(view->chart()->series().front());
  ASSERT_NE(s, nullptr);
  const Tables::TableData& d = page_->Shown();
  ASSERT_EQ(s->count(), static_cast<int>(d.axes.columns.size()));
  EXPECT_DOUBLE_EQ(s->at(0).x(), d.axes.columns[0]);
  EXPECT_DOUBLE_EQ(s->at(0).y(), d.values[d.Index(0, 0)]);

  // AGA expansibility: one curve per ticked beta column against hw/Pf, 41 points each.
  List("Standards", "selection")->setCurrentIndex(12);
  Click("screen_table");
  ASSERT_GT(SeriesCount(), 0);
  s = qobject_cast<QLineSeries*>(view->chart()->series().front());
  EXPECT_EQ(s->count(), 41);
  EXPECT_NEAR(s->at(0).y(), 1.0, 1e-12);

  QTemporaryDir dir;
  const QString png = dir.filePath("plot.png");
  page_->SetPlotDialog([&](QWidget*, const QString&, const QString& p, const QString&) {
    EXPECT_TRUE(p.endsWith("table_12.png")) << p.toStdString();
    return png;
  });
  Click("save_plot");
  EXPECT_TRUE(warnings_.empty());
  QImage image(png);
  EXPECT_FALSE(image.isNull());
}

}  // namespace
}  // namespace qmx::ui::test
