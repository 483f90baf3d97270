#pragma once

#include <cstddef>

namespace qv {

// The size of the large pages the system backs memory with where asked to.
constexpr std::size_t kLargePageBytes = std::size_t(2) << 20;

// Advice to the system about the pages of a large buffer. Both keep to the
// whole pages that lie within the buffer, so that neighbouring allocations
// are left alone, and both are only advice: where the system declines,
// nothing changes but the speed.

// Asks for the buffer to be backed by large pages when it is first touched.
// Call it after allocating and before writing: filling a buffer of many
// megabytes page by page costs a fault per 4 KB page, which on some machines
// outweighs the filling itself.
void preferLargePages(const void *begin, std::size_t bytes);

// Gives the pages back to the system, which reads them as zeros from then on.
void releasePages(const void *begin, std::size_t bytes);

} // namespace qv
