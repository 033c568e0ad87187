// The printed summary of a search that lists every card of a book of 100,000 cards: preparing it and
// writing it as a PDF file for 100,000 lines against the same for 10,000 lines, which shows whether
// it grows linearly; and the whole summary (the search, its lines, the prepared sheets, the PDF file)
// against the spreadsheet export of the same book, the other task that goes through every card.
#include "BookGenerator.h"
#include "ExportRun.h"
#include "Figures.h"
#include "base/ProgramFolder.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "report/core/ReportLayout.h"
#include "report/core/ReportPainter.h"
#include "search/core/CardSearch.h"
#include "search/core/ResultListModel.h"
#include "search/core/SearchSummary.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kCards = 100'000;

QString g_archive;
QString g_pdf;
// The lines of a search that lists every card, in list order.
QStringList g_lines;

// A criterion every card meets: each date holds the separator.
CardSearch::Criteria everyCard() {
    CardSearch::Criteria criteria;
    criteria[2] = QStringLiteral("/"); // Data
    return criteria;
}

void printSummary(const QStringList& lines) {
    Report::ReportTemplate summary = SearchSummary::makeTemplate();
    SearchSummary::fill(summary, QStringLiteral("Giulia"), lines);
    Report::writePdf(Report::prepare(summary), g_pdf);
}

// The summary of the first `lines` lines of the list: prepared and written as a PDF file.
void BM_SummaryPdf(benchmark::State& state) {
    const QStringList lines = g_lines.first(state.range(0));
    for (auto _ : state)
        printSummary(lines);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SummaryPdf)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->Repetitions(3);

// Everything from the click on search to the last sheet in the PDF file.
void BM_WholeSummary(benchmark::State& state) {
    for (auto _ : state) {
        ResultListModel list;
        list.setHits(CardSearch::run(g_archive, everyCard()));
        if (list.rowCount() != kCards)
            state.SkipWithError("the search did not list every card");
        printSummary(list.lines());
    }
}
BENCHMARK(BM_WholeSummary)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The export of the same book: the grid filled from the archive, then the file written and synced.
void BM_Export(benchmark::State& state) {
    runExport(state, g_archive);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    ProgramFolder::setPath(folder.path());
    g_pdf = QDir(folder.path()).filePath(QStringLiteral("riepilogo.pdf"));
    g_archive = Figures::dataFile(QStringLiteral("Centomila.wmn"));
    if (!BookGenerator::ensureArchive(g_archive, kCards)) {
        std::fputs("cannot write the generated book\n", stderr);
        return 1;
    }
    {
        ResultListModel list;
        list.setHits(CardSearch::run(g_archive, everyCard()));
        g_lines = list.lines();
        if (g_lines.size() != kCards) {
            std::fputs("the search did not list every card\n", stderr);
            return 1;
        }
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("summary print, 100,000 lines (prepare, write the PDF)",
                        reporter.ms("BM_SummaryPdf/100000"), "the same, 10,000 lines",
                        reporter.ms("BM_SummaryPdf/10000"), 12.0);
    Figures::printRatio("summary print of every card, 100,000 cards (search, prepare, PDF)",
                        reporter.ms("BM_WholeSummary"), "export of the same book", reporter.ms("BM_Export"),
                        3.0);
    return 0;
}
