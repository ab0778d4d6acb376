#include "platform/ports/PortNameTable.h"

#include <array>
#include <charconv>

#include "platform/ports/DeviceDirectory.h"

namespace platform {

namespace {

using Range = PortNameRange;

// The first five families are the common ones of desktop machines and came first. The names from
// COM129 on go to the UARTs of embedded boards and to adapters whose drivers name their nodes
// themselves; each range is sized for the most ports such a machine has.
constexpr std::array<Range, 21> kRanges{{
    {1, 32, "ttyS", "PC and multi-port board UARTs"},
    {33, 32, "ttyUSB", "USB serial adapters"},
    {65, 32, "ttyACM", "USB CDC ACM (modems, boards)"},
    {97, 16, "ttyAMA", "ARM PL011 UARTs (Raspberry Pi)"},
    {113, 16, "rfcomm", "Bluetooth RFCOMM links"},
    {129, 8, "ttymxc", "NXP i.MX UARTs"},
    {137, 8, "ttyLP", "NXP LPUARTs"},
    {145, 8, "ttySAC", "Samsung Exynos UARTs"},
    {153, 8, "ttyO", "TI OMAP UARTs (older kernels)"},
    {161, 8, "ttyTHS", "NVIDIA Tegra high-speed UARTs"},
    {169, 8, "ttyHS", "high-speed UARTs (Qualcomm)"},
    {177, 4, "ttyMSM", "Qualcomm MSM UARTs"},
    {181, 8, "ttyAML", "Amlogic Meson UARTs"},
    {189, 4, "ttyPS", "Xilinx Zynq UARTs"},
    {193, 2, "ttyMV", "Marvell Armada 3700 UARTs"},
    {195, 8, "ttySC", "SC16IS7xx I2C/SPI UARTs"},
    {203, 8, "ttyRPMSG", "remote processor links (RPMsg)"},
    {211, 4, "ttyGS", "USB gadget serial ports"},
    {215, 8, "ttyXRUSB", "Exar USB UARTs (vendor driver)"},
    {223, 16, "ttyMXUSB", "Moxa UPort USB adapters"},
    {239, 16, "ttyMI", "Moxa PCI multi-port boards"},
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

std::span<const PortNameRange> PortNameTable::Ranges() {
    return kRanges;
}

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
