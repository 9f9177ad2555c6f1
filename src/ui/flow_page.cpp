#include "ui/flow_page.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "app/qmxreport.hpp"
#include "reports/report.hpp"
#include "ui/enabling_rules.hpp"
#include "ui/print/job.hpp"
#include "ui/print/print_dialog.hpp"
#include "ui/print/status_dialog.hpp"
#include "reports/userdir.hpp"
#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

namespace {

// The expanded uncertainty as shown beside the flows.
QString Expanded(double pct) { return QStringLiteral("\u00b1 %1 %").arg(pct, 0, 'f', 2); }

}  // namespace

FlowPage::FlowPage(PageHost& host, bool& sharedChanged, QWidget* parent)
    : Page(host, kFlowPage, QStringLiteral("Flow"), 101, &sharedChanged, parent) {
  QMXcalc::State& s = QMXcalc::Calc();

  // Measured values.
  FieldEdit* dp = In("dp", tr("Differential pressure"), s.dp, QMXcalc::UpdateAbsolutePressure);
  FieldEdit* sp = In("static_pressure", tr("Static pressure (gauge)"), s.staticPressure,
                     QMXcalc::UpdateAbsolutePressure);
  FieldEdit* t = In("flowing_temperature", tr("Flowing temperature"), s.flowingTemperature);
  FieldEdit* pa = Out("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure);
  FieldEdit* k = In("k_factor", tr("Meter K factor"), s.kFactor);
  FieldEdit* f = In("frequency", tr("Meter frequency"), s.frequency, QStringLiteral("Hz"));
  // Meter dimensions: the throat follows the pipe at constant beta; beta follows the throat.
  FieldEdit* pipe = In("pipe_diameter", tr("Pipe diameter"), s.pipeDiameter, QMXcalc::UpdateBore);
  FieldEdit* throat = In("throat_diameter", tr("Orifice diameter"), s.throatDiameter, QMXcalc::UpdateBeta);
  FieldEdit* beta = In("beta", tr("Beta ratio"), s.beta, QString(), QMXcalc::UpdateBore);
  FieldEdit* cdFixed = In("fixed_cd", tr("Fixed discharge coef."), s.fixedCd);
  pipe->AlsoShow(throat);
  throat->AlsoShow(beta);
  beta->AlsoShow(throat);

  // Results.
  FieldEdit* rhoF = Out("density_flowing", tr("Density, flowing"), s.densityFlowing);
  FieldEdit* rhoB = Out("density_base", tr("Density, base"), s.densityBase);
  FieldEdit* qm = Out("mass_flow", tr("Mass flow"), s.massFlow);
  FieldEdit* qs = Out("std_volume_flow", tr("Standard volume flow"), s.stdVolumeFlow);
  FieldEdit* qe = Out("energy_flow", tr("Energy flow"), s.energyFlow);
  FieldEdit* qa = Out("actual_volume_flow", tr("Actual volume flow"), s.actualVolumeFlow);
  FieldEdit* cd = Out("cd", tr("Discharge coefficient"), s.cd);
  FieldEdit* re = Out("reynolds", tr("Pipe Reynolds number"), s.reynolds);
  FieldEdit* y = Out("expansion_factor", tr("Expansion factor"), s.expansionFactor);
  FieldEdit* bf = Out("beta_flowing", tr("Beta ratio"), s.betaFlowing);
  FieldEdit* ev = Out("velocity_of_approach", tr("Velocity of approach"), s.velocityOfApproach);
  FieldEdit* mach = Out("mach", tr("Mach number"), s.mach);
  FieldEdit* df = Out("throat_diameter_flowing", tr("Throat diameter"), s.throatDiameterFlowing);
  FieldEdit* Df = Out("pipe_diameter_flowing", tr("Pipe diameter"), s.pipeDiameterFlowing);
  FieldEdit* loss = Out("pressure_loss", tr("Permanent pressure loss"), s.pressureLoss);
  FieldEdit* v = Out("pipe_velocity", tr("Pipe velocity"), s.pipeVelocity);

  auto* measured = Group(tr("Measured values"), {dp, sp, t, pa, k, f});
  auto* meter = Group(tr("Meter"), {pipe, throat, beta, cdFixed});
  auto* fluid = Group(tr("Fluid"), {rhoF, rhoB, mach});
  auto* flows = Group(tr("Flow rates"), {qm, qs, qe, qa});
  auto* factors = Group(tr("Factors"), {cd, re, y, bf, ev});
  auto* flowing = Group(tr("At flowing conditions"), {df, Df, loss, v});

  warning_ = new QPlainTextEdit(this);
  warning_->setObjectName("meter_warning");
  warning_->setReadOnly(true);
  warning_->setPlaceholderText(tr("Meter warnings: none"));
  warning_->setToolTip(tr("Meter warnings: inputs outside the limits of the meter's standard"));
  warning_->setFixedHeight(warning_->fontMetrics().lineSpacing() * 2 + 10);

  // The expanded uncertainties of the flows, in two rows beside the warnings.
  auto* uncertainty = new QFrame(this);
  uncertainty->setObjectName("uncertainty_panel");
  uncertainty->setFrameShape(QFrame::StyledPanel);
  uncertainty->setFixedHeight(warning_->height());
  uncertainty->setToolTip(tr("Expanded uncertainty (k = 2, about 95 %) of the flows: the coefficient and "
                             "expansion factor figures of the meter's standard and the input uncertainties "
                             "(Uncertainty...)"));
  auto* ugrid = new QGridLayout(uncertainty);
  ugrid->setContentsMargins(6, 1, 6, 1);
  ugrid->setVerticalSpacing(0);
  ugrid->setHorizontalSpacing(6);
  const char* names[] = {"u_mass_flow", "u_std_volume_flow", "u_energy_flow"};
  const QString captions[] = {tr("Mass flow"), tr("Standard volume"), tr("Energy flow")};
  const int cells[][2] = {{0, 0}, {0, 2}, {1, 0}};
  for (std::size_t i = 0; i < uncertainty_.size(); ++i) {
    uncertainty_[i] = new QLabel(uncertainty);
    uncertainty_[i]->setObjectName(QString::fromLatin1(names[i]));
    uncertainty_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ugrid->addWidget(new QLabel(captions[i], uncertainty), cells[i][0], cells[i][1]);
    ugrid->addWidget(uncertainty_[i], cells[i][0], cells[i][1] + 1);
  }
  auto* coverage = new QLabel(tr("(k = 2)"), uncertainty);
  coverage->setEnabled(false);
  ugrid->addWidget(coverage, 1, 2, 1, 2, Qt::AlignRight);

  auto* csv = new QPushButton(tr("Save report (CSV)"), this);
  csv->setObjectName("csv_report");
  connect(csv, &QPushButton::clicked, this, [this] { SaveCsvReport(); });
  auto* print = new QPushButton(tr("Print"), this);
  print->setObjectName("print");
  connect(print, &QPushButton::clicked, this, [this] { PrintReport(); });
  auto* pdf = new QPushButton(tr("Save PDF"), this);
  pdf->setObjectName("pdf_report");
  connect(pdf, &QPushButton::clicked, this, [this] { SavePdfReport(); });
  auto* uButton = new QPushButton(tr("Uncertainty..."), this);
  uButton->setObjectName("uncertainty");
  connect(uButton, &QPushButton::clicked, this, [this] { OpenUncertainty(); });
  auto* size = new QPushButton(tr("Size meter..."), this);
  size->setObjectName("size_meter");
  connect(size, &QPushButton::clicked, this, [this] { OpenSizing(); });

  auto* left = new QVBoxLayout;
  left->addWidget(measured);
  left->addWidget(meter);
  left->addWidget(fluid);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(flows);
  right->addWidget(factors);
  right->addWidget(flowing);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(csv);
  buttons->addWidget(print);
  buttons->addWidget(pdf);
  buttons->addStretch();
  buttons->addWidget(uButton);
  buttons->addWidget(size);
  buttons->addWidget(MakeHelpButton());
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(warning_, 1);
  bottom->addWidget(uncertainty);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(4);
  layout->addLayout(columns);
  layout->addLayout(bottom);
  layout->addLayout(buttons);

  // The report is printed in Courier New, layout 0 on Letter paper, weight class 1, tabs of 4, boxed.
  request_.font = printSettings_.font.toStdString();
  request_.layout = 0;
  request_.paper = Print::kLetter;
  request_.weight_class = 1;
  request_.tab_width = 4;
  request_.box = true;
  request_.copies = 1;
  request_.title = "Qumetrix flow report";
  seams_.askPrinter = [this](Print::PrintRequest& r) { return Print::AskPrinter(window(), r); };
  seams_.print = [this](const Print::PrintRequest& r) {
    Print::DialogJobHost host(window());
    Print::PrintFile(r, host);
  };
  seams_.askPdfPath = [this](const std::string& proposed) -> std::optional<std::string> {
    const QString chosen = QFileDialog::getSaveFileName(this, tr("Save report as PDF"), QString::fromStdString(proposed),
                                                        tr("PDF document (*.pdf)"));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
  };
  seams_.savePdf = [this](const std::string& text, const std::string& path, const Print::PrintRequest& r) {
    Print::DialogJobHost host(window());
    Print::SaveTextPdf(text, path, r, host);
  };

  Refresh();
  Enable();
}

void FlowPage::Refresh() {
  Page::Refresh();
  int nonDP = 0;
  if (FieldEdit* throat = Field("throat_diameter")) throat->SetCaption(ThroatCaption(QMXcalc::GetMeter(nonDP)));
  const QString text = QString::fromStdString(QMXcalc::MeterWarning());
  if (warning_->toPlainText() != text) warning_->setPlainText(text);
  RefreshUncertainty();
}

void FlowPage::RefreshUncertainty() {
  Uncertainty::Result r;
  QString failure;
  {
    // The budget's own calculations are no entries of the user: they sound nothing.
    FE::ScopedBeepCount quiet;
    try {
      r = Uncertainty::Evaluate(uncertaintyInputs_);
    } catch (const Error& e) {
      failure = QString::fromStdString(e.message());
    }
  }
  const Uncertainty::Budget* budgets[] = {&r.massFlow, &r.stdVolumeFlow, &r.energyFlow};
  for (std::size_t i = 0; i < uncertainty_.size(); ++i) {
    QLabel* label = uncertainty_[i];
    const bool valid = failure.isEmpty() && budgets[i]->valid;
    label->setText(valid ? Expanded(budgets[i]->expandedPct) : QStringLiteral("--"));
    label->setProperty("expanded_pct", valid ? QVariant(budgets[i]->expandedPct) : QVariant());
    label->setToolTip(valid ? tr("Expanded uncertainty (k = 2): %1 %, combined standard uncertainty %2 %")
                                  .arg(budgets[i]->expandedPct, 0, 'g', 4)
                                  .arg(budgets[i]->combinedPct, 0, 'g', 4)
                            : failure);
  }
}

UncertaintyDialog* FlowPage::OpenUncertainty() {
  // A dialog already open stays; a closed one is replaced, so that it starts from the state.
  if (uncertaintyDialog_ != nullptr && uncertaintyDialog_->isVisible()) return uncertaintyDialog_;
  delete uncertaintyDialog_;
  auto* dialog = new UncertaintyDialog(uncertaintyInputs_, this);
  uncertaintyDialog_ = dialog;
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    uncertaintyInputs_ = dialog->Inputs();
    RefreshUncertainty();
  });
  dialog->open();
  return dialog;
}

