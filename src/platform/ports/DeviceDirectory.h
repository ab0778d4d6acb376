#pragma once
// Where the table of port names finds its device nodes: "/dev" unless a test points it elsewhere,
// so that no test ever reaches the machine's own serial ports.

#include <string>

namespace platform {

void SetDeviceDirectory(std::string directory);
const std::string& DeviceDirectory();

} // namespace platform
