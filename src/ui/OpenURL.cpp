#include "ui/OpenURL.h"

#include "base/Replaceable.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

QString unquoted(const QString& command) {
    if (command.size() >= 2 && command.startsWith(u'"') && command.endsWith(u'"'))
        return command.sliced(1, command.size() - 2);
    return command;
}

class DesktopShell final : public ShellService {
public:
    // The desktop says false when it has no program for the address, and, on some systems, when the
    // file is not there.
    bool open(const QString& command) override { return QDesktopServices::openUrl(TMisc::urlFor(command)); }
};

using Seam = Replaceable<ShellService, DesktopShell>;

} // namespace

QUrl TMisc::urlFor(const QString& sCommand) {
    const QString target = unquoted(sCommand);
    if (target.startsWith(u"http://", Qt::CaseInsensitive) ||
        target.startsWith(u"https://", Qt::CaseInsensitive) ||
        target.startsWith(u"mailto:", Qt::CaseInsensitive))
        return QUrl(target, QUrl::TolerantMode);
    if (target.startsWith(u"www.", Qt::CaseInsensitive))
        return QUrl(QStringLiteral("https://") + target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(target);
}

bool TMisc::Open(const QString& sCommand) {
    return Seam::current().open(sCommand);
}

QString TMisc::notOpenedMessage(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        return QStringLiteral("Attenzione: non è stato possibile aprire il file \"%1\": il file non esiste.")
            .arg(shown);
    return QStringLiteral("Attenzione: non è stato possibile aprire il file \"%1\": nel sistema non c'è un "
                          "programma associato a questo tipo di file.")
        .arg(shown);
}

void TMisc::setShell(ShellService* shell) {
    Seam::replace(shell);
}
