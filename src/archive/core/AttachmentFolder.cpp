#include "archive/core/AttachmentFolder.h"

#include "archive/core/BookShelf.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace AttachmentFolder {

QString folder() {
    return ProgramFolder::file(QStringLiteral("Documenti_Allegati"));
}

QString pathOf(const QString& name) {
    const QString bare = TextRules::trim(name);
    if (bare.isEmpty() || BookShelf::isUnsafeName(bare))
        return {};
    return ProgramFolder::inFolder(folder(), bare);
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
    if (!PhotoStore::isRegularFile(source))
        return false;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const std::unique_ptr<ReplaceFile> output = fileReplacer().replace(destination);
    if (!output->open())
        return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = input.read(buffer, sizeof buffer);
        if (got < 0 || (got > 0 && !output->write(QByteArrayView(buffer, got)))) {
            output->cancel();
            return false;
        }
        if (got == 0)
            break;
    }
    return output->commit();
}

} // namespace AttachmentFolder
