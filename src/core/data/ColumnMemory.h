#pragma once

#include <cstddef>

namespace qv {

// The buffers of table columns. A table file fills tens of megabytes of
// columns at once; taken page by page from the system, that costs a fault
// for every 4 KB, which on some machines outweighs the decoding itself. While
// a ColumnArena is open on a thread, the column buffers allocated there are
// carved from one block of large pages instead; all others come from the
// heap. A block goes back to the system once its last buffer is freed, and a
// freed buffer's whole pages as soon as it is.
class ColumnArena {
public:
    // A block of the given size, which should be what the columns to be
    // filled here will ask for: a larger one would hold pages that nothing
    // uses. Buffers that no longer fit come from the heap.
    explicit ColumnArena(std::size_t bytes);
    // Ends the filling; the buffers already carved stay valid.
    ~ColumnArena();
    ColumnArena(const ColumnArena &) = delete;
    ColumnArena &operator=(const ColumnArena &) = delete;

    // What a column buffer of this many bytes takes of an arena.
    static std::size_t footprint(std::size_t bytes);

    static void *allocate(std::size_t bytes);
    static void deallocate(void *buffer, std::size_t bytes) noexcept;

private:
    class Block;
    Block *m_block = nullptr;
    ColumnArena *m_outer = nullptr;
};

template <class T>
struct ColumnAllocator {
    using value_type = T;
    ColumnAllocator() = default;
    template <class U>
    ColumnAllocator(const ColumnAllocator<U> &)
    {
    }
    T *allocate(std::size_t n) { return static_cast<T *>(ColumnArena::allocate(n * sizeof(T))); }
    void deallocate(T *p, std::size_t n) noexcept { ColumnArena::deallocate(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const ColumnAllocator<U> &) const
    {
        return true;
    }
};

} // namespace qv
