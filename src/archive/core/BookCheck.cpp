#include "archive/core/BookCheck.h"

#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/BookShelf.h"
#include "archive/core/PhotoImport.h"
#include "archive/core/PhotoStore.h"
#include "archive/core/TScheda.h"
#include "base/ProgramFolder.h"
#include "base/SystemText.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace BookCheck {

namespace {

constexpr qint64 kRecord = qint64(TScheda::kSize);
// Records read in one transfer.
constexpr qint64 kBlockRecords = 256;

// Codes that are no text: the controls, and the five codes Windows-1252 leaves undefined.
bool isText(unsigned char byte) {
    if (byte < 0x20 || byte == 0x7F)
        return false;
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}

QString fieldName(int field) {
    return QString::fromUtf16(TScheda::layout(TScheda::Field(field)).name);
}

// The attachments folder is listed once; a name not in the list is looked at on its own.
class AttachmentFiles {
public:
    AttachmentFiles()
        : m_files(listed()) {}
    bool holds(const QString& name) const {
        return m_files.contains(name) && PhotoStore::isRegularFile(AttachmentFolder::pathOf(name));
    }

private:
    static QSet<QString> listed() {
        const QStringList names = QDir(AttachmentFolder::folder()).entryList(QDir::Files | QDir::Hidden);
        return QSet<QString>(names.begin(), names.end());
    }
    QSet<QString> m_files;
};

void checkRecord(const unsigned char* record, int position, const AttachmentFiles& attachments,
                 QList<Finding>& findings) {
    for (int f = 0; f < TScheda::kFieldCount; ++f) {
        const TScheda::Layout& layout = TScheda::layout(TScheda::Field(f));
        const int length = record[layout.offset];
        if (length > layout.capacity) {
            findings.append({Finding::LengthTooLarge, position,
                             u"Scheda %1: il campo %2 dichiara %3 caratteri, ma ne può contenere al più %4."_s
                                 .arg(position)
                                 .arg(fieldName(f))
                                 .arg(length)
                                 .arg(layout.capacity)});
        }
        const unsigned char* text = record + layout.offset + 1;
        const int shown = std::min(length, layout.capacity);
        for (int i = 0; i < shown; ++i) {
            if (!isText(text[i])) {
                findings.append(
                    {Finding::InvalidText, position,
                     u"Scheda %1: il campo %2 contiene il codice %3, che non è testo."_s.arg(position)
                         .arg(fieldName(f))
                         .arg(u"0x"_s + QString::number(text[i], 16).toUpper().rightJustified(2, u'0'))});
                break;
            }
        }
    }
    TScheda card;
    std::copy_n(record, TScheda::kSize, card.bytes().data());
    // The editor saves no card without these three; a card imported from a photo may lack its place.
    QStringList missing;
    for (TScheda::Field field : {TScheda::Titolo, TScheda::Data, TScheda::Location}) {
        if (card.field(field).isEmpty())
            missing << fieldName(field);
    }
    if (!missing.isEmpty()) {
        const QString note = card.field(TScheda::Note);
        const QString origin = note.startsWith(QString::fromUtf16(PhotoImport::kImportedMark))
                                   ? u" (i%1)"_s.arg(note.section(u". "_s, 0, 0).mid(1))
                                   : QString();
        const QString what = missing.size() == 1
                                 ? u"manca il campo %1"_s.arg(missing.first())
                                 : u"mancano i campi %1 e %2"_s.arg(
                                       missing.mid(0, missing.size() - 1).join(u", "_s), missing.last());
        findings.append({Finding::IncompleteCard, position,
                         u"Scheda %1%2: %3, da scrivere nell'editor prima di salvarla."_s.arg(position).arg(
                             origin, what)});
    }
    for (int a = 0; a < 3; ++a) {
        const QString name = card.field(TScheda::Field(TScheda::File01 + a));
        if (name.isEmpty())
            continue;
        if (AttachmentFolder::pathOf(name).isEmpty()) {
            findings.append(
                {Finding::OutsideAttachment, position,
                 u"Scheda %1: l'allegato \"%2\" indica un file fuori dalla cartella dei documenti "
                 u"allegati."_s.arg(position)
                     .arg(name)});
        } else if (!attachments.holds(TextRules::trim(name))) {
            findings.append({Finding::MissingAttachment, position,
                             u"Scheda %1: il file allegato \"%2\" non è nella cartella dei documenti "
                             u"allegati."_s.arg(position)
                                 .arg(TextRules::trim(name))});
        }
    }
}

// The photo folder is listed once: a card whose photo file is not in it has none, and a file named
// after the book whose number is no card of it belongs to none.
void checkPhotos(const QString& bookName, qint64 cards, QList<Finding>& findings) {
    const QString prefix = bookName + u"_Foto_"_s;
    // The whole name: "$" alone would also take a name with a line break after ".jpg".
    const QRegularExpression numbered(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(prefix) + u"([0-9]+)\\.jpg"_s));
    std::vector<bool> present(std::size_t(cards) + 1, false);
    std::vector<std::pair<qlonglong, QString>> strays;
    // Pipes and devices are listed too: under a photo's name they are a photo that is no picture. So
    // are hidden files: the photos of a book whose name begins with a dot.
    for (const QString& name :
         QDir(PhotoStore::folder()).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        const QRegularExpressionMatch match = numbered.match(name);
        if (!match.hasMatch())
            continue;
        bool ok = false;
        const qlonglong position = match.captured(1).toLongLong(&ok);
        if (ok && position >= 1 && position <= cards && !match.captured(1).startsWith(u'0'))
            present[std::size_t(position)] = true;
        else
            strays.emplace_back(ok ? position : -1, name);
    }
    for (int position = 1; position <= int(cards); ++position) {
        const QString file = QFileInfo(PhotoStore::photoPath(bookName, position)).fileName();
        if (!present[std::size_t(position)]) {
            findings.append({Finding::MissingPhoto, position,
                             u"Scheda %1: manca il file della foto (%2)."_s.arg(position).arg(file)});
            continue;
        }
        const QString path = PhotoStore::photoPath(bookName, position);
        QImageReader reader;
        if (PhotoStore::isRegularFile(path))
            reader.setFileName(path);
        if (reader.fileName().isEmpty() || !reader.canRead() || !reader.size().isValid() ||
            reader.size().isEmpty()) {
            findings.append(
                {Finding::UnreadablePhoto, position,
                 u"Scheda %1: il file della foto (%2) non contiene un'immagine leggibile."_s.arg(position)
                     .arg(file)});
        }
    }
    std::sort(strays.begin(), strays.end());
    for (const auto& [number, name] : strays)
        findings.append(
            {Finding::StrayPhoto, 0, u"Il file della foto %1 non appartiene a nessuna scheda."_s.arg(name)});
}

