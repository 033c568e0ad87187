#include "report/core/ReportLayout.h"

#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "report/core/TextMeasure.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace Report {

namespace {

// Lengths are compared with this tolerance, so that sums of decimal millimetres that land on an edge
// count as inside it.
constexpr qreal kEpsilon = 1e-6;

QString expand(const QString& text, bool expandsDate) {
    if (!expandsDate)
        return text;
    QString expanded = text;
    return expanded.replace(u"[DATE]"_s, ProcessFormats::dateText(Clock::today()));
}

QRectF fitted(QSizeF picture, const QRectF& frame) {
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    const qreal scale = std::min(frame.width() / picture.width(), frame.height() / picture.height());
    QRectF target(QPointF(), picture * scale);
    target.moveCenter(frame.center());
    return target;
}

// Cuts texts in one font to a width; the font's measures are looked up once for all the lines.
class Cutter {
public:
    explicit Cutter(CharacterWidths& widths)
        : m_widths(widths)
        , m_metrics(widths.metrics()) {}

    // The longest beginning of the text that fits the width (mm); text is never wrapped.
    QString cut(const QString& text, qreal width) const {
        const qreal limit = width * kMeasureDpi / 25.4;
        if (const std::optional<qreal> whole = m_widths.width(text)) {
            if (*whole <= limit)
                return text;
            // Plain characters of a fixed-pitch font: the beginnings' widths add up one by one.
            qreal sum = 0;
            qsizetype length = 0;
            while (length < text.size()) {
                sum += m_widths.advance(text[length].unicode());
                if (sum > limit)
                    break;
                ++length;
            }
            return text.left(length);
        }
        return cutShaped(text, limit);
    }

    // The text when it fits; otherwise the words that fit before a closing "…". The cut lies after the
    // last whole word of the longest beginning that leaves room for the "…", where a line could break
    // (after a blank or a hyphen); the blanks and the punctuation that would stand before the "…" go.
    QString cutAtWord(const QString& text, qreal width) const {
        const qreal limit = width * kMeasureDpi / 25.4;
        if (measure(text) <= limit)
            return text;
        const QString ellipsis(QChar(0x2026));
        const qreal room = width - dotsToMm(measure(ellipsis));
        if (room <= 0)
            return cut(text, width); // not even the "…" fits
        QString head = cut(text, room);
        const qsizetype end = wordEnd(text, head.size());
        if (end > 0)
            head.truncate(end);
        while (!head.isEmpty() && isDroppedBeforeEllipsis(head.back()))
            head.chop(1);
        if (head.isEmpty()) // a first word longer than the width: cut inside it
            head = cut(text, room);
        // Measured whole, the "…" may sit closer to the last letter than measured alone, never farther;
        // should the two together still be too wide, a letter more goes.
        while (!head.isEmpty() && measure(head + ellipsis) > limit)
            head.chop(1);
        return head + ellipsis;
    }

private:
    qreal measure(const QString& text) const {
        if (const std::optional<qreal> quick = m_widths.width(text))
            return *quick;
        return m_metrics.horizontalAdvance(text);
    }

    // Where the words that fit in the first `length` characters end: `length` itself when a word ends
    // there, otherwise the last place before it where a line could break; 0 when there is none.
    static qsizetype wordEnd(const QString& text, qsizetype length) {
        if (length <= 0 || length >= text.size())
            return length;
        if (text[length].isSpace())
            return length;
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        breaks.setPosition(length);
        if (breaks.isAtBoundary())
            return length;
        const qsizetype previous = breaks.toPreviousBoundary();
        return previous > 0 ? previous : 0;
    }

    static bool isDroppedBeforeEllipsis(QChar c) {
        return c.isSpace() || c == u',' || c == u';' || c == u':' || c == u'-' || c == QChar(0x2013) ||
               c == QChar(0x2014);
    }

