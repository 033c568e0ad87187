// The JPEG library's own decoder (djpeg) on a photo, the floor the photo figures are measured against:
// each iteration's time is the whole djpeg process, its output thrown away.
#pragma once

#include "Process.h"

#include <benchmark/benchmark.h>

inline void timeDjpeg(benchmark::State& state, const QString& photo, const QStringList& scale) {
    for (auto _ : state) {
        const double seconds =
            Process::run(QStringLiteral(LUMIVERA_DJPEG),
                         scale + QStringList{QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo});
        if (seconds < 0) {
            state.SkipWithError("djpeg failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
