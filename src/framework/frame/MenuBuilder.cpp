#include "framework/frame/MenuBuilder.h"

#include <QMenuBar>

#include "framework/loop/MessageDispatch.h"

namespace framework {

namespace {

QString MenuText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QMenuBar* MenuBuilder::Build(const MenuResource& menu, HWND target, QWidget* parent) {
    auto* bar = new QMenuBar(parent);
    for (const MenuItemResource& entry : menu.popups) {
        if (entry.separator)
            bar->addSeparator();
        else if (entry.items.empty())
            bar->addAction(MakeCommand(entry, target, bar));
        else
            AddItems(bar->addMenu(MenuText(entry.text)), entry.items, target);
    }
    return bar;
}

void MenuBuilder::AddItems(QMenu* menu, const std::vector<MenuItemResource>& items, HWND target) {
    for (const MenuItemResource& item : items) {
        if (item.separator)
            menu->addSeparator();
        else if (!item.items.empty())
            AddItems(menu->addMenu(MenuText(item.text)), item.items, target);
        else
            menu->addAction(MakeCommand(item, target, menu));
    }
}

QAction* MenuBuilder::MakeCommand(const MenuItemResource& item, HWND target, QWidget* parent) {
    auto* action = new QAction(MenuText(item.text), parent);
    action->setData(item.id);
    // The window is named by its handle: a menu outliving its window posts to nothing.
    QObject::connect(action, &QAction::triggered, action,
                     [target, id = item.id] { PostMessage(target, WM_COMMAND, id, 0); });
    return action;
}

UINT MenuBuilder::CommandOf(const QAction* action) {
    if (action == nullptr || action->isSeparator() || action->menu() != nullptr)
        return 0;
    return action->data().toUInt();
}

} // namespace framework
