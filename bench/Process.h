// Running another program and waiting for it, for figures that take a whole process.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace Process {

// Runs the program with the arguments, its output thrown away; returns the seconds it took from the
// start until it ended, or a negative number when it could not start or did not end with status 0.
// With `peakKb`, also the largest resident memory the process reached, in KiB.
inline double run(const QString& program, const QStringList& arguments, long* peakKb = nullptr) {
    std::vector<QByteArray> bytes;
    bytes.push_back(program.toLocal8Bit());
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return -1;
    if (peakKb)
        *peakKb = usage.ru_maxrss;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(end - start).count();
}

} // namespace Process
