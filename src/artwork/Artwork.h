// The SVG artwork turned into pixels, the one way every picture of the program is drawn, and the
// drawings made when the program is built. The artwork the first window shows (and the placeholder
// the editor shows as it first opens) is drawn by the build at the sizes and pixel ratios it is
// shown at, so start-up only unpacks pixels instead of parsing artwork and loading the fonts of its
// lettering; those drawings are made again whenever their artwork changes. Any other size or pixel
// ratio is drawn from the artwork when it is first shown.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QSvgRenderer;

namespace Artwork {

enum class Background { Transparent, White };

// The artwork drawn to fill `pixels` with antialiasing: premultiplied ARGB on transparent, or RGB on
// white.
QImage draw(QSvgRenderer& renderer, QSize pixels, Background background);

// Where the build keeps the drawing of a resource at these pixels: ":/access/login-logo.svg" at
// 656 x 320 is ":/drawn/access/login-logo@656x320.pixels". The drawing is kept as its pixels, rows of
// 32-bit words as draw() makes them, stored uncompressed, so it is shown without being decoded.
QString preparedName(const QString& resource, QSize pixels);
// The bytes the build keeps for a drawing.
QByteArray pixelBytes(const QImage& drawing);

// The drawing of the resource made by the build at exactly these pixels, in the format draw() gives
// for the background; a null image when the build made none.
QImage prepared(const QString& resource, QSize pixels, Background background);

} // namespace Artwork
