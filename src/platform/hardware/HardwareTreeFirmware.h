#pragma once
// The system's own values of the hardware description (its identifier and firmware) and the BIOS
// key, from /proc/sys/kernel and the firmware tables the kernel shows in /sys/class/dmi/id.

#include "platform/hardware/RegistryKey.h"

#include <string>

namespace platform::hardware {

void AddFirmware(RegistryKey& system, const std::string& procRoot, const std::string& sysRoot);

} // namespace platform::hardware
