#include "archive/core/BookArchive.h"

#include "base/TextRules.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace {
constexpr qint64 kRecord = qint64(TScheda::kSize);

// The unit the disk writes in. A write cut short by a power failure can leave a whole block damaged,
// the bytes of the neighbouring cards in it as well, so the journal keeps whole blocks.
constexpr qint64 kBlock = 4096;
// A record spans at most two blocks.
constexpr qint64 kMaxSaved = 2 * kBlock;

// The journal, integers little-endian:
//   0      8 bytes   "LMVJRNL1"
//   8      8 bytes   archive offset of the saved bytes, a multiple of the block
//   16     8 bytes   n, the number of saved bytes
//   24     n bytes   the archive's bytes as they were before the overwrite
//   24 + n 32 bytes  SHA-256 of everything before it
// A journal of any other size, or whose checksum does not match, was cut short while it was being
// written, before the overwrite it guards began.
constexpr char kMagic[8] = {'L', 'M', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr qint64 kHeader = 24;
constexpr qint64 kDigest = 32;

QByteArray journalOf(qint64 offset, const QByteArray& saved) {
    QByteArray content(kMagic, sizeof kMagic);
    char number[8];
    qToLittleEndian<quint64>(quint64(offset), number);
    content.append(number, sizeof number);
    qToLittleEndian<quint64>(quint64(saved.size()), number);
    content.append(number, sizeof number);
    content += saved;
    content += QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    return content;
}

struct SavedBytes {
    qint64 offset = 0;
    QByteArray bytes;
};

// The bytes a journal saved, or nothing when it is torn or does not fit the archive as it is now.
std::optional<SavedBytes> savedBytesOf(const QByteArray& journal, qint64 archiveSize) {
    if (journal.size() < kHeader + kDigest || !journal.startsWith(QByteArrayView(kMagic, sizeof kMagic)))
        return std::nullopt;
    const auto offset = qFromLittleEndian<quint64>(journal.constData() + 8);
    const auto length = qFromLittleEndian<quint64>(journal.constData() + 16);
    if (length == 0 || length > quint64(kMaxSaved) || length != quint64(journal.size() - kHeader - kDigest))
        return std::nullopt;
    if (offset % kBlock != 0 || offset > quint64(archiveSize) || length > quint64(archiveSize) - offset)
        return std::nullopt;
    const QByteArray body = journal.first(journal.size() - kDigest);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != journal.last(kDigest))
        return std::nullopt;
    return SavedBytes{qint64(offset), journal.mid(kHeader, qsizetype(length))};
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace

BookArchive::~BookArchive() {
    if (m_file)
        m_file->close();
}

QString BookArchive::accessMessage() {
    return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                          "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione "
                          "del programma.");
}

QString BookArchive::journalPath(const QString& archivePath) {
    return archivePath + QStringLiteral("-journal");
}

