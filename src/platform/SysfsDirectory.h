#pragma once
// Where the kernel's device model is read from when a port is described: "/sys" unless a test points
// it at a folder it has built.

#include <string>

namespace platform {

void SetSysfsDirectory(std::string directory);
const std::string& SysfsDirectory();

} // namespace platform
