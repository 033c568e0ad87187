// The report engine and the printed card: templates filled by name, the prepared sheets (positions,
// cut text, literal brackets, the date expression, fitted pictures, a data band over several sheets),
// and the paint routine drawing them into an image and a PDF file.
#include "PdfCheck.h"
#include "TestFiles.h"
#include "archive/core/TScheda.h"
#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "output/core/BookPdf.h"
#include "output/core/CardPage.h"
#include "output/core/PrintPhoto.h"
#include "report/core/PdfFont.h"
#include "report/core/ReportLayout.h"
#include "report/core/ReportPainter.h"
#include "report/core/ReportPdf.h"
#include "report/core/ReportTemplate.h"
#include "search/core/SearchSummary.h"

#include <QBuffer>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <utility>

using namespace Qt::StringLiterals;
using Report::PreparedItem;

namespace {

// The page's printable area starts 10 mm from the paper's corner.
constexpr qreal kMargin = 10;

bool near(qreal a, qreal b) {
    return std::abs(a - b) < 1e-6;
}

bool nearRect(const QRectF& a, const QRectF& b) {
    return near(a.left(), b.left()) && near(a.top(), b.top()) && near(a.width(), b.width()) &&
           near(a.height(), b.height());
}

QImage solid(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

CardPage::Values sampleCard() {
    CardPage::Values values;
    values.photo = solid({300, 400}, Qt::red);
    values.bookName = u"Giulia"_s;
    values.texts = {u"Ritratto al tramonto"_s,
                    u"Primo piano controluce"_s,
                    u"05/03/2024"_s,
                    u"Milano"_s,
                    u"Marco Rossi"_s,
                    u"Nikon D850"_s,
                    u"Lightroom"_s,
                    u"Abito rosso"_s,
                    u"Orecchini"_s,
                    u"Naturale"_s,
                    u"Ottimo"_s,
                    u"Da ripetere"_s};
    return values;
}

Report::PreparedPage preparedCard(const CardPage::Values& values) {
    Report::ReportTemplate page = CardPage::makeTemplate();
    CardPage::fill(page, values);
    const Report::PreparedReport prepared = Report::prepare(page);
    if (prepared.pages.size() != 1)
        qFatal("the card must print on exactly one sheet");
    return prepared.pages.front();
}

// The search summary with `lines` result lines, filled as the search window fills it.
Report::ReportTemplate summary(int lines) {
    Report::ReportTemplate report = SearchSummary::makeTemplate();
    QStringList resultLines;
    for (int i = 1; i <= lines; ++i)
        resultLines << u"%1 Scatto [%2]"_s.arg(i, 4, 10, QChar(u'0')).arg(i);
    SearchSummary::fill(report, u"Giulia"_s, resultLines);
    return report;
}

// The pages of a PDF file as the system's PDF renderer draws them, in grey, at 300 dots per inch.
constexpr qreal kRenderDotsPerMm = 300 / 25.4;

QList<QImage> renderedPages(const QString& pdf) {
    QTemporaryDir dir;
    QProcess tool;
    tool.start(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-gray"_s, u"-png"_s, pdf, dir.filePath(u"p"_s)});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    QList<QImage> pages;
    QStringList names = QDir(dir.path()).entryList({u"p-*.png"_s}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        pages << QImage(dir.filePath(name)).convertToFormat(QImage::Format_Grayscale8);
    return pages;
}

// The share of the inked squares of three dots by three (100 per inch) in which two renderings of a
// page differ clearly in their mean grey: how text, bars, frames and pictures are placed and drawn,
// without the renderer's own edge smoothing, which varies with how a glyph reached the file.
qreal inkDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 1;
    qint64 ink = 0;
    qint64 differ = 0;
    for (int y = 0; y + 3 <= a.height(); y += 3) {
        for (int x = 0; x + 3 <= a.width(); x += 3) {
            int p = 0;
            int q = 0;
            for (int dy = 0; dy < 3; ++dy) {
                for (int dx = 0; dx < 3; ++dx) {
                    p += a.constScanLine(y + dy)[x + dx];
                    q += b.constScanLine(y + dy)[x + dx];
                }
            }
            if (p < 230 * 9 || q < 230 * 9)
                ++ink;
            if (std::abs(p - q) > 80 * 9)
                ++differ;
        }
    }
    return ink == 0 ? 0 : qreal(differ) / qreal(ink);
}

// The ink of a rendering within an area (mm): the box of its dark dots and how much ink there is.
struct Ink {
    QRect box;
    qint64 amount = 0;
};

Ink inkIn(const QImage& page, const QRectF& mm) {
    Ink ink;
    const QRect area =
        QRectF(mm.topLeft() * kRenderDotsPerMm, mm.size() * kRenderDotsPerMm).toRect() & page.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* row = page.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            ink.amount += 255 - row[x];
            if (row[x] < 128)
                ink.box |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// What a command-line tool prints, or nothing when it fails.
QString toolOutput(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(60000))
        return {};
    if (exitCode)
        *exitCode = tool.exitCode();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// The fonts pdffonts lists for a file, one row each, without its heading.
QStringList fontRows(const QString& pdf) {
    QStringList rows = toolOutput(u"pdffonts"_s, {pdf}).split(u'\n').mid(2);
    rows.removeIf([](const QString& row) { return row.trimmed().isEmpty(); });
    return rows;
}

// A sheet with one line of text in one font, prepared.
Report::PreparedReport oneLine(const QFont& font, const QString& line) {
    Report::ReportTemplate report(u"Facce"_s);
    Report::ReportPage page;
    Report::ReportObject text;
    text.name = u"txtRiga"_s;
    text.geometry = {5, 10, 190, 12};
    text.font = font;
    text.setText(line);
    page.objects.push_back(text);
    report.pages().push_back(page);
    return Report::prepare(report);
}

// An installed font file with a table changed in place, and its family renamed (same length, so that
// nothing moves) so that it is told from the installed face.
QByteArray alteredFont(const QString& path, const QByteArray& family, const QByteArray& renamed,
                       const char tag[4], qsizetype at, quint32 value, int bytes) {
    QFile file(path);
    if (family.size() != renamed.size() || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray font = file.readAll();
    const int tables = qFromBigEndian<quint16>(font.constData() + 4);
    for (int t = 0; t < tables; ++t) {
        const char* entry = font.constData() + 12 + 16 * t;
        if (QByteArrayView(entry, 4) != QByteArrayView(tag, 4))
            continue;
        const quint32 offset = qFromBigEndian<quint32>(entry + 8);
        if (bytes == 2)
            qToBigEndian<quint16>(quint16(value), font.data() + offset + at);
        else
            qToBigEndian<quint32>(value, font.data() + offset + at);
    }
    const auto utf16 = [](const QByteArray& text) {
        QByteArray wide;
        for (char c : text)
            wide.append('\0').append(c);
        return wide;
    };
    font.replace(family, renamed);
    font.replace(utf16(family), utf16(renamed));
    return font;
}

// The pages written by the program's PDF writer against the same pages painted on a PDF device, both
// drawn by the system's renderer: the same ink, and each line of text where the painter puts it, as much
// of it.
void looksAsPainted(const Report::PreparedReport& prepared) {
    QTemporaryDir dir;
    const QString painted = dir.filePath(u"painted.pdf"_s);
    const QString written = dir.filePath(u"written.pdf"_s);
    {
        QPdfWriter writer(painted);
        Report::paintReport(writer, prepared);
    }
    Report::writePdf(prepared, written);
    QVERIFY_SOUND_PDF(written);
    const QList<QImage> expected = renderedPages(painted);
    const QList<QImage> actual = renderedPages(written);
    QCOMPARE(actual.size(), qsizetype(prepared.pages.size()));
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        const qreal difference = inkDifference(expected[i], actual[i]);
        QVERIFY2(difference < 0.01,
                 qPrintable(u"page %1 differs in %2 of its ink"_s.arg(i + 1).arg(difference)));
        // Each line of text: its ink where the painter puts it, within two dots, and as much of it.
        for (const Report::PreparedItem& item : prepared.pages[std::size_t(i)].items) {
            if (item.kind != Report::PreparedItem::Kind::Text)
                continue;
            const Ink painter = inkIn(expected[i], item.rect);
            const Ink writer = inkIn(actual[i], item.rect);
            const QString where =
                u"page %1, %2 line %3 \"%4\""_s.arg(i + 1).arg(item.objectName).arg(item.line).arg(item.text);
            QVERIFY2(std::abs(painter.box.left() - writer.box.left()) <= 2 &&
                         std::abs(painter.box.right() - writer.box.right()) <= 2 &&
                         std::abs(painter.box.top() - writer.box.top()) <= 2 &&
                         std::abs(painter.box.bottom() - writer.box.bottom()) <= 2,
                     qPrintable(where));
            QVERIFY2(std::abs(painter.amount - writer.amount) <= painter.amount / 20 + 255 * 20,
                     qPrintable(where));
        }
    }
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ProcessFormats::apply(); }
    void cleanup() { Clock::setToday(std::nullopt); }

    // --- The card page -----------------------------------------------------------------------------
    void cardTexts_data() {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRectF>("area");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<qreal>("pointSize");
        const int left = Qt::AlignLeft | Qt::AlignVCenter;
        const QColor black(Qt::black);
        QTest::newRow("book name") << u"txtNome"_s << u"Giulia"_s << QRectF(1, 0.5, 151, 4) << left << black
                                   << 7.0;
        QTest::newRow("date") << u"txtData"_s << u"Data scatto: 05/03/2024"_s << QRectF(153, 0.5, 36, 4)
                              << int(Qt::AlignRight | Qt::AlignVCenter) << black << 7.0;
        QTest::newRow("title") << u"txtTitolo"_s << u"Ritratto al tramonto"_s << QRectF(2, 6.2, 186, 6)
                               << int(Qt::AlignHCenter | Qt::AlignVCenter) << QColor(Qt::white) << 12.0;
        const std::array<QRectF, 10> values = {{{2, 201, 185.9, 4},
                                                {2, 215.4, 91, 4},
                                                {97, 215.4, 91, 4},
                                                {2, 229.4, 91, 4},
                                                {97, 229.4, 91, 4},
                                                {2, 243.4, 91, 4},
                                                {97, 243.4, 91, 4},
                                                {2, 257.4, 91, 4},
                                                {97, 257.4, 91, 4},
                                                {2, 271, 185.9, 4}}};
        // The value objects under the photo and the card's fields they print.
        const std::array<std::pair<QString, TScheda::Field>, 10> objects = {{
            {u"txtDescrizione"_s, TScheda::Descrizione},
            {u"txtLocation"_s, TScheda::Location},
            {u"txtFotografo"_s, TScheda::Fotografo},
            {u"txtFotocamera"_s, TScheda::Fotocamera},
            {u"txtFotoritocco"_s, TScheda::Fotoritocco},
            {u"txtAbiti"_s, TScheda::Abiti},
            {u"txtAccessori"_s, TScheda::Accessori},
            {u"txtTrucco"_s, TScheda::Trucco},
            {u"txtGiudizio"_s, TScheda::Giudizio},
            {u"txtNote"_s, TScheda::Note},
        }};
        const CardPage::Values card = sampleCard();
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto& [name, field] = objects[i];
            QTest::newRow(qPrintable(name)) << name << card.texts[field] << values[i] << left << black << 8.0;
        }
    }
    void cardTexts() {
        QFETCH(QString, object);
        QFETCH(QString, text);
        QFETCH(QRectF, area);
        QFETCH(int, alignment);
        QFETCH(QColor, colour);
        QFETCH(qreal, pointSize);
        const Report::PreparedPage page = preparedCard(sampleCard());
        const auto lines = page.textLines(object);
        QCOMPARE(lines.size(), std::size_t(1));
        const PreparedItem& item = *lines.front();
        QCOMPARE(item.text, text);
        QVERIFY2(nearRect(item.rect, area.translated(kMargin, kMargin)),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(item.rect.left())
                                .arg(item.rect.top())
                                .arg(item.rect.width())
                                .arg(item.rect.height())));
        QCOMPARE(int(item.alignment), alignment);
        QCOMPARE(item.colour, colour);
        QCOMPARE(item.font.pointSizeF(), pointSize);
        QCOMPARE(item.font.family(), u"Arial"_s);
        QVERIFY(!page.find(object, PreparedItem::Kind::Rectangle)); // texts have no fill and no frame
    }

    void cardBlocks_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QRectF>("barArea");
        QTest::addColumn<QRectF>("captionArea");
        QTest::addColumn<QRectF>("boxArea");
        QTest::newRow("description") << u"Memo8"_s << u"DESCRIZIONE"_s << u"Shape19"_s << u"Shape20"_s
                                     << QRectF(1, 195, 188, 4.8) << QRectF(2, 195.6, 185.8, 3.6)
                                     << QRectF(1, 200, 188, 6);
        QTest::newRow("photographer")
            << u"Memo6"_s << u"FOTOGRAFO"_s << u"Shape13"_s << u"Shape14"_s << QRectF(96, 209, 93, 4.8)
            << QRectF(97, 210, 91, 3.6) << QRectF(96, 214, 93, 6);
        QTest::newRow("make-up") << u"Memo2"_s << u"TRUCCO"_s << u"Shape3"_s << u"Shape4"_s
                                 << QRectF(1, 251, 93, 4.8) << QRectF(2, 252, 91, 3.6)
                                 << QRectF(1, 256, 93, 6);
        QTest::newRow("notes") << u"titRaccomandazioni"_s << u"NOTE"_s << u"Shape15"_s << u"Shape16"_s
                               << QRectF(1, 265, 188, 4.8) << QRectF(2, 265.6, 185.8, 3.6)
                               << QRectF(1, 270, 188, 6);
    }
    void cardBlocks() {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, bar);
        QFETCH(QString, box);
        QFETCH(QRectF, barArea);
        QFETCH(QRectF, captionArea);
        QFETCH(QRectF, boxArea);
        const Report::PreparedPage page = preparedCard(sampleCard());
        const PreparedItem* barItem = page.find(bar, PreparedItem::Kind::Rectangle);
        QVERIFY(barItem);
        QVERIFY(nearRect(barItem->rect, barArea.translated(kMargin, kMargin)));
        QCOMPARE(barItem->fill, std::optional<QColor>(QColor(65, 105, 225)));
        QCOMPARE(barItem->frameColour, std::optional<QColor>(QColor(65, 105, 225)));
        const PreparedItem* captionItem = page.find(caption);
        QVERIFY(captionItem);
        QCOMPARE(captionItem->text, text);
        QVERIFY(nearRect(captionItem->rect, captionArea.translated(kMargin, kMargin)));
        QVERIFY(captionItem->font.bold());
        QCOMPARE(captionItem->font.pointSizeF(), 8.0);
        QCOMPARE(captionItem->colour, QColor(Qt::white));
        const PreparedItem* boxItem = page.find(box, PreparedItem::Kind::Rectangle);
        QVERIFY(boxItem);
        QVERIFY(nearRect(boxItem->rect, boxArea.translated(kMargin, kMargin)));
        QVERIFY(!boxItem->fill);
        QCOMPARE(boxItem->frameColour, std::optional<QColor>(QColor(Qt::black)));
        QVERIFY(near(boxItem->frameWidth, 25.4 / 96));
    }

    void cardPageIsOneA4PortraitSheet() {
        Report::ReportTemplate page = CardPage::makeTemplate();
        QCOMPARE(page.name(), u"Scheda book fotografico"_s);
        QVERIFY(page.page(0).printsNothing);
        page.page(1).orientation = QPageLayout::Landscape; // the fill puts it back to portrait
        CardPage::fill(page, sampleCard());
        const Report::PreparedReport prepared = Report::prepare(page);
        QCOMPARE(prepared.pages.size(), std::size_t(1));
        QCOMPARE(prepared.pages[0].orientation, QPageLayout::Portrait);
        QVERIFY(near(prepared.pages[0].paperSize.width(), 210));
        QVERIFY(near(prepared.pages[0].paperSize.height(), 297));
    }

    void emptyDateLeavesTheLabelAlone() {
        CardPage::Values values = sampleCard();
        values.texts[TScheda::Data].clear();
        QCOMPARE(preparedCard(values).find(u"txtData")->text, u"Data scatto: "_s);
    }

    void longTitleIsCutNotWrapped() {
        CardPage::Values values = sampleCard();
        const QString title = u"Servizio in esterni "_s.repeated(20);
        values.texts[TScheda::Titolo] = title;
        const Report::PreparedPage page = preparedCard(values);
        const auto lines = page.textLines(u"txtTitolo");
        QCOMPARE(lines.size(), std::size_t(1));
        const PreparedItem& item = *lines.front();
        QVERIFY(item.text.size() > 20);
        QVERIFY(!item.text.contains(u'\n'));
        // Cut after a whole word, with "…": it starts at the left and reaches close to the right.
        QVERIFY2(item.text.endsWith(u'…'), qPrintable(item.text));
        const QString words = item.text.chopped(1);
        QVERIFY(title.startsWith(words));
        QCOMPARE(title.at(words.size()), u' ');
        QCOMPARE(int(item.alignment & Qt::AlignHorizontal_Mask), int(Qt::AlignLeft));
        const QString oneWordMore = title.left(title.indexOf(u' ', words.size() + 1)) + u'…';
        QVERIFY(Report::cutToWidth(oneWordMore, item.font, 186) != oneWordMore);
        QCOMPARE(Report::cutToWidth(item.text, item.font, 186), item.text);
        QCOMPARE(item.clip, item.rect);
    }

    // A card's text too long for its box ends with the last word that fits and "…", never inside a
    // word, and without the comma or hyphen that stood after that word; a single word too long for the
    // box is cut inside it, still with "…". A text that fits prints whole.
    void longCardTextEndsAtAWord_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("object");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed"); // empty: a single word cut inside
        const QString longWord(150, u'x');
        QTest::newRow("words, then one too long") << int(TScheda::Abiti) << u"txtAbiti"_s << 91.0
                                                  << u"Abito lungo "_s + longWord << u"Abito lungo…"_s;
        QTest::newRow("a comma after the last word")
            << int(TScheda::Location) << u"txtLocation"_s << 91.0 << u"Milano, "_s + longWord << u"Milano…"_s;
        QTest::newRow("a hyphen after the last word")
            << int(TScheda::Accessori) << u"txtAccessori"_s << 91.0 << u"Dolce-"_s + longWord << u"Dolce…"_s;
        QTest::newRow("the title") << int(TScheda::Titolo) << u"txtTitolo"_s << 186.0
                                   << u"Ritratto "_s + longWord << u"Ritratto…"_s;
        QTest::newRow("the description, wide box")
            << int(TScheda::Descrizione) << u"txtDescrizione"_s << 185.9
            << u"Primo piano "_s + longWord + longWord << u"Primo piano…"_s;
        QTest::newRow("one word too long")
            << int(TScheda::Note) << u"txtNote"_s << 185.9 << longWord + longWord << QString();
        QTest::newRow("fits") << int(TScheda::Note) << u"txtNote"_s << 185.9
                              << u"Da ripetere con luce piena, Milano"_s
                              << u"Da ripetere con luce piena, Milano"_s;
    }
    void longCardTextEndsAtAWord() {
        QFETCH(int, field);
        QFETCH(QString, object);
        QFETCH(qreal, width);
        QFETCH(QString, text);
        QFETCH(QString, printed);
        CardPage::Values values = sampleCard();
        values.texts[std::size_t(field)] = text;
        const Report::PreparedPage page = preparedCard(values);
        const auto lines = page.textLines(object);
        QCOMPARE(lines.size(), std::size_t(1));
        const PreparedItem& item = *lines.front();
        if (printed.isEmpty()) {
            QVERIFY2(item.text.size() > 20 && item.text.endsWith(u'…'), qPrintable(item.text));
            QVERIFY(text.startsWith(item.text.chopped(1)));
            const QString oneMore = item.text.chopped(1) + u"x…"_s;
            QVERIFY(Report::cutToWidth(oneMore, item.font, width) != oneMore);
        } else {
            QCOMPARE(item.text, printed);
        }
        QCOMPARE(Report::cutToWidth(item.text, item.font, width), item.text); // fits its box
        // The caption above it stays as it is.
        QVERIFY(page.find(u"Memo5"));
        QCOMPARE(page.find(u"Memo5")->text, u"ABITI"_s);
    }

    void bracketsPrintAsTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("date expression") << u"[DATE]"_s;
        QTest::newRow("field name") << u"Scatto [Titolo] n. [1]"_s;
        QTest::newRow("unbalanced") << u"a [b"_s;
    }
    void bracketsPrintAsTyped() {
        QFETCH(QString, text);
        Clock::setToday(QDate(2024, 3, 7));
        CardPage::Values values = sampleCard();
        values.texts[TScheda::Titolo] = text;
        values.texts[TScheda::Note] = text;
        const Report::PreparedPage page = preparedCard(values);
        QCOMPARE(page.find(u"txtTitolo")->text, text);
        QCOMPARE(page.find(u"txtNote")->text, text);
    }

    void photoFillsItsFrame_data() {
        QTest::addColumn<QSize>("photo");
        QTest::addColumn<QRectF>("drawn"); // mm inside the printable area
        // 188 x 177 frame at (1, 16).
        QTest::newRow("tall fills the height, centred across")
            << QSize(1000, 2000) << QRectF(1 + (188 - 88.5) / 2, 16, 88.5, 177);
        QTest::newRow("wide fills the width, centred down")
            << QSize(4000, 1000) << QRectF(1, 16 + (177 - 47) / 2, 188, 47);
        QTest::newRow("small picture is enlarged") << QSize(20, 20) << QRectF(1 + 5.5, 16, 177, 177);
        QTest::newRow("the frame's own shape") << QSize(188, 177) << QRectF(1, 16, 188, 177);
    }
    void photoFillsItsFrame() {
        QFETCH(QSize, photo);
        QFETCH(QRectF, drawn);
        CardPage::Values values = sampleCard();
        values.photo = solid(photo, Qt::darkGreen);
        const auto page = preparedCard(values); // kept alive: the item points into it
        const PreparedItem* item = page.find(u"imgLogo", PreparedItem::Kind::Picture);
        QVERIFY(item);
        QVERIFY2(nearRect(item->rect, drawn.translated(kMargin, kMargin)),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(item->rect.left())
                                .arg(item->rect.top())
                                .arg(item->rect.width())
                                .arg(item->rect.height())));
        QCOMPARE(item->picture.size(), photo);
    }

    void missingObjectsAreErrors() {
        Report::ReportTemplate page = CardPage::makeTemplate();
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, page.textObject(u"txtInesistente"));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, page.textObject(u"imgLogo"));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, page.pictureObject(u"txtTitolo"));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, page.band(u"MasterData"));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, page.page(2));
        QVERIFY(!page.findObject(u"txtInesistente"));
        try {
            page.textObject(u"txtInesistente");
        } catch (const Report::ReportError& error) {
            QVERIFY(error.text().contains(u"txtInesistente"_s));
        }
        // A template without one of the card's objects cannot be filled.
        page.page(1).objects.erase(page.page(1).objects.begin());
        QVERIFY_THROWS_EXCEPTION(Report::ReportError, CardPage::fill(page, sampleCard()));
    }

    // --- Bands -------------------------------------------------------------------------------------
    void dataBandSplitsAcrossSheets_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("sheets");
        QTest::newRow("no hits") << 0 << 1;
        QTest::newRow("one line") << 1 << 1;
        QTest::newRow("120 lines") << 120 << 3;
    }
    void dataBandSplitsAcrossSheets() {
        QFETCH(int, lines);
        QFETCH(int, sheets);
        Clock::setToday(QDate(2024, 3, 7));
        const Report::PreparedReport prepared = Report::prepare(summary(lines));
        QCOMPARE(int(prepared.pages.size()), sheets);
        const qreal bottom = 210 - kMargin;
        const qreal pitch = Report::fromUnits(12.822);

        // The title on the first sheet only, at the top of its printable area.
        QVERIFY(prepared.pages.front().find(u"txtTitolo"));
        QVERIFY(
            near(prepared.pages.front().find(u"txtTitolo", PreparedItem::Kind::Rectangle)->rect.top(), 11));
        for (std::size_t s = 1; s < prepared.pages.size(); ++s)
            QVERIFY(!prepared.pages[s].find(u"txtTitolo"));

        // Every line once, in order, whole on one sheet, each sheet continuing at its top.
        int expected = 1;
        qreal lastBottom = kMargin + 8;
        for (std::size_t s = 0; s < prepared.pages.size(); ++s) {
            QCOMPARE(prepared.pages[s].orientation, QPageLayout::Landscape);
            const auto onSheet = prepared.pages[s].textLines(u"txtRiepilogo");
            for (std::size_t i = 0; i < onSheet.size(); ++i) {
                const PreparedItem* line = onSheet[i];
                QCOMPARE(line->text, u"%1 Scatto [%2]"_s.arg(expected, 4, 10, QChar(u'0')).arg(expected));
                QVERIFY(near(line->rect.height(), pitch));
                QVERIFY(line->rect.bottom() <= bottom + 1e-6);
                if (s > 0 && i == 0)
                    QVERIFY(near(line->rect.top(), kMargin));
                lastBottom = line->rect.bottom();
                ++expected;
            }
        }
        QCOMPARE(expected, lines + 1);

        // The footer once, after the band's last line and its 10 units, with the date of printing.
        for (std::size_t s = 0; s + 1 < prepared.pages.size(); ++s)
            QVERIFY(!prepared.pages[s].find(u"txtPagina"));
        const PreparedItem* footer = prepared.pages.back().find(u"txtPagina");
        QVERIFY(footer);
        QCOMPARE(footer->text, u"Stampa eseguita in data "_s + ProcessFormats::dateText(QDate(2024, 3, 7)));
        QVERIFY(QRegularExpression(u"^Stampa eseguita in data 07.03.2024$"_s).match(footer->text).hasMatch());
        const qreal footerTop = footer->rect.top() - 2;
        QVERIFY2(near(footerTop, lastBottom + Report::fromUnits(10)) || lines == 0,
                 qPrintable(u"%1 vs %2"_s.arg(footerTop).arg(lastBottom)));
        if (lines == 0)
            QVERIFY(near(footerTop, kMargin + 8 + Report::fromUnits(10)));
    }

    // Where a long summary breaks: for each sheet, the number of list lines it prints, "+" on the sheet
    // that closes with the footer. A band that ends right at a sheet's foot puts its last 10 units, and
    // the footer after them, on a sheet of their own.
    void longSummaryPageBreaks_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("sheets");
        QTest::newRow("first sheet just full") << 53 << u"53 0+"_s;
        QTest::newRow("one line over") << 54 << u"53 1+"_s;
        QTest::newRow("second sheet just full") << 109 << u"53 56 0+"_s;
        QTest::newRow("1000 lines") << 1000 << u"53 56 56 56 56 56 56 56 56 56 56 56 56 56 56 56 56 51+"_s;
    }
    void longSummaryPageBreaks() {
        QFETCH(int, lines);
        QFETCH(QString, sheets);
        const Report::PreparedReport prepared = Report::prepare(summary(lines));
        QStringList described;
        int next = 1;
        for (const Report::PreparedPage& page : prepared.pages) {
            const auto onSheet = page.textLines(u"txtRiepilogo");
            for (const PreparedItem* line : onSheet) {
                QCOMPARE(line->line, next - 1);
                QCOMPARE(line->text, u"%1 Scatto [%2]"_s.arg(next, 4, 10, QChar(u'0')).arg(next));
                ++next;
            }
            described << QString::number(onSheet.size()) + (page.find(u"txtPagina") ? u"+"_s : QString());
        }
        QCOMPARE(next, lines + 1);
        QCOMPARE(described.join(u' '), sheets);
    }

    void longListLineIsCut() {
        Report::ReportTemplate report = summary(1);
        Report::ReportObject& text = report.textObject(u"txtRiepilogo");
        const QString line = u"X"_s.repeated(400);
        text.clearLines();
        text.addLine(line);
        const Report::PreparedReport prepared = Report::prepare(report);
        const QString printed = prepared.pages.front().find(u"txtRiepilogo")->text;
        QVERIFY(printed.size() < line.size());
        QVERIFY(printed.size() > 100);
        QCOMPARE(Report::cutToWidth(printed, text.font, 273), printed);
        QVERIFY(Report::cutToWidth(printed + u'X', text.font, 273) != printed + u'X');
    }

    // The cut keeps the longest beginning that fits, in a fixed-pitch and in a proportional font, for
    // a text far longer than the width and for one just over it.
    void cutKeepsTheLongestBeginningThatFits_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<QString>("text");
        const QString sentence = u"Ritratto al tramonto, WWW iii mmm lll: luce radente & ombre lunghe "_s;
        for (const QString& family : {u"Courier New"_s, u"Verdana"_s}) {
            QTest::addRow("%s, far too long", qPrintable(family))
                << family << qreal(40) << sentence.repeated(6);
            QTest::addRow("%s, just over", qPrintable(family)) << family << qreal(60) << sentence;
            QTest::addRow("%s, narrow", qPrintable(family)) << family << qreal(1) << sentence;
        }
    }
    void cutKeepsTheLongestBeginningThatFits() {
        QFETCH(QString, family);
        QFETCH(qreal, width);
        QFETCH(QString, text);
        const QFont font = Report::makeFont(family, 8);
        const QString cut = Report::cutToWidth(text, font, width);
        QVERIFY(cut.size() < text.size());
        QVERIFY(text.startsWith(cut));
        // What is kept is kept whole, and one more character would not fit.
        QCOMPARE(Report::cutToWidth(cut, font, width), cut);
        const QString longer = text.left(cut.size() + 1);
        QVERIFY(Report::cutToWidth(longer, font, width) != longer);
    }

    // The list's fixed-pitch lines are cut where measuring every beginning whole, shaped as a printer
    // shapes it, at 1200 dots per inch, would cut them.
    void fixedPitchCutMatchesTheShapedMeasure_data() {
        QTest::addColumn<QString>("text");
        const QString accented = u"Città d'arte – caffè € 10 «ÀÉÎÕÜ» ß ñ ¿? ‰ ™ ‘x’ … Œuvre (1/2) \\\\ "_s;
        QTest::newRow("accented") << accented.repeated(4);
        QTest::newRow("plain") << u"0001 Scatto [1]   Data: 03/12/2024   "_s.repeated(8);
    }
    void fixedPitchCutMatchesTheShapedMeasure() {
        QFETCH(QString, text);
        const QFont font = Report::makeFont(u"Courier New"_s, 8);
        QImage device(1, 1, QImage::Format_Mono);
        device.setDotsPerMeterX(qRound(1200 / 0.0254));
        device.setDotsPerMeterY(qRound(1200 / 0.0254));
        const QFontMetricsF metrics(font, &device);
        const auto shapedCut = [&](qreal width) {
            qsizetype fits = 0;
            while (fits < text.size() &&
                   metrics.horizontalAdvance(text.left(fits + 1)) <= width * 1200 / 25.4)
                ++fits;
            return text.left(fits);
        };
        // Round widths, and the widths of beginnings exactly and a hair less.
        QList<qreal> widths{3, 20, 57.3, 100, 273};
        for (qsizetype length : {1, 37, 120}) {
            const qreal exact = metrics.horizontalAdvance(text.left(length)) * 25.4 / 1200;
            widths << exact << exact - 1e-4;
        }
        for (qreal width : widths)
            QCOMPARE(Report::cutToWidth(text, font, width), shapedCut(width));
    }

    // --- Painting ----------------------------------------------------------------------------------
    void paintsOnAnImage() {
        const Report::PreparedPage page = preparedCard(sampleCard());
        const qreal dotsPerMm = 4; // about 100 dpi
        QImage sheet(QSizeF(210 * dotsPerMm, 297 * dotsPerMm).toSize(), QImage::Format_RGB32);
        sheet.setDotsPerMeterX(4000);
        sheet.setDotsPerMeterY(4000);
        sheet.fill(Qt::white);
        {
            QPainter painter(&sheet);
            Report::paintPage(painter, page, dotsPerMm);
        }
        const auto at = [&](qreal x, qreal y) {
            return sheet.pixelColor(QPointF(x, y).toPoint() * dotsPerMm);
        };
        QCOMPARE(at(kMargin + 1.5, kMargin + 12), QColor(65, 105, 225)); // the title bar
        QCOMPARE(at(kMargin + 95, kMargin + 16 + 88), QColor(Qt::red));  // the photo's middle
        QCOMPARE(at(kMargin + 3, kMargin + 16 + 88), QColor(Qt::white)); // beside a tall photo
        QCOMPARE(at(kMargin + 150, kMargin + 203), QColor(Qt::white));   // inside a box
        QCOMPARE(at(5, 5), QColor(Qt::white));                           // the margin
    }

    void pdfHoldsTheCard() {
        const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
        QVERIFY2(!tool.isEmpty(), "pdftotext (poppler-utils) is needed to read the PDF back");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"scheda.pdf"_s);
        Report::ReportTemplate page = CardPage::makeTemplate();
        CardPage::Values values = sampleCard();
        values.texts[TScheda::Note] = u"Nota [DATE] con parentesi"_s;
        CardPage::fill(page, values);
        Report::writePdf(Report::prepare(page), pdf);
        QVERIFY_SOUND_PDF(pdf);

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        const QString text = pdfText(pdf);
        for (const QString& expected :
             {u"Giulia"_s, u"Data scatto: 05/03/2024"_s, u"Ritratto al tramonto"_s, u"DESCRIZIONE"_s,
              u"Primo piano controluce"_s, u"FOTOGRAFO"_s, u"Marco Rossi"_s, u"GIUDIZIO"_s, u"Ottimo"_s,
              u"NOTE"_s, u"Nota [DATE] con parentesi"_s})
            QVERIFY2(text.contains(expected), qPrintable(expected + u" not in:\n"_s + text));
        QVERIFY(!text.contains(u"TITOLO FOTO"_s));
    }

    // The program writes its PDF files itself; a page must look as a painter draws it on a printer:
    // the same texts at the same places in the same faces, the same bars, frames and pictures.
    void pdfLooksAsPainted_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("card") << 0;
        QTest::newRow("summary of two sheets") << 1;
        QTest::newRow("a CFF face, faces emboldened and slanted") << 2;
        QTest::newRow("characters no installed font has, drawn as boxes") << 3;
        QTest::newRow("contact sheet: thumbnails, a card without photo, captions cut") << 4;
    }
    void pdfLooksAsPainted() {
        QFETCH(int, kind);
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty(),
                 "pdftoppm (poppler-utils) is needed");
        Report::PreparedReport prepared;
        if (kind == 0) {
            CardPage::Values values = sampleCard();
            values.texts[TScheda::Titolo] = u"Profilo fiero: caffè, €, «virgolette» (parentesi) \\ barra"_s;
            values.texts[TScheda::Note] = u"Œuvre — ÀÉÎÕÜ ß ñ ¿? ‰ ™ ‘citazione’ … fine"_s;
            Report::ReportTemplate page = CardPage::makeTemplate();
            CardPage::fill(page, values);
            prepared = Report::prepare(page);
        } else if (kind == 2) {
            // C059 has CFF outlines (it goes into the file as a CFF font); the TeX Gyre face of DejaVu
            // has neither a bold nor an italic face (they are made from the regular one).
            Report::ReportTemplate report(u"Facce"_s);
            Report::ReportPage page;
            const auto add = [&](const QString& family, bool bold, bool italic, qreal top) {
                Report::ReportObject text;
                text.name = u"txt%1"_s.arg(page.objects.size());
                text.geometry = {5, top, 180, 12};
                text.font = Report::makeFont(family, 16, bold);
                text.font.setItalic(italic);
                text.setText(u"Ritratto al tramonto, caffè e città"_s);
                page.objects.push_back(text);
            };
            for (const QString& family : {u"C059"_s, u"DejaVu Math TeX Gyre"_s})
                QVERIFY2(QRawFont::fromFont(Report::makeFont(family, 16)).familyName() == family,
                         qPrintable(family + u" is needed (fonts-urw-base35, fonts-dejavu-extra)"_s));
            add(u"C059"_s, false, false, 10);
            add(u"DejaVu Math TeX Gyre"_s, true, false, 30);
            add(u"DejaVu Math TeX Gyre"_s, false, true, 50);
            report.pages().push_back(page);
            prepared = Report::prepare(report);
        } else if (kind == 4) {
            std::vector<BookPdf::SheetCard> cards;
            const QSize box = BookPdf::thumbnailDots(4);
            cards.push_back({1, u"Ritratto al tramonto"_s, u"05/03/2024"_s,
                             PrintPhoto::fromBytes(jpeg({1200, 900}, Qt::darkRed), box)});
            cards.push_back({2, u"Un titolo tanto lungo da non stare sotto la miniatura"_s, QString(), {}});
            cards.push_back(
                {3, u"Piccola"_s, u"06/03/2024"_s, PrintPhoto::fromBytes(jpeg({90, 120}, Qt::blue), box)});
            for (int n = 4; n <= 9; ++n)
                cards.push_back({n, u"Scatto %1"_s.arg(n), u"07/03/2024"_s,
                                 PrintPhoto::fromBytes(jpeg({400, 600}, Qt::darkGreen), box)});
            prepared.pages.push_back(BookPdf::contactSheetPage(u"Giulia"_s, 4, 1, 3, cards));
            QCOMPARE(prepared.pages.back().find(u"txtScheda2")->text, u"Scheda 2"_s);
            const auto title = prepared.pages.back().textLines(u"txtScheda2");
            QVERIFY(title.size() == 3 && title[1]->text.endsWith(u'…'));
        } else if (kind == 3) {
            // No installed font has the Thaana letters: Qt's stand-in gives a box for each, in a line
            // of the summary's list and in a bold line.
            Report::ReportTemplate report = summary(3);
            report.textObject(u"txtRiepilogo"_s).lines[1] = u"Ritratto \u0780\u0781\u0782 al tramonto"_s;
            Report::ReportObject text;
            text.name = u"txtRiga"_s;
            text.geometry = {5, 150, 180, 12};
            text.font = Report::makeFont(u"Arial"_s, 16, true);
            text.setText(u"Citt\u00E0 \u0780\u0781 caff\u00E8"_s);
            report.pages().back().objects.push_back(text);
            prepared = Report::prepare(report);
        } else {
            Report::ReportTemplate report = summary(100);
            report.textObject(u"txtRiepilogo").lines[3] = QString(300, u'W'); // cut at the sheet's edge
            report.textObject(u"txtRiepilogo").lines[5] = u"Città d'arte (Firenze) – \\ 5 €"_s;
            prepared = Report::prepare(report);
        }
        looksAsPainted(prepared);
    }

    // Pictures given as JPEG data: grey and colour go into the file byte for byte, CMYK decoded (its
    // inverted values as Adobe's programs write them) as colour; a document of many pages is written
    // one page at a time.
    void pdfOfJpegPictures_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("components");
        QTest::addColumn<bool>("verbatim");
        QTest::addColumn<QString>("colourSpace");
        QImage grey(40, 30, QImage::Format_Grayscale8);
        grey.fill(QColor(90, 90, 90));
        QByteArray greyData;
        QBuffer buffer(&greyData);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "jpeg").write(grey);
        QTest::newRow("grey") << greyData << 1 << true << u"gray"_s;
        QTest::newRow("colour") << jpeg({40, 30}, Qt::red) << 3 << true << u"rgb"_s;
        QTest::newRow("CMYK") << readFile(QStringLiteral(LUMIVERA_FIXTURES "/photo-cmyk-red.jpg")) << 4
                              << false << u"rgb"_s;
    }
    void pdfOfJpegPictures() {
        QFETCH(QByteArray, data);
        QFETCH(int, components);
        QFETCH(bool, verbatim);
        QFETCH(QString, colourSpace);
        QVERIFY(!data.isEmpty());
        const QSize size = QImage::fromData(data).size();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"pagine.pdf"_s);
        constexpr int kPages = 200;
        Report::writePdfFile(pdf, u"Pagine"_s, [&](Report::PdfDocument& document) {
            for (int n = 1; n <= kPages; ++n) {
                Report::PreparedPage page;
                Report::PreparedItem picture;
                picture.kind = Report::PreparedItem::Kind::Picture;
                picture.rect = picture.clip = QRectF(20, 20, 80, 60);
                picture.jpeg = {data, size, components};
                page.items.push_back(picture);
                Report::PreparedItem text;
                text.rect = text.clip = QRectF(20, 100, 100, 10);
                text.font = Report::makeFont(u"Arial"_s, 10);
                text.text = u"Pagina %1"_s.arg(n);
                page.items.push_back(text);
                document.addPage(page);
            }
        });
        QVERIFY_SOUND_PDF(pdf);
        QCOMPARE(readFile(pdf).contains(data), verbatim);
        QProcess images;
        images.start(u"pdfimages"_s, {u"-list"_s, pdf});
        QVERIFY(images.waitForFinished(60000));
        const QStringList rows =
            QString::fromUtf8(images.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(rows.size(), kPages);
        const QStringList first = rows.first().simplified().split(u' ');
        QCOMPARE(first.value(3).toInt(), size.width());
        QCOMPARE(first.value(4).toInt(), size.height());
        QCOMPARE(first.value(5), colourSpace);
        const QStringList sheets = pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(sheets.size(), kPages);
        QVERIFY(sheets.last().contains(u"Pagina %1"_s.arg(kPages)));
    }

    // One wording for a PDF file that cannot be written, with the reason when the system gave one.
    void cannotWriteMessage() {
        QCOMPARE(Report::cannotWriteMessage(u"/tmp/a.pdf"_s, u"Disco pieno"_s),
                 u"Non è stato possibile scrivere il file \"/tmp/a.pdf\": Disco pieno"_s);
        QCOMPARE(Report::cannotWriteMessage(u"/tmp/a.pdf"_s),
                 u"Non è stato possibile scrivere il file \"/tmp/a.pdf\"."_s);
    }

    void pdfOfSeveralSheets() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"riepilogo.pdf"_s);
        Clock::setToday(QDate(2024, 3, 7));
        Report::writePdf(Report::prepare(summary(120)), pdf);
        QVERIFY_SOUND_PDF(pdf);
        const QString text = pdfText(pdf);
        QCOMPARE(text.count(u'\f'), 3); // one form feed after each sheet
        QVERIFY(text.contains(u"0120 Scatto [120]"_s));
        QVERIFY(text.contains(u"Stampa eseguita in data "_s + ProcessFormats::dateText(QDate(2024, 3, 7))));
    }

    // A print to a file of some sheets, some of them more than once, in the order asked; the faces go
    // into the file cut down to what it prints.
    void pdfOfChosenSheets() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"scelte.pdf"_s);
        const Report::PreparedReport prepared = Report::prepare(summary(120));
        QCOMPARE(prepared.pages.size(), std::size_t(3));
        Report::writePdf(prepared, pdf, {2, 0, 0});
        QVERIFY_SOUND_PDF(pdf);
        const QStringList sheets = pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(sheets.size(), 3);
        QVERIFY(sheets[0].contains(u"0120 Scatto [120]"_s) && !sheets[0].contains(u"0001 Scatto"_s));
        QVERIFY(sheets[1].contains(u"0001 Scatto [1]"_s) && !sheets[1].contains(u"0120 Scatto"_s));
        QCOMPARE(sheets[2], sheets[1]);

        QProcess fonts;
        fonts.start(u"pdffonts"_s, {pdf});
        QVERIFY(fonts.waitForFinished(60000));
        const QStringList rows = QString::fromUtf8(fonts.readAllStandardOutput()).split(u'\n').mid(2);
        int embedded = 0;
        for (const QString& row : rows) {
            if (row.trimmed().isEmpty())
                continue;
            QVERIFY2(row.contains(
                         QRegularExpression(u"^[A-Z]{6}\\+\\S+ +CID TrueType +Identity-H +yes +yes +yes"_s)),
                     qPrintable(row));
            ++embedded;
        }
        QCOMPARE(embedded, 2); // the list's fixed-pitch face and the bars' bold face

        QVERIFY_THROWS_EXCEPTION(Report::ReportError, Report::writePdf(prepared, pdf, {3}));
    }

    // --- Faces in the PDF file --------------------------------------------------------------------
    // The faces a report prints with go into the file cut down to the glyphs it prints: TrueType faces
    // as TrueType fonts, a face with CFF outlines as a CFF font; its text reads back, accented letters
    // (built from two glyphs in the TrueType faces) and the euro sign included.
    void pdfEmbedsTheFace_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("type"); // as pdffonts names it
        QTest::newRow("Liberation Sans, TrueType") << u"Liberation Sans"_s << u"CID TrueType"_s;
        QTest::newRow("DejaVu Sans, TrueType") << u"DejaVu Sans"_s << u"CID TrueType"_s;
        QTest::newRow("C059, CFF") << u"C059"_s << u"CID Type 0C"_s;
    }
    void pdfEmbedsTheFace() {
        QFETCH(QString, family);
        QFETCH(QString, type);
        const QFont font = Report::makeFont(family, 16);
        QVERIFY2(
            QRawFont::fromFont(font).familyName() == family,
            qPrintable(family + u" is needed (fonts-liberation2, fonts-dejavu-core, fonts-urw-base35)"_s));
        QVERIFY2(!QStandardPaths::findExecutable(u"qpdf"_s).isEmpty(), "qpdf is needed");
        const QString line = u"Perché più città: caffè, 5 € — ÀÈÉÌÒÙ àèéìòù"_s;
        const Report::PreparedReport prepared = oneLine(font, line);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"facce.pdf"_s);
        Report::writePdf(prepared, pdf);

        const QStringList rows = fontRows(pdf);
        QCOMPARE(rows.size(), 1);
        QVERIFY2(rows[0].contains(
                     QRegularExpression(u"^[A-Z]{6}\\+\\S+ +"_s + type + u" +Identity-H +yes +yes +yes"_s)),
                 qPrintable(rows[0]));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(line), qPrintable(text));
        int exitCode = -1;
        const QString check = toolOutput(u"qpdf"_s, {u"--check"_s, pdf}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(check));
        looksAsPainted(prepared);
    }

    // The cut-down face keeps the glyphs' numbers, and each glyph printed keeps its outline, also one
    // built from other glyphs (the accented letters of the TrueType faces): read back from the cut-down
    // program alone, each draws as in the whole face. The program is a fraction of the face's outlines.
    void subsetKeepsEachGlyph_data() {
        QTest::addColumn<QString>("family");
        QTest::newRow("Liberation Sans, TrueType") << u"Liberation Sans"_s;
        QTest::newRow("DejaVu Sans, TrueType") << u"DejaVu Sans"_s;
        QTest::newRow("C059, CFF") << u"C059"_s;
    }
    void subsetKeepsEachGlyph() {
        QFETCH(QString, family);
        QFont font = Report::makeFont(family, 16);
        font.setPixelSize(100);
        const QRawFont raw = QRawFont::fromFont(font);
        QVERIFY2(raw.familyName() == family, qPrintable(family + u" is needed"_s));
        Report::PdfFont face(raw);
        QVERIFY(face.embeddable());
        QCOMPARE(face.program(),
                 family == u"C059"_s ? Report::PdfFont::Program::Cff : Report::PdfFont::Program::TrueType);
        QList<quint32> glyphs;
        for (const QChar c : u"Città è più bella, 5 € À"_s) {
            const quint32 glyph = face.glyph(c.unicode());
            QVERIFY2(glyph != 0, qPrintable(QString(c)));
            face.use(glyph, QStringView(&c, 1));
            glyphs << glyph;
        }
        const QByteArray subset = face.subset();
        const qsizetype outlines = raw.fontTable("glyf").size() + raw.fontTable("CFF ").size();
        QVERIFY2(subset.size() * 5 < outlines,
                 qPrintable(u"%1 bytes cut down from %2"_s.arg(subset.size()).arg(outlines)));
        const QRawFont cut(subset, raw.pixelSize());
        QVERIFY(cut.isValid());
        for (quint32 glyph : std::as_const(glyphs)) {
            const QPainterPath expected = raw.pathForGlyph(glyph);
            const QPainterPath actual = cut.pathForGlyph(glyph);
            QVERIFY2(!expected.isEmpty() || glyph == face.glyph(u' '), qPrintable(QString::number(glyph)));
            QCOMPARE(actual.elementCount(), expected.elementCount());
            for (int e = 0; e < expected.elementCount(); ++e)
                QVERIFY(QLineF(actual.elementAt(e), expected.elementAt(e)).length() < 0.01);
        }
    }

    // A face that may not or cannot go into the file is drawn as outlines: one whose licence forbids
    // embedding, and one whose tables HarfBuzz's subsetter refuses (a "head" table without its magic
    // number, which Qt reads all the same). The file stays sound and looks as painted.
    void pdfDrawsAFaceThatCannotGoIn_data() {
        QTest::addColumn<QByteArray>("renamed");
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<int>("at");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("bytes");
        QTest::newRow("licence forbids embedding")
            << QByteArray("Lumivera Prova1") << QByteArray("OS/2") << 8 << quint32(0x0002) << 2;
        QTest::newRow("subsetter refuses the tables")
            << QByteArray("Lumivera Prova2") << QByteArray("head") << 12 << quint32(0) << 4;
    }
    void pdfDrawsAFaceThatCannotGoIn() {
        QFETCH(QByteArray, renamed);
        QFETCH(QByteArray, tag);
        QFETCH(int, at);
        QFETCH(quint32, value);
        QFETCH(int, bytes);
        const QByteArray bytesOfFont =
            alteredFont(u"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"_s,
                        "Liberation Sans", renamed, tag.constData(), at, value, bytes);
        QVERIFY2(!bytesOfFont.isEmpty(), "Liberation Sans (fonts-liberation2) is needed");
        const int id = QFontDatabase::addApplicationFontFromData(bytesOfFont);
        QVERIFY(id >= 0);
        const QString family = QString::fromLatin1(renamed);
        QVERIFY(QFontDatabase::applicationFontFamilies(id).contains(family));
        const QFont font = Report::makeFont(family, 16);
        const QRawFont raw = QRawFont::fromFont(font);
        QCOMPARE(raw.familyName(), family);
        QVERIFY(!Report::PdfFont(raw).embeddable());
        QVERIFY(Report::PdfFont(raw).subset().isEmpty());

        const QString line = u"Perché più città: caffè, 5 €"_s;
        const Report::PreparedReport prepared = oneLine(font, line);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"contorni.pdf"_s);
        Report::writePdf(prepared, pdf);
        QVERIFY2(fontRows(pdf).isEmpty(), qPrintable(fontRows(pdf).join(u'\n')));
        QVERIFY(!pdfText(pdf).contains(u"città"_s));
        int exitCode = -1;
        const QString check = toolOutput(u"qpdf"_s, {u"--check"_s, pdf}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(check));
        looksAsPainted(prepared);
        QFontDatabase::removeApplicationFont(id);
    }

    void pdfToAnUnwritablePlaceFails() {
        QTemporaryDir dir;
        const Report::PreparedReport prepared = Report::prepare(summary(1));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError,
                                 Report::writePdf(prepared, dir.filePath(u"manca/riepilogo.pdf"_s)));
        QVERIFY_THROWS_EXCEPTION(Report::ReportError,
                                 Report::writePdf(Report::PreparedReport{}, dir.filePath(u"x.pdf"_s)));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
