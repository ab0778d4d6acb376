#pragma once
// A multi-line edit control for 8-bit text: the terminal's window onto its buffer.
//
// The text is bytes, with CR LF as the line break; lines never wrap and run on to the right, with a
// horizontal and a vertical scroll bar, and the view scrolls by itself after every change so that
// the caret stays in sight. The system's fixed-pitch font is used unless another is set. Keys that
// stand for a character (see KeyTranslator) either go to the typed-character handler, when one is
// set, or to the control's own character handling, DefaultChar. Navigation keys, Delete, the mouse,
// Ctrl+Insert (copy), Shift+Insert (paste) and a context menu (Copy, Paste, Select All) edit the text
// and nothing else.
//
// Every change takes effect at once; the drawing follows at most once per frame through the
// RepaintScheduler, so that text arriving a byte at a time costs no repaint per byte. The scroll
// bars are part of the drawing: where the view stands (FirstVisibleLine, HorizontalOffset) changes at
// once; after a character the bars are brought to it when the frame comes, or before the user acts
// on one of them, and after any other change at once.

#include <QAbstractScrollArea>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <string>

#include "framework/edit/EditViewCells.h"
#include "framework/edit/EditViewGlyphTables.h"
#include "framework/text/EditViewModel.h"

class QMenu;
class QScrollBar;

namespace framework {

class RepaintScheduler;
class TextBuffer;

class EditView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // SetSel with this start keeps the caret and clears the selection.
    static constexpr std::size_t kNoSelection = static_cast<std::size_t>(-1);

    // Draws through the shared scheduler unless given another.
    explicit EditView(QWidget* parent = nullptr, RepaintScheduler* scheduler = nullptr);
    ~EditView() override;

    // The control's own character handling: printable and control bytes are inserted at the caret
    // in place of the selection; CR and LF each insert a line break (CR LF); backspace (8) removes
    // the selection or the character (or line break) before the caret; then the caret is scrolled
    // into view.
    void DefaultChar(unsigned char ch);
    // Replaces the selection with raw bytes (no translation); the caret ends after them.
    void ReplaceSel(const char* text, std::size_t length);
    // Replaces the whole text; caret at the start, nothing selected.
    void SetText(const char* text, std::size_t length);
    std::string Text() const;
    std::size_t TextLength() const;
    void GetSel(std::size_t& start, std::size_t& end) const;
    // Selects from start to end (the caret goes to end); positions past the text mean its end.
    void SetSel(std::size_t start, std::size_t end);
    const TextBuffer& Buffer() const;

    // When set, keys that give a character go to the handler and do nothing else (the owner decides
    // whether to show them, through DefaultChar); when not set, they go to DefaultChar.
    void SetTypedCharHandler(std::function<void(unsigned code, bool autoRepeat)> handler);

    void SetFont(const QFont& font);

    void Copy() const;
    void Paste();
    void SelectAll();
    QMenu* ContextMenu() const { return m_menu; }

    // Where things stand, for the owner and for tests.
    std::size_t CaretLine() const { return m_model.CaretLine(); }
    std::size_t CaretColumn() const { return m_model.CaretColumn(); }
    std::size_t FirstVisibleLine() const;
    std::size_t HorizontalOffset() const; // in columns
    std::size_t VisibleLines() const;     // lines wholly in the window
    std::size_t VisibleColumns() const;   // columns wholly in the window
    int LineHeight() const { return m_lineHeight; }
    qreal CellWidth() const { return m_cellWidth; }

