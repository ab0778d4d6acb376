#pragma once
// Reads from an open port until `count` bytes have come, never more; a pseudo-terminal moves bytes a
// moment after they are written, so an empty read, which must succeed, is tried again a little later.

#include <algorithm>
#include <gtest/gtest.h>
#include <chrono>
#include <string>
#include <thread>

#include "platform/files/FileApi.h"

inline std::string ReadPort(HANDLE port, std::size_t count, int tries = 400) {
    std::string got;
    for (int i = 0; i < tries && got.size() < count; ++i) {
        char buffer[256];
        DWORD read = 0;
        if (!ReadFile(port, buffer, static_cast<DWORD>(std::min(sizeof buffer, count - got.size())), &read, nullptr)) {
            ADD_FAILURE() << "a read failed: " << GetLastError();
            break;
        }
        got.append(buffer, read);
        if (read == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return got;
}
