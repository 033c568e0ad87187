// The windows a test sees on the screen.
#pragma once

#include "app/Application.h"

#include <QApplication>
#include <QList>
#include <QString>
#include <QTest>
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

// The control of a window with that name; a test cannot go on without it.
template <class T> T* child(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The main function of a test program that drives windows: they run under the program's own
// application object, so an error no handler catches reaches the error report as in the program.
#define LUMIVERA_WINDOW_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char* argv[]) {                                                                       \
        LumiveraApplication app(argc, argv);                                                                 \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
