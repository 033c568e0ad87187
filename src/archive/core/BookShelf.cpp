#include "archive/core/BookShelf.h"

#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "base/SystemText.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>

using namespace Qt::StringLiterals;

namespace BookShelf {

namespace {

// The longest file name the file systems the program meets can hold, in bytes.
constexpr int kFileNameBytes = 255;
// Backups and set-aside journals are numbered from 1; a book is not expected to gather more.
constexpr int kNumberedCopies = 99999;

qsizetype bytesOf(const QString& name) {
    return QFile::encodeName(name).size();
}

// Every file name the program makes from a book's name.
QStringList fileNamesOf(const QString& bookName) {
    const QString archive = ProgramFolder::archiveOf(bookName);
    const QString photo = PhotoStore::photoPath(bookName, INT_MAX);
    const QStringList paths{
        archive,
        BookArchive::journalPath(archive),
        backupPath(archive, kNumberedCopies),
        BookArchive::setAsideJournalPath(archive, kNumberedCopies),
        // A photo replaced whole is first written under a temporary name of a fixed length, whatever
        // the book's name, and then renamed to this one.
        photo,
    };
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

// The characters that a file name cannot hold on a FAT or exFAT key (and so on Windows), with the
// words that name them; "/" cannot be in a file name anywhere.
struct NamedCharacter {
    char16_t character;
    const char16_t* words;
};
constexpr NamedCharacter kRefusedCharacters[] = {
    {u'/', u"barra"},
    {u'\\', u"barra rovesciata"},
    {u'"', u"virgolette"},
    {u'|', u"barra verticale"},
    {u'?', u"punto interrogativo"},
    {u'*', u"asterisco"},
    {u':', u"due punti"},
    {u'<', u"minore"},
    {u'>', u"maggiore"},
};

// The names Windows keeps for its devices, also when a dot and more follow them.
bool isDeviceName(QString stem) {
    while (stem.endsWith(u' '))
        stem.chop(1);
    stem = TextRules::upperAZ(stem);
    if (stem == u"CON"_s || stem == u"PRN"_s || stem == u"AUX"_s || stem == u"NUL"_s)
        return true;
    return stem.size() == 4 && (stem.startsWith(u"COM"_s) || stem.startsWith(u"LPT"_s)) &&
           stem.at(3) >= u'1' && stem.at(3) <= u'9';
}

} // namespace

QString nameProblem(const QString& name) {
    if (name.isEmpty())
        return u"Il nome è vuoto."_s;
    if (name == u"." || name == u"..")
        return u"Il nome è formato soltanto da punti."_s;
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() == 127)
            return u"Il nome contiene un carattere di controllo (codice %1), che il nome di un file non può "
                   u"contenere."_s.arg(c.unicode());
        for (const NamedCharacter& refused : kRefusedCharacters) {
            if (c == QChar(refused.character))
                return u"Il nome contiene il carattere %1 (%2), che il nome di un file non può contenere su "
                       u"Windows e sulle chiavette USB."_s.arg(c, QString::fromUtf16(refused.words));
        }
    }
    if (name.endsWith(u'.'))
        return u"Il nome termina con un punto, che Windows e le chiavette USB non ammettono alla fine del "
               u"nome di un file."_s;
    if (name.endsWith(u' '))
        return u"Il nome termina con uno spazio, che Windows e le chiavette USB non ammettono alla fine del "
               u"nome di un file."_s;
    const QString stem = name.section(u'.', 0, 0);
    if (isDeviceName(stem)) {
        if (stem.size() == name.size())
            return u"Il nome \"%1\" è riservato da Windows ai dispositivi del sistema e non può essere il "
                   u"nome "
                   u"di un file."_s.arg(name);
        return u"Il nome comincia con \"%1\", riservato da Windows ai dispositivi del sistema, che non lo "
               u"ammette come nome di un file neanche seguito da un punto e da altro."_s.arg(stem);
    }
    const qsizetype bytes = bytesOf(name);
    if (bytes > longestNameBytes())
        return u"Il nome è troppo lungo: può occupare al massimo %1 byte (una lettera accentata ne occupa "
               u"due), mentre ne occupa %2."_s.arg(longestNameBytes())
                   .arg(bytes);
    return {};
}

int longestNameBytes() {
    // What each file adds to the name, measured on a name of one letter.
    const QString sample = u"x"_s;
    qsizetype added = 0;
    for (const QString& fileName : fileNamesOf(sample))
        added = std::max(added, bytesOf(fileName) - bytesOf(sample));
    return int(kFileNameBytes - added);
}

QString backupPath(const QString& archivePath, int n) {
    return n <= 1 ? archivePath + u".bak"_s : archivePath + u".bak.%1"_s.arg(n);
}

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
                               .arg(QDir::toNativeSeparators(path), SystemText::italian(error.text)));
    const bool durable = file->sync();
    const bool closed = file->close();
    if (!durable || !closed)
        throw ArchiveError(
            QStringLiteral("Impossibile creare il file \"%1\": %2.")
                .arg(QDir::toNativeSeparators(path), SystemText::italian(file->errorString())));
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

std::optional<int> cardCount(const QString& path) {
    // A folder opens for reading as well, and its size counts no cards.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    try {
        BookArchive archive;
        archive.openForReading(path);
        return archive.count();
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

QString bookNameOfArchive(const QString& archivePath) {
    return bookNameOf(QFileInfo(archivePath).fileName());
}

bool remove(const QString& path, QString* why) {
    const QFileInfo info(path);
    QString failure;
    QFile file(path);
    if (!info.exists())
        failure = SystemText::ofCode(ENOENT);
    else if (!info.isFile())
        failure = SystemText::ofCode(EISDIR);
    else if (!file.remove())
        failure = SystemText::italian(file.errorString());
    if (!failure.isEmpty()) {
        if (why)
            *why = failure;
        return false;
    }
    // A journal left by an interrupted overwrite belongs to the book and goes with it.
    QFile::remove(BookArchive::journalPath(path));
    return true;
}

} // namespace BookShelf
