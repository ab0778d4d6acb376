#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/utsname.h>

#include "platform/base/LastError.h"
#include "platform/base/SystemVersion.h"

namespace {

class SystemVersionTest : public testing::Test {
protected:
    void TearDown() override { platform::RestoreSystemVersion(); }

    static OSVERSIONINFOA Query() {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        EXPECT_EQ(GetVersionExA(&info), TRUE);
        return info;
    }
};

TEST_F(SystemVersionTest, ReportsTheNtFamilyWithTheRunningKernel) {
    utsname names{};
    ASSERT_EQ(uname(&names), 0);
    const std::string release = names.release;
    const auto info = Query();
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(std::string(info.szCSDVersion), release.substr(0, 127));
    EXPECT_EQ(std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion),
              release.substr(0, release.find('.', release.find('.') + 1)));
}

TEST_F(SystemVersionTest, TakesTheNumbersFromTheKernelRelease) {
    struct Case {
        const char* release;
        DWORD major, minor, build;
    };
    const Case cases[] = {
        {"6.1.0-18-amd64", 6, 1, 0},
        {"5.15.133.1-microsoft-standard-WSL2", 5, 15, 133},
        {"4.19", 4, 19, 0},
        {"6.8.0-rc1+", 6, 8, 0},
        {"6.18.44-fc-v1272", 6, 18, 44},
        {"10.2", 10, 2, 0},
        {"", 0, 0, 0},
        {"linux", 0, 0, 0},
        {"99999999999.1.2", 0, 0, 0},
    };
    for (const auto& c : cases) {
        platform::SetReportedKernelRelease(c.release);
        const auto info = Query();
        EXPECT_EQ(info.dwMajorVersion, c.major) << c.release;
        EXPECT_EQ(info.dwMinorVersion, c.minor) << c.release;
        EXPECT_EQ(info.dwBuildNumber, c.build) << c.release;
        EXPECT_STREQ(info.szCSDVersion, c.release);
    }
    // A release text longer than the record's text field is cut to fit, with its NUL.
    const std::string longRelease = "6.1.0-" + std::string(300, 'x');
    platform::SetReportedKernelRelease(longRelease);
    EXPECT_EQ(std::string(Query().szCSDVersion), longRelease.substr(0, 127));
}

TEST_F(SystemVersionTest, TheOlderFamilyCanBeChosenAndRestored) {
    platform::SetReportedKernelRelease("6.1.23-custom");
    platform::SetReportedPlatform(VER_PLATFORM_WIN32_WINDOWS);
    auto info = Query();
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    // That family puts major and minor version in the build number's high word.
    EXPECT_EQ(info.dwBuildNumber, 0x06010017u);

    platform::RestoreSystemVersion();
    info = Query();
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
}

TEST_F(SystemVersionTest, WrongSizeFailsAndLeavesTheRecordAlone) {
    for (DWORD size : {0u, 147u, 149u, 156u, 0xFFFFFFFFu}) {
        OSVERSIONINFOA info;
        std::memset(&info, 0xA5, sizeof info);
        info.dwOSVersionInfoSize = size;
        const OSVERSIONINFOA before = info;
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(GetVersionExA(&info), FALSE) << size;
        EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
    }
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetVersionExA(nullptr), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
