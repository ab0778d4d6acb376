#include "framework/edit/EditView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/edit/EditViewPainter.h"
#include "framework/edit/EditViewScrollBar.h"
#include "framework/base/RepaintScheduler.h"

namespace framework {

namespace {

constexpr int kBlinkMs = 530;
// About ten seconds of blinking after the last change.
constexpr int kBlinksBeforeRest = 19;

// Clipboard text from the bytes of the text: each CR LF pair becomes the desktop's line feed, every
// other byte its Latin-1 character.
QString ToClipboard(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text.append(QLatin1Char('\n'));
            ++i;
        } else {
            text.append(QChar(static_cast<unsigned char>(bytes[i])));
        }
    }
    return text;
}

// Bytes from clipboard text: any line break (CR LF, CR, LF) becomes CR LF, characters outside
// Latin-1 become '?'.
std::string FromClipboard(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            bytes += "\r\n";
        } else if (c <= 0xFF) {
            bytes += static_cast<char>(c);
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            bytes += '?';
        }
    }
    return bytes;
}

} // namespace

EditView::EditView(QWidget* parent, RepaintScheduler* scheduler)
    : QAbstractScrollArea(parent),
      m_scheduler(scheduler != nullptr ? scheduler : &RepaintScheduler::Instance()), m_menu(new QMenu(this)) {
    setHorizontalScrollBar(new EditViewScrollBar(Qt::Horizontal, this));
    setVerticalScrollBar(new EditViewScrollBar(Qt::Vertical, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    QWidget::setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    UpdateMetrics();

    m_copyAction = m_menu->addAction(QStringLiteral("Copy"), this, &EditView::Copy);
    m_pasteAction = m_menu->addAction(QStringLiteral("Paste"), this, &EditView::Paste);
    m_menu->addAction(QStringLiteral("Select All"), this, &EditView::SelectAll);

    // The base class re-lays out its scroll bars whenever their range changes, through a queued
    // call; with both bars always shown there is nothing to lay out, and a terminal changes the
    // vertical range with every line it receives.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, nullptr);
        bar->installEventFilter(this);
    }

    m_blink.setInterval(kBlinkMs);
    connect(&m_blink, &QTimer::timeout, this, &EditView::OnBlink);
    SyncScrollBars();
}

EditView::~EditView() = default;

void EditView::DefaultChar(unsigned char ch) {
    // Typed at the caret with nothing selected, a character changes its own line and the lines
    // after it. One that replaces a selection may remove lines, as a backspace may.
    const bool grows = ch != '\b' && !m_model.HasSelection();
    m_grewFrom = m_model.CaretLine();
    m_model.DefaultChar(ch);
    AfterChange(grows);
}

void EditView::ReplaceSel(const char* text, std::size_t length) {
    m_model.ReplaceSelection(text, length);
    AfterChange();
}

void EditView::SetText(const char* text, std::size_t length) {
    m_model.SetText(text, length);
    m_knownWidth = 0;
    AfterChange();
}

std::string EditView::Text() const {
    return m_model.Buffer().Text();
}

std::size_t EditView::TextLength() const {
    return m_model.Buffer().Length();
}

const TextBuffer& EditView::Buffer() const {
    return m_model.Buffer();
}

void EditView::GetSel(std::size_t& start, std::size_t& end) const {
    start = m_model.SelectionStart();
    end = m_model.SelectionEnd();
}

void EditView::SetSel(std::size_t start, std::size_t end) {
    if (start == kNoSelection)
        m_model.Select(m_model.Caret(), m_model.Caret());
    else
        m_model.Select(start, end);
    m_goalKept = false;
    AfterChange();
}

void EditView::SetTypedCharHandler(std::function<void(unsigned, bool)> handler) {
    m_typedHandler = std::move(handler);
}

void EditView::SetFont(const QFont& font) {
    setFont(font);
}

// However the font changes (SetFont, setFont, the application's font), the cells follow it.
void EditView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    UpdateMetrics();
    ScrollCaretIntoView(false);
    SyncScrollBars();
    MarkDirty();
}

void EditView::Copy() const {
    if (m_model.HasSelection())
        QGuiApplication::clipboard()->setText(ToClipboard(m_model.SelectedBytes()));
}

void EditView::Paste() {
    const std::string bytes = FromClipboard(QGuiApplication::clipboard()->text());
    m_model.ReplaceSelection(bytes.data(), bytes.size());
    AfterChange();
}

void EditView::SelectAll() {
    m_model.Select(0, m_model.Buffer().Length());
    AfterChange();
}

std::size_t EditView::VisibleLines() const {
    return m_visibleLines;
}

std::size_t EditView::VisibleColumns() const {
    return m_visibleColumns;
}

// The window's size in whole lines and columns, worked out when it or the font changes rather than
// at every character.
void EditView::UpdateVisibleArea() {
    m_visibleLines = static_cast<std::size_t>(std::max(1, viewport()->height() / m_lineHeight));
    m_visibleColumns = static_cast<std::size_t>(std::max(1.0, std::floor(viewport()->width() / m_cellWidth)));
}

