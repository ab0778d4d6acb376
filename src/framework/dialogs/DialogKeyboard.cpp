#include "framework/dialogs/DialogKeyboard.h"

#include <QKeyEvent>

#include "framework/window/CWnd.h"
#include "framework/controls/DialogConstants.h"
#include "framework/dialogs/DialogNavigator.h"
#include "framework/base/Latin1Text.h"

namespace {

constexpr Qt::KeyboardModifiers kCommandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

void FocusControl(CWnd* control, Qt::FocusReason reason) {
    if (control != nullptr && control->GetWidget() != nullptr)
        control->GetWidget()->setFocus(reason);
}

} // namespace

CWnd* DialogKeyboard::Focus() const {
    CWnd* focus = CWnd::GetFocus();
    return focus != nullptr && focus->GetParent() == &m_dialog ? focus : nullptr;
}

bool DialogKeyboard::IsMnemonic(const QKeyEvent& key) const {
    char ch = MnemonicKey(key);
    return ch != '\0' && DialogNavigator(m_dialog).FindMnemonic(ch, Focus()) != nullptr;
}

bool DialogKeyboard::KeyPress(const QKeyEvent& key) {
    Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if ((mods & kCommandModifiers) == 0) {
        switch (key.key()) {
        case Qt::Key_Tab:
            return Tab((mods & Qt::ShiftModifier) == 0);
        case Qt::Key_Backtab:
            return Tab(false);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Enter();
        case Qt::Key_Escape:
            Command(IDCANCEL);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Left:
            return Arrow(false);
        case Qt::Key_Down:
        case Qt::Key_Right:
            return Arrow(true);
        default:
            break;
        }
    }
    char ch = MnemonicKey(key);
    return ch != '\0' && Mnemonic(ch);
}

bool DialogKeyboard::Tab(bool forward) {
    CWnd* next = DialogNavigator(m_dialog).NextTabStop(Focus(), forward);
    if (next == nullptr)
        return false;
    FocusControl(next, forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool DialogKeyboard::Arrow(bool forward) {
    DialogNavigator navigator(m_dialog);
    const DialogNavigator::Item* focus = navigator.Find(Focus());
    // Lists and edits use the arrow keys themselves.
    if (focus == nullptr || (focus->role != ControlRole::PushButton && focus->role != ControlRole::CheckBox))
        return false;
    FocusControl(navigator.NextInGroup(focus->wnd, forward), Qt::TabFocusReason);
    return true;
}

bool DialogKeyboard::Enter() {
    DialogNavigator navigator(m_dialog);
    const DialogNavigator::Item* focus = navigator.Find(Focus());
    if (focus != nullptr && focus->role == ControlRole::PushButton) {
        Command(focus->wnd->GetDlgCtrlID());
        return true;
    }
    auto defId = static_cast<UINT_PTR>(m_dialog.SendMessage(DM_GETDEFID));
    Command(HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : IDOK);
    return true;
}

bool DialogKeyboard::Command(int id) {
    CWnd* button = m_dialog.GetDlgItem(id);
    if (button != nullptr && !button->IsWindowEnabled())
        return false;
    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button ? button->GetSafeHwnd() : nullptr));
    return true;
}

bool DialogKeyboard::Mnemonic(char key) {
    DialogNavigator navigator(m_dialog);
    const DialogNavigator::Item* target = navigator.FindMnemonic(key, Focus());
    if (target == nullptr)
        return false;
    switch (target->role) {
    case ControlRole::PushButton:
        target->wnd->SendMessage(BM_CLICK);
        break;
    case ControlRole::CheckBox:
        FocusControl(target->wnd, Qt::ShortcutFocusReason);
        target->wnd->SendMessage(BM_CLICK);
        break;
    case ControlRole::Label:
        FocusControl(navigator.NextTabStop(target->wnd, true), Qt::ShortcutFocusReason);
        break;
    case ControlRole::Input:
        FocusControl(target->wnd, Qt::ShortcutFocusReason);
        break;
    }
    return true;
}

char DialogKeyboard::MnemonicKey(const QKeyEvent& key) const {
    Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    int code = key.key();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) != 0 || code <= 0x20 || code > 0xFF)
        return '\0';
    if ((mods & Qt::AltModifier) == 0) {
        // Without Alt only where the focus is on a control that takes no typing.
        DialogNavigator navigator(m_dialog);
        const DialogNavigator::Item* focus = navigator.Find(Focus());
        if (focus == nullptr ||
            (focus->role != ControlRole::PushButton && focus->role != ControlRole::CheckBox))
            return '\0';
    }
    return afx::Latin1Upper(static_cast<char>(code));
}
