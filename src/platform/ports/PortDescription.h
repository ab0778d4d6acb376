#pragma once
// What tells a person which device a port name stands for: its device node and, for a USB adapter,
// what the adapter says of itself ("/dev/ttyUSB0: FT232R USB UART, FTDI, serial A50285BI"). The
// loopback plug says what it is. Read from platform::DeviceDirectory() and platform::SysfsDirectory().

#include <string>
#include <string_view>

namespace platform {

// Empty for a name the table gives no device.
std::string DescribePort(std::string_view portName);

} // namespace platform
