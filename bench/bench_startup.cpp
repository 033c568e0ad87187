// Start-up until the first window is shown, whole process and offscreen: Lumivera (its login window
// made and shown) against a program that shows one bare Qt window.
#include "Figures.h"
#include "Process.h"

#include <QCoreApplication>

namespace {

void startUp(benchmark::State& state, const QString& program) {
    for (auto _ : state) {
        const double seconds = Process::run(program, {});
        if (seconds < 0) {
            state.SkipWithError("the program did not start and end cleanly");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_StartBareWindow(benchmark::State& state) {
    startUp(state, QStringLiteral(LUMIVERA_BARE_WINDOW));
}
void BM_StartLumivera(benchmark::State& state) {
    startUp(state, QStringLiteral(LUMIVERA_FIRST_WINDOW));
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);
BENCHMARK(BM_StartLumivera)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    Figures::Reporter reporter;
    if (!Figures::run(argc, argv, reporter))
        return 1;
    Figures::printRatio("start-up to the first window shown", reporter.ms("BM_StartLumivera"),
                        "bare Qt window", reporter.ms("BM_StartBareWindow"), 1.5);
    return 0;
}
