// The windows a test sees on the screen.
#pragma once

#include <QApplication>
#include <QList>
#include <QWidget>

// The top-level windows now shown.
inline QList<QWidget*> visibleWindows() {
    QList<QWidget*> visible;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            visible << w;
    }
    return visible;
}
