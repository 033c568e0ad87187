// Every path that writes, made to fail at each of its I/O steps in turn (an error, a short write, a
// full disk): the cards confirmed before stay byte for byte, a file replaced whole keeps its old
// content or takes the new one, the user sees the failure's own message, and nothing that did not
// happen is reported as done.
#include "FakeFileDialogs.h"
#include "FakeMessages.h"
#include "FakeShell.h"
#include "FaultyFileSystem.h"
#include "PdfCheck.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "access/core/PasswordStore.h"
#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/Application.h"
#include "app/WindowSet.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/PhotoView.h"
#include "base/ProgramFolder.h"
#include "editor/windows/EditorPhoto.h"
#include "editor/windows/EditorWindow.h"
#include "output/core/BookPdf.h"
#include "output/core/CardGridModel.h"
#include "output/core/ExportFile.h"
#include "output/windows/ExportWindow.h"
#include "report/core/ReportPainter.h"
#include "search/core/SearchSummary.h"
#include "ui/Picture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;
using Kind = FaultyFileSystem::Kind;

Q_DECLARE_METATYPE(FaultyFileSystem::Kind)

namespace {

constexpr qsizetype kRecord = qsizetype(TScheda::kSize);
const QString kInitial = u"LUCEPIUMAVELOX"_s;

TScheda card(int n) {
    TScheda c;
    c.setField(TScheda::Titolo, u"Scatto %1"_s.arg(n));
    c.setField(TScheda::Data, u"0%1/03/2024"_s.arg(n));
    c.setField(TScheda::Location, u"Milano"_s);
    c.setField(TScheda::Note, u"Nota %1"_s.arg(n));
    c.setField(TScheda::File01, u"contratto%1.pdf"_s.arg(n));
    return c;
}

QByteArray bookBytes(int cards) {
    QList<TScheda> book;
    for (int n = 1; n <= cards; ++n)
        book << card(n);
    return archiveOf(book);
}

QString systemText(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

void addKinds() {
    QTest::addColumn<Kind>("kind");
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() {
        m_window.reset();
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        m_dir.reset();
    }

    // --- Card save through the editor ------------------------------------------------------------
    void cardSave_data() {
        QTest::addColumn<bool>("append");
        addKinds();
        for (bool append : {true, false}) {
            const char* what = append ? "append" : "overwrite";
            QTest::addRow("%s, error", what) << append << Kind::Error;
            QTest::addRow("%s, short write", what) << append << Kind::ShortWrite;
            QTest::addRow("%s, disk full", what) << append << Kind::DiskFull;
        }
    }
    void cardSave() {
        QFETCH(bool, append);
        QFETCH(Kind, kind);
        m_windows = std::make_unique<WindowSet>();
        const QByteArray book = bookBytes(3);
        const int target = append ? 4 : 1;

        // A clean run tells how many steps a save takes.
        int steps = 0;
        {
            FakeMessages messages;
            openBookForSave(book, append);
            FaultyFileSystem counting(0, kind);
            press("cmdSalva");
            steps = counting.operations();
            QCOMPARE(messages.asked.size(), 1);
        }
        QVERIFY2(steps >= 4, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            FakeMessages messages;
            openBookForSave(book, append);
            {
                FaultyFileSystem faulty(n, kind);
                press("cmdSalva");
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            const QByteArray faulted = readFile(archive());
            QCOMPARE(messages.asked.size(), 1);
            QVERIFY2(messages.asked[0].text == BookArchive::accessMessage(), qPrintable(step));
            QCOMPARE(editor()->position(), append ? std::nullopt : std::optional<int>(1));
            QVERIFY(!QFile::exists(PhotoStore::photoPath(u"Giulia"_s, target)));
            // The cards confirmed before are there byte for byte; the one being overwritten is checked
            // below against what the save writes.
            for (int c = 1; c <= 3; ++c) {
                if (c != target)
                    QVERIFY2(faulted.mid((c - 1) * kRecord, kRecord) == book.mid((c - 1) * kRecord, kRecord),
                             qPrintable(step));
            }
            QVERIFY2(faulted.size() / kRecord == 3 || faulted.size() == 4 * kRecord, qPrintable(step));

            // Once the disk is well again, the same save succeeds and is confirmed.
            messages.asked.clear();
            press("cmdSalva");
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(messages.asked[0].text,
                     append ? EditorWindow::appendedMessage() : EditorWindow::overwrittenMessage());
            const QByteArray saved = readFile(archive());
            QCOMPARE(saved.left(3 * kRecord).size(), 3 * kRecord);
            const QByteArray written = saved.mid((*editor()->position() - 1) * kRecord, kRecord);
            QCOMPARE(storedTitle(written), u"Salvata"_s);
            for (int c = 1; c <= 3; ++c) {
                if (c != target)
                    QCOMPARE(saved.mid((c - 1) * kRecord, kRecord), book.mid((c - 1) * kRecord, kRecord));
            }
            if (append) {
                // A card that reached the disk whole although its save was not confirmed.
                if (faulted.size() == 4 * kRecord)
                    QCOMPARE(faulted.mid(3 * kRecord), written);
                QCOMPARE(saved.size(), faulted.size() == 4 * kRecord ? 5 * kRecord : 4 * kRecord);
            } else {
                QCOMPARE(saved.size(), 3 * kRecord);
                const QByteArray before = book.left(kRecord);
                const QByteArray during = faulted.left(kRecord);
                // An overwrite the disk cut short never leaves the card half old, half new.
                QVERIFY2(during == before || during == written, qPrintable(step));
            }
        }
    }

    // --- The card's photo through the editor -----------------------------------------------------
    void photoSave_data() {
        QTest::addColumn<bool>("hadPhoto");
        addKinds();
        for (bool had : {false, true}) {
            const char* what = had ? "photo replaced" : "first photo";
            QTest::addRow("%s, error", what) << had << Kind::Error;
            QTest::addRow("%s, short write", what) << had << Kind::ShortWrite;
            QTest::addRow("%s, disk full", what) << had << Kind::DiskFull;
        }
    }
    void photoSave() {
        QFETCH(bool, hadPhoto);
        QFETCH(Kind, kind);
        m_windows = std::make_unique<WindowSet>();
        const QByteArray book = bookBytes(3);
        const QByteArray oldPhoto = jpeg({300, 200}, Qt::blue);
        const QString photo = PhotoStore::photoPath(u"Giulia"_s, 1);

        int steps = 0;
        {
            FakeMessages messages;
            openBookWithNewPhoto(book, hadPhoto ? oldPhoto : QByteArray());
            FaultyReplacer counting(0, kind);
            press("cmdSalva");
            steps = counting.operations();
            QCOMPARE(messages.asked.size(), 1);
        }
        QVERIFY2(steps >= 3, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            FakeMessages messages;
            openBookWithNewPhoto(book, hadPhoto ? oldPhoto : QByteArray());
            const QStringList entries = entriesOf(PhotoStore::folder());
            {
                FaultyReplacer faulty(n, kind);
                press("cmdSalva");
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            QCOMPARE(messages.asked.size(), 2);
            QCOMPARE(messages.asked[0].text, EditorWindow::overwrittenMessage());
            QVERIFY2(messages.asked[1].text == EditorWindow::photoNotSavedMessage(), qPrintable(step));
            QCOMPARE(readFile(photo), hadPhoto ? oldPhoto : QByteArray());
            QCOMPARE(QFile::exists(photo), hadPhoto);
            QCOMPARE(entriesOf(PhotoStore::folder()), entries);
            QCOMPARE(storedTitle(readFile(archive()).left(kRecord)), u"Salvata"_s);
            // The picture stays in the frame, and the next save stores it.
            QCOMPARE(editor()->photoFrame()->photo().full().size(), QSize(640, 480));
            messages.asked.clear();
            press("cmdSalva");
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(QImage(photo).size(), QSize(640, 480));
        }
    }

    // --- The frame's picture saved to a file the user chose ---------------------------------------
    void photoToFile_data() {
        QTest::addColumn<bool>("hadFile");
        addKinds();
        for (bool had : {false, true}) {
            const char* what = had ? "file replaced" : "new file";
            QTest::addRow("%s, error", what) << had << Kind::Error;
            QTest::addRow("%s, short write", what) << had << Kind::ShortWrite;
            QTest::addRow("%s, disk full", what) << had << Kind::DiskFull;
        }
    }
    void photoToFile() {
        QFETCH(bool, hadFile);
        QFETCH(Kind, kind);
        m_windows = std::make_unique<WindowSet>();
        const QString chosen = m_dir->filePath(u"scrivania/copia.jpg"_s);
        const QByteArray earlier = jpeg({300, 200}, Qt::blue);
        QVERIFY(QDir().mkpath(QFileInfo(chosen).path()));
        FakeFileDialogs dialogs;

        int steps = 0;
        {
            FakeMessages messages;
            openBookWithNewPhoto(bookBytes(3), {});
            dialogs.answers = {chosen};
            FaultyReplacer counting(0, kind);
            press("btnSalvaFoto");
            steps = counting.operations();
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(messages.asked[0].text, EditorPhoto::savedMessage(chosen));
            QCOMPARE(QImage(chosen).size(), QSize(640, 480));
        }
        QVERIFY2(steps >= 3, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            QFile::remove(chosen);
            if (hadFile)
                QVERIFY(writeFile(chosen, earlier));
            const QStringList entries = entriesOf(QFileInfo(chosen).path());
            FakeMessages messages;
            dialogs.answers = {chosen};
            {
                FaultyReplacer faulty(n, kind);
                press("btnSalvaFoto");
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            QCOMPARE(messages.asked.size(), 1);
            QVERIFY2(messages.asked[0].text == EditorPhoto::fileNotWrittenMessage(), qPrintable(step));
            QCOMPARE(messages.asked[0].kind, MsgKind::Warning);
            QCOMPARE(QFile::exists(chosen), hadFile);
            QCOMPARE(readFile(chosen), hadFile ? earlier : QByteArray());
            QCOMPARE(entriesOf(QFileInfo(chosen).path()), entries);
            // The picture stays in the frame, and saving it again writes it.
            QCOMPARE(editor()->photoFrame()->photo().full().size(), QSize(640, 480));
            messages.asked.clear();
            dialogs.answers = {chosen};
            press("btnSalvaFoto");
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(messages.asked[0].text, EditorPhoto::savedMessage(chosen));
            QCOMPARE(QImage(chosen).size(), QSize(640, 480));
        }
    }

    // --- The export window -----------------------------------------------------------------------
    void exportFile_data() {
        addKinds();
        QTest::newRow("error") << Kind::Error;
        QTest::newRow("short write") << Kind::ShortWrite;
        QTest::newRow("disk full") << Kind::DiskFull;
    }
    void exportFile() {
        QFETCH(Kind, kind);
        m_windows = std::make_unique<WindowSet>();
        QVERIFY(writeFile(archive(), bookBytes(3)));
        m_windows->editor()->openBook(u"Giulia"_s, archive());
        const QString path = ProgramFolder::exportFile();
        const QByteArray previous = "<html>la buona esportazione di ieri</html>";

        int steps = 0;
        QByteArray exported;
        {
            FakeMessages messages;
            messages.answers = {MsgAnswer::Yes, MsgAnswer::No};
            QVERIFY(writeFile(path, previous));
            FaultyReplacer counting(0, kind);
            clickExport();
            steps = counting.operations();
            QCOMPARE(messages.asked.size(), 2);
            QCOMPARE(messages.asked[1].text, ExportWindow::exportedQuestion(path));
            exported = readFile(path);
            QVERIFY(exported.endsWith("</table></body></html>"));
        }
        QVERIFY2(steps >= 3, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            QVERIFY(writeFile(path, previous));
            const QStringList entries = entriesOf(m_dir->path());
            FakeMessages messages;
            FakeShell shell;
            {
                FaultyReplacer faulty(n, kind);
                clickExport();
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            QCOMPARE(messages.asked.size(), 2);
            QVERIFY2(messages.asked[1].text == ExportWindow::failureMessage(), qPrintable(step));
            QVERIFY(shell.opened.isEmpty());
            QCOMPARE(readFile(path), previous);
            QCOMPARE(entriesOf(m_dir->path()), entries);
        }
    }

    // --- The portfolio and the contact sheet ---------------------------------------------------------
    // Every step of writing the file made to fail in turn: the message names the file and the system's
    // reason, and the earlier file stays as it was with nothing beside it.
    void bookPdf_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<bool>("sheet");
        for (bool sheet : {false, true}) {
            const char* what = sheet ? "contact sheet" : "portfolio";
            QTest::addRow("%s, error", what) << Kind::Error << sheet;
            QTest::addRow("%s, short write", what) << Kind::ShortWrite << sheet;
            QTest::addRow("%s, disk full", what) << Kind::DiskFull << sheet;
        }
    }
    void bookPdf() {
        QFETCH(Kind, kind);
        QFETCH(bool, sheet);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookBytes(5)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 2), jpeg({1600, 1200}, Qt::red, 100)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 4), jpeg({5000, 3000}, Qt::blue)));
        const QString path = m_dir->filePath(u"Giulia.pdf"_s);
        const QByteArray previous = "%PDF- il portfolio di ieri";
        const auto write = [&] {
            if (sheet)
                BookPdf::writeContactSheet(u"Giulia"_s, path, 2);
            else
                BookPdf::writePortfolio(u"Giulia"_s, path);
        };

        everyWriteStepFails(kind, path, previous, write);
    }

    // --- Outputs stopped from their progress ----------------------------------------------------------
    // The portfolio, the contact sheet and the export, of the whole book or of some cards, stopped
    // after their first card as the progress window's "Annulla" stops them: they say they were
    // stopped, not written nor failed, and leave no file, the earlier one byte for byte and nothing
    // beside it.
    void outputStoppedAfterItsFirstCard_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("chosen");
        for (const QString& output : {u"portfolio"_s, u"contact sheet"_s, u"export"_s}) {
            QTest::addRow("%s, whole book", qPrintable(output)) << output << false;
            QTest::addRow("%s, cards chosen", qPrintable(output)) << output << true;
        }
    }
    void outputStoppedAfterItsFirstCard() {
        QFETCH(QString, output);
        QFETCH(bool, chosen);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookBytes(5)));
        QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 2), jpeg({1600, 1200}, Qt::red, 100)));
        const CardChoice::Cards cards = chosen ? CardChoice::Cards{{2, 3, 5}} : std::nullopt;
        const int total = chosen ? 3 : 5;
        const QString path = m_dir->filePath(u"Giulia.out"_s);
        const QByteArray previous = "il file di ieri";
        QVERIFY(writeFile(path, previous));
        const QStringList entries = entriesOf(m_dir->path());

        QList<std::pair<int, int>> told;
        const Output::Progress stopAtOnce = [&](int done, int all) {
            told.append({done, all});
            return false;
        };
        if (output == u"export"_s) {
            CardGridModel grid;
            QVERIFY(grid.fill(ProgramFolder::archiveOf(u"Giulia"_s), nullptr, cards));
            QString error = u"nessun errore"_s;
            QCOMPARE(ExportFile::write(path, grid, stopAtOnce, &error), ExportFile::Result::Cancelled);
            QCOMPARE(error, u"nessun errore"_s); // a stop is no failure
        } else if (output == u"portfolio"_s) {
            QCOMPARE(BookPdf::writePortfolio(u"Giulia"_s, path, stopAtOnce, cards), Output::Ended::Cancelled);
        } else {
            QCOMPARE(BookPdf::writeContactSheet(u"Giulia"_s, path, 2, stopAtOnce, cards),
                     Output::Ended::Cancelled);
        }
        QCOMPARE(told, (QList<std::pair<int, int>>{{1, total}}));
        QCOMPARE(readFile(path), previous);
        QCOMPARE(entriesOf(m_dir->path()), entries);
    }

    // Not stopped, the same outputs tell every card in turn, of the cards they take, and write the file.
    void outputToldCardByCard_data() { outputStoppedAfterItsFirstCard_data(); }
    void outputToldCardByCard() {
        QFETCH(QString, output);
        QFETCH(bool, chosen);
        QVERIFY(writeFile(ProgramFolder::archiveOf(u"Giulia"_s), bookBytes(5)));
        const CardChoice::Cards cards = chosen ? CardChoice::Cards{{5, 2, 3}} : std::nullopt;
        const int total = chosen ? 3 : 5;
        const QString path = m_dir->filePath(u"Giulia.out"_s);
        QList<std::pair<int, int>> told;
        const Output::Progress goOn = [&](int done, int all) {
            told.append({done, all});
            return true;
        };
        if (output == u"export"_s) {
            CardGridModel grid;
            QVERIFY(grid.fill(ProgramFolder::archiveOf(u"Giulia"_s), nullptr, cards));
            QCOMPARE(ExportFile::write(path, grid, goOn), ExportFile::Result::Written);
        } else if (output == u"portfolio"_s) {
            QCOMPARE(BookPdf::writePortfolio(u"Giulia"_s, path, goOn, cards), Output::Ended::Written);
            QVERIFY_SOUND_PDF(path);
        } else {
            QCOMPARE(BookPdf::writeContactSheet(u"Giulia"_s, path, 2, goOn, cards), Output::Ended::Written);
            QVERIFY_SOUND_PDF(path);
        }
        QList<std::pair<int, int>> expected;
        for (int done = 1; done <= total; ++done)
            expected.append({done, total});
        QCOMPARE(told, expected);
    }

    // --- A report printed to a PDF file --------------------------------------------------------------
    void reportPdf_data() { exportFile_data(); }
    void reportPdf() {
        QFETCH(Kind, kind);
        Report::ReportTemplate summary = SearchSummary::makeTemplate();
        QStringList lines;
        for (int i = 1; i <= 3000; ++i)
            lines << u"Scatto %1  Data: 01/02/2024  Location: Milano  Note:  luce & ombra"_s.arg(i);
        SearchSummary::fill(summary, u"Giulia"_s, lines);
        const Report::PreparedReport prepared = Report::prepare(summary);
        const QString path = m_dir->filePath(u"riepilogo.pdf"_s);
        const QByteArray previous = "%PDF- il riepilogo di ieri";

        everyWriteStepFails(kind, path, previous, [&] { Report::writePdf(prepared, path); });
    }

    // The writer itself reports the system's words seen at the step that failed.
    void exportErrorText_data() { exportFile_data(); }
    void exportErrorText() {
        QFETCH(Kind, kind);
        // A book large enough that the export goes out in several writes.
        QByteArray book;
        for (int n = 1; n <= 1200; ++n) {
            TScheda c = card(n);
            for (int f = TScheda::Descrizione; f <= TScheda::Note; ++f)
                c.setField(TScheda::Field(f), QString(250, QChar(u'a' + f)));
            book.append(reinterpret_cast<const char*>(c.bytes().data()), kRecord);
        }
        QVERIFY(writeFile(archive(), book));
        CardGridModel grid;
        QVERIFY(grid.fill(archive()));
        const QString path = ProgramFolder::exportFile();

        int steps = 0;
        {
            FaultyReplacer counting(0, kind);
            QVERIFY(ExportFile::write(path, grid));
            steps = counting.operations();
        }
        QVERIFY2(steps >= 5, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);
        const QStringList entries = entriesOf(m_dir->path());
        for (int n = 1; n <= steps; ++n) {
            QVERIFY(writeFile(path, "prima"));
            QString error;
            {
                FaultyReplacer faulty(n, kind);
                QVERIFY(!ExportFile::write(path, grid, &error));
                QVERIFY(faulty.struck());
            }
            QCOMPARE(error, systemText(kind == Kind::Error ? EIO : ENOSPC));
            QCOMPARE(readFile(path), QByteArray("prima"));
            QCOMPARE(entriesOf(m_dir->path()), entries);
        }
    }

    // --- The change-password window --------------------------------------------------------------
    void passwordChange_data() { exportFile_data(); }
    void passwordChange() {
        QFETCH(Kind, kind);
        const QString store = ProgramFolder::passwordStore();

        int steps = 0;
        {
            FakeMessages messages;
            PasswordStore(store).writePassword(kInitial);
            openChange();
            FaultyReplacer counting(0, kind);
            clickChange();
            steps = counting.operations();
            QCOMPARE(messages.asked.size(), 1);
            QCOMPARE(messages.asked[0].text, ChangePasswordWindow::changedMessage());
            QCOMPARE(PasswordStore(store).readPassword(), u"SEGRETO"_s);
        }
        QVERIFY2(steps >= 3, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            PasswordStore(store).writePassword(kInitial);
            const QByteArray before = readFile(store);
            const QStringList entries = entriesOf(m_dir->path());
            FakeMessages messages;
            openChange();
            {
                FaultyReplacer faulty(n, kind);
                clickChange();
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            QCOMPARE(messages.asked.size(), 1);
            QVERIFY2(messages.asked[0].text == ChangePasswordWindow::changeErrorMessage(), qPrintable(step));
            QVERIFY(m_windows->changePassword()->isVisible());
            QCOMPARE(readFile(store), before);
            QCOMPARE(PasswordStore(store).readPassword(), kInitial);
            QCOMPARE(entriesOf(m_dir->path()), entries);

            // The store itself says why: in Italian, the system's own words after it in brackets.
            FaultyReplacer again(n, kind);
            try {
                PasswordStore(store).writePassword(u"ALTRA"_s);
                QFAIL("the write was reported as done");
            } catch (const PasswordStoreError& error) {
                const QString italian = kind == Kind::Error ? u"errore di lettura o scrittura del disco"_s
                                                            : u"il disco è pieno"_s;
                QVERIFY2(error.text().endsWith(
                             u": %1 (%2)"_s.arg(italian, systemText(kind == Kind::Error ? EIO : ENOSPC))),
                         qPrintable(error.text()));
            }
            QCOMPARE(readFile(store), before);
        }
    }

    // --- Attachment copy -------------------------------------------------------------------------
    void attachmentCopy_data() {
        QTest::addColumn<bool>("replacing");
        addKinds();
        for (bool replacing : {false, true}) {
            const char* what = replacing ? "replacing a file" : "new file";
            QTest::addRow("%s, error", what) << replacing << Kind::Error;
            QTest::addRow("%s, short write", what) << replacing << Kind::ShortWrite;
            QTest::addRow("%s, disk full", what) << replacing << Kind::DiskFull;
        }
    }
    void attachmentCopy() {
        QFETCH(bool, replacing);
        QFETCH(Kind, kind);
        QByteArray content(200 * 1024, Qt::Uninitialized);
        QRandomGenerator random(14);
        for (char& c : content)
            c = char(random.bounded(256));
        const QString source = m_dir->filePath(u"contratto.pdf"_s);
        QVERIFY(writeFile(source, content));
        QVERIFY(AttachmentFolder::ensureFolder());
        const QString destination = AttachmentFolder::pathOf(u"contratto.pdf"_s);
        const QByteArray old = "la versione di prima";

        int steps = 0;
        {
            FaultyReplacer counting(0, kind);
            QVERIFY(AttachmentFolder::copyIn(source, u"contratto.pdf"_s));
            steps = counting.operations();
            QCOMPARE(readFile(destination), content);
        }
        QVERIFY2(steps >= 5, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            QFile::remove(destination);
            if (replacing)
                QVERIFY(writeFile(destination, old));
            const QStringList entries = entriesOf(AttachmentFolder::folder());
            {
                FaultyReplacer faulty(n, kind);
                QVERIFY2(!AttachmentFolder::copyIn(source, u"contratto.pdf"_s),
                         qPrintable(QString::number(n)));
                QVERIFY(faulty.struck());
            }
            QCOMPARE(QFile::exists(destination), replacing);
            QCOMPARE(readFile(destination), replacing ? old : QByteArray());
            QCOMPARE(entriesOf(AttachmentFolder::folder()), entries);
        }
    }

private:
    // Writes the PDF file once, counting its write steps, then makes each step fail in turn: every
    // failure says the file cannot be written, and leaves the earlier file as it was and nothing beside it.
    void everyWriteStepFails(Kind kind, const QString& path, const QByteArray& previous,
                             const std::function<void()>& write) {
        int steps = 0;
        {
            QVERIFY(writeFile(path, previous));
            FaultyReplacer counting(0, kind);
            write();
            steps = counting.operations();
            QVERIFY(readFile(path).startsWith("%PDF-1.4"));
            QVERIFY_SOUND_PDF(path);
        }
        QVERIFY2(steps >= 3, qPrintable(u"%1 steps"_s.arg(steps)));
        qInfo("every one of %d steps made to fail", steps);

        for (int n = 1; n <= steps; ++n) {
            const QString step = u"step %1 of %2"_s.arg(n).arg(steps);
            QVERIFY(writeFile(path, previous));
            const QStringList entries = entriesOf(m_dir->path());
            QString failure;
            {
                FaultyReplacer faulty(n, kind);
                try {
                    write();
                } catch (const Report::ReportError& error) {
                    failure = error.text();
                }
                QVERIFY2(faulty.struck(), qPrintable(step));
            }
            QVERIFY2(failure.startsWith(u"Non è stato possibile scrivere il file \""_s + path + u"\": "_s),
                     qPrintable(step + u": "_s + failure));
            QCOMPARE(readFile(path), previous);
            QCOMPARE(entriesOf(m_dir->path()), entries);
        }
    }

    EditorWindow* editor() { return m_windows->editor(); }
    QString archive() const { return m_dir->filePath(u"Giulia.wmn"_s); }

    static QString storedTitle(const QByteArray& record) {
        TScheda c;
        std::copy(record.begin(), record.end(), reinterpret_cast<char*>(c.bytes().data()));
        return c.field(TScheda::Titolo);
    }

    void press(const char* command) {
        QTest::mouseClick(editor()->findChild<Picture*>(QString::fromLatin1(command)), Qt::LeftButton);
    }

    // The book of the given bytes in the editor, with the card to save on screen: a new one, or the
    // first card with its title changed.
    void openBookForSave(const QByteArray& book, bool append) {
        QVERIFY(writeFile(archive(), book));
        QVERIFY(QDir(PhotoStore::folder()).removeRecursively());
        editor()->openBook(u"Giulia"_s, archive());
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
        press(append ? "cmdNuovo" : "cmdPrimo");
        editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->setText(u"Salvata"_s);
        editor()->setDateText(u"05/05/2025"_s);
        editor()->findChild<QLineEdit*>(u"txtLocation"_s)->setText(u"Bari"_s);
    }

    // The first card on screen with a new picture in the frame, its earlier photo (if any) on disk.
    void openBookWithNewPhoto(const QByteArray& book, const QByteArray& oldPhoto) {
        QVERIFY(writeFile(archive(), book));
        QVERIFY(QDir(PhotoStore::folder()).removeRecursively());
        QVERIFY(PhotoStore::ensureFolder());
        if (!oldPhoto.isEmpty())
            QVERIFY(writeFile(PhotoStore::photoPath(u"Giulia"_s, 1), oldPhoto));
        editor()->openBook(u"Giulia"_s, archive());
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
        press("cmdPrimo");
        QImage red(640, 480, QImage::Format_RGB32);
        red.fill(Qt::red);
        editor()->photoFrame()->setPhoto(CardPhoto::fromImage(red));
        editor()->findChild<QLineEdit*>(u"txtTitolo"_s)->setText(u"Salvata"_s);
    }

    void clickExport() {
        m_window = std::make_unique<ExportWindow>(m_windows->editor());
        m_window->setArchivePath(m_windows->editor()->archivePath());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTest::mouseClick(m_window->findChild<Picture*>(u"cmdEsporta"_s), Qt::LeftButton);
        m_window.reset();
    }

    void openChange() {
        m_windows.reset();
        m_windows = std::make_unique<WindowSet>();
        m_windows->login()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
        QTest::mouseClick(m_windows->login()->findChild<QPushButton*>(u"btnCambiaPassword"_s),
                          Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(m_windows->changePassword()));
    }

    void clickChange() {
        const QList<std::pair<QString, QString>> fields = {{u"txtPasswordOld"_s, u"lucepiumavelox"_s},
                                                           {u"txtPasswordNew"_s, u"segreto"_s},
                                                           {u"txtConferma"_s, u"segreto"_s}};
        for (const auto& [name, text] : fields)
            m_windows->changePassword()->findChild<QLineEdit*>(name)->setText(text);
        QPushButton* ok = m_windows->changePassword()->findChild<QPushButton*>(u"cmdOK"_s);
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    std::unique_ptr<ExportWindow> m_window;
};

LUMIVERA_WINDOW_TEST_MAIN(TestFaults)

#include "tst_faults.moc"
