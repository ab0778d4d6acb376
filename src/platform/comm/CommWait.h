#pragma once
// What the message loop asks of the communications layer so that it can sleep while the line is
// silent and never sleep while bytes are waiting.

namespace platform {

// True while at least one communications device is open in this process.
bool CommAnyDeviceOpen();

// True when an open communications device holds bytes that a read would return now. Costs nothing
// when bytes are already buffered in the process, otherwise one non-blocking check.
bool CommInputWaiting();

// True when the idle step has something to look at: bytes as for CommInputWaiting (a tty's received
// bytes are taken into the reader's hands first, so that a stream costs no extra check), or a
// signal on the descriptor below since the last look (bytes came to a reader that had run dry, a
// device went away, a line changed, a port was written or driven), which it consumes. A signal
// whose cause was already seen costs one idle turn that finds nothing, never a loop that does not
// sleep.
bool CommActivityWaiting();

// One descriptor that becomes readable when an open device has news: bytes received after the
// reader ran dry, a device gone, an input modem line changed, bytes given to an in-process device.
// It stays valid for the life of the process; the loop watches it while it sleeps, and only then.
int CommWaitDescriptor();

// The longest the loop may sleep on that descriptor, in milliseconds, before the idle step must run
// again though nothing signalled (a device whose lines must be polled); -1 for no limit.
int CommWaitTimeout();

} // namespace platform
