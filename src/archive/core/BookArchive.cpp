#include "archive/core/BookArchive.h"

#include "archive/core/ArchiveJournal.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <optional>

namespace {
constexpr qint64 kRecord = qint64(TScheda::kSize);
constexpr qint64 kBlock = ArchiveJournal::kBlock;

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

QString BookArchive::setAsideJournalPath(const QString& archivePath, int n) {
    return archivePath + QStringLiteral("-scartato-") + QString::number(n);
}

namespace {
std::function<void(const QString&)>& noticeHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}
} // namespace

void BookArchive::setNoticeHandler(std::function<void(const QString&)> handler) {
    noticeHandler() = std::move(handler);
}

void BookArchive::notify(const QString& text) {
    if (noticeHandler())
        noticeHandler()(text);
}

void BookArchive::begin(const QString& path, bool readOnly) {
    if (m_file)
        close();
    // The archive's path, unlike a book's name, is trimmed by the archive itself: it is the one place
    // every path reaches, whoever made it.
    m_path = TextRules::trim(path);
    m_index = 0;
    m_readOnly = readOnly;
    m_overlay.reset();
    if (m_path.isEmpty())
        throw ArchiveError(QStringLiteral("Archivio non indicato."));
}

void BookArchive::open(const QString& path) {
    begin(path, false);

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

void BookArchive::openForReading(const QString& path) {
    begin(path, true);
    FileSystem::OpenError error;
    m_file = fileSystem().openReadOnly(m_path, error);
    if (!m_file)
        throw ArchiveError(QStringLiteral("Impossibile aprire l'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), error.text));
    // An overwrite interrupted (or under way in another copy) is seen as not done: the cards are read
    // as the journal says they were, and the file is left for the next opening for writing.
    try {
        const JournalState state = inspectJournal();
        if (state.entry && state.verdict == ArchiveJournal::Verdict::RollBack)
            m_overlay = Overlay{state.entry->offset, state.entry->before};
    } catch (...) {
        m_file->close();
        m_file.reset();
        throw;
    }
}

void BookArchive::applyOverlay(qint64 offset, char* data, qint64 got) const {
    if (!m_overlay || got <= 0)
        return;
    const qint64 from = std::max(offset, m_overlay->offset);
    const qint64 to = std::min(offset + got, m_overlay->offset + m_overlay->bytes.size());
    if (from < to)
        std::copy_n(m_overlay->bytes.constData() + (from - m_overlay->offset), to - from,
                    data + (from - offset));
}

void BookArchive::refuseWhenReadOnly() {
    if (m_readOnly)
        throw ArchiveError(QStringLiteral("L'archivio \"%1\" è aperto in sola lettura.")
                               .arg(QDir::toNativeSeparators(m_path)));
}

void BookArchive::lockForWriting() {
    file();
    refuseWhenReadOnly();
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

QByteArray BookArchive::readJournal(bool& present) {
    present = false;
    FileSystem::OpenError error;
    std::unique_ptr<RecordFile> journal = fileSystem().openReadOnly(journalPath(m_path), error);
    if (!journal) {
        if (error.missing)
            return {};
        throw ArchiveError(QStringLiteral("Impossibile aprire il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), error.text));
    }
    present = true;
    const qint64 size = journal->size();
    if (size < 0)
        failJournal(*journal, QStringLiteral("Impossibile leggere il giornale delle modifiche"));
    QByteArray content;
    // Anything larger than the largest journal is not one: it stays empty and counts as torn.
    if (size <= ArchiveJournal::maxFileSize()) {
        content.resize(qsizetype(size));
        const qint64 got = journal->readAt(0, content.data(), size);
        if (got < 0)
            failJournal(*journal, QStringLiteral("Impossibile leggere il giornale delle modifiche"));
        content.truncate(qsizetype(got));
    }
    journal->close(); // only read
    return content;
}

BookArchive::JournalState BookArchive::inspectJournal() {
    JournalState state;
    const QByteArray content = readJournal(state.present);
    if (!state.present)
        return state;
    state.entry = ArchiveJournal::decode(content);
    if (!state.entry)
        return state;
    const qint64 archiveSize = Size();
    QByteArray current;
    if (state.entry->offset < archiveSize) {
        current.resize(
            qsizetype(std::min<qint64>(state.entry->before.size(), archiveSize - state.entry->offset)));
        const qint64 got = file().readAt(state.entry->offset, current.data(), current.size());
        if (got < 0)
            fail(QStringLiteral("Lettura non riuscita dell'archivio"));
        current.truncate(qsizetype(got));
    }
    state.verdict = ArchiveJournal::judge(*state.entry, current);
    return state;
}

// Called with the lock held: no overwrite is under way, so a journal left beside the archive is the
// trace of one that a crash interrupted. A journal written for this archive puts the saved bytes back
// (the card is then entirely as it was, and so are its neighbours); a torn one is dropped, since the
// journal is on the disk before the overwrite begins and so that overwrite never started. A journal
// that does not fit the archive on the disk (restored from a copy meanwhile) is set aside under a name
// of its own, never applied and never deleted, and the user is told.
void BookArchive::recoverJournal() {
    const JournalState state = inspectJournal();
    if (!state.present)
        return;
    QString why;
    if (state.entry && state.verdict == ArchiveJournal::Verdict::Foreign) {
        QString kept;
        if (!setJournalAside(kept, why))
            throw ArchiveError(
                QStringLiteral("Impossibile mettere da parte il giornale delle modifiche \"%1\": %2.")
                    .arg(QDir::toNativeSeparators(journalPath(m_path)), why));
        notify(
            QStringLiteral("Accanto all'archivio \"%1\" c'era il giornale di un salvataggio interrotto, ma "
                           "l'archivio non è più quello di quel salvataggio (per esempio è stato "
                           "ripristinato da una copia). Il giornale non è stato applicato e le schede non "
                           "sono state modificate; è conservato come \"%2\".")
                .arg(QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(kept)));
        return;
    }
    if (state.entry && state.verdict == ArchiveJournal::Verdict::RollBack) {
        const QByteArray& saved = state.entry->before;
        const qint64 put = file().writeAt(state.entry->offset, saved.constData(), saved.size());
        if (put != saved.size())
            fail(QStringLiteral("Impossibile ripristinare la scheda interrotta nell'archivio"));
        if (!file().sync())
            fail(QStringLiteral("Ripristino non confermato dal disco per l'archivio"));
    }
    if (!discardJournal(why))
        throw ArchiveError(QStringLiteral("Impossibile eliminare il giornale delle modifiche \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(journalPath(m_path)), why));
}

bool BookArchive::setJournalAside(QString& kept, QString& error) {
    for (int n = 1;; ++n) {
        kept = setAsideJournalPath(m_path, n);
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink())
            break;
    }
    return fileSystem().rename(journalPath(m_path), kept, error) &&
           fileSystem().syncFolder(folderOf(m_path), error);
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
    QByteArray after = saved;
    after.replace(qsizetype(offset - first), qsizetype(kRecord),
                  QByteArrayView(reinterpret_cast<const char*>(card.bytes().data()), kRecord));
    writeJournal(ArchiveJournal::encode(first, saved, after));

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

int BookArchive::count() {
    const qint64 records = Size() / kRecord;
    if (records > kMaxCards)
        throw ArchiveError(QStringLiteral("L'archivio \"%1\" è troppo grande per il programma: contiene %2 "
                                          "schede, il programma ne gestisce al più %3.")
                               .arg(QDir::toNativeSeparators(m_path))
                               .arg(records)
                               .arg(kMaxCards));
    return int(records);
}

qint64 BookArchive::Size() {
    const qint64 size = file().size();
    if (size < 0)
        fail(QStringLiteral("Impossibile leggere la dimensione dell'archivio"));
    return size;
}

qint64 BookArchive::CutIncompleteTail() {
    RecordFile& archive = file();
    refuseWhenReadOnly();
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

void BookArchive::seek(int index) {
    if (index < 0 || index > count())
        throw ArchiveError(QStringLiteral("La scheda %1 non esiste nell'archivio \"%2\".")
                               .arg(index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index = index;
}

TScheda BookArchive::read() {
    TScheda card;
    auto* data = reinterpret_cast<char*>(card.bytes().data());
    const qint64 got = file().readAt(m_index * kRecord, data, kRecord);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    applyOverlay(m_index * kRecord, data, got);
    if (got != kRecord)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1)
                               .arg(QDir::toNativeSeparators(m_path)));
    ++m_index;
    return card;
}

int BookArchive::readBlock(std::vector<TScheda>& cards, int max) {
    const int wantedCards = std::min(max, count() - m_index);
    cards.resize(std::size_t(std::max(wantedCards, 0)));
    if (wantedCards <= 0)
        return 0;
    static_assert(sizeof(TScheda) == TScheda::kSize, "records are read straight into the card buffers");
    auto* data = reinterpret_cast<char*>(cards.data());
    const qint64 wanted = qint64(wantedCards) * kRecord;
    const qint64 got = file().readAt(m_index * kRecord, data, wanted);
    if (got < 0)
        fail(QStringLiteral("Lettura non riuscita dell'archivio"));
    applyOverlay(m_index * kRecord, data, got);
    if (got != wanted)
        throw ArchiveError(QStringLiteral("La scheda %1 dell'archivio \"%2\" è incompleta.")
                               .arg(m_index + 1 + int(got / kRecord))
                               .arg(QDir::toNativeSeparators(m_path)));
    m_index += wantedCards;
    return wantedCards;
}

void BookArchive::write(const TScheda& card) {
    RecordFile& archive = file();
    refuseWhenReadOnly();
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

void BookArchive::close() {
    closeKeepingLock(); // and the lock goes with it
}

std::unique_ptr<FileLock> BookArchive::closeKeepingLock() {
    if (!m_file)
        return std::move(m_lock);
    std::unique_ptr<RecordFile> closing = std::move(m_file);
    const bool closed = closing->close();
    // Released only after the close: the next save finds every byte of this one in place.
    std::unique_ptr<FileLock> lock = std::move(m_lock);
    if (!closed)
        throw ArchiveError(QStringLiteral("Chiusura non riuscita dell'archivio \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), closing->errorString()));
    return lock;
}
