#include "platform/hardware/HardwareTreeCpuInfo.h"

#include <charconv>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool ParseNumber(std::string_view text, unsigned& number) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

HardwareTreeCpuInfo HardwareTreeCpuInfo::Parse(std::string_view text) {
    HardwareTreeCpuInfo info;
    Fields* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        text = (end == std::string_view::npos) ? std::string_view() : text.substr(end + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            if (Trimmed(line).empty()) {
                current = nullptr;
            }
            continue;
        }
        const auto name = Trimmed(line.substr(0, colon));
        const auto value = Trimmed(line.substr(colon + 1));
        unsigned number = 0;
        if (name == "processor" && ParseNumber(value, number)) {
            current = &info.m_processors[number];
        } else if (current != nullptr && !name.empty()) {
            current->emplace(std::string(name), std::string(value));
        }
    }
    return info;
}
