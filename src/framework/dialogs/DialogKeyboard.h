#pragma once
// The keys a dialog handles for its controls, before the focused control sees them:
// - Tab and Shift+Tab move to the next and previous tab stop, in template order;
// - the arrow keys, on a button or check box, move within its group;
// - Enter sends WM_COMMAND for the focused push button, otherwise for the default button
//   (DM_GETDEFID), otherwise IDOK; Esc sends WM_COMMAND IDCANCEL;
// - Alt+letter (or the letter alone while a button or check box has the focus) acts on the control
//   with that mnemonic: a push button is clicked, a check box takes the focus and is clicked, a label
//   or group box moves the focus to the next tab stop after it.
// A command whose button exists but is disabled is not sent.

#include "framework/base/WinUser.h"

class CWnd;
class QKeyEvent;

class DialogKeyboard {
public:
    explicit DialogKeyboard(CWnd& dialog) : m_dialog(dialog) {}

    // Whether the key is one of the dialog's mnemonics, which must win over Qt's own shortcuts.
    bool IsMnemonic(const QKeyEvent& key) const;
    // Handles the key if it is one of the dialog's; true when it was.
    bool KeyPress(const QKeyEvent& key);
    // Moves the focus to the next (or previous) tab stop; false when there is none.
    bool Tab(bool forward);

private:
    bool Arrow(bool forward);
    bool Enter();
    bool Mnemonic(char key);
    bool Command(int id);
    char MnemonicKey(const QKeyEvent& key) const;
    // The dialog's control with the keyboard focus, or null.
    CWnd* Focus() const;

    CWnd& m_dialog;
};