// What a journal beside the archive means, said as the next opening will act on it.
void checkJournal(const QString& path, QList<Finding>& findings) {
    if (!QFileInfo::exists(BookArchive::journalPath(path)))
        return;
    // A save under way in another copy holds the lock and has its journal beside the archive: that
    // is no damage.
    FileSystem::OpenError error;
    const std::unique_ptr<FileLock> lock = fileSystem().tryLockExclusive(path, error);
    if (!lock && error.busy) {
        findings.append({Finding::SaveInProgress, 0,
                         u"Un'altra copia del programma sta salvando una scheda in questo book: il "
                         u"controllo vede l'archivio com'era prima di quel salvataggio."_s});
        return;
    }
    BookArchive archive;
    archive.openForReading(path);
    const BookArchive::JournalState state = archive.inspectJournal();
    archive.close();
    if (!state.present)
        return;
    if (!state.entry || state.verdict == ArchiveJournal::Verdict::Untouched) {
        findings.append({Finding::TornJournal, 0,
                         u"Un salvataggio è stato interrotto prima di modificare l'archivio: alla prossima "
                         u"apertura del book il suo giornale sarà eliminato e le schede resteranno come "
                         u"sono."_s});
    } else if (state.verdict == ArchiveJournal::Verdict::RollBack) {
        const int card = ArchiveJournal::positionOf(*state.entry);
        findings.append({Finding::PendingJournal, card,
                         (card > 0 ? u"Il salvataggio della scheda %1 è stato interrotto"_s.arg(card)
                                   : u"Un salvataggio è stato interrotto"_s) +
                             u": alla prossima apertura del book la scheda tornerà com'era prima di quel "
                             u"salvataggio."_s});
    } else {
        findings.append(
            {Finding::ForeignJournal, 0,
             u"Il giornale di un salvataggio interrotto (%1) non corrisponde all'archivio, che "
             u"forse è stato ripristinato da una copia: alla prossima apertura del book non sarà "
             u"applicato, ma conservato con un altro nome, e le schede resteranno come sono."_s.arg(
                 QFileInfo(BookArchive::journalPath(path)).fileName())});
    }
}

