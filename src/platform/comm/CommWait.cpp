#include "platform/comm/CommWait.h"

#include "platform/comm/CommDeviceList.h"
#include "platform/base/CommWaitSet.h"

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

bool CommActivityWaiting() {
    // Bytes already in the kernel are read ahead at once: while they stream in, asking the wait
    // descriptor first would cost a system call per read-ahead, and for a tty a wait for the
    // kernel's own buffer work.
    if (CommDeviceList::Instance().AnyReadAhead())
        return true;
    bool signalled = false;
    return CommWaitSet::Instance().Poll(signalled) || signalled;
}

int CommWaitDescriptor() {
    return CommWaitSet::Instance().Descriptor();
}

int CommWaitTimeout() {
    return CommDeviceList::Instance().SoonestWake();
}

} // namespace platform
