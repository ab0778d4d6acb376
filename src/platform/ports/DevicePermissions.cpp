#include "platform/ports/DevicePermissions.h"

#include <algorithm>
#include <grp.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ports/DeviceDirectory.h"
#include "platform/base/KernelFiles.h"
#include "platform/ports/PortNameTable.h"
#include "platform/base/SystemPaths.h"
#include "platform/ports/TtySysfs.h"

namespace platform {

namespace {

std::mutex g_mutex;
std::optional<ProcessIdentity> g_identity;

ProcessIdentity RealIdentity() {
    ProcessIdentity identity;
    identity.uid = ::geteuid();
    identity.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> more(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, more.data());
        more.resize(static_cast<std::size_t>(std::max(got, 0)));
        identity.groups.insert(identity.groups.end(), more.begin(), more.end());
    }
    return identity;
}

// Read and write, as the open of a port asks for.
bool MayReadAndWrite(const struct stat& node, const ProcessIdentity& identity) {
    if (identity.uid == 0)
        return true;
    constexpr mode_t kOwner = S_IRUSR | S_IWUSR, kGroup = S_IRGRP | S_IWGRP, kOther = S_IROTH | S_IWOTH;
    if (node.st_uid == identity.uid)
        return (node.st_mode & kOwner) == kOwner;
    if (std::find(identity.groups.begin(), identity.groups.end(), node.st_gid) != identity.groups.end())
        return (node.st_mode & kGroup) == kGroup;
    return (node.st_mode & kOther) == kOther;
}

std::string GroupName(gid_t gid) {
    long size = ::sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    struct group entry {};
    struct group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->gr_name;
    return std::to_string(gid);
}

// A node that sysfs knows and shows without hardware is no device a user could want.
bool MayBeHardware(const std::string& name) {
    const std::string folder = hardware::TtyFolder(SysfsDirectory(), name);
    return !PathExists(folder) || hardware::HasHardware(folder);
}

} // namespace

void SetProcessIdentity(std::optional<ProcessIdentity> identity) {
    std::lock_guard lock(g_mutex);
    g_identity = std::move(identity);
}

ProcessIdentity CurrentProcessIdentity() {
    std::lock_guard lock(g_mutex);
    return g_identity ? *g_identity : RealIdentity();
}

std::vector<DeniedDevice> DevicesWithoutPermission() {
    const ProcessIdentity identity = CurrentProcessIdentity();
    std::map<int, DeniedDevice> denied;
    for (const auto& name : ListDirectory(DeviceDirectory())) {
        const std::string portName = PortNameTable::PortNameOf(name);
        if (portName.empty())
            continue;
        const std::string path = DeviceDirectory() + "/" + name;
        struct stat node {};
        if (::stat(path.c_str(), &node) != 0 || MayReadAndWrite(node, identity) || !MayBeHardware(name))
            continue;
        const bool groupMayOpen = (node.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
        denied.emplace(PortNameTable::ComNumber(portName), DeniedDevice{path, GroupName(node.st_gid), groupMayOpen});
    }
    std::vector<DeniedDevice> result;
    for (auto& entry : denied)
        result.push_back(std::move(entry.second));
    return result;
}

} // namespace platform
