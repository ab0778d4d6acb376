#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "framework/text/TextBuffer.h"

using framework::TextBuffer;

namespace {

void Append(TextBuffer& buffer, const std::string& bytes) {
    buffer.Insert(buffer.Length(), bytes.data(), bytes.size());
}

TextBuffer Make(const std::string& bytes) {
    TextBuffer buffer;
    Append(buffer, bytes);
    return buffer;
}

// Line starts recomputed from scratch: after every CR LF pair.
std::vector<std::size_t> NaiveLineStarts(const std::string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            starts.push_back(i + 2);
    }
    return starts;
}

// Checks every line start and end and the line of every position (or of a sample for long texts).
void ExpectIndexMatches(const TextBuffer& buffer, const std::string& text, std::size_t positionStride = 1) {
    const std::vector<std::size_t> starts = NaiveLineStarts(text);
    ASSERT_EQ(buffer.Length(), text.size());
    ASSERT_EQ(buffer.LineCount(), starts.size());
    for (std::size_t line = 0; line < starts.size(); ++line) {
        ASSERT_EQ(buffer.LineStart(line), starts[line]) << "line " << line;
        const std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : text.size();
        ASSERT_EQ(buffer.LineEnd(line), end) << "line " << line;
    }
    for (std::size_t pos = 0; pos <= text.size(); pos += positionStride) {
        const auto expected = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), pos) -
                                                       starts.begin() - 1);
        ASSERT_EQ(buffer.LineOf(pos), expected) << "pos " << pos;
    }
}

// The commonest edit skips the scans that keep the line index true, so a CR or LF sent down it would
// corrupt the index without a sign. The test programs check invariants: the run stops there, naming
// the broken condition.
TEST(TextBufferChecks, ALineBreakByteOnThePlainPathStopsTheRun) {
    TextBuffer text = Make("ab");
    EXPECT_DEATH(text.InsertPlainByte(1, '\n'), "check failed: byte != kCR && byte != kLF");
}

} // namespace

TEST(TextBufferContent, InsertingItsOwnBytesIsSafe) {
    std::string text(5000, 'x');
    text += "tail";
    TextBuffer buffer = Make(text);
    const auto pieces = buffer.Pieces(5000, 4); // points into the buffer's own storage
    buffer.Insert(0, pieces[0].data(), pieces[0].size());
    EXPECT_EQ(buffer.Substring(0, 4), "tail");
    buffer.Replace(1, 2, buffer.Pieces(0, 4)[0].data(), 4);
    EXPECT_EQ(buffer.Substring(0, 8), "ttaill" + std::string(2, 'x'));
    buffer.Assign(buffer.Pieces(0, 3)[0].data(), 3);
    EXPECT_EQ(buffer.Text(), "tta");
}

TEST(TextBufferContent, OutOfRangeArgumentsAreClamped) {
    TextBuffer buffer = Make("abc");
    buffer.Erase(2, 100);
    EXPECT_EQ(buffer.Text(), "ab");
    buffer.Insert(99, "z", 1);
    EXPECT_EQ(buffer.Text(), "abz");
    buffer.Insert(0, nullptr, 5);
    EXPECT_EQ(buffer.Text(), "abz");
    EXPECT_EQ(buffer.LineOf(1000), 0u);
    EXPECT_EQ(buffer.LineStart(7), 0u);
}

TEST(TextBufferLines, OnlyCrLfBreaksALine) {
    const std::string text = "ab\r\ncd\rx\ny\n\r\r\r\n\n\r\n";
    TextBuffer buffer = Make(text);
    EXPECT_EQ(buffer.Substring(buffer.LineStart(1), buffer.LineLength(1)), "cd\rx\ny\n\r\r");
    EXPECT_EQ(buffer.Substring(buffer.LineStart(2), buffer.LineLength(2)), "\n");
    EXPECT_EQ(buffer.LineLength(3), 0u);
    ExpectIndexMatches(buffer, text); // a position between CR and LF is still on the first line
}

// Random edits over texts rich in CR and LF, large enough to span many index blocks, checked
// against a recount after every edit.
TEST(TextBufferLines, IndexMatchesRecountAfterRandomEdits) {
    std::mt19937 random(20240601);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    const auto randomBytes = [&](std::size_t length) {
        static const char alphabet[] = {'\r', '\n', 'a', 'b', '\t', '\0'};
        std::string bytes(length, ' ');
        for (char& byte : bytes)
            byte = alphabet[pick(5)];
        return bytes;
    };
    TextBuffer buffer;
    std::string model;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t pos = pick(model.size());
        const std::size_t kind = pick(10);
        if (kind == 10) {
            // A run of plain bytes typed one at a time, as received text arrives: mostly at the end,
            // else anywhere, also between a CR and its LF.
            const std::size_t at = pick(1) == 0 ? model.size() : pos;
            const std::string run(pick(3000), "a\t\0"[step % 3]);
            for (std::size_t i = 0; i < run.size(); ++i)
                buffer.InsertPlainByte(at + i, run[i]);
            model.insert(at, run);
        } else if (kind <= 4 || model.size() < 100) {
            const std::string bytes = randomBytes(kind == 0 ? pick(9000) : pick(4));
            buffer.Insert(pos, bytes.data(), bytes.size());
            model.insert(pos, bytes);
        } else if (kind <= 7) {
            const std::size_t length = std::min(kind == 5 ? pick(7000) : pick(3), model.size() - pos);
            buffer.Erase(pos, length);
            model.erase(pos, length);
        } else {
            const std::size_t length = std::min(pick(6), model.size() - pos);
            const std::string bytes = randomBytes(pick(6));
            buffer.Replace(pos, length, bytes.data(), bytes.size());
            model.replace(pos, length, bytes);
        }
        if (model.size() > 60000) {
            buffer.Erase(0, 30000);
            model.erase(0, 30000);
        }
        ASSERT_EQ(buffer.LineCount(), NaiveLineStarts(model).size()) << "step " << step;
        if (step % 100 == 0) {
            ASSERT_NO_FATAL_FAILURE(ExpectIndexMatches(buffer, model, 7)) << "step " << step;
            ASSERT_EQ(buffer.Text(), model);
        }
    }
    ExpectIndexMatches(buffer, model);
}

// Appending one byte at a time must not leave more than a quarter of slack, and the index must stay
// small even when every line is empty.
TEST(TextBufferMemory, AtMostTwoBytesPerCharacter) {
    const std::size_t size = 4u << 20;
    TextBuffer typed;
    for (std::size_t i = 0; i < size; ++i) {
        const char byte = i % 64 == 62 ? '\r' : i % 64 == 63 ? '\n' : 'x';
        typed.Insert(typed.Length(), &byte, 1);
    }
    EXPECT_LE(typed.MemoryBytes(), size + size / 3);

    std::string breaks(size, '\n');
    for (std::size_t i = 0; i < size; i += 2)
        breaks[i] = '\r';
    TextBuffer empties = Make(breaks);
    EXPECT_EQ(empties.LineCount(), size / 2 + 1);
    EXPECT_LE(empties.MemoryBytes(), 2 * size);

    empties.Erase(0, size - 10);
    EXPECT_LT(empties.MemoryBytes(), size / 2) << "memory is given back when the text shrinks";
    ExpectIndexMatches(empties, breaks.substr(size - 10));
}
