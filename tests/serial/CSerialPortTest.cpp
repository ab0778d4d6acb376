// The port object on the simulated device: the platform calls it makes, in order, and its state.

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "support/SimulatedDevice.h"
#include "serial/CSerialPort.h"

namespace {

using platform::SimulatedDevice;
using Op = SimulatedDevice::Op;
using Fault = SimulatedDevice::Fault;
using Ops = std::vector<Op>;

class CSerialPortTest : public testing::Test {
protected:
    void SetUp() override { sim = SimulatedDevice::Register("SIM1"); }
    void TearDown() override { SimulatedDevice::UnregisterAll(); }

    Ops OpsMade() const {
        Ops ops;
        for (const auto& call : sim->Calls())
            ops.push_back(call.op);
        return ops;
    }

    SimulatedDevice::Call LastCall(Op op) const {
        auto calls = sim->Calls();
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->op == op)
                return *it;
        ADD_FAILURE() << "no such call";
        return {};
    }
    DCB Written() const { return LastCall(Op::SetCommState).dcb; }

    // An open synchronous port on a device holding `dcb`, with the record of calls cleared.
    void OpenWithDeviceBlock(CSerialPort& port, const DCB& dcb) {
        sim->SetDcb(dcb);
        ASSERT_EQ(port.SetOverlapped(FALSE), static_cast<LONG>(FILE_FLAG_OVERLAPPED));
        ASSERT_TRUE(port.Open("SIM1"));
        sim->ClearCalls();
    }
    // The same on the device's block with `change` made to it.
    template <class Change>
    void OpenWithDeviceBlock(CSerialPort& port, Change change) {
        DCB dcb = sim->Dcb();
        change(dcb);
        OpenWithDeviceBlock(port, dcb);
    }

    std::shared_ptr<SimulatedDevice> sim;
};

