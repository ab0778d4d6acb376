#include "platform/CommWait.h"

#include "platform/CommDeviceList.h"
#include "platform/CommWaitSet.h"

namespace platform {

bool CommAnyDeviceOpen() {
    return CommDeviceList::Instance().AnyOpen();
}

bool CommInputWaiting() {
    auto& devices = CommDeviceList::Instance();
    if (devices.AnyBufferedInput())
        return true;
    bool signalled = false;
    if (CommWaitSet::Instance().Poll(signalled))
        return true;
    // The eventfd was reset just now; bytes given before that are in the devices already.
    return signalled && devices.AnyBufferedInput();
}

int CommWaitDescriptor() {
    return CommWaitSet::Instance().Descriptor();
}

} // namespace platform
