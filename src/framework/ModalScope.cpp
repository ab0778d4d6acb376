#include "framework/ModalScope.h"

#include "framework/MessageLoop.h"
#include "framework/PostedMessageQueue.h"

ModalScope::ModalScope() {
    ++s_depth;
    // A modal loop never runs the idle step, so bytes waiting on the port must not wake it.
    MessageLoop::StopWatchingDevices();
    PostedMessageQueue::Instance().WakeIfWaiting();
}

ModalScope::~ModalScope() {
    --s_depth;
    MessageLoop::LookAtDevicesAgain();
}

