#pragma once
// Completion routines of ReadFileEx and WriteFileEx wait here until the thread that started the
// transfer makes an alertable wait; they then run on that thread, in the order they were queued.
//
// When a handle is closed, the completions still queued for it are dropped and never run: the
// caller may free the OVERLAPPED block and the buffer as soon as CloseHandle returns (a port object
// closes its handle in its destructor, and its blocks live inside it).

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/files/FileApi.h"

namespace platform {

class CompletionQueue {
public:
    static CompletionQueue& Instance();

    void Post(HANDLE handle, LPOVERLAPPED_COMPLETION_ROUTINE routine, DWORD errorCode, DWORD bytes,
              LPOVERLAPPED overlapped);
    // Runs the completions this thread had queued when the call began; returns how many ran.
    // A completion queued by one of those routines waits for the next alertable wait.
    std::size_t RunForThisThread();
    void DropForHandle(HANDLE handle);

private:
    struct Entry {
        std::uint64_t sequence;
        std::thread::id thread;
        HANDLE handle;
        LPOVERLAPPED_COMPLETION_ROUTINE routine;
        DWORD errorCode;
        DWORD bytes;
        LPOVERLAPPED overlapped;
    };

    bool TakeNext(std::uint64_t before, Entry& entry);

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    std::uint64_t m_nextSequence = 0;
};

} // namespace platform
