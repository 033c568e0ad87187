// The spreadsheet export on a book of 100,000 cards: filling the grid from the archive, opening the
// export window (which fills it), and writing the export file. The book is generated in a temporary
// folder before the measurements start.
#include "BookZudid.h"
#include "CardGridModel.h"
#include "ExpBookZudid.h"
#include "ExportFile.h"
#include "ProgramFolder.h"
#include "TScheda.h"
#include "WindowSet.h"
#include "Windows.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kCards = 100000;

QString g_archive;

// A book whose cards carry texts of the lengths a real book has.
bool writeBook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    for (int n = 1; n <= kCards; ++n) {
        TScheda card;
        card.setField(TScheda::Titolo, QStringLiteral("Servizio in esterno n. %1 & <ritratti>").arg(n));
        card.setField(TScheda::Descrizione,
                      QStringLiteral("Primo piano con luce naturale, sfondo sfocato, scatto %1").arg(n));
        card.setField(TScheda::Data, QStringLiteral("%1/03/2024").arg(n % 28 + 1, 2, 10, QLatin1Char('0')));
        card.setField(TScheda::Location, QStringLiteral("Città di Venezia"));
        card.setField(TScheda::Fotografo, QStringLiteral("Marco Rossi"));
        card.setField(TScheda::Fotocamera, QStringLiteral("Nikon D850"));
        card.setField(TScheda::Fotoritocco, QStringLiteral("Leggero, solo pelle e colore"));
        card.setField(TScheda::Abiti, QStringLiteral("Abito lungo rosso"));
        card.setField(TScheda::Accessori, QStringLiteral("Orecchini di perle"));
        card.setField(TScheda::Trucco, QStringLiteral("Naturale"));
        card.setField(TScheda::Giudizio, QStringLiteral("Ottima"));
        card.setField(TScheda::Note, QStringLiteral("Da proporre all'agenzia"));
        chunk.append(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
        if (chunk.size() >= (8 << 20) || n == kCards) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.flush();
}

void BM_FillGrid(benchmark::State& state) {
    for (auto _ : state) {
        CardGridModel grid;
        benchmark::DoNotOptimize(grid.fill(g_archive));
        if (grid.rowCount() != kCards)
            state.SkipWithError("the grid did not receive every card");
    }
    state.SetItemsProcessed(state.iterations() * kCards);
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond);

void BM_OpenExportWindow(benchmark::State& state) {
    for (auto _ : state) {
        TfrmExpBookZudid window(Windows::frmBookZudid);
        window.show();
        QApplication::processEvents();
        if (window.grid()->rowCount() != kCards)
            state.SkipWithError("the window did not show every card");
        window.close();
    }
}
BENCHMARK(BM_OpenExportWindow)->Unit(benchmark::kMillisecond);

void BM_WriteExportFile(benchmark::State& state) {
    CardGridModel grid;
    grid.fill(g_archive);
    const QString path = ProgramFolder::exportFile();
    for (auto _ : state) {
        if (!ExportFile::write(path, grid))
            state.SkipWithError("the export file could not be written");
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_WriteExportFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    ProgramFolder::setPath(folder.path());
    g_archive = ProgramFolder::archiveOf(QStringLiteral("Grande"));
    if (!writeBook(g_archive)) {
        std::fputs("cannot write the generated book\n", stderr);
        return 1;
    }
    WindowSet windows;
    Windows::frmBookZudid->openBook(QStringLiteral("Grande"), g_archive);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
