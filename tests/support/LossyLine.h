#pragma once
// A serial line as a device on it sends: bytes go to a pseudo-terminal's master at a UART's pace
// and never wait for the reader. A pty holds about 20 KB where a UART's driver holds up to 64 KB
// more, so the line may keep some of what the pty refuses, as that driver would, and offers it
// again first; what does not fit there either is lost, as a UART drops it, and counted. The bytes
// are lines of random letters ending in CR LF, made from a seed that the helper prints, so that a
// failure can be run again with the same feed.
//
// The line's clock runs while its own thread does. When the machine stops that thread for longer
// than a UART's buffers last (a loaded virtual machine's processors are taken away for 100 ms at a
// time), sending what fell due meanwhile in one go would be a burst no UART makes, and the reader
// was stopped too; the clock skips that time instead, and the helper reports how much it skipped.

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
    // What a UART's driver holds beyond what a pty does.
    static constexpr std::size_t kDriverBytes = 48 * 1024;

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

    // Starts sending `bytes` to the non-blocking pty master at `bytesPerSecond`, keeping up to
    // `held` bytes that the pty refuses.
    LossyLine(int master, std::string bytes, double bytesPerSecond, std::uint64_t seed,
              std::size_t held = kDriverBytes)
        : m_bytes(std::move(bytes)), m_rate(bytesPerSecond), m_held(held) {
        std::printf("lossy line: %zu bytes at %.0f B/s, seed %llu\n", m_bytes.size(), m_rate,
                    static_cast<unsigned long long>(seed));
        m_thread = std::thread([this, master] { Run(master); });
    }
    ~LossyLine() {
        m_stop = true;
        m_thread.join();
        if (m_skippedMs > 0)
            std::printf("lossy line: its clock skipped %lld ms while the machine stopped its thread\n",
                        static_cast<long long>(m_skippedMs));
    }
    LossyLine(const LossyLine&) = delete;
    LossyLine& operator=(const LossyLine&) = delete;

    // Every byte has been offered to the line, and what it kept has been taken or dropped.
    bool Done() const { return m_done; }
    std::size_t Dropped() const { return m_dropped; }
    // The bytes the line took, in order: what the other end must receive. Once Done().
    const std::string& Delivered() const { return m_delivered; }
    const std::string& Offered() const { return m_bytes; }

private:
    using Clock = std::chrono::steady_clock;

    void Run(int master) {
        constexpr auto kTick = std::chrono::milliseconds(1);
        constexpr auto kStopped = std::chrono::milliseconds(20);
        auto start = Clock::now();
        while ((m_next < m_bytes.size() || !m_kept.empty()) && !m_stop) {
            const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            Send(master, std::min(m_bytes.size(), static_cast<std::size_t>(elapsed * m_rate)));
            const auto before = Clock::now();
            std::this_thread::sleep_for(kTick);
            const auto late = Clock::now() - before - kTick;
            if (late > kStopped) {
                start += late;
                m_skippedMs += std::chrono::duration_cast<std::chrono::milliseconds>(late).count();
            }
        }
        m_done = true;
    }

    // The bytes that fell due by `due` arrive behind those kept; the pty takes what it can, in
    // order, and the line keeps what it refuses while there is room, losing the newest beyond that.
    void Send(int master, std::size_t due) {
        m_kept.append(m_bytes, m_next, due - m_next);
        m_next = due;
        std::size_t taken = 0;
        while (taken < m_kept.size()) {
            const std::size_t chunk = std::min<std::size_t>(m_kept.size() - taken, 4096);
            const ssize_t put = write(master, m_kept.data() + taken, chunk);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                break;
            taken += static_cast<std::size_t>(put);
        }
        m_delivered.append(m_kept, 0, taken);
        m_kept.erase(0, taken);
        if (m_kept.size() > m_held) {
            m_dropped += m_kept.size() - m_held;
            m_kept.resize(m_held);
        }
    }

    const std::string m_bytes;
    const double m_rate;
    const std::size_t m_held;
    std::size_t m_next = 0; // the line has sent everything before this
    std::string m_kept;     // sent, refused by the pty, kept as a driver would
    std::string m_delivered;
    long long m_skippedMs = 0;
    std::atomic<std::size_t> m_dropped{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};