    // A beginning is longer than another only by what follows it, so the widths of the beginnings grow
    // with their length: the cut lies where one beginning fits and the next one does not. It is looked
    // for first where the text's average character width puts it, so a long line is measured three or
    // four times rather than at every step of a halving.
    QString cutShaped(const QString& text, qreal limit) const {
        const qreal whole = m_metrics.horizontalAdvance(text);
        if (whole <= limit)
            return text;
        const auto fits = [&](qsizetype length) {
            return m_metrics.horizontalAdvance(text.left(length)) <= limit;
        };
        // The cut lies in [low, high]: the beginning of `low` characters fits, the one of `high` + 1
        // does not.
        qsizetype low = 0;
        qsizetype high = text.size() - 1;
        const qsizetype guess =
            std::clamp<qsizetype>(qsizetype(qreal(text.size()) * std::max<qreal>(limit, 0) / whole), 0, high);
        constexpr int kSteps = 4;
        qsizetype at = guess;
        for (int step = 0; step < kSteps && low < high; ++step) {
            if (fits(at)) {
                low = at;
                if (!fits(at + 1)) {
                    high = at;
                    break;
                }
                low = at + 1;
                at = std::min(at + 2, high);
            } else {
                high = at - 1;
                at = std::max(at - 1, low);
            }
        }
        // Far from the guess: the halving takes over between what is known.
        while (low < high) {
            const qsizetype mid = (low + high + 1) / 2;
            if (fits(mid))
                low = mid;
            else
                high = mid - 1;
        }
        // Never ending inside a surrogate pair.
        if (low > 0 && low < text.size() && text[low - 1].isHighSurrogate())
            --low;
        return text.left(low);
    }

    CharacterWidths& m_widths;
    const QFontMetricsF& m_metrics;
};

// The measures of every font a preparation uses, taken once for all its sheets.
class FontWidths {
public:
    CharacterWidths& of(const QFont& font) {
        for (auto& [known, widths] : m_fonts) {
            if (known == font)
                return *widths;
        }
        m_fonts.emplace_back(font, std::make_unique<CharacterWidths>(font));
        return *m_fonts.back().second;
    }

private:
    std::vector<std::pair<QFont, std::unique_ptr<CharacterWidths>>> m_fonts;
};

// The rectangles of a text object's lines that lie within the object, one under the other, as a block
// placed at the top, middle or bottom of the object as its alignment says. Each rectangle is worked
// out when asked for, so a sheet looks only at the lines it prints, however many the object holds.
class LineRects {
public:
    LineRects(const ReportObject& object, QPointF origin)
        : m_area(object.geometry.translated(origin))
        , m_lines(object.lines.size())
        , m_pitch(object.lineSpacing.value_or(m_lines > 0 ? lineSpacingOf(object.font) : 0)) {
        if (m_lines == 0)
            return;
        const qreal block = m_pitch * qreal(m_lines);
        m_y = m_area.top();
        if (block < m_area.height()) {
            if (object.alignment & Qt::AlignVCenter)
                m_y += (m_area.height() - block) / 2;
            else if (object.alignment & Qt::AlignBottom)
                m_y += m_area.height() - block;
        }
        // A line that would stand out below the object is cut off with the rest of it; a single line
        // taller than its object is still printed, centred on it.
        m_count = m_lines == 1 ? 1 : firstWhere(m_lines, [this](const QRectF& line) {
            return line.bottom() > m_area.bottom() + kEpsilon;
        });
    }

    qsizetype count() const { return m_count; }

    QRectF at(qsizetype i) const {
        if (m_lines == 1)
            return m_area;
        return QRectF(m_area.left(), m_y + m_pitch * qreal(i), m_area.width(), m_pitch);
    }

    // The first of the object's lines that meets a test which, once met, holds for every line below;
    // count() when none does.
    template <typename Test> qsizetype firstWhere(Test test) const { return firstWhere(m_count, test); }

private:
    template <typename Test> qsizetype firstWhere(qsizetype end, Test test) const {
        qsizetype low = 0;
        qsizetype high = end;
        while (low < high) {
            const qsizetype mid = low + (high - low) / 2;
            if (test(at(mid)))
                high = mid;
            else
                low = mid + 1;
        }
        return low;
    }

    QRectF m_area;
    qsizetype m_lines = 0;
    qreal m_pitch = 0;
    qreal m_y = 0;
    qsizetype m_count = 0;
};

// A sheet being filled: where its next band goes, measured from the top of its printable area.
class Layout {
public:
    explicit Layout(PreparedReport& report)
        : m_report(report) {}

