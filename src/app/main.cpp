// Lumivera: photo books of models, kept beside the program. Started with arguments, it runs a command
// of its command line instead of its windows.
#include "app/Application.h"
#include "app/WindowSet.h"
#include "cli/CommandLine.h"

#include <QGuiApplication>

namespace {

// The command line's output is its own: Qt's notes about the platform stay out of a script's way.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1) {
        // No window and no display: pages are drawn off screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietQt);
        QGuiApplication app(argc, argv);
        return CommandLine::run(QCoreApplication::arguments());
    }
    // Software rendering for anything drawn through OpenGL, so no graphics driver is needed.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    LumiveraApplication app(argc, argv);
    WindowSet windows;
    windows.start();
    return app.exec();
}
