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

} // namespace
