#include "platform/tty/DeviceOpeners.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/tty/PortProbeScope.h"
#include "platform/base/SystemPaths.h"

namespace platform {

namespace {

bool IsPid(const char* name) {
    if (*name == '\0')
        return false;
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9')
            return false;
    }
    return true;
}

// The devices one process has open. Links are read first, so that only descriptors on device
// nodes (not files, pipes, sockets) cost a stat.
void ScanProcess(int procFd, const char* pid, std::vector<dev_t>& devices) {
    std::string fdPath = std::string(pid) + "/fd";
    int fdDirFd = openat(procFd, fdPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDirFd < 0)
        return; // gone meanwhile, or not ours to inspect
    DIR* fds = fdopendir(fdDirFd);
    if (fds == nullptr) {
        close(fdDirFd);
        return;
    }
    while (dirent* entry = readdir(fds)) {
        if (entry->d_name[0] == '.')
            continue;
        char target[64];
        ssize_t length = readlinkat(fdDirFd, entry->d_name, target, sizeof target - 1);
        if (length < 5 || std::string_view(target, 5) != "/dev/")
            continue;
        struct stat info {};
        if (fstatat(fdDirFd, entry->d_name, &info, 0) == 0 && S_ISCHR(info.st_mode))
            devices.push_back(info.st_rdev);
    }
    closedir(fds);
}

} // namespace

std::vector<dev_t> DeviceOpeners::Scan() {
    std::vector<dev_t> devices;
    int procFd = open(ProcDirectory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return devices;
    DIR* processes = fdopendir(procFd);
    if (processes == nullptr) {
        close(procFd);
        return devices;
    }
    const std::string self = std::to_string(getpid());
    while (dirent* entry = readdir(processes)) {
        if (IsPid(entry->d_name) && self != entry->d_name)
            ScanProcess(procFd, entry->d_name, devices);
    }
    closedir(processes);
    std::sort(devices.begin(), devices.end());
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

bool DeviceOpeners::OpenElsewhere(dev_t device) {
    if (const std::vector<dev_t>* shared = PortProbeScope::SharedOpeners(&DeviceOpeners::Scan))
        return std::binary_search(shared->begin(), shared->end(), device);
    std::vector<dev_t> devices = Scan();
    return std::binary_search(devices.begin(), devices.end(), device);
}

} // namespace platform
