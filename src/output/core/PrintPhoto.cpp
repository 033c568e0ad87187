#include "output/core/PrintPhoto.h"

#include "archive/core/PhotoStore.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace PrintPhoto {

namespace {

// A photo file larger than this is no photo the program keeps.
constexpr qint64 kLargestFile = qint64(256) << 20;

// libjpeg reports a fatal fault by calling error_exit, which must not return: it jumps back to the
// call that set the jump point. Each function below that calls into the library sets that point first
// and holds nothing that needs destroying, so the jump leaves nothing behind.
struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}

void keepQuiet(j_common_ptr) {}

void useErrors(Errors& errors, jpeg_error_mgr*& err) {
    err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    errors.manager.output_message = keepQuiet; // a warning (data cut short) still gives a picture
}

class Decoder {
public:
    explicit Decoder(const QByteArray& data)
        : m_data(data) {
        useErrors(m_errors, m_info.err);
    }
    ~Decoder() {
        if (m_created)
            jpeg_destroy_decompress(&m_info);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    const jpeg_decompress_struct& info() const { return m_info; }

    bool readHeader() {
        if (setjmp(m_errors.jump))
            return false;
        jpeg_create_decompress(&m_info);
        m_created = true;
        jpeg_mem_src(&m_info, reinterpret_cast<const unsigned char*>(m_data.constData()),
                     static_cast<unsigned long>(m_data.size()));
        return jpeg_read_header(&m_info, TRUE) == JPEG_HEADER_OK;
    }

    // Starts decoding at 1/denominator of the stored size into the colour space given.
    bool start(int denominator, J_COLOR_SPACE space) {
        if (setjmp(m_errors.jump))
            return false;
        m_info.scale_num = 1;
        m_info.scale_denom = unsigned(denominator);
        m_info.out_color_space = space;
        m_info.dct_method = JDCT_ISLOW;
        return jpeg_start_decompress(&m_info);
    }

    // Decodes the next rows, at most `count`, into `rows`; how many it decoded, -1 on a failure.
    int readRows(JSAMPARRAY rows, int count) {
        if (setjmp(m_errors.jump))
            return -1;
        return int(jpeg_read_scanlines(&m_info, rows, JDIMENSION(count)));
    }

    // Decodes every row into a picture of the output's size with output_components bytes a pixel.
    bool read(QImage& into) {
        if (setjmp(m_errors.jump))
            return false;
        while (m_info.output_scanline < m_info.output_height) {
            JSAMPROW row = into.scanLine(int(m_info.output_scanline));
            if (jpeg_read_scanlines(&m_info, &row, 1) != 1)
                return false;
        }
        return true;
    }

private:
    const QByteArray& m_data;
    Errors m_errors{};
    jpeg_decompress_struct m_info{};
    bool m_created = false;
};

class Encoder {
public:
    Encoder() { useErrors(m_errors, m_info.err); }
    ~Encoder() {
        if (m_created)
            jpeg_destroy_compress(&m_info);
        std::free(m_buffer);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Starts a picture of that size, `components` bytes a pixel in the colour space given.
    bool begin(QSize size, J_COLOR_SPACE space, int components, int quality) {
        if (setjmp(m_errors.jump))
            return false;
        jpeg_create_compress(&m_info);
        m_created = true;
        jpeg_mem_dest(&m_info, &m_buffer, &m_size);
        m_info.image_width = JDIMENSION(size.width());
        m_info.image_height = JDIMENSION(size.height());
        m_info.input_components = components;
        m_info.in_color_space = space;
        jpeg_set_defaults(&m_info);
        jpeg_set_quality(&m_info, quality, TRUE);
        jpeg_start_compress(&m_info, TRUE);
        return true;
    }

    // Encodes the next rows.
    bool writeRows(JSAMPARRAY rows, int count) {
        if (setjmp(m_errors.jump))
            return false;
        return jpeg_write_scanlines(&m_info, rows, JDIMENSION(count)) == JDIMENSION(count);
    }

    bool finish() {
        if (setjmp(m_errors.jump))
            return false;
        jpeg_finish_compress(&m_info);
        return true;
    }

    // Encodes the picture's rows (`components` bytes a pixel in the colour space given).
    bool encode(const QImage& pixels, J_COLOR_SPACE space, int components, int quality) {
        if (!begin(pixels.size(), space, components, quality))
            return false;
        for (int y = 0; y < pixels.height(); ++y) {
            JSAMPROW row = const_cast<uchar*>(pixels.constScanLine(y));
            if (!writeRows(&row, 1))
                return false;
        }
        return finish();
    }

    QByteArray data() const { return QByteArray(reinterpret_cast<const char*>(m_buffer), qsizetype(m_size)); }

private:
    Errors m_errors{};
    jpeg_compress_struct m_info{};
    bool m_created = false;
    unsigned char* m_buffer = nullptr;
    unsigned long m_size = 0;
};

Report::JpegPicture encoded(const QImage& pixels, J_COLOR_SPACE space, int components) {
    Encoder encoder;
    if (pixels.isNull() || !encoder.encode(pixels, space, components, PhotoStore::kJpegQuality))
        return {};
    return {encoder.data(), pixels.size(), components};
}

QImage turned(const QImage& image, QImageIOHandler::Transformations how) {
    QImage upright = image;
    if (how & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip))
        upright = upright.mirrored(how & QImageIOHandler::TransformationMirror,
                                   how & QImageIOHandler::TransformationFlip);
    if (how & QImageIOHandler::TransformationRotate90)
        upright = upright.transformed(QTransform().rotate(90));
    return upright;
}

// CMYK as Adobe's programs store it (each value inverted, which their APP14 marker tells) or plain,
// to RGB.
QImage fromCmyk(const QImage& cmyk, bool inverted) {
    QImage rgb(cmyk.size(), QImage::Format_RGB888);
    if (rgb.isNull())
        return {};
    for (int y = 0; y < cmyk.height(); ++y) {
        const uchar* in = cmyk.constScanLine(y);
        uchar* out = rgb.scanLine(y);
        for (int x = 0; x < cmyk.width(); ++x, in += 4, out += 3) {
            const int k = inverted ? in[3] : 255 - in[3];
            for (int c = 0; c < 3; ++c)
                out[c] = uchar((inverted ? in[c] : 255 - in[c]) * k / 255);
        }
    }
    return rgb;
}

int ceilDiv(int value, int by) {
    return (value + by - 1) / by;
}

// Any other picture file: decoded at the box's size by Qt's readers, upright, on white.
Prepared otherPicture(const QByteArray& file, QSize boxDots) {
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || qint64(stored.width()) * stored.height() > PhotoStore::kMaxPixels)
        return {};
    const bool rotated = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = rotated ? stored.transposed() : stored;
    if (upright.width() > boxDots.width() || upright.height() > boxDots.height()) {
        const QSize shown = upright.scaled(boxDots, Qt::KeepAspectRatio).expandedTo({1, 1});
        reader.setScaledSize(rotated ? shown.transposed() : shown);
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    QImage opaque(image.size(), QImage::Format_RGB888);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    Prepared prepared;
    prepared.jpeg = encoded(opaque, JCS_RGB, 3);
    if (prepared.jpeg.isNull())
        prepared.image = opaque;
    return prepared;
}

} // namespace

