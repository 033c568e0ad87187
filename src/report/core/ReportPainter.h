// The one routine that draws prepared sheets on a painter, whatever it paints on: the preview, a
// printer, a picture. Each sheet is drawn from its paper's top-left corner at the device's own
// resolution. PDF files are written by the report's own PDF writer (ReportPdf.h).
#pragma once

#include "report/core/ReportLayout.h"

#include <QList>

class QPagedPaintDevice;
class QPainter;

namespace Report {

// Draws one sheet; the painter's origin is the paper's top-left corner and `dotsPerMm` the device's
// resolution.
void paintPage(QPainter& painter, const PreparedPage& page, qreal dotsPerMm);

// Draws the listed sheets (indexes into the report, in the order given; all of them when the list is
// empty) on a printer or a PDF writer whose painting starts at the paper's corner, each on its own
// sheet with the sheet's size and orientation. A ReportError when the device cannot be painted on.
void paintReport(QPagedPaintDevice& device, const PreparedReport& report, const QList<int>& sheets = {});

// Writes the listed sheets (all of them when the list is empty) as a PDF file, replacing the file whole
// only once it is complete; a ReportError when the file cannot be written.
void writePdf(const PreparedReport& report, const QString& path, const QList<int>& sheets = {});

} // namespace Report
