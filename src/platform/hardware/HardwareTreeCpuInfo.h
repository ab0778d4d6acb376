#pragma once
// /proc/cpuinfo read into one set of fields per processor. Each block starts with a
// "processor : N" line; its "name : value" lines belong to that processor until a blank line ends the
// block. Lines outside any block (some architectures put machine-wide lines there) are ignored.

#include <map>
#include <string>
#include <string_view>

class HardwareTreeCpuInfo {
public:
    using Fields = std::map<std::string, std::string, std::less<>>;

    static HardwareTreeCpuInfo Parse(std::string_view text);

    // Processor number to its fields, in ascending order.
    const std::map<unsigned, Fields>& Processors() const { return m_processors; }

private:
    std::map<unsigned, Fields> m_processors;
};
