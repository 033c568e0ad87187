#include "artwork/Artwork.h"

#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

namespace Artwork {

QImage draw(QSvgRenderer& renderer, QSize pixels, Background background) {
    const bool transparent = background == Background::Transparent;
    QImage image(pixels, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(transparent ? QColor(Qt::transparent) : QColor(Qt::white));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

QString preparedName(const QString& resource, QSize pixels) {
    QString path = resource;
    if (path.startsWith(QLatin1String(":/")))
        path.remove(0, 2);
    if (path.endsWith(QLatin1String(".svg")))
        path.chop(4);
    return QStringLiteral(":/drawn/%1@%2x%3.pixels").arg(path).arg(pixels.width()).arg(pixels.height());
}

QByteArray pixelBytes(const QImage& drawing) {
    // Rows of 32-bit pixels are never padded.
    return QByteArray(reinterpret_cast<const char*>(drawing.constBits()), drawing.sizeInBytes());
}

QImage prepared(const QString& resource, QSize pixels, Background background) {
    const QResource drawn(preparedName(resource, pixels));
    const qint64 bytes = qint64(pixels.width()) * pixels.height() * 4;
    if (!drawn.isValid() || drawn.compressionAlgorithm() != QResource::NoCompression || drawn.size() != bytes)
        return {};
    // The pixels stay in the program's resources; the image only points at them.
    return QImage(drawn.data(), pixels.width(), pixels.height(), pixels.width() * 4,
                  background == Background::Transparent ? QImage::Format_ARGB32_Premultiplied
                                                        : QImage::Format_RGB32);
}

} // namespace Artwork
