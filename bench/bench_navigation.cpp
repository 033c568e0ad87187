// Moving through a book: "next" and "last" on a book of a million cards against the same moves on a
// book of ten. Each move opens the archive, reads one record and closes it, so the two should cost the
// same.
#include "BookGenerator.h"
#include "Figures.h"
#include "archive/core/CardNavigation.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int kLargeCards = 1'000'000;
constexpr int kSmallCards = 10;

QString g_large;
QString g_small;

// "Next" pressed again and again, from card `from` onwards and back to `from` at the end.
void moveNext(benchmark::State& state, const QString& archive, int from, int count) {
    int current = from;
    for (auto _ : state) {
        const CardNavigation::Outcome outcome =
            CardNavigation::move(CardNavigation::Move::Next, archive, current);
        if (outcome.kind != CardNavigation::Outcome::Show) {
            state.SkipWithError("next did not show a card");
            break;
        }
        current = outcome.position < count ? outcome.position : from;
    }
}

void moveLast(benchmark::State& state, const QString& archive, int count) {
    for (auto _ : state) {
        const CardNavigation::Outcome outcome = CardNavigation::move(CardNavigation::Move::Last, archive, 1);
        if (outcome.position != count) {
            state.SkipWithError("last did not show the last card");
            break;
        }
    }
}

void BM_NextLarge(benchmark::State& state) {
    moveNext(state, g_large, kLargeCards / 2, kLargeCards);
}
void BM_NextSmall(benchmark::State& state) {
    moveNext(state, g_small, 1, kSmallCards);
}
void BM_LastLarge(benchmark::State& state) {
    moveLast(state, g_large, kLargeCards);
}
void BM_LastSmall(benchmark::State& state) {
    moveLast(state, g_small, kSmallCards);
}
// Each figure right after its floor, so both see the machine in the same state.
BENCHMARK(BM_NextSmall)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_NextLarge)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_LastSmall)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_LastLarge)->Unit(benchmark::kMicrosecond)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    g_large = Figures::dataFile(QStringLiteral("Milione.wmn"));
    g_small = Figures::dataFile(QStringLiteral("Dieci.wmn"));
    std::printf("generating the books in %s\n", qPrintable(Figures::dataFolder()));
    std::fflush(stdout);
    if (!BookGenerator::ensureArchive(g_small, kSmallCards) ||
        !BookGenerator::ensureArchive(g_large, kLargeCards)) {
        std::fputs("cannot write the generated books\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("next on 1,000,000 cards", reporter.ms("BM_NextLarge"), "10 cards",
                        reporter.ms("BM_NextSmall"), 1.2);
    Figures::printRatio("last on 1,000,000 cards", reporter.ms("BM_LastLarge"), "10 cards",
                        reporter.ms("BM_LastSmall"), 1.2);
    return 0;
}
