// Eight megabytes of random bytes, every value among them, from a pseudo-terminal's other end through
// the whole program: the port chosen in the port dialog, the real loop, the terminal's line-feed
// rule and its edit control, then the real Save buffer command. The saved file must be byte for byte
// the text the terminal's rules make of the feed, with line feeds filtered and without.
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <random>
#include <thread>
#include <unistd.h>

#include "AppHarness.h"
#include "support/RunSeed.h"
#include "framework/dialogs/CFileDialog.h"
#include "framework/edit/EditView.h"
#include "framework/text/TextBuffer.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/tty/PtyPair.h"
#include "resources/ResourceIds.h"
#include "support/FileBytes.h"

namespace {

constexpr std::size_t kFeedBytes = std::size_t{8} << 20;
// Sent after the random bytes: a line break and a text that no backspace follows, so the terminal
// ends with it exactly when the whole feed has been handled.
const std::string kEndMark = "\r-- end of feed --";

// What the terminal makes of received bytes while the caret stays at the end: a line feed is
// dropped while filtering; CR and LF each break the line (CR LF in the text); backspace removes the
// character, or the line break, before the caret; every other byte is itself.
std::string TerminalTextFor(const std::string& feed, bool filterLf) {
    std::string text;
    text.reserve(feed.size() + feed.size() / 64);
    for (char byte : feed) {
        if (byte == '\n' && filterLf)
            continue;
        if (byte == '\r' || byte == '\n') {
            text += "\r\n";
        } else if (byte == '\b') {
            bool afterBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
            text.resize(text.size() - std::min<std::size_t>(text.size(), afterBreak ? 2 : 1));
        } else {
            text += byte;
        }
    }
    return text;
}

std::string RandomFeed(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::string feed(kFeedBytes, '\0');
    for (std::size_t i = 0; i < feed.size(); i += 8) {
        std::uint64_t bits = random();
        for (std::size_t j = 0; j < 8 && i + j < feed.size(); ++j)
            feed[i + j] = static_cast<char>(bits >> (8 * j));
    }
    return feed;
}

bool HoldsEveryByteValue(const std::string& bytes) {
    std::array<bool, 256> seen{};
    for (char byte : bytes)
        seen[static_cast<unsigned char>(byte)] = true;
    return std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
}

// Writes everything to the pty's master, waiting whenever the line is full, until done or stopped.
class Writer {
public:
    Writer(int master, const std::string& bytes) : m_thread([this, master, &bytes] { Run(master, bytes); }) {}
    ~Writer() {
        m_stop = true;
        m_thread.join();
    }
    bool Failed() const { return m_failed; }
    bool Done() const { return m_done; }

private:
    void Run(int master, const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size() && !m_stop) {
            ssize_t put = write(master, bytes.data() + sent, std::min<std::size_t>(bytes.size() - sent, 65536));
            if (put > 0) {
                sent += static_cast<std::size_t>(put);
            } else if (put < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd room{master, POLLOUT, 0};
                poll(&room, 1, 50);
            } else {
                m_failed = true;
                break;
            }
        }
        m_done = true;
    }

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Where two texts part, with a little of each around it.
std::string FirstDifference(const std::string& expected, const std::string& got) {
    std::size_t at = 0;
    while (at < expected.size() && at < got.size() && expected[at] == got[at])
        ++at;
    auto hex = [at](const std::string& s) {
        std::string out;
        char cell[4];
        for (std::size_t i = at >= 8 ? at - 8 : 0; i < std::min(s.size(), at + 8); ++i) {
            std::snprintf(cell, sizeof cell, "%02x ", static_cast<unsigned char>(s[i]));
            out += cell;
        }
        return out;
    };
    return "lengths " + std::to_string(expected.size()) + " (expected) and " + std::to_string(got.size()) +
           ", first difference at byte " + std::to_string(at) + "\n  expected " + hex(expected) + "\n  saved    " +
           hex(got);
}

class RandomFeedThroughTheProgram : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        keptDirectory = platform::DeviceDirectory();
        ASSERT_TRUE(pty.Ok() && devices.isValid() && files.isValid());
        // The pty appears as a port of the fixed table, so the port dialog offers and opens it.
        std::string node = devices.path().toStdString() + "/" + (Filtering() ? "rfcomm14" : "rfcomm15");
        ASSERT_EQ(symlink(pty.SlavePath().c_str(), node.c_str()), 0);
        platform::SetDeviceDirectory(devices.path().toStdString());
    }
    void TearDown() override {
        afx::SetFileDialogHandler({});
        platform::SetDeviceDirectory(keptDirectory);
    }
    bool Filtering() const { return GetParam(); }
    const char* PortName() const { return Filtering() ? "COM127" : "COM128"; }

    std::string keptDirectory;
    PtyPair pty;
    QTemporaryDir devices;
    QTemporaryDir files;
};

