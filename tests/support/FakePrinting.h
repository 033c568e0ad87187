// Stands in for the print dialog and the preview window while it lives.
#pragma once

#include "ReportPrinting.h"
#include "ReportTemplate.h"

#include <QPrinter>

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
    void showPreview(const Report::PreparedReport& report, QWidget*) override {
        previewed.push_back(report);
        if (!previewError.isEmpty())
            throw Report::ReportError(previewError);
    }

    bool confirm = true;
    QString output;
    QString previewError;
    int dialogs = 0;
    std::vector<Report::PreparedReport> previewed;
};
