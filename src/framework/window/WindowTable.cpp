#include "framework/window/WindowTable.h"

#include <map>
#include <unordered_map>

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
    Table& t = TheTable();
    auto it = t.byHandle.find(hwnd);
    if (it != t.byHandle.end())
        it->second = wnd;
    if (SlotOf(hwnd).hwnd == hwnd)
        SlotOf(hwnd).wnd = wnd;
}

void ReleaseWindowHandle(HWND hwnd) {
    Table& t = TheTable();
    t.byHandle.erase(hwnd);
    t.inOrder.erase(reinterpret_cast<UINT_PTR>(hwnd));
    if (SlotOf(hwnd).hwnd == hwnd)
        SlotOf(hwnd) = {};
}

CWnd* LookupWindowInTable(HWND hwnd) {
    Table& t = TheTable();
    auto it = t.byHandle.find(hwnd);
    if (it == t.byHandle.end())
        return nullptr;
    SlotOf(hwnd) = {hwnd, it->second};
    return it->second;
}

std::vector<CWnd*> WindowsInCreationOrder() {
    std::vector<CWnd*> windows;
    for (const auto& [id, hwnd] : TheTable().inOrder)
        if (CWnd* wnd = LookupWindow(hwnd))
            windows.push_back(wnd);
    return windows;
}

} // namespace afx