    void run(const ReportPage& page) {
        m_page = &page;
        m_area = page.printableArea();
        newSheet();
        for (const Band& band : page.bands) {
            switch (band.kind) {
            case Band::Kind::ReportTitle:
                placeWhole(band);
                break;
            case Band::Kind::MasterData:
                placeData(band);
                break;
            case Band::Kind::Footer:
                placeWhole(band);
                break;
            }
        }
    }

private:
    void newSheet() {
        PreparedPage sheet;
        sheet.pageSize = m_page->pageSize;
        sheet.orientation = m_page->orientation;
        sheet.paperSize = m_page->paperSize();
        m_report.pages.push_back(std::move(sheet));
        m_y = 0;
        for (const ReportObject& object : m_page->objects)
            place(object, m_area.topLeft(), 0, std::numeric_limits<qreal>::max());
    }

    PreparedPage& sheet() { return m_report.pages.back(); }
    qreal room() const { return m_area.height() - m_y; }

    // A band that is never split: on the next sheet when it does not fit in what is left.
    void placeWhole(const Band& band) {
        if (band.height > room() + kEpsilon && m_y > kEpsilon)
            newSheet();
        placeSlice(band, 0, band.height);
        m_y += band.height;
    }

    void placeData(const Band& band) {
        qreal offset = 0;
        while (band.height - offset > room() + kEpsilon) {
            if (!band.allowSplit) {
                if (m_y > kEpsilon) {
                    newSheet();
                    continue;
                }
                break; // taller than a whole sheet: printed as far as the sheet goes
            }
            const qreal cut = cutPoint(band, offset, offset + room());
            if (cut <= offset + kEpsilon) {
                if (m_y > kEpsilon) {
                    newSheet(); // not even one line fits in what is left
                    continue;
                }
                // A single line taller than a whole sheet: cut it at the sheet's edge.
                placeSlice(band, offset, offset + room());
                offset += room();
                newSheet();
                continue;
            }
            placeSlice(band, offset, cut);
            offset = cut;
            newSheet();
        }
        placeSlice(band, offset, band.height);
        m_y += band.height - offset;
    }

    // Where a band is cut to end a sheet at most at `limit`: above the first line of text that would
    // otherwise be split between two sheets. Only the lines around the limit are looked at, so cutting
    // a long band sheet after sheet stays linear in its lines.
    qreal cutPoint(const Band& band, qreal from, qreal limit) const {
        qreal cut = limit;
        for (const ReportObject& object : band.objects) {
            if (object.kind != ReportObject::Kind::Text)
                continue;
            const LineRects lines(object, QPointF());
            // Lines lie one under the other, so neither the tops nor the bottoms ever go back up: the
            // first line that can cross the cut is the first one below both `from` and the cut.
            qsizetype i = std::max(
                lines.firstWhere([&](const QRectF& line) { return line.top() >= from - kEpsilon; }),
                lines.firstWhere([&](const QRectF& line) { return line.bottom() > cut + kEpsilon; }));
            for (; i < lines.count(); ++i) {
                const QRectF line = lines.at(i);
                if (line.top() >= cut - kEpsilon)
                    break; // this line and every one after it start below the cut
                if (line.bottom() > cut + kEpsilon && line.top() >= from - kEpsilon)
                    cut = line.top();
            }
        }
        return cut;
    }

    // The part of a band from `from` to `to` (mm from its top) at the current place on the sheet.
    void placeSlice(const Band& band, qreal from, qreal to) {
        const QPointF origin(m_area.left(), m_area.top() + m_y - from);
        for (const ReportObject& object : band.objects)
            place(object, origin, origin.y() + from, origin.y() + to);
    }

    // Puts the part of an object that lies between two heights of the sheet onto it.
    void place(const ReportObject& object, QPointF origin, qreal top, qreal bottom) {
        const QRectF area = object.geometry.translated(origin);
        const QRectF clip = area & QRectF(area.left(), top, area.width(), bottom - top);
        if (clip.isEmpty() && !area.isEmpty())
            return;
        PreparedItem shape;
        shape.objectName = object.name;
        shape.rect = area;
        shape.clip = clip;
        shape.fill = object.fill;
        shape.frameColour = object.frameColour;
        shape.frameWidth = object.frameWidth;
        switch (object.kind) {
        case ReportObject::Kind::Rectangle:
            shape.kind = PreparedItem::Kind::Rectangle;
            sheet().items.push_back(shape);
            break;
        case ReportObject::Kind::Picture:
            if (object.fill || object.frameColour) {
                shape.kind = PreparedItem::Kind::Rectangle;
                sheet().items.push_back(shape);
            }
            if (!object.picture.isNull() || !object.jpeg.isNull()) {
                shape.kind = PreparedItem::Kind::Picture;
                shape.rect = fitted(object.picture.isNull() ? object.jpeg.size : object.picture.size(), area);
                shape.picture = object.picture;
                shape.jpeg = object.jpeg;
                shape.fill.reset();
                shape.frameColour.reset();
                sheet().items.push_back(shape);
            }
            break;
        case ReportObject::Kind::Text:
            if (object.fill || object.frameColour) {
                shape.kind = PreparedItem::Kind::Rectangle;
                sheet().items.push_back(shape);
            }
            placeLines(object, origin, top, bottom, clip);
            break;
        }
    }

