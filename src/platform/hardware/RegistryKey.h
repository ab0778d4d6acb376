#pragma once
// One key of the read-only registry tree: typed values and subkeys, each kept in the order added and
// found by name without regard to case. The hardware description builder fills such a tree, and tests
// build their own; both can mark a key so that opening it, or listing it, fails with a chosen code.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class RegistryKey {
public:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };

    explicit RegistryKey(std::string name);

    const std::string& Name() const { return m_name; }

    // The subkey of that name, added at the end when there is none yet.
    RegistryKey& AddKey(std::string_view name);
    // The key at a backslash-separated path below this one, adding what is missing.
    RegistryKey& AddPath(std::string_view path);
    // Puts a whole subtree in place of any subkey of the same name (or at the end).
    void AttachKey(std::shared_ptr<RegistryKey> key);

    // Each setter replaces a value of the same name in its place, or adds it at the end.
    void SetValue(std::string_view name, DWORD type, std::vector<BYTE> data);
    void SetString(std::string_view name, std::string_view text);       // stored with its NUL
    void SetExpandString(std::string_view name, std::string_view text); // stored with its NUL
    void SetMultiString(std::string_view name, const std::vector<std::string>& texts);
    void SetDword(std::string_view name, DWORD number); // four bytes, least significant first
    void SetBinary(std::string_view name, std::vector<BYTE> bytes);

    // A non-zero code makes every open of this key fail with it; 0 lets it open again.
    void FailOpen(DWORD errorCode) { m_openError = errorCode; }
    // A non-zero code makes every listing of this key's values and subkeys fail with it.
    void FailEnumeration(DWORD errorCode) { m_enumerationError = errorCode; }
    DWORD OpenError() const { return m_openError; }
    DWORD EnumerationError() const { return m_enumerationError; }

    std::size_t ValueCount() const { return m_values.size(); }
    const Value& ValueAt(std::size_t index) const { return m_values[index]; }
    const Value* FindValue(std::string_view name) const;

    std::size_t KeyCount() const { return m_keys.size(); }
    std::shared_ptr<const RegistryKey> KeyAt(std::size_t index) const { return m_keys[index]; }
    std::shared_ptr<RegistryKey> FindKey(std::string_view name) const;

    // When the key was made, in 100-nanosecond ticks since 1601 (the platform's file time).
    std::uint64_t LastWriteTime() const { return m_lastWriteTime; }

    // Names of keys and values compare like this: ASCII letters without regard to case.
    static bool SameName(std::string_view a, std::string_view b);

private:
    std::string m_name;
    std::vector<Value> m_values;
    std::vector<std::shared_ptr<RegistryKey>> m_keys;
    DWORD m_openError = 0;
    DWORD m_enumerationError = 0;
    std::uint64_t m_lastWriteTime;
};
