#include "output/core/BookPdf.h"

#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "base/FitRule.h"
#include "base/ProgramFolder.h"
#include "output/core/CardPage.h"
#include "report/core/ReportPdf.h"
#include "report/core/ReportTemplate.h"
#include "report/core/TextMeasure.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QThreadPool>

#include <deque>
#include <future>
#include <memory>

using namespace Qt::StringLiterals;

namespace BookPdf {

namespace {

// The card page's photo area, in mm.
constexpr QSizeF kCardPhotoMm{188, 177};

// Records read from the archive in one transfer.
constexpr int kBlockCards = 64;

// Reads the cards the file takes (every card of the book of that name, or the cards chosen) from start
// to end in blocks, handing each one to `card` with its position, how many were taken before it and
// with it, and how many the file takes. The archive is only read, so a book on a read-only disk can be
// printed.
template <class Card> void eachCard(const QString& name, const CardChoice::Cards& chosen, Card&& card) {
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
    if (!chosen) {
        std::vector<TScheda> block;
        int position = 0;
        while (const int read = archive.readBlock(block, kBlockCards)) {
            for (int i = 0; i < read; ++i) {
                ++position;
                card(block[std::size_t(i)], position, position, count);
            }
        }
    } else {
        const CardChoice::Positions positions = CardChoice::ordered(*chosen);
        if (const QString problem = CardChoice::problemIn(positions, count); !problem.isEmpty())
            throw ArchiveError(problem.front().toUpper() + problem.mid(1));
        const int total = int(positions.size());
        int done = 0;
        CardChoice::readChosen(archive, positions, kBlockCards, [&](const TScheda& record, int position) {
            card(record, position, ++done, total);
        });
    }
    archive.close();
}

// Thrown from inside the writing of the file when the progress callback asks to stop: the file is
// then dropped as a failed one is, and the writer says it was stopped.
struct Stopped {};

void tell(const Progress& progress, int done, int total) {
    if (progress && !progress(done, total))
        throw Stopped{};
}

// Writes the file, turning a stop into its outcome.
template <class Pages>
Output::Ended writeStoppable(const QString& pdfPath, const QString& title, Pages&& pages) {
    try {
        Report::writePdfFile(pdfPath, title, pages);
    } catch (const Stopped&) {
        return Output::Ended::Cancelled;
    }
    return Output::Ended::Written;
}

// The cards on their way to the file: each card's photo is prepared on a worker thread as soon as the
// card is read, and the cards are handed on in the book's order once their photo is ready. At most a
// few cards per core are in hand, so memory stays the same for a book of any length.
class PhotosAhead {
public:
    // Called with the card, its position, how many cards were handed on before it and with it, and
    // how many the file takes.
    using Ready = std::function<void(const TScheda& card, int position, int done, int total,
                                     const PrintPhoto::Prepared& photo)>;

    PhotosAhead(const QString& bookName, QSize boxDots, Ready ready)
        : m_bookName(bookName)
        , m_boxDots(boxDots)
        , m_ready(std::move(ready)) {
        m_workers.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        m_depth = std::size_t(m_workers.maxThreadCount()) * 3;
        // The placeholder's bytes are made here, once, before any worker looks for them.
        (void)PhotoStore::placeholderPhotoFile();
    }

    // Whatever happens, no worker outlives the cards it works for; photos not yet begun are dropped.
    ~PhotosAhead() {
        m_workers.clear();
        m_workers.waitForDone();
    }

    PhotosAhead(const PhotosAhead&) = delete;
    PhotosAhead& operator=(const PhotosAhead&) = delete;

    void add(const TScheda& card, int position, int done, int total) {
        if (m_cards.size() >= m_depth)
            handOnFirst();
        // The placeholder picture stored as a card's photo stands for no photo at all.
        auto task = std::make_shared<std::packaged_task<PrintPhoto::Prepared()>>(
            [path = PhotoStore::photoPath(m_bookName, position), box = m_boxDots] {
                return PhotoStore::isPlaceholderPhoto(path) ? PrintPhoto::Prepared{}
                                                            : PrintPhoto::fromFile(path, box);
            });
        m_cards.push_back({card, position, done, total, task->get_future()});
        m_workers.start([task] { (*task)(); });
    }

