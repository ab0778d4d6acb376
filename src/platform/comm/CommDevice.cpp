#include "platform/comm/CommDevice.h"

#include <cstring>

#include "platform/base/LastError.h"

namespace platform {

namespace {

bool RoomFor(DWORD needed, const void* out, DWORD outSize) {
    return out != nullptr && outSize >= needed;
}

} // namespace

bool CommDevice::IoControl(DWORD code, void* out, DWORD outSize, DWORD& returned) {
    returned = 0;
    if (code == IOCTL_SERIAL_GET_DTRRTS) {
        DWORD lines = 0;
        if (!RoomFor(sizeof lines, out, outSize))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        if (!DtrRts(lines))
            return false;
        std::memcpy(out, &lines, sizeof lines);
        returned = sizeof lines;
        return true;
    }
    if (code == IOCTL_SERIAL_GET_STATS) {
        SERIALPERF_STATS stats{};
        if (!RoomFor(sizeof stats, out, outSize))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        if (!Stats(stats))
            return false;
        std::memcpy(out, &stats, sizeof stats);
        returned = sizeof stats;
        return true;
    }
    return Fail(ERROR_NOT_SUPPORTED);
}

} // namespace platform
