// The command line of the lumivera executable, for scripts and batch work on the books of the program
// folder: export, a whole book as a PDF portfolio, a contact sheet, and a check of a book. It opens no
// window and asks no password: it works on files the user already holds.
#pragma once

#include <QStringList>

#include <functional>

namespace CommandLine {

// Where a command writes: its results, its messages and progress, and whether the latter is a
// terminal (progress is shown only there).
struct Console {
    std::function<void(const QString&)> output;
    std::function<void(const QString&)> error;
    bool errorIsTerminal = false;
};

// Runs the command the arguments name (the program's name first) and returns the exit status: 0 done,
// 1 failed or, for a check, something found, 2 a command or option not understood.
int run(const QStringList& arguments, const Console& console);
// The same on the process's standard output and standard error.
int run(const QStringList& arguments);

} // namespace CommandLine
