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
    // Cuts the file to the given size (only ever to drop the bytes of an incomplete last record);
    // false when the system could not. A file layer that cannot cut files says so.
    virtual bool truncate(qint64 size);
    virtual bool close() = 0;
    // The system's words for the last failure.
    virtual QString errorString() const = 0;
};

// An exclusive lock on a file, held until the object is destroyed. The system drops it by itself when
// the process that holds it ends, however it ends, so a crashed program never leaves a book locked.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    struct OpenError {
        bool missing = false; // nothing exists at the path
        bool busy = false;    // another holder has the lock (tryLockExclusive)
        QString text;
    };
    virtual ~FileSystem() = default;
    // Opens an existing file for reading and writing; never creates or truncates.
    virtual std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) = 0;
    // Creates a new empty file; fails when anything already exists at the path.
    virtual std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) = 0;

    // The operations below work on the real file system unless a replacement overrides them.

    // Opens an existing file for reading only.
    virtual std::unique_ptr<RecordFile> openReadOnly(const QString& path, OpenError& error);

    // Takes an exclusive lock on the existing file at the path, waiting while another holder (this
    // process or another one, on this machine or on another that shares the folder) has it. Readers
    // that take no lock are not held up. nullptr on failure.
    virtual std::unique_ptr<FileLock> lockExclusive(const QString& path, OpenError& error);
    // Takes the lock as lockExclusive does, but never waits: nullptr with error.busy set when another
    // holder has it.
    virtual std::unique_ptr<FileLock> tryLockExclusive(const QString& path, OpenError& error);
    // Gives a file another name in the same folder; the new name must be free.
    virtual bool rename(const QString& from, const QString& to, QString& error);
    // Removes the file at the path; true when it is gone (or was never there).
    virtual bool remove(const QString& path, QString& error);
    // Makes the creations and removals of files in the folder durable.
    virtual bool syncFolder(const QString& folder, QString& error);
};

// The file system in use: the real one unless a test installed another.
FileSystem& fileSystem();
// Installs a replacement (not owned); nullptr puts the real one back.
void setFileSystem(FileSystem* replacement);
// The real file system, for replacements that wrap it.
FileSystem& realFileSystem();
