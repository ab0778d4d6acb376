#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryKey.h"
#include "platform/RegistrySource.h"

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

std::vector<BYTE> Bytes(std::string_view text) {
    return std::vector<BYTE>(text.begin(), text.end());
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

TEST_F(RegistryTest, OpenReportsBadPathsAndMissingKeys) {
    HKEY key = reinterpret_cast<HKEY>(0x1234);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\NoSuchKey", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\HARDWARE", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\\\DESCRIPTION", 0, KEY_READ, &key),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\\\", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    // A value's name is not a key.
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\SYSTEM\\Identifier", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
}

TEST_F(RegistryTest, EmptyPathOpensTheKeyAgainAsItsOwnHandle) {
    HKEY system = OpenSystem();
    HKEY again = Open(system, "");
    HKEY againNull = Open(system, nullptr);
    EXPECT_NE(again, system);
    EXPECT_NE(againNull, again);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    EXPECT_EQ(EnumValue(again, 0).name, "Identifier");
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(againNull), ERROR_SUCCESS);
    // The predefined key opens as itself and needs no closing.
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, ""), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryTest, TheTreeIsReadOnly) {
    for (REGSAM rights : {KEY_WRITE, KEY_ALL_ACCESS, KEY_READ | KEY_SET_VALUE, KEY_CREATE_SUB_KEY}) {
        HKEY key = reinterpret_cast<HKEY>(0x1234);
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, rights, &key), ERROR_ACCESS_DENIED)
            << rights;
        EXPECT_EQ(key, nullptr);
    }
}

