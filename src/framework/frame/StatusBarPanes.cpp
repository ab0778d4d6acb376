#include "framework/frame/StatusBarPanes.h"

#include "platform/base/Check.h"

namespace framework {

void StatusBarPanes::Reset(std::vector<StatusPane> panes, int left) {
    m_panes = std::move(panes);
    m_lefts.clear();
    m_lefts.reserve(m_panes.size());
    for (const StatusPane& pane : m_panes) {
        m_lefts.push_back(left);
        left += pane.width;
    }
}

bool StatusBarPanes::SetWidth(int index, int width) {
    if (At(index) == nullptr)
        return false;
    m_panes[static_cast<std::size_t>(index)].width = width;
    MT_CHECK(m_lefts.size() == m_panes.size());
    for (std::size_t i = static_cast<std::size_t>(index) + 1; i < m_panes.size(); ++i)
        m_lefts[i] = m_lefts[i - 1] + m_panes[i - 1].width;
    return true;
}

int StatusBarPanes::IndexOf(UINT id) const {
    for (int i = 0; i < Count(); ++i)
        if (m_panes[static_cast<std::size_t>(i)].id == id)
            return i;
    return -1;
}

int StatusBarPanes::Left(int index) const {
    return At(index) != nullptr ? m_lefts[static_cast<std::size_t>(index)] : 0;
}

int StatusBarPanes::Width(int index) const {
    const StatusPane* pane = At(index);
    return pane != nullptr ? pane->width : 0;
}

} // namespace framework
