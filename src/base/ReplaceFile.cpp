#include "base/ReplaceFile.h"

#include "base/Replaceable.h"
#include "base/SystemText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The replacement is made in a new file beside the target, under a name of its own, which takes the
// target's name by a rename once it is complete and durable. The rename replaces the folder entry
// itself: when the target is a link, the link is replaced and the file it points to is never touched
// (a card's photo that links to a file elsewhere does not overwrite that file).
class SaveFile final : public ReplaceFile {
public:
    explicit SaveFile(const QString& path)
        : m_target(path) {}
    ~SaveFile() override { cancel(); }

    bool open() override {
        const QString folder = QFileInfo(m_target).absolutePath();
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_temporary = QDir(folder).filePath(
                QStringLiteral(".lumivera-%1.tmp")
                    .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
            m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (m_fd < 0 && errno != EEXIST && errno != EINTR)
                break;
        }
        if (m_fd < 0) {
            m_temporary.clear();
            return failed(errno);
        }
        // A file that is replaced keeps its permissions; a new one gets those of any new file.
        struct stat existing {};
        if (::stat(QFile::encodeName(m_target).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
            ::fchmod(m_fd, existing.st_mode & 07777);
        return true;
    }

    bool write(QByteArrayView data) override {
        if (!m_error.isEmpty() || m_fd < 0)
            return false;
        const char* from = data.data();
        qint64 left = data.size();
        while (left > 0) {
            const ssize_t put = ::write(m_fd, from, size_t(left));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return failed(put < 0 ? errno : ENOSPC);
            from += put;
            left -= put;
        }
        startWriteBack(data.size());
        return true;
    }

    bool commit() override {
        if (!m_error.isEmpty() || m_fd < 0) {
            cancel();
            return false;
        }
        if (::fdatasync(m_fd) != 0)
            return failed(errno);
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return failed(errno);
        if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) !=
            0)
            return failed(errno);
        m_temporary.clear();
        // The new name durable too, so that a power cut does not bring the earlier file back.
        const int folder = ::open(QFile::encodeName(QFileInfo(m_target).absolutePath()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }

    void cancel() override {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (!m_temporary.isEmpty()) {
            ::unlink(QFile::encodeName(m_temporary).constData());
            m_temporary.clear();
        }
    }

    QString errorString() const override { return m_error; }

private:
    // Asks the system to start putting the bytes just written on the disk, without waiting for them,
    // so a large file goes to the disk while the rest of it is being made and the sync at commit has
    // little left to wait for.
    void startWriteBack(qint64 size) {
#ifdef Q_OS_LINUX
        ::sync_file_range(m_fd, m_written, size, SYNC_FILE_RANGE_WRITE);
#endif
        m_written += size;
    }

    bool failed(int code) {
        if (m_error.isEmpty())
            m_error = SystemText::ofCode(code);
        cancel();
        return false;
    }

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    QString m_error;
    qint64 m_written = 0;
};

class SaveFileReplacer final : public FileReplacer {
public:
    std::unique_ptr<ReplaceFile> replace(const QString& path) override {
        return std::make_unique<SaveFile>(path);
    }
};

} // namespace

using Seam = Replaceable<FileReplacer, SaveFileReplacer>;

FileReplacer& realFileReplacer() {
    return Seam::real();
}

FileReplacer& fileReplacer() {
    return Seam::current();
}

void setFileReplacer(FileReplacer* replacement) {
    Seam::replace(replacement);
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
