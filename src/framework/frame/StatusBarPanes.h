#pragma once
// The panes of a status bar: each with its indicator ID, style, fixed width and 8-bit text, laid
// side by side from the left, and whether it changed since it was last drawn. Setting a text or a
// style marks the pane, whatever it held before: a caller that sets panes far more often than they
// change knows best what it showed last, and leaves those calls out.

#include <string>
#include <vector>

#include "framework/base/WinUser.h"

namespace framework {

struct StatusPane {
    UINT id = 0;
    UINT style = SBPS_NORMAL;
    int width = 0; // in pixels, borders included
    std::string text;
    std::string tip; // shown while the pointer rests on the pane; empty: none
    bool changed = true; // text or style set since the pane was last drawn
};

class StatusBarPanes {
public:
    // Replaces every pane; the first pane starts at `left`.
    void Reset(std::vector<StatusPane> panes, int left);

    int Count() const { return static_cast<int>(m_panes.size()); }
    // Null when `index` names no pane.
    const StatusPane* At(int index) const {
        return index >= 0 && index < Count() ? &m_panes[static_cast<std::size_t>(index)] : nullptr;
    }
    // -1 when no pane has the ID.
    int IndexOf(UINT id) const;
    // The pane's left edge and width; (0, 0) when `index` names no pane.
    int Left(int index) const;
    int Width(int index) const;
    // Gives the pane a new width and moves the panes after it; false when `index` names no pane.
    bool SetWidth(int index, int width);

    // False when `index` names no pane; a null text is an empty one.
    bool SetText(int index, const char* text) {
        if (At(index) == nullptr)
            return false;
        StatusPane& pane = m_panes[static_cast<std::size_t>(index)];
        pane.text.assign(text != nullptr ? text : "");
        pane.changed = true;
        return true;
    }
    // False when `index` names no pane.
    bool SetTip(int index, const char* tip) {
        if (At(index) == nullptr)
            return false;
        m_panes[static_cast<std::size_t>(index)].tip.assign(tip != nullptr ? tip : "");
        return true;
    }
    bool SetStyle(int index, UINT style) {
        if (At(index) == nullptr)
            return false;
        StatusPane& pane = m_panes[static_cast<std::size_t>(index)];
        pane.style = style;
        pane.changed = true;
        return true;
    }
    // Calls `draw` with the index of each pane changed since the last call, and clears the marks.
    template <class Draw>
    void TakeChanged(Draw draw) {
        for (std::size_t i = 0; i < m_panes.size(); ++i) {
            if (m_panes[i].changed) {
                m_panes[i].changed = false;
                draw(static_cast<int>(i));
            }
        }
    }

private:
    std::vector<StatusPane> m_panes;
    std::vector<int> m_lefts;
};

} // namespace framework
