// The command line of the lumivera executable, for scripts and batch work on the books of the program
// folder: export, a whole book as a PDF portfolio, a contact sheet, and a check of a book. It opens no
// window and asks no password: it works on files the user already holds.
#pragma once

#include <QStringList>

namespace CommandLine {

// Runs the command the arguments name (the program's name first) and returns the exit status: 0 done,
// 1 failed or, for a check, something found, 2 a command or option not understood.
int run(const QStringList& arguments);

} // namespace CommandLine
