// The hardware description dump on trees the tests supply, written into a real edit control.
#include <gtest/gtest.h>
#include <memory>

#include "framework/edit/CEdit.h"
#include "platform/hardware/Registry.h"
#include "platform/hardware/RegistrySource.h"
#include "sysinfo/DumpRegistryKey.h"

namespace {

class DumpRegistryKeyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_MULTILINE, CRect(0, 0, 400, 300), &parent, 2000));
        system = std::make_shared<RegistryKey>("System");
        platform::SetHardwareTreeOverride(system);
    }
    void TearDown() override {
        platform::ResetRegistrySource();
        parent.DestroyWindow();
    }

    // Runs the walk from the system key as the command does; the walk's result.
    LONG Dump() {
        HKEY root = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\SYSTEM", 0, KEY_READ, &root),
                  ERROR_SUCCESS);
        LONG result = DumpRegistryKey(root, edit, "");
        RegCloseKey(root);
        return result;
    }

    CWnd parent;
    CEdit edit;
    std::shared_ptr<RegistryKey> system;
};

TEST_F(DumpRegistryKeyTest, WritesValuesThenEachSubkeyDepthFirstWithTwoMoreBlanksPerLevel) {
    system->SetString("A", "x");
    RegistryKey& k = system->AddKey("K");
    k.SetDword("N", 0xFFFFFFFFu);
    k.AddKey("L");
    system->AddKey("M").SetString("B", "y");
    EXPECT_EQ(Dump(), 0);
    EXPECT_EQ(edit.GetText(), "A: x\r\n"
                              "  K\r\n"
                              "  N: 4294967295\r\n"
                              "    L\r\n"
                              "  M\r\n"
                              "  B: y\r\n");
    EXPECT_EQ(platform::RegistryOpenKeyCount(), 0u);
}

TEST_F(DumpRegistryKeyTest, ShowsStringsNumbersAndFirstStringsAndSkipsOtherTypes) {
    system->SetMultiString("Multi", {"first", "second"});
    system->SetString("Empty", "");
    system->SetString("", "default");
    system->SetDword("Small", 7);
    system->SetValue("Short", REG_DWORD, {0x34, 0x12}); // a number without its four bytes
    RegistryKey& only = system->AddKey("OnlySkipped");
    only.SetExpandString("Path", "%x%");
    only.SetBinary("Blob", {1, 2, 3});
    only.SetValue("Q", REG_QWORD, std::vector<BYTE>(8, 0xFF));
    EXPECT_EQ(Dump(), 0);
    EXPECT_EQ(edit.GetText(), "Multi: first\r\n"
                              "Empty: \r\n"
                              ": default\r\n"
                              "Small: 7\r\n"
                              "Short: 4660\r\n"
                              "  OnlySkipped\r\n");
}

TEST_F(DumpRegistryKeyTest, GoesToTheCaretReplacingTheSelectionAndTwiceMeansTwice) {
    system->SetString("V", "1");
    edit.SetText("head|tail", 9);
    edit.SetSel(4, 5); // the bar
    EXPECT_EQ(Dump(), 0);
    EXPECT_EQ(edit.GetText(), "headV: 1\r\ntail");
    EXPECT_EQ(Dump(), 0);
    EXPECT_EQ(edit.GetText(), "headV: 1\r\nV: 1\r\ntail");
}

TEST_F(DumpRegistryKeyTest, ASubkeyThatCannotBeOpenedEndsTheWalkThereKeepingWhatWasWritten) {
    system->SetString("A", "x");
    system->AddKey("Good").SetString("G", "1");
    RegistryKey& bad = system->AddKey("Bad");
    bad.SetString("Never", "shown");
    bad.FailOpen(ERROR_ACCESS_DENIED);
    system->AddKey("After").SetString("Z", "z");
    EXPECT_EQ(Dump(), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(edit.GetText(), "A: x\r\n  Good\r\n  G: 1\r\n");
    EXPECT_EQ(platform::RegistryOpenKeyCount(), 0u);
}

TEST_F(DumpRegistryKeyTest, AKeyWhoseListingKeepsFailingEndsWithItsCode) {
    system->SetString("A", "x");
    RegistryKey& broken = system->AddKey("Broken");
    broken.SetString("V", "v");
    broken.FailEnumeration(ERROR_ACCESS_DENIED);
    EXPECT_EQ(Dump(), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(edit.GetText(), "A: x\r\n  Broken\r\n");
}

TEST_F(DumpRegistryKeyTest, ValuesCutShortByTheBuffersAreMarkedNotPassedOffAsWhole) {
    system->SetString("Long", std::string(3000, 'y'));
    system->SetString(std::string(1500, 'n'), "v");
    system->SetMultiString("LongMulti", {std::string(10, 'm'), std::string(2000, 'w')});
    system->SetString(std::string(1100, 'b'), std::string(2000, 'z')); // both cut short
    EXPECT_EQ(Dump(), 0);
    std::string expected = "Long: " + std::string(1024, 'y') + "... [cut short: 3001 bytes in all]\r\n" +
                           std::string(1023, 'n') + "...: v\r\n" + "LongMulti: " + std::string(10, 'm') +
                           "\r\n" + std::string(1023, 'b') + "...: " + std::string(1024, 'z') +
                           "... [cut short: 2001 bytes in all]\r\n";
    EXPECT_EQ(edit.GetText(), expected);
}

} // namespace
