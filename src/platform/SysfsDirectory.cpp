#include "platform/SysfsDirectory.h"

#include <utility>

namespace {

std::string& Directory() {
    static std::string directory = "/sys";
    return directory;
}

} // namespace

namespace platform {

void SetSysfsDirectory(std::string directory) {
    Directory() = std::move(directory);
}

const std::string& SysfsDirectory() {
    return Directory();
}

} // namespace platform
