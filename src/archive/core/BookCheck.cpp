#include "archive/core/BookCheck.h"

#include "archive/core/AttachmentFolder.h"
#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "archive/core/TScheda.h"
#include "base/ProgramFolder.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

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

void checkRecord(const unsigned char* record, int position, QList<Finding>& findings) {
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
    for (int a = 0; a < 3; ++a) {
        const QString name = card.field(TScheda::Field(TScheda::File01 + a));
        if (!name.isEmpty() && AttachmentFolder::pathOf(name).isEmpty()) {
            findings.append(
                {Finding::OutsideAttachment, position,
                 u"Scheda %1: l'allegato \"%2\" indica un file fuori dalla cartella dei documenti "
                 u"allegati."_s.arg(position)
                     .arg(name)});
        }
    }
}

// The photo folder is listed once: a card whose photo file is not in it has none, and a file named
// after the book whose number is no card of it belongs to none.
void checkPhotos(const QString& bookName, int cards, QList<Finding>& findings) {
    const QString prefix = TextRules::trim(bookName) + u"_Foto_"_s;
    const QRegularExpression numbered(u"^"_s + QRegularExpression::escape(prefix) + u"([0-9]+)\\.jpg$"_s);
    std::vector<bool> present(std::size_t(cards) + 1, false);
    std::vector<std::pair<qlonglong, QString>> strays;
    for (const QString& name : QDir(PhotoStore::folder()).entryList(QDir::Files)) {
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
    for (int position = 1; position <= cards; ++position) {
        const QString file = QFileInfo(PhotoStore::photoPath(bookName, position)).fileName();
        if (!present[std::size_t(position)]) {
            findings.append({Finding::MissingPhoto, position,
                             u"Scheda %1: manca il file della foto (%2)."_s.arg(position).arg(file)});
            continue;
        }
        QImageReader reader(PhotoStore::photoPath(bookName, position));
        if (!reader.canRead() || !reader.size().isValid() || reader.size().isEmpty()) {
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

} // namespace

QList<Finding> run(const QString& bookName, const Progress& progress) {
    const QString path = ProgramFolder::archiveOf(TextRules::trim(bookName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ArchiveError(
            u"Non è stato possibile leggere l'archivio \"%1\": %2."_s.arg(path, file.errorString()));
    const qint64 size = file.size();
    const int cards = int(size / kRecord);
    QList<Finding> findings;
    if (size % kRecord != 0) {
        findings.append({Finding::CutRecord, cards + 1,
                         u"L'ultimo record dell'archivio è incompleto: %1 byte dopo la scheda %2, che la "
                         u"riparazione taglia."_s.arg(size % kRecord)
                             .arg(cards)});
    }
    if (QFileInfo::exists(BookArchive::journalPath(path))) {
        findings.append(
            {Finding::PendingJournal, 0,
             u"Un salvataggio è stato interrotto: il programma lo completerà alla prossima apertura "
             u"del book."_s});
    }
    QByteArray block;
    qint64 done = 0;
    int position = 0;
    while (position < cards) {
        const qint64 records = std::min<qint64>(kBlockRecords, cards - position);
        block = file.read(records * kRecord);
        if (block.size() != records * kRecord)
            throw ArchiveError(
                u"Non è stato possibile leggere l'archivio \"%1\": %2."_s.arg(path, file.errorString()));
        for (qint64 r = 0; r < records; ++r)
            checkRecord(reinterpret_cast<const unsigned char*>(block.constData()) + r * kRecord, ++position,
                        findings);
        done += block.size();
        if (progress)
            progress(done, size);
    }
    checkPhotos(bookName, cards, findings);
    return findings;
}

Repair repair(const QString& bookName) {
    const QString path = ProgramFolder::archiveOf(TextRules::trim(bookName));
    Repair done;
    done.backupPath = path + u".bak"_s;
    for (int n = 2; QFileInfo::exists(done.backupPath); ++n)
        done.backupPath = path + u".bak.%1"_s.arg(n);
    // The copy is on the disk before the archive is touched.
    QFile backup(done.backupPath);
    if (!QFile::copy(path, done.backupPath) || !backup.open(QIODevice::ReadWrite) ||
        ::fsync(backup.handle()) != 0)
        throw ArchiveError(u"Non è stato possibile fare la copia di sicurezza \"%1\"; l'archivio non è stato "
                           u"toccato."_s.arg(done.backupPath));
    backup.close();
    // Cut under the archive's lock, so no save appends meanwhile; an interrupted overwrite is put
    // back first, as any opening does.
    BookArchive archive;
    archive.Open(path);
    done.cutBytes = archive.CutIncompleteTail();
    archive.Close();
    return done;
}

} // namespace BookCheck
