#pragma once
// What the message loop asks of the communications layer so that it can sleep while the line is
// silent and never sleep while bytes are waiting.

namespace platform {

// True while at least one communications device is open in this process.
bool CommAnyDeviceOpen();

// True when the idle step has something to look at: bytes a read would return now (a tty's received
// bytes are taken into the reader's hands first, so that a stream costs no extra check), or a
// signal on the wake descriptor below since the last look (bytes came to a reader that had run dry,
// a device went away, a line changed, a port was written or driven), which it consumes. A signal
// whose cause was already seen costs one idle turn that finds nothing, never a loop that does not
// sleep.
bool CommActivityWaiting();

// The descriptor of the communications wake event (CommWakeEvent): readable when an open device has
// news. It stays valid for the life of the process; the loop watches it while it sleeps, and only
// then.
int CommWakeDescriptor();

// The longest the loop may sleep on that descriptor, in milliseconds, before the idle step must run
// again though nothing signalled (lines that must be polled, counts still catching up, a gone device
// to look for); -1 for no limit.
int CommWakeAfterMs();

} // namespace platform
