// Fault injection under the file seams, installed while it lives.
//
// FaultyFileSystem stands under the archive. Made with a Fault, every file it opens shows that one
// kind of fault for the whole run. Made with a position and a Kind, it counts every operation (open,
// create, size, read, write, sync, close, lock, remove, folder sync) and fails exactly that one, so a
// test can run an operation once cleanly, read how many steps it took, and then fail each step in turn.
//
// FaultyReplacer does the same under the files replaced whole (open, each write, commit).
#pragma once

#include "archive/core/RecordFile.h"
#include "base/ReplaceFile.h"

class FaultyFileSystem final : public FileSystem {
public:
    enum class Fault {
        None,
        OpenFails,  // an existing file cannot be opened (locked, refused)
        WriteError, // the write fails outright
        ShortWrite, // only part of the record reaches the file, then the disk is full
        SyncFails,  // the data was accepted but the disk could not make it durable
        ReadError,
        ReadOnlyDisk, // nothing can be opened for writing, created or locked; reading works
    };
    // How the chosen operation fails.
    enum class Kind {
        Error,      // the system refuses the step (an I/O error); nothing is written
        ShortWrite, // a write takes only part of the data and says so; a read gives only part
        DiskFull,   // a write puts part of the data on the disk, then fails for want of space
        Crash,      // the program dies at that step (SIGKILL), as a crash or a power cut stops it
    };

    explicit FaultyFileSystem(Fault fault);
    // Fails the failAt-th operation (from 1) with the kind; 0 fails none and only counts.
    FaultyFileSystem(int failAt, Kind kind);
    ~FaultyFileSystem() override;

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override;
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override;
    std::unique_ptr<RecordFile> openReadOnly(const QString& path, OpenError& error) override;
    std::unique_ptr<FileLock> lockExclusive(const QString& path, OpenError& error) override;
    bool remove(const QString& path, QString& error) override;
    bool syncFolder(const QString& folder, QString& error) override;

    int creations = 0;
    // The operations counted so far.
    int operations() const { return m_operations; }
    // True once the chosen operation was reached and failed.
    bool struck() const { return m_struck; }

    // Counts one operation; true when it is the one to fail. A crash never returns.
    bool strike();
    // True when the next operation is the one to crash at.
    bool crashesNext() const { return m_kind == Kind::Crash && m_operations + 1 == m_failAt; }
    Fault fault() const { return m_fault; }
    Kind kind() const { return m_kind; }
    // The system's words for the chosen kind.
    QString faultText() const;

private:
    Fault m_fault = Fault::None;
    Kind m_kind = Kind::Error;
    int m_failAt = 0;
    int m_operations = 0;
    bool m_struck = false;
};

class FaultyReplacer final : public FileReplacer {
public:
    // Fails the failAt-th operation (from 1) with the kind; 0 fails none and only counts.
    FaultyReplacer(int failAt, FaultyFileSystem::Kind kind);
    ~FaultyReplacer() override;

    std::unique_ptr<ReplaceFile> replace(const QString& path) override;

    int operations() const { return m_operations; }
    bool struck() const { return m_struck; }
    bool strike();
    bool crashesNext() const {
        return m_kind == FaultyFileSystem::Kind::Crash && m_operations + 1 == m_failAt;
    }
    FaultyFileSystem::Kind kind() const { return m_kind; }

private:
    FaultyFileSystem::Kind m_kind;
    int m_failAt;
    int m_operations = 0;
    bool m_struck = false;
};
