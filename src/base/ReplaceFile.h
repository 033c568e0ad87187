// Files replaced whole (a card's photo, the export, the password store, an attached file): the new
// content goes to a temporary file beside the target, is made durable and only then takes the
// target's name, so a failure at any step leaves the earlier file exactly as it was. A target that is a
// link is replaced as a link: the folder entry takes the new file, and the file the link pointed to is
// left as it was. The whole layer is one replaceable entry point, so tests can make any single step
// fail and watch what the program does.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>

// One replacement in progress. Destroying it without a successful commit() leaves the target as it
// was and removes the temporary file.
class ReplaceFile {
public:
    virtual ~ReplaceFile() = default;
    // Starts the temporary file; false when it cannot be made.
    virtual bool open() = 0;
    // Appends bytes; true only when all of them were accepted by the disk.
    virtual bool write(QByteArrayView data) = 0;
    // Makes the content durable and puts it in place of the target; false when the target was left as
    // it was.
    virtual bool commit() = 0;
    // Drops the temporary file; the target is left as it was.
    virtual void cancel() = 0;
    // The system's words for the first failure, as seen at the step that failed.
    virtual QString errorString() const = 0;
};

class FileReplacer {
public:
    virtual ~FileReplacer() = default;
    // A replacement of the file at path; nothing is touched until open().
    virtual std::unique_ptr<ReplaceFile> replace(const QString& path) = 0;
};

// The replacer in use: the real one (a new file renamed over the target) unless a test installed another.
FileReplacer& fileReplacer();
// Installs a replacement (not owned); nullptr puts the real one back.
void setFileReplacer(FileReplacer* replacement);
// The real replacer, for replacements that wrap it.
FileReplacer& realFileReplacer();

// Replaces the file at path with the bytes; on failure the system's words go to error (when given).
bool replaceWhole(const QString& path, QByteArrayView content, QString* error = nullptr);
