#include "FaultyFileSystem.h"

#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

using Kind = FaultyFileSystem::Kind;

QString systemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QString textOf(Kind kind) {
    return systemText(kind == Kind::Error ? EIO : ENOSPC);
}

// The files of a FaultyFileSystem made with a Fault: that fault on every call.
class FaultyFile final : public RecordFile {
public:
    FaultyFile(std::unique_ptr<RecordFile> real, FaultyFileSystem::Fault fault)
        : m_real(std::move(real))
        , m_fault(fault) {}
    qint64 size() override { return m_real->size(); }
    qint64 readAt(qint64 offset, char* data, qint64 n) override {
        if (m_fault == FaultyFileSystem::Fault::ReadError)
            return -1;
        return m_real->readAt(offset, data, n);
    }
    qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
        switch (m_fault) {
        case FaultyFileSystem::Fault::WriteError:
            return -1;
        case FaultyFileSystem::Fault::ShortWrite:
            return m_real->writeAt(offset, data, n / 2);
        default:
            return m_real->writeAt(offset, data, n);
        }
    }
    bool sync() override { return m_fault != FaultyFileSystem::Fault::SyncFails && m_real->sync(); }
    bool truncate(qint64 size) override { return m_real->truncate(size); }
    bool close() override { return m_real->close(); }
    QString errorString() const override {
        return QStringLiteral("Nessuno spazio disponibile sul dispositivo");
    }

private:
    std::unique_ptr<RecordFile> m_real;
    FaultyFileSystem::Fault m_fault;
};

// The files of a counting FaultyFileSystem: every call is one operation, and the chosen one fails.
class CountedFile final : public RecordFile {
public:
    CountedFile(std::unique_ptr<RecordFile> real, FaultyFileSystem& owner)
        : m_real(std::move(real))
        , m_owner(owner) {}

    qint64 size() override {
        if (m_owner.strike())
            return fail();
        return m_real->size();
    }
    qint64 readAt(qint64 offset, char* data, qint64 n) override {
        if (!m_owner.strike())
            return m_real->readAt(offset, data, n);
        if (m_owner.kind() == Kind::ShortWrite)
            return m_real->readAt(offset, data, n / 2);
        return fail();
    }
    qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
        if (m_owner.crashesNext())
            m_real->writeAt(offset, data, n / 2); // torn: part of it reached the disk
        if (!m_owner.strike())
            return m_real->writeAt(offset, data, n);
        switch (m_owner.kind()) {
        case Kind::Error:
            return fail();
        case Kind::ShortWrite:
            m_error = m_owner.faultText();
            return m_real->writeAt(offset, data, n / 2);
        case Kind::DiskFull:
            m_real->writeAt(offset, data, n / 2);
            return fail();
        case Kind::Crash:
            break;
        }
        return fail();
    }
    bool sync() override {
        if (m_owner.strike())
            return fail() == 0;
        return m_real->sync();
    }
    bool truncate(qint64 size) override {
        if (m_owner.strike())
            return fail() == 0;
        return m_real->truncate(size);
    }
    bool close() override {
        if (m_owner.strike()) {
            m_real->close(); // the descriptor is gone either way, as with the system's close
            return fail() == 0;
        }
        return m_real->close();
    }
    QString errorString() const override { return m_error.isEmpty() ? m_real->errorString() : m_error; }

private:
    qint64 fail() {
        m_error = m_owner.faultText();
        return -1;
    }

    std::unique_ptr<RecordFile> m_real;
    FaultyFileSystem& m_owner;
    QString m_error;
};

class CountedReplaceFile final : public ReplaceFile {
public:
    CountedReplaceFile(std::unique_ptr<ReplaceFile> real, FaultyReplacer& owner)
        : m_real(std::move(real))
        , m_owner(owner) {}

    bool open() override {
        if (m_owner.strike())
            return fail();
        return m_real->open();
    }
    bool write(QByteArrayView data) override {
        if (m_owner.crashesNext())
            m_real->write(data.first(data.size() / 2));
        if (!m_owner.strike())
            return m_real->write(data);
        if (m_owner.kind() != Kind::Error)
            m_real->write(data.first(data.size() / 2)); // part of it reaches the temporary file
        return fail();
    }
    bool commit() override {
        if (m_owner.strike())
            return fail();
        return m_real->commit();
    }
    void cancel() override { m_real->cancel(); }
    QString errorString() const override { return m_error.isEmpty() ? m_real->errorString() : m_error; }

private:
    bool fail() {
        m_error = textOf(m_owner.kind());
        m_real->cancel();
        return false;
    }

