#include "data/ColumnMemory.h"

#include "common/PageAdvice.h"
#include "common/PageBuffer.h"

#include <atomic>
#include <cstdint>

namespace qv {

namespace {

// Every buffer starts with the block it was carved from (none for the heap),
// kept in a header that preserves the alignment of any type.
constexpr std::size_t kHeader = alignof(std::max_align_t);
// Buffers in a block start on cache lines, so that two threads filling
// neighbouring buffers do not share one.
constexpr std::size_t kAlignment = 64;

std::size_t roundUp(std::size_t n, std::size_t to)
{
    return (n + to - 1) / to * to;
}

} // namespace

// The buffer the columns are carved from. It lives while the arena fills it
// and while any buffer carved from it is allocated.
class ColumnArena::Block {
public:
    explicit Block(std::size_t bytes) : m_buffer(bytes), m_next(m_buffer.data()), m_end(m_buffer.data() + bytes) {}

    void *take(std::size_t bytes)
    {
        if (std::size_t(m_end - m_next) < bytes)
            return nullptr;
        void *p = m_next;
        m_next += roundUp(bytes, kAlignment);
        if (m_next > m_end)
            m_next = m_end;
        m_users.fetch_add(1, std::memory_order_relaxed);
        return p;
    }
    // A buffer, or the arena (nothing), lets go of the block.
    void give(void *buffer, std::size_t bytes)
    {
        if (buffer)
            releasePages(buffer, bytes);
        if (m_users.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    PageBuffer m_buffer;
    char *m_next = nullptr;
    char *m_end = nullptr;
    std::atomic<std::size_t> m_users{1}; // the arena, and each buffer
};

namespace {

thread_local ColumnArena *t_open = nullptr;

} // namespace

ColumnArena::ColumnArena(std::size_t bytes) : m_block(new Block(bytes)), m_outer(t_open)
{
    t_open = this;
}

ColumnArena::~ColumnArena()
{
    t_open = m_outer;
    m_block->give(nullptr, 0);
}

std::size_t ColumnArena::footprint(std::size_t bytes)
{
    return roundUp(bytes + kHeader, kAlignment);
}

void *ColumnArena::allocate(std::size_t bytes)
{
    Block *block = t_open ? t_open->m_block : nullptr;
    void *raw = block ? block->take(bytes + kHeader) : nullptr;
    if (!raw) {
        block = nullptr;
        raw = ::operator new(bytes + kHeader);
    }
    *static_cast<Block **>(raw) = block;
    return static_cast<char *>(raw) + kHeader;
}

void ColumnArena::deallocate(void *buffer, std::size_t bytes) noexcept
{
    char *raw = static_cast<char *>(buffer) - kHeader;
    Block *block = *reinterpret_cast<Block **>(raw);
    if (block)
        block->give(raw, bytes + kHeader);
    else
        ::operator delete(raw);
}

} // namespace qv
