#include "RecordFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

class PosixRecordFile final : public RecordFile {
public:
    explicit PosixRecordFile(int fd)
        : m_fd(fd) {}
    ~PosixRecordFile() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    qint64 size() override {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            return fail();
        return st.st_size;
    }

    qint64 readAt(qint64 offset, char* data, qint64 n) override {
        qint64 done = 0;
        while (done < n) {
            const ssize_t got = ::pread(m_fd, data + done, size_t(n - done), off_t(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return fail();
            if (got == 0)
                break;
            done += got;
        }
        return done;
    }

    qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
        qint64 done = 0;
        while (done < n) {
            const ssize_t put = ::pwrite(m_fd, data + done, size_t(n - done), off_t(offset + done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                const qint64 failed = fail();
                return done > 0 ? done : failed;
            }
            if (put == 0)
                break;
            done += put;
        }
        return done;
    }

    bool sync() override {
        if (::fdatasync(m_fd) == 0)
            return true;
        fail();
        return false;
    }

    bool close() override {
        const int fd = m_fd;
        m_fd = -1;
        if (fd < 0 || ::close(fd) == 0)
            return true;
        fail();
        return false;
    }

    QString errorString() const override { return m_error; }

private:
    qint64 fail() {
        m_error = systemError(errno);
        return -1;
    }

    int m_fd;
    QString m_error;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override {
        return open(path, O_RDWR | O_CLOEXEC, error);
    }
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override {
        return open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, error);
    }

private:
    static std::unique_ptr<RecordFile> open(const QString& path, int flags, OpenError& error) {
        const QByteArray name = QFile::encodeName(path);
        int fd;
        do {
            fd = ::open(name.constData(), flags, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            error.missing = (errno == ENOENT);
            error.text = systemError(errno);
            return nullptr;
        }
        return std::make_unique<PosixRecordFile>(fd);
    }
};

FileSystem* g_replacement = nullptr;

} // namespace

FileSystem& realFileSystem() {
    static PosixFileSystem real;
    return real;
}

FileSystem& fileSystem() {
    return g_replacement ? *g_replacement : realFileSystem();
}

void setFileSystem(FileSystem* replacement) {
    g_replacement = replacement;
}
