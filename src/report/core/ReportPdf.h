// Prepared sheets written as a PDF file by the program itself: each line of text as one run of glyphs
// in the face it names (the face cut down to the glyphs printed, so the text can be searched and copied),
// rectangles as paths, pictures as images at print resolution. A painter on a PDF device positions,
// clips and saves the state around every glyph, which for a list of a hundred thousand lines costs
// minutes; this writer goes at the pace of the file.
#pragma once

#include "report/core/ReportLayout.h"

#include <QList>

class QIODevice;

namespace Report {

// Writes the listed sheets (indexes into the report, in the order given, repeats allowed; all of them
// when the list is empty), each on a page of its own size and orientation, into a device open for
// writing. A ReportError when the report has no such sheet or the device fails.
void writePdf(QIODevice& device, const PreparedReport& report, const QList<int>& sheets = {});

} // namespace Report
