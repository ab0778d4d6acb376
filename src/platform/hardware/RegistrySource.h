#pragma once
// Where the tree behind HKEY_LOCAL_MACHINE comes from. By default every open from
// HKEY_LOCAL_MACHINE builds this machine's hardware description afresh from /proc and /sys; tests
// point the builder at folders they made, or hand in a tree of their own. Each setting holds until
// ResetRegistrySource.

#include "platform/hardware/RegistryKey.h"

#include <memory>
#include <string>

namespace platform {

// Build the hardware description from these roots instead of "/proc" and "/sys".
void SetHardwareTreeRoots(std::string procRoot, std::string sysRoot);

// Serve this key, which should be named "System", as the hardware description: the same object at
// every open, so a test can change it or its failure marks between opens.
void SetHardwareTreeOverride(std::shared_ptr<RegistryKey> system);

// Back to this machine's own tree from "/proc" and "/sys".
void ResetRegistrySource();

// A fresh root of HKEY_LOCAL_MACHINE holding HARDWARE\DESCRIPTION\System as set above.
std::shared_ptr<const RegistryKey> LocalMachineSnapshot();

} // namespace platform
