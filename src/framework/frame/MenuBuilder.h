#pragma once
// Builds a Qt menu bar from a menu resource. Choosing an item posts WM_COMMAND with the item's
// number (lParam 0) to the target window, so the command runs from the message loop once the menu
// has closed. A tab in an item's text separates the shortcut shown at the right; no item is given
// a Qt shortcut, since the window's accelerator table decides what keys do.

#include "framework/base/ResourceTypes.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace framework {

class MenuBuilder {
public:
    static QMenuBar* Build(const MenuResource& menu, HWND target, QWidget* parent = nullptr);
    // The command number an action posts; 0 for separators and popups.
    static UINT CommandOf(const QAction* action);

private:
    static void AddItems(QMenu* menu, const std::vector<MenuItemResource>& items, HWND target);
    static QAction* MakeCommand(const MenuItemResource& item, HWND target, QWidget* parent);
};

} // namespace framework
