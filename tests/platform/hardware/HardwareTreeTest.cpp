#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FakeMachine.h"
#include "platform/hardware/HardwareTree.h"
#include "platform/base/KernelFiles.h"
#include "platform/hardware/Registry.h"
#include "platform/hardware/RegistrySource.h"

namespace {

namespace fs = std::filesystem;

// A value in a form a test can state exactly; strings must end with their NUL.
std::string Describe(const RegistryKey::Value& value) {
    const auto& data = value.data;
    const auto quoted = [&](std::size_t from, std::size_t to) {
        return "\"" +
               std::string(data.begin() + static_cast<std::ptrdiff_t>(from),
                           data.begin() + static_cast<std::ptrdiff_t>(to)) +
               "\"";
    };
    std::string text;
    switch (value.type) {
    case REG_SZ:
        EXPECT_TRUE(!data.empty() && data.back() == 0) << value.name;
        return "SZ " + quoted(0, data.size() - 1);
    case REG_MULTI_SZ:
        text = "MULTI_SZ";
        for (std::size_t start = 0, end = 0; start + 1 < data.size(); start = end + 1) {
            end = static_cast<std::size_t>(
                std::find(data.begin() + static_cast<std::ptrdiff_t>(start), data.end(), 0) - data.begin());
            text += " " + quoted(start, end);
        }
        return text;
    case REG_DWORD:
        EXPECT_EQ(data.size(), 4u) << value.name;
        return "DWORD " +
               std::to_string(data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24);
    case REG_BINARY:
        text = "BINARY";
        for (const auto byte : data) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", byte);
            text += hex;
        }
        return text;
    default:
        return "TYPE " + std::to_string(value.type);
    }
}

std::string Describe(const RegistryKey& key, const std::string& indent = "") {
    std::string text = indent + key.Name() + "\n";
    for (std::size_t i = 0; i < key.ValueCount(); ++i)
        text += indent + "  " + key.ValueAt(i).name + " = " + Describe(key.ValueAt(i)) + "\n";
    for (std::size_t i = 0; i < key.KeyCount(); ++i)
        text += Describe(*key.KeyAt(i), indent + "  ");
    return text;
}

const char* const kIntelBlock = "vendor_id\t: GenuineIntel\n"
                                "cpu family\t: 6\n"
                                "model\t\t: 158\n"
                                "model name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n"
                                "stepping\t: 10\n"
                                "microcode\t: 0xf0\n"
                                "fpu\t\t: yes\n"
                                "flags\t\t: fpu vme de pse tsc lm sse sse2\n";

