#pragma once
// What the message loop asks of the communications layer so that it can sleep while the line is
// silent and never sleep while bytes are waiting.

#include <vector>

namespace platform {

// True while at least one communications device is open in this process.
bool CommAnyDeviceOpen();

// True when an open communications device holds bytes that a read would return now. Costs nothing
// when bytes are already buffered, otherwise one non-blocking check per open device.
bool CommInputWaiting();

// Appends the descriptors that become readable when input arrives on an open device, including
// the one that the in-process devices signal when bytes are put into them (from any thread).
void CommWaitDescriptors(std::vector<int>& fds);

} // namespace platform
