#include <gtest/gtest.h>

#include "framework/edit/KeyTranslator.h"

using framework::KeyTranslator;

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

int Code(int key, Qt::KeyboardModifiers modifiers, const QString& text = QString()) {
    const auto result = KeyTranslator::Translate(key, modifiers, text);
    return result ? *result : -1;
}

} // namespace

TEST(KeyTranslatorKeys, EditingKeysGiveTheirControlCharacters) {
    EXPECT_EQ(Code(Qt::Key_Return, kNone), 13);
    EXPECT_EQ(Code(Qt::Key_Enter, Qt::KeypadModifier), 13);
    EXPECT_EQ(Code(Qt::Key_Return, kShift), 13);
    EXPECT_EQ(Code(Qt::Key_Return, kCtrl), 10);
    EXPECT_EQ(Code(Qt::Key_Backspace, kNone), 8);
    EXPECT_EQ(Code(Qt::Key_Backspace, kCtrl), 0x7F);
    EXPECT_EQ(Code(Qt::Key_Tab, kNone), 9);
    EXPECT_EQ(Code(Qt::Key_Backtab, kShift), 9);
    EXPECT_EQ(Code(Qt::Key_Escape, kNone), 27);
}

TEST(KeyTranslatorKeys, NavigationAndModifierCombinationsGiveNothing) {
    const int keys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,    Qt::Key_Home,
                        Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete,  Qt::Key_Insert,
                        Qt::Key_F1,   Qt::Key_F12,    Qt::Key_Shift,    Qt::Key_Control, Qt::Key_Menu};
    for (const int key : keys) {
        EXPECT_EQ(Code(key, kNone), -1) << std::hex << key;
        EXPECT_EQ(Code(key, kShift), -1) << std::hex << key;
        EXPECT_EQ(Code(key, kCtrl), -1) << std::hex << key;
    }
    EXPECT_EQ(Code(Qt::Key_A, Qt::AltModifier, "a"), -1);
    EXPECT_EQ(Code(Qt::Key_A, Qt::MetaModifier, "a"), -1);
}
