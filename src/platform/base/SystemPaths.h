#pragma once
// Where the layer looks at the rest of the system when it opens a port: the UUCP lock directories,
// the process table (/proc) and the device tree (/sys). Tests point them at directories of their
// own, so that no test reads or writes the machine's locks for its real devices.

#include <string>
#include <vector>

namespace platform {

// "/var/lock" and "/run/lock" unless set; our own lock files go into the first writable one.
void SetLockDirectories(std::vector<std::string> directories);
const std::vector<std::string>& LockDirectories();

void SetProcDirectory(std::string directory);
const std::string& ProcDirectory();

void SetSysfsDirectory(std::string directory);
const std::string& SysfsDirectory();

} // namespace platform
