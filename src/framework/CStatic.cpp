#include "framework/CStatic.h"

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "STATIC", text, style | WS_CHILD, rect, parent, id);
}
