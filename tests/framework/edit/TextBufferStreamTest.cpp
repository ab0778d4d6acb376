// Runs of single plain bytes typed at one place, as received text arrives, broken by edits elsewhere
// that move the gap and the line index's pending step; checked against a plain string.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/edit/TextBuffer.h"

namespace {

std::vector<std::size_t> LineStarts(const std::string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            starts.push_back(i + 2);
    }
    return starts;
}

TEST(TextBufferStream, RunsOfPlainBytesKeepTextAndLinesExact) {
    using framework::TextBuffer;
    std::mt19937 random(1407);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    static const char plain[] = {'a', '\t', '\0', '\xff', ' '};
    TextBuffer buffer;
    std::string model;
    for (int step = 0; step < 400; ++step) {
        // An edit elsewhere: a block of text with breaks in it, or a cut.
        std::size_t pos = pick(model.size());
        if (pick(1) == 0 || model.size() < 1000) {
            std::string block(pick(3000), 'x');
            for (std::size_t i = 0; i < block.size(); ++i)
                block[i] = "\r\nab"[pick(3)];
            buffer.Insert(pos, block.data(), block.size());
            model.insert(pos, block);
        } else {
            const std::size_t length = std::min(pick(2000), model.size() - pos);
            buffer.Erase(pos, length);
            model.erase(pos, length);
        }
        // A run typed at the end, or anywhere (also between a CR and its LF).
        pos = pick(1) == 0 ? model.size() : pick(model.size());
        std::string run(pick(5000), ' ');
        for (std::size_t i = 0; i < run.size(); ++i) {
            run[i] = plain[pick(4)];
            buffer.InsertPlainByte(pos + i, run[i]);
        }
        model.insert(pos, run);
        if (model.size() > 60000) {
            buffer.Erase(0, 30000);
            model.erase(0, 30000);
        }
        const std::vector<std::size_t> starts = LineStarts(model);
        ASSERT_EQ(buffer.Length(), model.size()) << "step " << step;
        ASSERT_EQ(buffer.LineCount(), starts.size()) << "step " << step;
        if (step % 40 == 0) {
            ASSERT_EQ(buffer.Text(), model) << "step " << step;
            for (std::size_t line = 0; line < starts.size(); ++line)
                ASSERT_EQ(buffer.LineStart(line), starts[line]) << "step " << step << " line " << line;
        }
    }
}

} // namespace
