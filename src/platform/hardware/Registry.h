#pragma once
// The registry part of the platform interface, read only: open a key by path, list its values and
// subkeys by index, close it. Behind it stands the hardware description tree of this machine
// (HKEY_LOCAL_MACHINE\HARDWARE\DESCRIPTION\System), built afresh each time it is opened from
// HKEY_LOCAL_MACHINE, so one walk sees one consistent picture and the next walk sees the present.
//
// Rules the calls keep, as callers of the real interface expect them:
// - Sizes go in and out: names in characters, data in bytes. On input a name size counts the room for
//   the terminating NUL; on success the size that comes back does not count it.
// - A name that does not fit gives ERROR_MORE_DATA; its buffer then holds as much of the name as fits,
//   NUL-terminated, and the name size is left as it was given.
// - Data that does not fit gives ERROR_MORE_DATA with the size the whole data needs; the data buffer
//   then holds the first bytes of the data, as many as it has room for and no terminator, so a caller
//   can tell the value is incomplete (by the result) and still show its beginning. The type is
//   reported in every more-data case.
// - With a data size but no data buffer the call reports the data size and succeeds.
// - Indexes count from 0; the first index past the end gives ERROR_NO_MORE_ITEMS and touches nothing.
// - Values and subkeys come in the order the tree holds them. Names compare without regard to case.
// - Keys are handles: each opened key must be closed, and a closed key fails with ERROR_INVALID_HANDLE.
//   HKEY_LOCAL_MACHINE is predefined and needs no closing.

#include "platform/base/WinTypes.h"

#include <cstddef>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using PFILETIME = FILETIME*;

inline HKEY const HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000002u))));

// Access rights of a key.
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_NOTIFY = 0x0010;
inline constexpr REGSAM KEY_CREATE_LINK = 0x0020;
inline constexpr REGSAM KEY_READ = 0x00020019;
inline constexpr REGSAM KEY_WRITE = 0x00020006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

// Opens the subkey at a backslash-separated path below an open key (an empty or null path opens the
// key itself again). Read rights only: asking for any right to change the tree gives
// ERROR_ACCESS_DENIED. A path that starts with a backslash or holds an empty part gives
// ERROR_BAD_PATHNAME, a missing key ERROR_FILE_NOT_FOUND. options is not used.
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);

// The value at index: name, type and data; each of type, data and dataSize may be null (data only
// together with dataSize). Needs KEY_QUERY_VALUE.
LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD dataSize);

// The subkey at index: name, class (always empty here) and time of last change, the last two
// optional. Needs KEY_ENUMERATE_SUB_KEYS.
LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                      LPDWORD keyClassSize, PFILETIME lastWriteTime);

LSTATUS RegCloseKey(HKEY key);

namespace platform {

// Keys opened and not yet closed in this process, so tests can prove that a walk closed every key.
std::size_t RegistryOpenKeyCount();

} // namespace platform
