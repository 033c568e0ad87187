// Writes the password store delivered with the program: the initial password in normal form,
// scrambled by the program's own code, so the first login accepts it. The store is read back before
// the build goes on.
#include "access/core/PasswordStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: lumivera_passwordstore <store file> <initial password>\n");
        return 2;
    }
    const QString path = arguments.at(1);
    const QString password = PasswordStore::normalForm(arguments.at(2));
    if (password.isEmpty()) {
        std::fprintf(stderr, "lumivera_passwordstore: the initial password is empty\n");
        return 2;
    }
    // The delivered file holds the initial password and nothing left over from an earlier build.
    if (QFileInfo(path).isFile() && !QFile::remove(path)) {
        std::fprintf(stderr, "lumivera_passwordstore: cannot replace %s\n", qPrintable(path));
        return 1;
    }
    try {
        const PasswordStore store(path);
        store.writePassword(password);
        if (store.readPassword() != password) {
            std::fprintf(stderr, "lumivera_passwordstore: %s does not read back\n", qPrintable(path));
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumivera_passwordstore: %s\n", error.what());
        return 1;
    }
    return 0;
}
