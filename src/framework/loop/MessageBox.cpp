#include "framework/loop/MessageBox.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

#include "framework/loop/CWinApp.h"
#include "framework/window/CWnd.h"
#include "framework/loop/ModalScope.h"
#include "framework/base/SystemText.h"

// Defined here, beside the boxes, so that windows need not know how a box is shown.
int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : "Error", type);
}

namespace {

afx::MessageBoxHandler& Handler() {
    static afx::MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

void AddButtons(QMessageBox& box, UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        box.addButton(QMessageBox::Ok)->setProperty("result", IDOK);
        box.addButton(QMessageBox::Cancel)->setProperty("result", IDCANCEL);
        break;
    case MB_YESNO:
        box.addButton(QMessageBox::Yes)->setProperty("result", IDYES);
        box.addButton(QMessageBox::No)->setProperty("result", IDNO);
        break;
    default:
        box.addButton(QMessageBox::Ok)->setProperty("result", IDOK);
        break;
    }
}

int RunBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    CWnd* ownerWnd = CWnd::FromHandle(owner);
    QWidget* parent = ownerWnd ? ownerWnd->GetWidget() : nullptr;
    QMessageBox box(IconOf(type), afx::FromSystemText(caption ? caption : "Error"),
                    afx::FromSystemText(text ? text : ""), QMessageBox::NoButton, parent);
    AddButtons(box, type);
    box.setWindowModality(parent ? Qt::WindowModal : Qt::NonModal);
    ModalScope modal;
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    loop.exec(QEventLoop::DialogExec);
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
    return clicked->property("result").toInt();
}

} // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (Handler()) {
        // A box answered by the handler is still a modal box, shown and dismissed.
        ModalScope modal;
        return Handler()(owner, text, caption, type);
    }
    return RunBox(owner, text, caption, type);
}

namespace afx {
void SetMessageBoxHandler(MessageBoxHandler handler) {
    Handler() = std::move(handler);
}
} // namespace afx
