#include "archive/core/PhotoStore.h"

#include "artwork/Artwork.h"
#include "base/FitRule.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

namespace {

// Opens a reader that decodes upright and accepts pictures up to kMaxPixels; the upright full size
// comes back in `upright`, and whether the stored picture lies rotated by 90 degrees in `rotated`.
bool openReader(QImageReader& reader, QSize* upright, bool* rotated) {
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return false;
    const qint64 pixels = qint64(stored.width()) * stored.height();
    if (pixels > PhotoStore::kMaxPixels)
        return false;
    // What the picture takes in the format the decoder says it will produce (16-bit channels take eight
    // bytes a pixel; when the decoder does not say, that is assumed), with room to spare for the
    // decoder's own buffers.
    const QImage::Format format = reader.imageFormat();
    const qint64 bitsPerPixel =
        format == QImage::Format_Invalid ? 64 : QImage::toPixelFormat(format).bitsPerPixel();
    reader.setAllocationLimit(int(pixels * std::max<qint64>(bitsPerPixel, 32) / 8 / (1024 * 1024)) + 64);
    *rotated = reader.transformation() & QImageIOHandler::TransformationRotate90;
    *upright = *rotated ? stored.transposed() : stored;
    return true;
}

// Qt's smooth scaling of a two-colour picture (one bit a pixel) drops its colours: an all-blue
// picture comes out black. Such a picture is decoded in full, which costs little, and widened to one
// byte a pixel with the same colour table before anything scales it.
bool isOneBit(QImage::Format format) {
    return format == QImage::Format_Mono || format == QImage::Format_MonoLSB;
}

QImage scalable(QImage picture) {
    return isOneBit(picture.format()) ? picture.convertToFormat(QImage::Format_Indexed8) : picture;
}

// A photo's file is a JPEG, which has no transparency: a picture with transparent parts (a PNG, a GIF)
// is laid on white, as a page shows it, before anything shows or stores it. Left alone, the encoder
// would drop the transparency and keep the colour under it, black in most files. A picture whose
// pixels are all opaque is kept as it is.
QImage onWhite(const QImage& picture) {
    if (picture.isNull() || !picture.hasAlphaChannel())
        return picture;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    bool opaque = true;
    for (int y = 0; y < argb.height() && opaque; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        opaque = std::all_of(line, line + argb.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; });
    }
    if (opaque)
        return picture;
    const bool deep = picture.depth() > 32;
    QImage laid(picture.size(), deep ? QImage::Format_RGBX64 : QImage::Format_RGB32);
    if (laid.isNull())
        return {};
    laid.setDotsPerMeterX(picture.dotsPerMeterX());
    laid.setDotsPerMeterY(picture.dotsPerMeterY());
    laid.fill(Qt::white);
    QPainter painter(&laid);
    painter.drawImage(0, 0, picture);
    return laid;
}

// The picture decoded at full size; a null image when it is larger than kMaxPixels, which a decoder
// can make it even when the header stated less (a GIF's screen can be larger than its picture).
QImage readFull(QImageReader& reader) {
    const QImage full = reader.read();
    if (qint64(full.width()) * full.height() > PhotoStore::kMaxPixels)
        return {};
    return onWhite(scalable(full));
}

QImage decodeFull(const QString& path) {
    if (!PhotoStore::isRegularFile(path))
        return {};
    QImageReader reader(path);
    QSize upright;
    bool rotated = false;
    if (!openReader(reader, &upright, &rotated))
        return {};
    return readFull(reader);
}

} // namespace

CardPhoto CardPhoto::fromImage(const QImage& image) {
    CardPhoto photo;
    if (image.isNull())
        return photo;
    photo.m_fullSize = image.size();
    photo.m_display = onWhite(scalable(image));
    photo.m_full = std::make_shared<QImage>(photo.m_display);
    return photo;
}

CardPhoto CardPhoto::fromFile(const QString& path, QSize frame) {
    CardPhoto photo;
    if (!PhotoStore::isRegularFile(path))
        return photo;
    QImageReader reader(path);
    QSize upright;
    bool rotated = false;
    if (!openReader(reader, &upright, &rotated))
        return photo;
    const QSize shown = FitRule::fit(upright, frame).size().expandedTo({1, 1});
    const bool scaled = shown.width() < upright.width() || shown.height() < upright.height();
    if (scaled && reader.supportsOption(QImageIOHandler::ScaledSize) && !isOneBit(reader.imageFormat())) {
        // The decoder's own scaling (libjpeg's), applied before the picture is turned upright; the full
        // picture is decoded when something needs it.
        reader.setScaledSize(rotated ? shown.transposed() : shown);
        const QImage display = onWhite(reader.read());
        if (display.isNull())
            return photo;
        photo.m_path = path;
        photo.m_fullSize = upright;
        photo.m_display = display;
        photo.m_full = std::make_shared<QImage>();
        return photo;
    }
    // Decoded at full size: the picture's size is the one decoded, which the file's header may state
    // otherwise (a GIF's screen can be larger than its picture).
    const QImage full = readFull(reader);
    if (full.isNull())
        return photo;
    photo = inFull(full, frame);
    photo.m_path = path;
    if (photo.m_display.size() != full.size())
        *photo.m_full = QImage(); // only the shrunk copy is kept; the full picture is decoded again on demand
    return photo;
}

