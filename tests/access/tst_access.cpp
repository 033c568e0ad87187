// Access control: the scrambling, the password store with its normal form and comparison rule, the
// login window and the change-password window.
#include "FakeMessages.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "access/core/Crypt.h"
#include "access/core/PasswordStore.h"
#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/Application.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "base/ProgramFolder.h"
#include "base/ReplaceFile.h"
#include "ui/Picture.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kInitial = u"LUCEPIUMAVELOX"_s;

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Types text key by key, as a keyboard would, accented and non-Latin letters included.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// Random texts of the given length over the codes the scrambling serves, the same at every run.
QString narrowText(int length, quint32 seed) {
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(char16_t(random.bounded(256)));
    return text;
}

// A store the disk will not let be replaced: the replacement of the store cannot even be started,
// as on a folder where nothing new can be made. Other files are replaced as usual.
class RefusingReplacer final : public FileReplacer {
public:
    explicit RefusingReplacer(QString refused)
        : m_refused(std::move(refused)) {
        setFileReplacer(this);
    }
    ~RefusingReplacer() override { setFileReplacer(nullptr); }

    std::unique_ptr<ReplaceFile> replace(const QString& path) override {
        if (path != m_refused)
            return realFileReplacer().replace(path);
        class Refused final : public ReplaceFile {
        public:
            bool open() override { return false; }
            bool write(QByteArrayView) override { return false; }
            bool commit() override { return false; }
            void cancel() override {}
            QString errorString() const override { return QStringLiteral("Permission denied"); }
        };
        return std::make_unique<Refused>();
    }

private:
    QString m_refused;
};

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        ProgramFolder::setPath(m_folder->path());
    }
    void cleanup() {
        m_refusing.reset();
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QTRY_VERIFY(visibleWindows().isEmpty());
        m_folder.reset();
    }

    // --- Scrambling ------------------------------------------------------------------------------
    void emptyTextBothWays() {
        QCOMPARE(Crypt::encodePassword(u""), QString());
        QCOMPARE(Crypt::decodePassword(u""), QString());
    }

    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        for (int length : {1, 2, 17, 128, 254, 255})
            QTest::addRow("%d characters", length) << narrowText(length, quint32(length));
        QString everyCode;
        for (int code = 0; code < 255; ++code)
            everyCode += QChar(char16_t(code));
        QTest::newRow("codes 0 to 254") << everyCode;
        QTest::newRow("code 255 repeated") << QString(255, QChar(char16_t(0xFF)));
        QTest::newRow("accented, case kept") << u"Perché Così àÀéÉ"_s;
    }
    void roundTrip() {
        QFETCH(QString, text);
        const QString digits = Crypt::encodePassword(text);
        QCOMPARE(digits.size(), 2 * text.size());
        QCOMPARE(Crypt::decodePassword(digits), text);
    }

    // The key moves on after each character, so repeats do not show in the digits.
    void equalCharactersDiffer() {
        const QString digits = Crypt::encodePassword(u"AAAA");
        QCOMPARE(digits.size(), 8);
        QSet<QString> pairs;
        for (int i = 0; i < 4; ++i)
            pairs.insert(digits.mid(2 * i, 2));
        QCOMPARE(pairs.size(), 4);
    }

    void digitsWrittenUpperReadInAnyCase() {
        const QString text = narrowText(200, 7);
        const QString digits = Crypt::encodePassword(text);
        QVERIFY(QRegularExpression(u"^[0-9A-F]+$"_s).match(digits).hasMatch());
        QVERIFY(digits.contains(QRegularExpression(u"[A-F]"_s)));
        QCOMPARE(Crypt::decodePassword(digits.toLower()), text);
    }

    void oddLastDigitIgnored() {
        const QString digits = Crypt::encodePassword(u"LUCE");
        QCOMPARE(Crypt::decodePassword(QString(digits + u'7')), u"LUCE"_s);
        QCOMPARE(Crypt::decodePassword(u"7"), QString());
    }

    void nonHexPairFails_data() {
        QTest::addColumn<QString>("digits");
        const QString good = Crypt::encodePassword(u"LUCE");
        QTest::newRow("blank between two pairs") << QString(good.left(4) + u' ' + good.mid(4));
        QTest::newRow("letter past F") << u"8G52"_s;
        QTest::newRow("sign") << u"+152"_s;
        QTest::newRow("bad last pair, nothing decoded") << QString(good + u"ZZ"_s);
    }
    void nonHexPairFails() {
        QFETCH(QString, digits);
        QVERIFY_THROWS_EXCEPTION(Crypt::ConversionError, Crypt::decodePassword(digits));
    }

    // The delivered store was written with these digits: a change of the constants would lock out
    // every installed copy.
    void initialPasswordDigits() {
        QCOMPARE(Crypt::encodePassword(kInitial), u"8F528413E901ED9530BFA605EEEC"_s);
    }

    // --- Normal form and comparison ---------------------------------------------------------------
    void normalForm_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normal");
        QTest::newRow("lower case") << u"lucepiumavelox"_s << kInitial;
        QTest::newRow("mixed case and blanks") << u"  LucePiumaVelox \t"_s << kInitial;
        QTest::newRow("control characters trimmed") << u"\x01luce\x1f"_s << u"LUCE"_s;
        QTest::newRow("inner blank kept") << u" a b "_s << u"A B"_s;
        QTest::newRow("accented letters keep their case") << u"perché È"_s << u"PERCHé È"_s;
        QTest::newRow("no-break space is not trimmed") << u"\u00A0a"_s << u"\u00A0A"_s;
    }
    void normalForm() {
        QFETCH(QString, typed);
        QFETCH(QString, normal);
        QCOMPARE(PasswordStore::normalForm(typed), normal);
    }

    void comparisonRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("correct");
        QTest::newRow("lower case") << u"lucepiumavelox"_s << kInitial << true;
        QTest::newRow("blanks around") << u" LUCEPIUMAVELOX  "_s << kInitial << true;
        QTest::newRow("other password") << u"lucepiuma"_s << kInitial << false;
        QTest::newRow("accented letter in other case") << u"perchÉ"_s << u"PERCHé"_s << false;
        QTest::newRow("accented letter in same case") << u"perché"_s << u"PERCHé"_s << true;
        QTest::newRow("blank typed, nothing stored") << u"  "_s << QString() << false;
    }
    void comparisonRule() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(bool, correct);
        QCOMPARE(PasswordStore::isCorrect(typed, stored), correct);
    }

    // --- Store -----------------------------------------------------------------------------------
    void missingPartsReadEmpty_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("no section") << QByteArray("[Altro]\nValore=8F528413\n") << true;
        QTest::newRow("no key") << QByteArray("[Accesso]\nChiave=8F528413\n") << true;
    }
    void missingPartsReadEmpty() {
        QFETCH(QByteArray, content);
        QFETCH(bool, fileExists);
        const QString path = ProgramFolder::passwordStore();
        if (fileExists)
            QVERIFY(writeRaw(path, content));
        const QStringList before = entriesOf(m_folder->path());

        QCOMPARE(PasswordStore(path).readPassword(), QString());
        QCOMPARE(entriesOf(m_folder->path()), before);
        QCOMPARE(QFile::exists(path), fileExists);
        if (fileExists)
            QCOMPARE(contentOf(path), content);
    }

    void nonDecodingValueFails_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("blank between pairs") << QByteArray("[Accesso]\nValore=8F52 8413\n");
        QTest::newRow("not hexadecimal") << QByteArray("[Accesso]\nValore=8F52XY13\n");
        QTest::newRow("comma between pairs") << QByteArray("[Accesso]\nValore=8F,528413\n");
    }
    void nonDecodingValueFails() {
        QFETCH(QByteArray, content);
        const QString path = ProgramFolder::passwordStore();
        QVERIFY(writeRaw(path, content));
        QVERIFY_THROWS_EXCEPTION(PasswordStoreError, PasswordStore(path).readPassword());
        QCOMPARE(contentOf(path), content);
    }

    void folderInPlaceOfTheStoreFailsToRead() {
        QVERIFY(QDir(m_folder->path()).mkdir(u"unins000.dll"_s));
        QVERIFY_THROWS_EXCEPTION(PasswordStoreError,
                                 PasswordStore(ProgramFolder::passwordStore()).readPassword());
    }

    void writtenAsUpperCaseDigits() {
        const QString path = ProgramFolder::passwordStore();
        PasswordStore(path).writePassword(kInitial);
        QCOMPARE(entriesOf(m_folder->path()), QStringList{u"unins000.dll"_s});
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.childGroups(), QStringList{u"Accesso"_s});
        QCOMPARE(raw.value(u"Accesso/Valore"_s).toString(), Crypt::encodePassword(kInitial));
        QCOMPARE(PasswordStore(path).readPassword(), kInitial);
    }

    // Edits that the store tolerates: digits in lower case, a stray last digit, blanks in the password.
    void storedValueVariants_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("password");
        const QString digits = Crypt::encodePassword(kInitial);
        QTest::newRow("lower-case digits") << digits.toLower() << kInitial;
        QTest::newRow("odd digit count") << QString(digits + u'5') << kInitial;
        QTest::newRow("blanks decoded around") << Crypt::encodePassword(u" \tLUCE  ") << u"LUCE"_s;
        QTest::newRow("empty value") << QString() << QString();
    }
    void storedValueVariants() {
        QFETCH(QString, value);
        QFETCH(QString, password);
        const QString path = ProgramFolder::passwordStore();
        QVERIFY(writeRaw(path, "[Accesso]\r\nValore=" + value.toLatin1() + "\r\n"));
        QCOMPARE(PasswordStore(path).readPassword(), password);
    }

    void writeKeepsTheRestOfTheFile() {
        const QString path = ProgramFolder::passwordStore();
        QVERIFY(writeRaw(path, "[Altro]\nChiave=uno\n[Accesso]\nValore=00\nNota=due\n"));
        PasswordStore(path).writePassword(u"NUOVA"_s);
        QCOMPARE(PasswordStore(path).readPassword(), u"NUOVA"_s);
        QSettings raw(path, QSettings::IniFormat);
        QCOMPARE(raw.value(u"Altro/Chiave"_s).toString(), u"uno"_s);
        QCOMPARE(raw.value(u"Accesso/Nota"_s).toString(), u"due"_s);
    }

    void failedWriteKeepsTheEarlierPassword_data() {
        QTest::addColumn<bool>("folderInPlace");
        QTest::newRow("folder where the file should be") << true;
        QTest::newRow("replacement cannot be created") << false;
    }
    void failedWriteKeepsTheEarlierPassword() {
        QFETCH(bool, folderInPlace);
        const QString path = ProgramFolder::passwordStore();
        if (folderInPlace) {
            QVERIFY(QDir(m_folder->path()).mkdir(u"unins000.dll"_s));
        } else {
            makeUnreplaceableStore(kInitial);
        }
        const QStringList before = entriesOf(m_folder->path());
        QVERIFY_THROWS_EXCEPTION(PasswordStoreError, PasswordStore(path).writePassword(u"NUOVA"_s));
        QCOMPARE(entriesOf(m_folder->path()), before);
        if (folderInPlace) {
            QVERIFY(QFileInfo(path).isDir());
        } else {
            // Read twice: the refused value must not linger anywhere in the program either.
            QCOMPARE(PasswordStore(path).readPassword(), kInitial);
            QCOMPARE(PasswordStore(path).readPassword(), kInitial);
        }
    }

    // A store that cannot be written says which file and why: the system's words in Italian, its own
    // after them in brackets (Qt's translation of them where it has one), never bare in English.
    void storeFailuresSayWhyInItalian_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("said"); // up to the system's own words
        QTest::newRow("folder where the file should be")
            << u"folder"_s
            << u"Impossibile leggere l'archivio della password \"%1\": al suo posto c'è una cartella ("_s;
        QTest::newRow("replacement refused by the disk")
            << u"unreplaceable"_s
            << u"Impossibile scrivere l'archivio della password \"%1\": accesso negato ("_s;
        QTest::newRow("folder of the store missing")
            << u"no folder"_s
            << u"Impossibile scrivere l'archivio della password \"%1\": il file o la cartella non esiste ("_s;
    }
    void storeFailuresSayWhyInItalian() {
        QFETCH(QString, obstacle);
        QFETCH(QString, said);
        QString path = ProgramFolder::passwordStore();
        if (obstacle == u"folder"_s)
            QVERIFY(QDir(m_folder->path()).mkdir(u"unins000.dll"_s));
        else if (obstacle == u"unreplaceable"_s)
            makeUnreplaceableStore(kInitial);
        else
            path = m_folder->filePath(u"manca/unins000.dll"_s);
        try {
            PasswordStore(path).writePassword(u"NUOVA"_s);
            QFAIL("the store was written");
        } catch (const PasswordStoreError& error) {
            QVERIFY2(error.text().startsWith(said.arg(path)), qPrintable(error.text()));
            QVERIFY2(error.text().endsWith(u')'), qPrintable(error.text()));
        }
    }

    void unstorablePasswordsAreRefused_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("verdict");
        QTest::newRow("255 characters") << QString(255, u'A') << int(PasswordStore::Storable::Yes);
        QTest::newRow("codes up to U+00FF") << u"ÿ\x01À~"_s << int(PasswordStore::Storable::Yes);
        QTest::newRow("256 characters") << QString(256, u'A') << int(PasswordStore::Storable::TooLong);
        QTest::newRow("euro sign") << u"PREZZO€"_s << int(PasswordStore::Storable::WideCharacter);
        QTest::newRow("Cyrillic") << u"ПАРОЛЬ"_s << int(PasswordStore::Storable::WideCharacter);
    }
    void unstorablePasswordsAreRefused() {
        QFETCH(QString, password);
        QFETCH(int, verdict);
        QCOMPARE(int(PasswordStore::storable(password)), verdict);
        const QString path = ProgramFolder::passwordStore();
        PasswordStore(path).writePassword(kInitial);
        if (verdict == int(PasswordStore::Storable::Yes)) {
            PasswordStore(path).writePassword(password);
            QCOMPARE(PasswordStore(path).readPassword(), password);
        } else {
            QVERIFY_THROWS_EXCEPTION(PasswordStoreError, PasswordStore(path).writePassword(password));
            QCOMPARE(PasswordStore(path).readPassword(), kInitial);
        }
    }

    // --- Login window ----------------------------------------------------------------------------
    void loginLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("panel") << u"panContainer"_s << QRect(14, 13, 360, 378);
        QTest::newRow("background") << u"shpSfondo"_s << QRect(8, 8, 344, 265);
        QTest::newRow("picture") << u"imgLogo"_s << QRect(16, 16, 328, 160);
        QTest::newRow("entry area") << u"shpTitolo"_s << QRect(16, 184, 328, 81);
        QTest::newRow("frame") << u"effPassword"_s << QRect(32, 218, 238, 30);
        QTest::newRow("field") << u"txtPassword"_s << QRect(36, 222, 230, 22);
        QTest::newRow("OK") << u"cmdOK"_s << QRect(280, 216, 49, 33);
        QTest::newRow("exit") << u"cmdEsci"_s << QRect(8, 338, 146, 32);
        QTest::newRow("change") << u"btnCambiaPassword"_s << QRect(205, 338, 146, 32);
    }
    void loginLayout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        LoginWindow window;
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
    }

    void loginAtCreation() {
        LoginWindow window;
        QCOMPARE(window.size(), QSize(388, 405));
        QVERIFY(window.findChild<Picture*>(u"imgLogo"_s)->isLoaded());
        QCOMPARE(window.findChild<QLabel*>(u"lblRigo05"_s)->pos(), QPoint(36, 200));
        QCOMPARE(window.findChild<QLabel*>(u"lblRigo05"_s)->text(), u"Immetti la password e premi OK."_s);
        auto* field = window.findChild<QLineEdit*>(u"txtPassword"_s);
        QCOMPARE(field->echoMode(), QLineEdit::Password);
        QCOMPARE(field->font().family(), u"Verdana"_s);
        QCOMPARE(field->font().pointSize(), 14);
        QVERIFY(field->font().bold());
        QVERIFY(window.findChild<QWidget*>(u"effPassword"_s)->isHidden());
        const QList<std::pair<QString, QString>> buttons = {
            {u"cmdOK"_s, u"OK"_s}, {u"cmdEsci"_s, u"Esci"_s}, {u"btnCambiaPassword"_s, u"Cambia password"_s}};
        for (const auto& [name, text] : buttons) {
            auto* button = window.findChild<QPushButton*>(name);
            QCOMPARE(button->text(), text);
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        }
        QVERIFY(!window.findChild<QPushButton*>(u"cmdOK"_s)->isEnabled());
    }

    void loginShowsWithTheFocusInTheField() {
        showLogin();
        QTRY_VERIFY(field(u"txtPassword"_s)->hasFocus());
        QVERIFY(m_windows->login()->findChild<QWidget*>(u"effPassword"_s)->isVisible());
        // Tab order: field, OK, exit, change.
        type(field(u"txtPassword"_s), u"x"_s);
        for (const QString& next : {u"cmdOK"_s, u"cmdEsci"_s, u"btnCambiaPassword"_s}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget()->objectName(), next);
        }
        QVERIFY(!m_windows->login()->findChild<QWidget*>(u"effPassword"_s)->isVisible());
    }

    // The logo names the initial password, in its own red, only while the store holds it: not once
    // another password is stored (here or by another copy of the program), nor when the store is
    // missing or damaged, since then the initial password lets nobody in either.
    void logoNamesTheInitialPasswordOnlyWhileStored_data() {
        QTest::addColumn<QString>("stored"); // empty: no store
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<bool>("named");
        QTest::newRow("initial password") << kInitial << false << true;
        QTest::newRow("another password") << u"SEGRETO"_s << false << false;
        QTest::newRow("no store") << QString() << false << false;
        QTest::newRow("store that does not decode") << QString() << true << false;
    }
    void logoNamesTheInitialPasswordOnlyWhileStored() {
        QFETCH(QString, stored);
        QFETCH(bool, damaged);
        QFETCH(bool, named);
        if (damaged)
            QVERIFY(writeRaw(ProgramFolder::passwordStore(), "[Accesso]\nValore=8F52 8413\n"));
        else if (!stored.isEmpty())
            storePassword(stored);
        showLogin();
        if (named)
            QVERIFY(initialPasswordPixels() >= 50);
        else
            QCOMPARE(initialPasswordPixels(), 0);
    }

    void changingThePasswordTakesTheLineAway() {
        FakeMessages messages;
        storePassword(kInitial);
        showLogin();
        QVERIFY(initialPasswordPixels() >= 50);
        QTest::mouseClick(button(m_windows->login(), u"btnCambiaPassword"_s), Qt::LeftButton);
        fill(u"lucepiumavelox"_s, u"segreto"_s, u"segreto"_s);
        clickOk();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QCOMPARE(initialPasswordPixels(), 0);

        // Choosing the initial password again brings the line back.
        QTest::mouseClick(button(m_windows->login(), u"btnCambiaPassword"_s), Qt::LeftButton);
        fill(u"segreto"_s, u"lucepiumavelox"_s, u"lucepiumavelox"_s);
        clickOk();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QVERIFY(initialPasswordPixels() >= 50);
    }

    void blanksLeaveOkDisabled_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed blanks") << u"   "_s << true;
        QTest::newRow("pasted control characters") << u" \t\x01 "_s << false;
    }
    void blanksLeaveOkDisabled() {
        QFETCH(QString, text);
        QFETCH(bool, typed);
        FakeMessages messages;
        storePassword(kInitial);
        showLogin();
        QLineEdit* password = field(u"txtPassword"_s);
        typed ? type(password, text) : password->insert(text);
        QCOMPARE(password->text(), text);
        QVERIFY(!button(m_windows->login(), u"cmdOK"_s)->isEnabled());
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
    }

    void rightPasswordOpensTheLauncher_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byReturn");
        QTest::newRow("lower case, OK") << u"lucepiumavelox"_s << false;
        QTest::newRow("lower case, Return") << u"lucepiumavelox"_s << true;
        QTest::newRow("upper case") << u"LUCEPIUMAVELOX"_s << false;
        QTest::newRow("mixed case with blanks around") << u"  LucePiumaVelox  "_s << true;
    }
    void rightPasswordOpensTheLauncher() {
        QFETCH(QString, typed);
        QFETCH(bool, byReturn);
        FakeMessages messages;
        storePassword(kInitial);
        showLogin();
        QLineEdit* password = field(u"txtPassword"_s);
        type(password, typed);
        QVERIFY(button(m_windows->login(), u"cmdOK"_s)->isEnabled());
        if (byReturn)
            QTest::keyClick(password, Qt::Key_Return);
        else
            QTest::mouseClick(button(m_windows->login(), u"cmdOK"_s), Qt::LeftButton);
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
        QCOMPARE(password->text(), typed); // kept, hidden with the window
    }

    void wrongPasswordEmptiesTheField_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byReturn");
        QTest::newRow("other password") << kInitial << u"sbagliata"_s << false;
        QTest::newRow("inner blank") << kInitial << u"luce piumavelox"_s << true;
        QTest::newRow("accented letter in other case") << u"PERCHé"_s << u"PERCHÉ"_s << false;
    }
    void wrongPasswordEmptiesTheField() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, byReturn);
        FakeMessages messages;
        storePassword(stored);
        showLogin();
        QLineEdit* password = field(u"txtPassword"_s);
        type(password, typed);
        if (byReturn)
            QTest::keyClick(password, Qt::Key_Return);
        else
            QTest::mouseClick(button(m_windows->login(), u"cmdOK"_s), Qt::LeftButton);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Attenzione: password errata."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
        QCOMPARE(password->text(), QString());
        QTRY_VERIFY(password->hasFocus());
        QVERIFY(!button(m_windows->login(), u"cmdOK"_s)->isEnabled());
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        type(password, u"a"_s);
        QVERIFY(button(m_windows->login(), u"cmdOK"_s)->isEnabled());
    }

    void damagedStoreKeepsTheField_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("blank between pairs")
            << QByteArray("[Accesso]\nValore=8F52 8413E901ED9530BFA605EEEC\n");
        QTest::newRow("not hexadecimal") << QByteArray("[Accesso]\nValore=8F52QQ13E901ED9530BFA605EEEC\n");
        QTest::newRow("folder where the file should be") << QByteArray();
    }
    void damagedStoreKeepsTheField() {
        QFETCH(QByteArray, content);
        FakeMessages messages;
        if (content.isEmpty())
            QVERIFY(QDir(m_folder->path()).mkdir(u"unins000.dll"_s));
        else
            QVERIFY(writeRaw(ProgramFolder::passwordStore(), content));
        showLogin();
        QLineEdit* password = field(u"txtPassword"_s);
        type(password, u"lucepiumavelox"_s);
        QTest::mouseClick(button(m_windows->login(), u"cmdOK"_s), Qt::LeftButton);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: si è verificato un errore durante la procedura di lettura "
                 u"della password. Si consiglia di reinstallare il software."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
        QCOMPARE(password->text(), u"lucepiumavelox"_s);
        QVERIFY(button(m_windows->login(), u"cmdOK"_s)->isEnabled());
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
    }

    void noStoreRefusesEveryPassword_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("no section") << QByteArray("[Altro]\nValore=8F528413E901ED9530BFA605EEEC\n");
        QTest::newRow("no key") << QByteArray("[Accesso]\nChiave=8F528413E901ED9530BFA605EEEC\n");
    }
    void noStoreRefusesEveryPassword() {
        QFETCH(QByteArray, content);
        FakeMessages messages;
        if (!content.isEmpty())
            QVERIFY(writeRaw(ProgramFolder::passwordStore(), content));
        const QStringList before = entriesOf(m_folder->path());
        showLogin();
        QLineEdit* password = field(u"txtPassword"_s);
        for (const QString& typed : {u"lucepiumavelox"_s, u"x"_s}) {
            type(password, typed);
            QTest::keyClick(password, Qt::Key_Return);
            QCOMPARE(messages.asked.last().text, u"Attenzione: password errata."_s);
        }
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QCOMPARE(entriesOf(m_folder->path()), before);
    }

    void leavingTheLoginEndsTheProgram_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esci") << u"Esci"_s;
        QTest::newRow("system close command") << u"close"_s;
        QTest::newRow("Escape, as Esci") << u"Escape"_s;
    }
    void leavingTheLoginEndsTheProgram() {
        QFETCH(QString, how);
        showLogin();
        QTimer::singleShot(0, m_windows->login(), [this, how] {
            if (how == u"Esci"_s)
                QTest::mouseClick(button(m_windows->login(), u"cmdEsci"_s), Qt::LeftButton);
            else if (how == u"Escape"_s)
                QTest::keyClick(field(u"txtPassword"_s), Qt::Key_Escape);
            else
                m_windows->login()->close();
        });
        QTimer guard;
        guard.callOnTimeout([] { QCoreApplication::exit(99); });
        guard.start(20000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(visibleWindows().isEmpty());
    }

    void changeButtonSwapsTheWindows() {
        showLogin();
        type(field(u"txtPassword"_s), u"qualcosa"_s);
        QTest::mouseClick(button(m_windows->login(), u"btnCambiaPassword"_s), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->changePassword()});
        QVERIFY(!m_windows->changePassword()->isModal());

        QTest::mouseClick(button(m_windows->changePassword(), u"cmdEsci"_s), Qt::LeftButton);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QLineEdit* password = field(u"txtPassword"_s);
        QCOMPARE(password->text(), QString());
        QTRY_VERIFY(password->hasFocus());
        QVERIFY(m_windows->login()->findChild<QWidget*>(u"effPassword"_s)->isVisible());
        QVERIFY(!button(m_windows->login(), u"cmdOK"_s)->isEnabled());
    }

    // --- Change-password window ------------------------------------------------------------------
    void changeLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("panel") << u"panContainer"_s << QRect(13, 14, 385, 390);
        QTest::newRow("background") << u"shpSfondo"_s << QRect(8, 8, 369, 334);
        QTest::newRow("picture") << u"imgLogo"_s << QRect(16, 16, 353, 148);
        QTest::newRow("old") << u"txtPasswordOld"_s << QRect(16, 193, 353, 22);
        QTest::newRow("new") << u"txtPasswordNew"_s << QRect(16, 249, 353, 22);
        QTest::newRow("confirmation") << u"txtConferma"_s << QRect(16, 305, 353, 22);
        QTest::newRow("old frame") << u"effPasswordOld"_s << QRect(12, 189, 361, 30);
        QTest::newRow("new frame") << u"effPasswordNew"_s << QRect(12, 245, 361, 30);
        QTest::newRow("confirmation frame") << u"effConferma"_s << QRect(12, 301, 361, 30);
        QTest::newRow("close") << u"cmdEsci"_s << QRect(8, 350, 146, 32);
        QTest::newRow("OK") << u"cmdOK"_s << QRect(232, 350, 146, 32);
    }
    void changeLayout() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        ChangePasswordWindow window;
        auto* control = window.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        if (name.startsWith(u"txt"))
            QCOMPARE(qobject_cast<QLineEdit*>(control)->echoMode(), QLineEdit::Password);
        if (name.startsWith(u"eff"))
            QVERIFY(control->isHidden());
    }

    void changeAtCreation() {
        ChangePasswordWindow window;
        QCOMPARE(window.size(), QSize(411, 418));
        QVERIFY(window.findChild<Picture*>(u"imgLogo"_s)->isLoaded());
        const QList<std::pair<QString, QPoint>> labels = {{u"Vecchia password:"_s, {16, 172}},
                                                          {u"Nuova password:"_s, {16, 228}},
                                                          {u"Conferma nuova password:"_s, {16, 284}}};
        const QList<QLabel*> found = {window.findChild<QLabel*>(u"lblRigo05"_s),
                                      window.findChild<QLabel*>(u"lblRigo06"_s),
                                      window.findChild<QLabel*>(u"lblRigo07"_s)};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(found[i]->text(), labels[i].first);
            QCOMPARE(found[i]->pos(), labels[i].second);
        }
        QCOMPARE(window.findChild<QPushButton*>(u"cmdEsci"_s)->text(), u"Chiudi"_s);
        QVERIFY(!window.findChild<QPushButton*>(u"cmdOK"_s)->isEnabled());
        QCOMPARE(window.findChild<QPushButton*>(u"cmdOK"_s)->cursor().shape(), Qt::PointingHandCursor);
    }

    void okNeedsAllThreeFields_data() {
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("all filled") << u"a"_s << u"b"_s << u"c"_s << true;
        QTest::newRow("old empty") << QString() << u"b"_s << u"c"_s << false;
        QTest::newRow("new blank") << u"a"_s << u"   "_s << u"c"_s << false;
        QTest::newRow("confirmation blank") << u"a"_s << u"b"_s << u" "_s << false;
    }
    void okNeedsAllThreeFields() {
        QFETCH(QString, old);
        QFETCH(QString, fresh);
        QFETCH(QString, confirmation);
        QFETCH(bool, enabled);
        openChange();
        fill(old, fresh, confirmation);
        QCOMPARE(button(m_windows->changePassword(), u"cmdOK"_s)->isEnabled(), enabled);
    }

    // Return moves round the fields and never runs the change, even with all three filled.
    void returnOnlyMovesTheFocus() {
        FakeMessages messages;
        storePassword(kInitial);
        openChange();
        fill(u"lucepiumavelox"_s, u"nuova"_s, u"nuova"_s);
        QTRY_VERIFY(field(u"txtPasswordOld"_s)->hasFocus());
        for (const QString& next : {u"txtPasswordNew"_s, u"txtConferma"_s, u"txtPasswordOld"_s}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_COMPARE(QApplication::focusWidget(), field(next));
            QVERIFY(m_windows->changePassword()->findChild<QWidget*>(u"eff"_s + next.mid(3))->isVisible());
        }
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), kInitial);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->changePassword()});
    }

    // Return presses the button that has the focus, or else the one the window is for, and Escape
    // leaves as "Chiudi" or "Esci" does; in the fields Return keeps its own meaning (above).
    void keysOfTheAccessWindows_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        const int ret = Qt::Key_Return;
        const QString changed = u"Modifica della password completata con successo."_s;
        QTest::newRow("change, Return on OK changes the password")
            << u"change"_s << u"cmdOK"_s << ret << u"login"_s << u"NUOVA"_s << changed;
        QTest::newRow("change, Enter on OK as well")
            << u"change"_s << u"cmdOK"_s << int(Qt::Key_Enter) << u"login"_s << u"NUOVA"_s << changed;
        QTest::newRow("change, Return on Chiudi leaves")
            << u"change"_s << u"cmdEsci"_s << ret << u"login"_s << kInitial << QString();
        QTest::newRow("change, Escape in a field leaves as Chiudi")
            << u"change"_s << u"txtConferma"_s << int(Qt::Key_Escape) << u"login"_s << kInitial << QString();
        QTest::newRow("login, Return on Cambia password")
            << u"login"_s << u"btnCambiaPassword"_s << ret << u"change"_s << kInitial << QString();
        QTest::newRow("login, Return on OK logs in")
            << u"login"_s << u"cmdOK"_s << ret << u"launcher"_s << kInitial << QString();
    }
    void keysOfTheAccessWindows() {
        QFETCH(QString, window);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, shownAfter);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        FakeMessages messages;
        storePassword(kInitial);
        QWidget* start;
        if (window == u"change"_s) {
            openChange();
            fill(u"lucepiumavelox"_s, u"nuova"_s, u"nuova"_s);
            start = m_windows->changePassword()->findChild<QWidget*>(focus);
        } else {
            showLogin();
            type(field(u"txtPassword"_s), u"lucepiumavelox"_s);
            start = m_windows->login()->findChild<QWidget*>(focus);
        }
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        QTest::keyClick(start, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QWidget* expected = shownAfter == u"login"_s    ? static_cast<QWidget*>(m_windows->login())
                            : shownAfter == u"change"_s ? static_cast<QWidget*>(m_windows->changePassword())
                                                        : static_cast<QWidget*>(m_windows->launcher());
        QCOMPARE(visibleWindows(), QList<QWidget*>{expected});
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), stored);
        QCOMPARE(messages.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(messages.asked[0].text, message);
        if (expected == m_windows->login())
            QCOMPARE(field(u"txtPassword"_s)->text(), QString());
    }

    // The confirmation is compared case included, though both would store the same normal form.
    void caseMismatchIsRefused() {
        FakeMessages messages;
        storePassword(kInitial);
        openChange();
        fill(u"lucepiumavelox"_s, u"segreto"_s, u"SEGRETO"_s);
        clickOk();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: la nuova password non è stata confermata correttamente. "
                 u"E' necessario reinserire entrambi i valori."_s);
        QCOMPARE(field(u"txtPasswordOld"_s)->text(), u"lucepiumavelox"_s);
        QCOMPARE(field(u"txtPasswordNew"_s)->text(), QString());
        QCOMPARE(field(u"txtConferma"_s)->text(), QString());
        QTRY_VERIFY(field(u"txtPasswordNew"_s)->hasFocus());
        QVERIFY(!button(m_windows->changePassword(), u"cmdOK"_s)->isEnabled());
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), kInitial);
    }

    void changedPasswordLogsIn_data() {
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("login");
        QTest::newRow("lower case in both, login mixed case")
            << u"segreto"_s << u"segreto"_s << u"SEGRETO"_s << u"SeGrEtO"_s;
        QTest::newRow("blanks around are not stored")
            << u"  segreto  "_s << u"segreto "_s << u"SEGRETO"_s << u"segreto"_s;
        QTest::newRow("same as the old one")
            << u"lucepiumavelox"_s << u"lucepiumavelox"_s << kInitial << u"LUCEPIUMAVELOX"_s;
        QTest::newRow("accented letter keeps its case")
            << u"perché"_s << u"perché"_s << u"PERCHé"_s << u"Perché"_s;
        QTest::newRow("255 characters")
            << QString(255, u'z') << QString(255, u'z') << QString(255, u'Z') << QString(255, u'z');
    }
    void changedPasswordLogsIn() {
        QFETCH(QString, fresh);
        QFETCH(QString, confirmation);
        QFETCH(QString, stored);
        QFETCH(QString, login);
        FakeMessages messages;
        storePassword(kInitial);
        openChange();
        fill(u"lucepiumavelox"_s, fresh, confirmation);
        clickOk();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Modifica della password completata con successo."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), stored);

        // Back in the login window, with an empty field that has the focus.
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->login()});
        QLineEdit* password = field(u"txtPassword"_s);
        QCOMPARE(password->text(), QString());
        QTRY_VERIFY(password->hasFocus());
        password->insert(login);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
    }

    void wrongOldPasswordKeepsTheOtherFields_data() {
        QTest::addColumn<bool>("storeExists");
        QTest::newRow("old password wrong") << true;
        QTest::newRow("no store") << false;
    }
    void wrongOldPasswordKeepsTheOtherFields() {
        QFETCH(bool, storeExists);
        FakeMessages messages;
        if (storeExists)
            storePassword(kInitial);
        openChange();
        fill(u"sbagliata"_s, u"segreto"_s, u"segreto"_s);
        clickOk();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Attenzione: vecchia password errata."_s);
        QCOMPARE(field(u"txtPasswordOld"_s)->text(), QString());
        QTRY_VERIFY(field(u"txtPasswordOld"_s)->hasFocus());
        QCOMPARE(field(u"txtPasswordNew"_s)->text(), u"segreto"_s);
        QCOMPARE(field(u"txtConferma"_s)->text(), u"segreto"_s);
        QVERIFY(!button(m_windows->changePassword(), u"cmdOK"_s)->isEnabled());
        QCOMPARE(QFile::exists(ProgramFolder::passwordStore()), storeExists);
        if (!storeExists)
            return;

        // Correcting the old password is enough: the new one need not be typed again.
        type(field(u"txtPasswordOld"_s), u"lucepiumavelox"_s);
        clickOk();
        QCOMPARE(messages.asked.last().text, u"Modifica della password completata con successo."_s);
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), u"SEGRETO"_s);
    }

    void unstorablePasswordIsRefused_data() {
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("message");
        const QString tooLong = ChangePasswordWindow::tooLongMessage();
        const QString wide = ChangePasswordWindow::wideCharacterMessage();
        QTest::newRow("256 characters") << QString(256, u'a') << tooLong;
        QTest::newRow("256 characters in blanks") << QString(u" "_s + QString(256, u'a') + u" "_s) << tooLong;
        QTest::newRow("euro sign") << u"costa10€"_s << wide;
        QTest::newRow("Greek letters") << u"αβγ"_s << wide;
    }
    void unstorablePasswordIsRefused() {
        QFETCH(QString, fresh);
        QFETCH(QString, message);
        FakeMessages messages;
        storePassword(kInitial);
        const QByteArray before = contentOf(ProgramFolder::passwordStore());
        openChange();
        fill(u"lucepiumavelox"_s, fresh, fresh);
        clickOk();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, message);
        QVERIFY(message.startsWith(u"Attenzione:"_s));
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
        QCOMPARE(contentOf(ProgramFolder::passwordStore()), before);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->changePassword()});
        QCOMPARE(field(u"txtPasswordNew"_s)->text(), QString());
        QCOMPARE(field(u"txtConferma"_s)->text(), QString());
        QTRY_VERIFY(field(u"txtPasswordNew"_s)->hasFocus());
    }

    void storeFailureKeepsEverything_data() {
        QTest::addColumn<bool>("writeFails");
        QTest::newRow("store does not decode") << false;
        QTest::newRow("store cannot be replaced") << true;
    }
    void storeFailureKeepsEverything() {
        QFETCH(bool, writeFails);
        FakeMessages messages;
        if (writeFails)
            makeUnreplaceableStore(kInitial);
        else
            QVERIFY(writeRaw(ProgramFolder::passwordStore(), "[Accesso]\nValore=8F52 8413\n"));
        const QByteArray before = contentOf(ProgramFolder::passwordStore());
        openChange();
        fill(u"lucepiumavelox"_s, u"segreto"_s, u"segreto"_s);
        clickOk();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: si è verificato un errore durante la procedura di modifica "
                 u"della password. Si consiglia di reinstallare il software."_s);
        QCOMPARE(field(u"txtPasswordOld"_s)->text(), u"lucepiumavelox"_s);
        QCOMPARE(field(u"txtPasswordNew"_s)->text(), u"segreto"_s);
        QCOMPARE(field(u"txtConferma"_s)->text(), u"segreto"_s);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->changePassword()});
        QCOMPARE(contentOf(ProgramFolder::passwordStore()), before);
        if (!writeFails)
            return;

        // The earlier password stays in force for the rest of the run, not only on the disk.
        QTest::mouseClick(button(m_windows->changePassword(), u"cmdEsci"_s), Qt::LeftButton);
        QLineEdit* password = field(u"txtPassword"_s);
        type(password, u"segreto"_s);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(messages.asked.last().text, u"Attenzione: password errata."_s);
        type(password, u"lucepiumavelox"_s);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
    }

    void fieldsAreEmptiedAtEachShowing() {
        openChange();
        fill(u"uno"_s, u"due"_s, u"tre"_s);
        QTest::mouseClick(button(m_windows->changePassword(), u"cmdEsci"_s), Qt::LeftButton);
        QTest::mouseClick(button(m_windows->login(), u"btnCambiaPassword"_s), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(m_windows->changePassword()));
        for (const QString& name : {u"txtPasswordOld"_s, u"txtPasswordNew"_s, u"txtConferma"_s})
            QCOMPARE(field(name)->text(), QString());
        QTRY_VERIFY(field(u"txtPasswordOld"_s)->hasFocus());
        QVERIFY(m_windows->changePassword()->findChild<QWidget*>(u"effPasswordOld"_s)->isVisible());
        QVERIFY(!button(m_windows->changePassword(), u"cmdOK"_s)->isEnabled());
    }

