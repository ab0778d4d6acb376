#include "platform/ports/TtySysfs.h"

#include <algorithm>
#include <filesystem>

#include "platform/base/KernelFiles.h"

namespace platform::hardware {

namespace {

// A tty sits on a USB interface, which sits on the USB device; hubs are above that. A few levels
// are enough and keep a looping tree from running away.
constexpr int kUsbSearchDepth = 4;

} // namespace

bool IsBelow(const std::filesystem::path& folder, const std::filesystem::path& top) {
    const auto [topEnd, folderEnd] = std::mismatch(top.begin(), top.end(), folder.begin(), folder.end());
    return topEnd == top.end() && folderEnd != folder.end();
}

std::string TtyFolder(const std::string& sysRoot, const std::string& ttyName) {
    return sysRoot + "/class/tty/" + ttyName;
}

bool HasHardware(const std::string& ttyFolder) {
    if (!PathExists(ttyFolder + "/device"))
        return false;
    // A serial core port whose UART type reads 0 was never found on the bus: the driver keeps the
    // entry (and a device) for every possible port, but nothing is there.
    const auto type = ReadAttribute(ttyFolder + "/type");
    return !type || *type != "0";
}

UsbIdentity ReadUsbIdentity(const std::string& ttyFolder, const std::string& sysRoot) {
    std::error_code error;
    const auto top = std::filesystem::weakly_canonical(sysRoot, error);
    auto folder = std::filesystem::canonical(ttyFolder + "/device", error);
    for (int depth = 0; !error && depth < kUsbSearchDepth && IsBelow(folder, top); ++depth) {
        const auto at = folder.string();
        if (PathExists(at + "/idVendor"))
            return {ReadAttribute(at + "/product"), ReadAttribute(at + "/manufacturer"),
                    ReadAttribute(at + "/serial")};
        folder = folder.parent_path();
    }
    return {};
}

std::string UsbIdentityText(const UsbIdentity& identity) {
    std::string text;
    const auto add = [&text](const std::optional<std::string>& part, const char* label) {
        if (!part)
            return;
        text += text.empty() ? "" : ", ";
        text += label;
        text += *part;
    };
    add(identity.product, "");
    add(identity.manufacturer, "");
    add(identity.serial, "serial ");
    return text;
}

} // namespace platform::hardware
