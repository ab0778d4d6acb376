#pragma once
// The fixed table from port names to device nodes, so that a port keeps its name from run to run:
// COM1-32 ttyS0-31, COM33-64 ttyUSB0-31, COM65-96 ttyACM0-31, COM97-112 ttyAMA0-15,
// COM113-128 rfcomm0-15, COM255 the loopback plug, and a name that starts with "/" the device path
// as it stands. Device nodes are looked for in platform::DeviceDirectory(). Letters in "COM" may be
// in either case; numbers have no leading zeros.

#include <string>
#include <string_view>

namespace platform {

class PortNameTable {
public:
    static constexpr int kLoopbackNumber = 255;

    // The number of a "COMn" name, 0 for any other name.
    static int ComNumber(std::string_view name);
    static bool IsLoopback(std::string_view name) { return ComNumber(name) == kLoopbackNumber; }
    // The device node a name stands for; empty when the table gives it none.
    static std::string DevicePath(std::string_view name);
    // The port name of a device node's name ("ttyUSB0" gives "COM33"); empty when it has none.
    static std::string PortNameOf(std::string_view deviceName);
};

} // namespace platform
