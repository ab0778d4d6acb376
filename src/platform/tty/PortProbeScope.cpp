#include "platform/tty/PortProbeScope.h"

#include <optional>

namespace platform {

namespace {

struct ScopeState {
    int depth = 0;
    std::optional<std::vector<dev_t>> openers;
};

// Per thread: a probe on the user-interface thread never shares its look with another thread.
ScopeState& State() {
    thread_local ScopeState state;
    return state;
}

} // namespace

PortProbeScope::PortProbeScope() {
    ++State().depth;
}

PortProbeScope::~PortProbeScope() {
    if (--State().depth == 0)
        State().openers.reset();
}

bool PortProbeScope::Active() {
    return State().depth > 0;
}

const std::vector<dev_t>* PortProbeScope::SharedOpeners(std::vector<dev_t> (*scan)()) {
    ScopeState& state = State();
    if (state.depth == 0)
        return nullptr;
    if (!state.openers)
        state.openers = scan();
    return &*state.openers;
}

} // namespace platform
