// The Flow page: edits through the field binding, dependent updates, refused entries, saturated
// steam, the warning text, the expanded uncertainties and their dialog, and the report commands.
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QRadioButton>
#include <QTemporaryDir>
#include <map>
#include <utility>
#include <vector>

#include "app/uncertainty.hpp"

#include "reports/userdir.hpp"
#include "support/ui_fixture.hpp"
#include "ui/flow_page.hpp"

namespace qmx::ui::test {
namespace {

class FlowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // Display units as a user would choose them on the Units page after the program started.
    QMXcalc::State& s = QMXcalc::Calc();
    FUM::uDVsetUnits("in", *s.pipeDiameter);
    FUM::uDVsetUnits("in", *s.throatDiameter);
    FUM::uDVsetUnits("kpa", *s.dp);
    FUM::uDVsetUnits("kpa", *s.staticPressure);
    FUM::uDVsetUnits("kpa", *s.upstreamPressure);
    FUM::uDVsetUnits("K", *s.flowingTemperature);
    Open("Flow");
  }
};

TEST_F(FlowTest, PipeDiameterEditKeepsBetaAndMovesTheThroat) {
  EXPECT_EQ(Edit("Flow", "pipe_diameter")->text(), QStringLiteral("3.068"));
  EXPECT_EQ(Edit("Flow", "beta")->text(), QStringLiteral("0.5"));
  Type(Edit("Flow", "pipe_diameter"), QStringLiteral("4.026"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().pipeDiameter, "in"), 4.026, 1e-12);
  EXPECT_NEAR(InUnit(QMXcalc::Calc().throatDiameter, "in"), 2.013, 1e-9);
  EXPECT_NEAR(Number(Edit("Flow", "throat_diameter")), 2.013, 1e-9);
  EXPECT_EQ(Edit("Flow", "beta")->text(), QStringLiteral("0.5"));
  EXPECT_EQ(Edit("Flow", "pipe_diameter")->text(), QStringLiteral("4.026"));
}

TEST_F(FlowTest, ThroatEditMovesBetaAndBetaEditMovesTheThroat) {
  Type(Edit("Flow", "throat_diameter"), QStringLiteral("1.2272"));
  EXPECT_NEAR(Number(Edit("Flow", "beta")), 0.4, 1e-4);
  Type(Edit("Flow", "beta"), QStringLiteral("0.6"));
  EXPECT_NEAR(Number(Edit("Flow", "throat_diameter")), 0.6 * 3.068, 1e-3);
  EXPECT_NEAR(InUnit(QMXcalc::Calc().throatDiameter, "in"), 0.6 * 3.068, 1e-9);
}

TEST_F(FlowTest, PressureEditsKeepAbsoluteEqualGaugePlusAtmospheric) {
  const double flowBefore = InUnit(QMXcalc::Calc().massFlow, "kg/s");
  Type(Edit("Flow", "static_pressure"), QStringLiteral("2000"));
  EXPECT_NEAR(Number(Edit("Flow", "upstream_pressure")), 2093.7, 1e-9);
  Type(Edit("Flow", "dp"), QStringLiteral("24"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().dp, "kpa"), 24.0, 1e-12);
  // The results follow at once and are shown.
  const double flowAfter = InUnit(QMXcalc::Calc().massFlow, "kg/s");
  EXPECT_NE(flowAfter, flowBefore);
  std::string shown;
  FUM::uDVgetValStr(shown, *QMXcalc::Calc().massFlow);
  EXPECT_EQ(Edit("Flow", "mass_flow")->text(), QString::fromStdString(shown).trimmed());
}

