#pragma once
// A combo box window ("COMBOBOX" class): a list of 8-bit strings with one selected entry. Everything
// goes through the CB_* messages, so this object works on any combo box, whichever object made it.
// Indexes count from 0; CB_ERR (-1) reports a failure or "no entry".

#include "framework/window/CWnd.h"

class CComboBox : public CWnd {
public:
    CComboBox();

    int GetCount() const;
    // The selected entry, or CB_ERR when none is selected.
    int GetCurSel() const;
    // Selects entry `select`; -1 clears the selection, and so does an index past the end, which
    // returns CB_ERR.
    int SetCurSel(int select);

    // Appends and returns the new entry's index.
    int AddString(LPCSTR text);

    // Copies entry `index` and a terminating zero into `text`, which must hold GetLBTextLen + 1 bytes;
    // returns the length, or CB_ERR.
    int GetLBText(int index, LPSTR text) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;

    // The tooltip shown over entry `index` in the opened list; empty removes it. CB_ERR when the
    // index is past the end.
    int SetItemTipText(int index, LPCSTR text);

private:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
};
