#pragma once
// Serial devices that are there but that this process may not open for reading and writing, as for a
// user outside the "dialout" group. The probe of port names only sees that an open failed; this
// query looks at the device nodes themselves (their owner, group and mode against the process's
// identity), so the program can say why a device is missing from its list. Nodes that sysfs shows
// without hardware behind them (the serial core's unused ttyS ports) are left out.

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

struct ProcessIdentity {
    uid_t uid = 0;
    std::vector<gid_t> groups; // the primary group and the supplementary ones
};

struct DeniedDevice {
    std::string path;  // the device node
    std::string group;  // the node's group, by name when it has one
    bool groupMayOpen;  // whether joining that group would let the process open the node
};

// The process's effective identity; a test sets one of its own, nullopt puts the real one back.
void SetProcessIdentity(std::optional<ProcessIdentity> identity);
ProcessIdentity CurrentProcessIdentity();

// The nodes in platform::DeviceDirectory() that the table of port names maps and that the process may
// not open for reading and writing, in the order of their port numbers.
std::vector<DeniedDevice> DevicesWithoutPermission();

} // namespace platform
