#pragma once
// The widget of a "BUTTON" window with the BS_AUTOCHECKBOX style, the only check box the program's
// dialogs have: two states, flipped by each click, which also sends WM_COMMAND with the box's
// identifier to its parent.

#include <QCheckBox>
#include <string>

#include "framework/controls/DialogControl.h"
#include "framework/window/WndWidget.h"

class CheckBoxWidget : public WndWidget<QCheckBox>, public DialogControl {
public:
    CheckBoxWidget(CWnd* owner, QWidget* parent);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::CheckBox; }
    char Mnemonic() const override;

protected:
    // The whole control takes clicks, not only the box and its text.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    std::string m_text;
};
