#include "framework/ModalScope.h"

#include "framework/PostedMessageQueue.h"

namespace {
int g_depth = 0;
}

ModalScope::ModalScope() {
    ++g_depth;
    PostedMessageQueue::Instance().WakeIfWaiting();
}

ModalScope::~ModalScope() {
    --g_depth;
}

int ModalScope::Depth() {
    return g_depth;
}
