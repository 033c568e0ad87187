#include "app/Application.h"

#include "base/LumiveraError.h"
#include "ui/Messages.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

LumiveraApplication::LumiveraApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Lumivera"));
    setQuitOnLastWindowClosed(false); // the windows decide when the program ends
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool LumiveraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const LumiveraError& error) {
        // The program's own failures carry their text for the user.
        reportUnexpectedError(error.text());
    } catch (const std::exception& error) {
        reportUnexpectedError(QString::fromUtf8(error.what()));
    }
    return false;
}
