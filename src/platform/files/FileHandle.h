#pragma once
// A regular file behind a handle. The share mode is kept with flock: share mode 0 takes an
// exclusive lock, any other a shared one, so an exclusive open and any second open exclude each
// other (between programs that lock; the lock is advisory to others). A file without any write
// permission bit counts as read-only, for every user, as the read-only attribute does.

#include <memory>

#include "platform/base/HandleObject.h"

namespace platform {

class FileHandle final : public HandleObject {
public:
    // Opens or creates the file as the disposition says; nullptr after recording the failure.
    static std::unique_ptr<FileHandle> Open(const char* path, DWORD access, DWORD shareMode,
                                            DWORD disposition, DWORD flags);
    ~FileHandle() override;

    bool Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Close() override;

    // What releases a file's descriptor: close() unless a test stands in for it, to meet the
    // failures that some file systems report only then (NFS, FUSE, a full quota: EIO, ENOSPC,
    // EDQUOT). The stand-in sets errno as close() does; nullptr restores close().
    using CloseCall = int (*)(int fd);
    static void SetCloseCall(CloseCall call);

private:
    FileHandle(int fd, DWORD access, bool overlapped);

    int m_fd;
    DWORD m_access;
};

} // namespace platform
