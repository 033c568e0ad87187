#include "archive/core/KeptFiles.h"

#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace KeptFiles {

namespace {

// As many links as the system itself follows in one path before it gives up.
constexpr int kMostLinks = 40;

QString resolvedFollowing(QString path, int& links) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink()) { // a link to nothing yet: a write creates its target
        if (++links > kMostLinks)
            return {};
        return resolvedFollowing(info.symLinkTarget(), links);
    }
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    const QString name = path.mid(slash + 1);
    const QString folder = resolvedFollowing(slash == 0 ? u"/"_s : path.left(slash), links);
    if (folder.isEmpty())
        return {};
    if (name == u".")
        return folder;
    if (name == u"..")
        return QFileInfo(folder).path();
    return folder == u"/" ? QString(folder + name) : QString(folder + u'/' + name);
}

bool samePath(const QString& a, const QString& b) {
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of the path when it lies directly in the folder, otherwise an empty text.
QString nameIn(const QString& path, const QString& folder) {
    if (folder.isEmpty() || !samePath(QFileInfo(path).path(), folder))
        return {};
    return QFileInfo(path).fileName();
}

bool liesInside(const QString& path, const QString& folder) {
    return !folder.isEmpty() && path.startsWith(folder + u'/', Qt::CaseInsensitive);
}

// A book's archive and the files beside it that belong to it, by their name in the program folder.
std::optional<QString> archiveFamily(const QString& name) {
    static const QRegularExpression family(
        u"^(.+\\.wmn)(-journal|\\.bak|\\.bak\\.[0-9]+|-scartato-[0-9]+)?$"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = family.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QString book = BookShelf::bookNameOf(match.captured(1));
    const QString suffix = match.captured(2);
    if (suffix.isEmpty())
        return u"l'archivio del book \"%1\""_s.arg(book);
    if (suffix.compare(u"-journal"_s, Qt::CaseInsensitive) == 0)
        return u"il giornale delle modifiche del book \"%1\""_s.arg(book);
    if (suffix.startsWith(u".bak"_s, Qt::CaseInsensitive))
        return u"una copia di sicurezza dell'archivio del book \"%1\""_s.arg(book);
    return u"un giornale delle modifiche messo da parte del book \"%1\""_s.arg(book);
}

std::optional<QString> inPhotoFolder(const QString& path, const QString& folder) {
    static const QRegularExpression photo(u"^(.*)_Foto_([0-9]+)\\.jpg$"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = photo.match(nameIn(path, folder));
    if (match.hasMatch())
        return u"la foto della scheda %1 del book \"%2\""_s.arg(match.captured(2), match.captured(1));
    return u"un file della cartella delle foto dei book"_s;
}

std::optional<QString> inAttachmentFolder(const QString& path, const QString& folder) {
    const QString name = nameIn(path, folder);
    if (!name.isEmpty())
        return u"il documento allegato \"%1\""_s.arg(name);
    return u"un file della cartella dei documenti allegati"_s;
}

} // namespace

QString resolved(const QString& path) {
    if (path.isEmpty())
        return {};
    int links = 0;
    return resolvedFollowing(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path, links);
}

std::optional<QString> whatIsKept(const QString& resolvedPath) {
    if (resolvedPath.isEmpty())
        return std::nullopt;

    // The folders of photos and attached documents, each of which may be a link to another disk.
    const QString photos = resolved(PhotoStore::folder());
    if (samePath(resolvedPath, photos))
        return u"la cartella delle foto dei book"_s;
    if (liesInside(resolvedPath, photos))
        return inPhotoFolder(resolvedPath, photos);
    const QString attachments = resolved(AttachmentFolder::folder());
    if (samePath(resolvedPath, attachments))
        return u"la cartella dei documenti allegati"_s;
    if (liesInside(resolvedPath, attachments))
        return inAttachmentFolder(resolvedPath, attachments);

    struct Own {
        QString path;
        QString what;
    };
    QList<Own> own{
        {ProgramFolder::passwordStore(), u"l'archivio della password di accesso"_s},
        {ProgramFolder::guide(), u"la guida del programma"_s},
        {ProgramFolder::executable(), u"il programma Lumivera"_s},
        {ProgramFolder::icon(), u"l'icona del programma"_s},
        {ProgramFolder::desktopEntry(), u"la voce del programma nel menu del desktop"_s},
    };
    if (QCoreApplication::instance())
        own.append({QCoreApplication::applicationFilePath(), u"il programma Lumivera"_s});
    for (const Own& file : own) {
        if (samePath(resolvedPath, resolved(file.path)))
            return file.what;
    }

    const QString name = nameIn(resolvedPath, resolved(ProgramFolder::path()));
    if (!name.isEmpty())
        return archiveFamily(name);
    return std::nullopt;
}

bool hasArchiveName(const QString& path) {
    return QFileInfo(path).fileName().endsWith(QStringView(ProgramFolder::kArchiveExtension),
                                               Qt::CaseInsensitive);
}

} // namespace KeptFiles