// Two processors, a firmware, one 16550 at ttyS0 with a device and 31 more ttyS entries without,
// and a USB adapter at ttyUSB0, among the usual ttys that are no serial ports.
void MakeDesktop(const FakeMachine& machine) {
    machine.Write("proc/cpuinfo", std::string("processor\t: 0\n") + kIntelBlock +
                                      "cpu MHz\t\t: 3400.123\n\n" + "processor\t: 1\n" + kIntelBlock +
                                      "cpu MHz\t\t: 799.5\npower management:");
    machine.Write("proc/sys/kernel/arch", "x86_64\n");
    machine.Write("sys/devices/system/cpu/online", "0-1\n");
    machine.Write("sys/devices/system/cpu/cpu0/cpufreq/base_frequency", "3200000\n");
    machine.Write("sys/devices/system/cpu/cpu1/online", "1\n");
    machine.Folder("sys/devices/system/cpu/cpufreq");
    machine.Folder("sys/devices/system/cpu/cpuidle");

    const std::pair<const char*, const char*> dmi[] = {
        {"bios_vendor", "American Megatrends Inc.\n"},
        {"bios_version", "1.A0\n"},
        {"bios_date", "05/14/2019\n"},
        {"bios_release", "5.13\n"},
        {"sys_vendor", "Micro-Star International Co., Ltd.\n"},
        {"product_name", "MS-7B17\n"},
        {"product_version", "1.0   \n"},
        {"board_vendor", "Micro-Star International Co., Ltd.\n"},
        {"board_name", "MPG Z390 GAMING PRO CARBON (MS-7B17)\n"},
        {"board_version", "1.0\n"}};
    for (const auto& [file, text] : dmi)
        machine.Write(std::string("sys/class/dmi/id/") + file, text);

    machine.Device("sys/devices/pnp0/00:01", "pnp", "serial");
    machine.Link("sys/class/tty/ttyS0/device", "sys/devices/pnp0/00:01");
    machine.Write("sys/class/tty/ttyS0/type", "4\n");
    machine.Write("sys/class/tty/ttyS0/uevent", "MAJOR=4\nMINOR=64\nDEVNAME=ttyS0\n");
    for (int i = 1; i < 32; ++i)
        machine.Write("sys/class/tty/ttyS" + std::to_string(i) + "/type", "0\n");
    const std::string usb = "sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0";
    machine.Device(usb, "usb-serial", "ftdi_sio");
    machine.Link("sys/class/tty/ttyUSB0/device", usb);
    machine.Write("sys/class/tty/ttyUSB0/uevent", "MAJOR=188\nMINOR=0\nDEVNAME=ttyUSB0\n");
    machine.UsbIdentity("sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", "FT232R USB UART\n", "FTDI\n", "A50285BI\n");
    machine.Folder("sys/class/tty/tty0");
    machine.Folder("sys/class/tty/console");
    machine.Folder("sys/class/tty/ptmx");
    machine.Device("sys/devices/virtual/printk", "virtual", "printk");
    machine.Link("sys/class/tty/ttyprintk/device", "sys/devices/virtual/printk");
}

const char* const kDesktopTree = R"T(System
  Identifier = SZ "x86_64"
  SystemBiosDate = SZ "05/14/2019"
  SystemBiosVersion = MULTI_SZ "1.A0" "American Megatrends Inc."
  BIOS
    BIOSVendor = SZ "American Megatrends Inc."
    BIOSVersion = SZ "1.A0"
    BIOSReleaseDate = SZ "05/14/2019"
    SystemManufacturer = SZ "Micro-Star International Co., Ltd."
    SystemProductName = SZ "MS-7B17"
    SystemVersion = SZ "1.0"
    BaseBoardManufacturer = SZ "Micro-Star International Co., Ltd."
    BaseBoardProduct = SZ "MPG Z390 GAMING PRO CARBON (MS-7B17)"
    BaseBoardVersion = SZ "1.0"
    BiosMajorRelease = DWORD 5
    BiosMinorRelease = DWORD 13
  CentralProcessor
    0
      ~MHz = DWORD 3200
      Identifier = SZ "Intel64 Family 6 Model 158 Stepping 10"
      ProcessorNameString = SZ "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"
      VendorIdentifier = SZ "GenuineIntel"
      Update Revision = BINARY 00 00 00 00 f0 00 00 00
    1
      ~MHz = DWORD 800
      Identifier = SZ "Intel64 Family 6 Model 158 Stepping 10"
      ProcessorNameString = SZ "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"
      VendorIdentifier = SZ "GenuineIntel"
      Update Revision = BINARY 00 00 00 00 f0 00 00 00
  FloatingPointProcessor
    0
      Identifier = SZ "Intel64 Family 6 Model 158 Stepping 10"
    1
      Identifier = SZ "Intel64 Family 6 Model 158 Stepping 10"
  MultifunctionAdapter
    0
      SerialController
        0
          Identifier = SZ "COM1"
          DevicePath = SZ "/dev/ttyS0"
          Driver = SZ "serial"
        1
          Identifier = SZ "COM33"
          DevicePath = SZ "/dev/ttyUSB0"
          Driver = SZ "ftdi_sio"
          Product = SZ "FT232R USB UART"
          Manufacturer = SZ "FTDI"
          SerialNumber = SZ "A50285BI"
)T";

std::string Build(const FakeMachine& machine) {
    return Describe(*HardwareTree(machine.Proc(), machine.Sys()).Build());
}

