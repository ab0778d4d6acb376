#pragma once
// What a handle names: a file or a communications device. The handle functions look the object up
// and hand it the call; each object records its own failures for GetLastError.

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace platform {

class CommDevice;

class HandleObject {
public:
    // How a transfer was asked for: files honour the position, devices ignore it; the simulated
    // device records which call it was.
    struct Transfer {
        bool withCompletion = false; // ReadFileEx / WriteFileEx
        bool positioned = false;     // an OVERLAPPED block gave a position
        std::uint64_t position = 0;
    };

    explicit HandleObject(bool overlapped) : m_overlapped(overlapped) {}
    virtual ~HandleObject() = default;
    HandleObject(const HandleObject&) = delete;
    HandleObject& operator=(const HandleObject&) = delete;

    virtual bool Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) = 0;
    virtual bool Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) = 0;
    // Releases what the object holds in the system; called once, just before it is destroyed.
    virtual bool Close() = 0;
    // Asked on every communications call, so it is a stored pointer rather than a virtual call.
    CommDevice* AsCommDevice() const { return m_comm; }

    // Opened with FILE_FLAG_OVERLAPPED: only such handles take ReadFileEx and WriteFileEx.
    bool Overlapped() const { return m_overlapped; }

protected:
    // A communications device names itself as it is built.
    void SetCommDevice(CommDevice* device) { m_comm = device; }

private:
    bool m_overlapped;
    CommDevice* m_comm = nullptr;
};

} // namespace platform
