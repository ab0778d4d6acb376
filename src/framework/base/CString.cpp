#include "framework/base/CString.h"

CString CString::Left(int count) const {
    if (count <= 0)
        return CString();
    return CString(m_text.substr(0, static_cast<std::size_t>(count)));
}
