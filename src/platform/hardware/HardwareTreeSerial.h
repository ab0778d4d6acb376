#pragma once
// MultifunctionAdapter\0\SerialController\N of the hardware description: one N, counted from 0 in the
// order of the port numbers, for each serial device that /sys/class/tty shows with a device behind it.
// Its Identifier is the port name that the fixed table of port names gives the tty (ttyUSB0 is COM33);
// DevicePath and Driver follow, and for a USB adapter its Product, Manufacturer and SerialNumber.

#include "platform/hardware/RegistryKey.h"

#include <string>

namespace platform::hardware {

void AddSerialControllers(RegistryKey& system, const std::string& sysRoot);

} // namespace platform::hardware
