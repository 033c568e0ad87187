// The spreadsheet export on a book of 100,000 cards: filling the grid from the archive, opening the
// export window (which fills it), and writing the export file; the whole export (fill and write)
// against what no export can beat, reading the same archive and finding two strings in every record
// with memmem, then writing as many bytes as the export file holds with a plain write loop and
// syncing them, in the same folder; and the memory the export takes against the archive's size.
#include "BookGenerator.h"
#include "ExportRun.h"
#include "Figures.h"
#include "ScanFloor.h"
#include "WriteFloor.h"
#include "base/ProgramFolder.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "output/windows/ExportWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <memory>

namespace {

constexpr int kCards = 100'000;

QString g_archive;
// The size of the export file of the book, known once it has been written.
long long g_exportBytes = 0;

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
        ExportWindow window;
        window.setArchivePath(g_archive);
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

void BM_ScanFloor(benchmark::State& state) {
    for (auto _ : state) {
        if (ScanFloor::recordsWithBoth(g_archive, "Rossi", "Venezia") < 0)
            state.SkipWithError("the archive could not be read");
    }
}
BENCHMARK(BM_ScanFloor)->Unit(benchmark::kMillisecond)->Repetitions(3);

// The export's floor: the raw scan of the archive, then the export's bytes written and synced beside
// the export file.
void BM_ExportFloor(benchmark::State& state) {
    const QString path = QDir(ProgramFolder::path()).filePath(QStringLiteral("floor.bin"));
    for (auto _ : state) {
        if (ScanFloor::recordsWithBoth(g_archive, "Rossi", "Venezia") < 0 ||
            !WriteFloor::writeAndSync(path, g_exportBytes))
            state.SkipWithError("the floor could not read or write");
    }
}
BENCHMARK(BM_ExportFloor)->Unit(benchmark::kMillisecond)->Repetitions(3);

// What the export does from the user's click on: the grid filled from the archive, then the file.
void BM_Export(benchmark::State& state) {
    runExport(state, g_archive);
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Repetitions(3);

// A line of /proc/self/status in bytes ("VmHWM", "VmRSS"), or -1.
double statusBytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toDouble() * 1024.0;
    }
    return -1;
}

// Clears the peak resident size, so VmHWM then tells the peak of what follows.
bool resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// The memory the filled grid keeps, and the peak resident growth while the whole export runs (the
// grid filled, the file written), in MB.
void BM_ExportMemory(benchmark::State& state) {
    double kept = 0;
    double peak = 0;
    const QString path = ProgramFolder::exportFile();
    for (auto _ : state) {
        malloc_trim(0);
        const bool peakKnown = resetPeak();
        const double rssBefore = statusBytes("VmRSS");
        auto grid = std::make_unique<CardGridModel>();
        grid->fill(g_archive);
        const double rssFilled = statusBytes("VmRSS");
        if (!ExportFile::write(path, *grid))
            state.SkipWithError("the export failed");
        kept = (rssFilled - rssBefore) / 1e6;
        peak = peakKnown ? (statusBytes("VmHWM") - rssBefore) / 1e6 : kept;
        if (grid->rowCount() != kCards)
            state.SkipWithError("the grid did not receive every card");
    }
    state.counters["kept_MB"] = kept;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_ExportMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    ProgramFolder::setPath(folder.path());
    g_archive = Figures::dataFile(QStringLiteral("Centomila.wmn"));
    if (!BookGenerator::ensureArchive(g_archive, kCards)) {
        std::fputs("cannot write the generated book\n", stderr);
        return 1;
    }
    {
        // The floor writes as many bytes as the export file holds.
        CardGridModel grid;
        if (!grid.fill(g_archive) || !ExportFile::write(ProgramFolder::exportFile(), grid)) {
            std::fputs("cannot export the generated book\n", stderr);
            return 1;
        }
        g_exportBytes = QFileInfo(ProgramFolder::exportFile()).size();
    }
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("export (fill the grid, write the file), 100,000 cards", reporter.ms("BM_Export"),
                        "memmem scan + write and fsync of as many bytes", reporter.ms("BM_ExportFloor"), 1.5);
    const double archiveMB = double(QFileInfo(g_archive).size()) / 1e6;
    Figures::printRatio("export peak memory (fill and write), 100,000 cards",
                        reporter.counter("BM_ExportMemory", "peak_MB"), "archive on disk", archiveMB, 1.0,
                        "MB");
    Figures::printRatio("export grid memory kept, 100,000 cards",
                        reporter.counter("BM_ExportMemory", "kept_MB"), "archive on disk", archiveMB, 1.0,
                        "MB");
    return 0;
}
