#include "platform/comm/CommWait.h"

#include "platform/comm/CommDeviceList.h"
#include "platform/base/CommWakeEvent.h"

namespace platform {

bool CommAnyDeviceOpen() {
    return CommDeviceList::Instance().AnyOpen();
}

bool CommInputWaiting() {
    auto& devices = CommDeviceList::Instance();
    if (devices.AnyBufferedInput())
        return true;
    // The signal was taken just now; bytes given before that are in the devices already.
    return CommWakeEvent::Instance().Take() && devices.AnyBufferedInput();
}

bool CommActivityWaiting() {
    // Bytes already received are taken at once: while they stream in, looking at the wake event
    // first would cost a system call per block.
    return CommDeviceList::Instance().AnyReadAhead() || CommWakeEvent::Instance().Take();
}

int CommWaitDescriptor() {
    return CommWakeEvent::Instance().Descriptor();
}

int CommWaitTimeout() {
    return CommDeviceList::Instance().SoonestWake();
}

} // namespace platform
