#include "platform/base/LastError.h"

#include <cerrno>
#include <cstring>

namespace {

// Per thread, as on the platform this interface comes from. Writing them never allocates.
thread_local DWORD t_lastError = ERROR_SUCCESS;
thread_local char t_lastErrorText[160] = "";

void StoreText(const char* text) {
    std::strncpy(t_lastErrorText, text, sizeof t_lastErrorText - 1);
    t_lastErrorText[sizeof t_lastErrorText - 1] = '\0';
}

} // namespace

namespace platform {

DWORD ErrorFromErrno(int errnum) {
    switch (errnum) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case EBUSY:
        return ERROR_ACCESS_DENIED;
    case EWOULDBLOCK:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP:
        return ERROR_INVALID_NAME;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOTTY:
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    case ENXIO:
    case ENODEV:
        return ERROR_DEVICE_NOT_CONNECTED;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    default:
        return ERROR_GEN_FAILURE;
    }
}

bool Fail(DWORD code) {
    t_lastError = code;
    t_lastErrorText[0] = '\0';
    return false;
}

bool FailErrno(DWORD code, int errnum) {
    t_lastError = code;
    char scratch[sizeof t_lastErrorText];
    StoreText(strerror_r(errnum, scratch, sizeof scratch));
    return false;
}

bool FailErrno(int errnum) {
    return FailErrno(ErrorFromErrno(errnum), errnum);
}

bool FailText(DWORD code, const char* text) {
    t_lastError = code;
    StoreText(text);
    return false;
}

} // namespace platform

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD errorCode) {
    platform::Fail(errorCode);
}

const char* GetLastErrorText() {
    return t_lastErrorText;
}
