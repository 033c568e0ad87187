// The export as the user starts it, for the figures that compare with it: the grid filled from the
// archive, then the export file written and synced.
#pragma once

#include "base/ProgramFolder.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"

#include <benchmark/benchmark.h>

inline void runExport(benchmark::State& state, const QString& archive) {
    const QString path = ProgramFolder::exportFile();
    for (auto _ : state) {
        CardGridModel grid;
        if (!grid.fill(archive) || !ExportFile::write(path, grid))
            state.SkipWithError("the export failed");
    }
}
