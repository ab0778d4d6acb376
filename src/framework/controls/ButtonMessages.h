#pragma once
// What every kind of button window answers, push button or check box: its text and BM_CLICK.

#include <string>
#include <string_view>

#include "framework/base/WinUser.h"

class QAbstractButton;

namespace afx {

// Shows `text` on the button, its mnemonic underlined. The dialog acts on mnemonics itself, so the
// shortcut that Qt would grab for the "&" is dropped.
void ShowButtonText(QAbstractButton& button, std::string_view text);

// Handles WM_CREATE and WM_SETTEXT (the text is kept in `text` and shown), WM_GETTEXT,
// WM_GETTEXTLENGTH and BM_CLICK (a click as the user makes it; nothing when disabled).
// WM_CREATE is only looked at: the caller's default handling still runs.
bool CommonButtonMessage(QAbstractButton& button, std::string& text, UINT message, WPARAM wParam,
                         LPARAM lParam, LRESULT& result);

} // namespace afx
