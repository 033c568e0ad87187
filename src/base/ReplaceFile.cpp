#include "base/ReplaceFile.h"

#include <QSaveFile>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace {

class SaveFile final : public ReplaceFile {
public:
    explicit SaveFile(const QString& path)
        : m_file(path) {}
    ~SaveFile() override {
        if (m_file.isOpen())
            m_file.cancelWriting();
    }

    bool open() override {
        if (m_file.open(QIODevice::WriteOnly))
            return true;
        return failed(m_file.errorString());
    }

    bool write(QByteArrayView data) override {
        if (!m_error.isEmpty() || !m_file.isOpen())
            return false;
        // A buffered write may accept bytes the disk then refuses: only the flush tells.
        if (m_file.write(data.data(), data.size()) != data.size() || !m_file.flush())
            return failed(m_file.errorString());
        startWriteBack(data.size());
        return true;
    }

    bool commit() override {
        if (!m_error.isEmpty() || !m_file.isOpen()) {
            cancel();
            return false;
        }
        if (!m_file.flush())
            return failed(m_file.errorString());
        // After a failed commit QSaveFile only says "Unknown error"; the system's own code is still
        // the one left by the step that failed (the sync or the rename).
        errno = 0;
        if (m_file.commit())
            return true;
        const int code = errno;
        m_error = code != 0 ? qt_error_string(code) : m_file.errorString();
        return false;
    }

    void cancel() override {
        if (m_file.isOpen())
            m_file.cancelWriting();
    }

    QString errorString() const override { return m_error; }

private:
    // Asks the system to start putting the bytes just written on the disk, without waiting for them,
    // so a large file goes to the disk while the rest of it is being made and the sync at commit has
    // little left to wait for.
    void startWriteBack(qint64 size) {
#ifdef Q_OS_LINUX
        if (m_file.handle() >= 0)
            ::sync_file_range(m_file.handle(), m_written, size, SYNC_FILE_RANGE_WRITE);
#endif
        m_written += size;
    }

    bool failed(const QString& why) {
        if (m_error.isEmpty())
            m_error = why.isEmpty() ? QStringLiteral("errore sconosciuto") : why;
        cancel();
        return false;
    }

    QSaveFile m_file;
    QString m_error;
    qint64 m_written = 0;
};

class SaveFileReplacer final : public FileReplacer {
public:
    std::unique_ptr<ReplaceFile> replace(const QString& path) override {
        return std::make_unique<SaveFile>(path);
    }
};

FileReplacer* g_replacement = nullptr;

} // namespace

FileReplacer& realFileReplacer() {
    static SaveFileReplacer real;
    return real;
}

FileReplacer& fileReplacer() {
    return g_replacement ? *g_replacement : realFileReplacer();
}

void setFileReplacer(FileReplacer* replacement) {
    g_replacement = replacement;
}

bool replaceWhole(const QString& path, QByteArrayView content, QString* error) {
    const std::unique_ptr<ReplaceFile> file = fileReplacer().replace(path);
    const bool done = file->open() && file->write(content) && file->commit();
    if (!done) {
        if (error)
            *error = file->errorString();
        file->cancel();
    }
    return done;
}
