#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {

constexpr DWORD kControl = WS_CHILD | WS_VISIBLE;
// Every list is a drop-down list of strings in the order added, with a vertical scroll bar; it is a
// tab stop and starts a group.
constexpr DWORD kList = kControl | CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kCheckBox = kControl | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
constexpr DWORD kRightLabel = kControl | SS_RIGHT;
constexpr DWORD kLeftLabel = kControl | SS_LEFT;

std::vector<DialogItemTemplate> Controls() {
    return {
        {"BUTTON", "&COM Options:", IDC_STATIC, 7, 13, 181, 123, kControl | BS_GROUPBOX},
        {"STATIC", "&Port:", IDC_STATIC, 14, 30, 40, 10, kRightLabel},
        {"COMBOBOX", "", IDC_PORT, 59, 28, 55, 76, kList | CBS_UPPERCASE},
        {"STATIC", "&Baud Rate:", IDC_STATIC, 14, 51, 40, 10, kRightLabel},
        {"COMBOBOX", "", IDC_BAUD_RATE, 59, 49, 55, 76, kList},
        {"STATIC", "&Data Bits:", IDC_STATIC, 14, 72, 40, 10, kRightLabel},
        {"COMBOBOX", "", IDC_DATA_BITS, 59, 70, 55, 66, kList},
        {"STATIC", "P&arity:", IDC_STATIC, 14, 93, 40, 10, kRightLabel},
        {"COMBOBOX", "", IDC_PARITY, 59, 91, 55, 64, kList},
        {"STATIC", "&Stop Bits:", IDC_STATIC, 14, 114, 40, 10, kRightLabel},
        {"COMBOBOX", "", IDC_STOP_BITS, 59, 112, 55, 80, kList},
        {"STATIC", "F&low:", IDC_STATIC, 125, 27, 40, 10, kLeftLabel},
        {"BUTTON", "DTR/DSR", IDC_DTR_DSR, 125, 38, 50, 10, kCheckBox},
        {"BUTTON", "RTS/CTS", IDC_RTS_CTS, 125, 49, 50, 10, kCheckBox},
        {"BUTTON", "XON/XOFF", IDC_XON_XOFF, 125, 60, 57, 10, kCheckBox},
        {"BUTTON", "Ok", IDOK, 7, 142, 90, 13, kControl | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"BUTTON", "Cancel", IDCANCEL, 98, 142, 90, 13, kControl | BS_PUSHBUTTON | WS_TABSTOP},
    };
}

// The fixed entries of the lists, appended in this order when the dialog is made. The port list is
// filled at run time. "230000" is two hundred and thirty thousand, not 230400.
std::vector<DialogInitEntry> Lists() {
    return {
        {IDC_BAUD_RATE,
         {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230000",
          "460800", "921600"}},
        {IDC_DATA_BITS, {"4", "5", "6", "7", "8"}},
        {IDC_PARITY, {"Even", "Odd", "None", "Mark", "Space"}},
        {IDC_STOP_BITS, {"1", "1.5", "2"}},
        {IDC_PORT, {}},
    };
}

} // namespace

// "Select Serial Port": the port, speed and framing lists and the three flow-control boxes.
void RegisterPortSettingsDialog() {
    DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT; // 0x80C800C0
    dialog.exStyle = WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW;                           // 0x280
    dialog.cx = 196;
    dialog.cy = 165;
    dialog.title = "Select Serial Port";
    dialog.fontFace = "MS Sans Serif";
    dialog.pointSize = 8;
    dialog.items = Controls();
    dialog.initData = Lists();
    afx::RegisterDialog(IDD_PORT_SETTINGS, std::move(dialog));
}

} // namespace resources
