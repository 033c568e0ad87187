// bookgen: writes a made-up book for trying the program on large data.
//   bookgen cards <count> <archive.wmn>     an archive of <count> cards
//   bookgen photo <24|45> <photo.jpg>       a photo of 24 or 45 megapixels
#include "BookGenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto usage = [] {
        std::fputs("uso: bookgen cards <numero> <archivio.wmn>\n"
                   "     bookgen photo <24|45> <foto.jpg>\n",
                   stderr);
        return 2;
    };
    if (args.size() != 4)
        return usage();
    bool ok = false;
    const int number = args[2].toInt(&ok);
    if (!ok || number < 0)
        return usage();
    bool written = false;
    if (args[1] == u"cards") {
        written = BookGenerator::writeArchive(args[3], number);
    } else if (args[1] == u"photo") {
        if (number != 24 && number != 45)
            return usage();
        written = BookGenerator::writePhoto(args[3], number == 24 ? BookGenerator::k24Megapixel
                                                                  : BookGenerator::k45Megapixel);
    } else {
        return usage();
    }
    if (!written) {
        std::fprintf(stderr, "bookgen: impossibile scrivere %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