    // The lines of a text object whose tops lie on this part of the sheet: a line belongs to the sheet
    // on which its top lies.
    void placeLines(const ReportObject& object, QPointF origin, qreal top, qreal bottom, const QRectF& clip) {
        const LineRects lines(object, origin);
        const Cutter cutter(m_widths.of(object.font));
        const qsizetype first =
            lines.firstWhere([&](const QRectF& line) { return line.top() >= top - kEpsilon; });
        const qsizetype end =
            lines.firstWhere([&](const QRectF& line) { return line.top() >= bottom - kEpsilon; });
        if (end > first)
            sheet().items.reserve(sheet().items.size() + std::size_t(end - first));
        for (qsizetype i = first; i < end; ++i) {
            const QRectF rect = lines.at(i);
            PreparedItem item;
            item.kind = PreparedItem::Kind::Text;
            item.objectName = object.name;
            item.line = int(i);
            item.rect = rect;
            item.clip = clip;
            item.font = object.font;
            item.colour = object.textColour;
            const QString text = expand(object.lines[i], object.expandsDate);
            item.text = object.overflow == ReportObject::Overflow::Ellipsis
                            ? cutter.cutAtWord(text, rect.width())
                            : cutter.cut(text, rect.width());
            item.alignment = object.alignment;
            // A line too long for the object starts at its left edge and ends at its right one.
            if (item.text != text)
                item.alignment = (item.alignment & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
            sheet().items.push_back(std::move(item));
        }
    }

    PreparedReport& m_report;
    FontWidths m_widths;
    const ReportPage* m_page = nullptr;
    QRectF m_area;
    qreal m_y = 0;
};

} // namespace

const PreparedItem* PreparedPage::find(QStringView objectName, PreparedItem::Kind kind) const {
    for (const PreparedItem& item : items) {
        if (item.kind == kind && item.objectName == objectName)
            return &item;
    }
    return nullptr;
}

std::vector<const PreparedItem*> PreparedPage::textLines(QStringView objectName) const {
    std::vector<const PreparedItem*> lines;
    for (const PreparedItem& item : items) {
        if (item.kind == PreparedItem::Kind::Text && item.objectName == objectName)
            lines.push_back(&item);
    }
    return lines;
}

qreal lineSpacingOf(const QFont& font) {
    return dotsToMm(QFontMetricsF(font, &measureDevice()).lineSpacing());
}

QString cutToWidth(const QString& text, const QFont& font, qreal width) {
    CharacterWidths widths(font);
    return Cutter(widths).cut(text, width);
}

QString cutAtWord(const QString& text, const QFont& font, qreal width) {
    CharacterWidths widths(font);
    return Cutter(widths).cutAtWord(text, width);
}

QList<int> sheetOrder(const PreparedReport& report, const QList<int>& sheets) {
    QList<int> order = sheets;
    if (order.isEmpty()) {
        for (int i = 0; i < int(report.pages.size()); ++i)
            order.append(i);
    }
    if (order.isEmpty())
        throw ReportError(u"Il documento \"%1\" non ha pagine da stampare."_s.arg(report.name));
    for (int index : order) {
        if (index < 0 || index >= int(report.pages.size()))
            throw ReportError(u"Il documento \"%1\" non ha la pagina %2."_s.arg(report.name).arg(index + 1));
    }
    return order;
}

PreparedReport prepare(const ReportTemplate& report) {
    PreparedReport prepared;
    prepared.name = report.name();
    Layout layout(prepared);
    for (const ReportPage& page : report.pages()) {
        if (!page.printsNothing)
            layout.run(page);
    }
    return prepared;
}

} // namespace Report
