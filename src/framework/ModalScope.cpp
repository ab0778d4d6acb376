#include "framework/ModalScope.h"

#include "framework/MessageDispatch.h"
#include "framework/MessageLoop.h"
#include "framework/PostedMessageQueue.h"

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

