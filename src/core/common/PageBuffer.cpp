#include "common/PageBuffer.h"

#include "common/PageAdvice.h"

#include <cstdint>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace qv {

PageBuffer::PageBuffer(std::size_t size) : m_size(size)
{
    if (size < kLargePageBytes) {
        m_data = size ? new char[size] : nullptr;
        return;
    }
    // One large page more than needed, so that the bytes can start on one.
    const std::size_t mapped = (size + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes + kLargePageBytes;
    void *p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    m_mapping = static_cast<char *>(p);
    m_mapped = mapped;
    m_data = reinterpret_cast<char *>((std::uintptr_t(p) + kLargePageBytes - 1) & ~std::uintptr_t(kLargePageBytes - 1));
    preferLargePages(m_data, size);
}

PageBuffer::~PageBuffer()
{
    free();
}

PageBuffer::PageBuffer(PageBuffer &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_mapping(std::exchange(other.m_mapping, nullptr))
    , m_mapped(std::exchange(other.m_mapped, 0))
{
}

PageBuffer &PageBuffer::operator=(PageBuffer &&other) noexcept
{
    if (this != &other) {
        free();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapping = std::exchange(other.m_mapping, nullptr);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void PageBuffer::free()
{
    if (m_mapping)
        munmap(m_mapping, m_mapped);
    else
        delete[] m_data;
    m_data = m_mapping = nullptr;
    m_size = m_mapped = 0;
}

} // namespace qv
