#include "framework/window/CCmdTarget.h"

#include <array>
#include <cstdint>

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

namespace {

// What a lookup found (or did not find) for a class's table, message and command is kept here, for
// all targets, and found again in one comparison: the tables are constant.
using CachedEntry = CCmdTarget::Found;
std::array<CachedEntry, 128> g_entryCache;

CachedEntry& CacheSlot(const AFX_MSGMAP* map, UINT message, UINT id) {
    auto key = (reinterpret_cast<std::uintptr_t>(map) >> 4) ^ (message * 0x9E37u) ^ (id * 0x85EBu);
    return g_entryCache[key % g_entryCache.size()];
}

} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindAndKeep(const AFX_MSGMAP* top, UINT message, UINT id) const {
    CachedEntry& cached = CacheSlot(top, message, id);
    if (cached.map != top || cached.message != message || cached.id != id)
        cached = {top, message, id, WalkMessageMaps(top, message, id)};
    m_lastFound = cached;
    return cached.entry;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::WalkMessageMaps(const AFX_MSGMAP* top, UINT message, UINT id) {
    for (const AFX_MSGMAP* map = top; map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (e->nMessage != message)
                continue;
            if (message != WM_COMMAND || (id >= e->nID && id <= e->nLastID))
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, id);
    if (entry == nullptr)
        return FALSE;
    entry->pfn(this, id, 0);
    return TRUE;
}
