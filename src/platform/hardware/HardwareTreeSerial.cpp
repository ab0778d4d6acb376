#include "platform/hardware/HardwareTreeSerial.h"

#include "platform/base/KernelFiles.h"
#include "platform/ports/PortNameTable.h"
#include "platform/ports/TtySysfs.h"

#include <filesystem>
#include <map>

namespace platform::hardware {

namespace {

// The device node, as the kernel names it in the tty's uevent ("DEVNAME=ttyS0").
std::string DevicePath(const std::string& ttyFolder, const std::string& ttyName) {
    const auto uevent = ReadTextFile(ttyFolder + "/uevent", 4096);
    const std::string_view key = "DEVNAME=";
    std::string_view rest = uevent ? std::string_view(*uevent) : std::string_view();
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        const auto line = rest.substr(0, end);
        if (line.starts_with(key) && line.size() > key.size()) {
            return "/dev/" + std::string(line.substr(key.size()));
        }
        rest = (end == std::string_view::npos) ? std::string_view() : rest.substr(end + 1);
    }
    return "/dev/" + ttyName;
}

// The driver of the port's device, or of the nearest device above it that has one. The serial core's
// own port and controller devices (bus "serial-base") are passed over: they name no hardware.
std::optional<std::string> Driver(const std::string& ttyFolder, const std::string& sysRoot) {
    std::error_code error;
    const auto top = std::filesystem::weakly_canonical(sysRoot, error);
    auto folder = std::filesystem::canonical(ttyFolder + "/device", error);
    for (int depth = 0; !error && depth < 8 && IsBelow(folder, top); ++depth) {
        const auto driver = LinkTargetName(folder.string() + "/driver");
        if (driver && LinkTargetName(folder.string() + "/subsystem") != "serial-base") {
            return driver;
        }
        folder = folder.parent_path();
    }
    return std::nullopt;
}

void AddController(RegistryKey& adapter, unsigned index, const std::string& portName,
                   const std::string& ttyName, const std::string& sysRoot) {
    const auto ttyFolder = TtyFolder(sysRoot, ttyName);
    auto& controller = adapter.AddPath("SerialController\\" + std::to_string(index));
    controller.SetString("Identifier", portName);
    controller.SetString("DevicePath", DevicePath(ttyFolder, ttyName));
    if (const auto driver = Driver(ttyFolder, sysRoot)) {
        controller.SetString("Driver", *driver);
    }
    const auto usb = ReadUsbIdentity(ttyFolder, sysRoot);
    const std::pair<const char*, const std::optional<std::string>*> parts[] = {
        {"Product", &usb.product}, {"Manufacturer", &usb.manufacturer}, {"SerialNumber", &usb.serial}};
    for (const auto& [valueName, part] : parts) {
        if (*part)
            controller.SetString(valueName, **part);
    }
}

} // namespace

void AddSerialControllers(RegistryKey& system, const std::string& sysRoot) {
    // Port number to port name and tty name, so the controllers come in the order of the ports.
    std::map<int, std::pair<std::string, std::string>> present;
    for (const auto& name : ListDirectory(sysRoot + "/class/tty")) {
        auto portName = PortNameTable::PortNameOf(name);
        if (!portName.empty() && HasHardware(TtyFolder(sysRoot, name))) {
            const auto number = PortNameTable::ComNumber(portName);
            present.emplace(number, std::pair{std::move(portName), name});
        }
    }
    if (present.empty()) {
        return;
    }
    auto& adapter = system.AddPath("MultifunctionAdapter\\0");
    unsigned index = 0;
    for (const auto& entry : present) {
        AddController(adapter, index++, entry.second.first, entry.second.second, sysRoot);
    }
}

} // namespace platform::hardware
