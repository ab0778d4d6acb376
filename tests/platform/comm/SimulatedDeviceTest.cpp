// The simulated device that tests of the port object and the application stand on.

#include <gtest/gtest.h>
#include <poll.h>
#include <functional>
#include <thread>
#include <tuple>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/comm/CommWait.h"
#include "platform/comm/SimulatedDevice.h"

namespace {

using platform::SimulatedDevice;
using Op = SimulatedDevice::Op;
using Fault = SimulatedDevice::Fault;

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
    DWORD Modem() {
        DWORD status = 0xFF;
        EXPECT_TRUE(GetCommModemStatus(handle, &status));
        return status;
    }
    DWORD DtrRts() {
        DWORD lines = 0xFF;
        EXPECT_TRUE(Ioctl(IOCTL_SERIAL_GET_DTRRTS, &lines, sizeof lines));
        return lines;
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

TEST_F(SimulatedDeviceTest, RegisteredNamesComeBeforeTheTable) {
    auto com3 = SimulatedDevice::Register("COM3");
    handle = Open("\\\\.\\COM3");
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(com3->IsOpen());
    SimulatedDevice::Unregister("COM3");
    EXPECT_EQ(SimulatedDevice::Find("COM3"), nullptr);
}

TEST_F(SimulatedDeviceTest, RecordsEveryCallWithItsArguments) {
    handle = Open("\\\\.\\SIM1", FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DCB dcb = sim->Dcb();
    dcb.BaudRate = 4800;
    SetCommState(handle, &dcb);
    char buffer[8];
    DWORD count = 0;
    ReadFile(handle, buffer, 8, &count, nullptr);
    WriteFile(handle, "ab", 2, &count, nullptr);
    EscapeCommFunction(handle, SETDTR);
    DeviceIoControl(handle, IOCTL_SERIAL_GET_STATS, nullptr, 0, buffer, 2, &count, nullptr);
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;

    auto calls = sim->Calls();
    std::vector<Op> ops;
    for (const auto& call : calls)
        ops.push_back(call.op);
    EXPECT_EQ(ops, (std::vector<Op>{Op::CreateFile, Op::SetCommState, Op::ReadFile, Op::WriteFile,
                                    Op::EscapeCommFunction, Op::DeviceIoControl, Op::CloseHandle}));
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].path, "\\\\.\\SIM1");
    EXPECT_EQ(calls[0].flags, FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(calls[1].dcb.BaudRate, 4800u);
    EXPECT_EQ(calls[2].length, 8u);
    EXPECT_EQ(calls[3].length, 2u);
    EXPECT_EQ(calls[4].code, SETDTR);
    EXPECT_EQ(calls[5].code, IOCTL_SERIAL_GET_STATS) << "recorded even when refused";
    EXPECT_EQ(sim->Dcb().BaudRate, 4800u);
    EXPECT_EQ(sim->TakeWritten(), "ab");
    EXPECT_EQ(sim->TakeWritten(), "");
}

// Each fault fails its own request only; requests check their output buffer and their code.
TEST_F(SimulatedDeviceTest, DriverRequestsFailOnlyByTheirOwnFaultOrBadArguments) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD value = 0;
    SERIALPERF_STATS stats{};
    sim->SetFault(Fault::GetCommModemStatus);
    EXPECT_FALSE(GetCommModemStatus(handle, &value));
    EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
    EXPECT_TRUE(Ioctl(IOCTL_SERIAL_GET_DTRRTS, &value, 4));
    sim->SetFault(Fault::GetDtrRts);
    EXPECT_FALSE(Ioctl(IOCTL_SERIAL_GET_DTRRTS, &value, 4));
    EXPECT_TRUE(Ioctl(IOCTL_SERIAL_GET_STATS, &stats, 24));
    sim->SetFault(Fault::GetStats);
    EXPECT_FALSE(Ioctl(IOCTL_SERIAL_GET_STATS, &stats, 24));
    EXPECT_EQ(returned, 0u);
    sim->SetFault(Fault::GetCommModemStatus, false);
    EXPECT_TRUE(GetCommModemStatus(handle, &value));
    sim->SetFault(Fault::GetDtrRts, false);
    sim->SetFault(Fault::GetStats, false);

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

TEST_F(SimulatedDeviceTest, LinesAndStatisticsAreTheTestsToSet) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Modem(), 0u);
    sim->SetCts(true);
    sim->SetDsr(true);
    sim->SetDcd(true);
    sim->SetRi(true);
    EXPECT_EQ(Modem(), MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
    sim->SetDsr(false);
    EXPECT_EQ(Modem(), MS_CTS_ON | MS_RING_ON | MS_RLSD_ON);

    sim->SetStats({4000000000u, 17, 1, 2, 3, 4});
    SERIALPERF_STATS stats{};
    ASSERT_TRUE(Ioctl(IOCTL_SERIAL_GET_STATS, &stats, sizeof stats));
    EXPECT_EQ(stats.ReceivedCount, 4000000000u);
    EXPECT_EQ(stats.TransmittedCount, 17u);
    EXPECT_EQ(stats.ParityErrorCount, 4u);
}

TEST_F(SimulatedDeviceTest, DtrAndRtsAreReportedAsLastDriven) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DtrRts(), 0u);
    EscapeCommFunction(handle, SETRTS);
    EXPECT_EQ(DtrRts(), SERIAL_RTS_STATE);
    EscapeCommFunction(handle, SETDTR);
    EscapeCommFunction(handle, CLRRTS);
    EXPECT_EQ(DtrRts(), SERIAL_DTR_STATE);
    DCB dcb = sim->Dcb();
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(SetCommState(handle, &dcb));
    EXPECT_EQ(DtrRts(), SERIAL_RTS_STATE);
    EXPECT_FALSE(sim->Dtr());
    EXPECT_TRUE(sim->Rts());
}

