#pragma once
// The owner of a modal window (dialog, file dialog) for the time it runs: the top-level window of
// the given owner, or of the application's main window when none is given. It is disabled while the
// modal window is up, if it was enabled, and enabled and activated again afterwards. The owner is
// held by handle, so an owner that goes away meanwhile is simply left alone.

#include <QWidget>

#include "framework/base/WinUser.h"

class CWnd;

class ModalOwner {
public:
    explicit ModalOwner(CWnd* owner);
    ~ModalOwner();
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;

    // The owner's window object and Qt window; null when there is none (any more).
    CWnd* Window() const;
    QWidget* Widget() const;

    // Enables the owner again, if it was disabled here, and activates it; only the first call acts.
    void Restore();

private:
    HWND m_owner = nullptr;
    bool m_reenable = false;
};
