#include "platform/tty/UucpLock.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <unistd.h>

#include "platform/base/SystemPaths.h"

namespace platform {

namespace {

// The lock files this process holds, removed by a normal exit if their ports are still open then.
// Never destroyed, so that handles closed during exit can still find it.
struct HeldLocks {
    std::mutex mutex;
    std::set<std::string> paths;
};

HeldLocks& Held() {
    static auto* held = new HeldLocks;
    return *held;
}

void RemoveHeldAtExit() {
    std::lock_guard lock(Held().mutex);
    for (const std::string& path : Held().paths)
        unlink(path.c_str());
    Held().paths.clear();
}

void Remember(const std::string& path) {
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(RemoveHeldAtExit); });
    std::lock_guard lock(Held().mutex);
    Held().paths.insert(path);
}

void Forget(const std::string& path) {
    std::lock_guard lock(Held().mutex);
    Held().paths.erase(path);
}

std::string LockPath(const std::string& directory, const std::string& deviceName) {
    return directory + "/LCK.." + deviceName;
}

// The process a lock file names: ten ASCII digits padded with blanks (the common form), or a binary
// int of four bytes (older programs). 0 when the file holds neither.
pid_t LockOwner(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return 0;
    char text[32] = {};
    ssize_t got = read(fd, text, sizeof text - 1);
    close(fd);
    if (got <= 0)
        return 0;
    bool ascii = true;
    for (ssize_t i = 0; i < got; ++i)
        ascii = ascii && (text[i] == ' ' || text[i] == '\n' || (text[i] >= '0' && text[i] <= '9'));
    if (!ascii) {
        if (got != sizeof(int))
            return 0;
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? binary : 0;
    }
    long value = std::strtol(text, nullptr, 10);
    return value > 0 && value <= 0x7fffffff ? static_cast<pid_t>(value) : 0;
}

bool Alive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

// Writes our pid where no one else can see a half-written file.
bool WriteTemporary(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    char text[16];
    int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    bool written = write(fd, text, static_cast<std::size_t>(length)) == length;
    close(fd);
    if (!written)
        unlink(path.c_str());
    return written;
}

} // namespace

bool UucpLock::HeldElsewhere(const std::string& deviceName) {
    for (const std::string& directory : LockDirectories()) {
        pid_t owner = LockOwner(LockPath(directory, deviceName));
        if (owner != getpid() && Alive(owner))
            return true;
    }
    return false;
}

bool UucpLock::Take(const std::string& deviceName) {
    Release();
    static unsigned serial = 0;
    for (const std::string& directory : LockDirectories()) {
        if (access(directory.c_str(), W_OK) != 0)
            continue;
        std::string path = LockPath(directory, deviceName);
        std::string temporary =
            directory + "/LTMP." + std::to_string(getpid()) + "." + std::to_string(++serial);
        if (!WriteTemporary(temporary))
            continue;
        bool linked = false;
        for (int attempt = 0; attempt < 2 && !linked; ++attempt) {
            linked = link(temporary.c_str(), path.c_str()) == 0;
            if (linked || errno != EEXIST)
                break;
            pid_t owner = LockOwner(path);
            if (owner == getpid()) {
                linked = true; // ours already, from before the device went away
            } else if (Alive(owner)) {
                unlink(temporary.c_str());
                return false;
            } else {
                unlink(path.c_str()); // stale
            }
        }
        unlink(temporary.c_str());
        if (linked) {
            m_path = path;
            Remember(path);
        }
        return true;
    }
    return true;
}

void UucpLock::Release() {
    if (m_path.empty())
        return;
    // Only a file that still names us: a stale-lock cleaner may have handed the name on.
    if (LockOwner(m_path) == getpid())
        unlink(m_path.c_str());
    Forget(m_path);
    m_path.clear();
}

} // namespace platform
