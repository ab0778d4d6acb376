#pragma once
// Which character devices other processes have open, seen through /proc/<pid>/fd. A program that
// opened a port without locking it (a plain `cat`, a script using a serial library's defaults) is
// found only this way. Processes we may not inspect are skipped; this process does not count, and
// neither does the slave of a pseudo-terminal whose master the same process holds (its maker).

#include <sys/types.h>
#include <vector>

namespace platform {

class DeviceOpeners {
public:
    // True when a process other than this one has the device (by device number) open. Inside a
    // PortProbeScope every question is answered from one look at /proc, made at the first question.
    static bool OpenElsewhere(dev_t device);

    // One look at /proc: the device numbers of the character devices under /dev that other
    // processes have open, sorted.
    static std::vector<dev_t> Scan();
};

} // namespace platform
