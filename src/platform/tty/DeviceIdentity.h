#pragma once
// Which piece of hardware stands behind a tty node, so that a port whose device went away is healed
// only by the same device coming back, not by another adapter that was given the same name.

#include <string>

namespace platform {

// The USB device behind a tty node ("ttyUSB0"), from the device tree: its vendor and product ids
// and its serial number, or, for a device without one, the USB port it is plugged into. Empty when
// no USB device stands behind the node (on-board UARTs, pseudo-terminals) or the tree has no entry.
std::string UsbIdentity(const std::string& nodeName);

} // namespace platform
