#pragma once
// Turns a key press into the character an edit control receives, the way the desktop turns key
// strokes into character messages: printable characters as their Latin-1 byte, Enter as CR, the
// Ctrl combinations as control characters. Keys that only move or edit (arrows, Home, Delete,
// function keys) give no character.
//
// The result is computed from the key code and the modifiers. The event's text is consulted only
// for printable characters, and only when it holds one printable character: it is the one place
// that knows what the keyboard layout made of the key (Caps Lock, shifted symbols, AltGr, dead keys
// and accented letters). Without text (synthetic events) the key code says the character, with
// Shift choosing the case of letters.

#include <QString>
#include <Qt>
#include <optional>

class QKeyEvent;

namespace framework {

class KeyTranslator {
public:
    static std::optional<unsigned char> Translate(int key, Qt::KeyboardModifiers modifiers,
                                                  const QString& text = QString());
    static std::optional<unsigned char> Translate(const QKeyEvent& event);

    // A printable character as its Latin-1 byte; none for control characters and for characters
    // outside Latin-1. Used for text committed by an input method as well.
    static std::optional<unsigned char> Printable(char32_t character);

private:
    static std::optional<unsigned char> ControlCharacter(int key);
    static std::optional<unsigned char> PrintableKey(int key, Qt::KeyboardModifiers modifiers,
                                                     const QString& text);
};

} // namespace framework
