#pragma once
// The one descriptor the message loop sleeps on: an epoll set holding every open tty, an eventfd
// that in-process devices and helper threads signal (bytes given, a line changed), and whatever other
// descriptors a device adds as wait sources (say, one that reports its device coming back).
// Level-triggered; the eventfd is reset by Poll, which the loop reaches through CommInputWaiting
// before it sleeps, and each ready source is asked by Poll what its readiness means.

namespace platform {

// A descriptor a device adds to the wait set besides its input. When it is ready, Poll calls Ready(),
// which must consume what made it ready (or the loop would never sleep) and says whether the loop
// has work: true makes the loop run its idle step, whose next call on the device can act on it.
class CommWaitSource {
public:
    virtual bool Ready() = 0;

protected:
    ~CommWaitSource() = default;
};

class CommWaitSet {
public:
    static CommWaitSet& Instance();

    // The epoll descriptor, valid for the life of the process; -1 if the system refused one.
    int Descriptor() const { return m_epoll; }
    void Watch(int fd);
    void Unwatch(int fd);
    // Adds or removes a device's extra descriptor; the source must outlive its place in the set.
    void WatchSource(int fd, CommWaitSource* source);
    void UnwatchSource(int fd) { Unwatch(fd); }
    // Wakes a sleeping loop: an in-process device has bytes. Safe from any thread.
    void Signal();
    // One non-blocking look. True when a watched tty has input (or has hung up) or a ready source
    // says there is work; signalled is set when the eventfd had fired, which this call resets.
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
