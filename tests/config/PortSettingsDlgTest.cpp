// The port settings dialog through its real window: the port list, and what OK does to the port and
// the status bar.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppHarness.h"
#include "app/CSignalStatusBar.h"
#include "config/CPortSettingsDlg.h"
#include "framework/frame/StatusBarWidget.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/ports/DevicePermissions.h"
#include "platform/ports/PortDescription.h"
#include "support/SimulatedDevice.h"
#include "platform/base/SystemPaths.h"
#include "resources/ResourceIds.h"
#include "support/FakeMachine.h"
#include "support/ToolTipProbe.h"

namespace {

using platform::SimulatedDevice;
using Strings = std::vector<std::string>;

class PortSettingsDlgTest : public testing::Test {
protected:
    void SetUp() override {
        com3 = SimulatedDevice::Register("COM3");
        com12 = SimulatedDevice::Register("COM12");
        SimulatedDevice::Register("COM5")->SetPresence(SimulatedDevice::Presence::Busy);
        SimulatedDevice::Register("COM6")->SetPresence(SimulatedDevice::Presence::Absent);
        harness.Start();
    }
    // Runs the dialog from the menu; `script` answers it.
    void RunDialog(const std::function<void(CDialog&)>& script) {
        AppHarness::WithDialog(script,
                               [&] { harness.Frame()->SendMessage(WM_COMMAND, ID_PORT_SETTINGS, 0); });
    }
    // The list and the selection the dialog opens with.
    void LookAtList(Strings& entries, std::string& selected) {
        RunDialog([&](CDialog& d) {
            entries = AppHarness::Entries(d, IDC_PORT);
            selected = AppHarness::Selected(d, IDC_PORT);
            AppHarness::Press(d, IDCANCEL);
        });
    }
    CString Pane(int pane) { return harness.PaneText(pane); }

    AppHarness harness;
    std::shared_ptr<SimulatedDevice> com3, com12;
};

TEST_F(PortSettingsDlgTest, TheOpenPortComesFirstSelectedAndOnlyOnce) {
    harness.ChoosePort("COM12");
    ASSERT_EQ(harness.Port().GetState(), Idle);
    Strings entries;
    std::string selected;
    LookAtList(entries, selected);
    EXPECT_EQ(entries, (Strings{"COM12", "COM3", "COM255"}));
    EXPECT_EQ(selected, "COM12");
}

TEST_F(PortSettingsDlgTest, TheProbeOpensEachNameExclusivelyAndClosesItAgain) {
    com3->ClearCalls();
    Strings entries;
    std::string selected;
    LookAtList(entries, selected);
    auto calls = com3->Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().op, SimulatedDevice::Op::CreateFile);
    EXPECT_EQ(calls.front().path, "\\\\.\\COM3");
    EXPECT_EQ(calls.front().shareMode, 0u);
    EXPECT_EQ(calls.front().flags, 0x40000080u); // the probe keeps the overlapped default
    EXPECT_EQ(calls.back().op, SimulatedDevice::Op::CloseHandle);
    EXPECT_FALSE(com3->IsOpen());
    EXPECT_EQ(com3->CountOf(SimulatedDevice::Op::SetCommState), 0u); // the speed only reached its copy
}

TEST_F(PortSettingsDlgTest, OkAtOnceOpensNothingAndShowsTheDefaults) {
    RunDialog([](CDialog& d) { AppHarness::Press(d, IDOK); });
    EXPECT_EQ(harness.Port().GetState(), Closed);
    EXPECT_EQ(Pane(CSignalStatusBar::kPort), CString("Port: "));
    EXPECT_EQ(Pane(CSignalStatusBar::kLine), CString("Line: 9600,N,8"));
}

