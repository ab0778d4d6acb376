#include "platform/comm/CommActivity.h"

#include "platform/comm/CommDeviceList.h"
#include "platform/base/CommWakeEvent.h"

namespace platform {

bool CommAnyDeviceOpen() {
    return CommDeviceList::Instance().AnyOpen();
}

bool CommActivityWaiting() {
    // Bytes already received are taken at once: while they stream in, looking at the wake event
    // first would cost a system call per block.
    return CommDeviceList::Instance().AnyReadAhead() || CommWakeEvent::Instance().Take();
}

int CommWakeDescriptor() {
    return CommWakeEvent::Instance().Descriptor();
}

int CommWakeAfterMs() {
    return CommDeviceList::Instance().SoonestWake();
}

} // namespace platform
