// Virtual serial ports as technicians make them: a pseudo-terminal whose maker (socat, a test rig)
// holds both of its ends, linked as /dev/ttyUSB0. The port list offers it and the whole program works
// through it; a slave that some other process holds without its master is busy.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AppHarness.h"
#include "platform/ports/DeviceDirectory.h"
#include "resources/ResourceIds.h"

namespace {

using Strings = std::vector<std::string>;

// A process of the test's own, ended when the test ends.
class Child {
public:
    explicit Child(pid_t pid) : m_pid(pid) {}
    ~Child() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

private:
    pid_t m_pid;
};

// Runs `body` in a child process and returns once the child says it is ready.
std::unique_ptr<Child> Spawn(const std::function<void(int ready)>& body) {
    int ready[2];
    if (pipe(ready) != 0)
        return nullptr;
    pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        body(ready[1]);
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    const bool up = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    auto child = std::make_unique<Child>(pid);
    return up ? std::move(child) : nullptr;
}

class VirtualPortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(devices.isValid());
        m_oldDevices = platform::DeviceDirectory();
        platform::SetDeviceDirectory(devices.path().toStdString());
    }
    void TearDown() override { platform::SetDeviceDirectory(m_oldDevices); }

    std::string Device(const char* node) const { return devices.filePath(node).toStdString(); }
    // Runs the port dialog, at start-up the first time and then from the menu, and answers it with
    // `port` and OK, or with Cancel when `port` is null; the list it offered.
    Strings Offered(const char* port) {
        Strings offered;
        const auto answer = [&](CDialog& dialog) {
            offered = AppHarness::Entries(dialog, IDC_PORT);
            AppHarness::Choose(dialog, IDC_PORT, port);
            AppHarness::Press(dialog, port != nullptr ? IDOK : IDCANCEL);
        };
        if (harness.Frame() == nullptr)
            harness.Start(answer);
        else
            AppHarness::WithDialog(answer, [&] { harness.Frame()->SendMessage(WM_COMMAND, ID_PORT_SETTINGS, 0); });
        return offered;
    }
    bool TerminalShows(const std::string& text, int timeoutMs = 5000) {
        return harness.RunUntil([&] { return harness.TerminalText().find(text) != std::string::npos; },
                                timeoutMs);
    }
    void Type(const char* text) { QTest::keyClicks(harness.Frame()->m_wndTerminal.GetWidget(), text); }

    QTemporaryDir devices;
    AppHarness harness;

private:
    std::string m_oldDevices;
};

// The maker keeps both ends and answers every byte in upper case, as a remote device would.
TEST_F(VirtualPortTest, APtyHeldByItsMakerIsOfferedAndWorksOneHeldByAnotherProcessIsBusy) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    char slavePath[64];
    ASSERT_EQ(ptsname_r(master, slavePath, sizeof slavePath), 0);
    int slave = open(slavePath, O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    ASSERT_EQ(symlink(slavePath, Device("ttyUSB0").c_str()), 0);
    auto maker = Spawn([&](int ready) {
        [[maybe_unused]] auto put = write(ready, "y", 1);
        char bytes[256];
        for (;;) {
            ssize_t n = read(master, bytes, sizeof bytes);
            if (n <= 0)
                return;
            for (ssize_t i = 0; i < n; ++i)
                bytes[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(bytes[i])));
            put = write(master, bytes, static_cast<std::size_t>(n));
        }
    });
    close(master);
    close(slave);
    ASSERT_NE(maker, nullptr);

    // Another process opens the slave and has a pseudo-terminal of its own: the port is its.
    auto other = Spawn([&](int ready) {
        if (posix_openpt(O_RDWR | O_NOCTTY) < 0 || open(slavePath, O_RDWR | O_NOCTTY) < 0)
            return;
        [[maybe_unused]] auto put = write(ready, "y", 1);
        pause();
    });
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Offered(nullptr), (Strings{"COM255"}));
    other.reset();
    EXPECT_EQ(Offered("COM33"), (Strings{"COM33", "COM255"}));
    ASSERT_EQ(harness.Port().GetState(), Idle);
    Type("ping");
    EXPECT_TRUE(TerminalShows("PING")) << harness.TerminalText();
}

// A serial console on the far end of a socat pair: agetty's login prompt arrives, the name typed comes
// back as agetty's echo, and Enter brings login's password prompt.
TEST_F(VirtualPortTest, ALoginConsoleAnswersThroughASocatPair) {
    if (geteuid() != 0)
        GTEST_SKIP() << "agetty takes its terminal only when run as root";
    const QString socat = QStandardPaths::findExecutable("socat");
    QString agetty = QStandardPaths::findExecutable("agetty", {"/sbin", "/usr/sbin", "/usr/bin", "/bin"});
    ASSERT_FALSE(socat.isEmpty()) << "socat is not installed (scripts/setup.sh installs it)";
    ASSERT_FALSE(agetty.isEmpty()) << "agetty is not installed (scripts/setup.sh installs it)";

    QProcess pair;
    const QString remote = devices.filePath("remote");
    pair.start(socat, {"pty,raw,echo=0,link=" + QString::fromStdString(Device("ttyUSB0")),
                       "pty,raw,echo=0,link=" + remote});
    const auto made = [&] { return QFileInfo::exists(remote) && QFileInfo::exists(devices.filePath("ttyUSB0")); };
    for (int tries = 0; tries < 100 && !made(); ++tries)
        QTest::qWait(50);
    ASSERT_TRUE(made()) << "socat made no pair";

    EXPECT_EQ(Offered("COM33"), (Strings{"COM33", "COM255"}));
    ASSERT_EQ(harness.Port().GetState(), Idle);

    QProcess console;
    const QString tty = QDir("/dev").relativeFilePath(QFileInfo(remote).symLinkTarget());
    console.start(agetty, {"--noclear", "--noissue", "--nohostname", "--nohints", "--local-line",
                           tty, "115200", "vt100"});
    EXPECT_TRUE(TerminalShows("login: ")) << harness.TerminalText() << console.readAllStandardError().toStdString();
    Type("guest");
    EXPECT_TRUE(TerminalShows("login: guest")) << harness.TerminalText();
    QTest::keyClick(harness.Frame()->m_wndTerminal.GetWidget(), Qt::Key_Return);
    EXPECT_TRUE(TerminalShows("Password: ", 10000)) << harness.TerminalText();
    const std::string text = harness.TerminalText();
    EXPECT_LT(text.find("login: guest"), text.find("Password: "));

    console.kill();
    console.waitForFinished();
    pair.terminate();
    pair.waitForFinished();
}

} // namespace
