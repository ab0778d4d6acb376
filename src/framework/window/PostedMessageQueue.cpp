#include "framework/window/PostedMessageQueue.h"

#include <QCoreApplication>
#include <QEvent>
#include <bit>

#include "platform/base/Check.h"

namespace {
const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
// A modal loop hands out at most this many messages per wake, so that its own input and
// painting are never starved by a flood of posted messages.
constexpr int kMessagesPerWake = 256;
} // namespace

PostedMessageQueue* PostedMessageQueue::Create() {
    s_instance = new PostedMessageQueue;
    return s_instance;
}

// The ring's places are found by masking, which only a power of two allows.
PostedMessageQueue::PostedMessageQueue() : m_ring(1024), m_capacity(m_ring.size()) {
    MT_CHECK(std::has_single_bit(m_capacity));
}

void PostedMessageQueue::Discard(HWND hwnd) {
    std::size_t kept = 0;
    std::size_t mask = m_ring.size() - 1;
    for (std::size_t i = 0; i < m_count; ++i) {
        const MSG& m = m_ring[(m_head + i) & mask];
        if (m.hwnd != hwnd)
            m_ring[(m_head + kept++) & mask] = m;
    }
    m_count = kept;
}

void PostedMessageQueue::Grow() {
    std::vector<MSG> bigger(m_ring.size() * 2);
    for (std::size_t i = 0; i < m_count; ++i)
        bigger[i] = m_ring[(m_head + i) & (m_ring.size() - 1)];
    m_ring.swap(bigger);
    m_capacity = m_ring.size();
    m_head = 0;
    MT_CHECK(std::has_single_bit(m_capacity));
}

void PostedMessageQueue::WakeIfWaiting(void (*dispatch)(const MSG&)) {
    m_dispatch = dispatch;
    if (m_count > 0)
        RequestWake();
}

void PostedMessageQueue::RequestWake() {
    if (m_wakePending)
        return;
    m_wakePending = true;
    QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
}

void PostedMessageQueue::customEvent(QEvent* event) {
    if (event->type() != kWakeEvent || m_dispatch == nullptr)
        return;
    m_wakePending = false;
    MSG msg;
    for (int n = 0; n < kMessagesPerWake; ++n) {
        if (m_count == 0)
            return;
        // WM_QUIT belongs to the main loop; a modal loop leaves it waiting.
        if (m_ring[m_head].message == WM_QUIT)
            return;
        Pop(msg);
        m_dispatch(msg);
    }
    if (m_count > 0)
        RequestWake();
}
