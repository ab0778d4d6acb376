#pragma once
// The widget of a "BUTTON" window with a check box style. BS_AUTOCHECKBOX and BS_AUTO3STATE boxes
// change their state when clicked; BS_CHECKBOX and BS_3STATE boxes only tell their parent, which sets
// the state with BM_SETCHECK. Every click sends WM_COMMAND with the box's identifier to its parent.

#include <QCheckBox>
#include <string>

#include "framework/DialogControl.h"
#include "framework/WndWidget.h"

class CheckBoxWidget : public WndWidget<QCheckBox>, public DialogControl {
public:
    CheckBoxWidget(CWnd* owner, QWidget* parent, DWORD style);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::CheckBox; }
    char Mnemonic() const override;

protected:
    void nextCheckState() override;
    // The whole control takes clicks, not only the box and its text.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    UINT GetCheck() const;
    void SetCheck(WPARAM state);

    std::string m_text;
    bool m_automatic;
};
