#include "framework/base/Latin1Text.h"

namespace afx {

QString FromLatin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLatin1(const QString& text) {
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

char Latin1Upper(char ch) {
    auto c = static_cast<unsigned char>(ch);
    // Small letters a-z and 0xE0-0xFE (but 0xF7, the division sign) sit 0x20 above their capitals;
    // 0xDF (sharp s) and 0xFF (y diaeresis) have no capital in Latin-1.
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char>(c - 0x20);
    return ch;
}

std::string Latin1Upper(std::string_view text) {
    std::string upper(text);
    for (char& ch : upper)
        ch = Latin1Upper(ch);
    return upper;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Latin1Upper(text[i]) != Latin1Upper(prefix[i]))
            return false;
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

} // namespace afx
