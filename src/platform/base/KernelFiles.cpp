#include "platform/base/KernelFiles.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Attribute files in /sys hold one short line; a page is the most the kernel ever gives for one.
constexpr std::size_t kAttributeLimit = 4096;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

bool IsRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Reads up to limit bytes; false on a read error.
bool ReadUpTo(int fd, std::size_t limit, std::string& text) {
    char chunk[4096];
    while (text.size() < limit) {
        const auto wanted = std::min(sizeof chunk, limit - text.size());
        const auto got = ::read(fd, chunk, wanted);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

std::string Trimmed(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    std::size_t start = 0;
    while (start < text.size() && blank(text[start])) {
        ++start;
    }
    return text.substr(start);
}

} // namespace

std::optional<std::string> ReadTextFile(const std::string& path, std::size_t maxBytes) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0 || !IsRegularFile(file.Get())) {
        return std::nullopt;
    }
    std::string text;
    if (!ReadUpTo(file.Get(), maxBytes + 1, text)) {
        return std::nullopt;
    }
    if (text.size() > maxBytes) {
        const auto lastNewline = maxBytes == 0 ? std::string::npos : text.rfind('\n', maxBytes - 1);
        text.resize(lastNewline == std::string::npos ? 0 : lastNewline + 1);
    }
    return text;
}

std::optional<std::string> ReadAttribute(const std::string& path) {
    auto text = ReadTextFile(path, kAttributeLimit);
    if (!text) {
        return std::nullopt;
    }
    // Device-tree strings end with a NUL rather than a newline.
    const auto end = text->find_first_of(std::string_view("\n\0", 2));
    if (end != std::string::npos) {
        text->resize(end);
    }
    for (auto& c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t') {
            c = '?';
        } else if (byte == 0x7F) {
            c = '?';
        }
    }
    auto line = Trimmed(std::move(*text));
    if (line.empty()) {
        return std::nullopt;
    }
    return line;
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(folder);
    return names;
}

std::optional<std::string> LinkTargetName(const std::string& path) {
    char target[4096];
    const auto length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) {
        return std::nullopt;
    }
    std::string text(target, static_cast<std::size_t>(length));
    while (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    const auto name = text.substr(text.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..") {
        return std::nullopt;
    }
    return name;
}

bool PathExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

} // namespace platform
