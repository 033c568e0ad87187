// A test-only program for tst_journal: it saves cards into a book as the editor does, and can stop
// itself dead (SIGKILL, as a crash or a power cut would stop it) at a chosen step of an overwrite.
//
//   tst_journal_writer overwrite <archive> <index> <stop>
//       overwrites the card at <index> with card "nuova" <index + 1> and stops at <stop>
//   tst_journal_writer open <archive> <stop>
//       only opens the book, which undoes an interrupted overwrite, and stops at <stop>
//   tst_journal_writer append <archive> <count> <tag>
//       appends the cards "<tag> 1" ... "<tag> <count>", one save (open, lock, count, write) each
//   tst_journal_writer hold <archive> lock
//       takes the archive's save lock, writes "locked" on standard output and keeps the lock until its
//       standard input ends
//
// Stops: journal-torn (half the journal written), journal-written, journal-synced, journal-listed
// (its folder synced), record-torn (half the record written), record-written, record-synced,
// journal-removed, none.
//
// Exit status: 0 done, 1 the archive refused (its message on standard error), 2 bad arguments.
#include "JournalCards.h"
#include "archive/core/BookArchive.h"

#include <QStringList>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

enum class Stop {
    None,
    JournalTorn,
    JournalWritten,
    JournalSynced,
    JournalListed,
    RecordTorn,
    RecordWritten,
    RecordSynced,
    JournalRemoved,
    Unknown,
};

Stop stopNamed(const QString& name) {
    static const struct {
        const char16_t* name;
        Stop stop;
    } stops[] = {
        {u"none", Stop::None},
        {u"journal-torn", Stop::JournalTorn},
        {u"journal-written", Stop::JournalWritten},
        {u"journal-synced", Stop::JournalSynced},
        {u"journal-listed", Stop::JournalListed},
        {u"record-torn", Stop::RecordTorn},
        {u"record-written", Stop::RecordWritten},
        {u"record-synced", Stop::RecordSynced},
        {u"journal-removed", Stop::JournalRemoved},
    };
    for (const auto& entry : stops) {
        if (name == QStringView(entry.name))
            return entry.stop;
    }
    return Stop::Unknown;
}

[[noreturn]] void die() {
    std::raise(SIGKILL);
    std::abort(); // not reached
}

// A file of the real file system that stops the process at the chosen step. The journal and the
// archive are told apart by name.
class StoppingFile final : public RecordFile {
public:
    StoppingFile(std::unique_ptr<RecordFile> real, bool journal, Stop stop)
        : m_real(std::move(real))
        , m_journal(journal)
        , m_stop(stop) {}

    qint64 size() override { return m_real->size(); }
    qint64 readAt(qint64 offset, char* data, qint64 n) override { return m_real->readAt(offset, data, n); }
    qint64 writeAt(qint64 offset, const char* data, qint64 n) override {
        if (stopsAt(Stop::JournalTorn, Stop::RecordTorn)) {
            m_real->writeAt(offset, data, n / 2);
            die();
        }
        const qint64 put = m_real->writeAt(offset, data, n);
        if (stopsAt(Stop::JournalWritten, Stop::RecordWritten))
            die();
        return put;
    }
    bool sync() override {
        const bool synced = m_real->sync();
        if (stopsAt(Stop::JournalSynced, Stop::RecordSynced))
            die();
        return synced;
    }
    bool close() override { return m_real->close(); }
    QString errorString() const override { return m_real->errorString(); }

private:
    bool stopsAt(Stop forJournal, Stop forArchive) const {
        return m_stop == (m_journal ? forJournal : forArchive);
    }

    std::unique_ptr<RecordFile> m_real;
    bool m_journal;
    Stop m_stop;
};

class StoppingFileSystem final : public FileSystem {
public:
    explicit StoppingFileSystem(Stop stop)
        : m_stop(stop) {}

    std::unique_ptr<RecordFile> openReadWrite(const QString& path, OpenError& error) override {
        return wrap(path, realFileSystem().openReadWrite(path, error));
    }
    std::unique_ptr<RecordFile> createNew(const QString& path, OpenError& error) override {
        return wrap(path, realFileSystem().createNew(path, error));
    }
    std::unique_ptr<FileLock> lockExclusive(const QString& path, OpenError& error) override {
        return realFileSystem().lockExclusive(path, error);
    }
    bool remove(const QString& path, QString& error) override {
        const bool removed = realFileSystem().remove(path, error);
        if (m_stop == Stop::JournalRemoved)
            die();
        return removed;
    }
    bool syncFolder(const QString& folder, QString& error) override {
        const bool synced = realFileSystem().syncFolder(folder, error);
        if (m_stop == Stop::JournalListed)
            die();
        return synced;
    }

private:
    std::unique_ptr<RecordFile> wrap(const QString& path, std::unique_ptr<RecordFile> real) {
        if (!real)
            return nullptr;
        return std::make_unique<StoppingFile>(std::move(real), path.endsWith(u"-journal"), m_stop);
    }

    Stop m_stop;
};

int usage() {
    std::fputs("tst_journal_writer overwrite <archive> <index> <stop> | open <archive> <stop> | "
               "append <archive> <count> <tag> | hold <archive> lock\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.size() < 3)
        return usage();
    const QString& mode = args[0];
    const QString& path = args[1];

    try {
        if (mode == u"overwrite" && args.size() == 4) {
            bool numeric = false;
            const int index = args[2].toInt(&numeric);
            const Stop stop = stopNamed(args[3]);
            if (!numeric || stop == Stop::Unknown)
                return usage();
            StoppingFileSystem files(stop);
            setFileSystem(&files);
            BookArchive archive;
            archive.open(path);
            archive.lockForWriting();
            archive.seek(index);
            archive.write(JournalCards::card(QStringLiteral("nuova"), index + 1));
            archive.close();
            setFileSystem(nullptr);
            return 0;
        }
        if (mode == u"open" && args.size() == 3) {
            const Stop stop = stopNamed(args[2]);
            if (stop == Stop::Unknown)
                return usage();
            StoppingFileSystem files(stop);
            setFileSystem(&files);
            BookArchive archive;
            archive.open(path);
            archive.close();
            setFileSystem(nullptr);
            return 0;
        }
        if (mode == u"append" && args.size() == 4) {
            bool numeric = false;
            const int count = args[2].toInt(&numeric);
            if (!numeric || count < 0)
                return usage();
            for (int n = 1; n <= count; ++n) {
                // The editor's save of a new card.
                BookArchive archive;
                archive.open(path);
                archive.lockForWriting();
                archive.seek(archive.count());
                archive.write(JournalCards::card(args[3], n));
                archive.close();
            }
            return 0;
        }
        if (mode == u"hold" && args.size() == 3 && args[2] == u"lock") {
            BookArchive archive;
            archive.open(path);
            archive.lockForWriting();
            std::puts("locked");
            std::fflush(stdout);
            while (std::getchar() != EOF) {
            }
            archive.close();
            return 0;
        }
    } catch (const ArchiveError& error) {
        setFileSystem(nullptr);
        std::fprintf(stderr, "%s\n", error.text().toLocal8Bit().constData());
        return 1;
    }
    return usage();
}
