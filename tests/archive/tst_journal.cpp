// Crash-safe overwrites and saves from several programs at once. A writer program
// (tst_journal_writer) is stopped dead at each step of an overwrite, and the book is then opened
// here as the editor would open it; two writers append into one book at the same time.
#include "FaultyFileSystem.h"
#include "JournalCards.h"
#include "TestFiles.h"
#include "archive/core/BookArchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kRecord = qsizetype(TScheda::kSize);
constexpr int kCards = 5;
constexpr int kStray = 100; // an incomplete record after the last card, which must survive too

QString writerProgram() {
    return QString::fromLocal8Bit(LUMIVERA_JOURNAL_WRITER);
}

// The book every test starts from: cards "vecchia 1" ... "vecchia 5" and a few stray bytes.
QByteArray oldBook() {
    QByteArray content;
    for (int n = 1; n <= kCards; ++n)
        content += JournalCards::bytes(u"vecchia"_s, n);
    return content + QByteArray(kStray, '\x5A');
}

QByteArray withCard(QByteArray book, int index, const QByteArray& card) {
    return book.replace(index * kRecord, kRecord, card);
}

QByteArray newCard(int index) {
    return JournalCards::bytes(u"nuova"_s, index + 1);
}

// A journal in the archive's journal format: magic, offset, length, saved bytes, SHA-256.
QByteArray journalOf(quint64 offset, const QByteArray& saved) {
    QByteArray content("LMVJRNL1");
    char number[8];
    qToLittleEndian<quint64>(offset, number);
    content.append(number, 8);
    qToLittleEndian<quint64>(quint64(saved.size()), number);
    content.append(number, 8);
    content += saved;
    return content + QCryptographicHash::hash(content, QCryptographicHash::Sha256);
}

