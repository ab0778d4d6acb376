#pragma once
// The widget of a dialog window (class "#32770"). A top-level dialog is a Qt dialog window over its
// owner's window, or a tool window for WS_EX_TOOLWINDOW, with a close box for WS_SYSMENU and a fixed
// size unless WS_THICKFRAME. Its controls live in a client area inset by the sunken edge of
// WS_EX_CLIENTEDGE. It hands the keys of the dialog manager (DialogKeyboard) to the dialog before
// the focused control sees them, and answers DM_GETDEFID with the default push button.

#include <QWidget>

#include "framework/window/WndWidget.h"

class DialogWidget : public WndWidget<QWidget> {
public:
    // `parent` is the owner's window for a top-level dialog, the parent for a child dialog.
    DialogWidget(CWnd* owner, QWidget* parent, DWORD style, DWORD exStyle);

    QWidget* Client() const { return m_client; }
    // Sets the size of the client area (the window grows by the edges) and, unless the window may be
    // sized, fixes it.
    void SetClientSize(QSize size);

    bool ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool HandleKey(QEvent* event);

    QWidget* m_client;
    int m_edge;
    bool m_sizable;
};

namespace afx {
// The window flags of a top-level dialog with these styles.
Qt::WindowFlags DialogWindowFlags(DWORD style, DWORD exStyle);
} // namespace afx