void BookArchive::Open(const QString& path) {
    if (m_file)
        Close();
    m_path = TextRules::trim(path);
    m_index = 0;
    if (m_path.isEmpty())
        throw ArchiveError(QStringLiteral("Archivio non indicato."));

    FileSystem::OpenError error;
    m_file = fileSystem().openReadWrite(m_path, error);
    if (!m_file && error.missing) {
        error = {};
        m_file = fileSystem().createNew(m_path, error);
        if (!m_file)
            throw ArchiveError(QStringLiteral("Impossibile creare l'archivio \"%1\": %2.")
                                   .arg(QDir::toNativeSeparators(m_path), error.text));
    }
    if (!m_file)
        throw ArchiveError(QStringLiteral("Impossibile aprire l'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), error.text));

    // A journal beside the archive belongs to an overwrite that another save is doing right now, or
    // to one that a crash cut short. Once the lock is ours only the second can be the case.
    if (QFileInfo::exists(journalPath(m_path))) {
        try {
            const std::unique_ptr<FileLock> lock = takeLock();
            recoverJournal();
        } catch (...) {
            m_file->close();
            m_file.reset();
            throw;
        }
    }
}

void BookArchive::LockForWriting() {
    file();
    if (m_lock)
        return;
    std::unique_ptr<FileLock> lock = takeLock();
    // A save that crashed after this archive was opened may have left its journal.
    recoverJournal();
    m_lock = std::move(lock);
}

RecordFile& BookArchive::file() {
    if (!m_file)
        throw ArchiveError(QStringLiteral("L'archivio non è aperto."));
    return *m_file;
}

void BookArchive::fail(const QString& what) {
    throw ArchiveError(
        QStringLiteral("%1 \"%2\": %3.").arg(what, QDir::toNativeSeparators(m_path), file().errorString()));
}

void BookArchive::failJournal(RecordFile& journal, const QString& what) {
    throw ArchiveError(QStringLiteral("%1 \"%2\": %3.")
                           .arg(what, QDir::toNativeSeparators(journalPath(m_path)), journal.errorString()));
}

std::unique_ptr<FileLock> BookArchive::takeLock() {
    FileSystem::OpenError error;
    std::unique_ptr<FileLock> lock = fileSystem().lockExclusive(m_path, error);
    if (!lock)
        throw ArchiveError(QStringLiteral("Impossibile riservare l'archivio \"%1\" per la scrittura: %2.")
                               .arg(QDir::toNativeSeparators(m_path), error.text));
    return lock;
}

bool BookArchive::discardJournal(QString& error) {
    return fileSystem().remove(journalPath(m_path), error) &&
           fileSystem().syncFolder(folderOf(m_path), error);
}

// Called with the lock held: no overwrite is under way, so a journal left beside the archive is the
// trace of one that a crash interrupted. A complete journal puts the saved bytes back (the card is
// then entirely as it was, and so are its neighbours); a torn one is dropped, since the journal is on
// the disk before the overwrite begins and so that overwrite never started.
void BookArchive::recoverJournal() {
    FileSystem::OpenError error;
    std::unique_ptr<RecordFile> journal = fileSystem().openReadWrite(journalPath(m_path), error);
    if (!journal) {
        if (error.missing)
            return;
        throw ArchiveError(QStringLiteral("Impossibile aprire il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), error.text));
    }
    const qint64 size = journal->size();
    if (size < 0)
        failJournal(*journal, QStringLiteral("Impossibile leggere il giornale delle modifiche"));
    QByteArray content;
    // Anything larger than the largest journal is not one: it stays empty and is dropped below.
    if (size <= kHeader + kMaxSaved + kDigest) {
        content.resize(qsizetype(size));
        const qint64 got = journal->readAt(0, content.data(), size);
        if (got < 0)
            failJournal(*journal, QStringLiteral("Impossibile leggere il giornale delle modifiche"));
        content.truncate(qsizetype(got));
    }
    journal->close(); // only read; it is removed next

    const qint64 archiveSize = file().size();
    if (archiveSize < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    if (const std::optional<SavedBytes> saved = savedBytesOf(content, archiveSize)) {
        const qint64 put = file().writeAt(saved->offset, saved->bytes.constData(), saved->bytes.size());
        if (put != saved->bytes.size())
            fail(QStringLiteral("Impossibile ripristinare la scheda interrotta nell'archivio"));
        if (!file().sync())
            fail(QStringLiteral("Ripristino non confermato dal disco per l'archivio"));
    }
    QString why;
    if (!discardJournal(why))
        throw ArchiveError(QStringLiteral("Impossibile eliminare il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), why));
}

void BookArchive::writeJournal(const QByteArray& content) {
    FileSystem::OpenError error;
    std::unique_ptr<RecordFile> journal = fileSystem().createNew(journalPath(m_path), error);
    if (!journal)
        throw ArchiveError(QStringLiteral("Impossibile creare il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), error.text));
    QString why;
    bool ok = journal->writeAt(0, content.constData(), content.size()) == content.size() && journal->sync();
    if (!ok)
        why = journal->errorString();
    if (!journal->close() && ok) {
        ok = false;
        why = journal->errorString();
    }
    // The folder too, or the journal's name could be lost while its bytes are safe.
    if (ok && !fileSystem().syncFolder(folderOf(m_path), why))
        ok = false;
    if (!ok) {
        // The archive is untouched; a journal that could not be removed either would only put back
        // the bytes the archive already holds.
        QString ignored;
        discardJournal(ignored);
        throw ArchiveError(QStringLiteral("Impossibile scrivere il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), why));
    }
}

void BookArchive::overwrite(const TScheda& card, qint64 size) {
    RecordFile& archive = file();
    const qint64 offset = m_index * kRecord;
    const qint64 first = offset / kBlock * kBlock;
    const qint64 end = std::min(size, (offset + kRecord + kBlock - 1) / kBlock * kBlock);
    QByteArray saved(qsizetype(end - first), Qt::Uninitialized);
    const qint64 got = archive.readAt(first, saved.data(), saved.size());
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    if (got != saved.size())
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    writeJournal(journalOf(first, saved));

    QString failure;
    const auto* data = reinterpret_cast<const char*>(card.bytes().data());
    const qint64 put = archive.writeAt(offset, data, kRecord);
    if (put < 0)
        failure = QStringLiteral("Scrittura non riuscita nell'archivio \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(m_path), archive.errorString());
    else if (put != kRecord)
        failure = QStringLiteral("Scrittura incompleta della scheda %1 nell'archivio \"%2\": %3.")
                      .arg(m_index + 1)
                      .arg(QDir::toNativeSeparators(m_path), archive.errorString());
    else if (!archive.sync())
        failure = QStringLiteral("Scrittura non confermata dal disco per l'archivio \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(m_path), archive.errorString());
    QString why;
    if (failure.isEmpty() && !discardJournal(why))
        failure = QStringLiteral("Impossibile eliminare il giornale delle modifiche \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(journalPath(m_path)), why);
    if (!failure.isEmpty()) {
        // The save is reported failed, so the card goes back to what it was now rather than at the
        // next opening. When that fails too, the journal stays and the next opening does it.
        if (archive.writeAt(first, saved.constData(), saved.size()) == saved.size() && archive.sync())
            discardJournal(why);
        throw ArchiveError(failure);
    }
}

int BookArchive::Count() {
    const qint64 size = file().size();
    if (size < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    return int(size / kRecord);
}

qint64 BookArchive::Size() {
    const qint64 size = file().size();
    if (size < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    return size;
}

qint64 BookArchive::CutIncompleteTail() {
    RecordFile& archive = file();
    // Under the lock no save is appending: the tail measured here is the one that is cut.
    std::unique_ptr<FileLock> forThisCut;
    if (!m_lock) {
        forThisCut = takeLock();
        recoverJournal();
    }
    const qint64 size = Size();
    const qint64 tail = size % kRecord;
    if (tail == 0)
        return 0;
    if (!archive.truncate(size - tail))
        fail(QStringLiteral("Impossibile togliere la scheda incompleta dall'archivio"));
    if (!archive.sync())
        fail(QStringLiteral("Riparazione non confermata dal disco per l'archivio"));
    return tail;
}

void BookArchive::Seek(int index) {
    if (index < 0 || index > Count())
        throw ArchiveError(QStringLiteral("La scheda %1 non esiste nell'archivio \"%2\".")
                               .arg(index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index = index;
}

TScheda BookArchive::Read() {
    TScheda card;
    auto* data = reinterpret_cast<char*>(card.bytes().data());
    const qint64 got = file().readAt(m_index * kRecord, data, kRecord);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    if (got != kRecord)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    ++m_index;
    return card;
}

int BookArchive::ReadBlock(std::vector<TScheda>& cards, int max) {
    const int count = std::min(max, Count() - m_index);
    cards.resize(std::size_t(std::max(count, 0)));
    if (count <= 0)
        return 0;
    static_assert(sizeof(TScheda) == TScheda::kSize, "records are read straight into the card buffers");
    auto* data = reinterpret_cast<char*>(cards.data());
    const qint64 wanted = qint64(count) * kRecord;
    const qint64 got = file().readAt(m_index * kRecord, data, wanted);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    if (got != wanted)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1 + int(got / kRecord))
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index += count;
    return count;
}

void BookArchive::Write(const TScheda& card) {
    RecordFile& archive = file();
    // A caller that did not lock still writes under the lock, so that no overwrite ever runs beside
    // another save or beside the roll-back of a journal.
    std::unique_ptr<FileLock> forThisWrite;
    if (!m_lock) {
        forThisWrite = takeLock();
        recoverJournal();
    }
    const qint64 size = archive.size();
    if (size < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    const qint64 count = size / kRecord;
    // The file may have shrunk since the seek; writing past its end would leave a gap of zeros that
    // would read as empty cards.
    if (m_index > count)
        throw ArchiveError(QStringLiteral("La scheda %1 non esiste nell'archivio \"%2\".")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    if (m_index < count) {
        overwrite(card, size);
        ++m_index;
        return;
    }
    // An append needs no journal: cut short, it leaves an incomplete last record, which is not counted.
    const auto* data = reinterpret_cast<const char*>(card.bytes().data());
    const qint64 put = archive.writeAt(m_index * kRecord, data, kRecord);
    if (put < 0)
        fail(QStringLiteral("Scrittura non riuscita nell'archivio"));
    if (put != kRecord)
        throw ArchiveError(QStringLiteral("Scrittura incompleta della scheda %1 nell'archivio \"%2\": %3.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path), archive.errorString()));
    if (!archive.sync())
        fail(QStringLiteral("Scrittura non confermata dal disco per l'archivio"));
    ++m_index;
}

void BookArchive::Close() {
    if (!m_file) {
        m_lock.reset();
        return;
    }
    std::unique_ptr<RecordFile> closing = std::move(m_file);
    const bool closed = closing->close();
    m_lock.reset(); // after the close: the next save finds every byte of this one in place
    if (!closed)
        throw ArchiveError(QStringLiteral("Chiusura non riuscita dell'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), closing->errorString()));
}
