// Small photos with metadata, made for the tests: a JPEG, PNG or TIFF picture of a few pixels with
// EXIF, IPTC and XMP written into it by Exiv2, in the byte order asked for.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QtEndian>

#include <cstdint>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace PhotoSamples {

struct Metadata {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
};

inline QByteArray picture(const char* format) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A TIFF of one grey pixel, written by hand (Qt here has no TIFF writer): header, one directory of
// eight entries, the pixel.
inline QByteArray tiff(bool bigEndian) {
    QByteArray bytes;
    const auto put16 = [&](quint16 v) {
        char b[2];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        bytes.append(b, 2);
    };
    const auto put32 = [&](quint32 v) {
        char b[4];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        bytes.append(b, 4);
    };
    bytes.append(bigEndian ? "MM" : "II", 2);
    put16(42);
    put32(8);
    const quint32 pixelAt = 8 + 2 + 8 * 12 + 4;
    const struct {
        quint16 tag, type;
        quint32 value;
    } entries[] = {{256, 3, 1}, {257, 3, 1},       {258, 3, 8}, {259, 3, 1},
                   {262, 3, 1}, {273, 4, pixelAt}, {278, 3, 1}, {279, 4, 1}};
    put16(8);
    for (const auto& e : entries) {
        put16(e.tag);
        put16(e.type);
        put32(1);
        if (e.type == 3) {
            put16(quint16(e.value));
            put16(0);
        } else {
            put32(e.value);
        }
    }
    put32(0);
    bytes.append(char(0x80));
    return bytes;
}

// The picture with the metadata written into it; EXIF in the byte order asked for (a TIFF keeps its
// own). Empty when Exiv2 refuses.
inline QByteArray withMetadata(const QByteArray& picture, const Metadata& metadata,
                               Exiv2::ByteOrder order = Exiv2::littleEndian) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(picture.constData()), long(picture.size()));
        image->readMetadata();
        if (image->imageType() != Exiv2::ImageType::tiff)
            image->setByteOrder(order);
        image->setExifData(metadata.exif);
        image->setIptcData(metadata.iptc);
        image->setXmpData(metadata.xmp);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        return QByteArray(reinterpret_cast<const char*>(written.pData_), qsizetype(written.size_));
    } catch (...) {
        return {};
    }
}

// Adds one more dataset of a repeatable IPTC key (Keywords, Byline).
inline void addIptc(Exiv2::IptcData& iptc, const char* key, const std::string& text) {
    Exiv2::StringValue value(text);
    iptc.add(Exiv2::IptcKey(key), &value);
}

// The offset of a JPEG's first APP1 segment (its marker), or -1.
inline qsizetype app1At(const QByteArray& jpeg) {
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        if (uchar(jpeg[at + 1]) == 0xE1)
            return at;
        at += 2 + qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    }
    return -1;
}

// The JPEG with the EXIF data of its APP1 segment cut after keep bytes, the segment's length set to
// match: the file is whole, the EXIF in it is not.
inline QByteArray withExifCutShort(const QByteArray& jpeg, int keep) {
    const qsizetype at = app1At(jpeg);
    if (at < 0)
        return {};
    const quint16 length = qFromBigEndian<quint16>(jpeg.constData() + at + 2);
    const int payload = 6 + keep; // "Exif\0\0" and the first bytes of the TIFF structure
    if (payload + 2 >= length)
        return {};
    QByteArray cut = jpeg;
    cut.remove(at + 4 + payload, length - 2 - payload);
    qToBigEndian(quint16(payload + 2), cut.data() + at + 2);
    return cut;
}

} // namespace PhotoSamples

#pragma GCC diagnostic pop
