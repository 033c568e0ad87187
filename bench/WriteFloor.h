// The floor of every file that is made durable before it is confirmed: the same number of bytes
// written with a plain write loop in large blocks and synced to the disk with fsync, nothing else.
#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace WriteFloor {

inline constexpr std::size_t kBlock = 1 << 20;

// Writes `bytes` bytes to a new file at path, syncs it and removes it again; false on any failure.
inline bool writeAndSync(const QString& path, long long bytes) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // Markup-like bytes rather than zeros, so that nothing on the way can take a short cut.
    std::vector<char> block(kBlock);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = "<td>Ritratto al tramonto</td>"[i % 29];
    bool done = true;
    long long left = bytes;
    while (done && left > 0) {
        const std::size_t wanted = std::size_t(std::min<long long>(left, static_cast<long long>(kBlock)));
        const ssize_t put = ::write(fd, block.data(), wanted);
        if (put <= 0)
            done = false;
        else
            left -= put;
    }
    done = ::fsync(fd) == 0 && done;
    done = ::close(fd) == 0 && done;
    ::unlink(name.constData());
    return done;
}

} // namespace WriteFloor