    struct PaintStats {
        std::size_t lines = 0; // lines drawn
        std::size_t bytes = 0; // bytes of text looked at
    };
    PaintStats LastPaint() const { return m_lastPaint; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Typed(unsigned char ch, bool autoRepeat);
    bool Navigate(const QKeyEvent& event);
    bool NavigateLines(int key, bool extend);
    void MoveCaret(std::size_t pos, bool extend);
    std::size_t PosAt(const QPoint& point) const;
    // textOnlyGrew: a character was added at the caret, on the line m_grewFrom, and none removed, so
    // the scroll ranges cannot have shrunk (and the bars may wait for the frame).
    void AfterChange(bool textOnlyGrew = false);
    void ScrollCaretIntoView(bool textOnlyGrew);
    void ScrollLines(std::ptrdiff_t delta);
    void SyncScrollBars();
    std::size_t VerticalRange() const;
    std::size_t HorizontalRange() const;
    void UpdateVisibleArea();
    void SetBar(Qt::Orientation which, std::size_t maximum, std::size_t page, std::size_t value);
    void UpdateMetrics();
    // The whole view is drawn at the next frame.
    void MarkDirty();
    // Only lines from `line` down changed; the frame may move the rest of the pixels rather than
    // draw them again.
    void MarkLinesDirty(std::size_t line);
    void DrawFrame();
    void NotePainted(const QRegion& area);
    void OnBlink();
    QPalette::ColorGroup ColourGroup() const;

    EditViewModel m_model;
    RepaintScheduler* m_scheduler;
    std::function<void(unsigned, bool)> m_typedHandler;
    QMenu* m_menu;
    QAction* m_copyAction;
    QAction* m_pasteAction;
    QTimer m_blink;
    bool m_caretShown = true;
    // The caret stops blinking, shown, after a while without change, as desktop carets do: an idle
    // terminal then costs no wake-ups at all. Any change or key starts it again.
    int m_blinksLeft = 0;
    // The text changed since the last frame: the blink starts over from that frame.
    bool m_changedSinceFrame = false;
    void StartBlinking();
    bool m_selecting = false;

    // Where the view stands, and how the bars and the screen catch up with it. The pieces of state
    // below agree as follows:
    // - m_firstLine and m_firstColumn are where the view stands: the truth, changed at once by every
    //   edit (ScrollCaretIntoView) and by every move of a bar (scrollContentsBy).
    // - m_vertical and m_horizontal mirror what each scroll bar holds, so that handing a bar what it
    //   has costs no call into it (SetBar). Only SetBar and scrollContentsBy write them, each just
    //   after the bar changed, so they never differ from the bars.
    // - m_barsBehind: a received character moved the place but not yet the bars. The next frame,
    //   or the user reaching for a bar (eventFilter), calls SyncScrollBars first, which hands both
    //   bars the place and then takes the place back from them (a range that shrank stops a bar).
    //   Any other change syncs at once.
    // - m_settingBars: SyncScrollBars is moving the bars; the scrollContentsBy that follows must
    //   not mark the view dirty again. EditViewScrollBar's own m_setting likewise keeps a SetState
    //   from repainting a bar whose look did not change.
    // - m_shown: where the pixels on the screen stand, set as each frame is drawn (DrawFrame) or a
    //   whole paint lands (NotePainted). The next frame compares it with m_firstLine: moved down by
    //   less than a window, the pixels are moved rather than drawn again.
    // - m_dirtyFrom and m_dirtyAll: what changed since that frame; the first line changed, or all of
    //   it (any change but text growing at the caret). DrawFrame clears both.
    std::size_t m_firstLine = 0;
    std::size_t m_firstColumn = 0;
    bool m_barsBehind = false;
    bool m_settingBars = false;
    struct BarState {
        int maximum = 0;
        int page = 0;
        int value = 0;
    };
    BarState m_vertical;
    BarState m_horizontal;
    // Column that Up and Down aim for while they are pressed in a row.
    std::size_t m_goalColumn = 0;
    bool m_goalKept = false;
    // Widest line seen so far, in columns: the horizontal scroll range.
    std::size_t m_knownWidth = 0;
    qreal m_cellWidth = 8;
    int m_lineHeight = 16;
    int m_ascent = 12;
    std::size_t m_visibleLines = 1;
    std::size_t m_visibleColumns = 1;
    EditViewGlyphTables m_glyphs;
    EditViewCells m_cells;
    PaintStats m_lastPaint;
    // Where the pixels on the screen stand (see the block above).
    struct Shown {
        std::size_t firstLine = 0;
        std::size_t firstColumn = 0;
        bool valid = false;
    };
    Shown m_shown;
    static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
    std::size_t m_dirtyFrom = kNoLine; // the first line changed since the last frame
    bool m_dirtyAll = true;
    std::size_t m_grewFrom = 0; // the caret's line before a character went in
};

} // namespace framework
