// Printing and previewing prepared reports. The print dialog and the preview window are reached through
// one replaceable service, so tests answer the dialog and look at what would be previewed; the printing
// itself always goes through the engine's one paint routine.
#pragma once

#include "report/core/ReportLayout.h"

class QPrinter;
class QWidget;

namespace ReportPrinting {

class Service {
public:
    virtual ~Service() = default;
    // Shows the print dialog for the printer (printer, copies, pages); true when the user confirms.
    virtual bool confirmPrint(QPrinter& printer, QWidget* parent) = 0;
    // Shows the report in the preview window, modally, until the user closes it; a Report::ReportError,
    // and no window, when a page cannot be drawn.
    virtual void showPreview(const Report::PreparedReport& report, QWidget* parent) = 0;
};

// Installs a replacement service (not owned); nullptr puts the real dialog and window back.
void setService(Service* service);

// Shows the print dialog and, when the user confirms it, prints the report on the printer chosen.
// False when the user cancelled; a Report::ReportError when printing failed.
bool print(const Report::PreparedReport& report, QWidget* parent);

// Shows the report in the preview window, modally; a Report::ReportError, and no window, when a page
// cannot be drawn.
void preview(const Report::PreparedReport& report, QWidget* parent);

// Prints the report on a printer already set up by the print dialog: the pages and the copies it
// asked for, to the file it named when it prints to a file. A Report::ReportError on failure.
void printOn(QPrinter& printer, const Report::PreparedReport& report);

} // namespace ReportPrinting
