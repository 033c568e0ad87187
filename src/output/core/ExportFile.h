// The spreadsheet export file: an HTML document with the office suite's worksheet markup, one table
// row per grid row, on a single line in Windows-1252. The file is written whole to a temporary file
// and only then put in place of the previous one, so a failed export leaves the previous file as it was.
#pragma once

#include "output/core/OutputProgress.h"

#include <QByteArray>
#include <QString>

class CardGridModel;

namespace ExportFile {

// Everything the file holds before the first data row: the document's head and the header row.
QByteArray header();
// Everything after the last data row.
QByteArray closing();

// Writes the export of every row of the grid to the file at path: after the header, one data row for
// each grid row, its twelve text columns as cells (the position column left out), then the closing. In
// a cell "&" is written as "&amp;", "<" as "&lt;", and a byte that is no text in Windows-1252 (a
// control code other than tab and the line breaks, or one of the five undefined codes) as a reference
// to the replacement character U+FFFD. On failure returns false with the system's words in error, and
// whatever was at path before is left untouched.
bool write(const QString& path, const CardGridModel& grid, QString* error = nullptr);

// How a write that can be stopped ended.
enum class Result {
    Written,
    Failed,    // the reason in error, whatever was at path as it was
    Cancelled, // the progress callback stopped it: no file, whatever was at path as it was
};
// The same write, telling `progress` after each row how many rows are written of the grid's rows.
Result write(const QString& path, const CardGridModel& grid, const Output::Progress& progress,
             QString* error = nullptr);

} // namespace ExportFile