// Runs the writer; `stopped` says whether it is meant to kill itself on the way.
void runWriter(const QStringList& arguments, bool stopped) {
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(writerProgram(), arguments);
    QVERIFY2(writer.waitForStarted(-1), qPrintable(writer.errorString()));
    QVERIFY(writer.waitForFinished(-1));
    if (stopped) {
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    } else {
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer.exitCode(), 0);
    }
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(u"Giulia.wmn"_s);
        m_journal = BookArchive::journalPath(m_path);
        QVERIFY(writeFile(m_path, oldBook()));
    }

    // --- An overwrite stopped at each of its steps ------------------------------------------------
    void overwriteStoppedAtEachStep_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("thenOpenStop"); // a second crash, while the book is being reopened
        QTest::addColumn<bool>("journalLeft");
        QTest::addColumn<bool>("becomesNew");
        const struct {
            const char* stop;
            bool journalLeft;
            bool becomesNew;
        } steps[] = {
            {"journal-torn", true, false},   {"journal-written", true, false},
            {"journal-synced", true, false}, {"journal-listed", true, false},
            {"record-torn", true, false},    {"record-written", true, false},
            {"record-synced", true, false},  {"journal-removed", false, true},
            {"none", false, true},
        };
        // Card 2 spans the first two disk blocks with cards 1 and 3; card 5 is the last one, its
        // blocks cut short by the end of the file.
        for (int index : {1, kCards - 1}) {
            for (const auto& step : steps) {
                QTest::addRow("card %d, %s", index + 1, step.stop)
                    << index << QString::fromLatin1(step.stop) << QString() << step.journalLeft
                    << step.becomesNew;
            }
        }
        QTest::addRow("torn record, then torn roll-back")
            << 1 << u"record-torn"_s << u"record-torn"_s << true << false;
        QTest::addRow("torn record, then stopped after the roll-back")
            << 1 << u"record-torn"_s << u"record-synced"_s << true << false;
        QTest::addRow("torn record, then stopped after removing the journal")
            << 1 << u"record-torn"_s << u"journal-removed"_s << false << false;
    }
    void overwriteStoppedAtEachStep() {
        QFETCH(int, index);
        QFETCH(QString, stop);
        QFETCH(QString, thenOpenStop);
        QFETCH(bool, journalLeft);
        QFETCH(bool, becomesNew);

        runWriter({u"overwrite"_s, m_path, QString::number(index), stop}, stop != u"none");
        if (QTest::currentTestFailed())
            return;
        if (!thenOpenStop.isEmpty())
            runWriter({u"open"_s, m_path, thenOpenStop}, true);
        if (QTest::currentTestFailed())
            return;
        // The writer really stopped where it was told: the journal is there exactly while an
        // overwrite was under way.
        QCOMPARE(QFile::exists(m_journal), journalLeft);

        // Opened as any window opens a book; the dead writer's lock went with it.
        BookArchive archive;
        archive.open(m_path);
        QVERIFY(!QFile::exists(m_journal));
        archive.lockForWriting();
        QCOMPARE(archive.count(), kCards);
        archive.close();

        const QByteArray after = readFile(m_path);
        QCOMPARE(after.size(), oldBook().size());
        const QByteArray card = after.mid(index * kRecord, kRecord);
        const QByteArray old = oldBook().mid(index * kRecord, kRecord);
        QVERIFY2(card == old || card == newCard(index), "the card is a mixture of old and new bytes");
        QCOMPARE(card == newCard(index), becomesNew);
        // Every other byte of the file, the other cards and the stray bytes, is as it was.
        QCOMPARE(withCard(after, index, old), oldBook());
    }

    // --- Journals found beside a book -------------------------------------------------------------
    void journalFoundOnOpening_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("rolledBack");
        QTest::newRow("complete") << u"none"_s << true;
        QTest::newRow("empty") << u"empty"_s << false;
        QTest::newRow("last byte missing") << u"truncated"_s << false;
        QTest::newRow("header only") << u"header only"_s << false;
        QTest::newRow("saved byte changed") << u"saved byte"_s << false;
        QTest::newRow("checksum changed") << u"checksum"_s << false;
        QTest::newRow("foreign file") << u"magic"_s << false;
        QTest::newRow("offset off the block") << u"unaligned"_s << false;
        QTest::newRow("beyond the end of the archive") << u"beyond"_s << false;
        QTest::newRow("far too large") << u"large"_s << false;
    }
    // A card was overwritten (card 2 is new in the file) and a journal holding the old blocks is
    // found: a complete one puts them back, a damaged one is dropped and the archive is left alone.
    void journalFoundOnOpening() {
        QFETCH(QString, damage);
        QFETCH(bool, rolledBack);
        const QByteArray overwritten = withCard(oldBook(), 1, newCard(1));
        QVERIFY(writeFile(m_path, overwritten));
        const QByteArray saved = oldBook().left(8192);
        QByteArray journal = journalOf(0, saved);
        if (damage == u"empty")
            journal.clear();
        else if (damage == u"truncated")
            journal.chop(1);
        else if (damage == u"header only")
            journal.truncate(24);
        else if (damage == u"saved byte")
            journal[24 + 5000] = char(journal[24 + 5000] ^ 1);
        else if (damage == u"checksum")
            journal[journal.size() - 1] = char(journal[journal.size() - 1] ^ 1);
        else if (damage == u"magic")
            journal[0] = 'X';
        else if (damage == u"unaligned")
            journal = journalOf(100, saved);
        else if (damage == u"beyond")
            journal = journalOf(16384, saved); // the file holds 17840 bytes: 16384 + 8192 is past it
        else if (damage == u"large")
            journal += QByteArray(20000, '\0');
        QVERIFY(writeFile(m_journal, journal));

        // A reader is enough to set things right.
        BookArchive archive;
        archive.open(m_path);
        QVERIFY(!QFile::exists(m_journal));
        archive.seek(1);
        QCOMPARE(JournalCards::bytes(archive.read()),
                 rolledBack ? oldBook().mid(kRecord, kRecord) : newCard(1));
        archive.close();
        QCOMPARE(readFile(m_path), rolledBack ? oldBook() : overwritten);
    }

    // A journal beside a book whose archive has gone: the archive is created empty and stays empty.
    void journalWithoutItsArchive() {
        QVERIFY(writeFile(m_journal, journalOf(0, oldBook().left(8192))));
        QVERIFY(QFile::remove(m_path));
        BookArchive archive;
        archive.open(m_path);
        QCOMPARE(archive.count(), 0);
        archive.close();
        QVERIFY(!QFile::exists(m_journal));
        QCOMPARE(QFileInfo(m_path).size(), 0);
    }

    // A journal left after the book was opened (another save crashed meanwhile) is rolled back by
    // the lock, before this save counts and writes.
    void journalLeftAfterOpeningIsRolledBackByTheLock() {
        BookArchive archive;
        archive.open(m_path);
        QVERIFY(writeFile(m_path, withCard(oldBook(), 1, newCard(1))));
        QVERIFY(writeFile(m_journal, journalOf(0, oldBook().left(8192))));
        archive.lockForWriting();
        QVERIFY(!QFile::exists(m_journal));
        archive.seek(archive.count());
        archive.write(JournalCards::card(u"nuova"_s, 6));
        archive.close();
        QCOMPARE(readFile(m_path), oldBook().left(kCards * kRecord) + JournalCards::bytes(u"nuova"_s, 6));
    }

    // --- A journal meets another copy of the book ----------------------------------------------------
    // A save was killed with its journal on the disk; then the user put back a copy of the archive
    // kept elsewhere. The journal belongs to the archive that was being changed, not to the copy: it is
    // never applied to the copy, and it is kept under a name of its own (never deleted) and the user
    // told once. A copy that is the very archive the save started from is left as it is.
    void journalOfAnotherCopy_data() {
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("restored"); // "other": other cards; "same": the book before the save
        QTest::addColumn<bool>("forReading");
        for (const char* stop : {"journal-synced", "record-torn", "record-synced"}) {
            for (bool forReading : {false, true}) {
                const char* how = forReading ? "read" : "opened";
                QTest::addRow("%s, other cards restored, %s", stop, how)
                    << QString::fromLatin1(stop) << u"other"_s << forReading;
                QTest::addRow("%s, same cards restored, %s", stop, how)
                    << QString::fromLatin1(stop) << u"same"_s << forReading;
            }
        }
    }
    void journalOfAnotherCopy() {
        QFETCH(QString, stop);
        QFETCH(QString, restored);
        QFETCH(bool, forReading);
        runWriter({u"overwrite"_s, m_path, u"1"_s, stop}, true);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(QFile::exists(m_journal));
        const QByteArray journal = readFile(m_journal);

        QByteArray copy;
        for (int n = 1; n <= kCards; ++n)
            copy += JournalCards::bytes(u"ripristinata"_s, n);
        if (restored == u"same")
            copy = oldBook();
        QVERIFY(writeFile(m_path, copy));

        QStringList told;
        BookArchive::setNoticeHandler([&](const QString& text) { told << text; });
        const auto forget = qScopeGuard([] { BookArchive::setNoticeHandler({}); });
        const QString aside = BookArchive::setAsideJournalPath(m_path, 1);
        BookArchive archive;
        if (forReading)
            archive.openForReading(m_path);
        else
            archive.open(m_path);
        QCOMPARE(archive.count(), kCards);
        for (int n = 0; n < kCards; ++n)
            QCOMPARE(JournalCards::bytes(archive.read()), copy.mid(n * kRecord, kRecord));
        archive.close();
        QCOMPARE(readFile(m_path), copy);

        if (forReading) {
            // Reading changes nothing on the disk, the journal included.
            QCOMPARE(readFile(m_journal), journal);
            QVERIFY(told.isEmpty());
            return;
        }
        QVERIFY(!QFile::exists(m_journal));
        if (restored == u"same") {
            QVERIFY(!QFile::exists(aside));
            QVERIFY(told.isEmpty());
            return;
        }
        QCOMPARE(readFile(aside), journal);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(QFileInfo(aside).fileName()), qPrintable(told.first()));
        // Told once: the next opening finds no journal and says nothing.
        archive.open(m_path);
        archive.lockForWriting();
        archive.close();
        QCOMPARE(told.size(), 1);
        QCOMPARE(readFile(m_path), copy);
        QCOMPARE(readFile(aside), journal);
    }

    // Journals already set aside keep their names; the next one takes the first free number.
    void journalSetAsideBesideEarlierOnes() {
        runWriter({u"overwrite"_s, m_path, u"3"_s, u"record-synced"_s}, true);
        if (QTest::currentTestFailed())
            return;
        const QByteArray journal = readFile(m_journal);
        QVERIFY(writeFile(BookArchive::setAsideJournalPath(m_path, 1), "prima"));
        QVERIFY(writeFile(m_path, JournalCards::bytes(u"altra"_s, 1).repeated(kCards)));
        BookArchive archive;
        archive.open(m_path);
        archive.close();
        QCOMPARE(readFile(BookArchive::setAsideJournalPath(m_path, 1)), QByteArray("prima"));
        QCOMPARE(readFile(BookArchive::setAsideJournalPath(m_path, 2)), journal);
        QCOMPARE(readFile(m_path), JournalCards::bytes(u"altra"_s, 1).repeated(kCards));
    }

    // An earlier version's journal holds only the old bytes: it is applied when what differs from
    // them lies within one card (the card that was being written), and set aside otherwise.
    void journalOfAnEarlierVersion_data() {
        QTest::addColumn<bool>("twoCardsChanged");
        QTest::newRow("one card changed") << false;
        QTest::newRow("two cards changed") << true;
    }
    void journalOfAnEarlierVersion() {
        QFETCH(bool, twoCardsChanged);
        QByteArray changed = withCard(oldBook(), 1, newCard(1));
        if (twoCardsChanged)
            changed = withCard(changed, 0, newCard(0));
        QVERIFY(writeFile(m_path, changed));
        QVERIFY(writeFile(m_journal, journalOf(0, oldBook().left(8192))));
        BookArchive archive;
        archive.open(m_path);
        archive.close();
        QVERIFY(!QFile::exists(m_journal));
        QCOMPARE(readFile(m_path), twoCardsChanged ? changed : oldBook());
        QCOMPARE(QFile::exists(BookArchive::setAsideJournalPath(m_path, 1)), twoCardsChanged);
    }

    // A book read while an overwrite is pending is read as it was before that overwrite, and left
    // on the disk exactly as it is for the next opening to roll back.
    void readingSeesThePendingOverwriteUndone() {
        runWriter({u"overwrite"_s, m_path, u"1"_s, u"record-synced"_s}, true);
        if (QTest::currentTestFailed())
            return;
        const QByteArray onDisk = readFile(m_path);
        const QByteArray journal = readFile(m_journal);
        QCOMPARE(onDisk, withCard(oldBook(), 1, newCard(1)));
        BookArchive archive;
        archive.openForReading(m_path);
        std::vector<TScheda> cards;
        QCOMPARE(archive.readBlock(cards, kCards), kCards);
        for (int n = 0; n < kCards; ++n)
            QCOMPARE(JournalCards::bytes(cards[std::size_t(n)]), oldBook().mid(n * kRecord, kRecord));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.write(JournalCards::card(u"nuova"_s, 9)));
        archive.close();
        QCOMPARE(readFile(m_path), onDisk);
        QCOMPARE(readFile(m_journal), journal);
    }

    // --- Overwrites that fail ---------------------------------------------------------------------
    void overwriteOk_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("locked");
        QTest::newRow("first card, locked") << 0 << true;
        QTest::newRow("middle card, locked") << 2 << true;
        QTest::newRow("last card, locked") << kCards - 1 << true;
        QTest::newRow("middle card, lock taken by the write") << 2 << false;
    }
    void overwriteOk() {
        QFETCH(int, index);
        QFETCH(bool, locked);
        BookArchive archive;
        archive.open(m_path);
        if (locked)
            archive.lockForWriting();
        archive.seek(index);
        archive.write(JournalCards::card(u"nuova"_s, index + 1));
        QCOMPARE(archive.position(), index + 1);
        QVERIFY(!QFile::exists(m_journal));
        archive.close();
        QCOMPARE(readFile(m_path), withCard(oldBook(), index, newCard(index)));
    }

    void failedOverwriteKeepsTheOldCard_data() {
        QTest::addColumn<int>("fault");
        QTest::newRow("write error") << int(FaultyFileSystem::Fault::WriteError);
        QTest::newRow("short write") << int(FaultyFileSystem::Fault::ShortWrite);
        QTest::newRow("disk cannot sync") << int(FaultyFileSystem::Fault::SyncFails);
        QTest::newRow("old bytes unreadable") << int(FaultyFileSystem::Fault::ReadError);
    }
    void failedOverwriteKeepsTheOldCard() {
        QFETCH(int, fault);
        {
            FaultyFileSystem faulty{FaultyFileSystem::Fault(fault)};
            BookArchive archive;
            archive.open(m_path);
            archive.lockForWriting();
            archive.seek(1);
            QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.write(JournalCards::card(u"nuova"_s, 2)));
            QCOMPARE(archive.position(), 1);
        }
        QVERIFY(!QFile::exists(m_journal));
        QCOMPARE(readFile(m_path), oldBook());
    }

    // Every file operation of a locked overwrite fails in turn, in each way a disk can fail: a save
    // reported failed leaves the old card, a save reported done leaves the new one, the card is never
    // a mixture, no other byte changes and no journal outlives the next opening.
    void overwriteFailingAtEachStep_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("error") << int(FaultyFileSystem::Kind::Error);
        QTest::newRow("short transfer") << int(FaultyFileSystem::Kind::ShortWrite);
        QTest::newRow("disk full") << int(FaultyFileSystem::Kind::DiskFull);
    }
    void overwriteFailingAtEachStep() {
        QFETCH(int, kind);
        enum Outcome { Saved, WriteFailed, CloseFailed };
        const auto save = [](const QString& path) {
            BookArchive archive;
            try {
                archive.open(path);
                archive.lockForWriting();
                archive.seek(1);
                archive.write(JournalCards::card(u"nuova"_s, 2));
            } catch (const ArchiveError&) {
                return WriteFailed;
            }
            try {
                archive.close();
            } catch (const ArchiveError&) {
                return CloseFailed;
            }
            return Saved;
        };
        int steps = 0;
        {
            FaultyFileSystem counting(0, FaultyFileSystem::Kind::Error);
            QCOMPARE(save(m_path), Saved);
            steps = counting.operations();
        }
        QVERIFY(steps > 8); // open, lock, journal, overwrite, removal at the least
        for (int step = 1; step <= steps; ++step) {
            QVERIFY(writeFile(m_path, oldBook()));
            Outcome outcome;
            {
                FaultyFileSystem faulty(step, FaultyFileSystem::Kind(kind));
                outcome = save(m_path);
                QVERIFY(faulty.struck());
            }
            const QByteArray expected =
                outcome == WriteFailed ? oldBook() : withCard(oldBook(), 1, newCard(1));
            BookArchive reopened;
            reopened.open(m_path);
            reopened.close();
            QVERIFY2(!QFile::exists(m_journal), qPrintable(u"step %1"_s.arg(step)));
            QVERIFY2(readFile(m_path) == expected,
                     qPrintable(u"step %1, outcome %2"_s.arg(step).arg(outcome)));
        }
    }

    // Something that is no file where the journal goes: the book is not opened, and nothing in it
    // changes.
    void journalPathTakenByAFolder() {
        QVERIFY(QDir(m_dir->path()).mkdir(QFileInfo(m_journal).fileName()));
        BookArchive archive;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.open(m_path));
        QVERIFY(!archive.isOpen());
        QCOMPARE(readFile(m_path), oldBook());
    }

    // The file shrank behind the program's back after the seek: no gap of zeros is written.
    void writePastTheEndIsRefused() {
        BookArchive archive;
        archive.open(m_path);
        archive.seek(kCards);
        QVERIFY(QFile::resize(m_path, 2 * kRecord));
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.write(JournalCards::card(u"nuova"_s, 6)));
        archive.close();
        QCOMPARE(readFile(m_path), oldBook().left(2 * kRecord));
    }

    void lockingNeedsAnOpenArchive() {
        BookArchive archive;
        QVERIFY_THROWS_EXCEPTION(ArchiveError, archive.lockForWriting());
    }

    // --- Two programs saving into one book ----------------------------------------------------------
    // The save lock that keeps copies of the program apart: held by another process, it makes a try
    // fail as busy and a save wait; it is free again as soon as its holder lets go or dies.
    void saveLockKeepsProcessesApart_data() {
        QTest::addColumn<bool>("killed");
        QTest::newRow("released") << false;
        QTest::newRow("holder killed") << true;
    }
    void saveLockKeepsProcessesApart() {
        QFETCH(bool, killed);
        QVERIFY(writeFile(m_path, JournalCards::bytes(u"vecchia"_s, 1)));
        QProcess holder;
        holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        holder.start(writerProgram(), {u"hold"_s, m_path, u"lock"_s});
        QVERIFY(holder.waitForReadyRead(60000));
        QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("locked"));

        FileSystem::OpenError error;
        QVERIFY(!fileSystem().tryLockExclusive(m_path, error));
        QVERIFY(error.busy);
        std::unique_ptr<FileLock> mine;
        {
            FileSystem::OpenError free;
            QProcess second;
            second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            second.start(writerProgram(), {u"append"_s, m_path, u"1"_s, u"seconda"_s});
            QVERIFY(second.waitForStarted(60000));
            if (killed)
                holder.kill();
            else
                holder.closeWriteChannel();
            QVERIFY(second.waitForFinished(60000));
            QCOMPARE(second.exitCode(), 0);
            mine = fileSystem().tryLockExclusive(m_path, free);
            QVERIFY2(mine, qPrintable(free.text));
            // A second descriptor in this process is kept out as well.
            std::unique_ptr<FileLock> again = fileSystem().tryLockExclusive(m_path, free);
            QVERIFY(!again);
            QVERIFY(free.busy);
        }
        QVERIFY(holder.waitForFinished(60000));
        QCOMPARE(readFile(m_path).size(), 2 * kRecord);
    }

    void twoWritersAppendTogether() {
        constexpr int kEach = 1000;
        QVERIFY(writeFile(m_path, {}));
        QProcess first;
        QProcess second;
        for (QProcess* writer : {&first, &second})
            writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        first.start(writerProgram(), {u"append"_s, m_path, QString::number(kEach), u"prima"_s});
        second.start(writerProgram(), {u"append"_s, m_path, QString::number(kEach), u"seconda"_s});
        for (QProcess* writer : {&first, &second}) {
            QVERIFY2(writer->waitForStarted(-1), qPrintable(writer->errorString()));
            QVERIFY(writer->waitForFinished(-1));
            QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
            QCOMPARE(writer->exitCode(), 0);
        }

        const QByteArray content = readFile(m_path);
        QCOMPARE(content.size(), 2 * kEach * kRecord);
        // Every record is one whole card, and each writer's cards are all there, in its order.
        int next[2] = {1, 1};
        for (qsizetype at = 0; at < content.size(); at += kRecord) {
            const QByteArray record = content.mid(at, kRecord);
            const bool fromFirst = record == JournalCards::bytes(u"prima"_s, next[0]);
            const bool fromSecond = record == JournalCards::bytes(u"seconda"_s, next[1]);
            QVERIFY2(fromFirst || fromSecond,
                     qPrintable(u"record %1 is no expected card"_s.arg(at / kRecord + 1)));
            ++next[fromFirst ? 0 : 1];
        }
        QCOMPARE(next[0], kEach + 1);
        QCOMPARE(next[1], kEach + 1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    QString m_journal;
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
