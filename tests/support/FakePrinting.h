// Stands in for the print dialog and the preview window while it lives.
#pragma once

#include "report/core/ReportTemplate.h"
#include "report/windows/ReportPreview.h"
#include "report/windows/ReportPrinting.h"

#include <QPrinter>
#include <QTimer>

#include <vector>

// Answers the print dialog from a script and keeps what would have been previewed.
class FakePrinting final : public ReportPrinting::Service {
public:
    FakePrinting() { ReportPrinting::setService(this); }
    ~FakePrinting() override { ReportPrinting::setService(nullptr); }

    bool confirmPrint(QPrinter& printer, QWidget*) override {
        ++dialogs;
        if (!confirm)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    }
    void showPreview(const Report::PreparedReport& report, QWidget* parent) override {
        previewed.push_back(report);
        if (!previewError.isEmpty())
            throw Report::ReportError(previewError);
        if (undrawablePage) {
            // The engine's own window, as the program opens it, closed again as soon as it shows.
            Report::PreparedReport sheetless = report;
            sheetless.pages.clear();
            ReportPreview window(sheetless, parent);
            QTimer::singleShot(0, &window, &QDialog::reject);
            ++previewWindows;
            window.exec();
        }
    }

    bool confirm = true;
    QString output;
    QString previewError;
    // The preview goes to the engine's own window with a page the engine cannot draw: the report
    // without its sheets.
    bool undrawablePage = false;
    int previewWindows = 0; // preview windows shown
    int dialogs = 0;
    std::vector<Report::PreparedReport> previewed;
};
