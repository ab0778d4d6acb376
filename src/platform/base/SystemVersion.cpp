#include "platform/base/SystemVersion.h"

#include "platform/base/LastError.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>
#include <sys/utsname.h>

namespace {

struct Reported {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    std::optional<std::string> release;
};

std::mutex g_mutex;
Reported g_reported;

Reported CurrentReport() {
    std::lock_guard lock(g_mutex);
    return g_reported;
}

std::string RunningKernelRelease() {
    utsname names{};
    return uname(&names) == 0 ? std::string(names.release) : std::string();
}

// Takes the leading decimal number of text and moves text past it and one following dot. Missing or
// out-of-range numbers read as 0, so an odd release text gives zeros rather than a wrong number.
DWORD TakeNumber(std::string_view& text) {
    DWORD number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc()) {
        text = std::string_view();
        return 0;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
    } else {
        text = std::string_view();
    }
    return number;
}

void FillFromRelease(const std::string& release, OSVERSIONINFOA& info) {
    std::string_view rest = release;
    info.dwMajorVersion = TakeNumber(rest);
    info.dwMinorVersion = TakeNumber(rest);
    info.dwBuildNumber = TakeNumber(rest);
    std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
    std::memcpy(info.szCSDVersion, release.data(), std::min(release.size(), sizeof info.szCSDVersion - 1));
}

} // namespace

BOOL GetVersionExA(LPOSVERSIONINFOA versionInfo) {
    if (versionInfo == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (versionInfo->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const auto report = CurrentReport();
    FillFromRelease(report.release ? *report.release : RunningKernelRelease(), *versionInfo);
    versionInfo->dwPlatformId = report.platformId;
    if (report.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        versionInfo->dwBuildNumber = (versionInfo->dwMajorVersion & 0xFF) << 24 |
                                     (versionInfo->dwMinorVersion & 0xFF) << 16 |
                                     (versionInfo->dwBuildNumber & 0xFFFF);
    }
    return TRUE;
}

namespace platform {

void SetReportedPlatform(DWORD platformId) {
    std::lock_guard lock(g_mutex);
    g_reported.platformId = platformId;
}

void SetReportedKernelRelease(std::string release) {
    std::lock_guard lock(g_mutex);
    g_reported.release = std::move(release);
}

void RestoreSystemVersion() {
    std::lock_guard lock(g_mutex);
    g_reported = Reported{};
}

} // namespace platform
