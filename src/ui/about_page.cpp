#include "ui/about_page.hpp"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/qmxcalc.hpp"
#include "reports/report.hpp"
#include "ui/expert_password.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

AboutPage::AboutPage(PageHost& host, QWidget* parent)
    : Page(host, kAboutPage, QStringLiteral("About"), 0, nullptr, parent),
      logo_(QString::fromLatin1(kLogoResource)),
      name_(QString::fromLatin1(kNameResource)),
      notice_(QString::fromLatin1(kNoticeResource)) {
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void AboutPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawPixmap(30, 20, name_);
  painter.drawPixmap(30, 300, notice_);
  painter.setPen(QColor(0x30, 0x30, 0x30));
  const auto& version = Report::kVersion;
  painter.drawText(90, 40, QString::fromLatin1(version.data(), static_cast<int>(version.size())));
  painter.drawPixmap(380, 40, logo_);
}

void AboutPage::keyPressEvent(QKeyEvent* e) {
  const QString text = e->text();
  if (text.size() == 1 && text.at(0).isPrint()) {
    FE::FmtToTerminal("\n QMXgrafWndProc Key = %s", text.toStdString());
  } else {
    FE::FmtToTerminal("\n QMXgrafWndProc Key = special key");
  }
  if (text == QStringLiteral("X")) {
    AskExpertMode();
    return;
  }
  Page::keyPressEvent(e);
}

void AboutPage::mousePressEvent(QMouseEvent* e) {
  mouse_ = e->position().toPoint();
  setFocus(Qt::MouseFocusReason);
  Page::mousePressEvent(e);
}

void AboutPage::mouseMoveEvent(QMouseEvent* e) {
  mouse_ = e->position().toPoint();
  Page::mouseMoveEvent(e);
}

void AboutPage::AskExpertMode() {
  Event([&] {
    const std::optional<QString> entry =
        Host().AskPassword(tr("Expert mode password"), tr("Pass phrase:"), kExpertPasswordLength);
    QMXcalc::SetExpertMode(entry.has_value() && CheckExpertPassword(*entry));
    Host().SyncPages();
  });
}

}  // namespace qmx::ui
