// The printed summary of a search, "Riepilogo dati": on landscape A4 sheets, a title bar, the result
// lines in a fixed-pitch font (continuing over as many sheets as they need) and a closing bar with the
// date of printing.
#pragma once

#include "report/core/ReportTemplate.h"

#include <QStringList>

namespace SearchSummary {

// The template as the search window holds it, before it is filled.
Report::ReportTemplate makeTemplate();

// Fills the template with the result lines of a search in a book, in the order the list shows them:
// the title, which names the book, one printed line per result line, and the heights that follow from
// their number (12.822 units a line, the band 10 units more).
void fill(Report::ReportTemplate& summary, const QString& bookName, const QStringList& lines);

} // namespace SearchSummary
