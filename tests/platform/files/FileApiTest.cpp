// Regular files through CreateFileA, ReadFile, WriteFile and CloseHandle.

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "support/FileBytes.h"

namespace {

namespace fs = std::filesystem;

class FileApiTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/martool-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        for (HANDLE h : open)
            CloseHandle(h);
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, ignored);
        fs::remove_all(dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    HANDLE Create(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
        HANDLE h =
            CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            open.push_back(h);
        return h;
    }

    bool Close(HANDLE h) {
        std::erase(open, h);
        return CloseHandle(h);
    }

    fs::path dir;
    std::vector<HANDLE> open;
};

TEST_F(FileApiTest, DispositionsFollowTheirRules) {
    std::string path = PathOf("file.txt");
    EXPECT_EQ(Create(path, GENERIC_READ, 3, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Create(path, GENERIC_WRITE, 3, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    HANDLE h = Create(path, GENERIC_WRITE, 3, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Close(h);
    EXPECT_EQ(Create(path, GENERIC_WRITE, 3, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    WriteFileBytes(path, "keep");
    h = Create(path, GENERIC_READ | GENERIC_WRITE, 3, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    Close(h);
    EXPECT_EQ(ReadFileBytes(path), "keep");

    h = Create(path, GENERIC_WRITE, 3, TRUNCATE_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Close(h);
    EXPECT_EQ(ReadFileBytes(path), "");

    EXPECT_EQ(Create(path, GENERIC_READ, 3, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Create(path, GENERIC_READ, 3, 6), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_NE(Create(path, GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_NE(Create(PathOf("new.txt"), GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST_F(FileApiTest, ExclusiveShareModeKeepsOtherOpensOutWithoutHarm) {
    std::string path = PathOf("held.txt");
    WriteFileBytes(path, "content");
    HANDLE held = Create(path, GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Create(path, GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadFileBytes(path), "content");
    Close(held);

    HANDLE shared = Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(shared, INVALID_HANDLE_VALUE);
    EXPECT_NE(Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Create(path, GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST_F(FileApiTest, ReadingFollowsTheFileAndItsAccess) {
    std::string path = PathOf("data.bin");
    WriteFileBytes(path, "0123456789");
    HANDLE h = Create(path, GENERIC_READ, 3, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buffer[8];
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(h, buffer, 8, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "01234567");
    ASSERT_TRUE(ReadFile(h, buffer, 8, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "89");
    ASSERT_TRUE(ReadFile(h, buffer, 8, &read, nullptr));
    EXPECT_EQ(read, 0u) << "end of file reads nothing, successfully";
    DWORD written = 5;
    EXPECT_FALSE(WriteFile(h, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(written, 0u);
}

TEST_F(FileApiTest, LastErrorBelongsToEachThread) {
    SetLastError(ERROR_DISK_FULL);
    DWORD seenByOther = 0;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_INVALID_NAME);
    });
    other.join();
    EXPECT_EQ(seenByOther, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_STREQ(GetLastErrorText(), "");
}

} // namespace
