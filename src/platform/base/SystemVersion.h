#pragma once
// The system version part of the platform interface. Linux reports itself as the NT family: its
// serial drivers read DTR and RTS back and keep byte counts, which is what the program asks the
// family for. The version numbers are the kernel's, from uname: "6.1.0-18-amd64" gives 6, 1 and
// build 0, and the whole release text stands in the service-pack text.

#include "platform/base/WinTypes.h"

#include <string>

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148, "the record has the platform's layout");
using POSVERSIONINFOA = OSVERSIONINFOA*;
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// Fills the record whose size field the caller has set to sizeof(OSVERSIONINFOA). Any other size fails
// with ERROR_INSUFFICIENT_BUFFER and no record at all with ERROR_INVALID_PARAMETER; the record is then
// left as it was.
// For the older family the build number carries the major and minor version in its high word, as
// that family reports it.
BOOL GetVersionExA(LPOSVERSIONINFOA versionInfo);

namespace platform {

// Tests choose the platform family and the kernel release that GetVersionExA reports.
void SetReportedPlatform(DWORD platformId);
void SetReportedKernelRelease(std::string release);
// Back to this machine's own answer: the NT family and the running kernel.
void RestoreSystemVersion();

} // namespace platform
