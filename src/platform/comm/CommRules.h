#pragma once
// Rules every communications device of this layer shares: which control blocks a UART can take,
// the block a device starts with, and the only read time-outs the devices implement.

#include "platform/comm/CommApi.h"

namespace platform {

// ERROR_SUCCESS when a UART can take the block, else the error to report. Speeds are checked by
// each device, which knows its own range.
DWORD CheckControlBlock(const DCB& dcb);

// 9600 baud, 8 data bits, no parity, one stop bit, no flow control, DTR and RTS raised.
DCB DefaultControlBlock();

// Reads return at once with what has arrived (MAXDWORD, 0, 0): the one behaviour the devices
// here implement, since a read must never block the user interface.
bool ReadsReturnAtOnce(const COMMTIMEOUTS& timeouts);

// True when the block hands the line that an escape function drives to the driver: RTS under
// RTS_CONTROL_HANDSHAKE, DTR under DTR_CONTROL_HANDSHAKE. The driver refuses to drive such a line
// by hand (ERROR_INVALID_PARAMETER), as serial drivers do.
bool LineHeldByHandshake(const DCB& dcb, DWORD function);

} // namespace platform
