#pragma once
// What tooltip a widget shows when the pointer rests on a point of it: the help event the desktop
// would send, and the tip that Qt then shows ("" for none).

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <string>

inline std::string ToolTipAt(QWidget* widget, const QPoint& point) {
    // A hidden tip lingers a while before it goes; a test cannot wait for that.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("qtooltip_label"))
            top->hide();
    }
    QHelpEvent help(QEvent::ToolTip, point, widget->mapToGlobal(point));
    QApplication::sendEvent(widget, &help);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}
