#include "framework/loop/InputMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "framework/window/CWnd.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/ModalDepth.h"
#include "framework/window/WndWidget.h"

void InputMonitor::Install() {
    static InputMonitor* monitor = nullptr;
    if (monitor != nullptr || QCoreApplication::instance() == nullptr)
        return;
    monitor = new InputMonitor;
    monitor->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(monitor);
}

unsigned InputMonitor::VirtualKeyOf(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<unsigned>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70u + static_cast<unsigned>(qtKey - Qt::Key_F1);
    return 0;
}

bool InputMonitor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        afx::NoteInput();
        return TranslateAccelerator(watched, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        afx::NoteInput();
        break;
    case QEvent::MouseMove: {
        QPointF p = static_cast<QMouseEvent*>(event)->globalPosition();
        if (p != m_lastMousePosition) {
            m_lastMousePosition = p;
            afx::NoteInput();
        }
        break;
    }
    default:
        break;
    }
    return false;
}

bool InputMonitor::TranslateAccelerator(QObject* watched, QKeyEvent* event) {
    // A key that a child ignored travels on to its parents and passes here again; the answer is the
    // same each time, and a key that became a command travels no further.
    if (ModalDepth::Value() > 0 || !watched->isWidgetType())
        return false;
    auto* bridge = WndWidgetBase::FromWidget(static_cast<QWidget*>(watched)->window());
    if (bridge == nullptr || bridge->Owner() == nullptr)
        return false;
    unsigned vk = VirtualKeyOf(event->key());
    if (vk == 0)
        return false;
    Qt::KeyboardModifiers mods = event->modifiers();
    return bridge->Owner()->TranslateKey(vk, (mods & Qt::ControlModifier) != 0,
                                         (mods & Qt::ShiftModifier) != 0, (mods & Qt::AltModifier) != 0);
}
