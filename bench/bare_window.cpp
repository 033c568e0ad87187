// The least a Qt Widgets program does to show a window: one bare window, shown, and the end.
#include "FirstExpose.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    FirstExpose firstExpose;
    app.installEventFilter(&firstExpose);
    QWidget window;
    window.show();
    return app.exec();
}
