#include "report/core/ReportPdf.h"

#include "base/ReplaceFileDevice.h"
#include "report/core/PdfFont.h"
#include "report/core/TextMeasure.h"

#include <QBuffer>
#include <QGlyphRun>
#include <QIODevice>
#include <QImageWriter>
#include <QPainterPath>
#include <QTextLayout>
#include <QThreadPool>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <future>
#include <memory>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace Report {

namespace {

constexpr qreal kPointsPerMm = 72.0 / 25.4;
constexpr qreal kPointsPerDot = 72.0 / kMeasureDpi;
// Pictures go into the file at most at this resolution: enough for print, and a photo of a card does
// not travel into the file at full size.
constexpr qreal kPictureDpi = 300;
// A content stream is compressed with zlib's fastest level: text lists shrink about as much as with
// the default level, in a fraction of the time.
constexpr int kCompression = 1;

// A number as the file writes it: at most three decimals, no trailing zeros.
void appendNumber(QByteArray& out, qreal value) {
    qint64 thousandths = qRound64(value * 1000);
    if (thousandths < 0) {
        out.append('-');
        thousandths = -thousandths;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, thousandths / 1000).ptr;
    out.append(digits, end - digits);
    int fraction = int(thousandths % 1000);
    if (fraction == 0)
        return;
    char decimals[4] = {'.', char('0' + fraction / 100), char('0' + fraction / 10 % 10),
                        char('0' + fraction % 10)};
    int length = 4;
    while (decimals[length - 1] == '0')
        --length;
    out.append(decimals, length);
}

QByteArray numbers(std::initializer_list<qreal> values) {
    QByteArray out;
    for (qreal value : values) {
        if (!out.isEmpty())
            out.append(' ');
        appendNumber(out, value);
    }
    return out;
}

QByteArray colour(const QColor& c) {
    return numbers({c.redF(), c.greenF(), c.blueF()});
}

// A text string for the document's information: UTF-16 with its byte order mark, in hex.
QByteArray textString(const QString& text) {
    QByteArray out("<FEFF");
    for (QChar c : text)
        out += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    out += '>';
    return out;
}

QByteArray compressed(const QByteArray& data) {
    // qCompress puts the length before zlib's own stream; the file wants the stream alone.
    return qCompress(data, kCompression).mid(4);
}

// The objects of the file, written one after the other, and the table of where each one starts.
class PdfFile {
public:
    explicit PdfFile(QIODevice& device)
        : m_device(device) {
        m_offsets.push_back(0);
        append("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    }

    int reserve() {
        m_offsets.push_back(-1);
        return int(m_offsets.size()) - 1;
    }

    void object(int number, const QByteArray& body) {
        begin(number);
        append(body);
        append("\nendobj\n");
    }

    // A stream object; `entries` are the dictionary's entries other than its length.
    void stream(int number, const QByteArray& entries, const QByteArray& data) {
        begin(number);
        append("<< ");
        append(entries);
        append(" /Length ");
        append(QByteArray::number(data.size()));
        append(" >>\nstream\n");
        append(data);
        append("\nendstream\nendobj\n");
    }

    void finish(int catalog, int info) {
        const qint64 table = position();
        QByteArray xref =
            "xref\n0 " + QByteArray::number(qsizetype(m_offsets.size())) + "\n0000000000 65535 f \n";
        char entry[21];
        for (std::size_t i = 1; i < m_offsets.size(); ++i) {
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(m_offsets[i]));
            xref.append(entry, 20);
        }
        append(xref);
        append("trailer\n<< /Size " + QByteArray::number(qsizetype(m_offsets.size())) + " /Root " +
               QByteArray::number(catalog) + " 0 R /Info " + QByteArray::number(info) +
               " 0 R >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n");
        flush();
    }

private:
    void begin(int number) {
        m_offsets[std::size_t(number)] = position();
        append(QByteArray::number(number) + " 0 obj\n");
    }

    qint64 position() const { return m_written + m_buffer.size(); }

    void append(const QByteArray& data) {
        if (data.size() >= kBufferSize) {
            // A photo's bytes go to the device as they are, without a copy into the buffer.
            flush();
            if (m_device.write(data) != data.size())
                throw ReportError(u"Non è stato possibile scrivere il documento PDF."_s);
            m_written += data.size();
            return;
        }
        m_buffer.append(data);
        if (m_buffer.size() >= kBufferSize)
            flush();
    }

    static constexpr qsizetype kBufferSize = 1 << 20;

    void flush() {
        if (!m_buffer.isEmpty() && m_device.write(m_buffer) != m_buffer.size())
            throw ReportError(u"Non è stato possibile scrivere il documento PDF."_s);
        m_written += m_buffer.size();
        m_buffer.clear();
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    qint64 m_written = 0;
    std::vector<qint64> m_offsets;
};

// A face the file uses, and the name by which pages ask for it.
struct Face {
    std::unique_ptr<PdfFont> font;
    QString key;
    int number = 0; // the font object
    QByteArray resource;
};

// What a font of the sheets needs to print a line: its measures and its main face.
struct FontUse {
    QFont font;
    std::unique_ptr<CharacterWidths> widths;
    Face* face = nullptr;
    qreal points = 0;        // the size in points
    qreal ascent = 0;        // measuring dots
    qreal descent = 0;       // measuring dots
    qreal thickness = 0;     // the face's line thickness, measuring dots
    bool emboldened = false; // bold asked for from a face that has none
    bool slanted = false;    // italic asked for from a face that has none

    // For the quick path: each plain character's glyph in the main face (0: none, or not plain) and
    // advance, looked up the first time the character is printed.
    struct Quick {
        quint32 glyph = kNotLooked;
        float advance = 0;
    };
    static constexpr quint32 kNotLooked = 0xFFFFFFFF;
    std::vector<Quick> quick;
};

QString faceKey(const QRawFont& raw) {
    const QString family = isStandIn(raw) ? QString() : raw.familyName();
    return family + u'\n' + raw.styleName() + u'\n' + QString::number(raw.weight()) + u'\n' +
           QString::number(int(raw.style()));
}

class Writer {
public:
    Writer(QIODevice& device, const QString& title)
        : m_file(device)
        , m_title(title) {
        m_catalog = m_file.reserve();
        m_pages = m_file.reserve();
        m_info = m_file.reserve();
    }

    void page(const PreparedPage& sheet) {
        QSizeF size = sheet.pageSize.size(QPageSize::Point);
        if (sheet.orientation == QPageLayout::Landscape)
            size.transpose();
        m_height = size.height();
        m_pageFonts.clear();
        m_pageImages.clear();
        m_clip.reset();
        m_inText = false;
        m_textFont = nullptr;
        m_textSize = -1;
        m_fill.reset();

        for (const PreparedItem& item : sheet.items) {
            setClip(item.clip);
            switch (item.kind) {
            case PreparedItem::Kind::Rectangle:
                rectangle(item);
                break;
            case PreparedItem::Kind::Picture:
                picture(item);
                break;
            case PreparedItem::Kind::Text:
                text(item);
                break;
            }
        }
        endText();
        if (m_clip)
            m_content += "Q\n";
        m_contentSize = m_content.size();

        // The page is compressed on a worker while the next one is made; its objects follow in order.
        Pending next;
        next.contents = m_file.reserve();
        next.data = compressLater(std::exchange(m_content, QByteArray()));
        m_content.reserve(m_contentSize);
        QByteArray resources = "<< /ProcSet [/PDF /Text /ImageC]";
        if (!m_pageFonts.empty()) {
            resources += " /Font <<";
            for (const Face* face : m_pageFonts)
                resources += ' ' + face->resource + ' ' + QByteArray::number(face->number) + " 0 R";
            resources += " >>";
        }
        if (!m_pageImages.empty()) {
            resources += " /XObject <<";
            for (int image : m_pageImages)
                resources += " /Im" + QByteArray::number(image) + ' ' + QByteArray::number(image) + " 0 R";
            resources += " >>";
        }
        resources += " >>";
        next.number = m_file.reserve();
        next.page = "<< /Type /Page /Parent " + QByteArray::number(m_pages) + " 0 R /MediaBox [0 0 " +
                    numbers({size.width(), size.height()}) + "] /Resources " + resources + " /Contents " +
                    QByteArray::number(next.contents) + " 0 R >>";
        writePending();
        m_pending = std::move(next);
    }

    void finish() {
        writePending();
        for (const auto& face : m_faces)
            writeFace(*face);
        QByteArray kids;
        for (int number : m_pageNumbers)
            kids += QByteArray::number(number) + " 0 R ";
        m_file.object(m_pages, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                   QByteArray::number(qsizetype(m_pageNumbers.size())) + " >>");
        m_file.object(m_catalog, "<< /Type /Catalog /Pages " + QByteArray::number(m_pages) + " 0 R >>");
        m_file.object(m_info, "<< /Title " + textString(m_title) + " /Creator " + textString(u"Lumivera"_s) +
                                  " /Producer " + textString(u"Lumivera"_s) + " >>");
        m_file.finish(m_catalog, m_info);
    }

private:
    // A page whose content is being compressed.
    struct Pending {
        int contents = 0;
        int number = 0;
        QByteArray page;
        std::shared_future<QByteArray> data;
    };

    static std::shared_future<QByteArray> compressLater(QByteArray content) {
        auto task = std::make_shared<std::packaged_task<QByteArray()>>(
            [content = std::move(content)] { return compressed(content); });
        std::shared_future<QByteArray> result = task->get_future().share();
        QThreadPool::globalInstance()->start([task] { (*task)(); });
        return result;
    }

    void writePending() {
        if (!m_pending)
            return;
        const QByteArray data = m_pending->data.get();
        m_file.stream(m_pending->contents, "/Filter /FlateDecode", data);
        m_file.object(m_pending->number, m_pending->page);
        m_pageNumbers.push_back(m_pending->number);
        m_pending.reset();
    }

    // --- Coordinates: millimetres from the sheet's top-left corner to points from its bottom-left.
    qreal x(qreal mm) const { return mm * kPointsPerMm; }
    qreal y(qreal mm) const { return m_height - mm * kPointsPerMm; }

    QByteArray box(const QRectF& mm) const {
        return numbers({x(mm.left()), y(mm.bottom()), mm.width() * kPointsPerMm, mm.height() * kPointsPerMm});
    }

    void setClip(const QRectF& clip) {
        if (m_clip && *m_clip == clip)
            return;
        endText();
        if (m_clip)
            m_content += "Q\n";
        m_content += "q " + box(clip) + " re W n\n";
        m_clip = clip;
        m_fill.reset();
        m_textFont = nullptr;
    }

    void setFill(const QColor& c) {
        if (m_fill && *m_fill == c)
            return;
        m_content += colour(c) + " rg\n";
        m_fill = c;
    }

    void beginText() {
        if (!m_inText) {
            m_content += "BT\n";
            m_inText = true;
        }
    }

    void endText() {
        if (m_inText) {
            m_content += "ET\n";
            m_inText = false;
            m_textFont = nullptr;
        }
    }

    // --- Rectangles and pictures.
    void rectangle(const PreparedItem& item) {
        endText();
        if (item.fill) {
            setFill(*item.fill);
            m_content += box(item.rect) + " re f\n";
        }
        if (item.frameColour) {
            const qreal width = std::max(item.frameWidth, 25.4 / kMeasureDpi) * kPointsPerMm;
            m_content += colour(*item.frameColour) + " RG " + numbers({width}) + " w 0 j " + box(item.rect) +
                         " re S\n";
        }
    }

    void picture(const PreparedItem& item) {
        if (item.rect.isEmpty())
            return;
        const QSize dots = (item.rect.size() * kPictureDpi / 25.4).toSize().expandedTo(QSize(1, 1));
        int number = 0;
        if (item.picture.isNull() && passesThrough(item.jpeg)) {
            endText();
            number = jpegObject(item.jpeg);
        } else {
            // CMYK data is decoded (the JPEG decoder knows the inverted CMYK that Adobe's programs
            // write) and goes in as any other picture.
            const QImage image = item.picture.isNull() ? item.jpeg.decoded(dots) : item.picture;
            if (image.isNull())
                return;
            endText();
            number = pictureObject(item, image, dots);
        }
        m_pageImages.push_back(number);
        m_content += "q " +
                     numbers({item.rect.width() * kPointsPerMm, 0, 0, item.rect.height() * kPointsPerMm,
                              x(item.rect.left()), y(item.rect.bottom())}) +
                     " cm /Im" + QByteArray::number(number) + " Do Q\n";
    }

    // JPEG data of grey or colour pixels goes into the file as it is.
    static bool passesThrough(const JpegPicture& jpeg) {
        return !jpeg.isNull() && (jpeg.components == 1 || jpeg.components == 3);
    }

    int jpegObject(const JpegPicture& jpeg) {
        const int number = m_file.reserve();
        m_file.stream(number,
                      "/Type /XObject /Subtype /Image /Width " + QByteArray::number(jpeg.size.width()) +
                          " /Height " + QByteArray::number(jpeg.size.height()) + " /ColorSpace " +
                          (jpeg.components == 1 ? "/DeviceGray" : "/DeviceRGB") +
                          " /BitsPerComponent 8 /Filter /DCTDecode",
                      jpeg.data);
        return number;
    }

    int pictureObject(const PreparedItem& item, QImage image, QSize dots) {
        if (image.width() > dots.width() || image.height() > dots.height()) {
            image = image.scaled(dots, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (image.isNull())
                throw ReportError(
                    u"Memoria insufficiente per stampare l'immagine \"%1\"."_s.arg(item.objectName));
        }
        return imageObject(image);
    }

    int imageObject(const QImage& source) {
        const QByteArray size = "/Width " + QByteArray::number(source.width()) + " /Height " +
                                QByteArray::number(source.height());
        const int number = m_file.reserve();
        if (!source.hasAlphaChannel()) {
            // An opaque picture goes in as JPEG, as a photo came.
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(92);
            if (writer.write(source.convertToFormat(QImage::Format_RGB888))) {
                m_file.stream(number,
                              "/Type /XObject /Subtype /Image " + size +
                                  " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /DCTDecode",
                              jpeg);
                return number;
            }
        }
        const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
        QByteArray rgb;
        QByteArray alpha;
        rgb.reserve(qsizetype(rgba.width()) * rgba.height() * 3);
        alpha.reserve(qsizetype(rgba.width()) * rgba.height());
        for (int row = 0; row < rgba.height(); ++row) {
            const uchar* p = rgba.constScanLine(row);
            for (int col = 0; col < rgba.width(); ++col, p += 4) {
                rgb.append(reinterpret_cast<const char*>(p), 3);
                alpha.append(char(p[3]));
            }
        }
        QByteArray entries = "/Type /XObject /Subtype /Image " + size +
                             " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode";
        if (source.hasAlphaChannel()) {
            const int mask = m_file.reserve();
            m_file.stream(mask,
                          "/Type /XObject /Subtype /Image " + size +
                              " /ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /FlateDecode",
                          compressed(alpha));
            entries += " /SMask " + QByteArray::number(mask) + " 0 R";
        }
        m_file.stream(number, entries, compressed(rgb));
        return number;
    }

    // --- Text.
    FontUse& fontUse(const QFont& font) {
        if (m_lastUse && m_lastUse->font == font)
            return *m_lastUse;
        for (auto& use : m_fontUses) {
            if (use->font == font) {
                m_lastUse = use.get();
                return *use;
            }
        }
        auto use = std::make_unique<FontUse>();
        use->font = font;
        use->widths = std::make_unique<CharacterWidths>(font);
        const QRawFont raw = QRawFont::fromFont(font);
        if (raw.isValid()) {
            use->face = &face(raw);
            use->emboldened = emboldens(font, *use->face->font);
            use->slanted = slants(font, *use->face->font);
        }
        // The size the measures were taken at: the measuring device's face, whose size in dots may be
        // rounded from the font's size in points.
        use->points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
        QTextLayout probe(u"0"_s, font, &measureDevice());
        probe.beginLayout();
        probe.createLine();
        probe.endLayout();
        const QList<QGlyphRun> runs = probe.glyphRuns();
        if (!runs.isEmpty() && runs.first().rawFont().pixelSize() > 0) {
            use->points = runs.first().rawFont().pixelSize() * kPointsPerDot;
            use->thickness = runs.first().rawFont().lineThickness();
        }
        use->ascent = use->widths->metrics().ascent();
        use->descent = use->widths->metrics().descent();
        m_fontUses.push_back(std::move(use));
        m_lastUse = m_fontUses.back().get();
        return *m_lastUse;
    }

    Face& face(const QRawFont& raw) {
        const QString key = faceKey(raw);
        for (auto& known : m_faces) {
            if (known->key == key)
                return *known;
        }
        auto added = std::make_unique<Face>();
        added->font = std::make_unique<PdfFont>(raw);
        added->key = key;
        added->number = m_file.reserve();
        added->resource = "/F" + QByteArray::number(qsizetype(m_faces.size()) + 1);
        m_faces.push_back(std::move(added));
        return *m_faces.back();
    }

    void useOnPage(Face& face) {
        if (std::find(m_pageFonts.begin(), m_pageFonts.end(), &face) == m_pageFonts.end())
            m_pageFonts.push_back(&face);
    }

    // Where a line of the given width and height starts in its rectangle, as a painter aligns it: the
    // baseline one ascent below the top of the line's block.
    static QPointF origin(const PreparedItem& item, qreal width, qreal ascent, qreal descent) {
        const QRectF r(item.rect.topLeft() * kMeasureDpi / 25.4, item.rect.size() * kMeasureDpi / 25.4);
        qreal left = r.left();
        if (item.alignment & Qt::AlignRight)
            left = r.right() - width;
        else if (item.alignment & Qt::AlignHCenter)
            left = r.left() + (r.width() - width) / 2;
        qreal top = r.top();
        if (item.alignment & Qt::AlignBottom)
            top = r.bottom() - (ascent + descent);
        else if (item.alignment & Qt::AlignVCenter)
            top = r.top() + (r.height() - (ascent + descent)) / 2;
        return {dotsToMm(left), dotsToMm(top + ascent)};
    }

    // A line's text also stops at its own rectangle: when its block reaches out of it, it gets a clip.
    bool clipLine(const PreparedItem& item, const QPointF& start, qreal width, qreal ascent, qreal descent) {
        const QRectF block(start.x(), start.y() - dotsToMm(ascent), dotsToMm(width),
                           dotsToMm(ascent + descent));
        constexpr qreal kSlack = 1e-6;
        if (item.rect.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(block))
            return false;
        endText();
        m_content += "q " + box(item.rect) + " re W n\n";
        return true;
    }

    // A bold or italic asked of a face that is not: made as a painter makes it on a PDF device, the
    // glyphs printed a second time half a line's thickness to the left (marked as no text, so that copying
    // gives the line once), or slanted by 0.3.
    static bool emboldens(const QFont& font, const PdfFont& face) {
        return font.weight() >= QFont::DemiBold && !face.boldFace();
    }
    static bool slants(const QFont& font, const PdfFont& face) {
        return font.style() != QFont::StyleNormal && !face.italicFace();
    }

    void selectFont(Face& face, qreal points) {
        beginText();
        if (m_textFont != &face || m_textSize != points) {
            m_content += face.resource + ' ' + numbers({points}) + " Tf\n";
            m_textFont = &face;
            m_textSize = points;
        }
    }

    void moveTo(qreal xPoints, qreal yPoints, bool slanted) {
        m_content += slanted ? "1 0 0.3 1 " : "1 0 0 1 ";
        appendNumber(m_content, xPoints);
        m_content += ' ';
        appendNumber(m_content, yPoints);
        m_content += " Tm\n";
    }

    // Glyph numbers as a string of the file: two bytes each, with the bytes a string must escape.
    void appendGlyphs(const quint32* glyphs, qsizetype count) {
        const qsizetype at = m_content.size();
        m_content.resize(at + count * 4 + 2);
        char* out = m_content.data() + at;
        *out++ = '(';
        for (qsizetype i = 0; i < count; ++i) {
            for (char byte : {char(glyphs[i] >> 8), char(glyphs[i] & 0xFF)}) {
                switch (byte) {
                case '(':
                case ')':
                case '\\':
                    *out++ = '\\';
                    *out++ = byte;
                    break;
                case '\r':
                    *out++ = '\\';
                    *out++ = 'r';
                    break;
                case '\n':
                    *out++ = '\\';
                    *out++ = 'n';
                    break;
                default:
                    *out++ = byte;
                }
            }
        }
        *out++ = ')';
        m_content.truncate(out - m_content.constData());
    }

    void text(const PreparedItem& item) {
        if (item.text.isEmpty())
            return;
        FontUse& use = fontUse(item.font);
        if (!quickText(item, use))
            shapedText(item);
    }

    // Plain characters in a fixed-pitch face that has them all: a glyph per character, each one advance
    // after the other, as the face's width table gives them.
    bool quickText(const PreparedItem& item, FontUse& use) {
        if (!use.face || !use.face->font->embeddable() || !use.widths->quick())
            return false;
        PdfFont& font = *use.face->font;
        if (use.quick.empty())
            use.quick.resize(kEndPlain - kFirstPlain);
        m_glyphs.resize(std::size_t(item.text.size()));
        qreal width = 0;
        quint32* glyphs = m_glyphs.data();
        for (QChar c : item.text) {
            const char16_t u = c.unicode();
            if (u < kFirstPlain || u >= kEndPlain)
                return false;
            FontUse::Quick& known = use.quick[u - kFirstPlain];
            if (known.glyph == FontUse::kNotLooked) {
                known.glyph = isPlainCharacter(u) ? font.glyph(u) : 0;
                known.advance = float(known.glyph ? use.widths->advance(u) : 0);
                if (known.glyph)
                    font.use(known.glyph, QStringView(&c, 1));
            }
            if (known.glyph == 0)
                return false;
            *glyphs++ = known.glyph;
            width += qreal(known.advance);
        }
        const QPointF start = origin(item, width, use.ascent, use.descent);
        const bool clipped = clipLine(item, start, width, use.ascent, use.descent);
        useOnPage(*use.face);
        setFill(item.colour);
        selectFont(*use.face, use.points);
        for (bool again : {false, true}) {
            if (again && !use.emboldened)
                break;
            if (again)
                m_content += "/Span << /ActualText <> >> BDC\n";
            moveTo(x(start.x() - (again ? dotsToMm(use.thickness / 2) : 0)), y(start.y()), use.slanted);
            appendGlyphs(m_glyphs.data(), qsizetype(m_glyphs.size()));
            m_content += " Tj\n";
            if (again)
                m_content += "EMC\n";
        }
        if (clipped) {
            endText();
            m_content += "Q\n";
            m_fill.reset();
        }
        return true;
    }

    // Any other text is shaped as a painter would shape it, and its glyphs are placed where the shaping
    // put them, in whichever faces it took them from.
    void shapedText(const PreparedItem& item) {
        QTextLayout layout(item.text, item.font, &measureDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            layout.endLayout();
            return;
        }
        line.setPosition(QPointF(0, 0));
        layout.endLayout();
        const qreal width = line.naturalTextWidth();
        const QPointF start = origin(item, width, line.ascent(), line.descent());
        const bool clipped = clipLine(item, start, width, line.ascent(), line.descent());
        const QPointF shift(start.x(), start.y() - dotsToMm(line.ascent()));
        setFill(item.colour);

        std::vector<std::pair<PdfFont*, quint32>> printed;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QRawFont raw = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            if (glyphs.isEmpty() || !raw.isValid())
                continue;
            Face& runFace = face(raw);
            PdfFont& font = *runFace.font;
            for (quint32 g : glyphs)
                printed.emplace_back(&font, g);
            const qreal points = raw.pixelSize() * kPointsPerDot;
            if (!font.embeddable()) {
                outlines(raw, glyphs, positions, shift);
                continue;
            }
            useOnPage(runFace);
            selectFont(runFace, points);
            const bool emboldened = emboldens(item.font, font);
            for (bool again : {false, true}) {
                if (again && !emboldened)
                    break;
                if (again)
                    m_content += "/Span << /ActualText <> >> BDC\n";
                const QPointF moved = shift - QPointF(again ? dotsToMm(raw.lineThickness() / 2) : 0, 0);
                placeRun(font, points, glyphs, positions, moved, slants(item.font, font));
                if (again)
                    m_content += "EMC\n";
            }
        }
        markText(item.text, printed);
        if (clipped) {
            endText();
            m_content += "Q\n";
            m_fill.reset();
        }
    }

    // One run of glyphs from the first one's place, each later glyph moved from where the previous one's
    // advance left it to where the shaping put it.
    void placeRun(const PdfFont& font, qreal points, const QList<quint32>& glyphs,
                  const QList<QPointF>& positions, QPointF shift, bool slanted) {
        qsizetype i = 0;
        while (i < glyphs.size()) {
            const QPointF at = shift + QPointF(dotsToMm(positions[i].x()), dotsToMm(positions[i].y()));
            moveTo(x(at.x()), y(at.y()), slanted);
            m_content += '[';
            qreal pen = positions[i].x();
            const qreal baseline = positions[i].y();
            qsizetype j = i;
            for (; j < glyphs.size() && qAbs(positions[j].y() - baseline) < 1e-3; ++j) {
                const qreal gap = positions[j].x() - pen;
                if (j > i && qAbs(gap) > 1e-3)
                    appendNumber(m_content, -gap * kPointsPerDot * 1000 / points);
                appendGlyphs(&glyphs[j], 1);
                pen = positions[j].x() + font.advance(glyphs[j]) * points / 1000 / kPointsPerDot;
            }
            m_content += "] TJ\n";
            i = j;
        }
    }

    // Which text each glyph of a shaped line stands for. The glyphs follow the text from left to right;
    // a glyph that is not its face's own glyph for the next character (a ligature) stands for the
    // characters up to the one the glyph after it is the face's glyph for.
    static void markText(const QString& text, const std::vector<std::pair<PdfFont*, quint32>>& glyphs) {
        qsizetype k = 0;
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            const auto [font, glyph] = glyphs[i];
            if (k >= text.size()) {
                font->use(glyph);
                continue;
            }
            qsizetype end = k + 1;
            if (font->glyph(text[k].unicode()) != glyph) {
                if (i + 1 < glyphs.size()) {
                    const auto [nextFont, next] = glyphs[i + 1];
                    while (end < text.size() && nextFont->glyph(text[end].unicode()) != next)
                        ++end;
                    if (end == text.size())
                        end = k + 1;
                } else {
                    end = text.size();
                }
            }
            font->use(glyph, QStringView(text).mid(k, end - k));
            k = end;
        }
    }

    // Glyphs of a face that cannot go into the file, drawn as filled outlines; the boxes of Qt's
    // stand-in for characters no font has are filled whole, as the painter fills them.
    void outlines(QRawFont raw, const QList<quint32>& glyphs, const QList<QPointF>& positions,
                  QPointF shift) {
        endText();
        const bool standIn = isStandIn(raw);
        QByteArray path;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QPainterPath outline = raw.pathForGlyph(glyphs[i]);
            const QPointF at = positions[i];
            if (standIn) {
                const QRectF dots = outline.boundingRect().translated(at);
                if (!dots.isEmpty())
                    path += box(QRectF(shift + QPointF(dotsToMm(dots.left()), dotsToMm(dots.top())),
                                       QSizeF(dotsToMm(dots.width()), dotsToMm(dots.height())))) +
                            " re\n";
                continue;
            }
            for (int e = 0; e < outline.elementCount(); ++e) {
                const QPainterPath::Element element = outline.elementAt(e);
                const auto point = [&](const QPainterPath::Element& p) {
                    const QPointF mm = shift + QPointF(dotsToMm(at.x() + p.x), dotsToMm(at.y() + p.y));
                    return numbers({x(mm.x()), y(mm.y())});
                };
                if (element.isMoveTo()) {
                    path += point(element) + " m\n";
                } else if (element.isLineTo()) {
                    path += point(element) + " l\n";
                } else if (element.isCurveTo() && e + 2 < outline.elementCount()) {
                    path += point(element) + ' ' + point(outline.elementAt(e + 1)) + ' ' +
                            point(outline.elementAt(e + 2)) + " c\n";
                    e += 2;
                }
            }
        }
        if (!path.isEmpty())
            m_content += path + "f\n";
    }

