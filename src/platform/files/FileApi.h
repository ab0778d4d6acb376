#pragma once
// Handles, files and transfers: the generic part of the platform interface. A handle comes from
// CreateFileA and names either a file (a plain path) or a communications device (a path that starts
// with "\\.\"). Every call records its failure for GetLastError, per thread.

#include "platform/base/FileTypes.h"
#include "platform/base/LastError.h"

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);
// The Ex transfers need a handle opened with FILE_FLAG_OVERLAPPED. The transfer is done before the
// call returns; its completion routine is queued for the calling thread and runs during that
// thread's next alertable wait. Routines still queued when their handle is closed are dropped and
// never run, so the block and the buffer may be freed once CloseHandle has returned.
BOOL ReadFileEx(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPOVERLAPPED overlapped,
                LPOVERLAPPED_COMPLETION_ROUTINE completion);
BOOL WriteFileEx(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPOVERLAPPED overlapped,
                 LPOVERLAPPED_COMPLETION_ROUTINE completion);
// Waits on a handle; an alertable wait first runs the completion routines queued on this thread
// and then returns WAIT_IO_COMPLETION. No handle is ever signalled, as every transfer has finished
// by the time its call returns: a wait that ran no routine lets its time-out pass and returns
// WAIT_TIMEOUT, and an INFINITE one, which nothing could end, fails with ERROR_NOT_SUPPORTED.
DWORD WaitForSingleObjectEx(HANDLE handle, DWORD milliseconds, BOOL alertable);
