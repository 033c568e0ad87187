#include "report/windows/ReportPrinting.h"

#include "base/Replaceable.h"
#include "report/core/ReportPainter.h"
#include "report/windows/ReportPreview.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace ReportPrinting {

namespace {

class QtService final : public Service {
public:
    bool confirmPrint(QPrinter& printer, QWidget* parent) override {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(u" Stampa"_s);
        dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                          QAbstractPrintDialog::PrintShowPageSize);
        return dialog.exec() == QDialog::Accepted;
    }

    void showPreview(const Report::PreparedReport& report, QWidget* parent) override {
        ReportPreview window(report, parent);
        window.exec();
    }
};

using Seam = Replaceable<Service, QtService>;

Service& service() {
    return Seam::current();
}

// A print to file needs a file: the dialog may leave a folder there (printing into it under the
// report's name), or nothing at all.
void checkOutputFile(QPrinter& printer, const Report::PreparedReport& report) {
    if (printer.outputFileName().isEmpty()) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            throw Report::ReportError(u"Non è stato indicato il file in cui stampare."_s);
        return;
    }
    const QFileInfo target(printer.outputFileName());
    if (target.isDir()) {
        QString name = report.name.isEmpty() ? u"Stampa"_s : report.name;
        printer.setOutputFileName(QDir(target.absoluteFilePath()).filePath(name + u".pdf"_s));
    } else if (!target.absoluteDir().exists()) {
        throw Report::ReportError(u"La cartella \"%1\" in cui stampare non esiste."_s.arg(
            QDir::toNativeSeparators(target.absolutePath())));
    }
}

} // namespace

void setService(Service* replacement) {
    Seam::replace(replacement);
}

void printOn(QPrinter& printer, const Report::PreparedReport& report) {
    checkOutputFile(printer, report);
    printer.setFullPage(true);
    printer.setDocName(report.name);

    const int count = int(report.pages.size());
    int first = 1;
    int last = count;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(count, printer.toPage() > 0 ? printer.toPage() : count);
    }
    if (first > last)
        throw Report::ReportError(u"Le pagine richieste non sono nel documento, che ne ha %1."_s.arg(count));

    // Where the printer cannot make copies itself (a PDF file), each sheet is repeated.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    QList<int> sheets;
    if (collate) {
        for (int c = 0; c < copies; ++c)
            for (int p = first; p <= last; ++p)
                sheets.append(p - 1);
    } else {
        for (int p = first; p <= last; ++p)
            for (int c = 0; c < copies; ++c)
                sheets.append(p - 1);
    }
    // A print to a PDF file is written by the program's own PDF writer, which keeps a long list's text
    // as lines of text instead of positioning every glyph on its own.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        Report::writePdf(report, printer.outputFileName(), sheets);
    else
        Report::paintReport(printer, report, sheets);
}

bool print(const Report::PreparedReport& report, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.name);
    if (!report.pages.empty()) {
        const Report::PreparedPage& page = report.pages.front();
        printer.setPageLayout(
            QPageLayout(page.pageSize, page.orientation, QMarginsF(), QPageLayout::Millimeter));
    }
    if (!report.pages.empty())
        printer.setFromTo(1, int(report.pages.size()));
    printer.setPrintRange(QPrinter::AllPages);
    if (!service().confirmPrint(printer, parent))
        return false;
    printOn(printer, report);
    return true;
}

void preview(const Report::PreparedReport& report, QWidget* parent) {
    service().showPreview(report, parent);
}

} // namespace ReportPrinting
