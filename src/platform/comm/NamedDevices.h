#pragma once
// Devices put under a port name by the program itself rather than found in /dev: CreateFileA looks a
// name up here before the fixed table, letters in either case, so that "\\.\SIM1" or a "COM3" of
// one's own reaches the device registered under it. It is how a test puts a device of its making
// behind the handle functions; the program as shipped registers none.

#include <functional>
#include <memory>
#include <string_view>

#include "platform/comm/CommDevice.h"

namespace platform {

// What CreateFileA was asked, for the device to record or check.
struct DeviceOpenRequest {
    const char* path;
    DWORD access;
    DWORD shareMode;
    DWORD disposition;
    DWORD flags;
};

// Opens the device for one handle; nullptr after recording the failure (absent, busy, held).
using DeviceOpener = std::function<std::unique_ptr<CommDevice>(const DeviceOpenRequest&)>;

class NamedDevices {
public:
    // Puts `opener` under the name, in place of any opener there; an empty one removes the name.
    static void Register(std::string_view name, DeviceOpener opener);
    static void UnregisterAll();
    // The opener under the name; empty when none is registered there.
    static DeviceOpener Find(std::string_view name);
};

} // namespace platform
