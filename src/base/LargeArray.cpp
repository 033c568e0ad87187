#include "base/LargeArray.h"

#include <QtGlobal>

#include <cstdlib>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace LargeMemory {

#ifdef Q_OS_LINUX

namespace {

std::size_t pageSize() {
    static const std::size_t size = std::size_t(::sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t roundUp(std::size_t bytes) {
    const std::size_t page = pageSize();
    return (bytes + page - 1) / page * page;
}

} // namespace

void* reserve(std::size_t bytes) {
    if (bytes == 0)
        return nullptr;
    const std::size_t length = roundUp(bytes);
    // Address space only: nothing is counted against the system's memory until it is written.
    void* base =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    // A hint only: where the system has no large pages, small ones are taken as usual.
    ::madvise(base, length, MADV_HUGEPAGE);
#endif
    return base;
}

void trim(void* base, std::size_t bytes, std::size_t keep) {
    if (!base)
        return;
    const std::size_t length = roundUp(bytes);
    const std::size_t kept = roundUp(keep);
    if (kept < length)
        ::munmap(static_cast<char*>(base) + kept, length - kept);
}

void release(void* base, std::size_t bytes) {
    if (base && bytes > 0)
        ::munmap(base, roundUp(bytes));
}

#else

void* reserve(std::size_t bytes) {
    return bytes == 0 ? nullptr : std::malloc(bytes);
}

void trim(void*, std::size_t, std::size_t) {}

void release(void* base, std::size_t) {
    std::free(base);
}

#endif

} // namespace LargeMemory
