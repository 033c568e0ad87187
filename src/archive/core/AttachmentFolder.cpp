#include "archive/core/AttachmentFolder.h"

#include "archive/core/BookShelf.h"
#include "archive/core/Cp1252.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace AttachmentFolder {

namespace {

// The longest end after the last dot that is taken for an extension and kept when a name is cut.
constexpr qsizetype kLongestExtension = 32;

// A character that no attachment name holds although the code page does: it would make the name reach
// outside the folder or be no name of a file (BookShelf::isUnsafeName).
bool isBarred(char32_t c) {
    return c < 32 || c == 127 || c == U'/' || c == U'\\';
}

bool isMark(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// Where the extension of a name starts (its last dot), or the name's length when it has none; a dot
// that starts the name (".profile") begins no extension.
qsizetype extensionStart(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 && name.size() - dot <= kLongestExtension ? dot : name.size();
}

// The stem with the tag and the extension, the stem cut so that the whole fits kLongestName characters.
QString fitted(const QString& stem, const QString& tag, const QString& extension) {
    const qsizetype room = kLongestName - tag.size() - extension.size();
    return TextRules::trim(
        QString(stem.left(std::max<qsizetype>(room, 0)) + tag + extension).left(kLongestName));
}

// The name with " (n)" before its extension.
QString numbered(const QString& name, int n) {
    const qsizetype dot = extensionStart(name);
    return fitted(name.left(dot), QStringLiteral(" (%1)").arg(n), name.mid(dot));
}

// True when both files can be read and hold the same bytes.
bool sameContent(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    for (;;) {
        const QByteArray part = first.read(1 << 16);
        if (part != second.read(1 << 16))
            return false;
        if (part.isEmpty())
            return !first.error() && !second.error();
    }
}

} // namespace

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

QString storableName(const QString& name) {
    const QString nfc = TextRules::trim(name).normalized(QString::NormalizationForm_C);
    QString stored;
    for (char32_t c : nfc.toUcs4()) {
        if (isBarred(c))
            stored += u'_';
        else if (Cp1252::holds(c))
            stored += QString::fromUcs4(&c, 1);
        else if (isMark(c))
            continue; // an accent left over by NFC, on a letter that has no composed form
        else if (const QString plain = Cp1252::plainLetters(c); !plain.isEmpty())
            stored += plain;
        else
            stored += u'_';
    }
    if (stored.isEmpty() && !nfc.isEmpty())
        stored = QStringLiteral("_"); // nothing but accents
    if (stored == u"." || stored == u"..")
        stored = QStringLiteral("_");
    const qsizetype dot = extensionStart(stored);
    return stored.size() <= kLongestName ? stored : fitted(stored.left(dot), QString(), stored.mid(dot));
}

QString keptNameFor(const QString& source, const QString& name) {
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? name : numbered(name, n);
        const QString path = pathOf(candidate);
        if (path.isEmpty())
            return candidate; // no name of the folder: nothing can be copied over
        const QFileInfo there(path);
        if (!there.exists() && !there.isSymLink())
            return candidate;
        if (there.isFile() && sameContent(source, path))
            return candidate;
    }
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
