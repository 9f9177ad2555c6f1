#include "ui/main_window.hpp"

#include <string>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "numerics/error.hpp"
#include "ui/about_page.hpp"
#include "ui/flow_page.hpp"
#include "ui/frame_size.hpp"
#include "ui/gcn_page.hpp"
#include "ui/help_window.hpp"
#include "ui/liquids_page.hpp"
#include "ui/mole_fractions_page.hpp"
#include "ui/reference_page.hpp"
#include "ui/settings_page.hpp"
#include "ui/standards_page.hpp"
#include "ui/steam_page.hpp"
#include "ui/units_page.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

namespace {

QMXcalc::PageHandle Handle(const QWidget* w) { return reinterpret_cast<QMXcalc::PageHandle>(w); }

}  // namespace

Dialogs StandardDialogs() {
  Dialogs d;
  d.warn = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
  };
  d.inform = [](QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
  };
  d.password = [](QWidget* parent, const QString& title, const QString& label,
                  int maxLength) -> std::optional<QString> {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Password);
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(maxLength);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().left(maxLength);
  };
  return d;
}

QString ScreenshotName(const QString& tabLabel) {
  QString name = tabLabel;
  name.replace(QLatin1Char(' '), QLatin1Char('_'));
  return name;
}

MainWindow::MainWindow(Dialogs dialogs, QWidget* parent) : QWidget(parent), dialogs_(std::move(dialogs)) {
  FE::FmtToTerminal("\n Frame CREATE");
  QMXcalc::SetPage(kFramePage, Handle(this));
  setWindowTitle(QStringLiteral("Qumetrix"));
  setObjectName("frame");

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("MainMenu");
  tabs_->setDocumentMode(true);
  AddPage(new AboutPage(*this));
  AddPage(new UnitsPage(*this));
  AddPage(new SettingsPage(*this, settingsChanged_));
  AddPage(new MoleFractionsPage(*this));
  AddPage(new FlowPage(*this, settingsChanged_));
  AddPage(new ReferencePage(*this));
  AddPage(new GcnPage(*this));
  AddPage(new SteamPage(*this));
  AddPage(new LiquidsPage(*this));
  auto* standards = new StandardsPage(*this);
  AddPage(standards);
  QMXcalc::SetStandardsPage(Handle(standards));

  // Visible at start: every page but the fluid pages other than the fluid's own, and Standards
  // unless expert mode was turned on earlier in this run.
  for (int n : {kAboutPage, kUnitsPage, kSettingsPage, kFlowPage, kReferencePage}) QMXcalc::ShowPage(true, n);
  ShowFluidPage(QMXcalc::GetFluid());
  SyncPages();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);

  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) return;
    Page* page = pages_[static_cast<std::size_t>(index)];
    RunEvent([page] { page->Activate(); });
  });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState s) {
    FE::FmtToTerminal(s == Qt::ApplicationActive ? "\n ActivateApp" : "\n DeactivateApp");
  });

  // Size by the screen's resolution, within the screen.
  double dpiX = 96.0;
  double dpiY = 96.0;
  QRect available(0, 0, 4096, 4096);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    dpiX = screen->logicalDotsPerInchX();
    dpiY = screen->logicalDotsPerInchY();
    available = screen->availableGeometry();
  }
  const auto [width, height] = FrameSize(dpiX, dpiY);
  resize(std::min(width, available.width()), std::min(height, available.height()));
  move(available.x() + 100, available.y() + 100);
  FE::FmtToTerminal("\n Frame EndCreate");
}

MainWindow::~MainWindow() {
  // The frame hides while it is destroyed; the field that has the focus then loses it, and must
  // not commit an edit through a half-destroyed frame.
  for (Page* page : pages_) page->DetachFields();
  delete help_;
  // Leaves the registry as it was before, unless another window has registered since.
  if (QMXcalc::GetPage(kFramePage) == Handle(this)) QMXcalc::SetPage(kFramePage, 0);
  for (const Page* page : pages_) {
    if (page->Number() >= 0 && QMXcalc::GetPage(page->Number()) == Handle(page)) {
      QMXcalc::SetPage(page->Number(), 0);
    }
    if (QMXcalc::Calc().standardsPage == Handle(page)) QMXcalc::SetStandardsPage(0);
  }
}

void MainWindow::AddPage(Page* page) {
  if (page->Number() >= 0) QMXcalc::SetPage(page->Number(), Handle(page));
  auto* scroll = new QScrollArea;
  scroll->setObjectName(page->TabLabel() + "_scroll");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(page);
  tabs_->addTab(scroll, page->TabLabel());
  pages_.push_back(page);
}

void MainWindow::ShowError(const QString& module, const QString& message, int number) {
  const QString text = tr("%1\n\nModule %2, number %3").arg(message, module).arg(number);
  if (dialogs_.warn) dialogs_.warn(this, tr("Qumetrix: %1").arg(module), text);
}

