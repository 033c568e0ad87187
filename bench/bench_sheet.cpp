// The contact sheet of a book of 1,000 cards whose photos come from a 24-megapixel camera, against
// the JPEG library's own 1/8-scaled decode (djpeg -scale 1/8) of each of its photos. The cards share
// one photo file through links, so the floor is 1,000 times the decode of that file.
#include "BookGenerator.h"
#include "Djpeg.h"
#include "Figures.h"
#include "PhotoBook.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "output/core/BookPdf.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kCards = 1000;
const QString kBook = QStringLiteral("Provino");

QString photo() {
    return Figures::dataFile(QStringLiteral("Foto_24MP.jpg"));
}

void BM_ContactSheet(benchmark::State& state) {
    const QString pdf = ProgramFolder::file(QStringLiteral("Provino.pdf"));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        BookPdf::writeContactSheet(kBook, pdf, BookPdf::kDefaultColumns);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}

void BM_DjpegEighth(benchmark::State& state) {
    timeDjpeg(state, photo(), {QStringLiteral("-scale"), QStringLiteral("1/8")});
}

BENCHMARK(BM_DjpegEighth)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);
BENCHMARK(BM_ContactSheet)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(2);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    ProgramFolder::setPath(folder.path());
    if (!BookGenerator::ensurePhoto(photo(), BookGenerator::k24Megapixel) ||
        !BookGenerator::ensureArchive(ProgramFolder::archiveOf(kBook), kCards) ||
        !linkPhotos(kBook, photo(), kCards)) {
        std::fputs("cannot lay out the bench's book\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("contact sheet, 1,000 cards of 24 MP photos", reporter.ms("BM_ContactSheet"),
                        "djpeg -scale 1/8 of each photo", reporter.ms("BM_DjpegEighth") * kCards, 1.5);
    return 0;
}
