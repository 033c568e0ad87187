#include "AttachmentFolder.h"

#include "BookShelf.h"
#include "ProgramFolder.h"
#include "TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace AttachmentFolder {

QString folder() {
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati"));
}

QString pathOf(const QString& name) {
    const QString bare = TextRules::trim(name);
    if (bare.isEmpty() || BookShelf::isUnsafeName(bare))
        return {};
    return QDir(folder()).filePath(bare);
}

bool ensureFolder() {
    return QDir().mkpath(folder());
}

bool contains(const QString& name) {
    const QString path = pathOf(name);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool copyIn(const QString& source, const QString& name) {
    const QString destination = pathOf(name);
    if (destination.isEmpty())
        return false;
    const QFileInfo from(source);
    const QFileInfo to(destination);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true; // already the file in the folder
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    QSaveFile output(destination);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = input.read(buffer, sizeof buffer);
        if (got < 0) {
            output.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
        if (output.write(buffer, got) != got) {
            output.cancelWriting();
            return false;
        }
    }
    return output.commit();
}

} // namespace AttachmentFolder