void Prepared::placeIn(Report::ReportObject& object) const {
    if (!jpeg.isNull())
        object.setPicture(jpeg);
    else
        object.setPicture(image);
}

QSize dotsOf(QSizeF boxMm) {
    return (boxMm * kDotsPerInch / 25.4).toSize().expandedTo({1, 1});
}

Prepared fromFile(const QString& path, QSize boxDots) {
    if (!PhotoStore::isRegularFile(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return {};
    return fromBytes(file.readAll(), boxDots);
}

Prepared fromBytes(const QByteArray& file, QSize boxDots) {
    if (file.isEmpty() || boxDots.isEmpty())
        return {};
    Decoder decoder(file);
    if (!decoder.readHeader())
        return otherPicture(file, boxDots);
    const jpeg_decompress_struct& info = decoder.info();
    const QSize stored(int(info.image_width), int(info.image_height));
    if (stored.isEmpty() || qint64(stored.width()) * stored.height() > PhotoStore::kMaxPixels)
        return {};

    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    const QImageIOHandler::Transformations how = QImageReader(&buffer, "jpeg").transformation();
    const bool rotated = how & QImageIOHandler::TransformationRotate90;
    const QSize upright = rotated ? stored.transposed() : stored;
    const bool fits = upright.width() <= boxDots.width() && upright.height() <= boxDots.height();
    const bool plain = (info.jpeg_color_space == JCS_YCbCr && info.num_components == 3) ||
                       (info.jpeg_color_space == JCS_GRAYSCALE && info.num_components == 1);
    if (fits && how == QImageIOHandler::TransformationNone && plain && info.data_precision == 8 &&
        !info.arith_code) {
        Prepared prepared;
        prepared.jpeg = {file, stored, info.num_components};
        return prepared;
    }

    // The smallest scale whose picture still has the dots the box needs, in the stored orientation.
    QSize needed = fits ? upright : upright.scaled(boxDots, Qt::KeepAspectRatio).expandedTo({1, 1});
    if (rotated)
        needed.transpose();
    int denominator = 1;
    for (int by : {8, 4, 2}) {
        if (ceilDiv(stored.width(), by) >= needed.width() &&
            ceilDiv(stored.height(), by) >= needed.height()) {
            denominator = by;
            break;
        }
    }
    // Grey and YCbCr pixels are kept as they are from decoder to encoder: turning a picture only moves
    // its pixels, so the colour conversion there and back again is saved.
    J_COLOR_SPACE space = JCS_RGB;
    QImage::Format format = QImage::Format_RGB888;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_YCbCr:
        space = JCS_YCbCr;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        space = JCS_CMYK;
        format = QImage::Format_RGB32; // four bytes a pixel, read as C, M, Y, K
        break;
    case JCS_RGB:
        break;
    default:
        return otherPicture(file, boxDots);
    }
    if (!decoder.start(denominator, space))
        return {};
    const int components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    if (int(info.output_components) != components)
        return {};
    if (how == QImageIOHandler::TransformationNone && space != JCS_CMYK) {
        // Upright already: each band of rows goes from the decoder straight to the encoder, so the
        // picture is never held whole, and the memory a photo takes is the same whatever its size.
        const QSize size(int(info.output_width), int(info.output_height));
        const int bandRows = std::max(1, int(info.rec_outbuf_height)) * 8;
        std::vector<JSAMPLE> band(std::size_t(size.width()) * std::size_t(components) *
                                  std::size_t(bandRows));
        std::vector<JSAMPROW> rows(static_cast<std::size_t>(bandRows));
        for (int r = 0; r < bandRows; ++r)
            rows[std::size_t(r)] =
                band.data() + std::size_t(r) * std::size_t(size.width()) * std::size_t(components);
        Encoder encoder;
        if (!encoder.begin(size, space, components, PhotoStore::kJpegQuality))
            return {};
        while (info.output_scanline < info.output_height) {
            const int read = decoder.readRows(rows.data(), bandRows);
            if (read <= 0 || !encoder.writeRows(rows.data(), read))
                return {};
        }
        if (!encoder.finish())
            return {};
        Prepared prepared;
        prepared.jpeg = {encoder.data(), size, components};
        return prepared;
    }
    QImage pixels(int(info.output_width), int(info.output_height), format);
    if (pixels.isNull() || !decoder.read(pixels))
        return {};
    if (space == JCS_CMYK) {
        pixels = fromCmyk(pixels, info.saw_Adobe_marker);
        space = JCS_RGB;
    }
    pixels = turned(pixels, how);
    Prepared prepared;
    prepared.jpeg = encoded(pixels, space, space == JCS_GRAYSCALE ? 1 : 3);
    return prepared;
}

} // namespace PrintPhoto
