#include "framework/dialogs/DialogNavigator.h"

#include "framework/window/CWnd.h"
#include "framework/window/WindowTable.h"

DialogNavigator::DialogNavigator(const CWnd& dialog) {
    for (CWnd* child : afx::ChildrenOf(&dialog)) {
        QWidget* widget = child->GetWidget();
        if (widget == nullptr || (child->GetStyle() & WS_CHILD) == 0)
            continue;
        const auto* control = dynamic_cast<const DialogControl*>(widget);
        m_items.push_back(Item{child, widget, child->GetStyle(),
                               control ? control->Role() : ControlRole::Input,
                               control ? control->Mnemonic() : '\0'});
    }
}

const DialogNavigator::Item* DialogNavigator::Find(const CWnd* wnd) const {
    int index = IndexOf(wnd);
    return index < 0 ? nullptr : &m_items[static_cast<std::size_t>(index)];
}

int DialogNavigator::IndexOf(const CWnd* wnd) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].wnd == wnd)
            return static_cast<int>(i);
    return -1;
}

bool DialogNavigator::IsUsable(const Item& item) const {
    return item.widget->isEnabled() && item.widget->isVisibleTo(item.widget->window());
}

bool DialogNavigator::CanFocus(const Item& item) const {
    return item.role != ControlRole::Label && IsUsable(item);
}

CWnd* DialogNavigator::NextTabStop(const CWnd* from, bool forward) const {
    int n = static_cast<int>(m_items.size());
    int start = IndexOf(from);
    if (start < 0)
        start = forward ? -1 : n;
    for (int k = 1; k <= n; ++k) {
        int index = ((forward ? start + k : start - k) % n + n) % n;
        const Item& item = m_items[static_cast<std::size_t>(index)];
        if ((item.style & WS_TABSTOP) != 0 && CanFocus(item))
            return item.wnd;
    }
    return nullptr;
}

CWnd* DialogNavigator::NextInGroup(const CWnd* from, bool forward) const {
    int at = IndexOf(from);
    if (at < 0)
        return nullptr;
    // The group runs from the nearest control with WS_GROUP at or before `from` (or the first
    // control) up to the next control with WS_GROUP.
    int first = at;
    while (first > 0 && (m_items[static_cast<std::size_t>(first)].style & WS_GROUP) == 0)
        --first;
    int end = at + 1;
    while (end < static_cast<int>(m_items.size()) &&
           (m_items[static_cast<std::size_t>(end)].style & WS_GROUP) == 0)
        ++end;
    int size = end - first;
    for (int k = 1; k <= size; ++k) {
        int offset = ((at - first + (forward ? k : -k)) % size + size) % size;
        const Item& item = m_items[static_cast<std::size_t>(first + offset)];
        if (CanFocus(item))
            return item.wnd;
    }
    return nullptr;
}

const DialogNavigator::Item* DialogNavigator::FindMnemonic(char key, const CWnd* from) const {
    int n = static_cast<int>(m_items.size());
    int start = IndexOf(from);
    for (int k = 1; k <= n; ++k) {
        const Item& item = m_items[static_cast<std::size_t>(((start + k) % n + n) % n)];
        if (key != '\0' && item.mnemonic == key && IsUsable(item))
            return &item;
    }
    return nullptr;
}

CWnd* DialogNavigator::DefaultButton() const {
    for (const Item& item : m_items)
        if (item.role == ControlRole::PushButton && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return item.wnd;
    return nullptr;
}
