#include "framework/CEdit.h"
#include "framework/DialogWindowClasses.h"
#include "framework/FrameWindowClasses.h"
#include "framework/WindowClass.h"

namespace afx {

// The framework's own window classes, registered the first time a window is created. Each class
// lives beside its window type; this list only names them.
void RegisterBuiltinWindowClasses() {
    RegisterEditWindowClass();
    RegisterDialogWindowClasses();
    RegisterFrameWindowClasses();
}

LPCSTR FrameWindowClassName() {
    return "AfxFrameOrView";
}

} // namespace afx
