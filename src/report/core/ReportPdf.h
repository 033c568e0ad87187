// Prepared sheets written as a PDF file by the program itself: each line of text as one run of glyphs
// in the face it names (the face cut down to the glyphs printed, so the text can be searched and copied),
// rectangles as paths, pictures as images at print resolution. A painter on a PDF device positions,
// clips and saves the state around every glyph, which for a list of a hundred thousand lines costs
// minutes; this writer goes at the pace of the file.
#pragma once

#include "report/core/ReportLayout.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace Report {

// The one message for a PDF file that cannot be written, with the system's words for the reason when
// they are known.
QString cannotWriteMessage(const QString& path, const QString& reason = {});

// A PDF document written as it goes, for documents of any length: each page goes into the device when
// it is added, its pictures with it (a picture given as JPEG data of grey or colour pixels byte for
// byte), and nothing of it is kept but its object's number and the glyphs it printed; the faces, the
// page tree and the document's information follow at finish(). A ReportError when the device fails.
class PdfDocument {
public:
    // Starts the document in a device open for writing; the title is the document's information.
    PdfDocument(QIODevice& device, const QString& title);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // A page of the sheet's size and orientation.
    void addPage(const PreparedPage& page);
    // Ends the document; nothing may be added after.
    void finish();

private:
    class Writer;
    std::unique_ptr<Writer> m_writer;
};

// Writes a PDF file that replaces the file at the path whole only once it is complete: `pages` adds
// the pages to the document. When it cannot be written, a ReportError with cannotWriteMessage() and
// the file as it was; any other error thrown by `pages` leaves the file as it was too and passes on.
void writePdfFile(const QString& path, const QString& title, const std::function<void(PdfDocument&)>& pages);

// Writes the listed sheets (indexes into the report, in the order given, repeats allowed; all of them
// when the list is empty), each on a page of its own size and orientation, into a device open for
// writing. A ReportError when the report has no such sheet or the device fails.
void writePdf(QIODevice& device, const PreparedReport& report, const QList<int>& sheets = {});

} // namespace Report
