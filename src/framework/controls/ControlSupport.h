#pragma once
// Small pieces that every control window class shares: its text as WM_SETTEXT, WM_GETTEXT and
// WM_CREATE carry it, the notification a control sends to its parent, and mnemonics.

#include <QString>
#include <string>
#include <string_view>

#include "framework/base/WinUser.h"

class CWnd;

namespace afx {

// The text that a WM_SETTEXT or WM_CREATE message carries; false for any other message.
bool TextOfMessage(UINT message, LPARAM lParam, std::string& text);
// Answers WM_GETTEXT (copies at most capacity - 1 bytes and a terminating zero; returns the count)
// and WM_GETTEXTLENGTH from `text`; false for any other message.
bool AnswerTextQuery(std::string_view text, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Copies `text` and a terminating zero into `buffer`; returns the length.
LRESULT CopyText(std::string_view text, LPSTR buffer);

// Sends WM_COMMAND with the control's identifier and `code` to the control's parent.
void NotifyParent(CWnd* control, WORD code);

// The mnemonic of a text in upper case: the character after the first single "&" ("&&" is a
// literal ampersand); 0 when there is none.
char MnemonicOf(std::string_view text);

} // namespace afx
