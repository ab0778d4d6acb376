#include "framework/window/WindowClass.h"

#include <QWidget>
#include <strings.h>
#include <deque>

#include "framework/window/WndWidget.h"

namespace afx {
}

namespace {

// A deque, so that a class found stays where it is while another registers itself.
std::deque<WindowClassInfo>& Classes() {
    static std::deque<WindowClassInfo> classes;
    return classes;
}

QWidget* CreatePlainWindow(CWnd* owner, QWidget* parent, DWORD, DWORD) {
    return new WndWidget<QWidget>(owner, parent);
}

void EnsureBuiltins() {
    static bool done = false;
    if (done)
        return;
    done = true;
    afx::RegisterWindowClass({"AfxWnd", &CreatePlainWindow});
}

} // namespace

namespace afx {

void RegisterWindowClass(const WindowClassInfo& info) {
    for (auto& c : Classes()) {
        if (strcasecmp(c.name, info.name) == 0) {
            c = info;
            return;
        }
    }
    Classes().push_back(info);
}

const WindowClassInfo* FindWindowClass(LPCSTR name) {
    EnsureBuiltins();
    if (name == nullptr)
        name = "AfxWnd";
    for (const auto& c : Classes())
        if (strcasecmp(c.name, name) == 0)
            return &c;
    return nullptr;
}

} // namespace afx
