#include "framework/dialogs/DialogWindowClasses.h"

#include "framework/window/CWnd.h"
#include "framework/dialogs/DialogWidget.h"
#include "framework/window/WindowClass.h"

namespace {

QWidget* CreateDialogWindow(CWnd* owner, QWidget* parent, DWORD style, DWORD exStyle) {
    if (parent == nullptr) {
        // A top-level dialog stays over its owner's window.
        CWnd* ownerWnd = owner->GetParent();
        parent = ownerWnd ? ownerWnd->GetTopLevelParent()->GetWidget() : nullptr;
    }
    return new DialogWidget(owner, parent, style, exStyle);
}

} // namespace

namespace afx {

void RegisterDialogWindowClass() {
    static const bool registered = (RegisterWindowClass({kDialogClassName, &CreateDialogWindow}), true);
    (void)registered;
}

} // namespace afx
