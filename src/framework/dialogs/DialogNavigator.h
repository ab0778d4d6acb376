#pragma once
// The controls of a dialog in template order, and the moves of the focus among them that the
// keyboard makes: Tab to the next control with WS_TABSTOP, arrow keys within a group (from a control
// with WS_GROUP to the next one), mnemonics. Only visible, enabled controls that take the focus are
// ever chosen; labels and group boxes never are.

#include <QWidget>
#include <vector>

#include "framework/controls/DialogControl.h"

class CWnd;

class DialogNavigator {
public:
    struct Item {
        CWnd* wnd;
        QWidget* widget;
        DWORD style;
        ControlRole role;
        char mnemonic; // upper case; 0 for none
    };

    explicit DialogNavigator(const CWnd& dialog);

    const Item* Find(const CWnd* wnd) const;

    // The next (or previous) tab stop after `from`, wrapping round; the first (or last) one when
    // `from` is null. Null when the dialog has none.
    CWnd* NextTabStop(const CWnd* from, bool forward) const;
    // The next (or previous) control of `from`'s group, wrapping round within the group.
    CWnd* NextInGroup(const CWnd* from, bool forward) const;
    // The first visible, enabled control after `from` (wrapping) whose mnemonic is `key`.
    const Item* FindMnemonic(char key, const CWnd* from) const;
    // The first push button with BS_DEFPUSHBUTTON, or null.
    CWnd* DefaultButton() const;

    bool CanFocus(const Item& item) const;

private:
    int IndexOf(const CWnd* wnd) const;
    bool IsUsable(const Item& item) const;

    std::vector<Item> m_items;
};
