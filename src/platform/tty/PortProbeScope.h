#pragma once
// A probe of many ports at once (the port dialog opens COM1 to COM255 in turn). While a scope lives,
// the opens made on this thread share one look at the process table, so the probe costs one scan of
// /proc rather than one per port. Scopes nest; the look is dropped when the outermost one ends.

#include <sys/types.h>
#include <vector>

namespace platform {

class PortProbeScope {
public:
    PortProbeScope();
    ~PortProbeScope();
    PortProbeScope(const PortProbeScope&) = delete;
    PortProbeScope& operator=(const PortProbeScope&) = delete;

    // True while a scope lives on this thread.
    static bool Active();

    // The devices other processes had open when the current scope first asked; nullptr outside a
    // scope. `scan` makes the look when none has been made yet.
    static const std::vector<dev_t>* SharedOpeners(std::vector<dev_t> (*scan)());
};

} // namespace platform