TEST(HardwareTreeTest, DesktopGivesExactlyTheExpectedTree) {
    FakeMachine machine;
    MakeDesktop(machine);
    EXPECT_EQ(Build(machine), kDesktopTree);
}

TEST(HardwareTreeTest, NothingExposedGivesAnEmptySystemKey) {
    FakeMachine machine;
    EXPECT_EQ(Build(machine), "System\n");
    EXPECT_EQ(Describe(*HardwareTree("/nonexistent/proc", "/nonexistent/sys").Build()), "System\n");
}

TEST(HardwareTreeTest, ArmProcessorsAreDescribedFromTheirOwnFields) {
    FakeMachine machine;
    const std::string block = "BogoMIPS\t: 108.00\nFeatures\t: fp asimd evtstrm crc32 cpuid\n"
                              "CPU implementer\t: 0x41\nCPU architecture: 8\nCPU variant\t: 0x0\n"
                              "CPU part\t: 0xd08\nCPU revision\t: 3\n";
    machine.Write("proc/cpuinfo", "processor\t: 0\n" + block + "\nprocessor\t: 1\n" + block +
                                      "\nHardware\t: BCM2835\nRevision\t: c03111\n");
    machine.Write("sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "1500000\n");
    machine.Write("sys/devices/system/cpu/cpu1/cpufreq/cpuinfo_max_freq", "junk\n");
    EXPECT_EQ(Build(machine), R"T(System
  CentralProcessor
    0
      ~MHz = DWORD 1500
      Identifier = SZ "ARM Family 8 Model 0xd08 Revision 3"
    1
      Identifier = SZ "ARM Family 8 Model 0xd08 Revision 3"
  FloatingPointProcessor
    0
      Identifier = SZ "ARM Family 8 Model 0xd08 Revision 3"
    1
      Identifier = SZ "ARM Family 8 Model 0xd08 Revision 3"
)T");
}

TEST(HardwareTreeTest, ProcessorsComeFromSysfsWhenCpuinfoIsUnreadable) {
    FakeMachine machine;
    machine.Folder("proc/cpuinfo"); // not a file
    machine.Write("sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "2400000");
    machine.Write("sys/devices/system/cpu/cpu1/online", "0\n"); // switched off
    machine.Write("sys/devices/system/cpu/cpu10/online", "1");
    EXPECT_EQ(Build(machine), R"T(System
  CentralProcessor
    0
      ~MHz = DWORD 2400
    10
)T");
}

TEST(HardwareTreeTest, OlderX86AndOddCpuinfoFieldsGiveNothingFalse) {
    FakeMachine machine;
    machine.Write("proc/cpuinfo", "junk before any block\n"
                                  "processor : 0\nvendor_id : AuthenticAMD\ncpu family : 25\nmodel : 1\n"
                                  "stepping : 1\nflags : fpu lm\nmicrocode : 0xZZ\ncpu MHz : fast\n\n"
                                  "processor : 1\nvendor_id : GenuineIntel\ncpu family : 6\nmodel : 13\n"
                                  "stepping : 6\nflags : vme\nmodel name :   \n\n"
                                  "processor : x\nvendor_id : Nobody\n");
    EXPECT_EQ(Build(machine), R"T(System
  CentralProcessor
    0
      Identifier = SZ "AMD64 Family 25 Model 1 Stepping 1"
      VendorIdentifier = SZ "AuthenticAMD"
    1
      Identifier = SZ "x86 Family 6 Model 13 Stepping 6"
      VendorIdentifier = SZ "GenuineIntel"
  FloatingPointProcessor
    0
      Identifier = SZ "AMD64 Family 25 Model 1 Stepping 1"
)T");
}

TEST(HardwareTreeTest, OddFirmwareFilesAreLeftOutOrCleaned) {
    FakeMachine machine;
    const std::string dmi = "sys/class/dmi/id/";
    machine.Write(dmi + "bios_vendor", "   \n");                             // blank
    machine.Write(dmi + "bios_version", "");                                 // empty
    machine.Write(dmi + "bios_date", std::string(100000, '7'));              // one endless line
    machine.Write(dmi + "bios_release", "abc\n");                            // no numbers
    machine.Write(dmi + "sys_vendor", std::string("Ven\x01\x1b[2Jdor", 11)); // control bytes, no newline
    machine.Folder(dmi + "product_name");                                    // not a file
    machine.Write(dmi + "board_vendor", std::string("Pi 4\0", 5));           // ends with NUL
    machine.Write(dmi + "board_name", "  Board \t\nsecond line\n");          // first line only
    EXPECT_EQ(Build(machine), R"T(System
  BIOS
    SystemManufacturer = SZ "Ven??[2Jdor"
    BaseBoardManufacturer = SZ "Pi 4"
    BaseBoardProduct = SZ "Board"
)T");
}

TEST(HardwareTreeTest, OnlySerialPortsWithHardwareAreListed) {
    FakeMachine machine;
    // A serial core port (bus serial-base) below its controller, below the platform device that has
    // the driver that matters.
    const std::string top = "sys/devices/platform/serial8250";
    machine.Device(top, "platform", "serial8250");
    machine.Device(top + "/serial8250:0", "serial-base", "ctrl");
    machine.Device(top + "/serial8250:0/serial8250:0.3", "serial-base", "port");
    machine.Link("sys/class/tty/ttyS3/device", top + "/serial8250:0/serial8250:0.3");
    machine.Write("sys/class/tty/ttyS3/type", "4\n");
    // The same driver keeps ports where no UART answered.
    machine.Link("sys/class/tty/ttyS2/device", top + "/serial8250:0/serial8250:0.2");
    machine.Write("sys/class/tty/ttyS2/type", "0\n");
    // A modem with no driver bound, no uevent and no type attribute.
    machine.Link("sys/class/tty/ttyACM1/device", "sys/devices/pci0000:00/usb2/2-1/2-1:1.1");
    // Names the table gives no port.
    machine.Link("sys/class/tty/ttyS32/device", top);
    machine.Link("sys/class/tty/ttyUSB01/device", top);
    machine.Link("sys/class/tty/ttyAMA16/device", top);
    machine.Device("sys/devices/bt", "bluetooth", "rfcomm");
    machine.Link("sys/class/tty/rfcomm15/device", "sys/devices/bt");
    EXPECT_EQ(Build(machine), R"T(System
  MultifunctionAdapter
    0
      SerialController
        0
          Identifier = SZ "COM4"
          DevicePath = SZ "/dev/ttyS3"
          Driver = SZ "serial8250"
        1
          Identifier = SZ "COM66"
          DevicePath = SZ "/dev/ttyACM1"
        2
          Identifier = SZ "COM128"
          DevicePath = SZ "/dev/rfcomm15"
          Driver = SZ "rfcomm"
)T");
}

TEST(KernelFilesTest, ReadsOnlyRegularFilesAndNeverCutsALine) {
    using platform::ReadTextFile;
    FakeMachine machine;
    machine.Write("lines", "one\ntwo\nthree");
    const std::pair<std::size_t, const char*> limits[] = {{100, "one\ntwo\nthree"},
                                                          {13, "one\ntwo\nthree"},
                                                          {12, "one\ntwo\n"},
                                                          {8, "one\ntwo\n"},
                                                          {7, "one\n"},
                                                          {3, ""}};
    for (const auto& [limit, text] : limits)
        EXPECT_EQ(ReadTextFile(machine.Path("lines"), limit), text) << limit;
    EXPECT_EQ(ReadTextFile(machine.Path("missing"), 100), std::nullopt);
    machine.Folder("folder");
    EXPECT_EQ(ReadTextFile(machine.Path("folder"), 100), std::nullopt);
    ASSERT_EQ(::mkfifo(machine.Path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadTextFile(machine.Path("fifo"), 100), std::nullopt); // and does not wait for a writer
    machine.Write("secret", "hidden\n");
    ::chmod(machine.Path("secret").c_str(), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(ReadTextFile(machine.Path("secret"), 100), std::nullopt);
    }
}

} // namespace
