// Hands a document, folder, web address or mail address to the user's desktop, which opens it with
// the default application. Nothing is returned and nothing is reported, whatever the desktop does.
#pragma once

#include <QString>
#include <QUrl>

class ShellService {
public:
    virtual ~ShellService() = default;
    virtual void open(const QString& command) = 0;
};

class TMisc {
public:
    // sCommand: a file or folder path (wrapped in one pair of double quotes or not), an http(s)
    // address or a "mailto:" text as typed, blanks and colons included.
    static void Open(const QString& sCommand);

    // What the desktop is asked to open for a command.
    static QUrl urlFor(const QString& sCommand);

    // Installs a replacement shell (not owned); nullptr puts the desktop back.
    static void setShell(ShellService* shell);
};
