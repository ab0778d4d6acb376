#include "platform/ports/DeviceDirectory.h"

#include <utility>

namespace {

std::string& Directory() {
    static std::string directory = "/dev";
    return directory;
}

} // namespace

namespace platform {

void SetDeviceDirectory(std::string directory) {
    Directory() = std::move(directory);
}

const std::string& DeviceDirectory() {
    return Directory();
}

} // namespace platform
