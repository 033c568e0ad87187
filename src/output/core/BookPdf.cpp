#include "output/core/BookPdf.h"

#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "base/FitRule.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFileDevice.h"
#include "base/TextRules.h"
#include "output/core/CardPage.h"
#include "report/core/ReportLayout.h"
#include "report/core/ReportPainter.h"
#include "report/core/ReportTemplate.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <vector>

using namespace Qt::StringLiterals;

namespace BookPdf {

namespace {

// Photos are printed at this resolution, the PDF's own.
constexpr int kDotsPerInch = 300;
constexpr qreal kDotsPerMm = kDotsPerInch / 25.4;
// The card page's photo area, in mm.
constexpr QSizeF kCardPhotoMm{188, 177};

// Reads the cards of the book of that name from start to end in blocks, handing each one to `card`
// with its position and the book's count. The archive is only read, so a book on a read-only disk
// can be printed.
template <class Card> void eachCard(const QString& name, Card&& card, const Progress& progress) {
    const QString archivePath = ProgramFolder::archiveOf(name);
    if (!QFileInfo(archivePath).isFile())
        throw ArchiveError(u"Il book \"%1\" non esiste nella cartella del programma."_s.arg(name));
    BookArchive archive;
    archive.openForReading(archivePath);
    const int count = archive.count();
    if (count == 0) {
        archive.close();
        throw ArchiveError(u"L'archivio non contiene nessuna scheda."_s);
    }
    std::vector<TScheda> block;
    int position = 0;
    while (const int read = archive.readBlock(block, 64)) {
        for (int i = 0; i < read; ++i) {
            card(block[std::size_t(i)], ++position, count);
            if (progress)
                progress(position, count);
        }
    }
    archive.close();
}

QImage photoAt(const QString& bookName, int position, QSize dots) {
    return CardPhoto::fromFile(PhotoStore::photoPath(bookName, position), dots).display();
}

// A PDF written page after page into a file replaced whole.
class PdfFile {
public:
    PdfFile(const QString& path, const QString& title)
        : m_path(path)
        , m_device(path)
        , m_writer(&m_device) {
        if (!m_device.start())
            fail();
        m_writer.setResolution(kDotsPerInch);
        m_writer.setTitle(title);
        m_writer.setCreator(u"Lumivera"_s);
        m_writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                           QPageLayout::Millimeter));
    }

    // The painter for the next page.
    QPainter& nextPage() {
        if (!m_painter.isActive()) {
            if (!m_painter.begin(&m_writer))
                fail();
        } else if (!m_writer.newPage()) {
            fail();
        }
        return m_painter;
    }

    void finish() {
        if (!m_painter.end() || !m_device.commit())
            fail();
    }

private:
    [[noreturn]] void fail() {
        const QString why = m_device.failure();
        throw Report::ReportError(
            why.isEmpty() ? u"Non è stato possibile scrivere il file \"%1\"."_s.arg(m_path)
                          : u"Non è stato possibile scrivere il file \"%1\": %2."_s.arg(m_path, why));
    }

    QString m_path;
    ReplaceFileDevice m_device;
    QPdfWriter m_writer;
    QPainter m_painter;
};

} // namespace

void writePortfolio(const QString& bookName, const QString& pdfPath, const Progress& progress) {
    const QString name = TextRules::trim(bookName);
    PdfFile pdf(pdfPath, name);
    Report::ReportTemplate page = CardPage::makeTemplate();
    const QSize photoDots = (kCardPhotoMm * kDotsPerMm).toSize();
    eachCard(
        name,
        [&](const TScheda& card, int position, int) {
            CardPage::Values values;
            for (std::size_t f = 0; f < CardPage::kTextCount; ++f)
                values.texts[f] = card.field(TScheda::Field(f));
            values.bookName = name;
            values.photo = photoAt(name, position, photoDots);
            CardPage::fill(page, values);
            const Report::PreparedReport prepared = Report::prepare(page);
            for (const Report::PreparedPage& sheet : prepared.pages)
                Report::paintPage(pdf.nextPage(), sheet, kDotsPerMm);
        },
        progress);
    pdf.finish();
}