CardPhoto CardPhoto::fromFileInFull(const QString& path, QSize frame) {
    return inFull(decodeFull(path), frame);
}

CardPhoto CardPhoto::inFull(const QImage& full, QSize frame) {
    CardPhoto photo = fromImage(full);
    if (photo.isNull())
        return photo;
    const QSize shown = FitRule::fit(full.size(), frame).size().expandedTo({1, 1});
    if (shown != full.size())
        photo.m_display = full.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return photo;
}

CardPhoto CardPhoto::withoutDecodedFull() const {
    CardPhoto copy = *this;
    if (!m_path.isEmpty() && m_full && m_display.size() != m_fullSize)
        copy.m_full = std::make_shared<QImage>();
    return copy;
}

QImage CardPhoto::full() const {
    if (!m_full)
        return {};
    if (m_full->isNull() && !m_path.isEmpty())
        *m_full = decodeFull(m_path);
    return *m_full;
}

namespace PhotoStore {

QString folder() {
    return ProgramFolder::file(QStringLiteral("Book_Zudid"));
}

QString photoPath(const QString& bookName, int position) {
    return ProgramFolder::inFolder(folder(), bookName + QStringLiteral("_Foto_") + QString::number(position) +
                                                 QStringLiteral(".jpg"));
}

bool ensureFolder() {
    return QDir().mkpath(folder());
}

bool isRegularFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QImage placeholder() {
    // Drawn by the build, since the editor shows it as it first opens; drawn here only if the build did
    // not.
    static const QImage picture = [] {
        const QString artwork = QStringLiteral(":/editor/placeholder.svg");
        QImage image = Artwork::prepared(artwork, kPlaceholderSize, Artwork::Background::White);
        if (image.isNull()) {
            QSvgRenderer renderer(artwork);
            image = Artwork::draw(renderer, kPlaceholderSize, Artwork::Background::White);
        }
        return image;
    }();
    return picture;
}

QByteArray placeholderPhotoFile() {
    // What a save writes when the frame shows the placeholder: the frame's picture, taken as the
    // editor takes it, through the same encoder.
    static const QByteArray bytes = encodeCardPhoto(CardPhoto::fromImage(placeholder()).full());
    return bytes;
}

bool isPlaceholderBytes(QByteArrayView file) {
    const QByteArray placeholderFile = placeholderPhotoFile();
    return !placeholderFile.isEmpty() && file == QByteArrayView(placeholderFile);
}

bool isPlaceholderPhoto(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != placeholderPhotoFile().size())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isPlaceholderBytes(file.readAll());
}

CardPhoto loadCardPhoto(const QString& bookName, int position, QSize frame) {
    if (!ensureFolder())
        return {};
    return CardPhoto::fromFile(photoPath(bookName, position), frame);
}

bool isStoredPhotoOf(const CardPhoto& photo, const QString& bookName, int position) {
    const QString path = photoPath(bookName, position);
    return !photo.sourcePath().isEmpty() && photo.sourcePath() == path && QFileInfo::exists(path);
}

bool saveCardPhoto(const QImage& picture, const QString& bookName, int position) {
    if (picture.isNull() || !ensureFolder())
        return false;
    // The photo file's name ends in ".jpg": a JPEG at the cards' quality, replaced whole.
    return savePictureToFile(picture, photoPath(bookName, position));
}

QImage decodePicture(const QString& path) {
    return decodeFull(path);
}

QByteArray encodeCardPhoto(const QImage& picture) {
    if (picture.isNull())
        return {};
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(onWhite(picture)))
        return {};
    return encoded;
}

bool writeCardPhotoFile(QByteArrayView bytes, const QString& bookName, int position, QString* error) {
    if (!ensureFolder()) {
        if (error)
            *error = QStringLiteral("impossibile creare la cartella \"%1\"")
                         .arg(QDir::toNativeSeparators(folder()));
        return false;
    }
    return replaceWhole(photoPath(bookName, position), bytes, error);
}

bool savePictureToFile(const QImage& picture, const QString& path) {
    if (picture.isNull())
        return false;
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format.isEmpty())
        format = "jpg";
    // Encoded in memory first: a format no encoder knows, or a picture the encoder refuses, never
    // touches the file.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (format == "jpg" || format == "jpeg")
        writer.setQuality(kJpegQuality);
    if (!writer.write(onWhite(picture)))
        return false;
    return replaceWhole(path, encoded);
}

} // namespace PhotoStore
