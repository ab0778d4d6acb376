#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/hardware/Registry.h"
#include "platform/hardware/RegistryKey.h"
#include "platform/hardware/RegistrySource.h"

namespace {

constexpr const char* kSystemPath = "HARDWARE\\DESCRIPTION\\SYSTEM";

// A hardware description of our own, served through the registry calls.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        m_openBefore = platform::RegistryOpenKeyCount();
        m_system = std::make_shared<RegistryKey>("System");
        m_system->SetString("Identifier", "x86_64");
        m_system->SetDword("Number", 0x11223344u);
        m_system->SetMultiString("Multi", {"first", "second"});
        m_system->SetBinary("Blob", {1, 2, 3});
        m_system->AddPath("CentralProcessor\\0").SetDword("~MHz", 3600);
        m_system->AddPath("CentralProcessor\\1").SetDword("~MHz", 3400);
        m_system->AddPath("FloatingPointProcessor\\0");
        platform::SetHardwareTreeOverride(m_system);
    }

    void TearDown() override {
        platform::ResetRegistrySource();
        EXPECT_EQ(platform::RegistryOpenKeyCount(), m_openBefore) << "a key was left open";
    }

    HKEY Open(HKEY base, const char* path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(base, path, 0, KEY_READ, &key), ERROR_SUCCESS) << (path ? path : "(null)");
        return key;
    }

    HKEY OpenSystem() { return Open(HKEY_LOCAL_MACHINE, kSystemPath); }

    std::shared_ptr<RegistryKey> m_system;
    std::size_t m_openBefore = 0;
};

// One RegEnumValueA call with buffers of the sizes a caller gives, and what it left in them.
struct ValueCall {
    LSTATUS status;
    std::string name;
    DWORD nameSize;
    DWORD type;
    std::vector<BYTE> data;
    DWORD dataSize;
};

ValueCall EnumValue(HKEY key, DWORD index, DWORD nameRoom = 1024, DWORD dataRoom = 1024) {
    std::vector<char> name(nameRoom + 1, '#');
    std::vector<BYTE> data(dataRoom + 1, 0xEE);
    ValueCall call{};
    call.nameSize = nameRoom;
    call.dataSize = dataRoom;
    call.type = 0xDEAD;
    call.status = RegEnumValueA(key, index, name.data(), &call.nameSize, nullptr, &call.type, data.data(),
                                &call.dataSize);
    EXPECT_EQ(name[nameRoom], '#') << "name written past its buffer";
    EXPECT_EQ(data[dataRoom], 0xEE) << "data written past its buffer";
    call.name.assign(name.begin(), std::find(name.begin(), name.begin() + nameRoom, '\0'));
    call.data.assign(data.begin(), data.end() - 1);
    return call;
}

std::vector<BYTE> Prefix(const std::vector<BYTE>& data, std::size_t size) {
    return std::vector<BYTE>(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
}

TEST_F(RegistryTest, OpensNestedPathsWithoutRegardToCase) {
    HKEY system = Open(HKEY_LOCAL_MACHINE, "hardware\\Description\\system");
    HKEY cpu = Open(system, "CENTRALPROCESSOR\\1");
    HKEY direct = Open(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\SYSTEM\\CentralProcessor\\1\\");
    for (HKEY key : {cpu, direct}) {
        const auto call = EnumValue(key, 0);
        ASSERT_EQ(call.status, ERROR_SUCCESS);
        EXPECT_EQ(call.name, "~MHz");
        EXPECT_EQ(Prefix(call.data, 4), (std::vector<BYTE>{0x48, 0x0D, 0, 0})); // 3400
    }
    EXPECT_EQ(RegCloseKey(direct), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(cpu), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
}

// A value's name is not a key; empty path parts and a missing result are refused.
TEST_F(RegistryTest, OpenReportsBadPathsAndMissingKeys) {
    const std::pair<const char*, LSTATUS> cases[] = {
        {"HARDWARE\\DESCRIPTION\\NoSuchKey", ERROR_FILE_NOT_FOUND},
        {"HARDWARE\\DESCRIPTION\\SYSTEM\\Identifier", ERROR_FILE_NOT_FOUND},
        {"\\HARDWARE", ERROR_BAD_PATHNAME},
        {"HARDWARE\\\\DESCRIPTION", ERROR_BAD_PATHNAME},
        {"HARDWARE\\\\", ERROR_BAD_PATHNAME}};
    for (const auto& [path, status] : cases) {
        HKEY key = reinterpret_cast<HKEY>(0x1234);
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), status) << path;
        EXPECT_EQ(key, nullptr) << path;
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, SubkeysComeInOrderWithEmptyClassAndTheirTime) {
    HKEY system = OpenSystem();
    std::vector<std::string> names;
    for (DWORD index = 0; index < 10; ++index) {
        char name[1024];
        char keyClass[8] = "junk";
        DWORD size = sizeof name;
        DWORD classSize = sizeof keyClass;
        FILETIME time{};
        const auto status = RegEnumKeyExA(system, index, name, &size, nullptr, keyClass, &classSize, &time);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(size, std::strlen(name));
        EXPECT_STREQ(keyClass, "");
        EXPECT_EQ(classSize, 0u);
        // After 2020-01-01, counted in 100-nanosecond ticks since 1601.
        const auto ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
        EXPECT_GT(ticks, 132223104000000000ull);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"CentralProcessor", "FloatingPointProcessor"}));
    RegCloseKey(system);
}

LSTATUS FirstSubkey(HKEY key) {
    char name[256];
    DWORD size = sizeof name;
    return RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
}

// Any right to change is refused; listing values and listing keys each need their own right.
TEST_F(RegistryTest, TheTreeIsReadOnlyAndListingNeedsTheMatchingRight) {
    for (REGSAM rights : {KEY_WRITE, KEY_ALL_ACCESS, KEY_READ | KEY_SET_VALUE, KEY_CREATE_SUB_KEY}) {
        HKEY key = reinterpret_cast<HKEY>(0x1234);
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, rights, &key), ERROR_ACCESS_DENIED) << rights;
        EXPECT_EQ(key, nullptr);
    }
    const std::tuple<REGSAM, LSTATUS, LSTATUS> cases[] = {
        {KEY_QUERY_VALUE, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
        {KEY_ENUMERATE_SUB_KEYS, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
        {0x80000000u /* generic read */, ERROR_SUCCESS, ERROR_SUCCESS}};
    for (const auto& [rights, values, keys] : cases) {
        SCOPED_TRACE(rights);
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, rights, &key), ERROR_SUCCESS);
        EXPECT_EQ(EnumValue(key, 0).status, values);
        EXPECT_EQ(FirstSubkey(key), keys);
        RegCloseKey(key);
    }
}

// A closed key is refused by every call, and its handle is never given to a newer key.
TEST_F(RegistryTest, ClosedKeysAreRefusedAndTheirHandlesNeverComeBack) {
    HKEY system = OpenSystem();
    ASSERT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(system), ERROR_INVALID_HANDLE);
    EXPECT_EQ(EnumValue(system, 0).status, ERROR_INVALID_HANDLE);
    EXPECT_EQ(FirstSubkey(system), ERROR_INVALID_HANDLE);
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExA(system, "CentralProcessor", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    std::vector<HKEY> later;
    for (int i = 0; i < 50; ++i)
        later.push_back(OpenSystem());
    EXPECT_EQ(std::count(later.begin(), later.end(), system), 0);
    EXPECT_EQ(EnumValue(system, 0).status, ERROR_INVALID_HANDLE);
    for (HKEY key : later)
        RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x7777)), ERROR_INVALID_HANDLE);
}

} // namespace
