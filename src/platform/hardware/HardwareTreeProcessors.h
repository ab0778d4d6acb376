#pragma once
// CentralProcessor\N and FloatingPointProcessor\N of the hardware description, one N per processor
// that /proc/cpuinfo lists or /sys/devices/system/cpu shows online.

#include "platform/hardware/RegistryKey.h"

#include <string>

namespace platform::hardware {

void AddProcessors(RegistryKey& system, const std::string& procRoot, const std::string& sysRoot);

} // namespace platform::hardware
