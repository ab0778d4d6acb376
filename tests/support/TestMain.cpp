#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "platform/DeviceDirectory.h"

int main(int argc, char** argv) {
    // Tests never need a display and never touch real serial ports.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetDeviceDirectory("/nonexistent/martool-test-devices");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
