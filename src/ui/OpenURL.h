// Hands a document, folder, web address or mail address to the user's desktop, which opens it with
// the default application, and says whether the desktop took it: it may have no program for that kind
// of file, or no file at all.
#pragma once

#include <QString>
#include <QUrl>

class ShellService {
public:
    virtual ~ShellService() = default;
    // True when the desktop took the command and started a program for it.
    virtual bool open(const QString& command) = 0;
};

class TMisc {
public:
    // sCommand: a file or folder path (wrapped in one pair of double quotes or not), an http(s)
    // address or a "mailto:" text as typed, blanks and colons included. False when the desktop could
    // not open it: no program is associated with that kind of file, or there is nothing to open.
    static bool Open(const QString& sCommand);

    // What the desktop is asked to open for a command.
    static QUrl urlFor(const QString& sCommand);

    // What the user is told when the desktop could not open a file (the file itself, not quoted): that
    // it is not there, or that no program on the system opens that kind of file.
    static QString notOpenedMessage(const QString& path);

    // Installs a replacement shell (not owned); nullptr puts the desktop back.
    static void setShell(ShellService* shell);
};
