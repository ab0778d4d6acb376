// Devices put under a name by the process: found before the fixed table and the loopback plug, in
// either case, and gone again with their name; the handle functions treat them as any device.

#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "platform/comm/CommApi.h"
#include "platform/comm/LoopbackPlug.h"
#include "platform/comm/NamedDevices.h"
#include "platform/files/FileApi.h"

namespace {

using platform::NamedDevices;

HANDLE Open(const char* path) {
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

class NamedDevicesTest : public testing::Test {
protected:
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        NamedDevices::UnregisterAll();
    }
    // Puts a loopback plug under `name`, counting the opens and keeping the path each was given.
    void PlugUnder(const char* name) {
        NamedDevices::Register(name, [this](const platform::DeviceOpenRequest& request) {
            ++opens;
            path = request.path;
            return platform::LoopbackPlug::Open((request.flags & FILE_FLAG_OVERLAPPED) != 0);
        });
    }

    HANDLE handle = INVALID_HANDLE_VALUE;
    int opens = 0;
    std::string path;
};

TEST_F(NamedDevicesTest, ANameIsFoundBeforeTheTableInEitherCaseUntilItGoes) {
    EXPECT_EQ(Open("\\\\.\\COM3"), INVALID_HANDLE_VALUE) << "the table's COM3 has no device here";
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    PlugUnder("com3");
    handle = Open("\\\\.\\COM3");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(path, "\\\\.\\COM3") << "the device sees the path as it was given";
    ASSERT_TRUE(CloseHandle(handle));
    handle = INVALID_HANDLE_VALUE;

    NamedDevices::Register("COM3", {});
    EXPECT_EQ(Open("\\\\.\\COM3"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(opens, 1);
}

// As strict as a driver: a request with too small an output buffer, or an unknown code, fails, so
// that code which a test's device would serve cannot pass in a test and fail on a port.
TEST_F(NamedDevicesTest, DriverRequestsRefuseBadArguments) {
    PlugUnder("SIM1");
    handle = Open("\\\\.\\SIM1");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD value = 0;
    SERIALPERF_STATS stats{};
    const std::tuple<DWORD, void*, DWORD, DWORD> bad[] = {
        {IOCTL_SERIAL_GET_STATS, &stats, sizeof stats - 1, ERROR_INSUFFICIENT_BUFFER},
        {IOCTL_SERIAL_GET_DTRRTS, nullptr, 4, ERROR_INSUFFICIENT_BUFFER},
        {IOCTL_SERIAL_GET_DTRRTS, &value, 3, ERROR_INSUFFICIENT_BUFFER},
        {0x001B0000, &stats, sizeof stats, ERROR_NOT_SUPPORTED}};
    for (const auto& [code, out, size, error] : bad) {
        SCOPED_TRACE(code);
        DWORD returned = 99;
        EXPECT_FALSE(DeviceIoControl(handle, code, nullptr, 0, out, size, &returned, nullptr));
        EXPECT_EQ(GetLastError(), error);
        EXPECT_EQ(returned, 0u);
    }
}

TEST_F(NamedDevicesTest, AClosedHandleStaysInvalidWhenItsSlotIsReused) {
    PlugUnder("SIM1");
    handle = Open("\\\\.\\SIM1");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(handle));
    const HANDLE closed = handle;
    handle = Open("\\\\.\\SIM1");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_NE(handle, closed);
    DWORD value = 0;
    EXPECT_FALSE(GetCommModemStatus(closed, &value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_TRUE(GetCommModemStatus(handle, &value)) << "the open handle is untouched";
}

} // namespace
