#pragma once
// The one descriptor the message loop sleeps on while a port is open: an eventfd that whatever has
// news for the loop signals, from any thread. A tty's receiver signals when bytes come to a reader
// that ran dry or the device goes away, a line watcher when an input line changes, the in-process
// devices when they are given bytes or their lines change, a write or a driven line so that the
// status is refreshed. The loop takes the signal before it sleeps, through CommActivityWaiting.

namespace platform {

class CommWakeEvent {
public:
    static CommWakeEvent& Instance();

    // The eventfd, valid for the life of the process; -1 if the system refused one.
    int Descriptor() const { return m_event; }
    // Wakes a sleeping loop. Safe from any thread.
    void Signal();
    // True when a signal came since the last look, which this one consumes.
    bool Take();

    CommWakeEvent(const CommWakeEvent&) = delete;
    CommWakeEvent& operator=(const CommWakeEvent&) = delete;

private:
    CommWakeEvent();
    ~CommWakeEvent();

    int m_event = -1;
};

} // namespace platform
