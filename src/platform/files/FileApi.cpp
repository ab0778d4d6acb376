#include "platform/files/FileApi.h"

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/comm/CommApi.h"
#include "platform/comm/CommDeviceList.h"
#include "platform/base/CommWakeEvent.h"
#include "platform/files/CompletionQueue.h"
#include "platform/files/FileHandle.h"
#include "platform/base/HandleTable.h"
#include "platform/base/LastError.h"
#include "platform/comm/LoopbackPlug.h"
#include "platform/comm/NamedDevices.h"
#include "platform/ports/PortNameTable.h"
#include "platform/tty/TtyOpen.h"

using platform::Fail;
using platform::HandleObject;
using platform::HandleTable;

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

// Names registered in the process come first, then the loopback plug, then the fixed table, which
// also takes a path that starts with "/" as it stands.
std::unique_ptr<HandleObject> OpenDevice(LPCSTR path, std::string_view name, DWORD access, DWORD shareMode,
                                         DWORD disposition, DWORD flags) {
    if (platform::DeviceOpener opener = platform::NamedDevices::Find(name))
        return opener({path, access, shareMode, disposition, flags});
    bool overlapped = (flags & FILE_FLAG_OVERLAPPED) != 0;
    if (platform::PortNameTable::IsLoopback(name))
        return platform::LoopbackPlug::Open(overlapped);
    std::string node = platform::PortNameTable::DevicePath(name);
    if (node.empty()) {
        Fail(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return platform::OpenTty(node, overlapped);
}

HandleObject::Transfer TransferFor(const OVERLAPPED* overlapped, bool withCompletion) {
    HandleObject::Transfer transfer;
    transfer.withCompletion = withCompletion;
    if (overlapped != nullptr) {
        transfer.positioned = true;
        transfer.position = (static_cast<std::uint64_t>(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    }
    return transfer;
}

void Complete(OVERLAPPED* overlapped, DWORD error, DWORD bytes) {
    if (overlapped != nullptr) {
        overlapped->Internal = error;
        overlapped->InternalHigh = bytes;
    }
}

// Bytes written to a port change its counts: a loop asleep on the port wakes to show them.
void NoteWritten(HandleObject* object, DWORD done) {
    if (done > 0 && object->AsCommDevice() != nullptr)
        platform::CommWakeEvent::Instance().Signal();
}

// The checks ReadFileEx and WriteFileEx share; nullptr after recording the failure.
HandleObject* HandleForCompletion(HANDLE handle, const void* buffer, DWORD length, LPOVERLAPPED overlapped,
                                  LPOVERLAPPED_COMPLETION_ROUTINE completion) {
    HandleObject* object = HandleTable::Instance().Find(handle);
    if (object == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (overlapped == nullptr || completion == nullptr || (buffer == nullptr && length > 0) ||
        !object->Overlapped()) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return object;
}

// The transfer is done by the time it is queued; its routine runs at the thread's next alertable wait.
BOOL QueueCompletion(HANDLE handle, LPOVERLAPPED overlapped, LPOVERLAPPED_COMPLETION_ROUTINE completion,
                     DWORD done) {
    Complete(overlapped, ERROR_SUCCESS, done);
    platform::CompletionQueue::Instance().Post(handle, completion, ERROR_SUCCESS, done, overlapped);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

} // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE) {
    if (fileName == nullptr || *fileName == '\0') {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string_view path(fileName);
    std::unique_ptr<HandleObject> object =
        path.starts_with(kDevicePrefix)
            ? OpenDevice(fileName, path.substr(kDevicePrefix.size()), desiredAccess, shareMode,
                         creationDisposition, flagsAndAttributes)
            : platform::FileHandle::Open(fileName, desiredAccess, shareMode, creationDisposition,
                                         flagsAndAttributes);
    if (!object)
        return INVALID_HANDLE_VALUE;
    // Listed before the handle exists, so that no other thread can close it while it is unlisted.
    platform::CommDevice* device = object->AsCommDevice();
    if (device != nullptr)
        platform::CommDeviceList::Instance().Add(device);
    HANDLE handle = HandleTable::Instance().Insert(object);
    if (handle == INVALID_HANDLE_VALUE) {
        if (device != nullptr)
            platform::CommDeviceList::Instance().Remove(device);
        Fail(ERROR_TOO_MANY_OPEN_FILES);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

BOOL CloseHandle(HANDLE handle) {
    std::unique_ptr<HandleObject> object = HandleTable::Instance().Remove(handle);
    if (!object)
        return Fail(ERROR_INVALID_HANDLE);
    platform::CompletionQueue::Instance().DropForHandle(handle);
    if (platform::CommDevice* device = object->AsCommDevice())
        platform::CommDeviceList::Instance().Remove(device);
    return object->Close();
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    if (bytesRead != nullptr)
        *bytesRead = 0;
    HandleObject* object = HandleTable::Instance().Find(handle);
    if (object == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    if (buffer == nullptr && bytesToRead > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    bool ok = object->Read(buffer, bytesToRead, done, TransferFor(overlapped, false));
    if (bytesRead != nullptr)
        *bytesRead = done;
    Complete(overlapped, ok ? ERROR_SUCCESS : GetLastError(), done);
    return ok;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    HandleObject* object = HandleTable::Instance().Find(handle);
    if (object == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    if (buffer == nullptr && bytesToWrite > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD done = 0;
    bool ok = object->Write(buffer, bytesToWrite, done, TransferFor(overlapped, false));
    NoteWritten(object, done);
    if (bytesWritten != nullptr)
        *bytesWritten = done;
    Complete(overlapped, ok ? ERROR_SUCCESS : GetLastError(), done);
    return ok;
}

BOOL ReadFileEx(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPOVERLAPPED overlapped,
                LPOVERLAPPED_COMPLETION_ROUTINE completion) {
    HandleObject* object = HandleForCompletion(handle, buffer, bytesToRead, overlapped, completion);
    DWORD done = 0;
    if (object == nullptr || !object->Read(buffer, bytesToRead, done, TransferFor(overlapped, true)))
        return FALSE;
    return QueueCompletion(handle, overlapped, completion, done);
}

BOOL WriteFileEx(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPOVERLAPPED overlapped,
                 LPOVERLAPPED_COMPLETION_ROUTINE completion) {
    HandleObject* object = HandleForCompletion(handle, buffer, bytesToWrite, overlapped, completion);
    DWORD done = 0;
    if (object == nullptr || !object->Write(buffer, bytesToWrite, done, TransferFor(overlapped, true)))
        return FALSE;
    NoteWritten(object, done);
    return QueueCompletion(handle, overlapped, completion, done);
}

// No handle of this layer is ever signalled: transfers finish before their call returns. A wait
// therefore only runs completions (when alertable) and lets its time-out pass; an endless wait that
// nothing could end fails instead of hanging the thread.
DWORD WaitForSingleObjectEx(HANDLE handle, DWORD milliseconds, BOOL alertable) {
    if (HandleTable::Instance().Find(handle) == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    if (alertable && platform::CompletionQueue::Instance().RunForThisThread() > 0)
        return WAIT_IO_COMPLETION;
    if (milliseconds == 0)
        return WAIT_TIMEOUT;
    if (milliseconds == INFINITE) {
        Fail(ERROR_NOT_SUPPORTED);
        return WAIT_FAILED;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return WAIT_TIMEOUT;
}