    std::unique_ptr<ReplaceFile> m_real;
    FaultyReplacer& m_owner;
    QString m_error;
};

} // namespace

FaultyFileSystem::FaultyFileSystem(Fault fault)
    : m_fault(fault) {
    setFileSystem(this);
}

FaultyFileSystem::FaultyFileSystem(int failAt, Kind kind)
    : m_kind(kind)
    , m_failAt(failAt) {
    setFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() {
    setFileSystem(nullptr);
}

bool FaultyFileSystem::strike() {
    if (m_fault != Fault::None)
        return false;
    ++m_operations;
    if (m_operations != m_failAt)
        return false;
    if (m_kind == Kind::Crash)
        ::raise(SIGKILL);
    m_struck = true;
    return true;
}

QString FaultyFileSystem::faultText() const {
    return textOf(m_kind);
}

std::unique_ptr<RecordFile> FaultyFileSystem::openReadWrite(const QString& path, OpenError& error) {
    if (strike()) {
        error.text = faultText();
        return nullptr;
    }
    if (m_fault == Fault::ReadOnlyDisk) {
        error.text = systemText(EROFS);
        return nullptr;
    }
    auto real = realFileSystem().openReadWrite(path, error);
    if (real && m_fault == Fault::OpenFails) {
        error.text = QStringLiteral("File bloccato da un altro programma");
        return nullptr;
    }
    if (!real)
        return nullptr;
    if (m_fault == Fault::None)
        return std::make_unique<CountedFile>(std::move(real), *this);
    return std::make_unique<FaultyFile>(std::move(real), m_fault);
}

std::unique_ptr<RecordFile> FaultyFileSystem::createNew(const QString& path, OpenError& error) {
    ++creations;
    if (strike()) {
        error.text = faultText();
        return nullptr;
    }
    if (m_fault == Fault::ReadOnlyDisk) {
        error.text = systemText(EROFS);
        return nullptr;
    }
    auto real = realFileSystem().createNew(path, error);
    if (!real)
        return nullptr;
    if (m_fault == Fault::None)
        return std::make_unique<CountedFile>(std::move(real), *this);
    return std::make_unique<FaultyFile>(std::move(real), m_fault);
}

std::unique_ptr<RecordFile> FaultyFileSystem::openReadOnly(const QString& path, OpenError& error) {
    if (strike()) {
        error.text = faultText();
        return nullptr;
    }
    auto real = realFileSystem().openReadOnly(path, error);
    if (real && m_fault == Fault::OpenFails) {
        error.text = QStringLiteral("File bloccato da un altro programma");
        return nullptr;
    }
    if (!real)
        return nullptr;
    if (m_fault == Fault::None || m_fault == Fault::ReadOnlyDisk)
        return std::make_unique<CountedFile>(std::move(real), *this);
    return std::make_unique<FaultyFile>(std::move(real), m_fault);
}

std::unique_ptr<FileLock> FaultyFileSystem::lockExclusive(const QString& path, OpenError& error) {
    if (strike()) {
        error.text = faultText();
        return nullptr;
    }
    if (m_fault == Fault::ReadOnlyDisk) {
        error.text = systemText(EROFS);
        return nullptr;
    }
    return realFileSystem().lockExclusive(path, error);
}

bool FaultyFileSystem::remove(const QString& path, QString& error) {
    if (strike()) {
        error = faultText();
        return false;
    }
    return realFileSystem().remove(path, error);
}

bool FaultyFileSystem::syncFolder(const QString& folder, QString& error) {
    if (strike()) {
        error = faultText();
        return false;
    }
    return realFileSystem().syncFolder(folder, error);
}

FaultyReplacer::FaultyReplacer(int failAt, FaultyFileSystem::Kind kind)
    : m_kind(kind)
    , m_failAt(failAt) {
    setFileReplacer(this);
}

FaultyReplacer::~FaultyReplacer() {
    setFileReplacer(nullptr);
}

bool FaultyReplacer::strike() {
    ++m_operations;
    if (m_operations != m_failAt)
        return false;
    if (m_kind == Kind::Crash)
        ::raise(SIGKILL);
    m_struck = true;
    return true;
}

std::unique_ptr<ReplaceFile> FaultyReplacer::replace(const QString& path) {
    return std::make_unique<CountedReplaceFile>(realFileReplacer().replace(path), *this);
}
