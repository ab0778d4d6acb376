// The fixed table from port names to device nodes.

#include <gtest/gtest.h>

#include "platform/DeviceDirectory.h"
#include "platform/FileApi.h"
#include "platform/PortNameTable.h"

namespace {

using platform::PortNameTable;

std::string Node(const char* name) {
    return platform::DeviceDirectory() + "/" + name;
}

TEST(PortNameTableTest, EachRangeMapsToItsDevicesAtBothEnds) {
    EXPECT_EQ(PortNameTable::DevicePath("COM1"), Node("ttyS0"));
    EXPECT_EQ(PortNameTable::DevicePath("COM32"), Node("ttyS31"));
    EXPECT_EQ(PortNameTable::DevicePath("COM33"), Node("ttyUSB0"));
    EXPECT_EQ(PortNameTable::DevicePath("COM64"), Node("ttyUSB31"));
    EXPECT_EQ(PortNameTable::DevicePath("COM65"), Node("ttyACM0"));
    EXPECT_EQ(PortNameTable::DevicePath("COM96"), Node("ttyACM31"));
    EXPECT_EQ(PortNameTable::DevicePath("COM97"), Node("ttyAMA0"));
    EXPECT_EQ(PortNameTable::DevicePath("COM112"), Node("ttyAMA15"));
    EXPECT_EQ(PortNameTable::DevicePath("COM113"), Node("rfcomm0"));
    EXPECT_EQ(PortNameTable::DevicePath("COM128"), Node("rfcomm15"));
    EXPECT_EQ(PortNameTable::DevicePath("com12"), Node("ttyS11"));
    EXPECT_EQ(PortNameTable::DevicePath("/dev/pts/7"), "/dev/pts/7") << "a path stands as it is";
}

TEST(PortNameTableTest, NamesOutsideTheTableHaveNoDevice) {
    for (const char* name : {"COM0", "COM129", "COM254", "COM255", "COM256", "COM01", "COM", "COM1a", "COM-1",
                             "COM+1", "LPT1", "", "ttyS0"})
        EXPECT_EQ(PortNameTable::DevicePath(name), "") << name;
    EXPECT_TRUE(PortNameTable::IsLoopback("COM255"));
    EXPECT_TRUE(PortNameTable::IsLoopback("Com255"));
    EXPECT_FALSE(PortNameTable::IsLoopback("COM0255"));
}

TEST(PortNameTableTest, DeviceNamesGiveTheirPortNames) {
    EXPECT_EQ(PortNameTable::PortNameOf("ttyS0"), "COM1");
    EXPECT_EQ(PortNameTable::PortNameOf("ttyS31"), "COM32");
    EXPECT_EQ(PortNameTable::PortNameOf("ttyUSB0"), "COM33");
    EXPECT_EQ(PortNameTable::PortNameOf("ttyACM5"), "COM70");
    EXPECT_EQ(PortNameTable::PortNameOf("ttyAMA15"), "COM112");
    EXPECT_EQ(PortNameTable::PortNameOf("rfcomm15"), "COM128");
    for (const char* name : {"ttyS32", "ttyUSB32", "ttyAMA16", "ttyS01", "tty0", "ttyS", "pts/1"})
        EXPECT_EQ(PortNameTable::PortNameOf(name), "") << name;
}

// Port names with no node in the (empty) device directory, and a path that is no tty.
TEST(PortNameTableTest, PortWithoutATtyIsNotFound) {
    for (const char* path :
         {"\\\\.\\COM1", "\\\\.\\COM40", "\\\\.\\COM200", "\\\\.\\NOSUCH", "\\\\.\\/dev/null"}) {
        HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(h, INVALID_HANDLE_VALUE) << path;
        EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << path;
    }
}

} // namespace