// What the device is asked for, and reads that never wait.
TEST_F(CSerialPortTest, OpenAsksForReadAndWriteOnAnExistingDeviceAndImmediateReads) {
    CSerialPort port;
    ASSERT_TRUE(port.Open("SIM1"));
    EXPECT_EQ(port.GetName(), "SIM1");
    EXPECT_NE(port.GetHandle(), INVALID_HANDLE_VALUE);
    auto create = sim->Calls()[0];
    EXPECT_EQ(create.access, 0xC0000000u);
    EXPECT_EQ(create.disposition, static_cast<DWORD>(OPEN_EXISTING));
    COMMTIMEOUTS applied = sim->Calls()[1].timeouts;
    EXPECT_EQ(applied.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(applied.ReadTotalTimeoutConstant, 0u);
    EXPECT_TRUE(sim->IsOpen());
}

TEST_F(CSerialPortTest, FailedOpenLeavesClosedTheNameTriedAndNoHandle) {
    sim->SetPresence(SimulatedDevice::Presence::Busy);
    CSerialPort port;
    EXPECT_FALSE(port.Open("SIM1"));
    EXPECT_EQ(port.GetState(), Closed);
    EXPECT_EQ(port.GetName(), "SIM1");
    EXPECT_EQ(port.GetHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpsMade(), Ops{Op::CreateFile});
}

// The device's block decides the open; the timeouts' result does not.
TEST_F(CSerialPortTest, OpenWhoseBlockCannotBeReadClosesTheHandleAgain) {
    sim->SetFault(Fault::GetCommState);
    CSerialPort port;
    EXPECT_FALSE(port.Open("SIM1"));
    EXPECT_EQ(port.GetState(), Closed);
    EXPECT_EQ(OpsMade(), (Ops{Op::CreateFile, Op::SetCommTimeouts, Op::GetCommState, Op::CloseHandle}));
    EXPECT_FALSE(sim->IsOpen());
    sim->ClearCalls();
    EXPECT_FALSE(port.Close());
    EXPECT_TRUE(sim->Calls().empty());

    sim->SetFault(Fault::GetCommState, false);
    sim->SetFault(Fault::SetCommTimeouts);
    EXPECT_TRUE(port.Open("SIM1"));
    EXPECT_EQ(port.GetState(), Idle);
}

TEST_F(CSerialPortTest, SettingOnAnOpenPortReadsChangesWritesAndKeepsTheBlock) {
    CSerialPort port;
    OpenWithDeviceBlock(port, [](DCB& d) { d.XonLim = 77; });
    ASSERT_TRUE(port.SetBaudRate(57600));
    EXPECT_EQ(OpsMade(), (Ops{Op::GetCommState, Op::SetCommState}));
    DCB written = Written();
    EXPECT_EQ(written.BaudRate, 57600u);
    EXPECT_EQ(written.XonLim, 77) << "other fields pass through";
    port.Close();
    DCB after{};
    ASSERT_EQ(port.GetControlBlock(after), 1);
    EXPECT_EQ(std::memcmp(&after, &written, sizeof(DCB)), 0);
}

// A read with nothing waiting succeeds with no bytes; a failure returns 0 with the port at rest.
TEST_F(CSerialPortTest, SynchronousTransfers) {
    CSerialPort port;
    OpenWithDeviceBlock(port, sim->Dcb());
    port.m_bytesRead = 55;
    char byte = 0;
    EXPECT_TRUE(port.Read(&byte, 1));
    EXPECT_EQ(port.m_bytesRead, 0u);
    EXPECT_EQ(port.GetState(), Idle);
    sim->Inject("k");
    EXPECT_TRUE(port.Read(&byte, 1));
    EXPECT_EQ(port.m_bytesRead, 1u);
    EXPECT_EQ(byte, 'k');

    EXPECT_TRUE(port.Write("\r", 1));
    EXPECT_EQ(port.GetState(), Idle);
    EXPECT_EQ(port.m_bytesWritten, 1u);
    EXPECT_EQ(sim->TakeWritten(), "\r");
    EXPECT_EQ(OpsMade(), (Ops{Op::ReadFile, Op::ReadFile, Op::WriteFile}));

    sim->SetFault(Fault::Write);
    EXPECT_FALSE(port.Write("x", 1));
    EXPECT_EQ(port.GetState(), Idle);
    sim->SetFault(Fault::Read);
    EXPECT_FALSE(port.Read(&byte, 1));
    EXPECT_EQ(port.GetState(), Idle);
}

TEST_F(CSerialPortTest, OverlappedTransferCompletesDuringTheNextTransfersWait) {
    CSerialPort port;
    ASSERT_TRUE(port.Open("SIM1"));
    sim->ClearCalls();
    sim->Inject("r");
    char in = 0;
    ASSERT_TRUE(port.Read(&in, 1));
    EXPECT_EQ(port.GetState(), Reading);
    EXPECT_EQ(port.m_bytesRead, 0u) << "the count arrives with the completion";

    ASSERT_TRUE(port.Write("w", 1));
    EXPECT_EQ(port.m_bytesRead, 1u);
    EXPECT_EQ(in, 'r');
    EXPECT_EQ(port.GetState(), Writing);

    ASSERT_TRUE(port.Read(&in, 1));
    EXPECT_EQ(port.m_bytesWritten, 1u);
    EXPECT_EQ(OpsMade(), (Ops{Op::ReadFileEx, Op::WriteFileEx, Op::ReadFileEx}));
    EXPECT_EQ(sim->TakeWritten(), "w");
}

// Neither a transfer that could not start nor one whose completion never comes keeps the next
// transfer waiting for ever.
TEST_F(CSerialPortTest, OverlappedTransferThatCannotCompleteLeavesNothingWaiting) {
    CSerialPort port;
    ASSERT_TRUE(port.Open("SIM1"));
    port.m_state = Writing; // busy with no completion queued
    EXPECT_FALSE(port.Write("x", 1));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    EXPECT_EQ(sim->TakeWritten(), "");

    port.m_state = Idle;
    sim->SetFault(Fault::Read);
    char byte = 0;
    EXPECT_FALSE(port.Read(&byte, 1));
    EXPECT_EQ(port.GetState(), Idle);
    sim->SetFault(Fault::Read, false);
    EXPECT_TRUE(port.Read(&byte, 1));
}

// It stores the count of its own direction only, whatever the error code, and never wakes a
// port that was closed meanwhile.
TEST_F(CSerialPortTest, CompletionRoutine) {
    CSerialPort port;
    port.m_state = Writing;
    OnIoComplete(ERROR_GEN_FAILURE, 3, &port.m_writeOverlapped);
    EXPECT_EQ(port.m_bytesWritten, 3u);
    EXPECT_EQ(port.m_bytesRead, 0u);
    EXPECT_EQ(port.GetState(), Idle);
    OnIoComplete(ERROR_SUCCESS, 9, &port.m_readOverlapped);
    EXPECT_EQ(port.m_bytesRead, 0u);
    EXPECT_EQ(port.m_bytesWritten, 3u);

    ASSERT_TRUE(port.Open("SIM1"));
    char byte = 0;
    ASSERT_TRUE(port.Read(&byte, 1));
    ASSERT_TRUE(port.Close());
    OnIoComplete(ERROR_SUCCESS, 1, &port.m_readOverlapped);
    EXPECT_EQ(port.GetState(), Closed);
    EXPECT_EQ(port.m_bytesRead, 0u);
}

} // namespace
