#pragma once
// The monotonic coarse clock in nanoseconds: a few nanoseconds a call, a tick (a few ms) behind.

#include <cstdint>

namespace platform {

std::uint64_t CoarseNow();
// The clock's tick, for intervals that must last at least their length.
std::uint64_t CoarseTick();

} // namespace platform
