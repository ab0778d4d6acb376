#pragma once
// What the message loop asks of the communications layer so that it can sleep while the line is
// silent and never sleep while bytes are waiting.

namespace platform {

// True while at least one communications device is open in this process.
bool CommAnyDeviceOpen();

// True when an open communications device holds bytes that a read would return now. Costs nothing
// when bytes are already buffered in the process, otherwise one non-blocking check.
bool CommInputWaiting();

// True when the idle step has something to look at: bytes as for CommInputWaiting (a tty's bytes are
// read ahead into the process first, so that a stream costs no extra check), or anything the wait
// descriptor below reported since the last look (a line changed, a port was written or driven, a
// device's own wait source is ready). Resets the descriptor when it looks at it. A report whose cause was already seen
// costs one idle turn that finds nothing, never a loop that does not sleep.
bool CommActivityWaiting();

// One descriptor that is readable while any open device has input waiting in the kernel, an
// in-process device (loopback plug, simulated device) has been given bytes or changed its lines, an
// input modem line of a tty has changed, or a device's own wait source is ready. It stays valid for
// the life of the process; the loop watches it while it sleeps, and only then.
int CommWaitDescriptor();

// The longest the loop may sleep on that descriptor, in milliseconds, before the idle step must run
// again though nothing signalled (a device whose lines must be polled); -1 for no limit.
int CommWaitTimeout();

} // namespace platform
