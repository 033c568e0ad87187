#include "access/core/PasswordStore.h"

#include "access/core/Crypt.h"
#include "base/ReplaceFile.h"
#include "base/SystemText.h"
#include "base/TextRules.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// The section and key of the store, in QSettings' notation.
constexpr QStringView kValueKey = u"Accesso/Valore";

// The system's words (Qt passes on the C library's, in English) are said in Italian, with the
// system's own after them in brackets.
QString readError(const QString& path, const QString& why) {
    return u"Impossibile leggere l'archivio della password \"%1\": %2"_s.arg(path, SystemText::italian(why));
}

QString writeError(const QString& path, const QString& why) {
    return u"Impossibile scrivere l'archivio della password \"%1\": %2"_s.arg(path, SystemText::italian(why));
}

QByteArray readWhole(const QString& path) {
    // Qt words this one itself, and in English where its translations are not installed.
    if (QFileInfo(path).isDir())
        throw PasswordStoreError(readError(path, SystemText::ofCode(EISDIR)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PasswordStoreError(readError(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PasswordStoreError(readError(path, file.errorString()));
    return bytes;
}

// The store's new content: the current file with the key set, in the INI form QSettings writes.
// QSettings keeps every file it has opened in a process-wide cache, and after a failed save that cache
// keeps the unsaved value, returns it to every later reader and retries the save. So QSettings only
// ever edits a private scratch copy here, and the store itself is replaced whole (ReplaceFile).
QByteArray contentWith(const QString& storePath, const QString& digits) {
    QTemporaryDir scratchFolder;
    if (!scratchFolder.isValid())
        throw PasswordStoreError(writeError(storePath, scratchFolder.errorString()));
    const QString scratch = scratchFolder.filePath(u"password.ini"_s);
    if (QFileInfo::exists(storePath)) {
        const QByteArray current = readWhole(storePath);
        QFile copy(scratch);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(current) != current.size() || !copy.flush())
            throw PasswordStoreError(writeError(storePath, copy.errorString()));
    }
    {
        QSettings settings(scratch, QSettings::IniFormat);
        settings.setValue(kValueKey, digits);
        settings.sync();
        if (settings.status() == QSettings::FormatError)
            throw PasswordStoreError(writeError(storePath, u"il file non è un file INI valido"_s));
        if (settings.status() != QSettings::NoError)
            throw PasswordStoreError(writeError(storePath, u"salvataggio non riuscito"_s));
    }
    return readWhole(scratch);
}

} // namespace

PasswordStore::PasswordStore(QString path)
    : m_path(std::move(path)) {}

bool PasswordStore::holdsInitialPassword() const {
    try {
        return isCorrect(kInitialPassword, readPassword());
    } catch (const PasswordStoreError&) {
        return false;
    }
}

QString PasswordStore::readPassword() const {
    QSettings settings(m_path, QSettings::IniFormat);
    const QVariant value = settings.value(kValueKey);
    // An existing file that cannot be opened is damage, not a missing store. Lines QSettings cannot
    // parse elsewhere in the file are left alone, as any INI reader would.
    if (settings.status() == QSettings::AccessError)
        throw PasswordStoreError(readError(m_path, u"accesso negato"_s));
    // QSettings splits a value at its commas; put it back together so such a value fails to decode
    // instead of reading as no password.
    const QString digits =
        value.typeId() == QMetaType::QStringList ? value.toStringList().join(u',') : value.toString();
    try {
        return TextRules::trim(Crypt::decodePassword(digits));
    } catch (const Crypt::ConversionError& error) {
        throw PasswordStoreError(readError(m_path, error.text()));
    }
}

void PasswordStore::writePassword(const QString& password) const {
    switch (storable(password)) {
    case Storable::Yes:
        break;
    case Storable::TooLong:
        throw PasswordStoreError(writeError(m_path, u"la password supera i %1 caratteri"_s.arg(kMaxLength)));
    case Storable::WideCharacter:
        throw PasswordStoreError(writeError(m_path, u"la password contiene caratteri non ammessi"_s));
    }
    const QByteArray content = contentWith(m_path, Crypt::encodePassword(password));

    QString why;
    if (!replaceWhole(m_path, content, &why))
        throw PasswordStoreError(writeError(m_path, why));
}

QString PasswordStore::normalForm(QStringView typed) {
    return TextRules::trim(TextRules::upperAZ(typed));
}

bool PasswordStore::isCorrect(QStringView typed, QStringView stored) {
    const QString normal = normalForm(typed);
    return !normal.isEmpty() && normal == stored;
}

PasswordStore::Storable PasswordStore::storable(QStringView password) {
    if (password.size() > kMaxLength)
        return Storable::TooLong;
    const bool narrow =
        std::all_of(password.begin(), password.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    return narrow ? Storable::Yes : Storable::WideCharacter;
}
