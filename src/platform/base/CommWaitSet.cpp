#include "platform/base/CommWaitSet.h"

#include <cerrno>
#include <cstdint>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::uint64_t kEventMarker = ~std::uint64_t{0};
// Sources are told from ttys (whose entries hold their descriptor) by this bit; user-space addresses
// never reach it.
constexpr std::uint64_t kSourceTag = std::uint64_t{1} << 62;

} // namespace

CommWaitSet& CommWaitSet::Instance() {
    static CommWaitSet set;
    return set;
}

CommWaitSet::CommWaitSet() {
    m_epoll = epoll_create1(EPOLL_CLOEXEC);
    m_event = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_epoll < 0 || m_event < 0)
        return;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kEventMarker;
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_event, &event);
}

CommWaitSet::~CommWaitSet() {
    if (m_event >= 0)
        close(m_event);
    if (m_epoll >= 0)
        close(m_epoll);
}

void CommWaitSet::Watch(int fd) {
    if (m_epoll < 0 || fd < 0)
        return;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = static_cast<std::uint64_t>(fd);
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
}

void CommWaitSet::WatchSource(int fd, CommWaitSource* source) {
    if (m_epoll < 0 || fd < 0 || source == nullptr)
        return;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kSourceTag | static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(source));
    epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
}

void CommWaitSet::Unwatch(int fd) {
    if (m_epoll >= 0 && fd >= 0)
        epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
}

void CommWaitSet::Signal() {
    if (m_event < 0)
        return;
    std::uint64_t one = 1;
    // A full counter (never in practice) is still readable, which is all a wake-up needs.
    [[maybe_unused]] auto written = write(m_event, &one, sizeof one);
}

bool CommWaitSet::Poll(bool& signalled) {
    signalled = false;
    if (m_epoll < 0)
        return false;
    epoll_event events[16];
    int count = epoll_wait(m_epoll, events, 16, 0);
    bool ttyReady = false;
    for (int i = 0; i < count; ++i) {
        const std::uint64_t data = events[i].data.u64;
        if (data != kEventMarker && (data & kSourceTag) != 0) {
            auto* source = reinterpret_cast<CommWaitSource*>(static_cast<std::uintptr_t>(data & ~kSourceTag));
            ttyReady = source->Ready() || ttyReady;
            continue;
        }
        if (data != kEventMarker) {
            ttyReady = true;
            continue;
        }
        std::uint64_t value = 0;
        [[maybe_unused]] auto taken = read(m_event, &value, sizeof value);
        signalled = true;
    }
    return ttyReady;
}

} // namespace platform
