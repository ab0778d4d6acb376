#include "framework/window/WndWidget.h"

#include <QWidget>

WndWidgetBase* WndWidgetBase::FromWidget(QWidget* widget) {
    return dynamic_cast<WndWidgetBase*>(widget);
}
