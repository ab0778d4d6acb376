#pragma once
// How an edit view shows each byte in one cell. Printable bytes (0x20-0x7E, 0xA0-0xFF) are their
// Latin-1 character. Control bytes must be visible, not swallowed or drawn as boxes of nothing:
// 0x00-0x1F (a lone CR or LF among them) are their Unicode control picture (U+2400 + byte), 0x7F is
// U+2421; where the font has no control pictures they are drawn in reverse video as the letter of
// their caret notation (^@, ^A ... ^_, ^?). 0x80-0x9F, which have no pictures, are drawn as their two
// hex digits stacked in a framed cell. The soft hyphen 0xAD, which fonts render as nothing, is shown as a
// picture of a hyphen. TAB is blank space up to the next tab stop.

namespace framework {

class EditViewGlyphs {
public:
    enum class Kind { Plain, Picture, Hex, Tab };

    struct Glyph {
        Kind kind;
        char16_t character; // what to draw for Plain and Picture
    };

    static Glyph Of(unsigned char byte) {
        if (byte == '\t')
            return {Kind::Tab, u' '};
        if (byte < 0x20)
            return {Kind::Picture, static_cast<char16_t>(0x2400 + byte)};
        if (byte == 0x7F)
            return {Kind::Picture, u'\u2421'};
        if (byte >= 0x80 && byte < 0xA0)
            return {Kind::Hex, static_cast<char16_t>(byte)};
        if (byte == 0xAD)
            return {Kind::Picture, u'-'};
        return {Kind::Plain, static_cast<char16_t>(byte)};
    }

    // The letter that follows '^' in the caret notation of a control byte (0x00-0x1F, 0x7F).
    static char16_t CaretLetter(unsigned char byte) {
        return byte == 0x7F ? u'?' : static_cast<char16_t>(byte + 0x40);
    }
};

} // namespace framework
