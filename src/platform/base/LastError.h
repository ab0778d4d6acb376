#pragma once
// Recording a failure for GetLastError: the platform's error code and, when the failure came from
// the operating system, the system's own words for it. Each helper returns false so that a failing
// path can end with `return Fail(...)`.

#include "platform/base/WinTypes.h"

namespace platform {

// The platform error code that stands for an errno value.
DWORD ErrorFromErrno(int errnum);

// A failure found by the platform layer itself: the code, no system text.
bool Fail(DWORD code);

// A failure reported by the operating system: the given code with the system's text for errnum.
bool FailErrno(DWORD code, int errnum);

// As above with the code mapped from errnum.
bool FailErrno(int errnum);

// A failure with words of the platform layer's own, where no system call produced one.
bool FailText(DWORD code, const char* text);

} // namespace platform

// The failure recorded last on this thread by any platform call; SetLastError records one by hand.
DWORD GetLastError();
void SetLastError(DWORD errorCode);

// The operating system's own words for the last failure on this thread ("Permission denied",
// "Is a directory" ...), which are more precise than the mapped error code; empty when none.
const char* GetLastErrorText();
