// The whole program while its port's device goes away and comes back: "Can't get port signals" after
// each dismissal while it is gone, the menu still there, and once the same device is back the boxes
// stop and receiving goes on with nothing for the user to do.
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

#include "../platform/tty/PtyPair.h"
#include "AppHarness.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/comm/SimulatedDevice.h"
#include "resources/ResourceIds.h"

namespace {

namespace fs = std::filesystem;
using platform::SimulatedDevice;

bool AllSignalBoxes(const std::vector<AppHarness::Box>& boxes) {
    for (const auto& box : boxes) {
        if (box.text != "Can't get port signals")
            return false;
    }
    return !boxes.empty();
}

TEST(DeviceReturn, AnUnpluggedSimulatedPortShowsItsBoxUntilPluggedInThenReceivingGoesOn) {
    auto sim = SimulatedDevice::Register("COM7");
    AppHarness harness;
    harness.Start();
    harness.ChoosePort("COM7");
    ASSERT_EQ(harness.Port().GetState(), Idle);
    sim->Inject("before ");
    ASSERT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "before "; }));

    sim->Unplug();
    ASSERT_TRUE(harness.RunUntil([&] { return harness.boxes.size() >= 3; }));
    EXPECT_TRUE(AllSignalBoxes(harness.boxes));
    EXPECT_EQ(harness.Port().GetState(), Idle) << "the port stays as it was; only its calls fail";

    sim->PlugIn();
    sim->Inject("after");
    ASSERT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "before after"; }))
        << harness.TerminalText();
    std::size_t shown = harness.boxes.size();
    harness.RunFor(50);
    EXPECT_EQ(harness.boxes.size(), shown) << "the boxes stop";
    EXPECT_TRUE(sim->Dtr()) << "DTR raised again, as the dialog left it";
    EXPECT_EQ(sim->Dcb().BaudRate, 9600u);
    SimulatedDevice::UnregisterAll();
}

// A USB adapter stands in as a pseudo-terminal linked as ttyUSB0 (COM33); pulled out, its node goes;
// plugged in again, a new one is linked there.
TEST(DeviceReturn, AnAdapterPulledOutAndPluggedInAgainHealsThePortThroughTheWholeProgram) {
    fs::path folder = fs::temp_directory_path() / ("martool-devices-" + std::to_string(getpid()));
    fs::create_directories(folder);
    auto link = [&](const PtyPair& pty) {
        fs::remove(folder / "ttyUSB0");
        fs::create_symlink(pty.DevicePath().substr(4), folder / "ttyUSB0");
    };
    PtyPair first;
    ASSERT_TRUE(first.Ok());
    link(first);
    platform::SetDeviceDirectory(folder.string());
    {
        AppHarness harness;
        harness.Start();
        harness.ChoosePort("COM33");
        ASSERT_EQ(harness.Port().GetState(), Idle);
        ASSERT_TRUE(first.Send("one "));
        ASSERT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "one "; }));

        first.CloseMaster();
        fs::remove(folder / "ttyUSB0");
        ASSERT_TRUE(harness.RunUntil([&] { return harness.boxes.size() >= 3; }));
        EXPECT_TRUE(AllSignalBoxes(harness.boxes));

        PtyPair second;
        ASSERT_TRUE(second.Ok());
        termios2 quiet = second.Settings(); // an adapter does not echo, as a fresh pty's line would
        quiet.c_lflag &= ~(ECHO | ICANON);
        second.SetSettings(quiet);
        link(second);
        ASSERT_TRUE(second.Send("two"));
        ASSERT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "one two"; }))
            << harness.TerminalText();
        std::size_t shown = harness.boxes.size();
        harness.RunFor(50);
        EXPECT_EQ(harness.boxes.size(), shown);
        QTest::keyClicks(harness.Frame()->m_wndTerminal.GetWidget(), "typed");
        harness.RunFor(50);
        EXPECT_EQ(second.Receive(5), "typed");
    }
    platform::SetDeviceDirectory("/nonexistent/martool-test-devices");
    fs::remove_all(folder);
}

} // namespace
