// What every benchmark program of Lumivera shares: the generated data folder, and the report that
// prints each figure beside its floor. A figure and its floor are measured in the same run; with
// repetitions, the fastest repetition of each stands for it, as the one least disturbed by the other
// work of the machine.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <thread>

namespace Figures {

// The folder the generated books and photos live in between runs: "data" beside the benchmark
// programs' folder (build/bench/data), or LUMIVERA_BENCH_DATA when set.
inline QString dataFolder() {
    QString folder = qEnvironmentVariable("LUMIVERA_BENCH_DATA");
    if (folder.isEmpty())
        folder = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../data"));
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

inline QString dataFile(const QString& name) {
    return QDir(dataFolder()).filePath(name);
}

// Passes every run to the console and keeps, for each benchmark, its fastest time per iteration in
// milliseconds and its counters.
class Reporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            const double ms = run.real_accumulated_time / double(run.iterations) * 1e3;
            auto found = m_ms.find(name);
            if (found == m_ms.end() || ms < found->second)
                m_ms[name] = ms;
            for (const auto& [counter, value] : run.counters) {
                auto& kept = m_counters[name + "/" + counter];
                if (kept == 0 || value.value < kept)
                    kept = value.value;
            }
        }
    }

    // The fastest time of a benchmark in ms, or a negative number when it did not run.
    double ms(const std::string& name) const {
        const auto found = m_ms.find(name);
        return found == m_ms.end() ? -1.0 : found->second;
    }
    double counter(const std::string& name, const std::string& counter) const {
        const auto found = m_counters.find(name + "/" + counter);
        return found == m_counters.end() ? -1.0 : found->second;
    }

private:
    std::map<std::string, double> m_ms;
    std::map<std::string, double> m_counters;
};

// Prints "<figure>: 0.041 ms; floor (<floor>) 0.039 ms; ratio 1.05 (target <= 1.2) ok" and returns
// whether the target is met (a figure that did not run counts as met, so a filtered run passes).
inline bool printRatio(const char* figure, double figureValue, const char* floor, double floorValue,
                       double target, const char* unit = "ms") {
    if (figureValue < 0 || floorValue <= 0)
        return true;
    const double ratio = figureValue / floorValue;
    const bool met = ratio <= target;
    std::printf("%s: %.3f %s; floor (%s) %.3f %s; ratio %.2f (target <= %.1f) %s\n", figure, figureValue,
                unit, floor, floorValue, unit, ratio, target, met ? "ok" : "MISSED");
    return met;
}

// Runs the registered benchmarks with the given reporter after the usual command-line handling, then
// prints the line that heads the figures.
inline bool run(int& argc, char** argv, Reporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("-- %u cores; ratios compare each figure with its floor measured in the same run --\n",
                std::thread::hardware_concurrency());
    std::fflush(stdout);
    return true;
}

} // namespace Figures
