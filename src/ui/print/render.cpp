#include "ui/print/render.hpp"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include <cmath>

namespace qmx::Print {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Frame and rule line width: half a point.
constexpr double kLineWidth = 10.0;

// Twips (y upward) to the painter's scaled coordinates (y downward).
QPointF At(double x, double y) { return {x, -y}; }

void DrawRun(QPainter& painter, const QFontMetricsF& metrics, const TextRun& run) {
  const QString text = QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
  const QPointF top = At(run.x, run.top);
  if (run.inverse) {
    const QRectF cell(top.x(), top.y(), metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(cell, Qt::black);
    painter.setPen(Qt::white);
  }
  painter.drawText(QPointF(top.x(), top.y() + metrics.ascent()), text);
  if (run.inverse) painter.setPen(QPen(Qt::black, kLineWidth));
}

}  // namespace

QString ResolveFamily(const QString& face) {
  const QStringList families = QFontDatabase::families();
  if (families.contains(face, Qt::CaseInsensitive)) return face;
  for (const char* twin : {"Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono"}) {
    if (families.contains(QString::fromLatin1(twin), Qt::CaseInsensitive)) return QString::fromLatin1(twin);
  }
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (families.contains(fixed.family(), Qt::CaseInsensitive)) return fixed.family();
  return families.isEmpty() ? QString() : families.front();
}

QFont RequestFont(const PrintRequest& request, const LayoutRow& row) {
  QFont font(ResolveFamily(QString::fromStdString(request.font)));
  font.setPixelSize(std::abs(row.font_height));
  font.setItalic(request.italic);
  font.setWeight(static_cast<QFont::Weight>(FontWeight(request.weight_class)));
  font.setStyleHint(QFont::TypeWriter, QFont::PreferOutline);
  font.setFixedPitch(true);
  font.setKerning(false);
  return font;
}

int AverageCharWidth(const QFont& font, QPaintDevice* device) {
  const QFontMetricsF metrics(font, device);
  // The advance of a digit is the pitch of a fixed-pitch face; the font's
  // average width is used when it is larger (a proportional face).
  const double width = std::max(metrics.averageCharWidth(), metrics.horizontalAdvance(QLatin1Char('0')));
  return std::max(1, static_cast<int>(std::lround(width)));
}

void DrawSheet(QPainter& painter, const Layout& layout, const SheetRef& ref, const QFont& font) {
  if (ref.sheet < 0 || static_cast<std::size_t>(ref.sheet) >= layout.document.size()) return;
  QPaintDevice* device = painter.device();
  painter.save();
  painter.scale(device->logicalDpiX() / kTwipsPerInch, device->logicalDpiY() / kTwipsPerInch);
  painter.translate(ref.dx, -ref.dy);
  painter.setFont(font);
  painter.setPen(QPen(Qt::black, kLineWidth));
  painter.setBrush(Qt::NoBrush);
  const QFontMetricsF metrics(font, device);
  for (const PageArea& area : layout.document[static_cast<std::size_t>(ref.sheet)].areas) {
    if (area.has_frame) {
      painter.drawRect(QRectF(At(area.frame.left, area.frame.top), At(area.frame.right, area.frame.bottom)));
    }
    if (area.has_header) {
      DrawRun(painter, metrics, area.header);
      painter.drawLine(At(area.header_rule.x1, area.header_rule.y), At(area.header_rule.x2, area.header_rule.y));
    }
    for (const TextRun& run : area.runs) DrawRun(painter, metrics, run);
  }
  painter.restore();
}

}  // namespace qmx::Print
