#include "output/windows/CardPrintJob.h"

#include "report/windows/ReportPrinting.h"

CardPrintJob::CardPrintJob()
    : m_page(CardPage::makeTemplate()) {}

void CardPrintJob::setCard(CardPage::Values card, const QImage& placeholder) {
    m_card = std::move(card);
    if (m_card.photo.isNull())
        m_card.photo = placeholder;
}

bool CardPrintJob::run(Output output, QWidget* parent) {
    CardPage::fill(m_page, m_card);
    m_prepared = Report::prepare(m_page);
    if (output == Output::Preview) {
        ReportPrinting::preview(m_prepared, parent);
        return true;
    }
    return ReportPrinting::print(m_prepared, parent);
}
