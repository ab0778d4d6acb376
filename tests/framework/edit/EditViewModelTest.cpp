#include <gtest/gtest.h>

#include <random>
#include <string>

#include "framework/edit/EditViewColumns.h"
#include "framework/edit/EditViewModel.h"

using framework::EditViewColumns;
using framework::EditViewModel;

namespace {

EditViewModel Make(const std::string& text) {
    EditViewModel model;
    model.SetText(text.data(), text.size());
    return model;
}

void Type(EditViewModel& model, const std::string& chars) {
    for (const char c : chars)
        model.DefaultChar(static_cast<unsigned char>(c));
}

std::string Text(const EditViewModel& model) {
    return model.Buffer().Text();
}

// The caret's line and column worked out from scratch.
std::pair<std::size_t, std::size_t> Place(const std::string& text, std::size_t caret) {
    std::size_t line = 0;
    std::size_t column = 0;
    for (std::size_t i = 0; i < caret; ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++line;
            column = 0;
            ++i;
        } else {
            column = EditViewColumns::Advance(column, static_cast<unsigned char>(text[i]));
        }
    }
    return {line, column};
}

} // namespace

// CR and LF each break the line with a CR LF pair; other control bytes go in as they are.
TEST(EditViewModelChars, CrAndLfInsertALineBreakOtherBytesThemselves) {
    EditViewModel model;
    Type(model, "ab\rcd\n");
    EXPECT_EQ(Text(model), "ab\r\ncd\r\n");
    EXPECT_EQ(model.Buffer().LineCount(), 3u);
    EXPECT_EQ(model.Caret(), 8u);
    model = EditViewModel();
    for (const unsigned char c : {0x00, 0x07, 0x09, 0x1B, 0x7F, 0x80, 0xFF})
        model.DefaultChar(c);
    EXPECT_EQ(Text(model), std::string("\x00\x07\x09\x1B\x7F\x80\xFF", 7));
}

TEST(EditViewModelChars, BackspaceRules) {
    EditViewModel model = Make("ab\r\ncd");
    model.DefaultChar(8);
    EXPECT_EQ(Text(model), "ab\r\ncd") << "nothing before the caret at the start";

    model.Select(4, 4);
    model.DefaultChar(8);
    EXPECT_EQ(Text(model), "abcd") << "a line break goes as a whole";
    EXPECT_EQ(model.Caret(), 2u);

    model.Select(1, 3);
    model.DefaultChar(8);
    EXPECT_EQ(Text(model), "ad") << "a selection goes, nothing more";
    EXPECT_EQ(model.Caret(), 1u);

    model = Make("a\nb\r");
    model.Select(2, 2);
    model.DefaultChar(8);
    EXPECT_EQ(Text(model), "ab\r") << "a lone LF is one character";
    model.Select(3, 3);
    model.DefaultChar(8);
    EXPECT_EQ(Text(model), "ab");
}

TEST(EditViewModelChars, InsertingInTheMiddleAndOverASelection) {
    EditViewModel model = Make("abcd");
    model.Select(2, 2);
    model.DefaultChar('X');
    EXPECT_EQ(Text(model), "abXcd");
    EXPECT_EQ(model.Caret(), 3u);
    model.Select(4, 1); // backwards: anchor after caret
    EXPECT_EQ(model.SelectionStart(), 1u);
    EXPECT_EQ(model.SelectionEnd(), 4u);
    model.DefaultChar('Z');
    EXPECT_EQ(Text(model), "aZd");
    EXPECT_EQ(model.Caret(), 2u);
    EXPECT_FALSE(model.HasSelection());
    model.Select(0, 3);
    model.ReplaceSelection("\x01\r", 2);
    EXPECT_EQ(Text(model), "\x01\r") << "raw bytes, no translation";
}

TEST(EditViewModelBreaks, NavigationStepsOverTheWholePair) {
    EditViewModel model = Make("ab\r\ncd");
    EXPECT_EQ(model.Right(2), 4u);
    EXPECT_EQ(model.Left(4), 2u);
    EXPECT_EQ(model.Right(1), 2u);
    EXPECT_EQ(model.Left(5), 4u);
    EXPECT_EQ(model.Right(6), 6u);
    EXPECT_EQ(model.Left(0), 0u);
    EXPECT_EQ(model.Home(5), 4u);
    EXPECT_EQ(model.End(1), 2u);
    EXPECT_EQ(model.End(4), 6u);

    model = Make("a\r\rb\n\nc");
    EXPECT_EQ(model.Right(1), 2u) << "lone CR and LF are single characters";
    EXPECT_EQ(model.Left(5), 4u);
}

