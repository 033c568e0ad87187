// Creating, listing, opening and deleting books through their windows, with what reached the disk.
#include "FakeMessages.h"
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "app/Application.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "archive/core/ArchiveJournal.h"
#include "archive/core/BookArchive.h"
#include "archive/core/TScheda.h"
#include "archive/windows/OpenBookWindow.h"
#include "archive/windows/ArchiveMessages.h"
#include "archive/windows/CreateBookWindow.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorWindow.h"
#include "ui/GuideWindow.h"
#include "ui/Picture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString& path, const QByteArray& content = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// The question before a book is deleted, as it begins.
const QString kDeleteQuestion =
    u"Si sta per eliminare il book fotografico selezionato. Si ricorda che il file "
    u"eliminato non potrà essere recuperato.\r\n\r\nSi conferma l'eliminazione "
    u"dell'archivio?"_s;

void click(QWidget* window, const QString& picture) {
    QTest::mouseClick(child<Picture>(window, picture), Qt::LeftButton);
}

// The title and text of the guide window that the next action opens, read when it shows.
struct GuideSeen {
    QString title;
    QString text;
};

void readGuideWhenItOpens(GuideSeen* seen) {
    QTimer::singleShot(0, [seen] {
        auto* guide = qobject_cast<GuideWindow*>(QApplication::activeModalWidget());
        QVERIFY(guide);
        seen->title = child<QLabel>(guide, u"lblTitolo"_s)->text();
        seen->text = child<QPlainTextEdit>(guide, u"txtGuida"_s)->toPlainText();
        guide->accept();
    });
}

} // namespace