TEST_F(FlowTest, RefusedEntryBeepsAndShowsTheStoredValueAgain) {
  struct Case {
    const char* field;
    const char* text;
  };
  const Case cases[] = {{"dp", "abc"},          {"dp", "-5"},           {"pipe_diameter", "0.01"},
                        {"beta", "1.5"},        {"static_pressure", ""}, {"fixed_cd", "2"},
                        {"flowing_temperature", "1e400"}};
  for (const Case& c : cases) {
    QLineEdit* edit = Edit("Flow", c.field);
    const QString before = edit->text();
    const int beeps = beeps_->count();
    if (!edit->isEnabled()) continue;
    Type(edit, QString::fromLatin1(c.text));
    EXPECT_EQ(beeps_->count(), beeps + 1) << c.field << " " << c.text;
    EXPECT_EQ(edit->text(), before) << c.field << " " << c.text;
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(FlowTest, LongAndStrangeTextsNeverCrash) {
  const QString texts[] = {QString(200, QLatin1Char('9')), QStringLiteral("1e308"), QStringLiteral("nan"),
                           QStringLiteral("inf"), QStringLiteral("-0"), QStringLiteral("0x10"),
                           QStringLiteral("1/0"), QString::fromUtf8("\xc2\xb5\xe2\x82\xac")};
  for (const char* field : {"dp", "static_pressure", "flowing_temperature", "pipe_diameter",
                            "throat_diameter", "beta", "fixed_cd"}) {
    for (const QString& t : texts) {
      QLineEdit* edit = Edit("Flow", field);
      edit->setText(t);
      QTest::keyClick(edit, Qt::Key_Return);
    }
  }
  // The program goes on: a sound edit still works.
  Type(Edit("Flow", "dp"), QStringLiteral("12"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().dp, "kpa"), 12.0, 1e-12);
}

TEST_F(FlowTest, SaturatedSteamShowsTheSaturationTemperature) {
  Open("Settings");
  QTest::mouseClick(Widget<QRadioButton>("Settings", "fluid_steam"), Qt::LeftButton);
  Open("Flow");
  QLineEdit* t = Edit("Flow", "flowing_temperature");
  EXPECT_FALSE(t->isEnabled());
  // 1 MPa absolute: 906.3 kPa gauge + 93.7 kPa atmospheric. Saturation temperature from
  // python3-iapws (data/steam/iapws_peer.csv): 453.0356323914666 K.
  Type(Edit("Flow", "static_pressure"), QStringLiteral("906.3"));
  EXPECT_NEAR(InUnit(QMXcalc::Calc().flowingTemperature, "K"), 453.0356323914666, 1e-6);
  EXPECT_EQ(t->text(), QStringLiteral("453.04"));
  EXPECT_TRUE(warnings_.empty());
  // Dry steam: the temperature is an input again.
  Open("Settings");
  QTest::mouseClick(Widget<QRadioButton>("Settings", "fluid_drysteam"), Qt::LeftButton);
  Open("Flow");
  EXPECT_TRUE(t->isEnabled());
}

TEST_F(FlowTest, MeterWarningTextIsShown) {
  // A beta of 0.9 is outside the AGA-3 limits: the calculation beeps and says why.
  const int beeps = beeps_->count();
  Type(Edit("Flow", "beta"), QStringLiteral("0.9"));
  EXPECT_FALSE(QMXcalc::MeterWarning().empty());
  EXPECT_GT(beeps_->count(), beeps);
  auto* warning = Widget<QPlainTextEdit>("Flow", "meter_warning");
  EXPECT_EQ(warning->toPlainText(), QString::fromStdString(QMXcalc::MeterWarning()));
  Type(Edit("Flow", "beta"), QStringLiteral("0.5"));
  EXPECT_TRUE(warning->toPlainText().isEmpty());
}

// The expanded uncertainties beside the flows and the uncertainty dialog.
class UncertaintyTest : public FlowTest {
 protected:
  FlowPage* Flow() { return static_cast<FlowPage*>(PageOf("Flow")); }
  QLabel* Shown(const char* name) { return Widget<QLabel>("Flow", name); }
  static Uncertainty::Result Library(const Uncertainty::Inputs& in = {}) {
    FE::ScopedBeepCount quiet;
    return Uncertainty::Evaluate(in);
  }
  // The three labels against the library's budgets of the same state and inputs.
  void ExpectShownEqualsLibrary(const Uncertainty::Inputs& in = {}) {
    const Uncertainty::Result r = Library(in);
    const std::pair<const char*, const Uncertainty::Budget*> rows[] = {
        {"u_mass_flow", &r.massFlow}, {"u_std_volume_flow", &r.stdVolumeFlow}, {"u_energy_flow", &r.energyFlow}};
    for (const auto& [name, budget] : rows) {
      ASSERT_TRUE(budget->valid) << name;
      EXPECT_EQ(Shown(name)->property("expanded_pct").toDouble(), budget->expandedPct) << name;
      EXPECT_EQ(Shown(name)->text(), QStringLiteral("\u00b1 %1 %").arg(budget->expandedPct, 0, 'f', 2)) << name;
    }
  }
  UncertaintyDialog* OpenDialog() {
    QTest::mouseClick(Widget<QPushButton>("Flow", "uncertainty"), Qt::LeftButton);
    UncertaintyDialog* d = Flow()->LastUncertaintyDialog();
    EXPECT_NE(d, nullptr);
    if (d != nullptr) {
      EXPECT_TRUE(d->isVisible());
    }
    return d;
  }
  // The chart's bars by category name.
  static std::map<QString, double> Bars(UncertaintyDialog* d) {
    std::map<QString, double> bars;
    auto* view = d->findChild<QChartView*>(QStringLiteral("contributions_chart"));
    EXPECT_NE(view, nullptr);
    if (view == nullptr || view->chart()->series().isEmpty()) return bars;
    auto* series = qobject_cast<QHorizontalBarSeries*>(view->chart()->series().first());
    EXPECT_NE(series, nullptr);
    if (series == nullptr || series->barSets().size() != 1) return bars;
    auto* axis = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Vertical).first());
    EXPECT_NE(axis, nullptr);
    const QBarSet* set = series->barSets().first();
    // Categories read "name (share %)".
    for (int i = 0; axis != nullptr && i < set->count(); ++i) {
      const QString category = axis->at(i);
      const QString name = category.section(QStringLiteral(" ("), 0, 0);
      bars[name] = set->at(i);
      EXPECT_EQ(category, QStringLiteral("%1 (%2 %)").arg(name).arg(set->at(i), 0, 'f', 1));
    }
    return bars;
  }
  static void ExpectBarsEqual(UncertaintyDialog* d, const Uncertainty::Budget& b) {
    const std::map<QString, double> bars = Bars(d);
    ASSERT_EQ(bars.size(), b.count);
    double sum = 0.0;
    for (std::size_t i = 0; i < b.count; ++i) {
      const QString name = QString::fromUtf8(b.contributions[i].name.data(), static_cast<qsizetype>(b.contributions[i].name.size()));
      ASSERT_EQ(bars.count(name), 1u) << name.toStdString();
      EXPECT_DOUBLE_EQ(bars.at(name), 100.0 * b.contributions[i].share) << name.toStdString();
      sum += bars.at(name);
    }
    EXPECT_NEAR(sum, 100.0, 1e-9);
  }
};

