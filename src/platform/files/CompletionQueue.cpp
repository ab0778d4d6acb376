#include "platform/files/CompletionQueue.h"

#include <algorithm>

namespace platform {

CompletionQueue& CompletionQueue::Instance() {
    static CompletionQueue queue;
    return queue;
}

void CompletionQueue::Post(HANDLE handle, LPOVERLAPPED_COMPLETION_ROUTINE routine, DWORD errorCode,
                           DWORD bytes, LPOVERLAPPED overlapped) {
    std::lock_guard lock(m_mutex);
    m_entries.push_back(
        Entry{m_nextSequence++, std::this_thread::get_id(), handle, routine, errorCode, bytes, overlapped});
}

bool CompletionQueue::TakeNext(std::uint64_t before, Entry& entry) {
    std::lock_guard lock(m_mutex);
    auto self = std::this_thread::get_id();
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const Entry& e) { return e.thread == self && e.sequence < before; });
    if (it == m_entries.end())
        return false;
    entry = *it;
    m_entries.erase(it);
    return true;
}

std::size_t CompletionQueue::RunForThisThread() {
    std::uint64_t before;
    {
        std::lock_guard lock(m_mutex);
        before = m_nextSequence;
    }
    // One at a time, so that a routine which closes a handle also drops that handle's later entries.
    std::size_t ran = 0;
    Entry entry{};
    while (TakeNext(before, entry)) {
        entry.routine(entry.errorCode, entry.bytes, entry.overlapped);
        ++ran;
    }
    return ran;
}

void CompletionQueue::DropForHandle(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_entries, [handle](const Entry& e) { return e.handle == handle; });
}

} // namespace platform
