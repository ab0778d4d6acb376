#pragma once
// The thread's queue of posted messages, handled strictly in the order posted, across windows.
// Posting costs a store into a ring that only grows; nothing is allocated while it keeps its size.
// The main message loop takes messages out itself; inside a modal loop, a single wake event asks Qt's
// loop to hand them out, so posted messages are still handled while a dialog or message box is open.

#include <QObject>
#include <vector>

#include "framework/WinUser.h"

class PostedMessageQueue : public QObject {
public:
    static PostedMessageQueue& Instance();

    void Post(const MSG& msg);
    bool Pop(MSG& msg);
    bool Empty() const { return m_count == 0; }
    std::size_t Size() const { return m_count; }
    // Drops every message addressed to `hwnd` (its window is gone).
    void Discard(HWND hwnd);

    // Called when a modal loop starts: messages already waiting must be handed out by it.
    void WakeIfWaiting();

protected:
    void customEvent(QEvent* event) override;

private:
    PostedMessageQueue();
    void Grow();
    void RequestWake();

    std::vector<MSG> m_ring;
    std::size_t m_head = 0;
    std::size_t m_count = 0;
    bool m_wakePending = false;
};
