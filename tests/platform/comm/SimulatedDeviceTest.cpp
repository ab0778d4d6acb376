// The simulated device that tests of the port object and the application stand on: only where it
// must be as strict as a real device, which the tests standing on it cannot show.

#include <gtest/gtest.h>
#include <poll.h>
#include <thread>
#include <tuple>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/comm/CommWait.h"
#include "platform/comm/SimulatedDevice.h"

namespace {

using platform::SimulatedDevice;
using Op = SimulatedDevice::Op;

class SimulatedDeviceTest : public testing::Test {
protected:
    void SetUp() override { sim = SimulatedDevice::Register("SIM1"); }
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        SimulatedDevice::UnregisterAll();
    }

    HANDLE Open(const char* path = "\\\\.\\SIM1", DWORD flags = FILE_ATTRIBUTE_NORMAL) {
        return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 3, nullptr, OPEN_EXISTING, flags, nullptr);
    }

    // One driver request with an output buffer of `size` bytes.
    BOOL Ioctl(DWORD code, void* out, DWORD size) {
        return DeviceIoControl(handle, code, nullptr, 0, out, size, &returned, nullptr);
    }
    std::shared_ptr<SimulatedDevice> sim;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD returned = 99;
};

TEST_F(SimulatedDeviceTest, PresenceDecidesTheOpen) {
    sim->SetPresence(SimulatedDevice::Presence::Absent);
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    sim->SetPresence(SimulatedDevice::Presence::Busy);
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    sim->SetPresence(SimulatedDevice::Presence::Present);
    handle = Open("\\\\.\\sim1");
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(sim->IsOpen());
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE) << "one open at a time";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(sim->CountOf(Op::CreateFile), 4u);
}

// As strict as a driver: a request with too small an output buffer, or an unknown code, fails, so
// that code the double serves cannot pass here and fail on a device.
TEST_F(SimulatedDeviceTest, DriverRequestsRefuseBadArguments) {
    handle = Open();
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
        returned = 99;
        EXPECT_FALSE(Ioctl(code, out, size));
        EXPECT_EQ(GetLastError(), error);
        EXPECT_EQ(returned, 0u);
    }
}

// The loop sleeps on the wait descriptor; without the wake-up the program's tests would still pass,
// only late, on the next caret blink.
TEST_F(SimulatedDeviceTest, BytesInjectedFromAnotherThreadWakeTheLoop) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    pollfd waiting{platform::CommWaitDescriptor(), POLLIN, 0};
    while (poll(&waiting, 1, 0) > 0 && !platform::CommInputWaiting()) {
    }
    std::thread feeder([this] { sim->Inject("xy"); });
    EXPECT_EQ(poll(&waiting, 1, 2000), 1);
    feeder.join();
    EXPECT_TRUE(platform::CommInputWaiting());
}

TEST_F(SimulatedDeviceTest, ClosedHandleStaysInvalidWhenItsSlotIsReused) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(handle));
    HANDLE closed = handle;
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_NE(handle, closed);
    DWORD value = 0;
    EXPECT_FALSE(GetCommModemStatus(closed, &value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_EQ(sim->CountOf(Op::CloseHandle), 1u);
    EXPECT_TRUE(sim->IsOpen());
}

} // namespace
