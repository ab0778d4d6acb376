#include "platform/base/CoarseClock.h"

#include <ctime>

namespace platform {

std::uint64_t CoarseNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

std::uint64_t CoarseTick() {
    static const std::uint64_t tick = [] {
        timespec resolution{};
        clock_getres(CLOCK_MONOTONIC_COARSE, &resolution);
        return static_cast<std::uint64_t>(resolution.tv_nsec);
    }();
    return tick;
}

} // namespace platform