TEST_F(PortSettingsDlgTest, OkOpensSynchronouslyAndAppliesTheSettingsInOrder) {
    com3->ClearCalls();
    RunDialog([](CDialog& d) {
        AppHarness::Choose(d, IDC_PORT, "COM3");
        AppHarness::Choose(d, IDC_BAUD_RATE, "230000");
        AppHarness::Choose(d, IDC_DATA_BITS, "7");
        AppHarness::Choose(d, IDC_PARITY, "Space");
        AppHarness::Choose(d, IDC_STOP_BITS, "1.5");
        AppHarness::Tick(d, IDC_RTS_CTS, true);
        AppHarness::Tick(d, IDC_XON_XOFF, true);
        AppHarness::Press(d, IDOK);
    });
    ASSERT_EQ(harness.Port().GetState(), Idle);
    EXPECT_EQ(Pane(CSignalStatusBar::kPort), CString("Port: COM3"));
    EXPECT_EQ(Pane(CSignalStatusBar::kLine), CString("Line: 230000,S,7"));

    std::vector<DCB> written;
    std::vector<DWORD> escapes;
    DWORD openFlags = 0, openShare = 0;
    for (const auto& call : com3->Calls()) {
        if (call.op == SimulatedDevice::Op::SetCommState)
            written.push_back(call.dcb);
        if (call.op == SimulatedDevice::Op::EscapeCommFunction)
            escapes.push_back(call.code);
        if (call.op == SimulatedDevice::Op::CreateFile) {
            openFlags = call.flags;
            openShare = call.shareMode;
        }
    }
    EXPECT_EQ(openFlags, 0x80u); // synchronous
    EXPECT_EQ(openShare, 3u);
    ASSERT_EQ(written.size(), 7u);
    EXPECT_EQ(written[0].BaudRate, 230000u);
    EXPECT_EQ(written[1].ByteSize, 7);
    EXPECT_EQ(written[2].StopBits, ONE5STOPBITS);
    EXPECT_EQ(written[3].Parity, SPACEPARITY);
    EXPECT_EQ(written[4].fOutxCtsFlow, 1u);
    EXPECT_EQ(written[4].fRtsControl, RTS_CONTROL_HANDSHAKE);
    EXPECT_EQ(written[5].fDtrControl, DTR_CONTROL_DISABLE);
    EXPECT_EQ(written[6].fOutX, 1u);
    EXPECT_EQ(written[6].fInX, 1u);
    EXPECT_EQ(escapes, (std::vector<DWORD>{CLRRTS, SETDTR}));
    EXPECT_TRUE(com3->Dtr());
    EXPECT_TRUE(com3->Rts()) << "under RTS handshaking the driver refuses CLRRTS";
}

TEST_F(PortSettingsDlgTest, RefusedDataBitsStillShowWhileTheDeviceKeepsItsSetting) {
    RunDialog([](CDialog& d) {
        AppHarness::Choose(d, IDC_PORT, "COM255");
        AppHarness::Choose(d, IDC_DATA_BITS, "4");
        AppHarness::Press(d, IDOK);
    });
    ASSERT_EQ(harness.Port().GetState(), Idle);
    EXPECT_EQ(Pane(CSignalStatusBar::kLine), CString("Line: 9600,N,4"));
    DCB dcb{};
    ASSERT_TRUE(harness.Port().GetControlBlock(dcb));
    EXPECT_EQ(dcb.ByteSize, 8);
}

TEST_F(PortSettingsDlgTest, EveryOpeningStartsFromTheDefaults) {
    RunDialog([](CDialog& d) {
        AppHarness::Choose(d, IDC_PORT, "COM3");
        AppHarness::Choose(d, IDC_BAUD_RATE, "115200");
        AppHarness::Choose(d, IDC_DATA_BITS, "7");
        AppHarness::Choose(d, IDC_PARITY, "Even");
        AppHarness::Choose(d, IDC_STOP_BITS, "2");
        AppHarness::Tick(d, IDC_RTS_CTS, true);
        AppHarness::Press(d, IDOK);
    });
    std::vector<std::string> shown;
    std::vector<LRESULT> ticks;
    RunDialog([&](CDialog& d) {
        for (int id : {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS})
            shown.push_back(AppHarness::Selected(d, id));
        for (int id : {IDC_DTR_DSR, IDC_RTS_CTS, IDC_XON_XOFF})
            ticks.push_back(d.GetDlgItem(id)->SendMessage(BM_GETCHECK));
        AppHarness::Press(d, IDCANCEL);
    });
    EXPECT_EQ(shown, (Strings{"9600", "8", "None", "1"}));
    EXPECT_EQ(ticks, (std::vector<LRESULT>{0, 0, 0}));
}

TEST_F(PortSettingsDlgTest, OkWithoutChangesReopensThePortAndSetsTheLinesAgain) {
    harness.ChoosePort("COM3");
    ASSERT_EQ(harness.Port().GetState(), Idle);
    EscapeCommFunction(harness.Port().GetHandle(), SETRTS);
    EscapeCommFunction(harness.Port().GetHandle(), CLRDTR);
    harness.Frame()->m_trackedDtr = 0;
    harness.Frame()->m_trackedRts = 1;
    com3->ClearCalls();
    RunDialog([](CDialog& d) { AppHarness::Press(d, IDOK); }); // COM3 is first and selected
    // The probe's exclusive open fails on the port in use; then OK closes it and opens it afresh.
    auto calls = com3->Calls();
    ASSERT_EQ(calls.size() >= 3 ? calls[0].op : SimulatedDevice::Op::ReadFile,
              SimulatedDevice::Op::CreateFile);
    EXPECT_EQ(calls[1].op, SimulatedDevice::Op::CloseHandle);
    EXPECT_EQ(calls[2].op, SimulatedDevice::Op::CreateFile);
    EXPECT_TRUE(com3->IsOpen());
    EXPECT_TRUE(com3->Dtr());
    EXPECT_FALSE(com3->Rts());
    EXPECT_EQ(harness.Frame()->m_trackedDtr, 1u);
    EXPECT_EQ(harness.Frame()->m_trackedRts, 0u);
}

