#pragma once
// Draws a print layout on a Qt paint device (printer, PDF writer or image).
// The device is addressed in twips through a scale by its resolution.
#include <QFont>
#include <QString>

#include "ui/print/layout.hpp"

class QPainter;
class QPaintDevice;

namespace qmx::Print {

// The family that prints the face: the face itself when installed; otherwise a
// fixed-pitch family with Courier New's metrics ("Liberation Mono"), or the
// system's fixed-pitch family. Empty when no font is available at all.
QString ResolveFamily(const QString& face);

// The request's font for the row: resolved family, italic flag, weight of the
// weight class, pixel size equal to the row's character height (so that on a
// twips-scaled painter one pixel is one twip).
QFont RequestFont(const PrintRequest& request, const LayoutRow& row);

// The font's average character width in twips, measured for the device.
int AverageCharWidth(const QFont& font, QPaintDevice* device);

// Draws one sheet of the job: nothing for an empty sheet, otherwise its page
// areas shifted by the sheet's gutter. The painter must be active on its device.
void DrawSheet(QPainter& painter, const Layout& layout, const SheetRef& ref, const QFont& font);

}  // namespace qmx::Print
