#include "platform/comm/CommApi.h"

#include "platform/comm/CommDevice.h"
#include "platform/base/CommWakeEvent.h"
#include "platform/base/HandleTable.h"
#include "platform/base/LastError.h"

using platform::CommDevice;
using platform::Fail;

namespace {

// The device a handle names; nullptr after recording the failure (a file is no device).
CommDevice* FindDevice(HANDLE handle) {
    platform::HandleObject* object = platform::HandleTable::Instance().Find(handle);
    if (object == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    CommDevice* device = object->AsCommDevice();
    if (device == nullptr)
        Fail(ERROR_NOT_SUPPORTED);
    return device;
}

// Settings written and lines driven change what the port reports: a loop asleep on the port wakes to
// show them, as it does for a change of an input line.
bool NoteChange(bool done) {
    if (done)
        platform::CommWakeEvent::Instance().Signal();
    return done;
}

} // namespace

BOOL GetCommState(HANDLE handle, LPDCB dcb) {
    CommDevice* device = FindDevice(handle);
    if (device == nullptr)
        return FALSE;
    if (dcb == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return device->GetState(*dcb);
}

BOOL SetCommState(HANDLE handle, LPDCB dcb) {
    CommDevice* device = FindDevice(handle);
    if (device == nullptr)
        return FALSE;
    if (dcb == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return NoteChange(device->SetState(*dcb));
}

BOOL SetCommTimeouts(HANDLE handle, LPCOMMTIMEOUTS timeouts) {
    CommDevice* device = FindDevice(handle);
    if (device == nullptr)
        return FALSE;
    if (timeouts == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return device->SetTimeouts(*timeouts);
}

BOOL EscapeCommFunction(HANDLE handle, DWORD function) {
    CommDevice* device = FindDevice(handle);
    return device != nullptr && NoteChange(device->Escape(function));
}

BOOL GetCommModemStatus(HANDLE handle, LPDWORD modemStatus) {
    CommDevice* device = FindDevice(handle);
    if (device == nullptr)
        return FALSE;
    if (modemStatus == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    return device->ModemStatus(*modemStatus);
}

// Serves the two serial driver requests; the transfer is always finished before the call returns.
BOOL DeviceIoControl(HANDLE handle, DWORD ioControlCode, LPVOID, DWORD, LPVOID outBuffer, DWORD outBufferSize,
                     LPDWORD bytesReturned, LPOVERLAPPED) {
    if (bytesReturned != nullptr)
        *bytesReturned = 0;
    CommDevice* device = FindDevice(handle);
    if (device == nullptr)
        return FALSE;
    DWORD returned = 0;
    bool ok = device->IoControl(ioControlCode, outBuffer, outBufferSize, returned);
    if (bytesReturned != nullptr)
        *bytesReturned = returned;
    return ok;
}
