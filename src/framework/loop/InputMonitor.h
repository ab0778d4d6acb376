#pragma once
// Watches every Qt event on its way to a widget: keyboard and mouse input restarts the idle count,
// and keys are offered to the top-level window's accelerators before the focused widget sees them
// (never while a modal loop runs).

#include <QObject>
#include <QPointF>

class QKeyEvent;

class InputMonitor : public QObject {
public:
    static void Install();

    // The virtual-key code of a Qt key (letters and digits as their upper-case character); 0 if none.
    static unsigned VirtualKeyOf(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool TranslateAccelerator(QObject* watched, QKeyEvent* event);
    QPointF m_lastMousePosition{-1, -1};
};