QString readFailure(const QString& path, const QString& why) {
    return u"Non è stato possibile leggere l'archivio \"%1\": %2."_s.arg(QDir::toNativeSeparators(path),
                                                                         SystemText::italian(why));
}

} // namespace

QList<Finding> run(const QString& bookName, const Progress& progress) {
    const QString path = ProgramFolder::archiveOf(bookName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(readFailure(path, file.errorString()));
    const qint64 size = file.size();
    if (size / kRecord > BookArchive::kMaxCards)
        throw ArchiveError(u"L'archivio \"%1\" è troppo grande per il programma: contiene %2 schede, il "
                           u"programma ne gestisce al più %3."_s.arg(QDir::toNativeSeparators(path))
                               .arg(size / kRecord)
                               .arg(BookArchive::kMaxCards));
    const int cards = int(size / kRecord);
    QList<Finding> findings;
    if (size % kRecord != 0) {
        findings.append({Finding::CutRecord, cards + 1,
                         u"L'ultimo record dell'archivio è incompleto: %1 byte dopo la scheda %2, che la "
                         u"riparazione taglia."_s.arg(size % kRecord)
                             .arg(cards)});
    }
    checkJournal(path, findings);
    const AttachmentFiles attachments;
    QByteArray block;
    qint64 done = 0;
    int position = 0;
    while (position < cards) {
        const qint64 records = std::min<qint64>(kBlockRecords, cards - position);
        block = file.read(records * kRecord);
        if (block.size() != records * kRecord)
            throw ArchiveError(readFailure(path, file.errorString()));
        for (qint64 r = 0; r < records; ++r)
            checkRecord(reinterpret_cast<const unsigned char*>(block.constData()) + r * kRecord, ++position,
                        attachments, findings);
        done += block.size();
        if (progress)
            progress(done, size);
    }
    checkPhotos(bookName, cards, findings);
    return findings;
}

Repair repair(const QString& bookName) {
    const QString path = ProgramFolder::archiveOf(bookName);
    Repair done;
    BookArchive archive;
    archive.open(path);
    archive.lockForWriting();
    if (archive.Size() % kRecord == 0) {
        archive.close();
        return done;
    }
    for (int n = 1; done.backupPath.isEmpty() || BookShelf::exists(done.backupPath); ++n)
        done.backupPath = BookShelf::backupPath(path, n);
    // The copy is on the disk before the archive is touched.
    QFile backup(done.backupPath);
    if (!QFile::copy(path, done.backupPath) || !backup.open(QIODevice::ReadWrite) ||
        ::fsync(backup.handle()) != 0)
        throw ArchiveError(u"Non è stato possibile fare la copia di sicurezza \"%1\"; l'archivio non è stato "
                           u"toccato."_s.arg(QDir::toNativeSeparators(done.backupPath)));
    backup.close();
    done.cutBytes = archive.CutIncompleteTail();
    archive.close();
    return done;
}

} // namespace BookCheck
