// A port another program uses is busy: a live UUCP lock file names it, or another process has it
// open without locking. While we hold a port we keep our own lock file. All on a pseudo-terminal,
// with the lock directory of the test run and, where a process table is faked, a folder of its own.

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "PtyPair.h"
#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/tty/PortProbeScope.h"
#include "platform/base/SystemPaths.h"
#include "support/FileBytes.h"

namespace {

namespace fs = std::filesystem;

std::string Padded(pid_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

std::string Binary(pid_t pid) {
    int value = pid;
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

pid_t DeadPid() {
    pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

class PortBusyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        lockFile = fs::path(platform::LockDirectories().front()) / ("LCK.." + NodeName());
    }
    void TearDown() override {
        fs::remove(lockFile);
        platform::SetProcDirectory("/proc");
        if (!fakeProc.empty())
            fs::remove_all(fakeProc);
    }

    std::string Node() const { return pty.DevicePath().substr(4); }
    std::string NodeName() const { return fs::path(Node()).filename(); }
    HANDLE Open() {
        return CreateFileA(pty.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }
    // Opens and closes at once; true when the open succeeded.
    bool Opens() {
        HANDLE handle = Open();
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(handle);
        return true;
    }
    // A process table of our own making: entries link descriptors to the pty's node.
    void FakeProc() {
        fakeProc = fs::temp_directory_path() / ("martool-proc-" + std::to_string(getpid()));
        fs::create_directories(fakeProc);
        platform::SetProcDirectory(fakeProc.string());
        AddOpener(getpid(), 5, Node()); // this process: never counts
        AddOpener(4243, 1, "/tmp/not-a-device");
        fs::create_directories(fakeProc / "4244"); // a process we may not look into
    }
    void AddOpener(pid_t pid, int fd, const std::string& target) {
        fs::path dir = fakeProc / std::to_string(pid) / "fd";
        fs::create_directories(dir);
        fs::create_symlink(target, dir / std::to_string(fd));
    }

    PtyPair pty;
    fs::path lockFile;
    fs::path fakeProc;
};

TEST_F(PortBusyTest, LiveLockFilesMakeThePortBusyStaleOnesAreReplacedByOurs) {
    struct Case {
        const char* what;
        std::string contents;
        bool busy;
    };
    const pid_t dead = DeadPid();
    for (const Case& c : {Case{"live, ASCII", Padded(getppid()), true},
                          Case{"live, binary", Binary(getppid()), true},
                          Case{"stale, ASCII", Padded(dead), false},
                          Case{"stale, binary", Binary(dead), false},
                          Case{"our own", Padded(getpid()), false},
                          Case{"no pid in it", "locked\n", false}}) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(lockFile, c.contents);
        HANDLE handle = Open();
        if (c.busy) {
            EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
            EXPECT_EQ(ReadFileBytes(lockFile), c.contents) << "another program's lock is left alone";
            continue;
        }
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        EXPECT_EQ(ReadFileBytes(lockFile), Padded(getpid()));
        CloseHandle(handle);
        EXPECT_FALSE(fs::exists(lockFile)) << "closing removes our lock";
    }
}

TEST_F(PortBusyTest, WhileWeHoldThePortOnlyOurLockFileIsThereAndClosingLeavesNothing) {
    HANDLE handle = Open();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(platform::LockDirectories().front()))
        files.push_back(entry.path());
    EXPECT_EQ(files, std::vector<fs::path>{lockFile});
    CloseHandle(handle);
    EXPECT_TRUE(fs::is_empty(platform::LockDirectories().front()));
}

TEST_F(PortBusyTest, ANormalExitWithThePortStillOpenLeavesNoLockFileBehind) {
    int held[2];
    ASSERT_EQ(pipe(held), 0);
    pid_t child = fork();
    if (child == 0) {
        char byte = Open() != INVALID_HANDLE_VALUE && fs::exists(lockFile) ? 'y' : 'n';
        [[maybe_unused]] auto put = write(held[1], &byte, 1);
        std::exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(held[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'y');
    waitpid(child, nullptr, 0);
    close(held[0]);
    close(held[1]);
    EXPECT_FALSE(fs::exists(lockFile));
}

// A process that opened the device without locking it (cat, a script) keeps it busy until it ends.
TEST_F(PortBusyTest, AnotherProcessHoldingTheDeviceOpenMakesItBusy) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    std::string node = Node();
    const int master = pty.Master();
    pid_t child = fork();
    if (child == 0) {
        close(master); // the pty's maker is this test; the child only opens the device, as cat does
        int fd = open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        char byte = fd >= 0 ? 'y' : 'n';
        [[maybe_unused]] auto put = write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_FALSE(Opens());
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(Opens());
}

} // namespace
