#include "archive/core/BookShelf.h"

#include "archive/core/BookArchive.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace BookShelf {

bool isUnsafeName(const QString& name) {
    if (name == u"." || name == u"..")
        return true;
    return std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'/' || c == u'\\' || c.unicode() < 32 || c.unicode() == 127;
    });
}

bool exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void createEmpty(const QString& path) {
    FileSystem::OpenError error;
    std::unique_ptr<RecordFile> file = fileSystem().createNew(path, error);
    if (!file)
        throw ArchiveError(QStringLiteral("Impossibile creare il file \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(path), error.text));
    const bool durable = file->sync();
    const bool closed = file->close();
    if (!durable || !closed)
        throw ArchiveError(QStringLiteral("Impossibile creare il file \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(path), file->errorString()));
}

bool listsBefore(const QString& a, const QString& b) {
    return TextRules::foldAZ(a) < TextRules::foldAZ(b);
}

QStringList list(const QString& folder) {
    QStringList books = QDir(folder).entryList({QStringLiteral("*.wmn")}, QDir::Files | QDir::Hidden);
    std::sort(books.begin(), books.end(), listsBefore);
    return books;
}

QString bookNameOf(const QString& entry) {
    return entry.chopped(std::min<qsizetype>(4, entry.size()));
}

bool remove(const QString& path) {
    if (!QFileInfo(path).isFile() || !QFile::remove(path))
        return false;
    // A journal left by an interrupted overwrite belongs to the book and goes with it.
    QFile::remove(BookArchive::journalPath(path));
    return true;
}

} // namespace BookShelf
