#include "platform/PortNameTable.h"

#include <array>
#include <charconv>

#include "platform/DeviceDirectory.h"

namespace platform {

namespace {

struct Range {
    int first;
    int count;
    std::string_view node;
};

constexpr std::array<Range, 5> kRanges{{
    {1, 32, "ttyS"},
    {33, 32, "ttyUSB"},
    {65, 32, "ttyACM"},
    {97, 16, "ttyAMA"},
    {113, 16, "rfcomm"},
}};

// A decimal number without sign or leading zeros; -1 for anything else.
int ParseNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    int value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return -1;
    return value;
}

bool StartsWithComPrefix(std::string_view name) {
    if (name.size() < 3)
        return false;
    auto upper = [](char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); };
    return upper(name[0]) == 'C' && upper(name[1]) == 'O' && upper(name[2]) == 'M';
}

} // namespace

int PortNameTable::ComNumber(std::string_view name) {
    if (!StartsWithComPrefix(name))
        return 0;
    int number = ParseNumber(name.substr(3));
    return number >= 1 && number <= 255 ? number : 0;
}

std::string PortNameTable::DevicePath(std::string_view name) {
    if (!name.empty() && name.front() == '/')
        return std::string(name);
    int number = ComNumber(name);
    for (const Range& range : kRanges) {
        if (number >= range.first && number < range.first + range.count)
            return DeviceDirectory() + "/" + std::string(range.node) + std::to_string(number - range.first);
    }
    return {};
}

std::string PortNameTable::PortNameOf(std::string_view deviceName) {
    for (const Range& range : kRanges) {
        if (!deviceName.starts_with(range.node))
            continue;
        int index = ParseNumber(deviceName.substr(range.node.size()));
        if (index >= 0 && index < range.count)
            return "COM" + std::to_string(range.first + index);
    }
    return {};
}

} // namespace platform
