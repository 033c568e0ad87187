// Showing a card whose photo comes from a 24- or 45-megapixel camera: the decode for the 307 x 409
// photo frame, against the JPEG library's own 1/8-scaled decode of the same file (djpeg -scale 1/8),
// and, for scale, against a full-size decode.
#include "BookGenerator.h"
#include "Figures.h"
#include "Process.h"
#include "archive/core/PhotoStore.h"

#include <QGuiApplication>

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
    const QString path = photo(int(state.range(0)));
    for (auto _ : state) {
        const double seconds =
            Process::run(QStringLiteral(LUMIVERA_DJPEG),
                         scale + QStringList{QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
        if (seconds < 0) {
            state.SkipWithError("djpeg failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
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

BENCHMARK(BM_DjpegEighth)->Arg(24)->Arg(45)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);
BENCHMARK(BM_ShowPhoto)->Arg(24)->Arg(45)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_DjpegFull)->Arg(24)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(2);
BENCHMARK(BM_FullPhoto)->Arg(24)->Unit(benchmark::kMillisecond)->Repetitions(2);

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
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printMachine();
    Figures::printRatio("photo shown, 24 MP JPEG", reporter.ms("BM_ShowPhoto/24"), "djpeg -scale 1/8",
                        reporter.ms("BM_DjpegEighth/24"), 1.2);
    Figures::printRatio("photo shown, 45 MP JPEG", reporter.ms("BM_ShowPhoto/45"), "djpeg -scale 1/8",
                        reporter.ms("BM_DjpegEighth/45"), 1.2);
    const double full = reporter.ms("BM_DjpegFull/24");
    if (full > 0 && reporter.ms("BM_ShowPhoto/24") > 0)
        std::printf("photo shown, 24 MP JPEG, against a full-size decode (djpeg): ratio %.2f; "
                    "full-size decode in the program %.3f ms\n",
                    reporter.ms("BM_ShowPhoto/24") / full, reporter.ms("BM_FullPhoto/24"));
    return 0;
}
