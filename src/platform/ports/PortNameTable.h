#pragma once
// The fixed table from port names to device nodes, so that a port keeps its name from run to run.
// Each device family owns a fixed range of names (COM1-32 ttyS0-31, COM33-64 ttyUSB0-31, ...; Ranges()
// holds them all, and the README and the man page list them); COM255 is the loopback plug, and a name
// that starts with "/" is the device path as it stands. Device nodes are looked for in
// platform::DeviceDirectory(). Letters in "COM" may be in either case; numbers have no leading zeros.

#include <span>
#include <string>
#include <string_view>

namespace platform {

// COM<first> to COM<first + count - 1> are the nodes <node>0 to <node><count - 1>.
struct PortNameRange {
    int first;
    int count;
    std::string_view node;
    std::string_view family; // what drives these nodes, for people
};

class PortNameTable {
public:
    static constexpr int kLoopbackNumber = 255;

    // Every range, in the order of the port numbers.
    static std::span<const PortNameRange> Ranges();

    // The number of a "COMn" name, 0 for any other name.
    static int ComNumber(std::string_view name);
    static bool IsLoopback(std::string_view name) { return ComNumber(name) == kLoopbackNumber; }
    // The device node a name stands for; empty when the table gives it none.
    static std::string DevicePath(std::string_view name);
    // The port name of a device node's name ("ttyUSB0" gives "COM33"); empty when it has none.
    static std::string PortNameOf(std::string_view deviceName);
};

} // namespace platform