TEST_F(PortSettingsDlgTest, AFailedOpenStillShowsTheChosenNameAndLine) {
    harness.ChoosePort("COM3");
    ASSERT_EQ(harness.Port().GetState(), Idle);
    RunDialog([&](CDialog& d) {
        AppHarness::Choose(d, IDC_PORT, "COM12");
        com12->SetPresence(SimulatedDevice::Presence::Busy); // taken between listing and OK
        AppHarness::Press(d, IDOK);
    });
    EXPECT_EQ(harness.Port().GetState(), Closed);
    EXPECT_EQ(harness.Port().GetName(), "COM12");
    EXPECT_EQ(Pane(CSignalStatusBar::kPort), CString("Port: COM12"));
    EXPECT_EQ(Pane(CSignalStatusBar::kLine), CString("Line: 9600,N,8"));
    EXPECT_FALSE(com3->IsOpen());
}

} // namespace

namespace {

// A machine with a USB adapter at COM33 (ttyUSB0) and a modem at COM65 (ttyACM0) that this user may
// not open. Its /dev holds only that modem's node; the adapter is simulated.
class PortTipsTest : public PortSettingsDlgTest {
protected:
    void SetUp() override {
        machine.Link("sys/class/tty/ttyUSB0/device", "sys/devices/usb1/1-2/1-2:1.0/ttyUSB0");
        machine.UsbIdentity("sys/devices/usb1/1-2", "FT232R USB UART\n", "FTDI\n", "A50285BI\n");
        machine.Write("dev/ttyACM0", "");
        ::chmod(machine.Path("dev/ttyACM0").c_str(), 0660);
        m_oldDevices = platform::DeviceDirectory();
        platform::SetDeviceDirectory(machine.Path("dev"));
        platform::SetSysfsDirectory(machine.Sys());
        platform::SetProcessIdentity(platform::ProcessIdentity{::geteuid() + 4242, {}});
        SimulatedDevice::Register("COM33");
        PortSettingsDlgTest::SetUp();
    }
    void TearDown() override {
        platform::SetProcessIdentity(std::nullopt);
        platform::SetSysfsDirectory("/sys");
        platform::SetDeviceDirectory(m_oldDevices);
    }
    // Each entry with its tip, and the tip of the list itself.
    void LookAtTips(Strings& entries, std::string& listTip) {
        RunDialog([&](CDialog& d) {
            auto* list = static_cast<QComboBox*>(d.GetDlgItem(IDC_PORT)->GetWidget());
            list->showPopup();
            QAbstractItemView* view = list->view();
            for (int i = 0; i < list->count(); ++i) {
                const QPoint point = view->visualRect(view->model()->index(i, 0)).center();
                entries.push_back(list->itemText(i).toStdString() + " | " + ToolTipAt(view->viewport(), point));
            }
            list->hidePopup();
            listTip = ToolTipAt(list, list->rect().center());
            AppHarness::Press(d, IDCANCEL);
        });
    }
    std::string Dev(const char* node) const { return machine.Path(std::string("dev/") + node); }

    FakeMachine machine;

private:
    std::string m_oldDevices;
};

TEST_F(PortTipsTest, EachPortTellsItsDeviceAndTheListTellsWhatMayNotBeOpened) {
    Strings entries;
    std::string listTip;
    LookAtTips(entries, listTip);
    const std::string loopback = platform::DescribePort("COM255");
    EXPECT_NE(loopback.find("loopback plug"), std::string::npos);
    EXPECT_EQ(entries, (Strings{"COM3 | " + Dev("ttyS2"), "COM12 | " + Dev("ttyS11"),
                                "COM33 | " + Dev("ttyUSB0") + ": FT232R USB UART, FTDI, serial A50285BI",
                                "COM255 | " + loopback}))
        << "the list holds what it held before, each entry with its tip";
    const std::string group = ::getgrgid(::getegid())->gr_name; // the node's group, as the test made it
    EXPECT_EQ(listTip, "Not listed: you have no permission to open " + Dev("ttyACM0") + ".\nTo use them, join the group " +
                           group + ":\n    sudo usermod -aG " + group + " $USER\nthen log out and log in again.");

    platform::SetProcessIdentity(std::nullopt);
    ::chmod(Dev("ttyACM0").c_str(), 0666);
    entries.clear();
    LookAtTips(entries, listTip);
    EXPECT_EQ(listTip, "") << "nothing to say when every device may be opened";
}

TEST_F(PortTipsTest, ThePortPaneTellsTheDeviceOfTheOpenPort) {
    harness.ChoosePort("COM33");
    const std::string expected = Dev("ttyUSB0") + ": FT232R USB UART, FTDI, serial A50285BI";
    auto* bar = static_cast<framework::StatusBarWidget*>(harness.Frame()->m_wndStatusBar.GetWidget());
    harness.Frame()->ShowWindow(SW_SHOW);
    EXPECT_EQ(ToolTipAt(bar, bar->ItemRect(CSignalStatusBar::kPort).center()), expected);
    harness.ChoosePort("COM255");
    EXPECT_EQ(ToolTipAt(bar, bar->ItemRect(CSignalStatusBar::kPort).center()), platform::DescribePort("COM255"));
}

} // namespace
