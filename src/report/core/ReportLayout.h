// Preparing a report: a template turned into sheets of positioned items, ready to be painted on any
// device. The prepared sheets are plain data, so what will print can be read without painting it.
#pragma once

#include "report/core/ReportTemplate.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace Report {

struct PreparedItem {
    enum class Kind { Text, Rectangle, Picture };

    Kind kind = Kind::Text;
    QString objectName;
    int line = 0; // the line of its text object a text item prints
    QRectF rect;  // mm from the sheet's top-left corner: the line, the shape, or the scaled picture
    QRectF clip;  // mm: the part of the object on this sheet, outside which nothing is drawn
    QString text; // already cut to what fits the object's width
    QFont font;
    QColor colour{Qt::black};
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::optional<QColor> fill;
    std::optional<QColor> frameColour;
    qreal frameWidth = 0; // mm
    QImage picture;
    JpegPicture jpeg; // a picture given as JPEG data; `picture` is then null
};

struct PreparedPage {
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QSizeF paperSize; // mm, as oriented
    std::vector<PreparedItem> items;

    // The first item of the named object of the given kind, or nullptr.
    const PreparedItem* find(QStringView objectName,
                             PreparedItem::Kind kind = PreparedItem::Kind::Text) const;
    // Every text item of the named object, in the order of its lines.
    std::vector<const PreparedItem*> textLines(QStringView objectName) const;
};

struct PreparedReport {
    QString name;
    std::vector<PreparedPage> pages;
};

// Lays out every printing page of the template: its objects on each sheet, then its bands one after
// the other, a data band that does not fit going on over new sheets. "[DATE]" becomes today's date in
// the program's short date format where an object asks for it.
PreparedReport prepare(const ReportTemplate& report);

// The sheets to print, as indexes into the report in printing order: the listed ones, or all of them
// when the list is empty. A ReportError when the report has no sheet or no such sheet.
QList<int> sheetOrder(const PreparedReport& report, const QList<int>& sheets);

// The longest beginning of the text that fits the width (mm) in the font; text is never wrapped.
QString cutToWidth(const QString& text, const QFont& font, qreal width);
// The text when it fits the width (mm) in the font; otherwise its words up to the last one that fits
// together with a closing "…", without the blanks and commas that stood after that word. A first word
// too long for the width is cut inside, still with "…".
QString cutAtWord(const QString& text, const QFont& font, qreal width);
// The font's own distance between two lines, in mm.
qreal lineSpacingOf(const QFont& font);

} // namespace Report
