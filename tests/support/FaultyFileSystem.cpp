#include "FaultyFileSystem.h"

namespace {

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
    bool close() override { return m_real->close(); }
    QString errorString() const override {
        return QStringLiteral("Nessuno spazio disponibile sul dispositivo");
    }

private:
    std::unique_ptr<RecordFile> m_real;
    FaultyFileSystem::Fault m_fault;
};

} // namespace

FaultyFileSystem::FaultyFileSystem(Fault fault)
    : m_fault(fault) {
    setFileSystem(this);
}

FaultyFileSystem::~FaultyFileSystem() {
    setFileSystem(nullptr);
}

std::unique_ptr<RecordFile> FaultyFileSystem::openReadWrite(const QString& path, OpenError& error) {
    auto real = realFileSystem().openReadWrite(path, error);
    if (real && m_fault == Fault::OpenFails) {
        error.text = QStringLiteral("File bloccato da un altro programma");
        return nullptr;
    }
    return real ? std::make_unique<FaultyFile>(std::move(real), m_fault) : nullptr;
}

std::unique_ptr<RecordFile> FaultyFileSystem::createNew(const QString& path, OpenError& error) {
    ++creations;
    auto real = realFileSystem().createNew(path, error);
    return real ? std::make_unique<FaultyFile>(std::move(real), m_fault) : nullptr;
}
