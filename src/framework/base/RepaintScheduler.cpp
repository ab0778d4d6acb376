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

void RepaintScheduler::MarkDirty(QWidget* widget) {
    if (widget == nullptr)
        return;
    // The common case, one widget changing again and again, costs one comparison.
    if (!m_dirty.empty() && m_dirty.back() == widget)
        return;
    if (IsDirty(widget))
        return;
    m_dirty.emplace_back(widget);
    if (m_timer.isActive())
        return;
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : m_frameMs;
    m_timer.start(static_cast<int>(std::max<qint64>(0, m_frameMs - since)));
}

bool RepaintScheduler::IsDirty(const QWidget* widget) const {
    return std::any_of(m_dirty.begin(), m_dirty.end(),
                       [widget](const QPointer<QWidget>& w) { return w == widget; });
}

void RepaintScheduler::Flush() {
    m_timer.stop();
    OnFrame();
}

void RepaintScheduler::OnFrame() {
    // A widget drawn now may mark itself dirty again; that goes to the next frame.
    m_sinceFrame.start();
    std::vector<QPointer<QWidget>> due;
    due.swap(m_dirty);
    for (const QPointer<QWidget>& widget : due) {
        if (widget.isNull())
            continue;
        QEvent frame(FrameEventType());
        frame.ignore();
        QCoreApplication::sendEvent(widget.data(), &frame);
        if (!frame.isAccepted() && !widget.isNull())
            widget->update();
    }
}

} // namespace framework
