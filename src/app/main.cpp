// Lumivera: photo books of models, kept beside the program.
#include "app/Application.h"
#include "app/WindowSet.h"

int main(int argc, char* argv[]) {
    // Software rendering for anything drawn through OpenGL, so no graphics driver is needed.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    LumiveraApplication app(argc, argv);
    WindowSet windows;
    windows.start();
    return app.exec();
}
