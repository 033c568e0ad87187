// The portfolio (`lumivera pdf`) of a book of 1,000 cards whose photos come from a 24-megapixel
// camera, against the JPEG library's own half-scale decode (djpeg -scale 1/2) of each card's photo one
// after the other: the decode the portfolio cannot do without, since a 24 MP photo printed at 300 dpi
// on the card page needs half its pixels. Four distinct photos stand for the book's photos through
// links, and the floor is the sum over the cards of the decode of each card's own file.
//
// The portfolio runs in a process of its own (this program, started again with --write-portfolio), so
// its peak memory can be read; the peak for 1,000 cards is set against the peak for 100, since a
// portfolio written page by page takes the same memory for a book of any length.
#include "BookGenerator.h"
#include "CameraPhotos.h"
#include "Djpeg.h"
#include "Figures.h"
#include "PhotoBook.h"
#include "Process.h"
#include "base/ProgramFolder.h"
#include "output/core/BookPdf.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kCards = 1000;
constexpr int kFewCards = 100;
constexpr int kPhotos = CameraPhotos::kCount;
const QString kBook = QStringLiteral("Portfolio");
const QString kSmallBook = QStringLiteral("Portfolio100");

QString g_folder; // the program folder the child process works in

void portfolio(benchmark::State& state, const QString& book) {
    const QString pdf = QDir(g_folder).filePath(book + QStringLiteral(".pdf"));
    for (auto _ : state) {
        long peakKb = 0;
        const double seconds =
            Process::run(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--write-portfolio"), g_folder, book, pdf}, &peakKb);
        if (seconds < 0) {
            state.SkipWithError("the portfolio failed");
            break;
        }
        state.SetIterationTime(seconds);
        state.counters["peak_mb"] = double(peakKb) / 1024.0;
    }
    QFile::remove(pdf);
}

void BM_Portfolio(benchmark::State& state) {
    portfolio(state, kBook);
}

void BM_PortfolioFew(benchmark::State& state) {
    portfolio(state, kSmallBook);
}

void BM_DjpegHalf(benchmark::State& state) {
    timeDjpeg(state, CameraPhotos::path(int(state.range(0))),
              {QStringLiteral("-scale"), QStringLiteral("1/2")});
}

BENCHMARK(BM_DjpegHalf)
    ->DenseRange(1, kPhotos)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Repetitions(3);
BENCHMARK(BM_PortfolioFew)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(2);
BENCHMARK(BM_Portfolio)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(2);

// The child: writes the portfolio of the book in the program folder given.
int writePortfolio(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ProgramFolder::setPath(QString::fromLocal8Bit(argv[2]));
    try {
        BookPdf::writePortfolio(QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--write-portfolio") == 0)
        return writePortfolio(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    g_folder = folder.path();
    ProgramFolder::setPath(g_folder);
    if (!CameraPhotos::ensure()) {
        std::fputs("cannot make the bench's photos\n", stderr);
        return 1;
    }
    if (!BookGenerator::ensureArchive(ProgramFolder::archiveOf(kBook), kCards) ||
        !BookGenerator::ensureArchive(ProgramFolder::archiveOf(kSmallBook), kFewCards) ||
        !linkPhotos(kBook, CameraPhotos::all(), kCards) ||
        !linkPhotos(kSmallBook, CameraPhotos::all(), kFewCards)) {
        std::fputs("cannot lay out the bench's books\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    // Each photo is the photo of a quarter of the cards.
    double floor = 0;
    for (int n = 1; n <= kPhotos; ++n) {
        const double ms = reporter.ms("BM_DjpegHalf/" + std::to_string(n));
        floor = ms < 0 || floor < 0 ? -1 : floor + ms * (kCards / kPhotos);
    }
    Figures::printRatio("portfolio, 1,000 cards of 24 MP photos", reporter.ms("BM_Portfolio"),
                        "djpeg -scale 1/2 of each card's photo", floor, 1.0);
    Figures::printRatio("portfolio's peak memory, 1,000 cards", reporter.counter("BM_Portfolio", "peak_mb"),
                        "the same for 100 cards", reporter.counter("BM_PortfolioFew", "peak_mb"), 1.2, "MB");
    return 0;
}
