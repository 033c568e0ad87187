// The files a test starts from and what the program wrote to disk.
#pragma once

#include "archive/core/TScheda.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The whole content of a file, or nothing when it cannot be read.
QByteArray readFile(const QString& path);

// Writes the whole content, making the folders on the way; false when any of it fails.
bool writeFile(const QString& path, const QByteArray& content);

// Every name in a folder, hidden ones included.
QStringList entriesOf(const QString& folder);

// The bytes of an archive that holds these cards in this order.
QByteArray archiveOf(const QList<TScheda>& cards);

// The text of a PDF file as pdftotext lays it out, or nothing when it cannot be read.
QString pdfText(const QString& pdf);

// A scratch folder made the program's folder for one test; check isValid() before use.
std::unique_ptr<QTemporaryDir> scratchProgramFolder();

// A plain picture of one colour as a JPEG file's bytes (quality -1: the encoder's own).
QByteArray jpeg(QSize size, QColor colour, int quality = -1);

// The JPEG with its frame header claiming another size than the data it holds.
QByteArray withDeclaredSize(QByteArray bytes, QSize declared);

// The JPEG with an EXIF orientation tag: 6 means the stored picture must be turned 90 degrees
// clockwise.
QByteArray withOrientation(const QByteArray& bytes, quint16 orientation);