TEST(EditViewModelBreaks, CaretNeverStandsBetweenCrAndLf) {
    EditViewModel model = Make("ab\r\ncd");
    model.Select(3, 3);
    EXPECT_EQ(model.Caret(), 2u);
    model.Select(3, 6);
    EXPECT_EQ(model.Anchor(), 2u);
    model.MoveCaret(3, false);
    EXPECT_EQ(model.Caret(), 2u);

    // Inserting a CR before a lone LF completes a pair: the caret goes after it.
    model = Make("a\nb");
    model.Select(1, 1);
    model.ReplaceSelection("\r", 1);
    EXPECT_EQ(model.Caret(), 3u);
    EXPECT_EQ(model.Buffer().LineCount(), 2u);

    // Removing what stood between a CR and an LF joins them: the caret goes before the pair.
    model = Make("a\rx\nb");
    model.Select(3, 3);
    EXPECT_EQ(model.CaretColumn(), 3u);
    model.Backspace();
    EXPECT_EQ(Text(model), "a\r\nb");
    EXPECT_EQ(model.Caret(), 1u);
    EXPECT_EQ(model.CaretLine(), 0u);
    EXPECT_EQ(model.CaretColumn(), 1u);

    model = Make("a\rx\nb");
    model.Select(2, 2);
    model.DeleteForward();
    EXPECT_EQ(model.Caret(), 1u);
}

TEST(EditViewModelPlaces, ColumnsFollowTabStops) {
    EditViewModel model = Make("\tab\r\nx\ty");
    EXPECT_EQ(model.ColumnOf(1), 8u);
    EXPECT_EQ(model.ColumnOf(3), 10u);
    EXPECT_EQ(model.ColumnOf(7), 8u);
    EXPECT_EQ(model.PosAt(0, 3), 0u) << "nearer the tab's start";
    EXPECT_EQ(model.PosAt(0, 5), 1u) << "nearer the tab's end";
    EXPECT_EQ(model.PosAt(0, 99), 3u) << "past the end of the line";
    EXPECT_EQ(model.PosAt(1, 9), 8u);
    EXPECT_EQ(model.PosAt(7, 0), 5u) << "past the last line";
}

TEST(EditViewModelPlaces, WordsAndWordSteps) {
    EditViewModel model = Make("foo  bar.baz\r\nqux");
    EXPECT_EQ(model.WordRight(0), 5u);
    EXPECT_EQ(model.WordRight(5), 8u);
    EXPECT_EQ(model.WordRight(12), 14u);
    EXPECT_EQ(model.WordLeft(14), 12u);
    EXPECT_EQ(model.WordLeft(12), 9u);
    EXPECT_EQ(model.WordLeft(5), 0u);
    EXPECT_EQ(model.WordAt(6), std::make_pair(std::size_t{5}, std::size_t{8}));
    EXPECT_EQ(model.WordAt(3), std::make_pair(std::size_t{0}, std::size_t{3}));
}

// The caret's line and column are kept up to date in quick ways while typing; check them against a
// recount after random typing, deleting and moving.
TEST(EditViewModelPlaces, CaretPlaceMatchesARecount) {
    std::mt19937 random(7);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n)(random); };
    const unsigned char chars[] = {'a', '\t', '\r', '\n', 8, 8, 0x01};
    EditViewModel model;
    for (int step = 0; step < 5000; ++step) {
        const std::size_t kind = pick(20);
        if (kind == 0)
            model.MoveCaret(pick(model.Buffer().Length()), false);
        else if (kind == 1)
            model.DeleteForward();
        else if (kind == 2)
            model.Select(pick(model.Buffer().Length()), pick(model.Buffer().Length()));
        else if (kind == 3)
            model.ReplaceSelection("x\r", 2);
        else if (kind == 4)
            model.ReplaceSelection("\n", 1);
        else if (kind == 5)
            model.ReplaceSelection("\r", 1);
        else
            model.DefaultChar(chars[pick(sizeof chars - 1)]);
        const auto expected = Place(Text(model), model.Caret());
        ASSERT_EQ(model.CaretLine(), expected.first) << "step " << step;
        ASSERT_EQ(model.CaretColumn(), expected.second) << "step " << step;
    }
}
