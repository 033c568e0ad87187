// A search with two criteria over a book of 100,000 cards, the list of results included (logic and
// list model, no window), against reading the same archive and finding the two strings in every
// record with memmem.
#include "BookGenerator.h"
#include "Figures.h"
#include "ScanFloor.h"
#include "search/core/CardSearch.h"
#include "search/core/ResultListModel.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr int kCards = 100'000;
QString g_archive;

void BM_SearchFloor(benchmark::State& state) {
    long long found = 0;
    for (auto _ : state) {
        found = ScanFloor::recordsWithBoth(g_archive, "Rossi", "Venezia");
        if (found < 0)
            state.SkipWithError("the archive could not be read");
    }
    state.counters["found"] = double(found);
}

void BM_Search(benchmark::State& state) {
    CardSearch::Criteria criteria;
    criteria[3] = QStringLiteral("venezia"); // Location
    criteria[4] = QStringLiteral("rossi");   // Fotografo
    qsizetype found = 0;
    for (auto _ : state) {
        ResultListModel list;
        list.setHits(CardSearch::run(g_archive, criteria));
        found = list.rowCount();
        benchmark::DoNotOptimize(list.data(list.index(0), Qt::DisplayRole));
    }
    state.counters["found"] = double(found);
}

BENCHMARK(BM_SearchFloor)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    g_archive = Figures::dataFile(QStringLiteral("Centomila.wmn"));
    if (!BookGenerator::ensureArchive(g_archive, kCards)) {
        std::fputs("cannot write the generated book\n", stderr);
        return 1;
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("search, two criteria, 100,000 cards", reporter.ms("BM_Search"), "memmem scan",
                        reporter.ms("BM_SearchFloor"), 2.0);
    return 0;
}