    // Hands on the cards still in hand.
    void finish() {
        while (!m_cards.empty())
            handOnFirst();
    }

private:
    struct Card {
        TScheda card;
        int position;
        int done;
        int total;
        std::future<PrintPhoto::Prepared> photo;
    };

    void handOnFirst() {
        Card first = std::move(m_cards.front());
        m_cards.pop_front();
        m_ready(first.card, first.position, first.done, first.total, first.photo.get());
    }

    QString m_bookName;
    QSize m_boxDots;
    Ready m_ready;
    std::size_t m_depth = 1;
    std::deque<Card> m_cards;
    QThreadPool m_workers;
};

} // namespace

Output::Ended writePortfolio(const QString& name, const QString& pdfPath, const Progress& progress,
                             const CardChoice::Cards& chosen) {
    return writeStoppable(pdfPath, name, [&](Report::PdfDocument& pdf) {
        Report::ReportTemplate page = CardPage::makeTemplate();
        PhotosAhead cards(
            name, PrintPhoto::dotsOf(kCardPhotoMm),
            [&](const TScheda& card, int, int done, int total, const PrintPhoto::Prepared& photo) {
                CardPage::Values values;
                for (std::size_t f = 0; f < CardPage::kTextCount; ++f)
                    values.texts[f] = card.field(TScheda::Field(f));
                values.bookName = name;
                CardPage::fill(page, values);
                photo.placeIn(page.pictureObject(u"imgLogo"));
                const Report::PreparedReport prepared = Report::prepare(page);
                for (const Report::PreparedPage& sheet : prepared.pages)
                    pdf.addPage(sheet);
                tell(progress, done, total);
            });
        eachCard(name, chosen, [&](const TScheda& card, int position, int done, int total) {
            cards.add(card, position, done, total);
        });
        cards.finish();
    });
}

namespace {

// The contact sheet's page, in mm.
constexpr qreal kPageWidth = 210, kPageHeight = 297;
constexpr qreal kMargin = 12, kFooter = 20;
constexpr qreal kPadding = 2, kCaption = 12;
// The frame of a card without a photo: light grey, two dots wide at print resolution.
constexpr qreal kEmptyFrameMm = 2 * 25.4 / PrintPhoto::kDotsPerInch;

struct SheetLayout {
    int columns;
    qreal cellWidth;
    qreal box; // the thumbnail's square
    qreal cellHeight;
    int rows;
};

SheetLayout sheetLayout(int columns) {
    SheetLayout layout{};
    layout.columns = std::clamp(columns, 1, kMaxColumns);
    layout.cellWidth = (kPageWidth - 2 * kMargin) / layout.columns;
    layout.box = layout.cellWidth - 2 * kPadding;
    layout.cellHeight = layout.box + kCaption + kPadding;
    layout.rows = std::max(1, int((kPageHeight - kMargin - kFooter) / layout.cellHeight));
    return layout;
}

Report::PreparedItem textItem(const QString& name, const QRectF& rect, const QFont& font,
                              Qt::Alignment alignment, const QString& text) {
    Report::PreparedItem item;
    item.kind = Report::PreparedItem::Kind::Text;
    item.objectName = name;
    item.rect = rect;
    item.clip = QRectF(0, 0, kPageWidth, kPageHeight);
    item.font = font;
    item.alignment = alignment;
    item.text = text;
    return item;
}

} // namespace

int cardsPerSheetPage(int columns) {
    const SheetLayout layout = sheetLayout(columns);
    return layout.columns * layout.rows;
}

QSize thumbnailDots(int columns) {
    const qreal box = sheetLayout(columns).box;
    return PrintPhoto::dotsOf({box, box});
}

Report::PreparedPage contactSheetPage(const QString& bookName, int columns, int page, int pages,
                                      const std::vector<SheetCard>& cards) {
    const SheetLayout layout = sheetLayout(columns);
    Report::PreparedPage sheet;
    sheet.pageSize = QPageSize(QPageSize::A4);
    sheet.orientation = QPageLayout::Portrait;
    sheet.paperSize = QSizeF(kPageWidth, kPageHeight);
    const QRectF paper(0, 0, kPageWidth, kPageHeight);

    const QFont footer = Report::makeFont(u"Arial"_s, 8);
    const QRectF foot(kMargin, kPageHeight - kFooter + 6, kPageWidth - 2 * kMargin, 6);
    sheet.items.push_back(textItem(u"txtBook"_s, foot, footer, Qt::AlignLeft | Qt::AlignVCenter, bookName));
    sheet.items.push_back(textItem(u"txtPagina"_s, foot, footer, Qt::AlignRight | Qt::AlignVCenter,
                                   u"Pagina %1 di %2"_s.arg(page).arg(pages)));

    const QFont font = Report::makeFont(u"Arial"_s, std::clamp(28.0 / layout.columns, 4.0, 9.0));
    const QFontMetricsF metrics(font, &Report::measureDevice());
    const qreal line = Report::dotsToMm(metrics.height());
    const QSize boxDots = PrintPhoto::dotsOf({layout.box, layout.box});
    const qreal mmPerDot = 25.4 / PrintPhoto::kDotsPerInch;
    const int slots = std::min(int(cards.size()), layout.columns * layout.rows);
    for (int slot = 0; slot < slots; ++slot) {
        const SheetCard& card = cards[std::size_t(slot)];
        const qreal x = kMargin + (slot % layout.columns) * layout.cellWidth + kPadding;
        const qreal y = kMargin + (slot / layout.columns) * layout.cellHeight;
        const QRectF box(x, y, layout.box, layout.box);
        Report::PreparedItem picture;
        picture.objectName = u"imgScheda%1"_s.arg(card.position);
        picture.clip = paper;
        const QSize pixels = card.photo.jpeg.isNull() ? card.photo.image.size() : card.photo.jpeg.size;
        if (!card.photo.isNull()) {
            const QRect drawn = FitRule::fit(pixels, boxDots);
            picture.kind = Report::PreparedItem::Kind::Picture;
            picture.rect =
                QRectF(box.topLeft() + QPointF(drawn.topLeft()) * mmPerDot, QSizeF(drawn.size()) * mmPerDot);
            picture.picture = card.photo.image;
            picture.jpeg = card.photo.jpeg;
        } else {
            picture.kind = Report::PreparedItem::Kind::Rectangle;
            picture.rect = box;
            picture.frameColour = QColor(Qt::lightGray);
            picture.frameWidth = kEmptyFrameMm;
        }
        sheet.items.push_back(picture);

        QRectF text(box.left(), box.bottom() + kPadding / 2, box.width(), line);
        const qreal width = text.width() / Report::dotsToMm(1);
        int lineNumber = 0;
        for (const QString& caption : {u"Scheda %1"_s.arg(card.position), card.title, card.date}) {
            Report::PreparedItem item =
                textItem(u"txtScheda%1"_s.arg(card.position), text, font, Qt::AlignHCenter | Qt::AlignTop,
                         metrics.elidedText(caption, Qt::ElideRight, width));
            item.line = lineNumber++;
            sheet.items.push_back(item);
            text.translate(0, line);
        }
    }
    return sheet;
}

Output::Ended writeContactSheet(const QString& name, const QString& pdfPath, int columns,
                                const Progress& progress, const CardChoice::Cards& chosen) {
    const int perPage = cardsPerSheetPage(columns);
    return writeStoppable(pdfPath, name, [&](Report::PdfDocument& pdf) {
        std::vector<SheetCard> onPage;
        int page = 0;
        PhotosAhead cards(
            name, thumbnailDots(columns),
            [&](const TScheda& card, int position, int done, int total, const PrintPhoto::Prepared& photo) {
                onPage.push_back({position, card.field(TScheda::Titolo), card.field(TScheda::Data), photo});
                if (int(onPage.size()) == perPage || done == total) {
                    const int pages = (total + perPage - 1) / perPage;
                    pdf.addPage(contactSheetPage(name, columns, ++page, pages, onPage));
                    onPage.clear();
                }
                tell(progress, done, total);
            });
        eachCard(name, chosen, [&](const TScheda& card, int position, int done, int total) {
            cards.add(card, position, done, total);
        });
        cards.finish();
    });
}

} // namespace BookPdf
