// The real file system with one kind of fault injected, installed while it lives.
#pragma once

#include "RecordFile.h"

class FaultyFileSystem final : public FileSystem {
public:
    enum class Fault {
        None,
        OpenFails,  // an existing file cannot be opened (locked, refused)
        WriteError, // the write fails outright
        ShortWrite, // only part of the record reaches the file, then the disk is full
        SyncFails,  // the data was accepted but the disk could not make it durable
        ReadError,
    };

    explicit FaultyFileSystem(Fault fault);
    ~FaultyFileSystem() override;

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override;
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override;

    int creations = 0;

private:
    Fault m_fault;
};
