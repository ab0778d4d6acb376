#include "framework/CEdit.h"
#include "framework/DialogWindowClasses.h"
#include "framework/WindowClass.h"

namespace afx {

// The framework's own window classes, registered the first time a window is created. Each class
// lives beside its window type; this list only names them.
void RegisterBuiltinWindowClasses() {
    RegisterEditWindowClass();
    RegisterDialogWindowClasses();
}

LPCSTR FrameWindowClassName() {
    return "AfxFrameOrView";
}

} // namespace afx
