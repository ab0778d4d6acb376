#include "platform/base/CommWakeEvent.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

CommWakeEvent& CommWakeEvent::Instance() {
    static CommWakeEvent event;
    return event;
}

CommWakeEvent::CommWakeEvent() : m_event(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CommWakeEvent::~CommWakeEvent() {
    if (m_event >= 0)
        close(m_event);
}

void CommWakeEvent::Signal() {
    if (m_event < 0)
        return;
    std::uint64_t one = 1;
    // A full counter (never in practice) is still readable, which is all a wake-up needs.
    [[maybe_unused]] auto written = write(m_event, &one, sizeof one);
}

bool CommWakeEvent::Take() {
    std::uint64_t value = 0;
    return m_event >= 0 && read(m_event, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

} // namespace platform