TEST_F(UncertaintyTest, DefaultCaseShowsTheLibrarysExpandedUncertainty) {
  ExpectShownEqualsLibrary();
  // The AGA-3 plate at beta 0.5 in natural gas: a little above the coefficient's 0.5 % (k = 2) on
  // the mass flow, more on the standard volume and energy flows, which add the base density and the
  // heating value.
  const double mass = Shown("u_mass_flow")->property("expanded_pct").toDouble();
  EXPECT_GT(mass, 0.5);
  EXPECT_LT(mass, 0.7);
  EXPECT_GT(Shown("u_std_volume_flow")->property("expanded_pct").toDouble(), mass);
  EXPECT_GT(Shown("u_energy_flow")->property("expanded_pct").toDouble(), mass);
}

TEST_F(UncertaintyTest, RecomputedAfterEachCalculate) {
  const double before = Shown("u_mass_flow")->property("expanded_pct").toDouble();
  // A high beta raises the coefficient figure (1.667 beta - 0.5 % above 0.6).
  Type(Edit("Flow", "beta"), QStringLiteral("0.7"));
  ExpectShownEqualsLibrary();
  EXPECT_GT(Shown("u_mass_flow")->property("expanded_pct").toDouble(), before + 0.1);
  // A larger dp raises the expansibility figure a little.
  Type(Edit("Flow", "dp"), QStringLiteral("60"));
  ExpectShownEqualsLibrary();
}

TEST_F(UncertaintyTest, MeterWithoutFiguresShowsNoNumber) {
  Open("Settings");
  Choose(List("Settings", "meter"), QStringLiteral("Gas turbine"));
  Open("Flow");
  for (const char* name : {"u_mass_flow", "u_std_volume_flow", "u_energy_flow"}) {
    EXPECT_EQ(Shown(name)->text(), QStringLiteral("--")) << name;
    EXPECT_TRUE(Shown(name)->toolTip().contains(QStringLiteral("no standard states"))) << name;
  }
  EXPECT_TRUE(warnings_.empty());
  Open("Settings");
  Choose(List("Settings", "meter"), QStringLiteral("Orifice meter, AGA-3(2012)"));
  Open("Flow");
  ExpectShownEqualsLibrary();
}

TEST_F(UncertaintyTest, LiquidHasNoEnergyFlowUncertainty) {
  Open("Settings");
  QTest::mouseClick(Widget<QRadioButton>("Settings", "fluid_liquid"), Qt::LeftButton);
  Open("Flow");
  const Uncertainty::Result r = Library();
  ASSERT_TRUE(r.massFlow.valid);
  EXPECT_EQ(Shown("u_mass_flow")->property("expanded_pct").toDouble(), r.massFlow.expandedPct);
  EXPECT_FALSE(r.energyFlow.valid);
  EXPECT_EQ(Shown("u_energy_flow")->text(), QStringLiteral("--"));
}

