#include "platform/base/MemoryHints.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

void PrepareForWriting(void* begin, std::size_t bytes) {
    static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t end = (start + bytes) & ~(page - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
}

} // namespace platform
