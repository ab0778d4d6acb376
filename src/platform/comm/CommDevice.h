#pragma once
// A communications device behind a handle: a tty, the loopback plug, or a device registered under a
// name (NamedDevices). Each operation returns false after recording its failure for GetLastError.

#include "platform/comm/CommApi.h"
#include "platform/base/HandleObject.h"

namespace platform {

class CommDevice : public HandleObject {
public:
    explicit CommDevice(bool overlapped) : HandleObject(overlapped) { SetCommDevice(this); }

    virtual bool GetState(DCB& dcb) = 0;
    virtual bool SetState(const DCB& dcb) = 0;
    virtual bool SetTimeouts(const COMMTIMEOUTS& timeouts) = 0;
    virtual bool Escape(DWORD function) = 0;
    virtual bool ModemStatus(DWORD& status) = 0;
    // SERIAL_DTR_STATE and SERIAL_RTS_STATE of the output lines.
    virtual bool DtrRts(DWORD& lines) = 0;
    virtual bool Stats(SERIALPERF_STATS& stats) = 0;

    // A driver request: checks the code and the output buffer, then asks the device.
    virtual bool IoControl(DWORD code, void* out, DWORD outSize, DWORD& returned);

    // Takes what has been received into the reader's hands, where the device queues it; true when a
    // read would return bytes now or has news to report (a hang-up). Asked by the loop's thread
    // between its reads, before it looks at the wake event.
    virtual bool ReadAhead() = 0;
    // How long the loop may sleep, in milliseconds, before this device must be looked at again
    // though nothing signalled: lines that cannot report their changes are polled, counts still
    // catching up are read once more. -1: only what the device signals matters.
    virtual int WakeAfterMs() const { return -1; }
};

} // namespace platform
