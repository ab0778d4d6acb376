// A port whose device goes away and comes back, on pseudo-terminals linked under one path as an
// adapter's node comes and goes: calls fail while it is gone, and once a device is back under the
// path the handle heals with its settings and line states, and bytes flow again.

#include <asm/termbits.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "PtyPair.h"
#include "ReadPort.h"
#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/comm/CommActivity.h"
#include "platform/comm/CommDeviceList.h"
#include "platform/base/SystemPaths.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class TtyHealTest : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("martool-heal-" + std::to_string(getpid()));
        fs::create_directories(folder);
        Link(first);
        handle = CreateFileA(("\\\\.\\" + (folder / "ttyUSB0").string()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                             nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        platform::SetSysfsDirectory("/nonexistent/martool-test-sysfs");
        fs::remove_all(folder);
    }

    void Link(const PtyPair& pty) {
        ASSERT_TRUE(pty.Ok());
        fs::remove(folder / "ttyUSB0");
        fs::create_symlink(pty.DevicePath().substr(4), folder / "ttyUSB0");
    }
    bool SignalsRead() {
        DWORD status = 0;
        return GetCommModemStatus(handle, &status);
    }
    // Reads as the loop does until a read fails; false when the time is up.
    bool ReadFailsWithin(std::chrono::milliseconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        char byte = 0;
        DWORD read = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            if (!ReadFile(handle, &byte, 1, &read, nullptr))
                return true;
            EXPECT_EQ(read, 0u) << "a byte nobody sent";
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }
    // Makes calls as the loop does until they succeed; false when the time is up.
    bool HealsWithin(std::chrono::milliseconds limit) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (SignalsRead())
                return true;
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    // A USB adapter behind the node in a device tree of the test's own.
    void FakeUsbAdapter(const std::string& serial) {
        fs::path usb = folder / "sys/devices/usb1/1-1";
        fs::create_directories(usb / "1-1:1.0/ttyUSB0");
        std::ofstream(usb / "idVendor") << "0403\n";
        std::ofstream(usb / "idProduct") << "6001\n";
        std::ofstream(usb / "serial") << serial << "\n";
        fs::path cls = folder / "sys/class/tty/ttyUSB0";
        if (!fs::exists(cls)) {
            fs::create_directories(cls);
            fs::create_symlink("../../../devices/usb1/1-1/1-1:1.0/ttyUSB0", cls / "device");
        }
        platform::SetSysfsDirectory((folder / "sys").string());
    }

    fs::path folder;
    PtyPair first;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

TEST_F(TtyHealTest, CallsFailWhileGoneAndAfterTheReturnTheHandleHasItsSettingsLinesAndBytes) {
    DCB dcb{};
    ASSERT_TRUE(GetCommState(handle, &dcb));
    dcb.BaudRate = 57600;
    dcb.fOutX = dcb.fInX = 1;
    ASSERT_TRUE(SetCommState(handle, &dcb));
    ASSERT_TRUE(EscapeCommFunction(handle, CLRDTR));
    ASSERT_TRUE(first.Send("ab"));
    ASSERT_EQ(ReadPort(handle, 1), "a");

    first.CloseMaster();
    fs::remove(folder / "ttyUSB0"); // the node goes with the device
    EXPECT_TRUE(platform::CommActivityWaiting()) << "what was received is still waiting";
    EXPECT_EQ(ReadPort(handle, 1), "b") << "what was received is not lost";
    EXPECT_TRUE(ReadFailsWithin(1000ms)) << "the hang-up was never reported";
    EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
    DWORD read = 0;
    EXPECT_FALSE(SignalsRead());
    EXPECT_FALSE(WriteFile(handle, "x", 1, &read, nullptr));
    int looks = 0;
    while (platform::CommActivityWaiting() && looks < 3)
        ++looks;
    EXPECT_LT(looks, 3) << "a gone device must not keep the loop awake";
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(SignalsRead()) << "nothing is back yet";

    PtyPair second;
    Link(second);
    ASSERT_TRUE(HealsWithin(2000ms));
    termios2 held = second.Settings();
    EXPECT_EQ(held.c_ospeed, 57600u);
    EXPECT_TRUE(held.c_iflag & IXON);
    EXPECT_FALSE(held.c_lflag & ICANON) << "raw again";
    DWORD lines = 0, returned = 0;
    ASSERT_TRUE(DeviceIoControl(handle, IOCTL_SERIAL_GET_DTRRTS, nullptr, 0, &lines, sizeof lines, &returned,
                                nullptr));
    EXPECT_EQ(lines, DWORD{SERIAL_RTS_STATE}) << "DTR stays dropped as it was driven";

    ASSERT_TRUE(second.Send("cd"));
    EXPECT_EQ(ReadPort(handle, 2), "cd");
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(handle, "ok", 2, &written, nullptr));
    EXPECT_EQ(second.Receive(2), "ok");
    SERIALPERF_STATS stats{};
    ASSERT_TRUE(DeviceIoControl(handle, IOCTL_SERIAL_GET_STATS, nullptr, 0, &stats, sizeof stats, &returned,
                                nullptr));
    EXPECT_EQ(stats.ReceivedCount, 4u);
    EXPECT_EQ(stats.TransmittedCount, 2u);
}

// Bytes the device sent before it went away and nobody has read yet come before those it sends
// once it is back.
TEST_F(TtyHealTest, BytesWaitingWhenTheDeviceWentComeBeforeThoseAfterItsReturn) {
    ASSERT_TRUE(first.Send("xyz"));
    // The bytes themselves, not the wake event, which an earlier test may have left raised.
    for (int i = 0; i < 400 && !platform::CommDeviceList::Instance().AnyReadAhead(); ++i)
        std::this_thread::sleep_for(5ms);
    first.CloseMaster();
    fs::remove(folder / "ttyUSB0");
    DWORD written = 0;
    for (int i = 0; i < 400 && WriteFile(handle, "q", 1, &written, nullptr); ++i)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED) << "the write found the device gone";

    PtyPair second;
    Link(second);
    ASSERT_TRUE(HealsWithin(2000ms));
    ASSERT_TRUE(second.Send("cd"));
    EXPECT_EQ(ReadPort(handle, 5), "xyzcd");
}

// Another adapter given the same name is not the device that went away.
TEST_F(TtyHealTest, OnlyTheSameUsbAdapterHealsTheHandle) {
    CloseHandle(handle);
    FakeUsbAdapter("A1");
    handle = CreateFileA(("\\\\.\\" + (folder / "ttyUSB0").string()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                         nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    first.CloseMaster();
    fs::remove(folder / "ttyUSB0");
    EXPECT_TRUE(ReadFailsWithin(1000ms));
    EXPECT_FALSE(SignalsRead());

    FakeUsbAdapter("B2");
    PtyPair second;
    Link(second);
    EXPECT_FALSE(HealsWithin(500ms));
    FakeUsbAdapter("A1");
    EXPECT_TRUE(HealsWithin(2000ms));
}

} // namespace