TEST_F(SimulatedDeviceTest, BytesInjectedFromAnotherThreadAreReadAndWakeTheLoop) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    pollfd waiting{platform::CommWaitDescriptor(), POLLIN, 0};
    while (poll(&waiting, 1, 0) > 0 && !platform::CommInputWaiting()) {
    }
    EXPECT_FALSE(platform::CommInputWaiting());
    std::thread feeder([this] { sim->Inject(std::string("\x00xy", 3)); });
    EXPECT_EQ(poll(&waiting, 1, 2000), 1);
    feeder.join();
    EXPECT_TRUE(platform::CommInputWaiting());
    char buffer[4] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(handle, buffer, 1, &read, nullptr));
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(buffer[0], '\0');
    ASSERT_TRUE(ReadFile(handle, buffer, 4, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "xy");
    EXPECT_FALSE(platform::CommInputWaiting());
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

// Unplugged, every call fails once what the device was given is read; plugged in again it is a fresh
// device, and the handle gives it back the block, time-outs and lines it had.
TEST_F(SimulatedDeviceTest, AnUnpluggedDeviceFailsEveryCallAndHealsWhenPluggedInAgain) {
    handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DCB dcb{};
    ASSERT_TRUE(GetCommState(handle, &dcb));
    dcb.BaudRate = 57600;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(SetCommState(handle, &dcb));
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(handle, &timeouts));
    ASSERT_TRUE(EscapeCommFunction(handle, CLRDTR));
    sim->Inject("z");

    sim->Unplug();
    char byte = 0;
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(handle, &byte, 1, &count, nullptr));
    EXPECT_EQ(byte, 'z');
    SERIALPERF_STATS stats{};
    DWORD status = 0;
    for (auto call : std::initializer_list<std::function<BOOL()>>{
             [&] { return ReadFile(handle, &byte, 1, &count, nullptr); },
             [&] { return WriteFile(handle, "w", 1, &count, nullptr); },
             [&] { return GetCommState(handle, &dcb); }, [&] { return SetCommState(handle, &dcb); },
             [&] { return EscapeCommFunction(handle, SETDTR); },
             [&] { return GetCommModemStatus(handle, &status); },
             [&] { return Ioctl(IOCTL_SERIAL_GET_STATS, &stats, sizeof stats); }}) {
        SetLastError(0);
        EXPECT_FALSE(call());
        EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
    }
    EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    sim->PlugIn();
    EXPECT_EQ(sim->Dcb().BaudRate, 9600u) << "a fresh device";
    EXPECT_TRUE(GetCommModemStatus(handle, &status));
    EXPECT_EQ(sim->Dcb().BaudRate, 57600u);
    EXPECT_EQ(sim->Timeouts().ReadIntervalTimeout, MAXDWORD);
    EXPECT_FALSE(sim->Dtr());
    EXPECT_TRUE(sim->Rts());
    sim->Inject("back");
    char buffer[8] = {};
    EXPECT_TRUE(ReadFile(handle, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "back");
}

} // namespace
