#pragma once
// The "About" tab: the program's artwork, its version text, and the place where expert mode is
// switched on (upper-case X opens the pass-phrase prompt).
#include <QPixmap>
#include <QPoint>

#include "ui/page.hpp"

namespace qmx::ui {

class AboutPage : public Page {
 public:
  explicit AboutPage(PageHost& host, QWidget* parent = nullptr);

  // Asks for the expert pass phrase and sets expert mode by the answer (off when cancelled).
  void AskExpertMode();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  QPixmap logo_, name_, notice_;
  QPoint mouse_{100, 100};
};

// Resource paths of the three pieces of artwork.
inline constexpr const char* kLogoResource = ":/qmx/artwork/logo.png";
inline constexpr const char* kNameResource = ":/qmx/artwork/name.png";
inline constexpr const char* kNoticeResource = ":/qmx/artwork/notice.png";

}  // namespace qmx::ui
