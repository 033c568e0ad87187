// A card's photo as a PDF page prints it: JPEG data for a box of the page at print resolution. A JPEG
// photo that is upright as stored and has no more pixels than the box holds at that resolution goes
// into the file as its own bytes; any other JPEG is decoded at the smallest of the decoder's own scales
// (1/1, 1/2, 1/4, 1/8) that still fills the box at that resolution, turned upright as its EXIF
// orientation says and encoded again. A picture file of another kind is decoded at the box's size.
//
// The work is safe on any thread: the portfolio prepares the photos of the next cards on worker threads
// while it writes the page of the current one.
#pragma once

#include "report/core/ReportTemplate.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

namespace PrintPhoto {

// Photos are printed at this resolution.
inline constexpr qreal kDotsPerInch = 300;

// A photo ready for the page: JPEG data, or a picture (one that JPEG cannot carry); both null when
// there is no photo to print.
struct Prepared {
    Report::JpegPicture jpeg;
    QImage image;

    bool isNull() const { return jpeg.isNull() && image.isNull(); }
    // Puts it in a picture object of a report template (clears the object when null).
    void placeIn(Report::ReportObject& object) const;
};

// The dots a box of that size in mm holds at kDotsPerInch.
QSize dotsOf(QSizeF boxMm);

// The photo file at the path for a box of `boxDots`; null when the file is missing, is not a regular
// file or holds no readable picture.
Prepared fromFile(const QString& path, QSize boxDots);
// The same for a photo file's bytes.
Prepared fromBytes(const QByteArray& file, QSize boxDots);

} // namespace PrintPhoto
