#include "framework/CString.h"

#include <algorithm>
#include <cctype>

CString CString::Left(int count) const {
    if (count <= 0)
        return CString();
    return CString(m_text.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first, int count) const {
    if (first < 0)
        first = 0;
    if (static_cast<std::size_t>(first) >= m_text.size())
        return CString();
    std::size_t n = count < 0 ? std::string::npos : static_cast<std::size_t>(count);
    return CString(m_text.substr(static_cast<std::size_t>(first), n));
}

void CString::MakeUpper() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
}

void CString::MakeLower() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
}

int CString::CompareNoCase(const char* other) const {
    std::string_view b(other ? other : "");
    std::size_t n = std::min(m_text.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(m_text[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (m_text.size() == b.size())
        return 0;
    return m_text.size() < b.size() ? -1 : 1;
}
