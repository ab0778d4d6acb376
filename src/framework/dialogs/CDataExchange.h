#pragma once
// Data exchange between a dialog's member variables and its controls. A dialog's DoDataExchange
// calls the DDX_ functions below, one per control; the direction is m_bSaveAndValidate: FALSE moves
// the members into the controls, TRUE the controls into the members. A control that cannot be found
// (or attached) fails the exchange: the dialog's UpdateData then returns FALSE with the focus on
// that control's place, and the exchanges after it are not made.

#include "framework/base/CString.h"
#include "framework/base/WinUser.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control with this identifier, which becomes the one a failure points at; fails the
    // exchange when the dialog has no such control.
    HWND PrepareCtrl(int id);
    // Ends the exchange as failed, with the focus on the control prepared last.
    [[noreturn]] void Fail();

    // What Fail throws; UpdateData catches it.
    struct Failure {};

private:
    HWND m_lastControl = nullptr;
};

// Makes `control` the window object of the control with this identifier (once: an object that
// already has a window is left as it is).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// A check box. To the control: a value outside 0..2 is first set to 0, then the box gets it
// (BM_SETCHECK). From the control: its state (BM_GETCHECK), 0 unchecked or 1 checked.
void DDX_Check(CDataExchange* dx, int id, int& value);
// A combo box's text. To the control: selects the first entry from the top whose text begins with
// `value` without regard to case (CB_SELECTSTRING); with no such entry the selection stays as it was.
// From the control: the selected entry's text, or empty when none is selected.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
