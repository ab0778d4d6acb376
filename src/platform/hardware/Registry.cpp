#include "platform/hardware/Registry.h"

#include "platform/hardware/RegistryHandles.h"
#include "platform/hardware/RegistrySource.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace {

using OpenKey = RegistryHandles::OpenKey;
using KeyPtr = std::shared_ptr<const RegistryKey>;

// Standard and generic rights that may be asked for a key along with its own.
constexpr REGSAM kDelete = 0x00010000u;
constexpr REGSAM kWriteDac = 0x00040000u;
constexpr REGSAM kWriteOwner = 0x00080000u;
constexpr REGSAM kGenericAll = 0x10000000u;
constexpr REGSAM kGenericWrite = 0x40000000u;
constexpr REGSAM kGenericRead = 0x80000000u;

// Every right that would change the tree; the tree is read only, so asking for one is refused.
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | kDelete | kWriteDac |
                                kWriteOwner | kGenericAll | kGenericWrite;
constexpr REGSAM kReadRights = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;

// The generic read right stands for KEY_READ.
REGSAM GrantedRights(REGSAM desired) {
    return (desired & kGenericRead) ? KEY_READ : (desired & kReadRights);
}

// HKEY_LOCAL_MACHINE stands for a fresh snapshot of the tree at every use.
std::optional<OpenKey> Resolve(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return OpenKey{platform::LocalMachineSnapshot(), KEY_READ};
    }
    return RegistryHandles::Instance().Find(key);
}

// Follows a backslash-separated path; one trailing backslash is allowed, other empty parts are not.
LSTATUS FindSubkey(KeyPtr key, std::string_view path, KeyPtr& found) {
    if (!path.empty() && path.front() == '\\') {
        return ERROR_BAD_PATHNAME;
    }
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto part = path.substr(0, cut);
        if (part.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        key = key->FindKey(part);
        if (!key) {
            return ERROR_FILE_NOT_FOUND;
        }
        path = (cut == std::string_view::npos) ? std::string_view() : path.substr(cut + 1);
        if (cut != std::string_view::npos && path.empty()) {
            return ERROR_BAD_PATHNAME;
        }
    }
    found = std::move(key);
    return ERROR_SUCCESS;
}

// On success the size becomes the name's length; when it does not fit, the buffer gets the part that
// fits with a NUL and the size stays as given.
LSTATUS CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
    if (name.size() < *size) {
        std::memcpy(buffer, name.data(), name.size());
        buffer[name.size()] = '\0';
        *size = static_cast<DWORD>(name.size());
        return ERROR_SUCCESS;
    }
    if (*size > 0) {
        std::memcpy(buffer, name.data(), *size - 1);
        buffer[*size - 1] = '\0';
    }
    return ERROR_MORE_DATA;
}

// The size always becomes the data's whole size; a buffer too small gets the first bytes that fit.
LSTATUS CopyData(const std::vector<BYTE>& data, LPBYTE buffer, LPDWORD size) {
    const DWORD room = *size;
    *size = static_cast<DWORD>(data.size());
    if (buffer == nullptr) {
        return ERROR_SUCCESS;
    }
    if (data.size() <= room) {
        std::memcpy(buffer, data.data(), data.size());
        return ERROR_SUCCESS;
    }
    std::memcpy(buffer, data.data(), room);
    return ERROR_MORE_DATA;
}

// The open key behind a handle for a listing that needs the given right, or the reason it cannot be
// listed.
LSTATUS KeyForListing(HKEY handle, REGSAM needed, KeyPtr& key) {
    const auto open = Resolve(handle);
    if (!open) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->access & needed) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (open->key->EnumerationError() != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(open->key->EnumerationError());
    }
    key = open->key;
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM desired, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    if (desired & kWriteRights) {
        return ERROR_ACCESS_DENIED;
    }
    const auto base = Resolve(key);
    if (!base) {
        return ERROR_INVALID_HANDLE;
    }
    const std::string_view path = subKey ? subKey : "";
    KeyPtr target;
    if (const auto status = FindSubkey(base->key, path, target); status != ERROR_SUCCESS) {
        return status;
    }
    if (target->OpenError() != ERROR_SUCCESS) {
        return static_cast<LSTATUS>(target->OpenError());
    }
    *result = (path.empty() && key == HKEY_LOCAL_MACHINE)
                  ? key
                  : RegistryHandles::Instance().Add(std::move(target), GrantedRights(desired));
    return ERROR_SUCCESS;
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameSize, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (valueName == nullptr || valueNameSize == nullptr || reserved != nullptr ||
        (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyPtr open;
    if (const auto status = KeyForListing(key, KEY_QUERY_VALUE, open); status != ERROR_SUCCESS) {
        return status;
    }
    if (index >= open->ValueCount()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const auto& value = open->ValueAt(index);
    auto status = CopyName(value.name, valueName, valueNameSize);
    if (type != nullptr) {
        *type = value.type;
    }
    if (dataSize != nullptr && CopyData(value.data, data, dataSize) != ERROR_SUCCESS) {
        status = ERROR_MORE_DATA;
    }
    return status;
}

LSTATUS RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                      LPDWORD keyClassSize, PFILETIME lastWriteTime) {
    if (name == nullptr || nameSize == nullptr || reserved != nullptr ||
        (keyClass != nullptr && keyClassSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyPtr open;
    if (const auto status = KeyForListing(key, KEY_ENUMERATE_SUB_KEYS, open); status != ERROR_SUCCESS) {
        return status;
    }
    if (index >= open->KeyCount()) {
        return ERROR_NO_MORE_ITEMS;
    }
    const auto subkey = open->KeyAt(index);
    auto status = CopyName(subkey->Name(), name, nameSize);
    if (keyClass != nullptr && CopyName(std::string(), keyClass, keyClassSize) != ERROR_SUCCESS) {
        status = ERROR_MORE_DATA;
    }
    if (lastWriteTime != nullptr) {
        lastWriteTime->dwLowDateTime = static_cast<DWORD>(subkey->LastWriteTime());
        lastWriteTime->dwHighDateTime = static_cast<DWORD>(subkey->LastWriteTime() >> 32);
    }
    return status;
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return ERROR_SUCCESS;
    }
    return RegistryHandles::Instance().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

namespace platform {

std::size_t RegistryOpenKeyCount() {
    return RegistryHandles::Instance().Count();
}

} // namespace platform
