#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/base/Check.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/base/SystemPaths.h"

// The sanitizers read their options before main, and CTest's environment for discovered tests reaches
// a test program only in part, so the options the suite relies on are built in here; a developer's own
// ASAN_OPTIONS and UBSAN_OPTIONS still override them.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=1:strict_string_checks=1";
}
extern "C" const char* __ubsan_default_options();
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
#endif

int main(int argc, char** argv) {
    // The code's invariants are checked in every test.
    platform::EnableChecks();
    // Tests never need a display and never touch real serial ports, nor the machine's lock files.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetDeviceDirectory("/nonexistent/martool-test-devices");
    platform::SetSysfsDirectory("/nonexistent/martool-test-sysfs");
    char locks[] = "/tmp/martool-test-locks-XXXXXX";
    bool haveLocks = mkdtemp(locks) != nullptr;
    platform::SetLockDirectories({haveLocks ? locks : "/nonexistent/martool-test-locks"});
    testing::InitGoogleTest(&argc, argv);
    // A death test runs in a program started afresh: the parent has Qt's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (haveLocks)
        std::filesystem::remove_all(locks);
    return result;
}
