// Arrays of tens or hundreds of megabytes that are filled once, from the first element to the last,
// to a size known not to exceed a bound (the export grid's texts of a large book). The room for the
// bound is reserved as address space only; memory is taken as the array grows, in large pages where
// the system offers them, and what is left over is given back. Taking fresh memory one small page at
// a time costs more than copying the bytes into it, so this is what makes reading a book of a
// hundred thousand cards into memory about as fast as reading the file.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace LargeMemory {

// Reserves address space for `bytes` bytes, backed by memory only where it is written; nullptr when
// the system refuses.
void* reserve(std::size_t bytes);
// Gives back the memory of a reservation of `bytes` bytes from `keep` bytes on; the first `keep`
// bytes stay as they are.
void trim(void* base, std::size_t bytes, std::size_t keep);
// Gives back the whole reservation.
void release(void* base, std::size_t bytes);

} // namespace LargeMemory

template <typename T> class LargeArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are placed in raw memory and never destroyed");

public:
    LargeArray() = default;
    ~LargeArray() { LargeMemory::release(m_data, m_reserved * sizeof(T)); }
    LargeArray(const LargeArray&) = delete;
    LargeArray& operator=(const LargeArray&) = delete;
    LargeArray(LargeArray&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr))
        , m_size(std::exchange(other.m_size, 0))
        , m_reserved(std::exchange(other.m_reserved, 0)) {}
    LargeArray& operator=(LargeArray&& other) noexcept {
        LargeArray taken(std::move(other));
        std::swap(m_data, taken.m_data);
        std::swap(m_size, taken.m_size);
        std::swap(m_reserved, taken.m_reserved);
        return *this;
    }

    // Empties the array and reserves room for `capacity` elements; std::bad_alloc when the system
    // refuses.
    void reset(std::size_t capacity) {
        clear();
        if (capacity == 0)
            return;
        void* room = LargeMemory::reserve(capacity * sizeof(T));
        if (!room)
            throw std::bad_alloc();
        m_data = static_cast<T*>(room);
        m_reserved = capacity;
    }
    // Empties the array and gives back all its memory.
    void clear() {
        LargeMemory::release(m_data, m_reserved * sizeof(T));
        m_data = nullptr;
        m_size = 0;
        m_reserved = 0;
    }
    // Gives back the memory past the elements held; nothing more can be added afterwards.
    void shrinkToFit() {
        if (m_size == 0) {
            clear();
            return;
        }
        LargeMemory::trim(m_data, m_reserved * sizeof(T), m_size * sizeof(T));
        m_reserved = m_size;
    }

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_reserved; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T& operator[](std::size_t i) { return m_data[i]; }
    const T& operator[](std::size_t i) const { return m_data[i]; }

    // The caller keeps within the capacity: the array never grows beyond its reservation.
    void push_back(const T& value) { m_data[m_size++] = value; }
    // Takes `count` more elements, which the caller then writes at data() + the old size.
    T* grow(std::size_t count) {
        T* const at = m_data + m_size;
        m_size += count;
        return at;
    }
    // Drops elements from the end.
    void truncate(std::size_t size) { m_size = size < m_size ? size : m_size; }

private:
    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_reserved = 0;
};
