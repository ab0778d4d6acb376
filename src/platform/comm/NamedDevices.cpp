#include "platform/comm/NamedDevices.h"

#include <map>
#include <mutex>
#include <string>

namespace platform {

namespace {

struct Table {
    std::mutex mutex;
    std::map<std::string, DeviceOpener> openers;
};

Table& Openers() {
    static Table table;
    return table;
}

std::string Key(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return key;
}

} // namespace

void NamedDevices::Register(std::string_view name, DeviceOpener opener) {
    std::lock_guard lock(Openers().mutex);
    if (opener)
        Openers().openers[Key(name)] = std::move(opener);
    else
        Openers().openers.erase(Key(name));
}

void NamedDevices::UnregisterAll() {
    std::lock_guard lock(Openers().mutex);
    Openers().openers.clear();
}

DeviceOpener NamedDevices::Find(std::string_view name) {
    std::lock_guard lock(Openers().mutex);
    if (Openers().openers.empty())
        return {};
    auto found = Openers().openers.find(Key(name));
    return found == Openers().openers.end() ? DeviceOpener() : found->second;
}

} // namespace platform
