#pragma once
// Builds a dialog's window and controls from its template. Positions and sizes are dialog units of
// the template's font; "MS Sans Serif" (and the other names of the platform's dialog font) stands for
// the desktop's user-interface font. The template's cx and cy give the client area; its controls are
// made in template order (which is the tab order), each a child window of its class and style with a
// window object of the matching class (CButton, CComboBox, CStatic, or CWnd for others).

#include <QFont>
#include <memory>
#include <vector>

#include "framework/dialogs/DialogUnits.h"
#include "framework/base/ResourceTypes.h"

class CWnd;

class DialogBuilder {
public:
    explicit DialogBuilder(const DialogTemplate& dialogTemplate);

    // Creates `dialog`'s window, owned by `owner` (may be null) and still hidden, with every control of
    // the template; the window objects made for the controls are appended to `controls`. False when
    // the window or a control cannot be made.
    bool Build(CWnd& dialog, CWnd* owner, std::vector<std::unique_ptr<CWnd>>& controls) const;

    static bool IsUserInterfaceFont(const DialogTemplate& dialogTemplate);
    static QFont FontOf(const DialogTemplate& dialogTemplate);

private:
    bool CreateDialogWindow(CWnd& dialog, CWnd* owner) const;
    std::unique_ptr<CWnd> CreateControl(CWnd& dialog, const DialogItemTemplate& item) const;
    void ApplyFont(CWnd& wnd) const;
    void WidenOneLineText(CWnd& control, const DialogItemTemplate& item) const;
    void Place(CWnd& dialog, CWnd* owner) const;

    const DialogTemplate& m_template;
    bool m_uiFont;
    QFont m_font;
    DialogUnits m_units;
};
