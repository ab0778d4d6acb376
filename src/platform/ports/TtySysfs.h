#pragma once
// What /sys/class/tty tells about one tty: whether hardware stands behind it, and for a USB adapter
// the product, maker and serial number that the adapter reports. Missing or odd files give nothing.

#include <filesystem>
#include <optional>
#include <string>

namespace platform::hardware {

struct UsbIdentity {
    std::optional<std::string> product;
    std::optional<std::string> manufacturer;
    std::optional<std::string> serial;
};

// True when folder lies inside top (both canonical).
bool IsBelow(const std::filesystem::path& folder, const std::filesystem::path& top);

// The tty's folder in the class tree below sysRoot.
std::string TtyFolder(const std::string& sysRoot, const std::string& ttyName);

// False for a tty without a device, and for a serial core port whose UART was never found.
bool HasHardware(const std::string& ttyFolder);

// The identity of the USB device above the tty (the nearest folder with an idVendor), looked for
// no higher than sysRoot; all empty when the tty is not on USB.
UsbIdentity ReadUsbIdentity(const std::string& ttyFolder, const std::string& sysRoot);

// "FT232R USB UART, FTDI, serial A50285BI": the parts that are there, in that order; empty when none is.
std::string UsbIdentityText(const UsbIdentity& identity);

} // namespace platform::hardware
