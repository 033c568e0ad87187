// Files a user, another program or a damaged disk may leave where the program looks: archives of any
// length and content, a folder in place of a book, a book past 4 GiB, photos that are not what they
// claim, password stores that are not what the program wrote, names that try to leave their folder.
// Each is handled without a crash and as the program says it handles it.
#include "FakeMessages.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "access/core/Crypt.h"
#include "access/core/PasswordStore.h"
#include "app/Application.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/CreateBookWindow.h"
#include "base/ProgramFolder.h"
#include "ui/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kRecord = qint64(TScheda::kSize);

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Every field's length byte set to 255, whatever the field's room, and the text bytes all 'A'.
QByteArray allLengthsAt255() {
    QByteArray record(kRecord, 'A');
    for (int f = 0; f < TScheda::kFieldCount; ++f)
        record[qsizetype(TScheda::layout(TScheda::Field(f)).offset)] = char(0xFF);
    return record;
}

// A BMP header that declares width x height at 24 bits, followed by a few bytes of pixels.
QByteArray bmpDeclaring(qint32 width, qint32 height) {
    QByteArray bytes(54, '\0');
    auto put32 = [&](int at, quint32 value) { qToLittleEndian(value, bytes.data() + at); };
    auto put16 = [&](int at, quint16 value) { qToLittleEndian(value, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + 64);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, 24);
    return bytes + QByteArray(64, '\x7F');
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() {
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        m_dir.reset();
    }

    // --- Archives --------------------------------------------------------------------------------
    // The count is the size divided by 3548; the bytes of an incomplete last record are never read;
    // every field reads within its own room; a card appended goes right after the last whole record.
    void archiveContents_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("1 byte") << QByteArray("\xFF", 1) << 0;
        QTest::newRow("3547 bytes") << randomBytes(kRecord - 1, 1) << 0;
        QTest::newRow("every length byte 255") << allLengthsAt255() << 1;
        QTest::newRow("two records at 255 and a tail") << allLengthsAt255().repeated(2) + "xyz" << 2;
        QTest::newRow("random bytes") << randomBytes(5 * kRecord + 100, 2) << 5;
        QTest::newRow("zero bytes") << QByteArray(3 * kRecord, '\0') << 3;
    }
    void archiveContents() {
        QFETCH(QByteArray, content);
        QFETCH(int, count);
        const QString path = m_dir->filePath(u"X.wmn"_s);
        QVERIFY(writeFile(path, content));

        BookArchive archive;
        archive.open(path);
        QCOMPARE(archive.count(), count);
        for (int i = 0; i < count; ++i) {
            archive.seek(i);
            const TScheda card = archive.read();
            for (int f = 0; f < TScheda::kFieldCount; ++f) {
                const TScheda::Field field = TScheda::Field(f);
                QVERIFY(card.field(field).size() <= TScheda::layout(field).capacity);
            }
        }
        archive.seek(0);
        std::vector<TScheda> cards;
        QCOMPARE(archive.readBlock(cards, 1000), count);
        QCOMPARE(archive.readBlock(cards, 1000), 0);
        // Past the last whole record there is no card to read, whatever bytes are there.
        archive.seek(count);
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.read());
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.seek(count + 1));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.seek(-1));

        // A card appended goes after the whole records, the cards before it untouched.
        TScheda added;
        added.setField(TScheda::Titolo, u"Aggiunta"_s);
        archive.seek(count);
        archive.write(added);
        QCOMPARE(archive.count(), count + 1);
        archive.close();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray after = file.readAll();
        QCOMPARE(after.left(count * kRecord), content.left(count * kRecord));
        archive.open(path);
        archive.seek(count);
        QCOMPARE(archive.read().field(TScheda::Titolo), u"Aggiunta"_s);
    }

    void longLengthBytesReadAsTheFieldsRoom() {
        TScheda card;
        const QByteArray record = allLengthsAt255();
        std::copy(record.begin(), record.end(), reinterpret_cast<char*>(card.bytes().data()));
        for (int f = 0; f < TScheda::kFieldCount; ++f) {
            const TScheda::Field field = TScheda::Field(f);
            QCOMPARE(card.field(field), QString(TScheda::layout(field).capacity, u'A'));
        }
    }

    // A folder with a book's name is not a book: it cannot be opened as one, is not listed, and
    // stays a folder.
    void folderNamedAsABook() {
        const QString path = m_dir->filePath(u"X.wmn"_s);
        QVERIFY(QDir().mkpath(path));
        BookArchive archive;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.open(path));
        QVERIFY(!archive.isOpen());
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY(!BookShelf::list(m_dir->path()).contains(u"X.wmn"_s));
        QVERIFY(!BookShelf::remove(path));
        QVERIFY(QFileInfo(path).isDir());
    }

    // A book past 4 GiB (sparse): the count and the positions do not wrap at 32 bits.
    void archiveLargerThan4GiB() {
        const QString path = m_dir->filePath(u"Grande.wmn"_s);
        const qint64 cards = (qint64(1) << 32) / kRecord + 2;
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (!file.resize(cards * kRecord))
                QSKIP("the file system here cannot hold a sparse file past 4 GiB");
            TScheda last;
            last.setField(TScheda::Titolo, u"Ultima"_s);
            QVERIFY(file.seek((cards - 1) * kRecord));
            QCOMPARE(file.write(reinterpret_cast<const char*>(last.bytes().data()), kRecord), kRecord);
        }
        QVERIFY(QFileInfo(path).size() > (qint64(1) << 32));
        BookArchive archive;
        archive.open(path);
        QCOMPARE(qint64(archive.count()), cards);
        archive.seek(int(cards - 1));
        QCOMPARE(archive.read().field(TScheda::Titolo), u"Ultima"_s);
        QVERIFY(archive.atEnd());
        archive.seek(int(cards - 2));
        std::vector<TScheda> block;
        QCOMPARE(archive.readBlock(block, 10), 2);
        QCOMPARE(block[1].field(TScheda::Titolo), u"Ultima"_s);

        TScheda appended;
        appended.setField(TScheda::Titolo, u"Dopo"_s);
        archive.seek(int(cards));
        archive.write(appended);
        archive.close();
        QCOMPARE(QFileInfo(path).size(), (cards + 1) * kRecord);
        archive.open(path);
        archive.seek(int(cards));
        QCOMPARE(archive.read().field(TScheda::Titolo), u"Dopo"_s);
        archive.seek(int(cards - 1));
        QCOMPARE(archive.read().field(TScheda::Titolo), u"Ultima"_s);
        archive.close();
        QVERIFY(QFile::remove(path));
    }

    // --- Photos ----------------------------------------------------------------------------------
    // A photo that cannot be decoded gives a null photo (the frame shows the placeholder); one that can
    // be decoded, even in part, comes at the size it declares.
    void photoFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QSize>("decoded"); // an invalid size: no photo

        const QByteArray good = jpeg({640, 480}, QColor(40, 90, 160), 10);
        QTest::newRow("text named .jpg")
            << u"testo.jpg"_s << QByteArray("questa non è una foto\n") << QSize();
        QTest::newRow("empty .jpg") << u"vuota.jpg"_s << QByteArray() << QSize();
        QTest::newRow("truncated JPEG") << u"tronca.jpg"_s << good.left(good.size() / 2) << QSize(640, 480);
        QTest::newRow("JPEG header only") << u"testata.jpg"_s << good.left(200) << QSize();

        const QByteArray tiny = withDeclaredSize(jpeg({8, 8}, QColor(40, 90, 160), 10), {30000, 30000});
        QTest::newRow("JPEG declaring 30000 x 30000") << u"enorme.jpg"_s << tiny << QSize();
        QTest::newRow("BMP declaring 100000 x 100000")
            << u"enorme.bmp"_s << bmpDeclaring(100000, 100000) << QSize();
        QTest::newRow("BMP declaring 100000 x 100000 named .jpg")
            << u"finta.jpg"_s << bmpDeclaring(100000, 100000) << QSize();
        QTest::newRow("BMP declaring a negative width") << u"storta.bmp"_s << bmpDeclaring(-5, 7) << QSize();
        // A GIF's header states the size of its first picture; the decoder gives the whole screen.
        QTest::newRow("GIF whose screen is wider than its picture")
            << u"larga.gif"_s
            << QByteArray::fromBase64("R0lGODlhAT0BAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==")
            << QSize(15617, 1);
        // The screen is what is decoded, and it holds more than 250 megapixels, which is refused.
        QTest::newRow("GIF whose screen is larger than the limit")
            << u"schermo.gif"_s << QByteArray::fromBase64("R0lGODlhAT0BPwAAACwAAAA5YfkEAwAAAAAsPwABAQAHASIb")
            << QSize();
    }
    void photoFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QSize, decoded);
        if (name == u"enorme.jpg"_s)
            QVERIFY(content.size() <= 700);
        const QString path = m_dir->filePath(name);
        QVERIFY(writeFile(path, content));

        const CardPhoto photo = CardPhoto::fromFile(path, PhotoStore::kPlaceholderSize);
        QCOMPARE(photo.isNull(), !decoded.isValid());
        const CardPhoto inFull = CardPhoto::fromFileInFull(path, PhotoStore::kPlaceholderSize);
        QCOMPARE(inFull.isNull(), !decoded.isValid());
        for (const CardPhoto& loaded : {photo, inFull}) {
            if (!decoded.isValid())
                break;
            QCOMPARE(loaded.fullSize(), decoded);
            QCOMPARE(loaded.full().size(), decoded);
            QVERIFY(!loaded.display().isNull());
            QVERIFY(loaded.display().width() <= PhotoStore::kPlaceholderSize.width());
            QVERIFY(loaded.display().height() <= PhotoStore::kPlaceholderSize.height());
        }

        // As a card's photo: the stored photo of card 1 of a book.
        QVERIFY(PhotoStore::ensureFolder());
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), content));
        QCOMPARE(PhotoStore::loadCardPhoto(u"Giulia"_s, 1, PhotoStore::kPlaceholderSize).isNull(),
                 !decoded.isValid());
    }

    // --- Password store --------------------------------------------------------------------------
    void passwordStores_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("throws");
        QTest::addColumn<int>("length"); // of the password read, when it does not throw; -1: up to 51200

        QTest::newRow("garbage") << randomBytes(4096, 3) << false << 0;
        QTest::newRow("garbage in the section")
            << QByteArray("[Accesso]\n") + randomBytes(4096, 4).replace('\n', ' ') << false << 0;
        QTest::newRow("100 KB of digits") << "[Accesso]\nValore=" + QByteArray(100 * 1024, 'A') + "\n"
                                          << false << -1;
        QTest::newRow("100 KB that is not digits")
            << "[Accesso]\nValore=" + QByteArray(100 * 1024, 'Z') + "\n"
            << true << 0;
        const QByteArray digits = Crypt::encodePassword(u"LUCE").toLatin1();
        QTest::newRow("no section") << "Valore=" + digits + "\n" << false << 0;
        QTest::newRow("other section") << "[Altro]\nValore=" + digits + "\n" << false << 0;
        QTest::newRow("empty file") << QByteArray() << false << 0;
        QTest::newRow("value with commas") << "[Accesso]\nValore=" + digits + "," + digits + "\n"
                                           << true << 0;
        QTest::newRow("section only, well formed") << "[Accesso]\nValore=" + digits + "\n" << false << 4;
    }
    void passwordStores() {
        QFETCH(QByteArray, content);
        QFETCH(bool, throws);
        QFETCH(int, length);
        const QString path = ProgramFolder::passwordStore();
        QVERIFY(writeFile(path, content));
        const PasswordStore store(path);
        if (throws) {
            QVERIFY_THROWS_EXCEPTION(PasswordStoreError, store.readPassword());
            return;
        }
        const QString password = store.readPassword();
        if (length < 0)
            QVERIFY(password.size() <= 50 * 1024 && !password.isEmpty());
        else
            QCOMPARE(password.size(), length);
        // An empty password lets nobody in.
        QVERIFY(!PasswordStore::isCorrect(u"", password));
        QVERIFY(!PasswordStore::isCorrect(u"qualunque", password) || length == 0);
    }

    // --- Names that try to leave their folder ----------------------------------------------------
    void attachmentNames_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent of parent") << u"../../x"_s;
        QTest::newRow("parent with blanks") << u"  ../x  "_s;
        QTest::newRow("absolute path") << QDir(QDir::tempPath()).filePath(u"x"_s);
        QTest::newRow("root") << u"/x"_s;
        QTest::newRow("backslashes") << u"..\\..\\x"_s;
        QTest::newRow("dot dot") << u".."_s;
        QTest::newRow("dot") << u"."_s;
        QTest::newRow("control character") << u"a\u0001b"_s;
    }
    void attachmentNames() {
        QFETCH(QString, name);
        const QString source = m_dir->filePath(u"sorgente.pdf"_s);
        QVERIFY(writeFile(source, "contenuto"));
        QVERIFY(AttachmentFolder::ensureFolder());
        const QStringList outside = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        // As a card stores it and gives it back.
        TScheda card;
        card.setField(TScheda::File01, name);
        const QString stored = card.field(TScheda::File01);
        for (const QString& n : {name, stored}) {
            QCOMPARE(AttachmentFolder::pathOf(n), QString());
            QVERIFY(!AttachmentFolder::contains(n));
            QVERIFY(!AttachmentFolder::copyIn(source, n));
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), outside);
        QVERIFY(QDir(AttachmentFolder::folder()).isEmpty());
    }

    void pastedBookNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("parent") << u"../Giulia"_s;
        QTest::newRow("parent of parent") << u"../../x"_s;
        QTest::newRow("absolute") << u"/tmp/Giulia"_s;
        QTest::newRow("inside a folder") << u"Book_Zudid/../Giulia"_s;
        QTest::newRow("backslash parent") << u"..\\Giulia"_s;
    }
    void pastedBookNames() {
        QFETCH(QString, typed);
        QVERIFY(BookShelf::isUnsafeName(typed));
        m_windows = std::make_unique<WindowSet>();
        m_windows->launcher()->show();
        FakeMessages messages;
        QTest::mouseClick(m_windows->launcher()->findChild<Picture*>(u"btnCrea"_s), Qt::LeftButton);
        auto* txtFile = m_windows->createBook()->findChild<QLineEdit*>(u"txtFile"_s);
        QVERIFY(txtFile);
        txtFile->setText(typed); // pasted: the typing filter does not see it
        QTest::mouseClick(m_windows->createBook()->findChild<Picture*>(u"btnApplica"_s), Qt::LeftButton);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, CreateBookWindow::unsafeNameMessage());
        QVERIFY(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
        QVERIFY(!QFile::exists(QDir(m_dir->path()).filePath(u"../Giulia.wmn"_s)));
        QVERIFY(!QFile::exists(u"/tmp/Giulia.wmn"_s));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestHostile)

#include "tst_hostile.moc"
