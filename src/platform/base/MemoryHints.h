#pragma once
// Hints to the kernel about memory the program is about to use.

#include <cstddef>

namespace platform {

// Makes the whole pages inside [begin, begin + bytes) resident and writable now, in one call, instead
// of one page fault at a time as they are first written. A kernel that cannot do it is left to fault.
void PrepareForWriting(void* begin, std::size_t bytes);

} // namespace platform
