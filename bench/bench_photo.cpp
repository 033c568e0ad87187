// Showing a card whose photo comes from a 24- or 45-megapixel camera: the decode for the 307 x 409
// photo frame, against the JPEG library's own 1/8-scaled decode of the same file (djpeg -scale 1/8),
// and, for scale, against a full-size decode. Then moving through a book of such photos as the editor
// does: to the next card, whose photo was decoded ahead while the user looked at the card before, and
// jumping to a card far away while the neighbours of the last one are still being decoded.
#include "BookGenerator.h"
#include "Djpeg.h"
#include "Figures.h"
#include "PhotoBook.h"
#include "archive/core/PhotoPrefetch.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

QString photo(int megapixels) {
    return Figures::dataFile(QStringLiteral("Foto_%1MP.jpg").arg(megapixels));
}

void BM_ShowPhoto(benchmark::State& state) {
    const QString path = photo(int(state.range(0)));
    for (auto _ : state) {
        const CardPhoto shown = CardPhoto::fromFile(path, PhotoStore::kPlaceholderSize);
        if (shown.isNull() || shown.display().width() > PhotoStore::kPlaceholderSize.width() ||
            shown.display().height() > PhotoStore::kPlaceholderSize.height()) {
            state.SkipWithError("the photo was not decoded for the frame");
            break;
        }
    }
}

void djpeg(benchmark::State& state, const QStringList& scale) {
    timeDjpeg(state, photo(int(state.range(0))), scale);
}

void BM_DjpegEighth(benchmark::State& state) {
    djpeg(state, {QStringLiteral("-scale"), QStringLiteral("1/8")});
}
void BM_DjpegFull(benchmark::State& state) {
    djpeg(state, {});
}

// The photo decoded at full size, as zoom and print need it.
void BM_FullPhoto(benchmark::State& state) {
    const QString path = photo(int(state.range(0)));
    for (auto _ : state) {
        const CardPhoto shown = CardPhoto::fromFile(path, PhotoStore::kPlaceholderSize);
        if (shown.full().isNull()) {
            state.SkipWithError("the photo was not decoded");
            break;
        }
    }
}

// The cards of the bench's book, each with a link to the 24 MP photo as its photo file.
constexpr int kBookCards = 1000;
const QString kBook = QStringLiteral("Bench");

// "Next" at the pace of a user holding it down (at most three cards a second): the photo of the next
// card is prepared by the time of the click, which is all that is timed here.
void BM_NextPrepared(benchmark::State& state) {
    PhotoPrefetch photos;
    const QSize frame = PhotoStore::kPlaceholderSize;
    int position = 1;
    photos.load(kBook, position, frame);
    for (auto _ : state) {
        const int next = position % kBookCards + 1;
        photos.prepare(kBook, {next, position - 1}, frame);
        while (!photos.isPrepared(kBook, next, frame))
            QThread::msleep(1);
        position = next;
        QElapsedTimer clock;
        clock.start();
        const CardPhoto shown = photos.load(kBook, position, frame);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (shown.isNull()) {
            state.SkipWithError("the photo was not shown");
            break;
        }
    }
}

// A jump to a card far away (the first, the last, a card found), made at once after the previous
// move: the photo is decoded on the spot while the worker decodes the previous card's neighbours.
void BM_JumpUnprepared(benchmark::State& state) {
    PhotoPrefetch photos;
    const QSize frame = PhotoStore::kPlaceholderSize;
    int position = 1;
    for (auto _ : state) {
        position = (position + 97) % (kBookCards - 2) + 2;
        QElapsedTimer clock;
        clock.start();
        const CardPhoto shown = photos.load(kBook, position, frame);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        photos.prepare(kBook, {position + 1, position - 1}, frame);
        if (shown.isNull()) {
            state.SkipWithError("the photo was not shown");
            break;
        }
    }
}

BENCHMARK(BM_DjpegEighth)->Arg(24)->Arg(45)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);
BENCHMARK(BM_ShowPhoto)->Arg(24)->Arg(45)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_DjpegFull)->Arg(24)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(2);
BENCHMARK(BM_FullPhoto)->Arg(24)->Unit(benchmark::kMillisecond)->Repetitions(2);
BENCHMARK(BM_NextPrepared)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40)->Repetitions(3);
BENCHMARK(BM_JumpUnprepared)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!BookGenerator::ensurePhoto(photo(24), BookGenerator::k24Megapixel) ||
        !BookGenerator::ensurePhoto(photo(45), BookGenerator::k45Megapixel)) {
        std::fputs("cannot write the generated photos\n", stderr);
        return 1;
    }
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    ProgramFolder::setPath(folder.path());
    if (!linkPhotos(kBook, photo(24), kBookCards)) {
        std::fputs("cannot lay out the bench's book\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("photo shown, 24 MP JPEG", reporter.ms("BM_ShowPhoto/24"), "djpeg -scale 1/8",
                        reporter.ms("BM_DjpegEighth/24"), 1.2);
    Figures::printRatio("photo shown, 45 MP JPEG", reporter.ms("BM_ShowPhoto/45"), "djpeg -scale 1/8",
                        reporter.ms("BM_DjpegEighth/45"), 1.2);
    Figures::printRatio("next card, 24 MP photo prepared ahead", reporter.ms("BM_NextPrepared"),
                        "djpeg -scale 1/8", reporter.ms("BM_DjpegEighth/24"), 0.2);
    Figures::printRatio("jump to a card not prepared, 24 MP photo", reporter.ms("BM_JumpUnprepared"),
                        "djpeg -scale 1/8", reporter.ms("BM_DjpegEighth/24"), 1.2);
    const double full = reporter.ms("BM_DjpegFull/24");
    if (full > 0 && reporter.ms("BM_ShowPhoto/24") > 0)
        std::printf("photo shown, 24 MP JPEG, against a full-size decode (djpeg): ratio %.2f; "
                    "full-size decode in the program %.3f ms\n",
                    reporter.ms("BM_ShowPhoto/24") / full, reporter.ms("BM_FullPhoto/24"));
    return 0;
}
