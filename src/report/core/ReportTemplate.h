// Report templates as data: the pages of a report (paper, orientation, margins), the bands that lay
// out a report title, one data band and its footer, and the text, rectangle and picture objects placed
// on a page or in a band. Every measure is in millimetres; objects on a page are placed from the
// top-left corner of the area inside its margins, objects in a band from the band's top-left corner.
// The program finds objects and bands by name and fills them before the report is prepared.
#pragma once

#include "base/LumiveraError.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace Report {

// A failure of the engine: a missing object, a wrong kind of object, a page that cannot be printed.
// Its text is Italian and meant to be shown to the user.
class ReportError : public LumiveraError {
public:
    using LumiveraError::LumiveraError;
};

// Lengths in screen units (1/96 inch), in which some heights are worked out, turned into millimetres.
inline constexpr qreal kMmPerUnit = 25.4 / 96.0;
constexpr qreal fromUnits(qreal units) {
    return units * kMmPerUnit;
}

// A picture kept as the JPEG data it was encoded to: a PDF file carries these bytes as they are, so a
// photo that needs no change is never decoded to be printed.
struct JpegPicture {
    QByteArray data;
    QSize size;         // pixels, as stored
    int components = 0; // 1: grey, 3: colour (YCbCr or RGB), 4: CMYK or YCCK

    bool isNull() const { return data.isEmpty() || size.isEmpty(); }
    // The picture decoded as stored, brought down to fit `within` when that is given and smaller; a null
    // image when the data cannot be decoded.
    QImage decoded(QSize within = {}) const;
};

// A font as the template names it; the size is in points.
QFont makeFont(const QString& family, qreal pointSize, bool bold = false);

struct ReportObject {
    enum class Kind { Text, Rectangle, Picture };

    QString name;
    Kind kind = Kind::Text;
    QRectF geometry; // mm

    // What a line too long for the object prints.
    enum class Overflow {
        Clip,     // its beginning, cut off at the object's right edge (columns of a list)
        Ellipsis, // its words up to the last one that fits, then "…" (texts read as sentences)
    };

    // Text: one printed line for each entry, never wrapped; a line too long is cut as `overflow` says.
    QStringList lines;
    Overflow overflow = Overflow::Clip;
    QFont font;
    QColor textColour{Qt::black};
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // When set, "[DATE]" in the text becomes the date of printing; otherwise the text prints as typed.
    bool expandsDate = false;
    // Distance between two lines in mm; by default the font's own line spacing.
    std::optional<qreal> lineSpacing;

    // Fill and outline, for texts and rectangles alike.
    std::optional<QColor> fill;
    std::optional<QColor> frameColour;
    qreal frameWidth = 0; // mm

    // Picture: scaled to the largest size that fits the object, proportional, centred. A picture given
    // as JPEG data is that data instead, and `picture` stays null.
    QImage picture;
    JpegPicture jpeg;

    QString text() const { return lines.join(u'\n'); }
    // Replaces the lines with the text; a text with line breaks gives one line for each.
    void setText(const QString& text);
    void clearLines() { lines.clear(); }
    void addLine(const QString& line) { lines.append(line); }
    void setPicture(const QImage& image) {
        picture = image;
        jpeg = {};
    }
    void setPicture(const JpegPicture& data) {
        picture = QImage();
        jpeg = data;
    }
    void setHeight(qreal mm) { geometry.setHeight(mm); }
};

struct Band {
    enum class Kind { ReportTitle, MasterData, Footer };

    QString name;
    Kind kind = Kind::MasterData;
    qreal height = 0; // mm
    // A data band that does not fit in what is left of a sheet goes on over the next sheets.
    bool allowSplit = false;
    std::vector<ReportObject> objects;

    void setHeight(qreal mm) { height = mm; }
};

struct ReportPage {
    QString name;
    // The data page at the head of a template's pages: it holds settings and prints nothing.
    bool printsNothing = false;
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{10, 10, 10, 10}; // mm
    // Printed on every sheet made from this page.
    std::vector<ReportObject> objects;
    // Printed in this order: the report title, the data band, its footer.
    std::vector<Band> bands;

    // The sheet's size in mm, as oriented.
    QSizeF paperSize() const;
    // The area inside the margins, in mm from the sheet's top-left corner.
    QRectF printableArea() const;
};

class ReportTemplate {
public:
    explicit ReportTemplate(const QString& name = {})
        : m_name(name) {}

    const QString& name() const { return m_name; }
    std::vector<ReportPage>& pages() { return m_pages; }
    const std::vector<ReportPage>& pages() const { return m_pages; }

    // The page at the index of the pages list; a ReportError when there is none.
    ReportPage& page(int index);

    // Look-ups across every page and band; nullptr when there is no such name.
    ReportObject* findObject(QStringView name);
    Band* findBand(QStringView name);

    // The same look-ups for an object of the kind the caller fills; a ReportError when the template
    // has no such object or it is of another kind.
    ReportObject& textObject(QStringView name);
    ReportObject& pictureObject(QStringView name);
    Band& band(QStringView name);

private:
    ReportObject& objectOfKind(QStringView name, ReportObject::Kind kind);

    QString m_name;
    std::vector<ReportPage> m_pages;
};

} // namespace Report
