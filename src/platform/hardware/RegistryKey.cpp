#include "platform/hardware/RegistryKey.h"

#include "platform/hardware/Registry.h"

#include <algorithm>
#include <chrono>

namespace {

// File time counts 100-nanosecond ticks from 1601-01-01; the Unix epoch lies this many ticks later.
constexpr std::uint64_t kUnixEpochInFileTime = 116444736000000000ull;

std::uint64_t FileTimeNow() {
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return kUnixEpochInFileTime +
           static_cast<std::uint64_t>(std::chrono::duration_cast<Ticks>(sinceEpoch).count());
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::vector<BYTE> TextWithNul(std::string_view text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

} // namespace

RegistryKey::RegistryKey(std::string name) : m_name(std::move(name)), m_lastWriteTime(FileTimeNow()) {}

bool RegistryKey::SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

RegistryKey& RegistryKey::AddKey(std::string_view name) {
    if (auto existing = FindKey(name)) {
        return *existing;
    }
    m_keys.push_back(std::make_shared<RegistryKey>(std::string(name)));
    return *m_keys.back();
}

RegistryKey& RegistryKey::AddPath(std::string_view path) {
    RegistryKey* key = this;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto part = path.substr(0, cut);
        if (!part.empty()) {
            key = &key->AddKey(part);
        }
        path = (cut == std::string_view::npos) ? std::string_view() : path.substr(cut + 1);
    }
    return *key;
}

void RegistryKey::AttachKey(std::shared_ptr<RegistryKey> key) {
    for (auto& existing : m_keys) {
        if (SameName(existing->Name(), key->Name())) {
            existing = std::move(key);
            return;
        }
    }
    m_keys.push_back(std::move(key));
}

void RegistryKey::SetValue(std::string_view name, DWORD type, std::vector<BYTE> data) {
    for (auto& value : m_values) {
        if (SameName(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    m_values.push_back(Value{std::string(name), type, std::move(data)});
}

void RegistryKey::SetString(std::string_view name, std::string_view text) {
    SetValue(name, REG_SZ, TextWithNul(text));
}

void RegistryKey::SetExpandString(std::string_view name, std::string_view text) {
    SetValue(name, REG_EXPAND_SZ, TextWithNul(text));
}

void RegistryKey::SetMultiString(std::string_view name, const std::vector<std::string>& texts) {
    std::vector<BYTE> bytes;
    for (const auto& text : texts) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
    }
    bytes.push_back(0);
    SetValue(name, REG_MULTI_SZ, std::move(bytes));
}

void RegistryKey::SetDword(std::string_view name, DWORD number) {
    std::vector<BYTE> bytes(4);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(number >> (8 * i));
    }
    SetValue(name, REG_DWORD, std::move(bytes));
}

void RegistryKey::SetBinary(std::string_view name, std::vector<BYTE> bytes) {
    SetValue(name, REG_BINARY, std::move(bytes));
}

const RegistryKey::Value* RegistryKey::FindValue(std::string_view name) const {
    for (const auto& value : m_values) {
        if (SameName(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

std::shared_ptr<RegistryKey> RegistryKey::FindKey(std::string_view name) const {
    for (const auto& key : m_keys) {
        if (SameName(key->Name(), name)) {
            return key;
        }
    }
    return nullptr;
}
