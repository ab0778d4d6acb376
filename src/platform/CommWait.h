#pragma once
// What the message loop asks of the communications layer so that it can sleep while the line is
// silent and never sleep while bytes are waiting.

namespace platform {

// True while at least one communications device is open in this process.
bool CommAnyDeviceOpen();

// True when an open communications device holds bytes that a read would return now. Costs nothing
// when bytes are already buffered in the process, otherwise one non-blocking check.
bool CommInputWaiting();

// One descriptor that is readable while any open device has input waiting in the kernel, or an
// in-process device (loopback plug, simulated device) has been given bytes, from any thread.
// It stays valid for the life of the process; the loop watches it while it sleeps.
int CommWaitDescriptor();

} // namespace platform
