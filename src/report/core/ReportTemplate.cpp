#include "report/core/ReportTemplate.h"

#include <QBuffer>
#include <QImageReader>

using namespace Qt::StringLiterals;

namespace Report {

QImage JpegPicture::decoded(QSize within) const {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(false);
    if (reader.size() != size)
        return {};
    if (within.isValid() && (size.width() > within.width() || size.height() > within.height()))
        reader.setScaledSize(size.scaled(within, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

QFont makeFont(const QString& family, qreal pointSize, bool bold) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // Printed text keeps its outline at any resolution; hinting would change widths per device.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void ReportObject::setText(const QString& text) {
    QString plain = text;
    plain.remove(u'\r');
    lines = plain.split(u'\n');
}

QSizeF ReportPage::paperSize() const {
    const QSizeF size = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

QRectF ReportPage::printableArea() const {
    const QSizeF paper = paperSize();
    return QRectF(margins.left(), margins.top(), paper.width() - margins.left() - margins.right(),
                  paper.height() - margins.top() - margins.bottom());
}

ReportPage& ReportTemplate::page(int index) {
    if (index < 0 || index >= int(m_pages.size()))
        throw ReportError(u"Il modello \"%1\" non ha la pagina %2."_s.arg(m_name).arg(index));
    return m_pages[std::size_t(index)];
}

ReportObject* ReportTemplate::findObject(QStringView name) {
    for (ReportPage& page : m_pages) {
        for (ReportObject& object : page.objects) {
            if (object.name == name)
                return &object;
        }
        for (Band& band : page.bands) {
            for (ReportObject& object : band.objects) {
                if (object.name == name)
                    return &object;
            }
        }
    }
    return nullptr;
}

Band* ReportTemplate::findBand(QStringView name) {
    for (ReportPage& page : m_pages) {
        for (Band& band : page.bands) {
            if (band.name == name)
                return &band;
        }
    }
    return nullptr;
}

ReportObject& ReportTemplate::objectOfKind(QStringView name, ReportObject::Kind kind) {
    ReportObject* object = findObject(name);
    if (!object)
        throw ReportError(u"Il modello \"%1\" non contiene l'oggetto \"%2\"."_s.arg(m_name, name));
    if (object->kind != kind)
        throw ReportError(u"L'oggetto \"%1\" del modello \"%2\" non è %3."_s.arg(
            name, m_name, kind == ReportObject::Kind::Text ? u"un testo"_s : u"un'immagine"_s));
    return *object;
}

ReportObject& ReportTemplate::textObject(QStringView name) {
    return objectOfKind(name, ReportObject::Kind::Text);
}

ReportObject& ReportTemplate::pictureObject(QStringView name) {
    return objectOfKind(name, ReportObject::Kind::Picture);
}

Band& ReportTemplate::band(QStringView name) {
    if (Band* found = findBand(name))
        return *found;
    throw ReportError(u"Il modello \"%1\" non contiene la sezione \"%2\"."_s.arg(m_name, name));
}

} // namespace Report
