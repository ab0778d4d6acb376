// Overlapped transfers: completion routines run on the starting thread, during an alertable wait.

#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "support/SimulatedDevice.h"

namespace {

using platform::SimulatedDevice;

struct Completed {
    DWORD error;
    DWORD bytes;
    LPOVERLAPPED overlapped;
};
thread_local std::vector<Completed> t_completed;

void Record(DWORD error, DWORD bytes, LPOVERLAPPED overlapped) {
    t_completed.push_back({error, bytes, overlapped});
}

class CompletionTest : public testing::Test {
protected:
    void SetUp() override {
        t_completed.clear();
        sim = SimulatedDevice::Register("SIM1");
        handle = Open(FILE_FLAG_OVERLAPPED);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        SimulatedDevice::UnregisterAll();
    }
    HANDLE Open(DWORD flags, const char* path = "\\\\.\\SIM1") {
        return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           flags | FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::shared_ptr<SimulatedDevice> sim;
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED block{};
};

TEST_F(CompletionTest, RoutineRunsOnlyDuringAnAlertableWait) {
    sim->Inject("abc");
    char buffer[8] = {};
    ASSERT_TRUE(ReadFileEx(handle, buffer, 2, &block, Record));
    EXPECT_TRUE(t_completed.empty());
    EXPECT_EQ(WaitForSingleObjectEx(handle, 0, FALSE), WAIT_TIMEOUT);
    EXPECT_TRUE(t_completed.empty());
    EXPECT_EQ(WaitForSingleObjectEx(handle, 0, TRUE), WAIT_IO_COMPLETION);
    ASSERT_EQ(t_completed.size(), 1u);
    EXPECT_EQ(t_completed[0].error, ERROR_SUCCESS);
    EXPECT_EQ(t_completed[0].bytes, 2u);
    EXPECT_EQ(t_completed[0].overlapped, &block);
    EXPECT_EQ(std::string(buffer), "ab");
    EXPECT_EQ(WaitForSingleObjectEx(handle, 0, TRUE), WAIT_TIMEOUT);
    EXPECT_EQ(t_completed.size(), 1u);
}

TEST_F(CompletionTest, RoutinesRunInTheOrderQueued) {
    OVERLAPPED second{};
    ASSERT_TRUE(WriteFileEx(handle, "xyz", 3, &block, Record));
    ASSERT_TRUE(WriteFileEx(handle, "q", 1, &second, Record));
    EXPECT_EQ(WaitForSingleObjectEx(handle, 0, TRUE), WAIT_IO_COMPLETION);
    ASSERT_EQ(t_completed.size(), 2u);
    EXPECT_EQ(t_completed[0].overlapped, &block);
    EXPECT_EQ(t_completed[0].bytes, 3u);
    EXPECT_EQ(t_completed[1].overlapped, &second);
    EXPECT_EQ(sim->TakeWritten(), "xyzq");
    EXPECT_EQ(sim->CountOf(SimulatedDevice::Op::WriteFileEx), 2u);
}

TEST_F(CompletionTest, RoutinesBelongToTheThreadThatStartedTheTransfer) {
    char byte = 0;
    ASSERT_TRUE(ReadFileEx(handle, &byte, 1, &block, Record));
    DWORD otherResult = 0;
    std::size_t otherRan = 99;
    std::thread other([&] {
        otherResult = WaitForSingleObjectEx(handle, 0, TRUE);
        otherRan = t_completed.size();
    });
    other.join();
    EXPECT_EQ(otherResult, WAIT_TIMEOUT);
    EXPECT_EQ(otherRan, 0u);
    EXPECT_EQ(WaitForSingleObjectEx(handle, 0, TRUE), WAIT_IO_COMPLETION);
    EXPECT_EQ(t_completed.size(), 1u);
}

TEST_F(CompletionTest, ClosingTheHandleDropsItsQueuedRoutines) {
    auto other = SimulatedDevice::Register("SIM2");
    HANDLE second = Open(FILE_FLAG_OVERLAPPED, "\\\\.\\SIM2");
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    char byte = 0;
    ASSERT_TRUE(ReadFileEx(handle, &byte, 1, &block, Record));
    ASSERT_TRUE(CloseHandle(handle));
    handle = INVALID_HANDLE_VALUE;
    EXPECT_EQ(WaitForSingleObjectEx(second, 0, TRUE), WAIT_TIMEOUT);
    EXPECT_TRUE(t_completed.empty());
    CloseHandle(second);
}

} // namespace
