#pragma once
// The widget of a "STATIC" window: a label or a picture. Text is left-aligned, centred or
// right-aligned per SS_LEFT and SS_RIGHT and wraps at word ends; "&x" shows x underlined as
// the label's mnemonic unless SS_NOPREFIX, which shows every "&" as it stands. With SS_BITMAP the text
// is the number of a bitmap resource, which is shown at its own size with the colour of its top-left
// pixel transparent. A label lets the mouse through and never takes the focus.

#include <QPixmap>
#include <QWidget>
#include <string>

#include "framework/controls/DialogControl.h"
#include "framework/window/WndWidget.h"

class StaticWidget : public WndWidget<QWidget>, public DialogControl {
public:
    StaticWidget(CWnd* owner, QWidget* parent, DWORD style);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    ControlRole Role() const override { return ControlRole::Label; }
    char Mnemonic() const override;

    bool IsBitmap() const;
    const QPixmap& Bitmap() const { return m_bitmap; }
    // How the text is laid out in the control (alignment, wrapping, mnemonic).
    int TextFlags() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void TextChanged();
    void LoadBitmap();

    DWORD m_style;
    std::string m_text;
    QPixmap m_bitmap;
};
