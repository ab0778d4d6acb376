#include "framework/loop/ModalScope.h"

#include "framework/loop/MessageDispatch.h"
#include "framework/loop/MessageLoop.h"
#include "framework/window/PostedMessageQueue.h"

ModalScope::ModalScope() {
    ++ModalDepth::s_depth;
    // A modal loop never runs the idle step, so bytes waiting on the port must not wake it.
    MessageLoop::StopWatchingDevices();
    PostedMessageQueue::Instance().WakeIfWaiting(&afx::DispatchPostedMessage);
}

ModalScope::~ModalScope() {
    --ModalDepth::s_depth;
    MessageLoop::LookAtDevicesAgain();
}

