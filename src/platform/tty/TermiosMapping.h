#pragma once
// The control block and the kernel's termios2, which carries any speed (BOTHER). Only the tty code
// includes this header: the kernel's termios cannot live next to the C library's <termios.h>.

#include <asm/termbits.h>

#include "platform/comm/CommApi.h"

namespace platform {

// False when the block asks for flow control a tty cannot give: DTR handshaking, RTS toggling, or
// CTS output flow and RTS handshaking apart (Linux has CRTSCTS, which is both at once).
bool TermiosCanCarry(const DCB& dcb);

// Writes the block's speed, framing, parity checking and flow control into settings, leaving the
// rest of settings as it was.
void ControlBlockToTermios(const DCB& dcb, termios2& settings);

// Fills the fields of dcb that termios has a place for; the others keep the values dcb holds.
// fBinary is among the others: a raw line is always binary, so the flag is kept as it was written.
void TermiosToControlBlock(const termios2& settings, DCB& dcb);

// The device holds what was asked for: the same framing and flow flags, a speed within 2 %.
bool SameLineSettings(const termios2& wanted, const termios2& held);

// Raw mode for a line: no echo, no canonical input, no CR/LF translation, no signals, receiver on
// and modem control ignored for opening; speed and framing stay as they were. VMIN 1 so that a
// non-blocking read of an empty line reports EAGAIN rather than an end of file.
void MakeRaw(termios2& settings);

} // namespace platform
