#include "framework/CurrentMessage.h"

namespace {
CurrentMessage* g_top = nullptr;
}

CurrentMessage::Scope::Scope(CurrentMessage& m) {
    m.previous = g_top;
    g_top = &m;
}

CurrentMessage::Scope::~Scope() {
    g_top = g_top->previous;
}

CurrentMessage* CurrentMessage::Top() {
    return g_top;
}
