#include "platform/ports/PortDescription.h"

#include "platform/ports/PortNameTable.h"
#include "platform/base/SystemPaths.h"
#include "platform/ports/TtySysfs.h"

namespace platform {

std::string DescribePort(std::string_view portName) {
    if (PortNameTable::IsLoopback(portName))
        return "The built-in loopback plug: what is sent comes back, RTS drives CTS, DTR drives DSR and DCD";
    std::string path = PortNameTable::DevicePath(portName);
    if (path.empty())
        return {};
    const auto slash = path.rfind('/');
    const std::string ttyName = path.substr(slash + 1);
    if (ttyName.empty() || ttyName == "." || ttyName == "..")
        return path;
    const auto usb = hardware::ReadUsbIdentity(hardware::TtyFolder(SysfsDirectory(), ttyName), SysfsDirectory());
    const std::string identity = hardware::UsbIdentityText(usb);
    return identity.empty() ? path : path + ": " + identity;
}

} // namespace platform
