#include <gtest/gtest.h>

#include <random>
#include <string>

#include "framework/text/EditViewColumns.h"
#include "framework/text/EditViewModel.h"

using framework::EditViewColumns;
using framework::EditViewModel;

namespace {

EditViewModel Make(const std::string& text) {
    EditViewModel model;
    model.SetText(text.data(), text.size());
    return model;
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

// Steps go over a CR LF pair whole and places past the end are clamped. The caret is kept out of a
// pair by the recount below; a selection's other end must be too.
TEST(EditViewModelBreaks, NavigationStepsOverTheWholePair) {
    EditViewModel model = Make("ab\r\ncd");
    EXPECT_EQ(model.Left(4), 2u);
    EXPECT_EQ(model.Right(6), 6u);
    EXPECT_EQ(model.Left(0), 0u);
    EXPECT_EQ(model.Home(5), 4u);
    EXPECT_EQ(model.End(1), 2u);
    EXPECT_EQ(model.End(4), 6u);
    EXPECT_EQ(model.PosAt(0, 99), 2u) << "past the end of the line";
    EXPECT_EQ(model.PosAt(7, 0), 4u) << "past the last line";
    model.Select(3, 6);
    EXPECT_EQ(model.Anchor(), 2u);

    model = Make("a\r\rb\n\nc");
    EXPECT_EQ(model.Right(1), 2u) << "lone CR and LF are single characters";
    EXPECT_EQ(model.Left(5), 4u);
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
