#pragma once
// A label or picture window ("STATIC" class).

#include "framework/window/CWnd.h"

class CStatic : public CWnd {
public:
    CStatic();
    using CWnd::Create;
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent,
                UINT id = static_cast<UINT>(IDC_STATIC));
};
