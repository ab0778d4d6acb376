#pragma once
// A serial line as a device on it sends: bytes go to a pseudo-terminal's master at a UART's pace
// and never wait for the reader. What the pty refuses (its buffers are full because nobody reads
// the other end) is lost, as a UART would drop it, and counted. The bytes are lines of random
// letters ending in CR LF, made from a seed that the helper prints, so that a failure can be run
// again with the same feed.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

class LossyLine {
public:
    // Bytes per second on a line of `baud` with ten bits to a character (8N1).
    static double Pace(double baud) { return baud / 10.0; }

    // Lines of 80 bytes (78 letters, CR, LF), `count` bytes in all.
    static std::string Lines(std::size_t count, std::uint64_t seed) {
        std::mt19937_64 random(seed);
        std::string text(count, '\0');
        for (std::size_t i = 0; i < count; ++i)
            text[i] = i % 80 == 78 ? '\r' : i % 80 == 79 ? '\n' : static_cast<char>('a' + random() % 26);
        return text;
    }

    // Starts sending `bytes` to the non-blocking pty master at `bytesPerSecond`.
    LossyLine(int master, std::string bytes, double bytesPerSecond, std::uint64_t seed)
        : m_bytes(std::move(bytes)), m_rate(bytesPerSecond) {
        std::printf("lossy line: %zu bytes at %.0f B/s, seed %llu\n", m_bytes.size(), m_rate,
                    static_cast<unsigned long long>(seed));
        m_thread = std::thread([this, master] { Run(master); });
    }
    ~LossyLine() {
        m_stop = true;
        m_thread.join();
    }
    LossyLine(const LossyLine&) = delete;
    LossyLine& operator=(const LossyLine&) = delete;

    // Every byte has been offered to the line.
    bool Done() const { return m_done; }
    std::size_t Dropped() const { return m_dropped; }
    // The bytes the line took, in order: what the other end must receive. Once Done().
    const std::string& Delivered() const { return m_delivered; }
    const std::string& Offered() const { return m_bytes; }

private:
    void Run(int master) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        std::size_t offered = 0;
        while (offered < m_bytes.size() && !m_stop) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            const auto due = std::min(m_bytes.size(), static_cast<std::size_t>(elapsed * m_rate));
            while (offered < due) {
                const std::size_t chunk = std::min<std::size_t>(due - offered, 4096);
                ssize_t put = write(master, m_bytes.data() + offered, chunk);
                if (put < 0 && errno == EINTR)
                    continue;
                const std::size_t taken = put > 0 ? static_cast<std::size_t>(put) : 0;
                m_delivered.append(m_bytes, offered, taken);
                m_dropped += chunk - taken;
                offered += chunk;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        m_done = true;
    }

    const std::string m_bytes;
    const double m_rate;
    std::string m_delivered;
    std::atomic<std::size_t> m_dropped{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};
