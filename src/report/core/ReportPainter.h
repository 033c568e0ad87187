// The one routine that draws prepared sheets, whatever they go to: the preview, a printer or a PDF
// file. Each sheet is drawn from its paper's top-left corner at the device's own resolution.
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

// Writes the whole report as a PDF file; a ReportError when the file cannot be written.
void writePdf(const PreparedReport& report, const QString& path);

} // namespace Report
