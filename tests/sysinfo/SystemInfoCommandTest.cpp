// The System Info command on the whole program: the dump lands in the terminal, failures show the
// empty "Error" box owned by the frame.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "platform/hardware/RegistrySource.h"
#include "resources/ResourceIds.h"

namespace {

class SystemInfoCommandTest : public testing::Test {
protected:
    void SetUp() override {
        harness.Start();
        tree = std::make_shared<RegistryKey>("System");
        tree->SetString("Identifier", "x");
        tree->AddKey("CentralProcessor").AddKey("0").SetDword("~MHz", 2400);
        platform::SetHardwareTreeOverride(tree);
    }
    void TearDown() override { platform::ResetRegistrySource(); }
    void Run() { harness.Frame()->SendMessage(WM_COMMAND, ID_SYSTEM_INFO, 0); }

    AppHarness harness;
    std::shared_ptr<RegistryKey> tree;
};

TEST_F(SystemInfoCommandTest, ARootThatCannotBeOpenedWritesNothingAndShowsTheBox) {
    tree->FailOpen(ERROR_ACCESS_DENIED);
    Run();
    EXPECT_EQ(harness.TerminalText(), "");
    ASSERT_EQ(harness.boxes.size(), 1u);
    EXPECT_EQ(harness.boxes[0].text, "");
    EXPECT_EQ(harness.boxes[0].caption, "Error");
    EXPECT_EQ(harness.boxes[0].type, MB_OK);
    EXPECT_EQ(harness.boxes[0].owner, harness.Frame()->GetSafeHwnd());
}

TEST_F(SystemInfoCommandTest, ASubkeyThatCannotBeOpenedKeepsWhatWasWrittenAndShowsTheBox) {
    tree->FindKey("CentralProcessor")->FindKey("0")->FailOpen(ERROR_ACCESS_DENIED);
    Run();
    EXPECT_EQ(harness.TerminalText(), "Identifier: x\r\n  CentralProcessor\r\n");
    ASSERT_EQ(harness.boxes.size(), 1u);
    EXPECT_EQ(harness.boxes[0].text, "");
}

TEST(SystemInfoOnThisMachine, ShowsItsProcessors) {
    AppHarness harness;
    harness.Start();
    platform::ResetRegistrySource();
    harness.Frame()->SendMessage(WM_COMMAND, ID_SYSTEM_INFO, 0);
    std::string text = harness.TerminalText();
    EXPECT_NE(text.find("\r\n  CentralProcessor\r\n    0\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ProcessorNameString: "), std::string::npos);
    EXPECT_TRUE(harness.boxes.empty());
}

} // namespace