void MainWindow::RunEvent(const std::function<void()>& event) {
  try {
    event();
  } catch (const Error& e) {
    ShowError(QString::fromStdString(e.module()), QString::fromStdString(e.message()), e.code());
  }
}

void MainWindow::Inform(const QString& title, const QString& text) {
  if (dialogs_.inform) dialogs_.inform(this, title, text);
}

void MainWindow::Warn(const QString& title, const QString& text) {
  if (dialogs_.warn) dialogs_.warn(this, title, text);
}

std::optional<QString> MainWindow::AskPassword(const QString& title, const QString& label, int maxLength) {
  if (!dialogs_.password) return std::nullopt;
  return dialogs_.password(this, title, label, maxLength);
}

void MainWindow::ShowHelp(int context) {
  if (!help_) help_ = new HelpWindow(nullptr);
  help_->ShowContext(context);
  help_->show();
  help_->raise();
}

void MainWindow::SyncPages() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const Page* page = pages_[i];
    const int n = page->Number();
    bool shown = true;
    if (n == kStandardsPage) {
      shown = QMXcalc::StandardsPageShown();
    } else if (n >= kMoleFractionsPage && n <= kLiquidsPage) {
      shown = QMXcalc::PageShown(n);
    }
    tabs_->setTabVisible(static_cast<int>(i), shown);
  }
}

Page* MainWindow::PageByLabel(const QString& label) const {
  for (Page* p : pages_) {
    if (p->TabLabel() == label) return p;
  }
  return nullptr;
}

bool MainWindow::IsTabShown(const QString& label) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i]->TabLabel() == label) return tabs_->isTabVisible(static_cast<int>(i));
  }
  return false;
}

void MainWindow::Select(const QString& label) {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i]->TabLabel() == label) tabs_->setCurrentIndex(static_cast<int>(i));
  }
}

// The fluid kind whose values a fluid page shows; -1 for the other pages.
int FluidOfPage(int number) {
  switch (number) {
    case kMoleFractionsPage: return QMXcalc::kNaturalGas;
    case kGcnPage: return QMXcalc::kGcnGas;
    case kSteamPage: return QMXcalc::kSaturatedSteam;
    case kLiquidsPage: return QMXcalc::kGenericLiquid;
    default: return -1;
  }
}

void MainWindow::UseFluid(int kind) {
  RunEvent([kind] {
    bool changed = false;
    QMXcalc::SetFluid(changed, kind);
    QMXcalc::Calculate(changed);
  });
}

QStringList MainWindow::SaveScreenshots(const QString& folder) {
  QStringList written;
  if (!QDir().mkpath(folder)) return written;
  const int current = tabs_->currentIndex();
  const int fluid = QMXcalc::GetFluid();
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const int index = static_cast<int>(i);
    const bool visible = tabs_->isTabVisible(index);
    // A hidden fluid page is pictured with its own fluid, so that it shows that fluid's values.
    const int pageFluid = FluidOfPage(pages_[i]->Number());
    if (pageFluid >= 0 && !visible && QMXcalc::GetFluid() != pageFluid) UseFluid(pageFluid);
    tabs_->setTabVisible(index, true);
    tabs_->setCurrentIndex(index);
    QCoreApplication::processEvents();
    const QString path = QDir(folder).filePath(ScreenshotName(pages_[i]->TabLabel()) + ".png");
    if (grab().save(path, "PNG")) written << path;
    // The Flow page's dialogs are pictured over it.
    if (auto* flow = dynamic_cast<FlowPage*>(pages_[i])) written << flow->SaveDialogPictures(folder);
    tabs_->setTabVisible(index, visible);
  }
  if (QMXcalc::GetFluid() != fluid) UseFluid(fluid);
  if (current >= 0) tabs_->setCurrentIndex(current);
  SyncPages();
  if (current >= 0) RunEvent([this, current] { pages_[static_cast<std::size_t>(current)]->Activate(); });
  return written;
}

int MainWindow::ScreenshotCount() const { return static_cast<int>(pages_.size()) + FlowPage::kDialogPictures; }

bool MainWindow::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize:
      FE::FmtToTerminal("\n Frame Size changed width=%i height=%i", width(), height());
      break;
    case QEvent::WindowActivate:
      FE::FmtToTerminal("\n Frame Gain Focus");
      break;
    case QEvent::WindowDeactivate:
      FE::FmtToTerminal("\n Frame Lose Focus");
      break;
    default:
      break;
  }
  return QWidget::event(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
  FE::FmtToTerminal("\n Frame CM_REQUEST");
  e->accept();
  FE::FmtToTerminal("\n Frame CM_DICTATE");
  if (quitCode_ != 0) QCoreApplication::exit(quitCode_);
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  FE::FmtToTerminal("\n Frame Key");
  QWidget::keyPressEvent(e);
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
  FE::FmtToTerminal("\n Frame Mouse");
  QWidget::mousePressEvent(e);
}

void MainWindow::paintEvent(QPaintEvent* e) {
  FE::FmtToTerminal("\n Frame PAINT");
  QWidget::paintEvent(e);
}

}  // namespace qmx::ui
