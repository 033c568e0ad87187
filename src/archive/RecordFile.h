// The file layer under the archive: a file read and written at byte offsets, with errors reported
// exactly as the system gives them. The whole layer is one replaceable entry point, so tests can make
// any single operation fail (an error, a short write, a full disk) and watch what the program does.
#pragma once

#include <QString>

#include <memory>

class RecordFile {
public:
    virtual ~RecordFile() = default;
    // The file's size in bytes, or -1.
    virtual qint64 size() = 0;
    // Reads up to n bytes at offset; returns the bytes read (fewer at the end of the file) or -1.
    virtual qint64 readAt(qint64 offset, char* data, qint64 n) = 0;
    // Writes n bytes at offset; returns the bytes written (fewer when the disk refused the rest) or -1.
    virtual qint64 writeAt(qint64 offset, const char* data, qint64 n) = 0;
    // Makes what was written durable; false when the system could not.
    virtual bool sync() = 0;
    virtual bool close() = 0;
    // The system's words for the last failure.
    virtual QString errorString() const = 0;
};

class FileSystem {
public:
    struct OpenError {
        bool missing = false; // nothing exists at the path
        QString text;
    };
    virtual ~FileSystem() = default;
    // Opens an existing file for reading and writing; never creates or truncates.
    virtual std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) = 0;
    // Creates a new empty file; fails when anything already exists at the path.
    virtual std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) = 0;
};

// The file system in use: the real one unless a test installed another.
FileSystem& fileSystem();
// Installs a replacement (not owned); nullptr puts the real one back.
void setFileSystem(FileSystem* replacement);
// The real file system, for replacements that wrap it.
FileSystem& realFileSystem();
