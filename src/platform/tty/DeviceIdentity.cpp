#include "platform/tty/DeviceIdentity.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/base/SystemPaths.h"

namespace platform {

namespace {

bool ReadLine(const std::string& path, std::string& line) {
    std::ifstream file(path);
    return static_cast<bool>(std::getline(file, line));
}

std::string Parent(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

} // namespace

std::string UsbIdentity(const std::string& nodeName) {
    std::string link = SysfsDirectory() + "/class/tty/" + nodeName + "/device";
    std::unique_ptr<char, decltype(&std::free)> real(realpath(link.c_str(), nullptr), &std::free);
    if (!real)
        return {};
    // The tty hangs below the USB interface, which hangs below the USB device that carries the ids.
    std::string directory = real.get();
    for (int depth = 0; depth < 6 && !directory.empty(); ++depth, directory = Parent(directory)) {
        std::string vendor, product, serial;
        if (!ReadLine(directory + "/idVendor", vendor) || !ReadLine(directory + "/idProduct", product))
            continue;
        if (!ReadLine(directory + "/serial", serial) || serial.empty())
            serial = "@" + directory.substr(directory.find_last_of('/') + 1);
        return vendor + ":" + product + ":" + serial;
    }
    return {};
}

} // namespace platform
