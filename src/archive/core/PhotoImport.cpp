#include "archive/core/PhotoImport.h"

#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"
#include "base/SystemText.h"
#include "base/TextRules.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <map>
#include <optional>
#include <variant>

using namespace Qt::StringLiterals;

namespace PhotoImport {

namespace {

int capacityOf(TScheda::Field field) {
    return TScheda::layout(field).capacity;
}

// A file named or found in a folder, looked at as a picture: its header and its metadata only.
std::variant<Picture, Refusal> examine(const QString& path) {
    const QFileInfo info(path);
    if (!PhotoStore::isRegularFile(path))
        return Refusal{path, u"non è un file."_s};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true); // a photo named ".JPG" that is a PNG is still read
    const QByteArray format = reader.format();
    if (format.isEmpty() || !reader.canRead())
        return Refusal{path, u"non è un'immagine che il programma sa leggere."_s};
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return Refusal{path, u"l'immagine è danneggiata: non se ne leggono le dimensioni."_s};
    if (qint64(size.width()) * size.height() > PhotoStore::kMaxPixels)
        return Refusal{path, u"l'immagine è troppo grande: %1 × %2 pixel, il programma ne accetta al più %3 "
                             u"milioni."_s.arg(size.width())
                                 .arg(size.height())
                                 .arg(PhotoStore::kMaxPixels / 1'000'000)};
    Picture picture;
    picture.path = path;
    picture.facts = PhotoFacts::readFile(path);
    picture.isJpeg = format == "jpeg";
    picture.takenAt =
        picture.facts.capturedOn.isValid()
            ? QDateTime(picture.facts.capturedOn,
                        picture.facts.capturedAt.isValid() ? picture.facts.capturedAt : QTime(0, 0))
            : info.lastModified();
    return picture;
}

// The files named, and those of the folders named, each once however it was reached.
QStringList filesOf(const QStringList& paths, bool recursive, QList<Refusal>& refused) {
    QStringList files;
    QSet<QString> seen;
    const auto add = [&](const QString& file) {
        const QString clean = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
        const QString canonical = QFileInfo(clean).canonicalFilePath();
        if (seen.contains(canonical.isEmpty() ? clean : canonical))
            return;
        seen.insert(canonical.isEmpty() ? clean : canonical);
        files << clean;
    };
    for (const QString& given : paths) {
        const QFileInfo info(given);
        const QString shown = QDir::cleanPath(info.absoluteFilePath());
        if (!info.exists()) {
            refused << Refusal{shown, u"non esiste."_s};
        } else if (info.isDir()) {
            // Files only, without hidden ones (a system's .DS_Store, a viewer's cache); links to
            // folders are not followed, so a link that leads back cannot loop.
            QDirIterator entries(info.absoluteFilePath(), QDir::Files | QDir::System,
                                 recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
            while (entries.hasNext())
                add(entries.next());
        } else {
            add(given);
        }
    }
    return files;
}

// The note of an imported card: the mark with the file's name, then the keywords, if any, as far as
// they fit whole.
QString noteOf(const QString& fileName, const QString& keywords) {
    constexpr int kLongestName = 100;
    const int capacity = capacityOf(TScheda::Note);
    const QString mark = QString::fromUtf16(kImportedMark) + PhotoFacts::storableText(fileName, kLongestName);
    if (keywords.isEmpty())
        return mark;
    QString note = mark + u". "_s + keywords;
    if (note.size() <= capacity)
        return note;
    note.truncate(capacity);
    const qsizetype lastWhole = note.lastIndexOf(u", "_s);
    return lastWhole > mark.size() ? note.left(lastWhole) : mark;
}

QByteArray contentOf(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return {};
    }
    return bytes;
}

// The photos the book's cards already have, by size and then by a hash of their bytes: a picture is
// compared byte for byte only with a photo of its very size and hash, and each photo file of a size
// that some picture has is read once at most, however many pictures share that size.
class BookPhotos {
public:
    BookPhotos(const QString& bookName, int cards)
        : m_bookName(bookName) {
        const QString prefix = bookName + u"_Foto_"_s;
        const QDir folder(PhotoStore::folder());
        for (const QFileInfo& file : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
            const QString name = file.fileName();
            if (!name.startsWith(prefix) || !name.endsWith(u".jpg"_s))
                continue;
            bool ok = false;
            const int position =
                QStringView(name).mid(prefix.size(), name.size() - prefix.size() - 4).toInt(&ok);
            if (ok && position >= 1 && position <= cards &&
                name == QFileInfo(PhotoStore::photoPath(bookName, position)).fileName())
                m_bySize.emplace(file.size(), Photo{position, std::nullopt});
        }
    }
    // The card whose photo has exactly these bytes; 0 when none.
    int cardWith(const QByteArray& bytes) {
        const auto [first, last] = m_bySize.equal_range(bytes.size());
        if (first == last)
            return 0;
        const size_t hash = qHash(bytes);
        for (auto it = first; it != last; ++it) {
            Photo& photo = it->second;
            if (!photo.hash) {
                QString ignored;
                const QByteArray stored =
                    contentOf(PhotoStore::photoPath(m_bookName, photo.position), ignored);
                photo.hash = stored.size() == bytes.size() ? qHash(stored) : ~hash;
                if (*photo.hash == hash && stored == bytes)
                    return photo.position;
                continue;
            }
            if (*photo.hash != hash)
                continue;
            QString ignored;
            if (contentOf(PhotoStore::photoPath(m_bookName, photo.position), ignored) == bytes)
                return photo.position;
        }
        return 0;
    }
    // A photo just written for a card.
    void add(const QByteArray& bytes, int position) {
        m_bySize.emplace(bytes.size(), Photo{position, qHash(bytes)});
    }

private:
    struct Photo {
        int position;
        std::optional<size_t> hash; // computed when a picture of its size comes
    };
    QString m_bookName;
    std::multimap<qint64, Photo> m_bySize;
};

// Whether the archive now holds a whole record at the position.
bool holdsCard(const QString& archivePath, int position) {
    try {
        BookArchive archive;
        archive.openForReading(archivePath);
        return archive.count() >= position;
    } catch (const ArchiveError&) {
        return false;
    }
}

} // namespace

