#include "ui/help_window.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qmx::ui {

namespace {
constexpr int kContexts[] = {100, 101, 300, 400, 500, 600, 700, 800, 1000};
}  // namespace

QString HelpUrl(int context) {
  for (int c : kContexts) {
    if (c == context) return QStringLiteral("qrc:/qmx/help/qmx_help.html#c%1").arg(context);
  }
  return QStringLiteral("qrc:/qmx/help/qmx_help.html");
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(tr("Qumetrix help"));
  setObjectName("help_window");
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("help_browser");
  browser_->setOpenExternalLinks(false);
  auto* back = new QPushButton(tr("Back"), this);
  auto* contents = new QPushButton(tr("Contents"), this);
  auto* close = new QPushButton(tr("Close"), this);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(contents, &QPushButton::clicked, this, [this] { ShowContext(0); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addLayout(buttons);
  resize(620, 520);
}

void HelpWindow::ShowContext(int context) {
  browser_->setSource(QUrl(HelpUrl(context)));
}

}  // namespace qmx::ui
