#pragma once
// The top-level window of type T shown now (a file dialog, a message box), or nothing.

#include <QApplication>
#include <QWidget>

template <class T>
T* Shown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(widget); window && window->isVisible())
            return window;
    return nullptr;
}
