// Draws a piece of artwork at a given size into a file of its pixels, exactly as the program draws it,
// so the pictures of the first window can be built into the program ready to show.
#include "artwork/Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 6) {
        std::fprintf(stderr, "usage: lumivera_drawartwork <artwork.svg> <drawing.pixels> <width> <height> "
                             "transparent|white\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "lumivera_drawartwork: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    const QSize pixels(arguments.at(3).toInt(), arguments.at(4).toInt());
    const Artwork::Background background = arguments.at(5) == QLatin1String("white")
                                               ? Artwork::Background::White
                                               : Artwork::Background::Transparent;
    const QImage drawing = Artwork::draw(renderer, pixels, background);
    QFile file(arguments.at(2));
    if (drawing.isNull() || !file.open(QIODevice::WriteOnly) ||
        file.write(Artwork::pixelBytes(drawing)) != drawing.sizeInBytes() || !file.flush()) {
        std::fprintf(stderr, "lumivera_drawartwork: cannot write %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
