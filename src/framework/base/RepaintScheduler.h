#pragma once
// Paces drawing to the screen's frame rate. A widget whose state changed marks itself dirty here
// and is drawn at most once per frame, however many changes came in between: a terminal receiving a
// megabyte a second would otherwise spend its time repainting.
//
// State changes stay immediate; only drawing waits. One shared single-shot timer runs while
// something is dirty and not otherwise. A change after a quiet spell is drawn at the next turn of the
// loop (a typed character's echo, a line's indicator show at once). Frames that follow one another
// (text streaming in) are drawn at most every kStreamFrameMs: smooth enough to read text by, and
// half the cost of drawing at the screen's rate. A change marked prompt (an indicator) is drawn
// within kFrameMs all the same. A loop about to sleep draws a frame due in a moment at once
// (DrawIfDueWithin): woken again a millisecond later for it, it would pay two wake-ups a frame. One
// woken by a line draws what is pending at once (DrawOnWake), and the next frame's timer leaves
// the line's next wake-up the first chance to bring it.
// When the frame comes, each dirty widget is sent a FrameEventType() event (sent ignored); a widget
// that accepts it draws itself as it sees fit (an edit view also lets its scroll bars catch up), any
// other widget gets update(); then the frame is painted.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

class QWidget;

namespace framework {

class RepaintScheduler : public QObject {
    Q_OBJECT

public:
    static constexpr int kFrameMs = 16;
    static constexpr int kStreamFrameMs = 33;
    // Frames drawn one after another, each within a stream frame and a frame of the last, before
    // the stream's pace applies.
    static constexpr int kFramesBeforeStreaming = 2;

    explicit RepaintScheduler(int frameMs = kFrameMs, QObject* parent = nullptr);

    // The scheduler shared by the application's widgets (owned by the application object).
    static RepaintScheduler& Instance();
    static QEvent::Type FrameEventType();

    // `prompt`: drawn within kFrameMs even while frames stream.
    void MarkDirty(QWidget* widget, bool prompt = false);
    bool IsDirty(const QWidget* widget) const;
    bool IsPending() const { return m_timer.isActive(); }
    int FrameMs() const { return m_frameMs; }
    // Draws every dirty widget now.
    void Flush();
    // Draws now if the next frame is due within `ms`; true if it drew.
    bool DrawIfDueWithin(int ms);
    // The loop was woken by what makes frames pending (a line's bytes): draws what is pending now,
    // unless the last frame was drawn less than `ms` ago; true if it drew. Frames then keep the
    // pace of those wake-ups.
    bool DrawOnWake(int ms);

private:
    void OnFrame();

    QTimer m_timer;
    int m_frameMs;
    // Starts the timer for a frame `interval` after the last one, unless it runs for an earlier one.
    void Schedule(int interval);
    int StreamInterval() const;

    QElapsedTimer m_sinceFrame; // since the last frame was drawn
    int m_streak = 0;           // frames drawn one after another
    bool m_wakePaced = false;   // DrawOnWake drew the last frame, or was called since
    // The address is compared, which is cheap; the guard tells whether it still is that widget.
    struct Dirty {
        const QWidget* address;
        QPointer<QWidget> widget;
    };
    std::vector<Dirty> m_dirty;
};

} // namespace framework
