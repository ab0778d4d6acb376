#pragma once
// The widget of a "BUTTON" window with the push button styles: a click (mouse, space bar, BM_CLICK
// or the dialog's keys) sends WM_COMMAND with the button's identifier to its parent.

#include <QPushButton>
#include <string>

#include "framework/controls/DialogControl.h"
#include "framework/window/WndWidget.h"

class PushButtonWidget : public WndWidget<QPushButton>, public DialogControl {
public:
    PushButtonWidget(CWnd* owner, QWidget* parent, DWORD style);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::PushButton; }
    char Mnemonic() const override;

private:
    std::string m_text;
};
