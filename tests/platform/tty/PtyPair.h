#pragma once
// A pseudo-terminal pair for tests: the test keeps the master side and hands the slave's path
// (/dev/pts/N) to CreateFileA. The master reads what the port writes and writes what it receives.

#include <asm/termbits.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

class PtyPair {
public:
    PtyPair() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = ptsname(m_master);
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return m_master >= 0 && !m_slavePath.empty(); }
    int Master() const { return m_master; } // non-blocking
    const std::string& SlavePath() const { return m_slavePath; }
    // The path as CreateFileA takes it for a device that is no COM name.
    std::string DevicePath() const { return "\\\\.\\" + m_slavePath; }

    void CloseMaster() {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
    }

    bool Send(const std::string& bytes) {
        return write(m_master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // Reads from the master until count bytes have come or the time is up.
    std::string Receive(std::size_t count, int timeoutMs = 2000) {
        std::string got;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd waiting{m_master, POLLIN, 0};
            if (poll(&waiting, 1, 20) <= 0)
                continue;
            char buffer[4096];
            ssize_t n = read(m_master, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    // The slave's settings, as the master sees them.
    termios2 Settings() const {
        termios2 settings{};
        ioctl(m_master, TCGETS2, &settings);
        return settings;
    }
    void SetSettings(const termios2& settings) { ioctl(m_master, TCSETS2, &settings); }

private:
    int m_master = -1;
    std::string m_slavePath;
};
