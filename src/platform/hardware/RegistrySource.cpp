#include "platform/hardware/RegistrySource.h"

#include "platform/hardware/HardwareTree.h"

#include <mutex>
#include <utility>

namespace {

struct Source {
    std::string procRoot = "/proc";
    std::string sysRoot = "/sys";
    std::shared_ptr<RegistryKey> override;
};

std::mutex g_mutex;
Source g_source;

Source CurrentSource() {
    std::lock_guard lock(g_mutex);
    return g_source;
}

} // namespace

namespace platform {

void SetHardwareTreeRoots(std::string procRoot, std::string sysRoot) {
    std::lock_guard lock(g_mutex);
    g_source.procRoot = std::move(procRoot);
    g_source.sysRoot = std::move(sysRoot);
}

void SetHardwareTreeOverride(std::shared_ptr<RegistryKey> system) {
    std::lock_guard lock(g_mutex);
    g_source.override = std::move(system);
}

void ResetRegistrySource() {
    std::lock_guard lock(g_mutex);
    g_source = Source{};
}

std::shared_ptr<const RegistryKey> LocalMachineSnapshot() {
    const auto source = CurrentSource();
    auto system = source.override ? source.override : HardwareTree(source.procRoot, source.sysRoot).Build();
    auto root = std::make_shared<RegistryKey>("HKEY_LOCAL_MACHINE");
    root->AddPath("HARDWARE\\DESCRIPTION").AttachKey(std::move(system));
    return root;
}

} // namespace platform
