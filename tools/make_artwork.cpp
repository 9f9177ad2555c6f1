// Draws the desktop program's artwork into PNG files (logo, name, notice, icon) in the folder
// given on the command line. The PNGs are committed under src/ui/resources/artwork; rerun after
// changing a drawing:
//   g++ -std=c++20 -fPIC tools/make_artwork.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_artwork
//   QT_QPA_PLATFORM=offscreen /tmp/make_artwork src/ui/resources/artwork
#include <cmath>
#include <cstdio>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kBlue(0x1f, 0x4e, 0x79);
const QColor kTeal(0x2a, 0x9d, 0x8f);
const QColor kOrange(0xe7, 0x6f, 0x51);

QImage Canvas(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

// An orifice plate in a pipe section with flow lines contracting through the bore.
void DrawMark(QPainter& p, const QRectF& r) {
  p.setRenderHint(QPainter::Antialiasing);
  const double w = r.width();
  const double h = r.height();
  const double x0 = r.left();
  const double y0 = r.top();
  // Pipe walls.
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(x0, y0 + h * 0.12, w, h * 0.08), 3, 3);
  p.drawRoundedRect(QRectF(x0, y0 + h * 0.80, w, h * 0.08), 3, 3);
  // Plate halves, leaving the bore open.
  p.setBrush(kOrange);
  p.drawRect(QRectF(x0 + w * 0.47, y0 + h * 0.20, w * 0.06, h * 0.20));
  p.drawRect(QRectF(x0 + w * 0.47, y0 + h * 0.60, w * 0.06, h * 0.20));
  // Streamlines: contracting to the vena contracta just downstream of the plate.
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 5; ++i) {
    const double s = (i - 2) / 2.0;  // -1 .. 1
    QPainterPath path;
    const double yIn = y0 + h * (0.5 + 0.24 * s);
    const double yNeck = y0 + h * (0.5 + 0.07 * s);
    const double yOut = y0 + h * (0.5 + 0.22 * s);
    path.moveTo(x0 + w * 0.02, yIn);
    path.cubicTo(x0 + w * 0.30, yIn, x0 + w * 0.40, yNeck, x0 + w * 0.58, yNeck);
    path.cubicTo(x0 + w * 0.75, yNeck, x0 + w * 0.85, yOut, x0 + w * 0.98, yOut);
    p.setPen(QPen(kTeal, std::max(1.5, h * 0.018), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
  }
  // Pressure taps either side of the plate.
  p.setPen(QPen(kBlue, std::max(1.5, h * 0.02)));
  p.drawLine(QPointF(x0 + w * 0.38, y0 + h * 0.12), QPointF(x0 + w * 0.38, y0 + h * 0.02));
  p.drawLine(QPointF(x0 + w * 0.62, y0 + h * 0.12), QPointF(x0 + w * 0.62, y0 + h * 0.02));
  p.drawLine(QPointF(x0 + w * 0.38, y0 + h * 0.02), QPointF(x0 + w * 0.62, y0 + h * 0.02));
}

bool Save(const QImage& image, const QString& folder, const char* name) {
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_artwork FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  bool ok = true;

  {  // Logo: the mark in a rounded frame.
    QImage image = Canvas(220, 220);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 220);
    g.setColorAt(0, QColor(0xf1, 0xf6, 0xfb));
    g.setColorAt(1, QColor(0xdc, 0xe8, 0xf3));
    p.setBrush(g);
    p.setPen(QPen(kBlue, 3));
    p.drawRoundedRect(QRectF(3, 3, 214, 214), 24, 24);
    DrawMark(p, QRectF(22, 45, 176, 130));
    p.end();
    ok = Save(image, folder, "logo.png") && ok;
  }
  {  // Name: the word mark, below a blank band that carries the version text.
    QImage image = Canvas(330, 130);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    font.setPixelSize(52);
    p.setFont(font);
    p.setPen(kBlue);
    p.drawText(QRectF(0, 34, 330, 64), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Qumetrix"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(15);
    p.setFont(small);
    p.setPen(kTeal);
    p.drawText(QRectF(2, 98, 330, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("flow-measurement calculator"));
    p.end();
    ok = Save(image, folder, "name.png") && ok;
  }
  {  // Notice.
    QImage image = Canvas(560, 90);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawText(QRectF(0, 0, 560, 90), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Orifice plates, venturis, nozzles, cones, averaging pitot tubes and gas "
                              "turbine meters in natural gas, steam and liquids (AGA-3, ISO 5167, "
                              "ASME MFC-14M, AGA-8, IAPWS-IF97, API MPMS 11.1).\n"
                              "Copyright \u00a9 the qmx developers. Results are for engineering use; "
                              "check them against the standard that governs your measurement."));
    p.end();
    ok = Save(image, folder, "notice.png") && ok;
  }
  {  // Icon: the mark on a round badge.
    QImage image = Canvas(256, 256);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0xf1, 0xf6, 0xfb));
    p.setPen(QPen(kBlue, 10));
    p.drawEllipse(QRectF(8, 8, 240, 240));
    DrawMark(p, QRectF(40, 62, 176, 132));
    p.end();
    ok = Save(image, folder, "qmx.png") && ok;
  }
  return ok ? 0 : 1;
}
