#include "platform/files/FileHandle.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/FileApi.h"
#include "platform/base/LastError.h"

namespace platform {

namespace {

std::atomic<FileHandle::CloseCall> g_closeCall{nullptr};

int CloseDescriptor(int fd) {
    FileHandle::CloseCall call = g_closeCall.load();
    return call != nullptr ? call(fd) : close(fd);
}

int AccessFlags(DWORD access) {
    bool read = (access & GENERIC_READ) != 0;
    bool write = (access & GENERIC_WRITE) != 0;
    if (read && write)
        return O_RDWR;
    return write ? O_WRONLY : O_RDONLY;
}

// Opens without creating; when the disposition allows it and the file is missing, creates it.
// existed tells which happened.
int OpenOrCreate(const char* path, int flags, DWORD disposition, bool& existed) {
    existed = true;
    if (disposition == CREATE_NEW) {
        existed = false;
        return open(path, flags | O_CREAT | O_EXCL, 0666);
    }
    for (;;) {
        int fd = open(path, flags);
        if (fd >= 0 || errno != ENOENT || disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)
            return fd;
        fd = open(path, flags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0 || errno != EEXIST) {
            existed = false;
            return fd;
        }
        // Someone else created it between the two calls: open what is there now.
    }
}

bool CheckKind(int fd, DWORD access) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return FailErrno(errno);
    if (S_ISDIR(status.st_mode))
        return FailErrno(ERROR_ACCESS_DENIED, EISDIR);
    if ((access & GENERIC_WRITE) && S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0)
        return FailErrno(ERROR_ACCESS_DENIED, EACCES);
    return true;
}

bool TakeLock(int fd, DWORD shareMode) {
    int operation = (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB;
    while (flock(fd, operation) != 0) {
        if (errno == EINTR)
            continue;
        return FailErrno(errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : ErrorFromErrno(errno), errno);
    }
    return true;
}

bool PrepareOpened(int fd, DWORD access, DWORD shareMode, bool truncate) {
    if (!CheckKind(fd, access) || !TakeLock(fd, shareMode))
        return false;
    if (truncate && ftruncate(fd, 0) != 0)
        return FailErrno(errno);
    return true;
}

bool ValidRequest(DWORD access, DWORD disposition) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING)
        return Fail(ERROR_INVALID_PARAMETER);
    if (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))
        return Fail(ERROR_INVALID_PARAMETER);
    return true;
}

} // namespace

std::unique_ptr<FileHandle> FileHandle::Open(const char* path, DWORD access, DWORD shareMode,
                                             DWORD disposition, DWORD flags) {
    if (!ValidRequest(access, disposition))
        return nullptr;
    // O_NONBLOCK keeps a FIFO from stalling the open; it is cleared again below.
    bool existed = false;
    int fd =
        OpenOrCreate(path, AccessFlags(access) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, disposition, existed);
    if (fd < 0) {
        FailErrno(errno);
        return nullptr;
    }
    // Sharing is checked before anything is truncated, so a refused open changes nothing.
    bool truncate = existed && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING);
    if (!PrepareOpened(fd, access, shareMode, truncate)) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool reportsExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return std::unique_ptr<FileHandle>(new FileHandle(fd, access, (flags & FILE_FLAG_OVERLAPPED) != 0));
}

FileHandle::FileHandle(int fd, DWORD access, bool overlapped)
    : HandleObject(overlapped), m_fd(fd), m_access(access) {}

FileHandle::~FileHandle() {
    if (m_fd >= 0)
        close(m_fd);
}

bool FileHandle::Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) {
    done = 0;
    if (!(m_access & GENERIC_READ))
        return Fail(ERROR_ACCESS_DENIED);
    auto* bytes = static_cast<char*>(buffer);
    while (done < length) {
        ssize_t got = how.positioned
                          ? pread(m_fd, bytes + done, length - done, static_cast<off_t>(how.position + done))
                          : read(m_fd, bytes + done, length - done);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return done > 0 || FailErrno(errno);
        }
        done += static_cast<DWORD>(got);
    }
    return true;
}

bool FileHandle::Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) {
    done = 0;
    if (!(m_access & GENERIC_WRITE))
        return Fail(ERROR_ACCESS_DENIED);
    const auto* bytes = static_cast<const char*>(buffer);
    // Keeps writing what the system took only in part; a failure after some bytes reports them
    // as written, and the next call meets the failure.
    while (done < length) {
        ssize_t put = how.positioned
                          ? pwrite(m_fd, bytes + done, length - done, static_cast<off_t>(how.position + done))
                          : write(m_fd, bytes + done, length - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return done > 0 || FailErrno(errno);
        if (put == 0)
            return done > 0 || Fail(ERROR_WRITE_FAULT);
        done += static_cast<DWORD>(put);
    }
    return true;
}

// A file system may report only here that written data was lost (NFS flushes at close, a quota
// runs out): such a failure is the caller's to report, as a failed write is.
bool FileHandle::Close() {
    int fd = m_fd;
    m_fd = -1;
    if (CloseDescriptor(fd) != 0 && errno != EINTR)
        return FailErrno(errno);
    return true;
}

void FileHandle::SetCloseCall(CloseCall call) {
    g_closeCall.store(call);
}

} // namespace platform
