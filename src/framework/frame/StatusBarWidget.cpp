#include "framework/frame/StatusBarWidget.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "framework/base/RepaintScheduler.h"
#include "framework/base/TextContrast.h"

namespace framework {

namespace {

// The fill of a sunken pane: a lit indicator, the same green in light and dark palettes.
const QColor kLitFill(0x8e, 0xdb, 0x86);
// Space between a pane's bevel and its text, above and below.
constexpr int kTextVerticalMargin = 1;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void DrawBevel(QPainter& painter, const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
}

} // namespace

StatusBarWidget::StatusBarWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QWidget>(owner, parent), m_style(style) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int StatusBarWidget::TopInset() const {
    // The top border is a line with a pixel of space below it.
    return (m_style & CBRS_BORDER_TOP) != 0 ? 2 : 0;
}

int StatusBarWidget::TextWidth(const std::string& text) const {
    return fontMetrics().horizontalAdvance(Latin1(text));
}

void StatusBarWidget::SetPanes(std::vector<StatusPane> panes) {
    for (StatusPane& pane : panes)
        pane.width = TextWidth(pane.text) + kPanePadding;
    m_panes.Reset(std::move(panes), kLeftMargin);
    updateGeometry();
    MarkDirty();
}

bool StatusBarWidget::WidenPaneFor(int index, const char* text) {
    if (m_panes.At(index) == nullptr)
        return false;
    const int width = TextWidth(text != nullptr ? text : "") + kPanePadding;
    if (width > m_panes.Width(index)) {
        m_panes.SetWidth(index, width);
        updateGeometry();
        MarkDirty();
    }
    return true;
}

void StatusBarWidget::MarkDirty() {
    m_dirtyAll = true;
    RepaintScheduler::Instance().MarkDirty(this);
}

void StatusBarWidget::DrawFrame() {
    const bool all = m_dirtyAll;
    m_dirtyAll = false;
    m_panes.TakeChanged([&](int index) {
        if (!all)
            update(ItemRect(index));
    });
    if (all)
        update();
}

QRect StatusBarWidget::ItemRect(int index) const {
    if (m_panes.At(index) == nullptr)
        return QRect();
    int top = TopInset();
    return QRect(m_panes.Left(index), top, m_panes.Width(index), std::max(0, height() - top));
}

int StatusBarWidget::PaneAt(const QPoint& point) const {
    for (int i = 0; i < m_panes.Count(); ++i) {
        if (ItemRect(i).contains(point))
            return i;
    }
    return -1;
}

// Each pane has its own tip, so the bar answers tooltip requests itself.
bool StatusBarWidget::event(QEvent* event) {
    if (event->type() == RepaintScheduler::FrameEventType()) {
        DrawFrame();
        event->accept();
        return true;
    }
    if (event->type() != QEvent::ToolTip)
        return WndWidget<QWidget>::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const StatusPane* pane = m_panes.At(PaneAt(help->pos()));
    if (pane == nullptr || pane->tip.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), Latin1(pane->tip), this, ItemRect(PaneAt(help->pos())));
    }
    return true;
}

QSize StatusBarWidget::sizeHint() const {
    int last = m_panes.Count() - 1;
    int width = last >= 0 ? m_panes.Left(last) + m_panes.Width(last) : kLeftMargin;
    int height = TopInset() + 2 * (1 + kBevel + kTextVerticalMargin) + fontMetrics().height();
    return QSize(width, height);
}

void StatusBarWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if ((m_style & CBRS_BORDER_TOP) != 0) {
        painter.setPen(palette().mid().color());
        painter.drawLine(0, 0, width() - 1, 0);
    }
    for (int i = 0; i < m_panes.Count(); ++i) {
        const QRect place = ItemRect(i);
        if (event->region().intersects(place))
            PaintPane(painter, *m_panes.At(i), place);
    }
}

// The bar shows the line's state whatever the state of its window: it is drawn in the active colours
// also while a modal dialog has disabled the frame.
void StatusBarWidget::PaintPane(QPainter& painter, const StatusPane& pane, const QRect& place) {
    const QColor light = palette().color(QPalette::Active, QPalette::Light);
    const QColor dark = palette().color(QPalette::Active, QPalette::Dark);
    QRect box = place.adjusted(kPaneGap, 1, -kPaneGap, -1);
    QColor fill = palette().color(QPalette::Active, QPalette::Window);
    if ((pane.style & SBPS_POPOUT) != 0) {
        DrawBevel(painter, box, light, dark);
    } else {
        fill = kLitFill;
        painter.fillRect(box, fill);
        DrawBevel(painter, box, dark, light);
    }
    int inset = kBevel + kTextMargin;
    QRect textBox = box.adjusted(inset, kBevel, -inset, -kBevel);
    painter.save();
    painter.setClipRect(textBox);
    // The palette's text colour where it can be read on the fill; a dark palette's light text is
    // not readable on the lit green, nor is every palette's text on its own window colour.
    painter.setPen(ReadableTextColour(fill, palette().color(QPalette::Active, QPalette::WindowText)));
    DrawText(painter, pane.text, textBox);
    painter.restore();
}

// The counts change at every frame while bytes stream in. Laid out as text (shaped, line by line)
// a pane's few characters cost more than the whole frame's terminal lines; placed as glyphs with the
// font's own kerned advances they look the same for the texts a status bar holds.
void StatusBarWidget::DrawText(QPainter& painter, const std::string& text, const QRect& box) {
    if (m_glyphFont != font() || !m_glyphs.isValid()) {
        m_glyphFont = font();
        m_glyphs = QRawFont::fromFont(m_glyphFont);
        QString latin1;
        for (int c = 0; c < 256; ++c)
            latin1.append(QChar(c));
        const QList<quint32> indexes = m_glyphs.glyphIndexesForString(latin1);
        for (int c = 0; c < 256 && c < indexes.size(); ++c)
            m_latin1[static_cast<std::size_t>(c)] = indexes[c];
    }
    QList<quint32> glyphs;
    glyphs.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text)
        glyphs.append(m_latin1[static_cast<unsigned char>(c)]);
    if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end()) {
        // A character the font lacks: Qt finds a font that has it.
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Latin1(text));
        return;
    }
    const QList<QPointF> advances = m_glyphs.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    const QFontMetricsF metrics(m_glyphFont);
    QPointF at(box.left(), box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent());
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    for (const QPointF& advance : advances) {
        positions.append(at);
        at += advance;
    }
    QGlyphRun run;
    run.setRawFont(m_glyphs);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

} // namespace framework
