#include "ui/standards_page.hpp"

#include <QLabel>
#include <QVBoxLayout>

namespace qmx::ui {

StandardsPage::StandardsPage(PageHost& host, QWidget* parent)
    : Page(host, kStandardsPage, QStringLiteral("Standards"), 0, nullptr, parent) {
  auto* text = new QLabel(
      tr("<h3>Standards tables</h3>"
         "<p>This page will regenerate the coefficient tables of the flow standards: for a chosen "
         "meter, the discharge coefficient, expansion factor and related factors over ranges of "
         "beta ratio, Reynolds number and pressure ratio, shown on screen or written to a "
         "comma-separated table file.</p>"
         "<p>It is being built.</p>"),
      this);
  text->setObjectName("being_built");
  text->setWordWrap(true);
  text->setTextFormat(Qt::RichText);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addStretch();
}

}  // namespace qmx::ui
