// Which device a port name stands for, read from a made-up /dev and /sys, and which devices are there
// but may not be opened by this user.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/ports/DeviceDirectory.h"
#include "platform/ports/DevicePermissions.h"
#include "platform/ports/PortDescription.h"
#include "platform/base/SystemPaths.h"
#include "support/FakeMachine.h"

namespace {

using platform::DescribePort;

class PortDescriptionTest : public testing::Test {
protected:
    void SetUp() override {
        m_oldDevices = platform::DeviceDirectory();
        machine.Folder("dev");
        platform::SetDeviceDirectory(machine.Path("dev"));
        platform::SetSysfsDirectory(machine.Sys());
    }
    void TearDown() override {
        platform::SetDeviceDirectory(m_oldDevices);
        platform::SetSysfsDirectory("/sys");
        platform::SetProcessIdentity(std::nullopt);
    }
    std::string Dev(const std::string& node) const { return machine.Path("dev/" + node); }
    // A tty below a USB device at `usb`, on its interface 1.0, as the kernel links it.
    void UsbTty(const std::string& tty, const std::string& usb, bool onInterface) const {
        const std::string device = "sys/devices/pci0000:00/usb1/" + usb;
        const std::string below = onInterface ? device + "/" + usb + ":1.0/" + tty : device + "/" + tty;
        machine.Link("sys/class/tty/" + tty + "/device", onInterface && tty.starts_with("ttyACM")
                                                              ? device + "/" + usb + ":1.0"
                                                              : below);
    }
    void Node(const std::string& node, mode_t mode) const {
        machine.Write("dev/" + node, "");
        ASSERT_EQ(::chmod(Dev(node).c_str(), mode), 0);
    }

    FakeMachine machine;

private:
    std::string m_oldDevices;
};

TEST_F(PortDescriptionTest, NamesAreDescribedByTheirNodeAndWhatTheAdapterSaysOfItself) {
    UsbTty("ttyUSB0", "1-2", true);
    machine.UsbIdentity("sys/devices/pci0000:00/usb1/1-2", "FT232R USB UART\n", "FTDI\n", "A50285BI\n");
    UsbTty("ttyACM0", "1-3", true);
    machine.UsbIdentity("sys/devices/pci0000:00/usb1/1-3", "Pico\n", nullptr, nullptr);
    UsbTty("ttyUSB1", "1-4", true);
    machine.UsbIdentity("sys/devices/pci0000:00/usb1/1-4", nullptr, std::string("Odd\x1b[2J\n").c_str(), "\n");
    machine.Device("sys/devices/pnp0/00:01", "pnp", "serial");
    machine.Link("sys/class/tty/ttyS0/device", "sys/devices/pnp0/00:01");
    // A USB device above the folder that stands for /sys is not this machine's.
    machine.Write("idVendor", "0403\n");
    machine.Write("product", "outside\n");
    machine.Link("sys/class/tty/ttyUSB2/device", "devices-elsewhere/ttyUSB2");

    const std::pair<const char*, std::string> cases[] = {
        {"COM33", Dev("ttyUSB0") + ": FT232R USB UART, FTDI, serial A50285BI"},
        {"com65", Dev("ttyACM0") + ": Pico"},
        {"COM34", Dev("ttyUSB1") + ": Odd?[2J"},
        {"COM35", Dev("ttyUSB2")},
        {"COM1", Dev("ttyS0")},
        {"COM2", Dev("ttyS1")},
        {"COM129", Dev("ttymxc0")},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM0", ""},
        {"LPT1", ""},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(DescribePort(name), expected) << name;
}

// Devices this user may not open are named, in port order, whatever the way the permission is
// missing; nodes the table has no name for, and ports without hardware behind them, are not.
TEST_F(PortDescriptionTest, DevicesThatMayNotBeOpenedAreNamedInPortOrder) {
    Node("ttyUSB0", 0660);
    Node("ttyS4", 0660);
    Node("ttyACM0", 0600);
    Node("ttyS1", 0660);
    machine.Write("sys/class/tty/ttyS1/type", "0\n"); // the serial core's placeholder
    machine.Link("sys/class/tty/ttyS1/device", "sys/devices/platform/serial8250");
    Node("tty0", 0600);
    Node("ttyAMA0", 0666);
    const uid_t owner = ::geteuid();
    const gid_t group = ::getegid();

    const auto denied = [](platform::ProcessIdentity identity) {
        platform::SetProcessIdentity(identity);
        std::vector<std::string> paths;
        for (const auto& device : platform::DevicesWithoutPermission())
            paths.push_back(device.path + (device.groupMayOpen ? " group" : ""));
        return paths;
    };
    using Paths = std::vector<std::string>;
    const uid_t stranger = owner + 4242;
    EXPECT_EQ(denied({stranger, {}}), (Paths{Dev("ttyS4") + " group", Dev("ttyUSB0") + " group", Dev("ttyACM0")}));
    EXPECT_EQ(denied({stranger, {stranger, group}}), (Paths{Dev("ttyACM0")}));
    EXPECT_EQ(denied({0, {}}), Paths{}) << "root opens everything";
    if (owner != 0) {
        EXPECT_EQ(denied({owner, {}}), Paths{});
        Node("ttyUSB0", 0066);
        EXPECT_EQ(denied({owner, {group}}), (Paths{Dev("ttyUSB0") + " group"})) << "the owner's own bits count";
    }
}

} // namespace
