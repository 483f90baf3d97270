#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstddef>

namespace qv {

// Bytes of a size known beforehand, in a buffer the system backs with large
// pages where it can: a large buffer gets a mapping of its own, aligned to
// large pages, as the heap would hand out pages it used before, which can
// only fault back in page by page. Filling tens of megabytes page by page
// costs a fault per 4 KB, which on some machines outweighs the filling.
// Small buffers come from the heap. The bytes are not initialised.
class PageBuffer {
public:
    PageBuffer() = default;
    explicit PageBuffer(std::size_t size);
    ~PageBuffer();
    PageBuffer(PageBuffer &&other) noexcept;
    PageBuffer &operator=(PageBuffer &&other) noexcept;
    PageBuffer(const PageBuffer &) = delete;
    PageBuffer &operator=(const PageBuffer &) = delete;

    char *data() { return m_data; }
    const char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    QByteArrayView view() const { return {m_data, qsizetype(m_size)}; }
    // Keeps the first bytes only; the buffer stays where it is.
    void truncate(std::size_t size) { m_size = std::min(m_size, size); }

private:
    void free();

    char *m_data = nullptr;
    std::size_t m_size = 0;
    char *m_mapping = nullptr; // the whole mapping, when the bytes have one
    std::size_t m_mapped = 0;
};

} // namespace qv