TEST_F(UncertaintyTest, ChartBarsAreTheContributionShares) {
  UncertaintyDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  const Uncertainty::Result r = Library();
  ExpectBarsEqual(d, r.massFlow);
  EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("budget_expanded"))
                  ->text()
                  .contains(QString::number(r.massFlow.expandedPct, 'g', 4)));
  Choose(d->findChild<QComboBox*>(QStringLiteral("budget_flow")), QStringLiteral("Energy flow"));
  ExpectBarsEqual(d, r.energyFlow);
  EXPECT_EQ(Bars(d).count(QStringLiteral("heating_value")), 1u);
  Choose(d->findChild<QComboBox*>(QStringLiteral("budget_flow")), QStringLiteral("Standard volume flow"));
  ExpectBarsEqual(d, r.stdVolumeFlow);
}

TEST_F(UncertaintyTest, EditedInputsAreKeptForTheSessionWhenConfirmed) {
  UncertaintyDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  Type(d->findChild<QLineEdit*>(QStringLiteral("u.dp")), QStringLiteral("0.4"));
  Type(d->findChild<QLineEdit*>(QStringLiteral("u.C")), QStringLiteral("0.5"));
  Uncertainty::Inputs in;
  in.dp = 0.4;
  in.C = 0.5;
  // The dialog's budget follows each entry at once.
  ExpectBarsEqual(d, Library(in).massFlow);
  QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(Flow()->UncertaintyInputs().dp, 0.4);
  EXPECT_EQ(Flow()->UncertaintyInputs().C, 0.5);
  ExpectShownEqualsLibrary(in);
  // Opened again, it shows them; an empty C entry goes back to the standard's figure.
  d = OpenDialog();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->findChild<QLineEdit*>(QStringLiteral("u.dp"))->text(), QStringLiteral("0.4"));
  Type(d->findChild<QLineEdit*>(QStringLiteral("u.C")), QString());
  EXPECT_LT(d->Inputs().C, 0.0);
  QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
  in.C = -1.0;
  ExpectShownEqualsLibrary(in);
}

TEST_F(UncertaintyTest, CancelKeepsTheInputsAndRefusedEntriesBeep) {
  UncertaintyDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  QLineEdit* dp = d->findChild<QLineEdit*>(QStringLiteral("u.dp"));
  for (const char* text : {"-1", "abc", "nan", ""}) {
    const int beeps = beeps_->count();
    Type(dp, QString::fromLatin1(text));
    EXPECT_EQ(beeps_->count(), beeps + 1) << text;
    EXPECT_EQ(dp->text(), QStringLiteral("0.1")) << text;
  }
  Type(dp, QStringLiteral("2"));
  EXPECT_EQ(d->Inputs().dp, 2.0);
  QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(Flow()->UncertaintyInputs().dp, Uncertainty::Inputs{}.dp);
  ExpectShownEqualsLibrary();
}

TEST_F(UncertaintyTest, EvaluationLeavesTheStateAndSoundsNothing) {
  // Beta 0.9 is outside the limits: every calculation of that state warns.
  Type(Edit("Flow", "beta"), QStringLiteral("0.9"));
  ASSERT_FALSE(QMXcalc::MeterWarning().empty());
  const QMXcalc::State& s = QMXcalc::Calc();
  const double flow = FUM::uDVgetMKS(*s.massFlow);
  const int beeps = beeps_->count();
  UncertaintyDialog* d = OpenDialog();
  ASSERT_NE(d, nullptr);
  d->Evaluate();
  EXPECT_EQ(beeps_->count(), beeps);
  EXPECT_EQ(FUM::uDVgetMKS(*s.massFlow), flow);
  EXPECT_FALSE(QMXcalc::MeterWarning().empty());
}

class ReportTest : public FlowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    const std::string home = home_.path().toStdString();
    env_ = std::make_unique<UserDir::ScopedEnvironment>([home](std::string_view name) -> std::optional<std::string> {
      if (name == "HOME") return home;
      return std::nullopt;
    });
    FlowTest::SetUp();
  }
  void TearDown() override {
    FlowTest::TearDown();
    env_.reset();
  }
  QTemporaryDir home_;
  std::unique_ptr<UserDir::ScopedEnvironment> env_;
};

