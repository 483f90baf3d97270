#include "common/PageAdvice.h"

#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

namespace qv {

namespace {

void advise(const void *begin, std::size_t bytes, std::uintptr_t alignment, int advice)
{
    const auto from = (std::uintptr_t(begin) + alignment - 1) & ~(alignment - 1);
    const auto to = (std::uintptr_t(begin) + bytes) & ~(alignment - 1);
    if (to > from)
        madvise(reinterpret_cast<void *>(from), to - from, advice);
}

} // namespace

void preferLargePages(const void *begin, std::size_t bytes)
{
    // Only the whole large pages inside the buffer: advising its edges would
    // make a touch of a neighbouring allocation fault in a whole large page.
    advise(begin, bytes, kLargePageBytes, MADV_HUGEPAGE);
}

void releasePages(const void *begin, std::size_t bytes)
{
    advise(begin, bytes, std::uintptr_t(sysconf(_SC_PAGESIZE)), MADV_DONTNEED);
}

} // namespace qv
