#include "platform/tty/DeviceOpeners.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// The master side of every pseudo-terminal (/dev/ptmx and each devpts instance's ptmx node).
constexpr unsigned kPtmxMajor = 5;
constexpr unsigned kPtmxMinor = 2;
// A pseudo-terminal's slave is /dev/pts/N with this major number and N as its minor.
constexpr unsigned kPtySlaveMajor = 136;

// The index of the pseudo-terminal whose master the descriptor is, from the "tty-index" line the
// kernel gives in fdinfo for a ptmx descriptor; -1 when there is none.
long PtyIndex(int procFd, const char* pid, const char* fd) {
    std::string path = std::string(pid) + "/fdinfo/" + fd;
    int infoFd = openat(procFd, path.c_str(), O_RDONLY | O_CLOEXEC);
    if (infoFd < 0)
        return -1;
    char text[512];
    ssize_t length = read(infoFd, text, sizeof text - 1);
    close(infoFd);
    if (length <= 0)
        return -1;
    text[length] = '\0';
    const char* line = std::strstr(text, "tty-index:");
    if (line == nullptr)
        return -1;
    char* end = nullptr;
    long index = std::strtol(line + std::strlen("tty-index:"), &end, 10);
    return end != line + std::strlen("tty-index:") && index >= 0 ? index : -1;
}

// The devices one process has open. Links are read first, so that only descriptors on device
// nodes (not files, pipes, sockets) cost a stat. A pseudo-terminal whose master the process holds
// as well is its own: the process made it (socat, a test rig, a terminal multiplexer) and offers
// its slave to whoever wants to open it, so that slave does not count as held.
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
    const std::size_t first = devices.size();
    std::vector<dev_t> ownPtys;
    while (dirent* entry = readdir(fds)) {
        if (entry->d_name[0] == '.')
            continue;
        char target[64];
        ssize_t length = readlinkat(fdDirFd, entry->d_name, target, sizeof target - 1);
        if (length < 5 || std::string_view(target, 5) != "/dev/")
            continue;
        struct stat info {};
        if (fstatat(fdDirFd, entry->d_name, &info, 0) != 0 || !S_ISCHR(info.st_mode))
            continue;
        if (major(info.st_rdev) == kPtmxMajor && minor(info.st_rdev) == kPtmxMinor) {
            const long index = PtyIndex(procFd, pid, entry->d_name);
            if (index >= 0)
                ownPtys.push_back(makedev(kPtySlaveMajor, static_cast<unsigned>(index)));
            continue;
        }
        devices.push_back(info.st_rdev);
    }
    closedir(fds);
    if (!ownPtys.empty()) {
        const auto own = [&](dev_t device) {
            return std::find(ownPtys.begin(), ownPtys.end(), device) != ownPtys.end();
        };
        devices.erase(std::remove_if(devices.begin() + static_cast<std::ptrdiff_t>(first), devices.end(), own),
                      devices.end());
    }
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
