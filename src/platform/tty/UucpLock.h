#pragma once
// UUCP lock files ("LCK..ttyUSB0" in /var/lock or /run/lock), the way serial programs on Linux tell
// each other that a port is in use. A lock counts while the process it names lives; one whose
// process is gone is stale. While this process holds a port it keeps a lock file of its own there,
// where the directory lets it, and removes it when the port is closed or the program ends normally.

#include <string>

namespace platform {

class UucpLock {
public:
    UucpLock() = default;
    ~UucpLock() { Release(); }
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // True when a lock file names the device (its node name, "ttyUSB0") and a live process other
    // than this one.
    static bool HeldElsewhere(const std::string& deviceName);

    // Creates this process's lock file for the device in the first writable lock directory,
    // atomically (written under a temporary name, then linked). A stale lock there is replaced.
    // False only when a live lock of another process is in the way; true without any file when no
    // lock directory is writable.
    bool Take(const std::string& deviceName);
    void Release();

    // The lock file this object holds; empty when none.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace platform
