#pragma once
// The one descriptor the message loop sleeps on: an epoll set holding every open tty and an eventfd
// that in-process devices signal when they are given bytes. Level-triggered; the eventfd is reset by
// Poll, which the loop reaches through CommInputWaiting before it sleeps.

namespace platform {

class CommWaitSet {
public:
    static CommWaitSet& Instance();

    // The epoll descriptor, valid for the life of the process; -1 if the system refused one.
    int Descriptor() const { return m_epoll; }
    void Watch(int fd);
    void Unwatch(int fd);
    // Wakes a sleeping loop: an in-process device has bytes. Safe from any thread.
    void Signal();
    // One non-blocking look. True when a watched tty has input (or has hung up); signalled is set
    // when the eventfd had fired, which this call resets.
    bool Poll(bool& signalled);

    CommWaitSet(const CommWaitSet&) = delete;
    CommWaitSet& operator=(const CommWaitSet&) = delete;

private:
    CommWaitSet();
    ~CommWaitSet();

    int m_epoll = -1;
    int m_event = -1;
};

} // namespace platform