class TestBooks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
        m_windows->launcher()->show();
    }
    void cleanup() {
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    // --- Create ----------------------------------------------------------------------------------
    void archiveAccessMessageIsAnErrorWithOkCancel() {
        FakeMessages messages;
        showArchiveAccessMessage();
        QCOMPARE(messages.asked.size(), 1);
        QVERIFY(messages.asked[0].text.startsWith(u"Attenzione: il sistema non permette"_s));
        QCOMPARE(messages.asked[0].kind, MsgKind::Error);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
    }

    void createsTheEmptyArchiveUnderTheTrimmedName() {
        FakeMessages messages;
        click(m_windows->launcher(), u"btnCrea"_s);
        auto* crea = m_windows->createBook();
        auto* txtFile = child<QLineEdit>(crea, u"txtFile"_s);
        QTRY_VERIFY(txtFile->hasFocus());
        QTest::keyClicks(txtFile, u"  Giulia estate 2026  "_s);
        click(crea, u"btnApplica"_s);

        QCOMPARE(entries(m_dir->path()), QStringList{u"Giulia estate 2026.wmn"_s});
        QCOMPARE(QFileInfo(m_dir->filePath(u"Giulia estate 2026.wmn"_s)).size(), 0);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, CreateBookWindow::createdMessage());
        QCOMPARE(messages.asked[0].kind, MsgKind::Information);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});

        // The field is empty again at the next showing.
        click(m_windows->launcher(), u"btnCrea"_s);
        QCOMPARE(txtFile->text(), QString());
    }

    void refusedNamesCreateNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << u"   "_s << CreateBookWindow::noNameMessage();
        QTest::newRow("name used") << u" Giulia "_s << CreateBookWindow::nameTakenMessage();
        QTest::newRow("pasted slash") << u"../fuori"_s << CreateBookWindow::unsafeNameMessage();
        QTest::newRow("pasted backslash") << u"a\\b"_s << CreateBookWindow::unsafeNameMessage();
        QTest::newRow("dot dot") << u".."_s << CreateBookWindow::unsafeNameMessage();
        QTest::newRow("control character") << u"Giu\u0007lia"_s << CreateBookWindow::unsafeNameMessage();
    }
    void refusedNamesCreateNothing() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        touch(m_dir->filePath(u"Giulia.wmn"_s));
        FakeMessages messages;
        click(m_windows->launcher(), u"btnCrea"_s);
        auto* txtFile = child<QLineEdit>(m_windows->createBook(), u"txtFile"_s);
        txtFile->setText(typed); // as pasted: the typing filter does not see it
        click(m_windows->createBook(), u"btnApplica"_s);

        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, message);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QVERIFY(message.startsWith(u"Attenzione:"_s));
        QCOMPARE(entries(m_dir->path()), QStringList{u"Giulia.wmn"_s});
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
                 1);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->createBook()});
        QCOMPARE(txtFile->text(), typed);
    }

    // Names a book's files could not have, here or on the USB key the program folder is copied to, are
    // refused with the reason before anything is made; the window stays as it was.
    void unusableNamesAreRefusedWithTheReason_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("pasted"); // typed keys go through the field's filter
        QTest::addColumn<QString>("reason");
        QTest::newRow("typed vertical bar")
            << u"Giulia|estate"_s << false << u"Il nome contiene il carattere | (barra verticale)"_s;
        QTest::newRow("pasted question mark")
            << u"Giulia?"_s << true << u"Il nome contiene il carattere ? (punto interrogativo)"_s;
        QTest::newRow("pasted colon") << u"Giulia: estate"_s << true << u"il carattere : (due punti)"_s;
        QTest::newRow("trailing dot") << u"Giulia."_s << false << u"Il nome termina con un punto"_s;
        QTest::newRow("device name") << u"con"_s << false << u"Il nome \"con\" è riservato da Windows"_s;
        QTest::newRow("device name with an extension")
            << u"LPT1.book"_s << false << u"Il nome comincia con \"LPT1\", riservato da Windows"_s;
        QTest::newRow("too long") << QString(236, u'a') << true
                                  << u"Il nome è troppo lungo: può occupare al massimo 235 byte"_s;
        // 200 letters fit the field's 250 characters, but are 400 bytes on the disk.
        QTest::newRow("too long in accented letters")
            << QString(200, u'è') << true
            << u"al massimo 235 byte (una lettera accentata ne occupa due), "
               u"mentre ne occupa 400."_s;
    }
    void unusableNamesAreRefusedWithTheReason() {
        QFETCH(QString, typed);
        QFETCH(bool, pasted);
        QFETCH(QString, reason);
        FakeMessages messages;
        click(m_windows->launcher(), u"btnCrea"_s);
        auto* txtFile = child<QLineEdit>(m_windows->createBook(), u"txtFile"_s);
        QTRY_VERIFY(txtFile->hasFocus());
        if (pasted)
            txtFile->setText(typed);
        else
            QTest::keyClicks(txtFile, typed);
        QCOMPARE(txtFile->text(), typed);
        click(m_windows->createBook(), u"btnApplica"_s);

        QCOMPARE(messages.asked.size(), 1);
        const QString said = messages.asked[0].text;
        QVERIFY2(said.startsWith(u"Attenzione: il nome indicato non può essere usato per un book "
                                 u"fotografico.\r\n\r\nIl nome "_s),
                 qPrintable(said));
        QVERIFY2(said.contains(reason), qPrintable(said));
        QVERIFY(
            said.endsWith(u"\r\n\r\nCorreggere il nome e premere di nuovo il pulsante Applica e chiudi."_s));
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QVERIFY(
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        QCOMPARE(txtFile->text(), typed);
        QVERIFY(txtFile->hasFocus());
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->createBook()});
    }

    // A book that cannot be made reaches the general error report in Italian, the system's words
    // after it; the window stays as it was.
    void creationFailureGoesToTheGeneralReport_data() {
        QTest::addColumn<bool>("readOnlyDisk"); // otherwise a file stands where the program folder should
        QTest::addColumn<QString>("why");
        QTest::newRow("a file in place of the folder")
            << false << u"una parte del percorso non è una cartella ("_s;
        QTest::newRow("a read-only disk") << true << u"il disco è di sola lettura (Read-only file system)"_s;
    }
    void creationFailureGoesToTheGeneralReport() {
        QFETCH(bool, readOnlyDisk);
        QFETCH(QString, why);
        FakeMessages messages;
        click(m_windows->launcher(), u"btnCrea"_s);
        auto* txtFile = child<QLineEdit>(m_windows->createBook(), u"txtFile"_s);
        txtFile->setText(u"Giulia"_s);
        QString folder = m_dir->path();
        if (!readOnlyDisk) {
            folder = m_dir->filePath(u"cartella"_s);
            touch(folder);
            ProgramFolder::setPath(folder);
        }
        {
            FaultyFileSystem disk(readOnlyDisk ? FaultyFileSystem::Fault::ReadOnlyDisk
                                               : FaultyFileSystem::Fault::None);
            click(m_windows->createBook(), u"btnApplica"_s);
        }
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].kind, MsgKind::Error);
        const QString said = messages.asked[0].text;
        QVERIFY2(said.startsWith(u"Impossibile creare il file \"%1/Giulia.wmn\": "_s.arg(folder) + why),
                 qPrintable(said));
        QCOMPARE(entries(m_dir->path()), readOnlyDisk ? QStringList{} : QStringList{u"cartella"_s});
        QCOMPARE(txtFile->text(), u"Giulia"_s);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->createBook()});
    }

    void typedColonIsRefusedAndBarAccepted() {
        click(m_windows->launcher(), u"btnCrea"_s);
        auto* txtFile = child<QLineEdit>(m_windows->createBook(), u"txtFile"_s);
        QTest::keyClicks(txtFile, u"a:b/c|d"_s);
        QCOMPARE(txtFile->text(), u"abc|d"_s);
    }

    // --- List, open, delete ----------------------------------------------------------------------
    void listsRegularBooksInOrder() {
        for (const char* name : {"b.wmn", "A.wmn", "c.wmn", "note.txt"})
            touch(m_dir->filePath(QString::fromLatin1(name)));
        QVERIFY(QDir(m_dir->path()).mkdir(u"cartella.wmn"_s));
        click(m_windows->launcher(), u"btnApri"_s);
        QCOMPARE(shownList(), QStringList({u"A.wmn"_s, u"b.wmn"_s, u"c.wmn"_s}));
        QCOMPARE(countLine(), u"Sono stati creati 3 book fotografici."_s);
    }

    // A journal beside the book that another copy of the archive left (the archive was put back from a
    // copy): going to the book's cards in the editor leaves the cards as they are and tells the user once.
    void openingTellsOfAJournalSetAside() {
        const QString archive = m_dir->filePath(u"Anna.wmn"_s);
        QByteArray cards(2 * qsizetype(TScheda::kSize), 'x');
        touch(archive, cards);
        const QByteArray before(4096, 'a');
        const QByteArray after(4096, 'b');
        touch(BookArchive::journalPath(archive), ArchiveJournal::encode(0, before, after));
        FakeMessages messages;
        click(m_windows->launcher(), u"btnApri"_s);
        lstFiles()->setCurrentRow(0);
        click(m_windows->openBook(), u"btnApri"_s);
        QTRY_VERIFY(m_windows->editor()->isVisible());
        click(m_windows->editor(), u"cmdPrimo"_s);
        click(m_windows->editor(), u"cmdAvanti"_s);
        const auto warnings =
            std::count_if(messages.asked.begin(), messages.asked.end(), [](const auto& asked) {
                return asked.kind == MsgKind::Warning && asked.text.contains(u"Anna.wmn-scartato-1"_s);
            });
        QCOMPARE(warnings, 1);
        QVERIFY(!QFile::exists(BookArchive::journalPath(archive)));
        QVERIFY(QFile::exists(BookArchive::setAsideJournalPath(archive, 1)));
        QFile kept(archive);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), cards);
    }

    void deletingCountsDownToNoneAndKeepsPhotos() {
        for (const char* name : {"Anna.wmn", "Bea.wmn", "Carla.wmn"})
            touch(m_dir->filePath(QString::fromLatin1(name)));
        QVERIFY(QDir(m_dir->path()).mkpath(u"Book_Zudid"_s));
        touch(m_dir->filePath(u"Book_Zudid/Anna_Foto_1.jpg"_s), "jpeg");
        FakeMessages messages;
        click(m_windows->launcher(), u"btnApri"_s);
        const QStringList names{u"Anna"_s, u"Bea"_s, u"Carla"_s};
        for (int left = 2; left >= 0; --left) {
            messages.asked.clear();
            lstFiles()->setCurrentRow(0);
            click(m_windows->openBook(), u"btnElimina"_s);
            QCOMPARE(messages.asked.size(), 2);
            QCOMPARE(messages.asked[0].text,
                     kDeleteQuestion +
                         u"\r\n\r\nBook fotografico: \"%1\" (nessuna scheda)."_s.arg(names[2 - left]));
            QCOMPARE(messages.asked[0].kind, MsgKind::Confirmation);
            QCOMPARE(messages.asked[0].buttons, MsgButtons::YesNo);
            QCOMPARE(messages.asked[1].text, OpenBookWindow::deletedMessage());
            QCOMPARE(messages.asked[1].kind, MsgKind::Information);
            QCOMPARE(countLine(), OpenBookWindow::countLine(left));
            QCOMPARE(lstFiles()->count(), left);
        }
        QCOMPARE(entries(m_dir->path()), QStringList{u"Book_Zudid"_s});
        QCOMPARE(entries(m_dir->filePath(u"Book_Zudid"_s)), QStringList{u"Anna_Foto_1.jpg"_s});
    }

    // A book another program changed after the list was made cannot be deleted: the message says why,
    // in Italian, with the system's words after it.
    void bookThatCannotBeDeletedSaysWhy_data() {
        QTest::addColumn<bool>("folderInPlace"); // otherwise the file is gone
        QTest::addColumn<QString>("why");
        QTest::newRow("a folder in its place") << true << u"al suo posto c'è una cartella (Is a directory)"_s;
        QTest::newRow("already gone")
            << false << u"il file o la cartella non esiste (No such file or directory)"_s;
    }
    void bookThatCannotBeDeletedSaysWhy() {
        QFETCH(bool, folderInPlace);
        QFETCH(QString, why);
        touch(m_dir->filePath(u"Anna.wmn"_s));
        FakeMessages messages;
        click(m_windows->launcher(), u"btnApri"_s);
        QVERIFY(QFile::remove(m_dir->filePath(u"Anna.wmn"_s)));
        if (folderInPlace)
            QVERIFY(QDir(m_dir->path()).mkdir(u"Anna.wmn"_s));
        lstFiles()->setCurrentRow(0);
        click(m_windows->openBook(), u"btnElimina"_s);
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[1].text,
                 OpenBookWindow::notDeletedMessage() + u"\r\n\r\nMotivo: "_s + why + u'.');
        QCOMPARE(messages.asked[1].kind, MsgKind::Warning);
        QCOMPARE(QFileInfo(m_dir->filePath(u"Anna.wmn"_s)).isDir(), folderInPlace);
        QCOMPARE(countLine(), OpenBookWindow::countLine(0));
    }

    void answeringNoKeepsTheBook() {
        touch(m_dir->filePath(u"Anna.wmn"_s), "dati");
        FakeMessages messages;
        messages.answers = {MsgAnswer::No};
        click(m_windows->launcher(), u"btnApri"_s);
        lstFiles()->setCurrentRow(0);
        click(m_windows->openBook(), u"btnElimina"_s);
        QCOMPARE(messages.asked.size(), 1);
        QVERIFY(QFile::exists(m_dir->filePath(u"Anna.wmn"_s)));
        QCOMPARE(shownList(), QStringList{u"Anna.wmn"_s});
    }

    // The question names the book the user picked and how many cards it holds, counted from the size of
    // its archive without writing to it; Return answers No. An archive that cannot be read is still
    // named, without a count, and Yes still deletes it.
    void deleteQuestionNamesTheBook_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<bool>("unreadable");
        QTest::addColumn<QString>("naming");
        const QByteArray card(qsizetype(TScheda::kSize), 'x');
        QTest::newRow("twelve cards")
            << card.repeated(12) << false << u"Book fotografico: \"Giulia estate\" (12 schede)."_s;
        QTest::newRow("one card") << card << false << u"Book fotografico: \"Giulia estate\" (1 scheda)."_s;
        QTest::newRow("no card") << QByteArray() << false
                                 << u"Book fotografico: \"Giulia estate\" (nessuna scheda)."_s;
        QTest::newRow("an incomplete last card is not counted")
            << card.repeated(2) + QByteArray(100, 'y') << false
            << u"Book fotografico: \"Giulia estate\" (2 schede)."_s;
        QTest::newRow("archive that cannot be read")
            << card.repeated(3) << true << u"Book fotografico: \"Giulia estate\"."_s;
    }
    void deleteQuestionNamesTheBook() {
        QFETCH(QByteArray, archive);
        QFETCH(bool, unreadable);
        QFETCH(QString, naming);
        touch(m_dir->filePath(u"Anna.wmn"_s), "dati di Anna");
        const QString path = m_dir->filePath(u"Giulia estate.wmn"_s);
        touch(path, archive);
        FakeMessages messages;
        messages.answers = {MsgAnswer::No};
        click(m_windows->launcher(), u"btnApri"_s);
        // Book 2 chosen and the bin pressed, with its archive unreadable when the row says so.
        const auto deleteGiulia = [&] {
            lstFiles()->setCurrentRow(1);
            std::optional<FaultyFileSystem> faulty;
            if (unreadable)
                faulty.emplace(FaultyFileSystem::Fault::OpenFails);
            click(m_windows->openBook(), u"btnElimina"_s);
        };
        deleteGiulia();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, kDeleteQuestion + u"\r\n\r\n"_s + naming);
        QCOMPARE(messages.asked[0].kind, MsgKind::Confirmation);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::YesNo);
        QCOMPARE(messages.asked[0].defaultButton, MsgDefault::No);
        // Counting wrote nothing: the archive is as it was, with nothing beside it.
        QCOMPARE(readFile(path), archive);
        QCOMPARE(entries(m_dir->path()), QStringList({u"Anna.wmn"_s, u"Giulia estate.wmn"_s}));

        messages.asked.clear();
        deleteGiulia();
        QCOMPARE(messages.asked.size(), 2);
        QCOMPARE(messages.asked[0].text, kDeleteQuestion + u"\r\n\r\n"_s + naming);
        QCOMPARE(messages.asked[1].text, u"Il book fotografico è stato eliminato con successo."_s);
        QCOMPARE(entries(m_dir->path()), QStringList{u"Anna.wmn"_s});
    }

    // The list shows no book as chosen until the user picks one, by the mouse or the keys: not when the
    // window opens and the list takes the focus, nor after a deletion lists the books again.
    void listShowsNoChoiceUntilTheUserPicks() {
        for (const char* name : {"Anna.wmn", "Bea.wmn", "Carla.wmn"})
            touch(m_dir->filePath(QString::fromLatin1(name)));
        FakeMessages messages;
        click(m_windows->launcher(), u"btnApri"_s);
        QTRY_VERIFY(lstFiles()->hasFocus());
        QVERIFY(!lstFiles()->currentIndex().isValid());
        QVERIFY(lstFiles()->selectedItems().isEmpty());
        QCOMPARE(markedPixels(0), 0);
        click(m_windows->openBook(), u"btnElimina"_s);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text,
                 u"Attenzione: selezionare dall'elenco il book fotografico da eliminare "
                 u"prima di premere il pulsante del cestino."_s);

        // The arrow key picks the first book, and the list shows it chosen.
        QTest::keyClick(lstFiles(), Qt::Key_Down);
        QCOMPARE(lstFiles()->selectedItems().size(), 1);
        QCOMPARE(lstFiles()->selectedItems()[0]->text(), u"Anna.wmn"_s);
        QVERIFY(markedPixels(0) > 0);

        messages.asked.clear();
        click(m_windows->openBook(), u"btnElimina"_s);
        QCOMPARE(messages.asked.size(), 2);
        QVERIFY(messages.asked[0].text.endsWith(u"Book fotografico: \"Anna\" (nessuna scheda)."_s));
        QCOMPARE(shownList(), QStringList({u"Bea.wmn"_s, u"Carla.wmn"_s}));
        lstFiles()->setFocus();
        QVERIFY(!lstFiles()->currentIndex().isValid());
        QVERIFY(lstFiles()->selectedItems().isEmpty());
        QCOMPARE(markedPixels(0), 0);

        // A click picks a book as well.
        QTest::mouseClick(lstFiles()->viewport(), Qt::LeftButton, {},
                          lstFiles()->visualItemRect(lstFiles()->item(1)).center());
        QCOMPARE(lstFiles()->selectedItems().size(), 1);
        QCOMPARE(lstFiles()->selectedItems()[0]->text(), u"Carla.wmn"_s);
        QVERIFY(markedPixels(1) > 0);
        QCOMPARE(markedPixels(0), 0);
    }

    void warningsWhenNothingCanBeChosen_data() {
        QTest::addColumn<bool>("withBooks");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("open, empty list") << false << u"btnApri"_s << OpenBookWindow::emptyListMessage();
        QTest::newRow("delete, empty list") << false << u"btnElimina"_s << OpenBookWindow::emptyListMessage();
        QTest::newRow("open, nothing selected")
            << true << u"btnApri"_s << OpenBookWindow::selectToOpenMessage();
        QTest::newRow("delete, nothing selected")
            << true << u"btnElimina"_s << OpenBookWindow::selectToDeleteMessage();
    }
    void warningsWhenNothingCanBeChosen() {
        QFETCH(bool, withBooks);
        QFETCH(QString, button);
        QFETCH(QString, message);
        if (withBooks)
            touch(m_dir->filePath(u"Anna.wmn"_s));
        FakeMessages messages;
        click(m_windows->launcher(), u"btnApri"_s);
        click(m_windows->openBook(), button);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, message);
        QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->openBook()});
    }

    void openingHandsTheBookToTheEditor() {
        touch(m_dir->filePath(u"Anna.wmn"_s));
        touch(m_dir->filePath(u"Giulia estate.wmn"_s));
        click(m_windows->launcher(), u"btnApri"_s);
        lstFiles()->setCurrentRow(1);
        click(m_windows->openBook(), u"btnApri"_s);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->editor()});
        QCOMPARE(m_windows->editor()->bookName(), u"Giulia estate"_s);
        QCOMPARE(m_windows->editor()->archivePath(), m_dir->filePath(u"Giulia estate.wmn"_s));
        QCOMPARE(child<QLabel>(m_windows->editor(), u"lblNome"_s)->text(), u"Giulia estate"_s);

        // The editor goes back to the launcher when it closes.
        m_windows->editor()->close();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
    }

    void cancelAndCloseGoBackToTheLauncher_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<bool>("byCancel");
        QTest::newRow("create, Annulla") << u"btnCrea"_s << true;
        QTest::newRow("create, close button") << u"btnCrea"_s << false;
        QTest::newRow("open, Annulla") << u"btnApri"_s << true;
        QTest::newRow("open, close button") << u"btnApri"_s << false;
    }
    void cancelAndCloseGoBackToTheLauncher() {
        QFETCH(QString, opener);
        QFETCH(bool, byCancel);
        click(m_windows->launcher(), opener);
        QWidget* window = visibleWindows().first();
        if (byCancel)
            click(window, u"btnAnnulla"_s);
        else
            window->close();
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->launcher()});
    }

    // Return does what "Applica e chiudi" or "Apri archivio" does, a double-click on a book opens it as
    // well, and Escape leaves as "Annulla" does. Two books lie in the folder, Anna and Bea.
    void keysOfTheCreateAndOpenWindows_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("typed");  // into the name field, or arrow keys pressed in the list
        QTest::addColumn<QString>("action"); // Return, Escape or a double-click on Bea
        QTest::addColumn<QString>("shown");  // the window shown afterwards
        QTest::addColumn<QStringList>("books");
        QTest::addColumn<QString>("message");
        const QStringList two{u"Anna.wmn"_s, u"Bea.wmn"_s};
        QTest::newRow("create, Return in the name creates the book")
            << u"btnCrea"_s << u" Giulia "_s << u"Return"_s << u"launcher"_s
            << QStringList{u"Anna.wmn"_s, u"Bea.wmn"_s, u"Giulia.wmn"_s} << CreateBookWindow::createdMessage();
        QTest::newRow("create, Return with a name used warns")
            << u"btnCrea"_s << u"Bea"_s << u"Return"_s << u"create"_s << two
            << CreateBookWindow::nameTakenMessage();
        QTest::newRow("create, Escape leaves without a book")
            << u"btnCrea"_s << u"Giulia"_s << u"Escape"_s << u"launcher"_s << two << QString();
        QTest::newRow("open, Return on the book the arrows chose")
            << u"btnApri"_s << u"down down"_s << u"Return"_s << u"editor"_s << two << QString();
        QTest::newRow("open, Return with no book chosen warns")
            << u"btnApri"_s << QString() << u"Return"_s << u"open"_s << two
            << OpenBookWindow::selectToOpenMessage();
        QTest::newRow("open, double-click on a book")
            << u"btnApri"_s << QString() << u"double-click"_s << u"editor"_s << two << QString();
        QTest::newRow("open, Escape goes back to the launcher")
            << u"btnApri"_s << u"down down"_s << u"Escape"_s << u"launcher"_s << two << QString();
    }
    void keysOfTheCreateAndOpenWindows() {
        QFETCH(QString, opener);
        QFETCH(QString, typed);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        QFETCH(QStringList, books);
        QFETCH(QString, message);
        touch(m_dir->filePath(u"Anna.wmn"_s));
        touch(m_dir->filePath(u"Bea.wmn"_s));
        FakeMessages messages;
        click(m_windows->launcher(), opener);
        QWidget* window = visibleWindows().first();
        QTRY_VERIFY(QApplication::focusWidget() && window->isAncestorOf(QApplication::focusWidget()));
        QWidget* keys = QApplication::focusWidget();
        if (opener == u"btnCrea"_s) {
            QTest::keyClicks(keys, typed);
        } else {
            for (const QString& arrow : typed.split(u' ', Qt::SkipEmptyParts)) {
                QCOMPARE(arrow, u"down"_s);
                QTest::keyClick(keys, Qt::Key_Down);
            }
        }
        if (action == u"double-click"_s) {
            const QPoint bea = lstFiles()->visualItemRect(lstFiles()->item(1)).center();
            QTest::mouseClick(lstFiles()->viewport(), Qt::LeftButton, {}, bea);
            QTest::mouseDClick(lstFiles()->viewport(), Qt::LeftButton, {}, bea);
        } else {
            QTest::keyClick(keys, action == u"Return"_s ? Qt::Key_Return : Qt::Key_Escape);
        }
        QWidget* expected = shown == u"launcher"_s ? static_cast<QWidget*>(m_windows->launcher())
                            : shown == u"editor"_s ? static_cast<QWidget*>(m_windows->editor())
                            : shown == u"create"_s ? static_cast<QWidget*>(m_windows->createBook())
                                                   : static_cast<QWidget*>(m_windows->openBook());
        QCOMPARE(visibleWindows(), QList<QWidget*>{expected});
        QCOMPARE(entries(m_dir->path()), books);
        QCOMPARE(messages.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(messages.asked[0].text, message);
        if (expected == m_windows->editor()) {
            QCOMPARE(m_windows->editor()->bookName(), u"Bea"_s);
            QCOMPARE(m_windows->editor()->archivePath(), m_dir->filePath(u"Bea.wmn"_s));
        }
    }

    // Delete in the list does what the waste bin does: asks about the book chosen, or says to choose one.
    void deleteKeyInTheListActsAsTheWasteBin_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("books");
        const QStringList both{u"Anna.wmn"_s, u"Bea.wmn"_s};
        QTest::newRow("a book chosen, No keeps it") << true << int(MsgAnswer::No) << both;
        QTest::newRow("a book chosen, Yes deletes it")
            << true << int(MsgAnswer::Yes) << QStringList{u"Bea.wmn"_s};
        QTest::newRow("no book chosen") << false << int(MsgAnswer::Yes) << both;
    }
    void deleteKeyInTheListActsAsTheWasteBin() {
        QFETCH(bool, chosen);
        QFETCH(int, answer);
        QFETCH(QStringList, books);
        touch(m_dir->filePath(u"Anna.wmn"_s));
        touch(m_dir->filePath(u"Bea.wmn"_s));
        FakeMessages messages;
        messages.answers = {MsgAnswer(answer)};
        click(m_windows->launcher(), u"btnApri"_s);
        QTRY_VERIFY(lstFiles()->hasFocus());
        if (chosen)
            QTest::keyClick(lstFiles(), Qt::Key_Down);
        QTest::keyClick(lstFiles(), Qt::Key_Delete);
        QVERIFY(!messages.asked.isEmpty());
        if (chosen)
            QCOMPARE(messages.asked[0].text,
                     kDeleteQuestion + u"\r\n\r\nBook fotografico: \"Anna\" (nessuna scheda)."_s);
        else
            QCOMPARE(messages.asked[0].text, OpenBookWindow::selectToDeleteMessage());
        QCOMPARE(entries(m_dir->path()), books);
        QCOMPARE(shownList(), books);
        QCOMPARE(visibleWindows(), QList<QWidget*>{m_windows->openBook()});
    }

    // F1 shows the window's help, as its help symbol does.
    void f1ShowsTheHelp_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("title");
        QTest::newRow("create") << u"btnCrea"_s << u"App Creazione book fotografico."_s;
        QTest::newRow("open") << u"btnApri"_s << u"App Gestione book fotografico."_s;
    }
    void f1ShowsTheHelp() {
        QFETCH(QString, opener);
        QFETCH(QString, title);
        touch(m_dir->filePath(u"Anna.wmn"_s));
        click(m_windows->launcher(), opener);
        QWidget* window = visibleWindows().first();
        QTRY_VERIFY(QApplication::focusWidget() && window->isAncestorOf(QApplication::focusWidget()));
        GuideSeen seen;
        readGuideWhenItOpens(&seen);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QCOMPARE(seen.title, title);
        QCOMPARE(visibleWindows(), QList<QWidget*>{window});
    }

    void helpTopics_data() {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("opening");
        QTest::newRow("create") << u"btnCrea"_s << u"App Creazione book fotografico."_s
                                << u"L'app Creazione book fotografico permette di generare"_s;
        QTest::newRow("open shows the editor's help")
            << u"btnApri"_s << u"App Gestione book fotografico."_s
            << u"L'app Gestione book fotografico consente di creare"_s;
    }
    void helpTopics() {
        QFETCH(QString, opener);
        QFETCH(QString, title);
        QFETCH(QString, opening);
        click(m_windows->launcher(), opener);
        GuideSeen seen;
        readGuideWhenItOpens(&seen);
        click(visibleWindows().first(), u"imgGuida"_s);
        QCOMPARE(seen.title, title);
        QVERIFY(seen.text.startsWith(opening));
    }

private:
    QListWidget* lstFiles() { return child<QListWidget>(m_windows->openBook(), u"lstFiles"_s); }
    // The pixels of a row of the list drawn in a colour (the highlight of a chosen row, the pale tint
    // of the current one) rather than black text on white.
    int markedPixels(int row) {
        const QImage shown = lstFiles()->viewport()->grab().toImage();
        const QRect rect = lstFiles()->visualItemRect(lstFiles()->item(row)) & shown.rect();
        int marked = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                marked +=
                    std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) >= 12;
            }
        }
        return marked;
    }
    QString countLine() { return child<QLabel>(m_windows->openBook(), u"lblCreati"_s)->text(); }
    QStringList shownList() {
        QStringList shown;
        for (int i = 0; i < lstFiles()->count(); ++i)
            shown << lstFiles()->item(i)->text();
        return shown;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestBooks)
#include "tst_books.moc"
