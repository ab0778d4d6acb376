// The About box: the program's picture, its name and version, and where to turn with questions.
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {
constexpr DWORD kControl = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kControl | SS_LEFT | WS_GROUP;
} // namespace

void RegisterAboutDialog() {
    DialogTemplate dialog{};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT; // 0x80C800C0
    dialog.cx = 317;
    dialog.cy = 79;
    dialog.title = "About martool";
    dialog.fontFace = "MS Sans Serif";
    dialog.pointSize = 8;
    dialog.items = {
        {"STATIC", std::to_string(IDB_ABOUT), IDC_STATIC, 7, 7, 115, 63, kControl | SS_BITMAP,
         WS_EX_TRANSPARENT},
        {"STATIC", "Marloven Debug Tool  Version 1.01", IDC_STATIC, 135, 7, 119, 8, kLabel | SS_NOPREFIX},
        {"STATIC", "Copyright (C) 2026 the authors", IDC_STATIC, 135, 25, 119, 8, kLabel},
        {"STATIC", "Questions or comments are welcomed.", IDC_STATIC, 135, 43, 130, 8, kLabel},
        {"STATIC", "Report problems on the issue tracker.", IDC_STATIC, 135, 61, 145, 8, kLabel},
        {"BUTTON", "OK", IDOK, 278, 7, 32, 14, kControl | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    };
    afx::RegisterDialog(IDD_ABOUTBOX, std::move(dialog));
}

} // namespace resources