Plan gather(const QStringList& paths, bool recursive) {
    Plan plan;
    for (const QString& file : filesOf(paths, recursive, plan.refused)) {
        std::variant<Picture, Refusal> looked = examine(file);
        if (auto* picture = std::get_if<Picture>(&looked))
            plan.pictures << std::move(*picture);
        else
            plan.refused << std::get<Refusal>(looked);
    }
    // The program's language orders the names; the C locale would compare them code by code.
    QCollator byName(QLocale(QLocale::Italian, QLocale::Italy));
    byName.setNumericMode(true);
    byName.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(plan.pictures.begin(), plan.pictures.end(), [&](const Picture& a, const Picture& b) {
        if (a.takenAt != b.takenAt)
            return a.takenAt < b.takenAt;
        if (const int names = byName.compare(QFileInfo(a.path).fileName(), QFileInfo(b.path).fileName()))
            return names < 0;
        return a.path < b.path;
    });
    return plan;
}

CardSave::Texts cardTexts(const Picture& picture) {
    PhotoFacts::CardTexts fields;
    PhotoFacts::fillCard(fields, picture.facts);
    const QFileInfo file(picture.path);
    if (fields[TScheda::Titolo].isEmpty()) {
        const QString name = file.completeBaseName().isEmpty() ? file.fileName() : file.completeBaseName();
        fields[TScheda::Titolo] = PhotoFacts::storableText(name, capacityOf(TScheda::Titolo));
    }
    if (const QString day = ProcessFormats::dateText(picture.takenAt.date());
        fields[TScheda::Data].isEmpty() && day.size() <= capacityOf(TScheda::Data))
        fields[TScheda::Data] = day;
    fields[TScheda::Note] = noteOf(file.fileName(), fields[TScheda::Note]);
    CardSave::Texts texts;
    std::copy(fields.begin(), fields.end(), texts.begin());
    return texts;
}

