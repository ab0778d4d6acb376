#include "framework/frame/FrameWindowClasses.h"

#include "framework/frame/FrameWidget.h"
#include "framework/frame/StatusBarWidget.h"
#include "framework/window/WindowClass.h"

namespace {

QWidget* CreateFrame(CWnd* owner, QWidget* parent, DWORD style, DWORD) {
    return new framework::FrameWidget(owner, parent, style);
}

QWidget* CreateStatusBar(CWnd* owner, QWidget* parent, DWORD style, DWORD) {
    return new framework::StatusBarWidget(owner, parent, style);
}

} // namespace

namespace afx {

void RegisterFrameWindowClasses() {
    static const bool registered = [] {
        RegisterWindowClass({kFrameClassName, &CreateFrame});
        RegisterWindowClass({kStatusBarClassName, &CreateStatusBar});
        return true;
    }();
    (void)registered;
}

} // namespace afx
