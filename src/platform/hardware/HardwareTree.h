#pragma once
// Builds the hardware description of this machine, the key that stands at
// HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System, from what the kernel shows under /proc and /sys:
// - values: Identifier (the kernel's architecture), SystemBiosDate, SystemBiosVersion;
// - BIOS: firmware vendor, version, date and release, system and board maker, product and version;
// - CentralProcessor\N: ~MHz, Identifier, ProcessorNameString, VendorIdentifier, Update Revision;
// - FloatingPointProcessor\N: Identifier, for processors with a floating-point unit;
// - MultifunctionAdapter\0\SerialController\N: Identifier (the port name), DevicePath, Driver, and
//   for a USB adapter Product, Manufacturer and SerialNumber.
// What the machine does not show is left out, never made up. Both roots can point at folders a test
// has built.

#include "platform/hardware/RegistryKey.h"

#include <memory>
#include <string>

class HardwareTree {
public:
    HardwareTree(std::string procRoot, std::string sysRoot);

    // A new tree, read now; its root is named "System".
    std::shared_ptr<RegistryKey> Build() const;

private:
    std::string m_procRoot;
    std::string m_sysRoot;
};
