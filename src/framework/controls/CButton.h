#pragma once
// A button window: push button, check box or group box ("BUTTON" class). Everything goes through
// the BM_* messages, so this object works on any button, whichever object made it.

#include "framework/window/CWnd.h"

class CButton : public CWnd {
public:
    CButton();

    // 0 unchecked, 1 checked, 2 indeterminate.
    int GetCheck() const;
    void SetCheck(int check);
};
