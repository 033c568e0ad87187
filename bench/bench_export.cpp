// The spreadsheet export on a book of 100,000 cards: filling the grid from the archive, opening the
// export window (which fills it), and writing the export file; the whole export (fill and write)
// against reading the same archive and finding two strings in every record with memmem; and the
// memory the filled grid takes against the archive's size on disk.
#include "BookGenerator.h"
#include "Figures.h"
#include "ScanFloor.h"
#include "base/ProgramFolder.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "output/windows/ExpBookZudid.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>

namespace {

constexpr int kCards = 100'000;

QString g_archive;

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
        TfrmExpBookZudid window;
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

// What the export does from the user's click on: the grid filled from the archive, then the file.
void BM_Export(benchmark::State& state) {
    const QString path = ProgramFolder::exportFile();
    for (auto _ : state) {
        CardGridModel grid;
        if (!grid.fill(g_archive) || !ExportFile::write(path, grid))
            state.SkipWithError("the export failed");
    }
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Repetitions(3);

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

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

// The heap the filled grid keeps, and the peak resident growth while it fills, in MB.
void BM_GridMemory(benchmark::State& state) {
    double kept = 0;
    double peak = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const bool peakKnown = resetPeak();
        const double rssBefore = statusBytes("VmRSS");
        const std::size_t heapBefore = heapInUse();
        auto grid = std::make_unique<CardGridModel>();
        grid->fill(g_archive);
        const std::size_t heapAfter = heapInUse();
        kept = double(heapAfter - heapBefore) / 1e6;
        peak = peakKnown ? (statusBytes("VmHWM") - rssBefore) / 1e6 : kept;
        if (grid->rowCount() != kCards)
            state.SkipWithError("the grid did not receive every card");
    }
    state.counters["kept_MB"] = kept;
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_GridMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

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
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printMachine();
    Figures::printRatio("export (fill the grid, write the file), 100,000 cards", reporter.ms("BM_Export"),
                        "memmem scan", reporter.ms("BM_ScanFloor"), 3.0);
    const double archiveMB = double(QFileInfo(g_archive).size()) / 1e6;
    Figures::printRatio("export grid peak memory, 100,000 cards",
                        reporter.counter("BM_GridMemory", "peak_MB"), "archive on disk", archiveMB, 1.0,
                        "MB");
    Figures::printRatio("export grid memory kept, 100,000 cards",
                        reporter.counter("BM_GridMemory", "kept_MB"), "archive on disk", archiveMB, 1.0,
                        "MB");
    return 0;
}
