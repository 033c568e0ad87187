#include "ui/OpenURL.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

QString unquoted(const QString& command) {
    if (command.size() >= 2 && command.startsWith(u'"') && command.endsWith(u'"'))
        return command.sliced(1, command.size() - 2);
    return command;
}

class DesktopShell final : public ShellService {
public:
    void open(const QString& command) override { QDesktopServices::openUrl(TMisc::urlFor(command)); }
};

ShellService* g_shell = nullptr;

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

void TMisc::Open(const QString& sCommand) {
    static DesktopShell desktop;
    (g_shell ? *g_shell : desktop).open(sCommand);
}

void TMisc::setShell(ShellService* shell) {
    g_shell = shell;
}
