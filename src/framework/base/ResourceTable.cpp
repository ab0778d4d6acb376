#include "framework/base/ResourceTable.h"

#include <map>

namespace {

template <class T> std::map<UINT, T>& Table() {
    static std::map<UINT, T> table;
    return table;
}

template <class T> const T* Find(UINT id) {
    const auto& table = Table<T>();
    auto it = table.find(id);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

namespace afx {

void RegisterMenu(UINT id, MenuResource menu) {
    Table<MenuResource>()[id] = std::move(menu);
}
void RegisterAccelerators(UINT id, AcceleratorResource table) {
    Table<AcceleratorResource>()[id] = std::move(table);
}
void RegisterDialog(UINT id, DialogTemplate dialog) {
    Table<DialogTemplate>()[id] = std::move(dialog);
}
void RegisterString(UINT id, std::string text) {
    Table<std::string>()[id] = std::move(text);
}
void RegisterBitmap(UINT id, QString path) {
    Table<QString>()[id] = std::move(path);
}

void UnregisterMenu(UINT id) {
    Table<MenuResource>().erase(id);
}

const MenuResource* FindMenu(UINT id) {
    return Find<MenuResource>(id);
}
const AcceleratorResource* FindAccelerators(UINT id) {
    return Find<AcceleratorResource>(id);
}
const DialogTemplate* FindDialog(UINT id) {
    return Find<DialogTemplate>(id);
}

BOOL LoadString(UINT id, CString& text) {
    const std::string* s = Find<std::string>(id);
    text = s ? CString(*s) : CString();
    return s != nullptr;
}

QPixmap LoadBitmap(UINT id) {
    const QString* path = Find<QString>(id);
    return path ? QPixmap(*path) : QPixmap();
}

} // namespace afx