Outcome run(const QString& bookName, const Plan& plan, const Options& options) {
    Outcome outcome;
    const QString archivePath = ProgramFolder::archiveOf(bookName);
    std::optional<BookPhotos> bookPhotos;
    {
        BookArchive archive;
        archive.open(archivePath);
        const int cards = archive.count();
        archive.close();
        if (!options.allowDuplicates)
            bookPhotos.emplace(bookName, cards);
    }
    const int total = int(plan.pictures.size());
    for (int i = 0; i < total; ++i) {
        const Picture& picture = plan.pictures.at(i);
        QString error;
        QByteArray bytes = contentOf(picture.path, error);
        if (!error.isEmpty()) {
            outcome.refused << Refusal{
                picture.path, u"non è stato possibile leggerlo: %1."_s.arg(SystemText::italian(error))};
        } else if (!picture.isJpeg &&
                   (bytes = PhotoStore::encodeCardPhoto(PhotoStore::decodePicture(picture.path))).isEmpty()) {
            outcome.refused << Refusal{picture.path,
                                       u"non è stato possibile convertire l'immagine in JPEG."_s};
        } else if (const int card = bookPhotos ? bookPhotos->cardWith(bytes) : 0) {
            outcome.duplicates << Duplicate{picture.path, card};
        } else {
            const CardSave::Texts texts = cardTexts(picture);
            try {
                BookArchive archive;
                archive.open(archivePath);
                // From the count to the record's write no other copy appends: the photo written for
                // the next position is the photo of the card appended there.
                archive.lockForWriting();
                const int position = archive.count() + 1;
                if (!PhotoStore::writeCardPhotoFile(bytes, bookName, position, &error)) {
                    outcome.stoppedBy = u"non è stato possibile scrivere la foto \"%1\": %2."_s.arg(
                        QDir::toNativeSeparators(PhotoStore::photoPath(bookName, position)),
                        SystemText::italian(error));
                    outcome.notTried = total - i;
                    break;
                }
                TScheda record;
                for (int f = 0; f < TScheda::kFieldCount; ++f)
                    record.setField(TScheda::Field(f), texts[f]);
                try {
                    archive.seek(position - 1);
                    archive.write(record);
                    archive.close();
                } catch (const ArchiveError& failure) {
                    // A record that reached the file before the failure (its sync or the closing failed)
                    // is a card and keeps its photo; without it, the photo would only be a stray file.
                    // That is looked at while the lock is still held, so no other copy has appended.
                    const bool landed = holdsCard(archivePath, position);
                    try {
                        archive.close(); // the lock goes, and any later failure of the file with it
                    } catch (const ArchiveError&) {
                    }
                    if (!landed) {
                        QFile::remove(PhotoStore::photoPath(bookName, position));
                        throw;
                    }
                    outcome.stoppedBy = failure.text();
                }
                outcome.positions << position;
                if (TextRules::trim(texts[TScheda::Location]).isEmpty())
                    ++outcome.incomplete;
                if (bookPhotos)
                    bookPhotos->add(bytes, position);
                if (!outcome.stoppedBy.isEmpty()) {
                    outcome.notTried = total - i - 1;
                    break;
                }
            } catch (const ArchiveError& failure) {
                outcome.stoppedBy = failure.text();
                outcome.notTried = total - i;
                break;
            }
        }
        if (options.progress && !options.progress(i + 1, total)) {
            outcome.cancelled = i + 1 < total;
            outcome.notTried = total - i - 1;
            break;
        }
    }
    return outcome;
}

} // namespace PhotoImport
