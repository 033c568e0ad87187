// What the card preview and card print windows share: the card the opener hands over, and the steps that
// fill the card page with it, prepare it and hand it to the preview window or the printer.
#pragma once

#include "output/core/CardPage.h"
#include "report/core/ReportLayout.h"

#include <QImage>

class QWidget;

class CardPrintJob {
public:
    enum class Output { Preview, Printer };

    CardPrintJob();

    // The card the page will carry: its texts, its book's name and its photo. A card without a photo
    // takes the placeholder instead.
    void setCard(CardPage::Values card, const QImage& placeholder);
    const QImage& photo() const { return m_card.photo; }

    // Fills the page with the card, prepares it and previews or prints it. False when the user cancelled
    // the print dialog; any failure is thrown.
    bool run(Output output, QWidget* parent);

    const Report::ReportTemplate& page() const { return m_page; }
    const Report::PreparedReport& prepared() const { return m_prepared; }

private:
    CardPage::Values m_card;
    Report::ReportTemplate m_page;
    Report::PreparedReport m_prepared;
};
