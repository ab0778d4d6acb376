#include "framework/edit/KeyTranslator.h"

#include <QKeyEvent>

namespace framework {

namespace {

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kTab = 9;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kReturn = 13;
constexpr unsigned char kEscape = 27;
constexpr unsigned char kDelete = 0x7F;

bool IsControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character < 0xA0);
}

} // namespace

std::optional<unsigned char> KeyTranslator::Translate(const QKeyEvent& event) {
    return Translate(event.key(), event.modifiers(), event.text());
}

std::optional<unsigned char> KeyTranslator::Translate(int key, Qt::KeyboardModifiers modifiers,
                                                      const QString& text) {
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    // Alt and Meta combinations belong to menus and to the desktop, never to the line.
    if (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier))
        return std::nullopt;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return control ? kLineFeed : kReturn;
    case Qt::Key_Backspace:
        return control ? kDelete : kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return control ? std::nullopt : std::optional<unsigned char>(kTab);
    case Qt::Key_Escape:
        return kEscape;
    default:
        break;
    }
    return control ? ControlCharacter(key) : PrintableKey(key, modifiers, text);
}

// Ctrl+letter gives 1-26; Ctrl with @ [ \ ] ^ _ gives 0 and 27-31, Ctrl+Space gives 0, as ASCII
// defines the control characters. Ctrl with anything else gives nothing.
std::optional<unsigned char> KeyTranslator::ControlCharacter(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<unsigned char>(key - Qt::Key_A + 1);
    if (key == Qt::Key_Space || key == Qt::Key_At)
        return static_cast<unsigned char>(0);
    if (key >= Qt::Key_BracketLeft && key <= Qt::Key_Underscore)
        return static_cast<unsigned char>(key - Qt::Key_At);
    return std::nullopt;
}

std::optional<unsigned char> KeyTranslator::PrintableKey(int key, Qt::KeyboardModifiers modifiers,
                                                         const QString& text) {
    if (text.size() == 1 && !IsControl(text.front().unicode()))
        return Printable(text.front().unicode());
    if (text.size() == 2 && text.front().isHighSurrogate())
        return std::nullopt; // one character beyond the basic plane: not Latin-1
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    // Qt names letters by their capital; the lower case is 0x20 above it, in ASCII and Latin-1 alike
    // (0xD7, the multiplication sign, sits among the capitals but has no case).
    const bool capital =
        (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= 0xC0 && key <= 0xDE && key != 0xD7);
    if (capital && !shift)
        return static_cast<unsigned char>(key + 0x20);
    if (key >= 0 && key <= 0x10FFFF)
        return Printable(static_cast<char32_t>(key));
    return std::nullopt; // Qt's own key codes: navigation, function and modifier keys
}

std::optional<unsigned char> KeyTranslator::Printable(char32_t character) {
    if (IsControl(character) || character > 0xFF)
        return std::nullopt;
    return static_cast<unsigned char>(character);
}

} // namespace framework
