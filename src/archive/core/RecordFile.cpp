#include "archive/core/RecordFile.h"

#include "base/Replaceable.h"
#include "base/SystemText.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int code) {
    return SystemText::ofCode(code);
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

    bool truncate(qint64 length) override {
        int result;
        do {
            result = ::ftruncate(m_fd, off_t(length));
        } while (result != 0 && errno == EINTR);
        if (result == 0)
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

int openRetrying(const QByteArray& name, int flags) {
    int fd;
    do {
        fd = ::open(name.constData(), flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The lock lives on a descriptor of its own. An open-file-description lock belongs to that descriptor
// alone: closing another descriptor of the same file (the archive's own) does not drop it, unlike a
// classic per-process record lock, and two descriptors in one process exclude each other.
class DescriptorLock final : public FileLock {
public:
    explicit DescriptorLock(int fd)
        : m_fd(fd) {}
    ~DescriptorLock() override { ::close(m_fd); }

private:
    int m_fd;
};

// Waits for the lock, or with `wait` false tries once (errno EAGAIN or EWOULDBLOCK when it is held).
bool takeLock(int fd, bool wait) {
    int result = -1;
#ifdef F_OFD_SETLKW
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    whole.l_start = 0;
    whole.l_len = 0; // to the end of the file, however far it grows
    do {
        result = ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &whole);
    } while (result != 0 && errno == EINTR);
    // EINVAL: a kernel older than these locks; ENOLCK, EOPNOTSUPP: a network file system that passes
    // only whole-file locks to its server (SMB mounts). flock belongs to the descriptor in the same way.
    if (result == 0 || (errno != EINVAL && errno != ENOLCK && errno != EOPNOTSUPP))
        return result == 0;
#endif
    do {
        result = ::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool heldElsewhere(int code) {
    return code == EAGAIN || code == EWOULDBLOCK || code == EACCES;
}

// A file system that keeps no locks at all (some network and user-space mounts). Books kept there
// are saved as they always were, unlocked, rather than not at all.
bool keepsNoLocks(int code) {
    return code == ENOLCK || code == EOPNOTSUPP || code == ENOSYS;
}

} // namespace

bool RecordFile::truncate(qint64) {
    return false;
}

namespace {
std::unique_ptr<FileLock> lockFile(const QString& path, bool wait, FileSystem::OpenError& error) {
    const int fd = openRetrying(QFile::encodeName(path), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error.missing = (errno == ENOENT);
        error.text = systemError(errno);
        return nullptr;
    }
    if (!takeLock(fd, wait) && !keepsNoLocks(errno)) {
        error.busy = !wait && heldElsewhere(errno);
        error.text = systemError(errno);
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<DescriptorLock>(fd);
}
} // namespace

std::unique_ptr<RecordFile> FileSystem::openReadOnly(const QString& path, OpenError& error) {
    return PosixFileSystem::open(path, O_RDONLY | O_CLOEXEC, error);
}

std::unique_ptr<FileLock> FileSystem::lockExclusive(const QString& path, OpenError& error) {
    return lockFile(path, true, error);
}

std::unique_ptr<FileLock> FileSystem::tryLockExclusive(const QString& path, OpenError& error) {
    return lockFile(path, false, error);
}

bool FileSystem::rename(const QString& from, const QString& to, QString& error) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    error = systemError(errno);
    return false;
}

bool FileSystem::remove(const QString& path, QString& error) {
    if (::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return true;
    error = systemError(errno);
    return false;
}

bool FileSystem::syncFolder(const QString& folder, QString& error) {
    const int fd = openRetrying(QFile::encodeName(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    // Some file systems cannot sync a folder on its own (EINVAL and the like): they keep their
    // entries durable by their own means, and a save there must not fail for it.
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EOPNOTSUPP || errno == ENOSYS;
    if (!synced)
        error = systemError(errno);
    ::close(fd);
    return synced;
}

using FileSystemSeam = Replaceable<FileSystem, PosixFileSystem>;

FileSystem& realFileSystem() {
    return FileSystemSeam::real();
}

FileSystem& fileSystem() {
    return FileSystemSeam::current();
}

void setFileSystem(FileSystem* replacement) {
    FileSystemSeam::replace(replacement);
}
