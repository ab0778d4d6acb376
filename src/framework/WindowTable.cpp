#include "framework/WindowTable.h"

#include <map>
#include <unordered_map>

#include "framework/CWnd.h"

namespace {

struct Table {
    std::unordered_map<HWND, CWnd*> byHandle;
    std::map<UINT_PTR, HWND> inOrder; // creation order, for walking children
    UINT_PTR next = 0x10000;
};

Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

} // namespace

namespace afx {

HWND AllocateWindowHandle(CWnd* wnd) {
    Table& t = TheTable();
    UINT_PTR id = t.next;
    t.next += 4;
    HWND hwnd = reinterpret_cast<HWND>(id);
    t.byHandle[hwnd] = wnd;
    t.inOrder[id] = hwnd;
    return hwnd;
}

void RebindWindowHandle(HWND hwnd, CWnd* wnd) {
    auto it = TheTable().byHandle.find(hwnd);
    if (it != TheTable().byHandle.end())
        it->second = wnd;
}

void ReleaseWindowHandle(HWND hwnd) {
    TheTable().byHandle.erase(hwnd);
    TheTable().inOrder.erase(reinterpret_cast<UINT_PTR>(hwnd));
}

CWnd* LookupWindow(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    const auto& map = TheTable().byHandle;
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

std::vector<CWnd*> ChildrenOf(const CWnd* parent) {
    std::vector<CWnd*> children;
    for (const auto& [id, hwnd] : TheTable().inOrder) {
        CWnd* wnd = LookupWindow(hwnd);
        if (wnd != nullptr && wnd->GetParent() == parent)
            children.push_back(wnd);
    }
    return children;
}

} // namespace afx
