// The password store: an INI file beside the program that keeps the scrambled access password under
// [Accesso] Valore. It also holds the normal form in which passwords are stored and compared, and the
// rule that decides whether a typed password is the stored one.
#pragma once

#include "base/LumiveraError.h"

#include <QString>
#include <QStringView>

class PasswordStoreError : public LumiveraError {
public:
    using LumiveraError::LumiveraError;
};

class PasswordStore {
public:
    // The store file; the windows use ProgramFolder::passwordStore().
    explicit PasswordStore(QString path);

    const QString& path() const { return m_path; }

    // The stored password in normal form. A missing file, section or key gives the empty text and
    // creates nothing. Throws PasswordStoreError when the value does not decode or the file exists
    // but cannot be read.
    QString readPassword() const;

    // Stores a password already in normal form, creating the file, section or key where missing and
    // keeping whatever else the file holds. The file is replaced whole, so a failure leaves the
    // earlier password in force; it throws PasswordStoreError, also for a password that could never
    // be matched once stored (see storable()).
    void writePassword(const QString& password) const;

    // Upper-cases the letters a to z only (accented letters keep their case), then trims codes 0 to 32
    // at both ends.
    static QString normalForm(QStringView typed);

    // True when the normal form of the typed text is exactly the stored password. An empty password
    // is never correct, so a missing store lets nobody in.
    static bool isCorrect(QStringView typed, QStringView stored);

    // The password the store is delivered with, in normal form; the login window names it until the
    // user chooses another.
    static constexpr QStringView kInitialPassword = u"LUCEPIUMAVELOX";
    // True while the store holds the initial password; false once another is stored, and when the
    // store cannot be read.
    bool holdsInitialPassword() const;

    // Scrambling keeps 8 bits of each character and counts positions in 8 bits, so only these
    // passwords read back as they were stored.
    enum class Storable { Yes, TooLong, WideCharacter };
    static constexpr qsizetype kMaxLength = 255;
    static Storable storable(QStringView password);

private:
    QString m_path;
};
