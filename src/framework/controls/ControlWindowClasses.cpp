#include "framework/controls/ControlWindowClasses.h"

#include "framework/controls/CheckBoxWidget.h"
#include "framework/controls/ComboBoxWidget.h"
#include "framework/controls/DialogConstants.h"
#include "framework/controls/GroupBoxWidget.h"
#include "framework/controls/PushButtonWidget.h"
#include "framework/controls/StaticWidget.h"
#include "framework/window/WindowClass.h"

namespace {

// Tab stops take the focus from the keyboard and the mouse, other controls from the mouse only.
QWidget* WithFocusPolicy(QWidget* control, DWORD style) {
    control->setFocusPolicy((style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    return control;
}

QWidget* CreateButton(CWnd* owner, QWidget* parent, DWORD style, DWORD) {
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX:
        return new GroupBoxWidget(owner, parent);
    case BS_AUTOCHECKBOX:
        return WithFocusPolicy(new CheckBoxWidget(owner, parent), style);
    default:
        return WithFocusPolicy(new PushButtonWidget(owner, parent, style), style);
    }
}

QWidget* CreateStatic(CWnd* owner, QWidget* parent, DWORD style, DWORD) {
    return new StaticWidget(owner, parent, style);
}

QWidget* CreateComboBox(CWnd* owner, QWidget* parent, DWORD style, DWORD) {
    return WithFocusPolicy(new ComboBoxWidget(owner, parent, style), style);
}

} // namespace

namespace afx {

void RegisterControlWindowClasses() {
    static const bool registered = [] {
        RegisterWindowClass({"BUTTON", &CreateButton});
        RegisterWindowClass({"STATIC", &CreateStatic});
        RegisterWindowClass({"COMBOBOX", &CreateComboBox});
        return true;
    }();
    (void)registered;
}

} // namespace afx