SizingDialog* FlowPage::OpenSizing() {
  if (sizingDialog_ != nullptr && sizingDialog_->isVisible()) return sizingDialog_;
  delete sizingDialog_;
  sizingDialog_ = new SizingDialog(*this, this);
  sizingDialog_->open();
  return sizingDialog_;
}

QStringList FlowPage::SaveDialogPictures(const QString& folder) {
  QStringList written;
  auto picture = [&](QDialog* dialog, const char* name) {
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    if (dialog->grab().save(path, "PNG")) written << path;
    dialog->reject();
    QCoreApplication::processEvents();
  };
  Event([&] {
    // The sizing dialog with the bore solved for the flow the page shows.
    SizingDialog* sizing = OpenSizing();
    sizing->Solve();
    picture(sizing, "sizing.png");
    picture(OpenUncertainty(), "uncertainty.png");
  });
  return written;
}

void FlowPage::Enable() { ApplyEnablingRules(*this); }

void FlowPage::SaveCsvReport() {
  Event([&] {
    std::string path;
    Report::GetCSVpath(path);
    // The name is claimed atomically: a report saved meanwhile by another program is never replaced.
    QMXcalc::SaveNewReport(true, path);
    lastPath_ = path;
    Host().Inform(tr("Report saved"),
                  tr("The comma-separated report was written to\n%1").arg(QString::fromStdString(path)));
  });
}

void FlowPage::PrintReport() {
  Event([&] {
    Print::PrintRequest request = request_;
    if (!seams_.askPrinter(request)) return;
    request_ = request;
    std::string path;
    Report::GetPrintPath(path);
    QMXcalc::SaveReport(false, path);
    lastPath_ = path;
    FE::FmtToTerminal("\n fspec=%s", path);
    request.file_path = path;
    seams_.print(request);
  });
}

void FlowPage::SavePdfReport() {
  Event([&] {
    // Proposed in the documents folder; without one, the file dialog starts from the name alone.
    std::string folder;
    UserDir::GetUserFolder(UserDir::kDocuments, folder);
    const std::string proposed = folder + Print::ProposedPdfName();
    const std::optional<std::string> path = seams_.askPdfPath(proposed);
    if (!path) return;
    Report::ReportData data;
    QMXcalc::FillReport(data);
    Print::PrintRequest request = request_;
    request.title.clear();
    seams_.savePdf(Report::ReportText(false, data), *path, request);
    lastPath_ = *path;
  });
}

}  // namespace qmx::ui