TEST_F(RegistryTest, ListingNeedsTheMatchingRight) {
    HKEY valuesOnly = nullptr;
    HKEY keysOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, KEY_QUERY_VALUE, &valuesOnly), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, KEY_ENUMERATE_SUB_KEYS, &keysOnly),
              ERROR_SUCCESS);
    HKEY generic = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, 0x80000000u /* generic read */, &generic),
              ERROR_SUCCESS);
    char name[64];
    DWORD size = sizeof name;
    EXPECT_EQ(EnumValue(valuesOnly, 0).status, ERROR_SUCCESS);
    EXPECT_EQ(RegEnumKeyExA(valuesOnly, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(EnumValue(keysOnly, 0).status, ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegEnumKeyExA(keysOnly, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(EnumValue(generic, 0).status, ERROR_SUCCESS);
    size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(generic, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(generic);
    RegCloseKey(valuesOnly);
    RegCloseKey(keysOnly);
}

TEST_F(RegistryTest, ClosedKeysAreRefusedAndTheirHandlesNeverComeBack) {
    HKEY system = OpenSystem();
    ASSERT_EQ(RegCloseKey(system), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(system), ERROR_INVALID_HANDLE);
    EXPECT_EQ(EnumValue(system, 0).status, ERROR_INVALID_HANDLE);
    char name[64];
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(system, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExA(system, "CentralProcessor", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    // A newer key never takes the closed one's value, so the old handle stays dead.
    std::vector<HKEY> later;
    for (int i = 0; i < 50; ++i) {
        later.push_back(OpenSystem());
        EXPECT_NE(later.back(), system);
    }
    EXPECT_EQ(EnumValue(system, 0).status, ERROR_INVALID_HANDLE);
    for (HKEY key : later) {
        RegCloseKey(key);
    }
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x7777)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ValuesComeInOrderWithTypesAndSizes) {
    HKEY system = OpenSystem();
    const auto identifier = EnumValue(system, 0);
    EXPECT_EQ(identifier.status, ERROR_SUCCESS);
    EXPECT_EQ(identifier.name, "Identifier");
    EXPECT_EQ(identifier.nameSize, 10u);
    EXPECT_EQ(identifier.type, REG_SZ);
    EXPECT_EQ(identifier.dataSize, 7u); // the text and its NUL
    EXPECT_EQ(Prefix(identifier.data, 7), Bytes(std::string_view("x86_64\0", 7)));

    const auto number = EnumValue(system, 1);
    EXPECT_EQ(number.name, "Number");
    EXPECT_EQ(number.type, REG_DWORD);
    EXPECT_EQ(number.dataSize, 4u);
    EXPECT_EQ(Prefix(number.data, 4), (std::vector<BYTE>{0x44, 0x33, 0x22, 0x11}));

    const auto multi = EnumValue(system, 2);
    EXPECT_EQ(multi.type, REG_MULTI_SZ);
    EXPECT_EQ(multi.dataSize, 14u);
    EXPECT_EQ(Prefix(multi.data, 14), Bytes(std::string_view("first\0second\0\0", 14)));

    const auto blob = EnumValue(system, 3);
    EXPECT_EQ(blob.type, REG_BINARY);
    EXPECT_EQ(Prefix(blob.data, blob.dataSize), (std::vector<BYTE>{1, 2, 3}));
    RegCloseKey(system);
}

TEST_F(RegistryTest, IndexesPastTheEndTouchNothing) {
    HKEY system = OpenSystem();
    for (DWORD index : {4u, 5u, 1000u, 0xFFFFFFFFu}) {
        const auto call = EnumValue(system, index, 32, 32);
        EXPECT_EQ(call.status, ERROR_NO_MORE_ITEMS) << index;
        EXPECT_EQ(call.nameSize, 32u);
        EXPECT_EQ(call.dataSize, 32u);
        EXPECT_EQ(call.type, 0xDEADu);
        EXPECT_EQ(call.data, std::vector<BYTE>(32, 0xEE));
    }
    char name[16] = "unchanged";
    DWORD size = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(system, 2, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_STREQ(name, "unchanged");
    EXPECT_EQ(size, sizeof name);
    RegCloseKey(system);
}

TEST_F(RegistryTest, NameThatDoesNotFitGivesMoreDataAndItsBeginning) {
    HKEY system = OpenSystem();
    // "Identifier" has 10 characters: 11 places fit it, 10 do not.
    const auto fits = EnumValue(system, 0, 11, 64);
    EXPECT_EQ(fits.status, ERROR_SUCCESS);
    EXPECT_EQ(fits.nameSize, 10u);

    const auto cut = EnumValue(system, 0, 10, 64);
    EXPECT_EQ(cut.status, ERROR_MORE_DATA);
    EXPECT_EQ(cut.name, "Identifie");
    EXPECT_EQ(cut.nameSize, 10u); // left as given
    EXPECT_EQ(cut.type, REG_SZ);
    EXPECT_EQ(cut.dataSize, 7u);

    const auto shorter = EnumValue(system, 0, 8, 64);
    EXPECT_EQ(shorter.status, ERROR_MORE_DATA);
    EXPECT_EQ(shorter.name, "Identif");
    EXPECT_EQ(shorter.nameSize, 8u);

    EXPECT_EQ(EnumValue(system, 0, 0, 64).status, ERROR_MORE_DATA);

    char keyName[5];
    DWORD keySize = sizeof keyName;
    EXPECT_EQ(RegEnumKeyExA(system, 0, keyName, &keySize, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_STREQ(keyName, "Cent");
    EXPECT_EQ(keySize, sizeof keyName);
    RegCloseKey(system);
}

TEST_F(RegistryTest, DataThatDoesNotFitGivesMoreDataItsSizeAndItsBeginning) {
    m_system->SetString("Long", std::string(2000, 'x'));
    HKEY system = OpenSystem();
    const auto cut = EnumValue(system, 4, 1024, 1024);
    EXPECT_EQ(cut.status, ERROR_MORE_DATA);
    EXPECT_EQ(cut.name, "Long");
    EXPECT_EQ(cut.type, REG_SZ);
    EXPECT_EQ(cut.dataSize, 2001u);
    EXPECT_EQ(cut.data, std::vector<BYTE>(1024, 'x')); // no terminator: it is not the whole value

    const auto exact = EnumValue(system, 4, 1024, 2001);
    EXPECT_EQ(exact.status, ERROR_SUCCESS);
    EXPECT_EQ(exact.dataSize, 2001u);
    EXPECT_EQ(exact.data.back(), 0);
    RegCloseKey(system);
}

TEST_F(RegistryTest, DataSizeAloneIsReportedAndArgumentsAreChecked) {
    HKEY system = OpenSystem();
    char name[32];
    DWORD nameSize = sizeof name;
    DWORD dataSize = 0;
    DWORD type = 0;
    EXPECT_EQ(RegEnumValueA(system, 2, name, &nameSize, nullptr, &type, nullptr, &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(dataSize, 14u);
    EXPECT_EQ(type, REG_MULTI_SZ);
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumValueA(system, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Multi");

    BYTE data[8];
    DWORD reserved = 0;
    nameSize = sizeof name;
    EXPECT_EQ(RegEnumValueA(system, 0, name, &nameSize, nullptr, &type, data, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumValueA(system, 0, name, &nameSize, &reserved, &type, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumValueA(system, 0, nullptr, &nameSize, nullptr, &type, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumValueA(system, 0, name, nullptr, nullptr, &type, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumKeyExA(system, 0, name, &nameSize, &reserved, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegEnumKeyExA(system, 0, name, &nameSize, nullptr, name, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(system);
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

// The walk that prints the tree resets both sizes to 1024 before every call; it must see every value,
// those that do not fit included, and then the end.
TEST_F(RegistryTest, WalkWithFixedBuffersReachesTheEnd) {
    m_system->SetString(std::string(1500, 'n'), "long name");
    m_system->SetString("Long", std::string(3000, 'y'));
    m_system->SetString("Last", "z");
    HKEY system = OpenSystem();
    std::vector<LSTATUS> results;
    std::vector<std::string> names;
    for (DWORD index = 0; index < 100; ++index) {
        const auto call = EnumValue(system, index);
        if (call.status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        results.push_back(call.status);
        names.push_back(call.name);
    }
    EXPECT_EQ(results, (std::vector<LSTATUS>{0, 0, 0, 0, ERROR_MORE_DATA, ERROR_MORE_DATA, 0}));
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(names[4], std::string(1023, 'n'));
    EXPECT_EQ(names[6], "Last");
    RegCloseKey(system);
}

TEST_F(RegistryTest, InjectedOpenFailureGivesItsCode) {
    m_system->FindKey("CentralProcessor")->FindKey("1")->FailOpen(ERROR_ACCESS_DENIED);
    HKEY system = OpenSystem();
    HKEY key = reinterpret_cast<HKEY>(0x1234);
    EXPECT_EQ(RegOpenKeyExA(system, "CentralProcessor\\1", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    RegCloseKey(Open(system, "CentralProcessor\\0"));
    RegCloseKey(Open(system, "CentralProcessor"));

    m_system->FindKey("CentralProcessor")->FindKey("1")->FailOpen(ERROR_SUCCESS);
    RegCloseKey(Open(system, "CentralProcessor\\1"));

    m_system->FailOpen(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemPath, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    RegCloseKey(system);
}

TEST_F(RegistryTest, InjectedListingFailureKeepsFailingAndTheKeyStillCloses) {
    m_system->FailEnumeration(ERROR_READ_FAULT);
    HKEY system = OpenSystem();
    for (DWORD index : {0u, 1u, 2u, 50u, 0xFFFFFFFFu}) {
        EXPECT_EQ(EnumValue(system, index).status, ERROR_READ_FAULT) << index;
        char name[64];
        DWORD size = sizeof name;
        EXPECT_EQ(RegEnumKeyExA(system, index, name, &size, nullptr, nullptr, nullptr, nullptr),
                  ERROR_READ_FAULT);
    }
    // Its subkeys can still be opened and listed.
    HKEY cpu = Open(system, "CentralProcessor\\0");
    EXPECT_EQ(EnumValue(cpu, 0).status, ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(cpu), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(system), ERROR_SUCCESS);
}

TEST_F(RegistryTest, OpenKeysKeepTheirTreeWhenTheSourceChanges) {
    HKEY cpu = Open(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\SYSTEM\\CentralProcessor\\0");
    auto replacement = std::make_shared<RegistryKey>("System");
    replacement->SetString("Identifier", "other");
    platform::SetHardwareTreeOverride(replacement);
    m_system.reset();
    EXPECT_EQ(EnumValue(cpu, 0).name, "~MHz");
    HKEY system = OpenSystem();
    EXPECT_EQ(Prefix(EnumValue(system, 0).data, 6), Bytes(std::string_view("other\0", 6)));
    RegCloseKey(system);
    RegCloseKey(cpu);
}

TEST(RegistryKeyTest, SettersReplaceInPlaceWithoutRegardToCase) {
    RegistryKey key("Key");
    key.SetString("Alpha", "1");
    key.SetDword("Beta", 2);
    key.SetString("ALPHA", "3");
    ASSERT_EQ(key.ValueCount(), 2u);
    EXPECT_EQ(key.ValueAt(0).name, "Alpha");
    EXPECT_EQ(key.ValueAt(0).data, Bytes(std::string_view("3\0", 2)));
    EXPECT_EQ(key.FindValue("beta")->type, REG_DWORD);
    key.SetExpandString("beta", "%x%");
    EXPECT_EQ(key.FindValue("Beta")->type, REG_EXPAND_SZ);
    EXPECT_EQ(key.FindValue("Beta")->data, Bytes(std::string_view("%x%\0", 4)));

    auto& cpu = key.AddPath("Central\\0");
    EXPECT_EQ(&key.AddPath("CENTRAL\\0"), &cpu);
    EXPECT_EQ(&key.AddKey("central"), key.FindKey("Central").get());
    EXPECT_EQ(key.KeyCount(), 1u);

    auto replacement = std::make_shared<RegistryKey>("central");
    key.AttachKey(replacement);
    EXPECT_EQ(key.KeyCount(), 1u);
    EXPECT_EQ(key.FindKey("Central"), replacement);
}

} // namespace
