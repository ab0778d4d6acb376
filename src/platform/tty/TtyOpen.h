#pragma once
// Opening a tty as a communications device, for CreateFileA. Kept apart from TtyDevice.h so that
// callers need not see the kernel's termios.

#include <memory>
#include <string>

#include "platform/comm/CommDevice.h"

namespace platform {

// nullptr after recording the failure: ERROR_FILE_NOT_FOUND when no device answers at the path
// (or it is not a tty), ERROR_ACCESS_DENIED when the port is held or access is refused.
std::unique_ptr<CommDevice> OpenTty(const std::string& path, bool overlapped);

} // namespace platform
