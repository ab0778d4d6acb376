// The whole program while its port's device goes away and comes back: "Can't get port signals" after
// each dismissal while it is gone, the menu still there, and once the same device is back the boxes
// stop and receiving goes on with nothing for the user to do.
#include <gtest/gtest.h>

#include "../platform/tty/PtyPair.h"
#include "AppHarness.h"
#include "platform/ports/DeviceDirectory.h"
#include "support/SimulatedDevice.h"
#include "resources/ResourceIds.h"

namespace {

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

} // namespace
