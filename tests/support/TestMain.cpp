#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/ports/DeviceDirectory.h"
#include "platform/base/SystemPaths.h"

int main(int argc, char** argv) {
    // Tests never need a display and never touch real serial ports, nor the machine's lock files.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetDeviceDirectory("/nonexistent/martool-test-devices");
    platform::SetSysfsDirectory("/nonexistent/martool-test-sysfs");
    char locks[] = "/tmp/martool-test-locks-XXXXXX";
    bool haveLocks = mkdtemp(locks) != nullptr;
    platform::SetLockDirectories({haveLocks ? locks : "/nonexistent/martool-test-locks"});
    testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (haveLocks)
        std::filesystem::remove_all(locks);
    return result;
}
