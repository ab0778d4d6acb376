#pragma once
// Paces drawing to the screen's frame rate. A widget whose state changed marks itself dirty here
// and is drawn at most once per frame (about 16 ms), however many changes came in between: a
// terminal receiving a megabyte a second would otherwise spend its time repainting.
//
// State changes stay immediate; only drawing waits. One shared single-shot timer runs while
// something is dirty and not otherwise. A change after a quiet spell is drawn at the next turn of the
// loop (a line's indicator shows at once); only a frame that follows another waits out the interval.
// A loop about to sleep draws a frame due in a moment at once (DrawIfDueWithin): woken again a
// millisecond later for it, it would pay two wake-ups a frame while text streams in. When the frame comes, each dirty widget is sent a
// FrameEventType() event (sent ignored); a widget that accepts it draws itself as it sees fit (an edit view
// also lets its scroll bars catch up), any other widget gets update().

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

    explicit RepaintScheduler(int frameMs = kFrameMs, QObject* parent = nullptr);

    // The scheduler shared by the application's widgets (owned by the application object).
    static RepaintScheduler& Instance();
    static QEvent::Type FrameEventType();

    void MarkDirty(QWidget* widget);
    bool IsDirty(const QWidget* widget) const;
    bool IsPending() const { return m_timer.isActive(); }
    int FrameMs() const { return m_frameMs; }
    // Draws every dirty widget now.
    void Flush();
    // Draws now if the next frame is due within `ms`; true if it drew.
    bool DrawIfDueWithin(int ms);

private:
    void OnFrame();

    QTimer m_timer;
    int m_frameMs;
    QElapsedTimer m_sinceFrame; // since the last frame was drawn
    // The address is compared, which is cheap; the guard tells whether it still is that widget.
    struct Dirty {
        const QWidget* address;
        QPointer<QWidget> widget;
    };
    std::vector<Dirty> m_dirty;
};

} // namespace framework
