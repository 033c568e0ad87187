// The floor of every scan of a book: reading its archive file in large blocks and finding two strings
// in every record with memmem, no decoding at all. Nothing that reads a book whole can be faster.
#pragma once

#include <QString>

#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace ScanFloor {

inline constexpr std::size_t kRecord = 3548;
inline constexpr std::size_t kBlockRecords = 512;

// The records holding both strings; -1 when the file cannot be read.
inline long long recordsWithBoth(const QString& archive, const char* first, const char* second) {
    const int fd = ::open(archive.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::vector<char> block(kRecord * kBlockRecords);
    const std::size_t firstLength = std::strlen(first);
    const std::size_t secondLength = std::strlen(second);
    long long found = 0;
    for (;;) {
        std::size_t filled = 0;
        while (filled < block.size()) {
            const ssize_t got = ::read(fd, block.data() + filled, block.size() - filled);
            if (got < 0) {
                ::close(fd);
                return -1;
            }
            if (got == 0)
                break;
            filled += std::size_t(got);
        }
        const std::size_t records = filled / kRecord;
        for (std::size_t r = 0; r < records; ++r) {
            const char* record = block.data() + r * kRecord;
            if (::memmem(record, kRecord, first, firstLength) &&
                ::memmem(record, kRecord, second, secondLength))
                ++found;
        }
        if (filled < block.size())
            break;
    }
    ::close(fd);
    return found;
}

} // namespace ScanFloor