TEST_F(ReportTest, CsvReportIsWrittenAndTheUserToldWhere) {
  QTest::mouseClick(Widget<QPushButton>("Flow", "csv_report"), Qt::LeftButton);
  ASSERT_EQ(infos_.size(), 1u);
  auto* flow = static_cast<FlowPage*>(PageOf("Flow"));
  const QString path = QString::fromStdString(flow->LastReportPath());
  EXPECT_TRUE(path.startsWith(home_.path() + "/Documents/QMX_Report_")) << path.toStdString();
  EXPECT_TRUE(path.endsWith(".csv"));
  EXPECT_TRUE(infos_[0].text.contains(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("b 0.1.2.2")));
  // A second report never overwrites the first.
  QTest::mouseClick(Widget<QPushButton>("Flow", "csv_report"), Qt::LeftButton);
  EXPECT_NE(QString::fromStdString(flow->LastReportPath()), path);
}

TEST_F(ReportTest, PrintAsksForThePrinterThenPrintsThePrintFile) {
  auto* flow = static_cast<FlowPage*>(PageOf("Flow"));
  std::vector<Print::PrintRequest> printed;
  bool confirm = false;
  flow->Seams().askPrinter = [&](Print::PrintRequest& r) {
    if (!confirm) return false;
    r.copies = 3;
    r.collate = true;
    return true;
  };
  flow->Seams().print = [&](const Print::PrintRequest& r) { printed.push_back(r); };

  // A cancelled print dialog writes nothing and prints nothing.
  QTest::mouseClick(Widget<QPushButton>("Flow", "print"), Qt::LeftButton);
  EXPECT_TRUE(printed.empty());
  EXPECT_TRUE(flow->LastReportPath().empty());
  EXPECT_EQ(flow->GetPrintRequest().copies, 1u);

  confirm = true;
  QTest::mouseClick(Widget<QPushButton>("Flow", "print"), Qt::LeftButton);
  ASSERT_EQ(printed.size(), 1u);
  const QString path = QString::fromStdString(flow->LastReportPath());
  EXPECT_TRUE(path.endsWith("/print.txt")) << path.toStdString();
  EXPECT_EQ(printed[0].file_path, path.toStdString());
  EXPECT_NE(trace_.find("\n fspec=" + path.toStdString()), std::string::npos);
  // The report's own print request, with the dialog's choices.
  EXPECT_EQ(printed[0].font, "Courier New");
  EXPECT_EQ(printed[0].layout, 0);
  EXPECT_EQ(printed[0].paper, Print::kLetter);
  EXPECT_EQ(printed[0].weight_class, 1);
  EXPECT_EQ(printed[0].tab_width, 4u);
  EXPECT_TRUE(printed[0].box);
  EXPECT_EQ(printed[0].copies, 3u);
  EXPECT_TRUE(printed[0].collate);
  // The dialog's choices stay for the next print.
  EXPECT_EQ(flow->GetPrintRequest().copies, 3u);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("b 0.1.2.2")));
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(ReportTest, SavePdfLaysTheReportOutIntoTheChosenFile) {
  auto* flow = static_cast<FlowPage*>(PageOf("Flow"));
  std::string proposed;
  const std::string chosen = (home_.path() + "/flow.pdf").toStdString();
  flow->Seams().askPdfPath = [&](const std::string& p) -> std::optional<std::string> {
    proposed = p;
    return chosen;
  };
  QTest::mouseClick(Widget<QPushButton>("Flow", "pdf_report"), Qt::LeftButton);
  EXPECT_TRUE(QString::fromStdString(proposed).startsWith(home_.path() + "/Documents/QMX_Report_")) << proposed;
  EXPECT_TRUE(QString::fromStdString(proposed).endsWith(".pdf"));
  QFile pdf(QString::fromStdString(chosen));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  EXPECT_EQ(flow->LastReportPath(), chosen);
  EXPECT_TRUE(warnings_.empty());

  // A cancelled save dialog writes nothing.
  flow->Seams().askPdfPath = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  flow->Seams().savePdf = [](const std::string&, const std::string&, const Print::PrintRequest&) {
    ADD_FAILURE() << "saved after a cancelled dialog";
  };
  QTest::mouseClick(Widget<QPushButton>("Flow", "pdf_report"), Qt::LeftButton);
}

TEST_F(FlowTest, ReportFolderThatCannotBeMadeShowsTheError) {
  // No HOME at all: the documents folder cannot be found.
  UserDir::ScopedEnvironment none([](std::string_view) -> std::optional<std::string> { return std::nullopt; });
  QTest::mouseClick(Widget<QPushButton>("Flow", "csv_report"), Qt::LeftButton);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_TRUE(warnings_[0].text.contains(QStringLiteral("GetCSVpath() error"))) << warnings_[0].text.toStdString();
  EXPECT_TRUE(infos_.empty());
}

}  // namespace
}  // namespace qmx::ui::test
