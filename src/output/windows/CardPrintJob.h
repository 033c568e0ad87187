// What the card preview and card print windows share: the photo copied from the editor when the window
// is shown, and the steps that fill the card page from the editor's fields, prepare it and hand it to
// the preview window or the printer.
#pragma once

#include "report/core/CardPage.h"
#include "report/core/ReportLayout.h"

#include <QImage>

class QWidget;

class CardPrintJob {
public:
    enum class Output { Preview, Printer };

    CardPrintJob();

    // Copies the full-size picture of the editor's photo frame; the placeholder when there is none.
    void takePhoto(const QImage& placeholder);
    const QImage& photo() const { return m_photo; }

    // Fills the page with the editor's current texts and the copied photo, prepares it and previews or
    // prints it. False when the user cancelled the print dialog; any failure is thrown.
    bool run(Output output, QWidget* parent);

    const Report::ReportTemplate& page() const { return m_page; }
    const Report::PreparedReport& prepared() const { return m_prepared; }

    // The editor's texts as the page takes them, trimmed.
    static CardPage::Values editorValues();

private:
    QImage m_photo;
    Report::ReportTemplate m_page;
    Report::PreparedReport m_prepared;
};
