#include "framework/controls/CStatic.h"

#include "framework/controls/ControlWindowClasses.h"

CStatic::CStatic() {
    afx::RegisterControlWindowClasses();
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "STATIC", text, style | WS_CHILD, rect, parent, id);
}
