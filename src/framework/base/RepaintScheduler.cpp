#include "framework/base/RepaintScheduler.h"

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>

namespace framework {

RepaintScheduler::RepaintScheduler(int frameMs, QObject* parent) : QObject(parent), m_frameMs(frameMs) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RepaintScheduler::OnFrame);
}

RepaintScheduler& RepaintScheduler::Instance() {
    static QPointer<RepaintScheduler> shared;
    if (shared.isNull())
        shared = new RepaintScheduler(kFrameMs, QCoreApplication::instance());
    return *shared;
}

QEvent::Type RepaintScheduler::FrameEventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void RepaintScheduler::MarkDirty(QWidget* widget, bool prompt) {
    if (widget == nullptr)
        return;
    // The common case, the same few widgets changing again and again, costs a comparison or two.
    if (IsDirty(widget)) {
        if (prompt)
            Schedule(m_frameMs);
        return;
    }
    m_dirty.push_back({widget, widget});
    Schedule(!prompt && m_streak >= kFramesBeforeStreaming ? StreamInterval() : m_frameMs);
}

// A stream whose frames come with the wake-ups of a source (a line) is likely to bring the next
// with that source's next wake-up: its timer waits a little longer, so as not to wake the loop a
// moment before it. Beaten by the timer once, the source would otherwise stay a moment behind it.
int RepaintScheduler::StreamInterval() const {
    return std::max(m_frameMs, kStreamFrameMs) + (m_wakePaced ? m_frameMs / 4 : 0);
}

void RepaintScheduler::Schedule(int interval) {
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : interval;
    const int wait = static_cast<int>(std::max<qint64>(0, interval - since));
    if (m_timer.isActive() && m_timer.remainingTime() <= wait)
        return;
    m_timer.start(wait);
}

bool RepaintScheduler::IsDirty(const QWidget* widget) const {
    for (const Dirty& dirty : m_dirty) {
        // A widget that went away may have left its address to a new one.
        if (dirty.address == widget && !dirty.widget.isNull())
            return true;
    }
    return false;
}

void RepaintScheduler::Flush() {
    m_timer.stop();
    OnFrame();
}

bool RepaintScheduler::DrawIfDueWithin(int ms) {
    if (!m_timer.isActive() || m_timer.remainingTime() > ms)
        return false;
    Flush();
    return true;
}

bool RepaintScheduler::DrawOnWake(int ms) {
    const bool draw = m_timer.isActive() && !(m_sinceFrame.isValid() && m_sinceFrame.elapsed() < ms);
    if (draw)
        Flush();
    // Drawn now or a moment ago by the timer, the next frame is that source's to bring.
    m_wakePaced = true;
    return draw;
}

void RepaintScheduler::OnFrame() {
    const bool following = m_sinceFrame.isValid() && m_sinceFrame.elapsed() < kStreamFrameMs + m_frameMs;
    m_streak = following ? m_streak + 1 : 0;
    m_wakePaced = false;
    // A widget drawn now may mark itself dirty again; that goes to the next frame.
    m_sinceFrame.start();
    std::vector<Dirty> due;
    due.swap(m_dirty);
    for (const Dirty& dirty : due) {
        const QPointer<QWidget>& widget = dirty.widget;
        if (widget.isNull())
            continue;
        QEvent frame(FrameEventType());
        frame.ignore();
        QCoreApplication::sendEvent(widget.data(), &frame);
        if (!frame.isAccepted() && !widget.isNull())
            widget->update();
    }
    // The frame is painted now, as its widgets stand: painted later, after more text came in, it
    // would show a view that moved since it decided what to move and what to draw.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

} // namespace framework
