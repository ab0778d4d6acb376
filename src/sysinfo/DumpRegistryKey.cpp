#include "sysinfo/DumpRegistryKey.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "framework/edit/CEdit.h"

namespace {

constexpr DWORD kNameSize = 1024;
constexpr DWORD kDataSize = 1024;
constexpr std::size_t kNumberSize = 100;
// A key whose listing fails this many times in a row has become unreadable: its walk ends there
// instead of counting through four billion indexes.
constexpr int kFailuresInARow = 16;

// The working buffers of one key's walk, zero-filled when made.
struct WalkBuffers {
    std::array<char, kNameSize> name{};
    std::array<BYTE, kDataSize> data{};
    std::array<char, kNumberSize> number{};
};

void Insert(CEdit& edit, const char* text, std::size_t length) {
    edit.ReplaceSel(text, length);
}
void Insert(CEdit& edit, const char* text) {
    Insert(edit, text, std::strlen(text));
}

// A name the buffer could not hold is shown with what fits and a mark that says so.
void InsertName(CEdit& edit, const WalkBuffers& b, bool cutShort) {
    Insert(edit, b.name.data(), strnlen(b.name.data(), kNameSize));
    if (cutShort)
        Insert(edit, "...");
}

// The data of a string value up to its first NUL: a multi-string shows its first string only. Data
// the buffer could not hold is shown as far as it goes and marked, never passed off as the whole.
void InsertStringData(CEdit& edit, const WalkBuffers& b, DWORD dataSize, bool cutShort) {
    std::size_t available = cutShort ? kDataSize : std::min<std::size_t>(dataSize, kDataSize);
    const auto* text = reinterpret_cast<const char*>(b.data.data());
    const void* nul = std::memchr(text, 0, available);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : available;
    Insert(edit, text, length);
    if (cutShort && nul == nullptr) {
        char note[64];
        std::snprintf(note, sizeof note, "... [cut short: %lu bytes in all]",
                      static_cast<unsigned long>(dataSize));
        Insert(edit, note);
    }
}

// The first four data bytes, least significant first; bytes a short value does not have count as 0.
void InsertNumberData(CEdit& edit, WalkBuffers& b, DWORD dataSize) {
    DWORD value = 0;
    for (DWORD i = 0; i < 4 && i < dataSize; ++i)
        value |= static_cast<DWORD>(b.data[i]) << (8 * i);
    std::snprintf(b.number.data(), kNumberSize, "%lu", static_cast<unsigned long>(value));
    Insert(edit, b.number.data());
}

// One value's line, when its type is one that is shown.
void InsertValue(CEdit& edit, WalkBuffers& b, const CString& indent, DWORD type, DWORD nameSize,
                 DWORD dataSize, LONG result) {
    if (type != REG_SZ && type != REG_MULTI_SZ && type != REG_DWORD)
        return;
    // Name and data are judged apart: one result says only that something did not fit, and a name
    // cut short does not make the data whole.
    bool more = result == ERROR_MORE_DATA;
    bool nameCut = more && nameSize == kNameSize;
    bool dataCut = more && dataSize > kDataSize;
    Insert(edit, indent.GetString(), static_cast<std::size_t>(indent.GetLength()));
    InsertName(edit, b, nameCut);
    Insert(edit, ": ");
    if (type == REG_DWORD)
        InsertNumberData(edit, b, dataSize);
    else
        InsertStringData(edit, b, dataSize, dataCut);
    Insert(edit, "\r\n");
}

// Lists a key's entries by index until there are no more, handing each one listed to use with its
// listing result; use gives non-zero to stop there. A listing that keeps failing ends with its code.
template <typename List, typename Use>
LONG ForEachEntry(List list, Use use) {
    int failures = 0;
    for (DWORD index = 0;; ++index) {
        LONG result = list(index);
        if (result == ERROR_NO_MORE_ITEMS)
            return 0;
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) {
            if (++failures == kFailuresInARow)
                return result;
            continue;
        }
        failures = 0;
        if (LONG stop = use(result); stop != 0)
            return stop;
    }
}

// All values of the key; the failure code when its listing kept failing, else 0.
LONG DumpValues(HKEY key, CEdit& edit, const CString& indent, WalkBuffers& b) {
    DWORD nameSize = 0;
    DWORD dataSize = 0;
    DWORD type = REG_NONE;
    auto list = [&](DWORD index) {
        nameSize = kNameSize;
        dataSize = kDataSize;
        type = REG_NONE;
        return RegEnumValueA(key, index, b.name.data(), &nameSize, nullptr, &type, b.data.data(), &dataSize);
    };
    return ForEachEntry(list, [&](LONG result) {
        InsertValue(edit, b, indent, type, nameSize, dataSize, result);
        return LONG{0};
    });
}

// One subkey's name line and its own contents; the first failure code, else 0.
LONG DumpSubkey(HKEY key, CEdit& edit, const CString& subIndent, const WalkBuffers& b) {
    HKEY subkey = nullptr;
    LONG opened = RegOpenKeyExA(key, b.name.data(), 0, KEY_READ, &subkey);
    if (opened != ERROR_SUCCESS)
        return opened;
    Insert(edit, subIndent.GetString(), static_cast<std::size_t>(subIndent.GetLength()));
    Insert(edit, b.name.data(), strnlen(b.name.data(), kNameSize));
    Insert(edit, "\r\n");
    LONG walked = DumpRegistryKey(subkey, edit, subIndent);
    RegCloseKey(subkey);
    return walked;
}

// All subkeys in order; the first failure code, else 0.
LONG DumpSubkeys(HKEY key, CEdit& edit, const CString& indent, WalkBuffers& b) {
    CString subIndent = CString("  ") + indent;
    auto list = [&](DWORD index) {
        DWORD nameSize = kNameSize;
        return RegEnumKeyExA(key, index, b.name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
    };
    return ForEachEntry(list, [&](LONG) { return DumpSubkey(key, edit, subIndent, b); });
}

} // namespace

LONG DumpRegistryKey(HKEY key, CEdit& edit, const CString& indent) {
    WalkBuffers buffers;
    LONG result = DumpValues(key, edit, indent, buffers);
    if (result != 0)
        return result;
    return DumpSubkeys(key, edit, indent, buffers);
}
