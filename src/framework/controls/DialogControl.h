#pragma once
// What the dialog's keyboard handling needs to know of a control it did not make itself: how the
// control takes part in focus moves, and its mnemonic (the letter after "&" in its text).

#include "framework/base/WinUser.h"

enum class ControlRole {
    PushButton, // a mnemonic or Enter clicks it
    CheckBox,   // a mnemonic gives it the focus and clicks it
    Label,      // never takes the focus; its mnemonic moves the focus to the next tab stop
    Input,      // takes the focus, has no mnemonic of its own (combo boxes, edits)
};

class DialogControl {
public:
    virtual ~DialogControl() = default;
    virtual ControlRole Role() const = 0;
    // The mnemonic in upper case, or 0 when the control has none.
    virtual char Mnemonic() const { return 0; }
};