    // A face the pages print with: a Type0 font over one CID font whose CIDs are the face's glyph
    // numbers. A TrueType program maps them to glyphs by the identity map; a name-keyed CFF program
    // takes CIDs as glyph numbers itself (it has no such map).
    void writeFace(const Face& face) {
        const PdfFont& font = *face.font;
        const QByteArray name = font.postScriptName();
        if (!font.embeddable()) {
            // Never used for glyphs (they were drawn as outlines), but a page may name it.
            m_file.object(face.number, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
            return;
        }
        const bool cff = font.program() == PdfFont::Program::Cff;
        const int descendant = m_file.reserve();
        const int descriptor = m_file.reserve();
        const int file = m_file.reserve();
        const int unicode = m_file.reserve();
        const QByteArray subset = font.subset();
        m_file.stream(
            file,
            (cff ? QByteArray("/Subtype /CIDFontType0C") : "/Length1 " + QByteArray::number(subset.size())) +
                " /Filter /FlateDecode",
            compressed(subset));
        m_file.object(descriptor, "<< /Type /FontDescriptor /FontName /" + name + ' ' + font.descriptor() +
                                      (cff ? " /FontFile3 " : " /FontFile2 ") + QByteArray::number(file) +
                                      " 0 R >>");
        m_file.object(descendant,
                      "<< /Type /Font /Subtype " + QByteArray(cff ? "/CIDFontType0" : "/CIDFontType2") +
                          " /BaseFont /" + name +
                          " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                          " /FontDescriptor " +
                          QByteArray::number(descriptor) + " 0 R" +
                          (cff ? QByteArray() : QByteArray(" /CIDToGIDMap /Identity")) + " /W " +
                          font.widthArray() + " >>");
        m_file.stream(unicode, "/Filter /FlateDecode", compressed(font.toUnicode()));
        // Over a CFF CID font the name also says the encoding, as readers expect of such a font.
        m_file.object(face.number, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                       (cff ? QByteArray("-Identity-H") : QByteArray()) +
                                       " /Encoding /Identity-H /DescendantFonts [" +
                                       QByteArray::number(descendant) + " 0 R] /ToUnicode " +
                                       QByteArray::number(unicode) + " 0 R >>");
    }

    PdfFile m_file;
    QString m_title;
    int m_catalog = 0;
    int m_pages = 0;
    int m_info = 0;
    std::vector<int> m_pageNumbers;
    std::vector<std::unique_ptr<Face>> m_faces;
    std::vector<std::unique_ptr<FontUse>> m_fontUses;
    FontUse* m_lastUse = nullptr;

    std::optional<Pending> m_pending;

    // The page being written.
    qreal m_height = 0;
    QByteArray m_content;
    qsizetype m_contentSize = 0; // the last page's, to reserve as much for the next
    std::vector<Face*> m_pageFonts;
    std::vector<int> m_pageImages;
    std::optional<QRectF> m_clip;
    std::optional<QColor> m_fill;
    bool m_inText = false;
    const Face* m_textFont = nullptr;
    qreal m_textSize = -1;
    std::vector<quint32> m_glyphs;
};

} // namespace

class PdfDocument::Writer : public Report::Writer {
public:
    using Report::Writer::Writer;
};

QString cannotWriteMessage(const QString& path, const QString& reason) {
    return reason.isEmpty() ? u"Non è stato possibile scrivere il file \"%1\"."_s.arg(path)
                            : u"Non è stato possibile scrivere il file \"%1\": %2"_s.arg(path, reason);
}

PdfDocument::PdfDocument(QIODevice& device, const QString& title)
    : m_writer(std::make_unique<Writer>(device, title)) {}

PdfDocument::~PdfDocument() = default;

void PdfDocument::addPage(const PreparedPage& page) {
    m_writer->page(page);
}

void PdfDocument::finish() {
    m_writer->finish();
}

void writePdf(QIODevice& device, const PreparedReport& report, const QList<int>& sheets) {
    const QList<int> order = sheetOrder(report, sheets);
    PdfDocument document(device, report.name);
    for (int index : order)
        document.addPage(report.pages[std::size_t(index)]);
    document.finish();
}

void writePdfFile(const QString& path, const QString& title, const std::function<void(PdfDocument&)>& pages) {
    ReplaceFileDevice file(path);
    if (!file.start())
        throw ReportError(cannotWriteMessage(path, file.failure()));
    try {
        PdfDocument document(file, title);
        pages(document);
        document.finish();
    } catch (const ReportError&) {
        if (file.failure().isEmpty())
            throw; // not the file: a picture that could not be printed
        throw ReportError(cannotWriteMessage(path, file.failure()));
    }
    if (!file.commit())
        throw ReportError(cannotWriteMessage(path, file.failure()));
}

} // namespace Report