private:
    // Backdates the store, so that a store written again in the same millisecond, with the same size,
    // is never taken for the one read before (QSettings rereads a file when its size or time changes).
    void storePassword(const QString& normal) {
        const QString path = ProgramFolder::passwordStore();
        PasswordStore(path).writePassword(normal);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }

    // A store that reads well but cannot be replaced: it links to a file whose name fills the file
    // system's limit, so the temporary file that a replacement is written to, named after it, cannot
    // be made.
    void makeUnreplaceableStore(const QString& normal) {
        PasswordStore(ProgramFolder::passwordStore()).writePassword(normal);
        m_refusing = std::make_unique<RefusingReplacer>(ProgramFolder::passwordStore());
        QCOMPARE(PasswordStore(ProgramFolder::passwordStore()).readPassword(), normal);
    }

    // The pixels of the login logo in the red in which it names the initial password.
    int initialPasswordPixels() {
        QWidget* login = m_windows->login();
        QWidget* logo = login->findChild<QWidget*>(u"imgLogo"_s);
        const QImage shown = login->grab(QRect(logo->mapTo(login, QPoint(0, 0)), logo->size())).toImage();
        int red = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                red += c.red() > 140 && c.green() < 100 && c.blue() < 100;
            }
        }
        return red;
    }

    void showLogin() {
        m_windows = std::make_unique<WindowSet>();
        m_windows->login()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
    }

    void openChange() {
        showLogin();
        QTest::mouseClick(button(m_windows->login(), u"btnCambiaPassword"_s), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(m_windows->changePassword()));
    }

    // Fills the change window's fields as typed, or pasted for texts too long to type key by key.
    void fill(const QString& old, const QString& fresh, const QString& confirmation) {
        const QList<std::pair<QString, QString>> fields = {
            {u"txtPasswordOld"_s, old}, {u"txtPasswordNew"_s, fresh}, {u"txtConferma"_s, confirmation}};
        for (const auto& [name, text] : fields) {
            if (text.size() > 40)
                field(name)->insert(text);
            else
                type(field(name), text);
        }
    }

    void clickOk() {
        QPushButton* ok = button(m_windows->changePassword(), u"cmdOK"_s);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    QLineEdit* field(const QString& name) {
        for (QWidget* window : {static_cast<QWidget*>(m_windows->login()),
                                static_cast<QWidget*>(m_windows->changePassword())}) {
            if (auto* found = window->findChild<QLineEdit*>(name))
                return found;
        }
        return nullptr;
    }

    static QPushButton* button(QWidget* window, const QString& name) {
        return window->findChild<QPushButton*>(name);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<WindowSet> m_windows;
    std::unique_ptr<RefusingReplacer> m_refusing;
};

LUMIVERA_WINDOW_TEST_MAIN(TestAccess)

#include "tst_access.moc"