void EditView::UpdateMetrics() {
    const QFontMetricsF metrics(font());
    // Cells fall on whole pixels, as on a terminal's screen: every glyph is drawn alike wherever it
    // stands, and a cell can be drawn once and copied.
    m_cellWidth = std::max<qreal>(1, std::round(metrics.horizontalAdvance(QLatin1Char('M'))));
    m_lineHeight = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    m_ascent = static_cast<int>(std::round(metrics.ascent()));
    m_glyphs = EditViewGlyphTables(font(), m_lineHeight);
    UpdateVisibleArea();
}

void EditView::AfterChange(bool textOnlyGrew) {
    m_caretShown = true;
    m_changedSinceFrame = true;
    if (m_blinksLeft <= 1 && hasFocus())
        StartBlinking();
    m_blinksLeft = kBlinksBeforeRest;
    ScrollCaretIntoView(textOnlyGrew);
    // Bytes arriving one at a time leave the bars to the frame; any other change shows in them at
    // once, for whoever moves them next.
    if (textOnlyGrew)
        m_barsBehind = true;
    else
        SyncScrollBars();
    if (textOnlyGrew)
        MarkLinesDirty(m_grewFrom);
    else
        MarkDirty();
}

void EditView::MarkDirty() {
    m_dirtyAll = true;
    if (m_scheduler != nullptr)
        m_scheduler->MarkDirty(this);
}

void EditView::MarkLinesDirty(std::size_t line) {
    m_dirtyFrom = std::min(m_dirtyFrom, line);
    if (m_scheduler != nullptr)
        m_scheduler->MarkDirty(this);
}

void EditView::StartBlinking() {
    m_blinksLeft = kBlinksBeforeRest;
    if (!m_blink.isActive())
        m_blink.start();
}

void EditView::OnBlink() {
    // The last blink leaves the caret shown.
    if (--m_blinksLeft <= 0 && m_caretShown) {
        m_blink.stop();
        return;
    }
    m_caretShown = !m_caretShown;
    MarkLinesDirty(m_model.CaretLine());
}

bool EditView::event(QEvent* event) {
    if (event->type() != RepaintScheduler::FrameEventType())
        return QAbstractScrollArea::event(event);
    if (m_barsBehind)
        SyncScrollBars();
    // While the text keeps changing (typed, or streaming in) the caret stays shown, as carets do:
    // its blink starts over at each frame that shows a change. Started over once a frame rather than
    // at every character, that costs nothing per byte, and a blink no wake-up of its own.
    if (std::exchange(m_changedSinceFrame, false) && m_blink.isActive())
        m_blink.start();
    DrawFrame();
    event->accept();
    return true;
}

// A modal dialog disables the window around the view, and with it the view; the text stays as
// readable as it was. Only a view disabled itself is drawn greyed.
QPalette::ColorGroup EditView::ColourGroup() const {
    if (testAttribute(Qt::WA_ForceDisabled))
        return QPalette::Disabled;
    return isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

void EditView::paintEvent(QPaintEvent* event) {
    NotePainted(event->region());
    QPainter painter(viewport());
    EditViewPainter::Geometry geometry;
    geometry.cellWidth = m_cellWidth;
    geometry.lineHeight = m_lineHeight;
    geometry.ascent = m_ascent;
    geometry.firstLine = FirstVisibleLine();
    geometry.lines = static_cast<std::size_t>(viewport()->height() / m_lineHeight + 1);
    geometry.firstColumn = HorizontalOffset();
    geometry.columns = static_cast<std::size_t>(viewport()->width() / m_cellWidth) + 1;
    geometry.width = viewport()->width();
    geometry.height = viewport()->height();
    geometry.paintTop = event->rect().top();
    geometry.paintBottom = event->rect().bottom() + 1;
    const QPalette& colors = palette();
    const QPalette::ColorGroup group = ColourGroup();
    const EditViewPainter::Colors palette{
        colors.color(group, QPalette::Text), colors.color(group, QPalette::Base),
        colors.color(group, QPalette::Highlight), colors.color(group, QPalette::HighlightedText),
        colors.color(group, QPalette::Link)};
    m_cells.Use({m_cellWidth, m_lineHeight, m_ascent, palette.text, palette.base, m_glyphs.Main()});
    EditViewPainter painterOfLines(painter, m_model, geometry, palette, m_glyphs, &m_cells);
    const EditViewPainter::Result result = painterOfLines.Paint(hasFocus() && m_caretShown, m_knownWidth);
    m_lastPaint = {result.lines, result.bytes};
    if (result.widest > m_knownWidth) {
        m_knownWidth = result.widest;
        SyncScrollBars();
    }
}

void EditView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateVisibleArea();
    SyncScrollBars();
    MarkDirty();
}

void EditView::focusInEvent(QFocusEvent* event) {
    m_caretShown = true;
    StartBlinking();
    MarkDirty();
    QAbstractScrollArea::focusInEvent(event);
}

void EditView::focusOutEvent(QFocusEvent* event) {
    m_blink.stop();
    MarkDirty();
    QAbstractScrollArea::focusOutEvent(event);
}

} // namespace framework
