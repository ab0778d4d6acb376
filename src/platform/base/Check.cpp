#include "platform/base/Check.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace platform
