#pragma once
// Message maps: each window or command target class binds messages and command numbers to its own
// member functions in a static table that chains to its base class's table. A handler is reached
// through a small function generated for its exact signature, so no cast of member pointers is needed.

#include "framework/base/CPoint.h"
#include "framework/base/WinUser.h"

class CCmdTarget;
class CWnd;

using AFX_PMSG_THUNK = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message, or WM_COMMAND for commands
    UINT nID;      // first command number (commands only)
    UINT nLastID;  // last command number (commands only)
    AFX_PMSG_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

namespace afx {

CWnd* WndFromHandle(HWND hwnd);

template <class T, auto Fn>
LRESULT CommandThunk(CCmdTarget* t, WPARAM, LPARAM) {
    (static_cast<T*>(t)->*Fn)();
    return 0;
}
template <class T, auto Fn>
LRESULT VoidThunk(CCmdTarget* t, WPARAM, LPARAM) {
    (static_cast<T*>(t)->*Fn)();
    return 0;
}
template <class T, auto Fn>
LRESULT CreateThunk(CCmdTarget* t, WPARAM, LPARAM lParam) {
    return (static_cast<T*>(t)->*Fn)(reinterpret_cast<LPCREATESTRUCT>(lParam));
}
template <class T, auto Fn>
LRESULT ActivateThunk(CCmdTarget* t, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(t)->*Fn)(LOWORD(wParam), WndFromHandle(reinterpret_cast<HWND>(lParam)),
                              static_cast<BOOL>(HIWORD(wParam)));
    return 0;
}
template <class T, auto Fn>
LRESULT CharThunk(CCmdTarget* t, WPARAM wParam, LPARAM lParam) {
    auto flags = static_cast<UINT_PTR>(lParam);
    (static_cast<T*>(t)->*Fn)(static_cast<UINT>(wParam), LOWORD(flags), HIWORD(flags));
    return 0;
}
template <class T, auto Fn>
LRESULT MouseThunk(CCmdTarget* t, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(t)->*Fn)(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
}
template <class T, auto Fn>
LRESULT SizeThunk(CCmdTarget* t, WPARAM wParam, LPARAM lParam) {
    auto size = static_cast<UINT_PTR>(lParam);
    (static_cast<T*>(t)->*Fn)(static_cast<UINT>(wParam), LOWORD(size), HIWORD(size));
    return 0;
}

} // namespace afx

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, nullptr }                                                                                     \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};             \
    return &messageMap;                                                                                      \
    }

#define ON_COMMAND(id, memberFxn) {WM_COMMAND, (id), (id), &afx::CommandThunk<ThisClass, memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    {WM_COMMAND, (id), (idLast), &afx::CommandThunk<ThisClass, memberFxn>},
#define ON_WM_CREATE() {WM_CREATE, 0, 0, &afx::CreateThunk<ThisClass, &ThisClass::OnCreate>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, &afx::VoidThunk<ThisClass, &ThisClass::OnClose>},
#define ON_WM_ACTIVATE() {WM_ACTIVATE, 0, 0, &afx::ActivateThunk<ThisClass, &ThisClass::OnActivate>},
#define ON_WM_CHAR() {WM_CHAR, 0, 0, &afx::CharThunk<ThisClass, &ThisClass::OnChar>},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, &afx::MouseThunk<ThisClass, &ThisClass::OnLButtonDown>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, &afx::SizeThunk<ThisClass, &ThisClass::OnSize>},
