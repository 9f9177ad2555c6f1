#include "ui/reference_page.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"

namespace qmx::ui {

ReferencePage::ReferencePage(PageHost& host, QWidget* parent)
    : Page(host, kReferencePage, QStringLiteral("Reference"), 300, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();
  FieldEdit* atmosphere = In("atmospheric_pressure", tr("Atmospheric pressure"), s.atmosphericPressure,
                             QMXcalc::UpdateAbsolutePressure);
  atmosphere->Edit()->setPlaceholderText(QStringLiteral("123.4"));
  auto* base = Group(tr("Atmosphere and base conditions"),
                     {atmosphere,
                      Out("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure),
                      In("base_temperature", tr("Base temperature"), s.baseTemperature),
                      In("base_pressure", tr("Base pressure"), s.basePressure)});
  auto* dims = Group(tr("Reference temperatures of the diameters"),
                     {In("pipe_ref_temperature", tr("Pipe reference temperature"), s.pipeRefTemperature),
                      In("throat_ref_temperature", tr("Throat reference temperature"),
                         s.throatRefTemperature)});
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(MakeHelpButton());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(base);
  layout->addWidget(dims);
  layout->addStretch();
  layout->addLayout(buttons);
  Refresh();
}

void ReferencePage::Activate() {
  Refresh();
  Recalculate();
}

}  // namespace qmx::ui