namespace {

// The contact sheet's page, in mm.
constexpr qreal kPageWidth = 210, kPageHeight = 297;
constexpr qreal kMargin = 12, kFooter = 20;
constexpr qreal kPadding = 2, kCaption = 12;

struct SheetLayout {
    int columns;
    qreal cellWidth;
    qreal box; // the thumbnail's square
    qreal cellHeight;
    int rows;
};

SheetLayout sheetLayout(int columns) {
    SheetLayout layout{};
    layout.columns = columns;
    layout.cellWidth = (kPageWidth - 2 * kMargin) / columns;
    layout.box = layout.cellWidth - 2 * kPadding;
    layout.cellHeight = layout.box + kCaption + kPadding;
    layout.rows = std::max(1, int((kPageHeight - kMargin - kFooter) / layout.cellHeight));
    return layout;
}

QRectF dots(qreal x, qreal y, qreal width, qreal height) {
    return {x * kDotsPerMm, y * kDotsPerMm, width * kDotsPerMm, height * kDotsPerMm};
}

} // namespace

int cardsPerSheetPage(int columns) {
    const SheetLayout layout = sheetLayout(columns);
    return layout.columns * layout.rows;
}

void writeContactSheet(const QString& bookName, const QString& pdfPath, int columns,
                       const Progress& progress) {
    const QString name = TextRules::trim(bookName);
    PdfFile pdf(pdfPath, name);
    const SheetLayout layout = sheetLayout(std::clamp(columns, 1, kMaxColumns));
    const int perPage = layout.columns * layout.rows;
    QFont font(u"Arial"_s);
    font.setPointSizeF(std::clamp(28.0 / layout.columns, 4.0, 9.0));
    QFont footer(u"Arial"_s);
    footer.setPointSizeF(8);
    const QSize thumbDots = dots(0, 0, layout.box, layout.box).size().toSize();
    QPainter* painter = nullptr;
    int pages = 0;

    eachCard(
        name,
        [&](const TScheda& card, int position, int count) {
            const int index = position - 1;
            if (index % perPage == 0) {
                painter = &pdf.nextPage();
                ++pages;
                const int total = (count + perPage - 1) / perPage;
                painter->setFont(footer);
                painter->setPen(Qt::black);
                const QRectF foot = dots(kMargin, kPageHeight - kFooter + 6, kPageWidth - 2 * kMargin, 6);
                painter->drawText(foot, Qt::AlignLeft | Qt::AlignVCenter, name);
                painter->drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                                  u"Pagina %1 di %2"_s.arg(pages).arg(total));
            }
            const int slot = index % perPage;
            const qreal x = kMargin + (slot % layout.columns) * layout.cellWidth + kPadding;
            const qreal y = kMargin + (slot / layout.columns) * layout.cellHeight;
            const QRectF box = dots(x, y, layout.box, layout.box);
            const QImage thumb = photoAt(name, position, thumbDots);
            if (!thumb.isNull()) {
                const QRect drawn = FitRule::fit(thumb.size(), box.size().toSize());
                painter->drawImage(QRectF(box.topLeft() + drawn.topLeft(), QSizeF(drawn.size())), thumb);
            } else {
                painter->setPen(QPen(Qt::lightGray, 2));
                painter->drawRect(box);
            }
            painter->setFont(font);
            painter->setPen(Qt::black);
            const QFontMetricsF metrics(font, painter->device());
            const qreal line = metrics.height();
            QRectF text(box.left(), box.bottom() + kPadding * kDotsPerMm / 2, box.width(), line);
            for (const QString& caption :
                 {u"Scheda %1"_s.arg(position), card.field(TScheda::Titolo), card.field(TScheda::Data)}) {
                painter->drawText(text, Qt::AlignHCenter | Qt::AlignTop,
                                  metrics.elidedText(caption, Qt::ElideRight, text.width()));
                text.translate(0, line);
            }
        },
        progress);
    pdf.finish();
}

} // namespace BookPdf
