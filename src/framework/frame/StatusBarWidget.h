#pragma once
// The Qt widget of a status bar: fixed-width panes from the left, each drawn as a box with its
// text. A pop-out pane (SBPS_POPOUT) is raised on the window colour; a normal pane is drawn sunken
// and lit, so that which is which shows at a glance. Text takes the palette's colour where that is
// readable on the pane's fill, and black or white where it is not, so a dark palette's panes read
// as well as a light one's. Text wider than its pane is cut off at the pane's edge. Changes take
// effect at once and are drawn at the next frame of the RepaintScheduler.

#include <QWidget>
#include <string>
#include <QFont>
#include <QRawFont>
#include <array>
#include <vector>

#include "framework/base/RepaintScheduler.h"
#include "framework/frame/StatusBarPanes.h"
#include "framework/window/WndWidget.h"

class QPainter;

namespace framework {

class StatusBarWidget : public WndWidget<QWidget> {
public:
    // On each side of its text a pane has a gap to its neighbour, its bevel and a margin.
    static constexpr int kPaneGap = 1;
    static constexpr int kBevel = 1;
    static constexpr int kTextMargin = 3;
    static constexpr int kPanePadding = 2 * (kPaneGap + kBevel + kTextMargin);
    static constexpr int kLeftMargin = 2;

    StatusBarWidget(CWnd* owner, QWidget* parent, DWORD style);

    // Replaces the panes; each one's width is its text's width in the bar's font plus the padding.
    void SetPanes(std::vector<StatusPane> panes);
    // Widens the pane, when it is narrower, so that `text` fits in it whole; a pane never narrows.
    // False when `index` names no pane.
    bool WidenPaneFor(int index, const char* text);
    const StatusBarPanes& Panes() const { return m_panes; }
    // False when `index` names no pane; the pane is drawn at the next frame when `update` is set.
    bool SetPaneText(int index, const char* text, bool update) {
        if (!m_panes.SetText(index, text))
            return false;
        if (update)
            RepaintScheduler::Instance().MarkDirty(this);
        return true;
    }
    bool SetPaneStyle(int index, UINT style) {
        if (!m_panes.SetStyle(index, style))
            return false;
        // A line's indicator is drawn within a frame, also while text streams in.
        RepaintScheduler::Instance().MarkDirty(this, true);
        return true;
    }
    bool SetPaneTip(int index, const char* tip) { return m_panes.SetTip(index, tip); }
    // The pane's rectangle in the bar; an empty rectangle when `index` names no pane.
    QRect ItemRect(int index) const;
    // The pane under a point of the bar; -1 when there is none.
    int PaneAt(const QPoint& point) const;
    // The width of 8-bit text in the bar's font.
    int TextWidth(const std::string& text) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int TopInset() const;
    void PaintPane(QPainter& painter, const StatusPane& pane, const QRect& place);
    // A pane's text as glyphs of the bar's font, left-aligned and centred vertically in `box`.
    void DrawText(QPainter& painter, const std::string& text, const QRect& box);
    // The panes were laid out afresh: the frame draws the whole bar.
    void MarkDirty();
    // Draws the whole bar after a new layout, otherwise only the panes that changed (a count that
    // changes at every frame would otherwise repaint the whole bar at frame rate).
    void DrawFrame();

    StatusBarPanes m_panes;
    DWORD m_style;
    bool m_dirtyAll = true;
    // The bar's font as glyphs, and the glyphs of the Latin-1 characters in it, taken when a text
    // is first drawn in that font.
    QFont m_glyphFont;
    QRawFont m_glyphs;
    std::array<quint32, 256> m_latin1{};
};

} // namespace framework
