#include "platform/base/SystemPaths.h"

#include <utility>

namespace platform {

namespace {

std::vector<std::string>& Locks() {
    static std::vector<std::string> directories{"/var/lock", "/run/lock"};
    return directories;
}

std::string& Proc() {
    static std::string directory = "/proc";
    return directory;
}

std::string& Sysfs() {
    static std::string directory = "/sys";
    return directory;
}

} // namespace

void SetLockDirectories(std::vector<std::string> directories) {
    Locks() = std::move(directories);
}

const std::vector<std::string>& LockDirectories() {
    return Locks();
}

void SetProcDirectory(std::string directory) {
    Proc() = std::move(directory);
}

const std::string& ProcDirectory() {
    return Proc();
}

void SetSysfsDirectory(std::string directory) {
    Sysfs() = std::move(directory);
}

const std::string& SysfsDirectory() {
    return Sysfs();
}

} // namespace platform
