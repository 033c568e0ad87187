// Lumivera started exactly as its main() starts it, ending as soon as the first window is shown. It
// lives beside the program, so it reads the same files, and start-up can be timed as a whole process.
#include "FirstExpose.h"
#include "app/Application.h"
#include "app/WindowSet.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    LumiveraApplication app(argc, argv);
    FirstExpose firstExpose;
    app.installEventFilter(&firstExpose);
    WindowSet windows;
    windows.start();
    return app.exec();
}