TEST_P(RandomFeedThroughTheProgram, SavedTextIsWhatTheTerminalRulesMakeOfTheFeed) {
    const std::uint64_t seed = RunSeed();
    SCOPED_TRACE(SeedNote(seed));
    const std::string feed = RandomFeed(seed) + kEndMark;
    ASSERT_TRUE(HoldsEveryByteValue(feed));
    const std::string expected = TerminalTextFor(feed, Filtering());

    AppHarness harness;
    harness.Start([&](CDialog& d) {
        AppHarness::Choose(d, IDC_PORT, PortName());
        AppHarness::Press(d, IDOK);
    });
    ASSERT_EQ(harness.Port().GetState(), Idle);
    ASSERT_EQ(harness.Port().GetName(), PortName());
    AppHarness::WithDialog(
        [&](CDialog& d) {
            AppHarness::Tick(d, IDC_FILTER_LF, Filtering());
            AppHarness::Press(d, IDOK);
        },
        [&] { harness.Frame()->SendMessage(WM_COMMAND, ID_TERMINAL_SETTINGS, 0); });
    ASSERT_EQ(harness.Frame()->m_wndTerminal.m_bFilterLF != 0, Filtering());

    const framework::EditView& view = *harness.Frame()->m_wndTerminal.GetView();
    const std::string ending = expected.substr(expected.size() - kEndMark.size());
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    bool whole = false;
    {
        Writer writer(pty.Master(), feed);
        // Ends when the terminal holds the whole feed, or when nothing has changed for a while after
        // the last byte went out (a feed that lost or gained bytes never ends right).
        std::size_t lastLength = 0;
        auto lastChange = start;
        unsigned turns = 0;
        harness.RunUntil(
            [&] {
                std::size_t length = view.TextLength();
                if (length == expected.size() &&
                    view.Buffer().Substring(length - ending.size(), ending.size()) == ending)
                    return whole = true;
                if (++turns % 256 != 0)
                    return false;
                auto now = Clock::now();
                if (length != lastLength) {
                    lastLength = length;
                    lastChange = now;
                }
                return writer.Done() && now - lastChange > std::chrono::seconds(5);
            },
            300000);
        EXPECT_FALSE(writer.Failed());
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%zu bytes through the program in %.2f s (%.2f MB/s)\n", feed.size(), seconds,
                static_cast<double>(feed.size()) / seconds / 1e6);

    const std::string path = files.filePath("terminal.bin").toStdString();
    afx::SetFileDialogHandler([&](const FileDialogArgs&) { return std::optional<std::string>(path); });
    harness.Frame()->SendMessage(WM_COMMAND, ID_SAVE_BUFFER, 0);
    EXPECT_TRUE(harness.boxes.empty());
    const std::string saved = ReadFileBytes(path);
    EXPECT_TRUE(whole) << "the terminal never held the whole feed";
    ASSERT_TRUE(saved == expected) << FirstDifference(expected, saved);
}

INSTANTIATE_TEST_SUITE_P(LineFeeds, RandomFeedThroughTheProgram, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& p) {
                             return p.param ? "Filtered" : "Shown";
                         });

} // namespace
