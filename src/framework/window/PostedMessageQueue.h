#pragma once
// The thread's queue of posted messages, handled strictly in the order posted, across windows.
// Posting costs a store into a ring that only grows; nothing is allocated while it keeps its size.
// The main message loop takes messages out itself; inside a modal loop, a single wake event asks Qt's
// loop to hand them out, so posted messages are still handled while a dialog or message box is open.

#include <QObject>
#include <vector>

#include "framework/window/ModalDepth.h"
#include "framework/base/WinUser.h"

class PostedMessageQueue : public QObject {
public:
    static PostedMessageQueue& Instance() { return s_instance != nullptr ? *s_instance : *Create(); }

    // Both run twice for every received byte, so they live here where the loop can inline them.
    void Post(const MSG& msg) {
        if (m_count == m_capacity)
            Grow();
        m_ring[(m_head + m_count) & (m_capacity - 1)] = msg;
        ++m_count;
        if (ModalDepth::Value() > 0)
            RequestWake();
    }
    bool Pop(MSG& msg) {
        if (m_count == 0)
            return false;
        msg = m_ring[m_head];
        // An emptied queue starts again at the front, so that the few messages a busy loop keeps in
        // flight stay in the same cache lines instead of walking the whole ring.
        m_head = --m_count == 0 ? 0 : (m_head + 1) & (m_capacity - 1);
        return true;
    }
    bool Empty() const { return m_count == 0; }
    // Drops every message addressed to `hwnd` (its window is gone).
    void Discard(HWND hwnd);

    // Called when a modal loop starts: messages already waiting must be handed out by it, each
    // through `dispatch`.
    void WakeIfWaiting(void (*dispatch)(const MSG&));

protected:
    void customEvent(QEvent* event) override;

private:
    PostedMessageQueue();
    static PostedMessageQueue* Create();
    void Grow();

    static inline PostedMessageQueue* s_instance = nullptr;
    void RequestWake();

    std::vector<MSG> m_ring;
    std::size_t m_capacity = 0; // m_ring's size, a power of two
    std::size_t m_head = 0;
    std::size_t m_count = 0;
    bool m_wakePending = false;
    void (*m_dispatch)(const MSG&) = nullptr;
};
