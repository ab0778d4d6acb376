#pragma once
// The widget of a "COMBOBOX" window: a list of 8-bit strings with one selected entry, answering the
// CB_* messages. Every box is a drop-down list (CBS_DROPDOWNLIST), the only kind the program's dialogs
// have: it picks from its list and takes no typed text. CBS_UPPERCASE keeps (so shows and returns)
// every entry in upper case; entries stay in the order they were added. The height given at creation
// is that of the opened list; the closed box is one line high.

#include <QComboBox>
#include <string>
#include <string_view>

#include "framework/controls/DialogControl.h"
#include "framework/window/WndWidget.h"

class ComboBoxWidget : public WndWidget<QComboBox>, public DialogControl {
public:
    ComboBoxWidget(CWnd* owner, QWidget* parent, DWORD style);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::Input; }

    // Makes the closed box one line high and lets the opened list fill `listHeight` pixels.
    void SetDroppedHeight(int listHeight);

private:
    LRESULT AddString(LPCSTR text);
    LRESULT SetCurSel(WPARAM index);
    LRESULT SelectString(WPARAM startAfter, LPCSTR text);
    LRESULT GetLBText(WPARAM index, LPSTR buffer) const;
    LRESULT GetLBTextLen(WPARAM index) const;
    LRESULT SetItemTipText(WPARAM index, LPCSTR text);
    // The first entry after `startAfter` (-1 or out of range: from the top), wrapping round, whose text
    // begins with (or, when `exact`, is) `text` without regard to case; CB_ERR when none is.
    LRESULT Find(WPARAM startAfter, LPCSTR text, bool exact) const;
    bool SetText(const std::string& text);
    bool AnswerText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

    bool IsValidIndex(WPARAM index) const;
    std::string ItemText(int index) const;
    std::string CurrentText() const;
    std::string Stored(LPCSTR text) const;

    DWORD m_style;
};
