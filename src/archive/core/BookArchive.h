// A book's archive file: a plain sequence of 3548-byte card records from offset 0, no header. The
// record count is the file size divided by 3548; the bytes of an incomplete last record are never
// read. Cards are only overwritten in place or appended. The file is opened at the start of a user
// operation and closed at its end; every failure is raised as an ArchiveError.
//
// Overwriting a card in place cannot tear it: before the write, the disk blocks it touches are copied
// into a journal beside the archive ("<archive>-journal"), and any later opening that finds a complete
// journal written for the archive as it is puts those bytes back. Saves from several copies of the program
// (on one machine or on several that share the book's folder) take an exclusive lock on the archive, so each
// one counts and writes alone; readers take no lock.
#pragma once

#include "archive/core/ArchiveJournal.h"
#include "archive/core/RecordFile.h"
#include "archive/core/TScheda.h"
#include "base/LumiveraError.h"

#include <QString>

#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ArchiveError : public LumiveraError {
public:
    using LumiveraError::LumiveraError;
};

class BookArchive {
public:
    BookArchive() = default;
    ~BookArchive(); // closes the file if it is still open
    BookArchive(const BookArchive&) = delete;
    BookArchive& operator=(const BookArchive&) = delete;

    // Opens the archive at the path (trimmed). A missing file is created empty; an existing file
    // that cannot be opened is never created anew or truncated: the operation fails and the cards
    // stay. The current index is 0 afterwards. An overwrite that a crash interrupted is undone first
    // (see the journal above), waiting for the lock while another save is under way.
    void open(const QString& path);
    // Opens an existing archive for reading only (a book on a read-only disk or share can still be
    // exported and printed): nothing is ever written, created or locked. An overwrite interrupted or
    // under way is read as not done, from its journal, which stays where it is.
    void openForReading(const QString& path);
    // Takes the archive's exclusive lock until Close, waiting while another save holds it. A save
    // calls it right after Open, before it counts the cards, so that the index it appends at is still
    // the end of the file when it writes. The system drops the lock if the process dies.
    void lockForWriting();
    // The number of whole records; an ArchiveError when there are more than kMaxCards.
    int count();
    // The file's size in bytes: Count whole records and the bytes of an incomplete last one, if any.
    qint64 Size();
    // Drops the bytes of an incomplete last record (left by another program or a copy cut short) and
    // makes the cut durable, under the archive's lock; whole cards are never touched. Returns how many
    // bytes were dropped, 0 when the file ends on a whole record. This is the one operation that
    // shortens an archive, and only a repair the user asked for calls it.
    qint64 CutIncompleteTail();
    // Sets the index of the next transfer; from 0 up to Count (Count appends).
    void seek(int index);
    // Reads the record at the current index and moves on by one.
    TScheda read();
    // Reads up to `max` records from the current index in one transfer (a scan of the whole book reads
    // it in large blocks) and moves on past them; returns how many were read, 0 at the end of the file.
    int readBlock(std::vector<TScheda>& cards, int max);
    // Writes the record at the current index and moves on by one. Succeeds only when all 3548 bytes
    // are on the disk. Overwriting goes through the journal; a failed overwrite leaves the old card.
    // The write holds the lock (taken for the write alone when LockForWriting was not called).
    void write(const TScheda& card);
    // The current index: after a transfer of index i, i + 1, the position of that card.
    int position() const { return m_index; }
    bool atEnd() { return m_index == count(); }
    void close();
    // Closes the file as Close does, but hands the save lock to the caller instead of dropping it:
    // what must follow the cards under the same lock (the card's photo) is written after the cards
    // are closed, and only when they were. Without a lock taken, an empty lock.
    std::unique_ptr<FileLock> closeKeepingLock();
    bool isOpen() const { return m_file != nullptr; }

    // The most cards a book can hold: positions are counted in int.
    static constexpr qint64 kMaxCards = INT_MAX;

    // The message every window shows when an archive operation fails.
    static QString accessMessage();

    // The journal file beside an archive.
    static QString journalPath(const QString& archivePath);
    // The n-th name (from 1) under which a journal that no longer belongs to this archive is kept.
    static QString setAsideJournalPath(const QString& archivePath, int n);

    // Who tells the user of what an opening did by itself (a journal set aside): a message box in the
    // windows, a line on standard error on the command line. Nothing is told when none is set.
    static void setNoticeHandler(std::function<void(const QString&)> handler);

    // What a journal beside the archive means for it; an ArchiveError when it cannot be read. The
    // archive must be open.
    struct JournalState {
        bool present = false;
        std::optional<ArchiveJournal::Entry> entry; // none when torn
        ArchiveJournal::Verdict verdict = ArchiveJournal::Verdict::Untouched;
    };
    JournalState inspectJournal();

private:
    // What both openings do first: the earlier file closed, the path and the mode set.
    void begin(const QString& path, bool readOnly);
    RecordFile& file();
    [[noreturn]] void fail(const QString& what);
    [[noreturn]] void failJournal(RecordFile& journal, const QString& what);
    std::unique_ptr<FileLock> takeLock();
    QByteArray readJournal(bool& present);
    void recoverJournal();
    bool setJournalAside(QString& kept, QString& error);
    static void notify(const QString& text);
    void refuseWhenReadOnly();
    // Lays the journal's old bytes over records just read, for an archive opened for reading.
    void applyOverlay(qint64 offset, char* data, qint64 got) const;
    void overwrite(const TScheda& card, qint64 size);
    void writeJournal(const QByteArray& content);
    bool discardJournal(QString& error);

    std::unique_ptr<RecordFile> m_file;
    std::unique_ptr<FileLock> m_lock; // held from LockForWriting to Close
    QString m_path;
    int m_index = 0;
    bool m_readOnly = false;
    struct Overlay {
        qint64 offset;
        QByteArray bytes;
    };
    std::optional<Overlay> m_overlay;
};
