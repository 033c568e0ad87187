// What the program keeps, judged at a path: paths resolved as the system reaches them (links, chains of
// links, links in folder parts, "." and ".."), and each of the program's files and folders recognised
// there, in a scratch program folder with a scratch folder of the user's beside it.
#include "TestFiles.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/KeptFiles.h"
#include "archive/core/PhotoStore.h"
#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Links of a case, each "link>target"; P/ is the program folder, U/ the user's folder.
using Links = QStringList;

} // namespace

class TestKeptFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_program = scratchProgramFolder();
        m_user = std::make_unique<QTemporaryDir>();
        QVERIFY(m_program->isValid() && m_user->isValid());
        ProgramFolder::setPath(QFileInfo(m_program->path()).canonicalFilePath());
        for (const QString& book : {u"Giulia"_s, u"Altro"_s})
            QVERIFY(writeFile(ProgramFolder::archiveOf(book), {}));
        QVERIFY(writeFile(ProgramFolder::passwordStore(), "[Accesso]\nValore=00\n"));
        QVERIFY(writeFile(ProgramFolder::guide(), "%PDF guida"));
        QVERIFY(writeFile(ProgramFolder::executable(), "programma"));
        QVERIFY(writeFile(ProgramFolder::exportFile(), "esportazione"));
        QVERIFY(writeFile(AttachmentFolder::folder() + u"/contratto.pdf"_s, "contratto"));
        QVERIFY(writeFile(path(u"U/lettera.pdf"_s), "lettera"));
        QVERIFY(QDir().mkpath(path(u"U/documenti"_s)));
    }

    // Where a write to a path lands.
    void resolved_data() {
        QTest::addColumn<Links>("links");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("lands");
        QTest::newRow("an existing file") << Links{} << u"P/Giulia.wmn"_s << u"P/Giulia.wmn"_s;
        QTest::newRow("a new file") << Links{} << u"U/nuovo.pdf"_s << u"U/nuovo.pdf"_s;
        QTest::newRow("a new file in a new folder")
            << Links{} << u"U/manca/nuovo.pdf"_s << u"U/manca/nuovo.pdf"_s;
        QTest::newRow("dot and dot dot")
            << Links{} << u"U/documenti/./../lettera.pdf"_s << u"U/lettera.pdf"_s;
        QTest::newRow("a link") << Links{u"U/x.pdf>P/Altro.wmn"_s} << u"U/x.pdf"_s << u"P/Altro.wmn"_s;
        QTest::newRow("a relative link")
            << Links{u"U/documenti/x.pdf>../lettera.pdf"_s} << u"U/documenti/x.pdf"_s << u"U/lettera.pdf"_s;
        QTest::newRow("a relative link to a file not made yet")
            << Links{u"U/documenti/y.pdf>../nuovo.pdf"_s} << u"U/documenti/y.pdf"_s << u"U/nuovo.pdf"_s;
        QTest::newRow("a chain of links")
            << Links{u"U/a.pdf>U/b.pdf"_s, u"U/b.pdf>U/c.pdf"_s, u"U/c.pdf>P/unins000.dll"_s} << u"U/a.pdf"_s
            << u"P/unins000.dll"_s;
        QTest::newRow("a link to a file not made yet")
            << Links{u"U/a.pdf>U/b.pdf"_s, u"U/b.pdf>P/Nuovo.wmn"_s} << u"U/a.pdf"_s << u"P/Nuovo.wmn"_s;
        QTest::newRow("a link in a folder part") << Links{u"U/cartella>P/Book_Zudid"_s}
                                                 << u"U/cartella/nuovo.jpg"_s << u"P/Book_Zudid/nuovo.jpg"_s;
        // ".." after a linked folder is the parent of the folder it leads to, as for the system.
        QTest::newRow("dot dot after a linked folder") << Links{u"U/cartella>P/Documenti_Allegati"_s}
                                                       << u"U/cartella/../Altro.wmn"_s << u"P/Altro.wmn"_s;
        QTest::newRow("links in a loop")
            << Links{u"U/a.pdf>U/b.pdf"_s, u"U/b.pdf>U/a.pdf"_s} << u"U/a.pdf"_s << QString();
    }
    void resolved() {
        QFETCH(Links, links);
        QFETCH(QString, given);
        QFETCH(QString, lands);
        makeLinks(links);
        QCOMPARE(KeptFiles::resolved(path(given)), lands.isEmpty() ? QString() : path(lands));
    }

    // A relative path is taken from the current folder.
    void relativePathFromTheCurrentFolder() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(ProgramFolder::path()));
        const QString lands = KeptFiles::resolved(u"Book_Zudid/../unins000.dll"_s);
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(lands, ProgramFolder::passwordStore());
    }

    void whatIsKept_data() {
        QTest::addColumn<Links>("links");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("kept"); // empty: nothing the program keeps
        const auto beside = [](const QString& path) -> QString {
            return u"P/"_s + QFileInfo(path).fileName();
        };
        const QString archive = u"/x/Giulia.wmn"_s; // only its name matters to the builders
        QTest::newRow("a book's archive")
            << Links{} << u"P/Altro.wmn"_s << u"l'archivio del book \"Altro\""_s;
        QTest::newRow("an archive in capitals")
            << Links{} << u"P/ALTRO.WMN"_s << u"l'archivio del book \"ALTRO\""_s;
        QTest::newRow("an archive not made yet")
            << Links{} << u"P/Nuovo.wmn"_s << u"l'archivio del book \"Nuovo\""_s;
        QTest::newRow("a journal") << Links{} << beside(BookArchive::journalPath(archive))
                                   << u"il giornale delle modifiche del book \"Giulia\""_s;
        QTest::newRow("the first backup") << Links{} << beside(BookShelf::backupPath(archive, 1))
                                          << u"una copia di sicurezza dell'archivio del book \"Giulia\""_s;
        QTest::newRow("the third backup") << Links{} << beside(BookShelf::backupPath(archive, 3))
                                          << u"una copia di sicurezza dell'archivio del book \"Giulia\""_s;
        QTest::newRow("a set-aside journal")
            << Links{} << beside(BookArchive::setAsideJournalPath(archive, 2))
            << u"un giornale delle modifiche messo da parte del book \"Giulia\""_s;
        QTest::newRow("the password store")
            << Links{} << u"P/unins000.dll"_s << u"l'archivio della password di accesso"_s;
        QTest::newRow("the password store in capitals")
            << Links{} << u"P/UNINS000.DLL"_s << u"l'archivio della password di accesso"_s;
        QTest::newRow("the guide") << Links{} << u"P/Guida.pdf"_s << u"la guida del programma"_s;
        QTest::newRow("the executable") << Links{} << u"P/lumivera"_s << u"il programma Lumivera"_s;
        QTest::newRow("the icon") << Links{} << u"P/lumivera.svg"_s << u"l'icona del programma"_s;
        QTest::newRow("the desktop entry")
            << Links{} << u"P/lumivera.desktop"_s << u"la voce del programma nel menu del desktop"_s;
        QTest::newRow("the photo folder")
            << Links{} << u"P/Book_Zudid"_s << u"la cartella delle foto dei book"_s;
        QTest::newRow("a card's photo") << Links{} << u"P/Book_Zudid/Giulia_Foto_2.jpg"_s
                                        << u"la foto della scheda 2 del book \"Giulia\""_s;
        QTest::newRow("another file in the photo folder")
            << Links{} << u"P/Book_Zudid/provino.pdf"_s << u"un file della cartella delle foto dei book"_s;
        QTest::newRow("the attachments folder")
            << Links{} << u"P/Documenti_Allegati"_s << u"la cartella dei documenti allegati"_s;
        QTest::newRow("an attached document") << Links{} << u"P/Documenti_Allegati/contratto.pdf"_s
                                              << u"il documento allegato \"contratto.pdf\""_s;
        QTest::newRow("deeper in the attachments folder")
            << Links{} << u"P/Documenti_Allegati/a/b.pdf"_s
            << u"un file della cartella dei documenti allegati"_s;
        QTest::newRow("through a link")
            << Links{u"P/x.pdf>Altro.wmn"_s} << u"P/x.pdf"_s << u"l'archivio del book \"Altro\""_s;
        QTest::newRow("through a link to the photo folder")
            << Links{u"U/foto>P/Book_Zudid"_s} << u"U/foto/Giulia_Foto_1.jpg"_s
            << u"la foto della scheda 1 del book \"Giulia\""_s;
        QTest::newRow("through dot dot")
            << Links{} << u"P/Book_Zudid/../unins000.dll"_s << u"l'archivio della password di accesso"_s;
        QTest::newRow("the export file") << Links{} << u"P/Rove_Roruvorerud.xls"_s << QString();
        QTest::newRow("a new file beside the books") << Links{} << u"P/Giulia.pdf"_s << QString();
        QTest::newRow("a photo's name outside the photo folder")
            << Links{} << u"P/Giulia_Foto_2.jpg"_s << QString();
        QTest::newRow("a backup's name of another file") << Links{} << u"P/Giulia.pdf.bak"_s << QString();
        QTest::newRow("a user's file") << Links{} << u"U/lettera.pdf"_s << QString();
        QTest::newRow("a link to a user's file")
            << Links{u"P/x.pdf>U/lettera.pdf"_s} << u"P/x.pdf"_s << QString();
        QTest::newRow("an archive's name outside the program folder")
            << Links{} << u"U/Giulia.wmn"_s << QString();
    }
    void whatIsKept() {
        QFETCH(Links, links);
        QFETCH(QString, given);
        QFETCH(QString, kept);
        makeLinks(links);
        const std::optional<QString> said = KeptFiles::whatIsKept(KeptFiles::resolved(path(given)));
        QCOMPARE(said.value_or(QString()), kept);
    }

    // The photo folder may be a link to a folder on another disk: what lies there is kept too.
    void photoFolderOnAnotherDisk() {
        QVERIFY(writeFile(path(u"U/fotografie/Giulia_Foto_3.jpg"_s), "jpeg"));
        QVERIFY(QFile::link(path(u"U/fotografie"_s), PhotoStore::folder()));
        QCOMPARE(KeptFiles::whatIsKept(KeptFiles::resolved(path(u"U/fotografie/Giulia_Foto_3.jpg"_s))),
                 u"la foto della scheda 3 del book \"Giulia\""_s);
        QCOMPARE(KeptFiles::whatIsKept(KeptFiles::resolved(path(u"U/fotografie"_s))),
                 u"la cartella delle foto dei book"_s);
        QCOMPARE(KeptFiles::whatIsKept(KeptFiles::resolved(path(u"U/lettera.pdf"_s))), std::nullopt);
    }

    // The running program, wherever it was started from.
    void theRunningExecutable() {
        QCOMPARE(KeptFiles::whatIsKept(KeptFiles::resolved(QCoreApplication::applicationFilePath())),
                 u"il programma Lumivera"_s);
    }

    void archiveNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("archiveName");
        QTest::newRow("archive") << u"/a/Giulia.wmn"_s << true;
        QTest::newRow("in capitals") << u"Giulia.WMN"_s << true;
        QTest::newRow("a pdf") << u"/a/Giulia.pdf"_s << false;
        QTest::newRow("a journal") << u"/a/Giulia.wmn-journal"_s << false;
    }
    void archiveNames() {
        QFETCH(QString, path);
        QFETCH(bool, archiveName);
        QCOMPARE(KeptFiles::hasArchiveName(path), archiveName);
    }

private:
    // A case's path: P/ the program folder, U/ the user's folder.
    QString path(const QString& written) const {
        QString result = written;
        if (written.startsWith(u"P/"_s) || written == u"P"_s)
            result = ProgramFolder::path() + written.mid(1);
        else if (written.startsWith(u"U/"_s))
            result = QFileInfo(m_user->path()).canonicalFilePath() + written.mid(1);
        return result;
    }

    void makeLinks(const Links& links) {
        for (const QString& link : links) {
            const QString from = path(link.section(u'>', 0, 0));
            const QString to = link.section(u'>', 1);
            // A target without P/ or U/ is stored as written, relative to the link's folder.
            const QString target = to.startsWith(u"P/"_s) || to.startsWith(u"U/"_s) ? path(to) : to;
            QVERIFY2(QFile::link(target, from), qPrintable(from));
        }
    }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_user;
};

QTEST_GUILESS_MAIN(TestKeptFiles)
#include "tst_keptfiles.moc"
