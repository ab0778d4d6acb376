#pragma once
// The widget of a "BUTTON" window with BS_GROUPBOX: a frame with a title, drawn behind the controls
// it frames. It is not their parent: it lies below its siblings, lets the mouse through and never
// takes the focus; its mnemonic moves the focus to the next tab stop after it.

#include <QWidget>
#include <string>

#include "framework/controls/DialogControl.h"
#include "framework/window/WndWidget.h"

class GroupBoxWidget : public WndWidget<QWidget>, public DialogControl {
public:
    GroupBoxWidget(CWnd* owner, QWidget* parent);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::Label; }
    char Mnemonic() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_text;
};
