#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {
constexpr DWORD kControl = WS_CHILD | WS_VISIBLE;
} // namespace

// "Terminal Options": four check boxes in two frames inside an outer frame. Only the first box is a
// tab stop; the other three are reached with the arrow keys.
void RegisterTerminalOptionsDialog() {
    DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT; // 0x80C800C4
    dialog.exStyle = WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW;                                       // 0x280
    dialog.cx = 210;
    dialog.cy = 125;
    dialog.title = "Terminal Options";
    dialog.fontFace = "MS Sans Serif";
    dialog.pointSize = 8;
    dialog.items = {
        {"BUTTON", "OK", IDOK, 7, 104, 95, 14, kControl | BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"BUTTON", "Cancel", IDCANCEL, 104, 104, 99, 14, kControl | BS_PUSHBUTTON | WS_TABSTOP},
        {"BUTTON", "&TTY Options:", IDC_STATIC, 7, 13, 196, 88, kControl | BS_GROUPBOX},
        {"BUTTON", "Autowrap long lines", IDC_AUTOWRAP, 18, 33, 81, 10,
         kControl | BS_AUTOCHECKBOX | WS_TABSTOP},
        {"BUTTON", "Send CR only (NO LF)", IDC_SEND_CR_ONLY, 18, 43, 94, 10, kControl | BS_AUTOCHECKBOX},
        {"BUTTON", "Enable local echo", IDC_LOCAL_ECHO, 18, 53, 83, 10, kControl | BS_AUTOCHECKBOX},
        {"BUTTON", "Transmitter options", IDC_STATIC, 13, 24, 183, 42, kControl | BS_GROUPBOX},
        {"BUTTON", "Filter LF", IDC_FILTER_LF, 18, 80, 71, 10, kControl | BS_AUTOCHECKBOX},
        {"BUTTON", "Receiver options", IDC_STATIC, 13, 69, 183, 26, kControl | BS_GROUPBOX},
    };
    afx::RegisterDialog(IDD_TERMINAL_OPTIONS, std::move(dialog));
}

} // namespace resources
