// Lumivera: photo books of models, kept beside the program.
#include "Application.h"
#include "WindowSet.h"

int main(int argc, char* argv[]) {
    // Software rendering for anything drawn through OpenGL, so no graphics driver is needed.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    LumiveraApplication app(argc, argv);
    WindowSet windows;
    windows.start();
    return app.exec();
}
