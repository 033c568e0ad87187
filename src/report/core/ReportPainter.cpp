#include "report/core/ReportPainter.h"

#include "report/core/ReportPdf.h"

#include <QPagedPaintDevice>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace Report {

namespace {

QRectF toDevice(const QRectF& mm, qreal dotsPerMm) {
    return QRectF(mm.topLeft() * dotsPerMm, mm.size() * dotsPerMm);
}

QPageLayout layoutOf(const PreparedPage& page) {
    // The sheets place every item from the paper's corner, so the device adds no margin of its own.
    return QPageLayout(page.pageSize, page.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void paintShape(QPainter& painter, const PreparedItem& item, qreal dotsPerMm) {
    const QRectF rect = toDevice(item.rect, dotsPerMm);
    if (item.fill)
        painter.fillRect(rect, *item.fill);
    if (item.frameColour) {
        QPen pen(*item.frameColour);
        pen.setWidthF(std::max<qreal>(item.frameWidth * dotsPerMm, 1.0));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
    }
}

void paintPicture(QPainter& painter, const PreparedItem& item, qreal dotsPerMm) {
    const QRectF target = toDevice(item.rect, dotsPerMm);
    // A picture larger than the dots it covers is brought down to them first, with the fast method,
    // so that a large photo does not travel whole into the printer's data; JPEG data is decoded at
    // about that size to begin with.
    const QSize dots = target.size().toSize().expandedTo(QSize(1, 1));
    QImage image = item.picture.isNull() && !item.jpeg.isNull() ? item.jpeg.decoded(dots) : item.picture;
    if (image.isNull())
        return;
    if (image.width() > dots.width() || image.height() > dots.height()) {
        image = image.scaled(dots, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (image.isNull())
            throw ReportError(
                u"Memoria insufficiente per stampare l'immagine \"%1\"."_s.arg(item.objectName));
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image);
}

} // namespace

void paintPage(QPainter& painter, const PreparedPage& page, qreal dotsPerMm) {
    for (const PreparedItem& item : page.items) {
        painter.save();
        painter.setClipRect(toDevice(item.clip, dotsPerMm));
        switch (item.kind) {
        case PreparedItem::Kind::Rectangle:
            paintShape(painter, item, dotsPerMm);
            break;
        case PreparedItem::Kind::Picture:
            paintPicture(painter, item, dotsPerMm);
            break;
        case PreparedItem::Kind::Text:
            painter.setFont(item.font);
            painter.setPen(item.colour);
            painter.drawText(toDevice(item.rect, dotsPerMm), int(item.alignment) | Qt::TextSingleLine,
                             item.text);
            break;
        }
        painter.restore();
    }
}

void paintReport(QPagedPaintDevice& device, const PreparedReport& report, const QList<int>& sheets) {
    const QList<int> order = sheetOrder(report, sheets);
    device.setPageLayout(layoutOf(report.pages[std::size_t(order.first())]));
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(u"Non è stato possibile avviare la stampa di \"%1\"."_s.arg(report.name));
    for (qsizetype i = 0; i < order.size(); ++i) {
        const PreparedPage& page = report.pages[std::size_t(order[i])];
        if (i > 0) {
            device.setPageLayout(layoutOf(page));
            if (!device.newPage()) {
                painter.end();
                throw ReportError(u"Non è stato possibile passare alla pagina successiva."_s);
            }
        }
        paintPage(painter, page, qreal(device.logicalDpiX()) / 25.4);
    }
    if (!painter.end())
        throw ReportError(u"La stampa di \"%1\" non è stata completata."_s.arg(report.name));
}

void writePdf(const PreparedReport& report, const QString& path, const QList<int>& sheets) {
    const QList<int> order = sheetOrder(report, sheets);
    writePdfFile(path, report.name, [&](PdfDocument& document) {
        for (int index : order)
            document.addPage(report.pages[std::size_t(index)]);
    });
}

} // namespace Report
